#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>

class QSocketNotifier;

/// The animation clock: one timeout per event against deadlines that advance
/// by exactly the interval from the start. A late event moves on to the next
/// deadline still ahead (the count of events, not of time, is the clock), so
/// there is never a burst to catch up. A QTimer's millisecond rounding would
/// give ~900 events a second at 1 ms; the kernel's timer keeps the deadlines.
///
/// Enabled (isActive) and idle are separate: an idle timer stays enabled but
/// needs no wake-up at all until it is woken again.
class TAnimationTimer : public QObject {
  Q_OBJECT

public:
  explicit TAnimationTimer(QObject* parent = nullptr);
  ~TAnimationTimer() override;

  void setTimerType(Qt::TimerType type) { type_ = type; }
  Qt::TimerType timerType() const { return type_; }
  /// Milliseconds, at least 1; a running timer starts its deadlines afresh.
  void setInterval(int ms);
  int interval() const { return interval_; }
  bool isActive() const { return active_; }
  void start();
  void stop();

  /// While idle no timeout comes; leaving it starts the deadlines afresh.
  void SetIdle(bool idle);
  bool Idle() const { return idle_; }

signals:
  void timeout();

private:
  void Arm();
  void Disarm();
  void Expired();

  Qt::TimerType type_ = Qt::CoarseTimer;
  int interval_ = 0;
  bool active_ = false;
  bool idle_ = false;
  bool armed_ = false;
  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  /// Without a kernel timer (it could not be made) a plain QTimer stands in.
  QTimer fallback_;
};
