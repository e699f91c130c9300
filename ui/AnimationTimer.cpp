#include "ui/AnimationTimer.h"

#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

TAnimationTimer::TAnimationTimer(QObject* parent) : QObject(parent) {
  fd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
  if (fd_ >= 0) {
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    notifier_->setEnabled(false);
    connect(notifier_, &QSocketNotifier::activated, this, &TAnimationTimer::Expired);
  } else {
    fallback_.setTimerType(Qt::PreciseTimer);
    connect(&fallback_, &QTimer::timeout, this, &TAnimationTimer::timeout);
  }
}

TAnimationTimer::~TAnimationTimer() {
  delete notifier_;
  if (fd_ >= 0) close(fd_);
}

void TAnimationTimer::setInterval(int ms) {
  interval_ = std::max(ms, 1);
  if (armed_) Arm();
}

void TAnimationTimer::start() {
  active_ = true;
  if (!idle_) Arm();
}

void TAnimationTimer::stop() {
  active_ = false;
  Disarm();
}

void TAnimationTimer::SetIdle(bool idle) {
  if (idle == idle_) return;
  idle_ = idle;
  if (idle_)
    Disarm();
  else if (active_)
    Arm();
}

void TAnimationTimer::Arm() {
  const int ms = std::max(interval_, 1);
  armed_ = true;
  if (fd_ < 0) {
    fallback_.start(ms);
    return;
  }
  itimerspec period{};
  period.it_interval.tv_sec = ms / 1000;
  period.it_interval.tv_nsec = long(ms % 1000) * 1000000L;
  period.it_value = period.it_interval;
  timerfd_settime(fd_, 0, &period, nullptr);
  notifier_->setEnabled(true);
}

void TAnimationTimer::Disarm() {
  armed_ = false;
  if (fd_ < 0) {
    fallback_.stop();
    return;
  }
  const itimerspec off{};
  timerfd_settime(fd_, 0, &off, nullptr);
  notifier_->setEnabled(false);
}

void TAnimationTimer::Expired() {
  // However many deadlines passed since the last event, this is one tick.
  std::uint64_t passed = 0;
  if (read(fd_, &passed, sizeof passed) != sizeof passed) return;
  if (armed_) emit timeout();
}
