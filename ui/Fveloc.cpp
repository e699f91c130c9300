#include "ui/Fveloc.h"

#include "ui/DialogSupport.h"
#include "platform/Numbers.h"

#include <QFont>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>

#include <algorithm>

TfVelocidade* fVelocidade = nullptr;

namespace {

constexpr long double kMsPerStep = 9.99L;

}  // namespace

int SpeedPositionForInterval(std::uint32_t intervalMs) {
  if (intervalMs > 1000) return 0;
  const std::uint32_t difference = 1000u - intervalMs;
  const std::int32_t position = RoundHalfEven(static_cast<long double>(difference) / kMsPerStep);
  return std::clamp(position, 0, 100);
}

std::int32_t IntervalForSpeedPosition(int position) {
  return RoundHalfEven(1000.0L - static_cast<long double>(position) * kMsPerStep);
}

TfVelocidade::TfVelocidade(QWidget* parent)
    : QDialog(parent, kDialogWindowFlags) {
  SetUpDialog(*this, QStringLiteral("Velocidade"), DialogFont(true), 169, 90);

  GroupBox1 = new QGroupBox(QStringLiteral("Velocidade da Animação"), this);
  GroupBox1->setGeometry(5, 4, 159, 48);

  scrVelocidade = new QScrollBar(Qt::Horizontal, GroupBox1);
  scrVelocidade->setGeometry(8, 20, 141, 17);
  scrVelocidade->setRange(0, 100);
  scrVelocidade->setSingleStep(1);
  scrVelocidade->setPageStep(1);
  LetKeyboardMove(scrVelocidade, QStringLiteral("Velocidade da Animação"), 10);

  const OkCancelButtons buttons = MakeOkCancel(this, 5, 89, 58);
  OKBtn = buttons.ok;
  CancelBtn = buttons.cancel;
}

void TfVelocidade::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  CentreOnScreen(*this);
  OKBtn->setFocus();
}
