#include "ui/Frel.h"

#include "ui/DialogSupport.h"
#include "model/uRel.h"
#include "model/uVar.h"
#include "platform/TextEncoding.h"

#include <QButtonGroup>
#include <QFont>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <cassert>
#include <iterator>
#include <string>

TfRelacionamento* fRelacionamento = nullptr;

namespace {

QString Quoted(const QString& name) {
  return QLatin1Char('"') + ShortVariableName(name) + QLatin1Char('"');
}

/// The effect buttons, in the order of kOfferedEffects.
constexpr QRadioButton* TfRelacionamento::*kEffectButtons[] = {
    &TfRelacionamento::bFraco, &TfRelacionamento::bNormal, &TfRelacionamento::bForte};
static_assert(std::size(kEffectButtons) == std::size(kOfferedEffects),
              "one button for each effect offered");

}  // namespace

void TClickLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QLabel::mousePressEvent(event);
    return;
  }
  // Accepted, so that the release comes back here.
  pressed_ = true;
  event->accept();
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  // A click is a press and a release of the left button over the label.
  const bool click = pressed_ && event->button() == Qt::LeftButton &&
                     rect().contains(event->position().toPoint());
  pressed_ = false;
  QLabel::mouseReleaseEvent(event);
  if (click) emit clicked();
}

QString ShortVariableName(const QString& name) {
  // Counted in characters, so a surrogate pair is one character, not two.
  const std::string utf8 = name.toStdString();
  if (Utf8Length(utf8) <= 9) return name;
  return QString::fromStdString(std::string(Utf8Prefix(utf8, 6))) + QStringLiteral("...");
}

TfRelacionamento::TfRelacionamento(QWidget* parent)
    : QDialog(parent, kDialogWindowFlags) {
  SetUpDialog(*this, QStringLiteral("Relacionamento"), DialogFont(true), 217, 248);

  grpTipo = MakeGroup(this, QStringLiteral("Tipo de Relacionamento"), 4, 2, 210, 87);
  auto* kinds = new QButtonGroup(grpTipo);
  bTipo1 = MakeRadio(grpTipo, kinds, QStringLiteral("\"VarOrigem\" determina quanto"), 17, 17, 191);
  lTipo1 = new TClickLabel(QStringLiteral("\"VarDestino\" vai mudar."), grpTipo);
  lTipo1->setFont(DialogFont(false));
  lTipo1->setGeometry(33, 32, 175, 14);
  bTipo2 = MakeRadio(grpTipo, kinds, QStringLiteral("\"VarOrigem\" determina o valor de"), 16,
                     51, 192);
  lTipo2 = new TClickLabel(QStringLiteral("\"VarDestino\" vai mudar."), grpTipo);
  lTipo2->setFont(DialogFont(false));
  lTipo2->setGeometry(32, 66, 176, 14);
  bTipo1->setChecked(true);
  connect(lTipo1, &TClickLabel::clicked, this, &TfRelacionamento::lTipo1Click);
  connect(lTipo2, &TClickLabel::clicked, this, &TfRelacionamento::lTipo2Click);

  grpDirecao = MakeGroup(this, QStringLiteral("Direção"), 4, 93, 120, 55);
  auto* directions = new QButtonGroup(grpDirecao);
  bMesma = MakeRadio(grpDirecao, directions, QStringLiteral("Mesma"), 17, 17, 98);
  bOposta = MakeRadio(grpDirecao, directions, QStringLiteral("Oposta"), 17, 34, 98);
  bMesma->setChecked(true);

  grpSituacao = MakeGroup(this, QStringLiteral("Situação"), 4, 153, 120, 55);
  auto* situations = new QButtonGroup(grpSituacao);
  bAcordado = MakeRadio(grpSituacao, situations, QStringLiteral("Acordado"), 17, 17, 98);
  bDormindo = MakeRadio(grpSituacao, situations, QStringLiteral("Dormindo"), 17, 34, 98);
  bAcordado->setChecked(true);

  grpEfeito = MakeGroup(this, QStringLiteral("Efeito"), 131, 93, 83, 74);
  auto* effects = new QButtonGroup(grpEfeito);
  bFraco = MakeRadio(grpEfeito, effects, QStringLiteral("Fraco"), 17, 17, 62);
  bNormal = MakeRadio(grpEfeito, effects, QStringLiteral("Normal"), 17, 34, 62);
  bForte = MakeRadio(grpEfeito, effects, QStringLiteral("Forte"), 17, 51, 62);
  bNormal->setChecked(true);

  const OkCancelButtons buttons = MakeOkCancel(this, 49, 134, 216);
  bOk = buttons.ok;
  bCancelar = buttons.cancel;
}

void TfRelacionamento::SetEditedRelationship(TRelacionamento* r) { edited_ = r; }

TRelacionamento* TfRelacionamento::EditedRelationship() const { return edited_; }

bool TfRelacionamento::Execute() {
  FormShow();
  return exec() == QDialog::Accepted;
}

void TfRelacionamento::FormShow() {
  assert(edited_ && edited_->Origin && edited_->Destination &&
         "the relationship dialog opened without a connected relationship");
  CentreOnScreen(*this);

  const QString origin = Quoted(QString::fromStdString(edited_->Origin->Name));
  const QString destination = Quoted(QString::fromStdString(edited_->Destination->Name));
  bTipo1->setText(origin + QStringLiteral(" determina quanto"));
  lTipo1->setText(destination + QStringLiteral(" vai mudar."));
  bTipo2->setText(origin + QStringLiteral(" determina o valor de"));
  lTipo2->setText(destination + QLatin1Char('.'));

  (edited_->Kind == RelationshipKind::Rate ? bTipo1 : bTipo2)->setChecked(true);
  (edited_->SameDirection ? bMesma : bOposta)->setChecked(true);
  (edited_->Awake ? bAcordado : bDormindo)->setChecked(true);
  // Exact on purpose: an effect from a file that is none of the three keeps
  // the button of the previous use.
  for (std::size_t i = 0; i < std::size(kOfferedEffects); ++i)
    if (edited_->Effect == kOfferedEffects[i].effect) (this->*kEffectButtons[i])->setChecked(true);
}

void TfRelacionamento::lTipo1Click() {
  bTipo1->setChecked(true);
  bTipo1->setFocus();
}

void TfRelacionamento::lTipo2Click() {
  bTipo2->setChecked(true);
  bTipo2->setFocus();
}

void TfRelacionamento::ApplyToRelationship() {
  assert(edited_ && "the relationship dialog applied without a relationship");
  edited_->Kind = bTipo1->isChecked() ? RelationshipKind::Rate : RelationshipKind::Proportion;
  edited_->SameDirection = bMesma->isChecked();
  edited_->Awake = bAcordado->isChecked();
  for (std::size_t i = 0; i < std::size(kOfferedEffects); ++i)
    if ((this->*kEffectButtons[i])->isChecked()) edited_->Effect = kOfferedEffects[i].effect;
}
