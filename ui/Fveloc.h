#pragma once

#include <QDialog>

#include <cstdint>

class QGroupBox;
class QPushButton;
class QScrollBar;

/// Speed-bar position (0 slowest ... 100 fastest) for a timer interval in
/// milliseconds. An interval above 1000 lies off the scale and answers 0.
int SpeedPositionForInterval(std::uint32_t intervalMs);

/// Timer interval in milliseconds for a speed-bar position.
std::int32_t IntervalForSpeedPosition(int position);

/// The animation speed dialog: one scroll bar whose position the caller sets
/// before exec() and reads after an accepted close.
class TfVelocidade : public QDialog {
  Q_OBJECT

public:
  explicit TfVelocidade(QWidget* parent = nullptr);

  QGroupBox* GroupBox1;
  /// The speed ("velocidade") bar.
  QScrollBar* scrVelocidade;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

protected:
  void showEvent(QShowEvent* event) override;
};

extern TfVelocidade* fVelocidade;
