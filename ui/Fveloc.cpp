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
  setWindowTitle(QStringLiteral("Velocidade"));
  setFont(DialogFont(true));
  setFixedSize(169, 90);

  GroupBox1 = new QGroupBox(QStringLiteral("Velocidade da Animação"), this);
  GroupBox1->setGeometry(5, 4, 159, 48);

  scrVelocidade = new QScrollBar(Qt::Horizontal, GroupBox1);
  scrVelocidade->setGeometry(8, 20, 141, 17);
  scrVelocidade->setRange(0, 100);
  scrVelocidade->setSingleStep(1);
  scrVelocidade->setPageStep(1);

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setGeometry(5, 58, 77, 27);
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

  CancelBtn = new QPushButton(QStringLiteral("Cancelar"), this);
  CancelBtn->setGeometry(89, 58, 77, 27);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TfVelocidade::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  CentreOnScreen(*this);
  OKBtn->setFocus();
}
