#include "ui/Fconfirm.h"

#include "ui/DialogSupport.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>

TfConfirma* fConfirma = nullptr;

TfConfirma::TfConfirma(QWidget* parent)
    : QDialog(parent, kDialogWindowFlags) {
  SetUpDialog(*this, QStringLiteral("Confirme:"), DialogFont(false), 317, 77);

  Label1 = new QLabel(QStringLiteral("Deseja gravar o modelo antes de fechá-lo?"), this);
  Label1->setFont(DialogFont(true));
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setGeometry(0, 0, 317, 37);

  btnSim = MakeButton(this, QStringLiteral("&Sim"), 37, 40);
  connect(btnSim, &QPushButton::clicked, this, [this] {
    answer_ = Sim;
    accept();
  });

  btnNao = MakeButton(this, QStringLiteral("&Não"), 121, 40);
  connect(btnNao, &QPushButton::clicked, this, [this] {
    answer_ = Nao;
    accept();
  });

  btnCancelar = MakeButton(this, QStringLiteral("Cancelar"), 205, 40);
  connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TfConfirma::FormShow() {
  CentreOnScreen(*this);
  btnCancelar->setFocus();
}

TfConfirma::Answer TfConfirma::Ask() {
  answer_ = Cancelar;
  FormShow();
  return exec() == QDialog::Accepted ? answer_ : Cancelar;
}
