#include "ui/Fvar.h"

#include "ui/DialogSupport.h"
#include "model/uVar.h"
#include "platform/Numbers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

#include <cassert>
#include <cstddef>
#include <vector>

TfVariavel* fVariavel = nullptr;

namespace {

struct ColourButtonRow {
  QToolButton* TfVariavel::*button;
  int left;
  int top;
  Color value;
  /// What a screen reader says of it.
  const char* name;
};

// The top row holds black and the dark shades, the bottom row grey and the light ones.
constexpr ColourButtonRow kColourButtons[] = {
    {&TfVariavel::bPreto, 17, 19, Color{0x000000}, "Preto"},
    {&TfVariavel::bCinza, 17, 38, Color{0x808080}, "Cinza"},
    {&TfVariavel::bVermelhoEscuro, 36, 19, Color{0x000080}, "Vermelho-escuro"},
    {&TfVariavel::bVermelhoClaro, 36, 38, Color{0x0000FF}, "Vermelho"},
    {&TfVariavel::bAmareloEscuro, 55, 19, Color{0x008080}, "Amarelo-escuro"},
    {&TfVariavel::bAmareloClaro, 55, 38, Color{0x00FFFF}, "Amarelo"},
    {&TfVariavel::bVerdeEscuro, 74, 19, Color{0x008000}, "Verde-escuro"},
    {&TfVariavel::bVerdeClaro, 74, 38, Color{0x00FF00}, "Verde-claro"},
    {&TfVariavel::bCianoEscuro, 93, 19, Color{0x808000}, "Ciano-escuro"},
    {&TfVariavel::bCianoClaro, 93, 38, Color{0xFFFF00}, "Ciano"},
    {&TfVariavel::bAzulEscuro, 112, 19, Color{0x800000}, "Azul-escuro"},
    {&TfVariavel::bAzulClaro, 112, 38, Color{0xFF0000}, "Azul"},
    {&TfVariavel::bMagentaEscuro, 131, 19, Color{0x800080}, "Magenta-escuro"},
    {&TfVariavel::bMagentaClaro, 131, 38, Color{0xFF00FF}, "Magenta"},
};

constexpr int kMaxSelfChangePosition = 20;

struct RadioRow {
  QRadioButton* TfVariavel::*button;
  const char* caption;
  int top;
};

/// A group box of radio buttons that exclude each other.
struct RadioGroupRow {
  QGroupBox* TfVariavel::*group;
  const char* title;
  int left, top, width, height;
  /// Up to three, from the top; the rest have no button.
  RadioRow radios[3];
  /// The button checked until a variable is shown; none for the type, which
  /// the constructor checks once its buttons are connected.
  QRadioButton* TfVariavel::*checked;
};

// Creation order is focus order.
constexpr RadioGroupRow kEveryVariableGroups[] = {
    {&TfVariavel::grpTipo, "Tipo de variável", 4, 38, 145, 55,
     {{&TfVariavel::bContinua, "Contínua", 17}, {&TfVariavel::bLigaDesliga, "Liga-Desliga", 34}},
     nullptr},
    {&TfVariavel::grpFaixa, "Faixa de variação", 156, 38, 120, 55,
     {{&TfVariavel::bValoresPositivos, "Valores Positivos", 17},
      {&TfVariavel::bQualquerValor, "Qualquer Valor", 34}},
     &TfVariavel::bValoresPositivos},
    {&TfVariavel::grpSituacao, "Situação", 156, 98, 120, 55,
     {{&TfVariavel::bAcordada, "Acordada", 17}, {&TfVariavel::bDormindo, "Dormindo", 34}},
     &TfVariavel::bAcordada},
    {&TfVariavel::grpCombinacao, "Combinar relacionamentos", 280, 38, 165, 71,
     {{&TfVariavel::bSoma, "Soma", 18},
      {&TfVariavel::bMultiplicacao, "Multiplicação", 34},
      {&TfVariavel::bMedia, "Média Aritimética", 51}},
     &TfVariavel::bSoma},
    {&TfVariavel::grpAutomudanca, "Auto-mudança", 156, 157, 121, 76,
     {{&TfVariavel::bDiminui, "Diminui", 17}, {&TfVariavel::bAumenta, "Aumenta", 34}},
     &TfVariavel::bDiminui},
};

/// Shown only for an on-off variable.
constexpr RadioGroupRow kOnOffGroups[] = {
    {&TfVariavel::grpLigar, "Ligar", 6, 98, 143, 55,
     {{&TfVariavel::bValoresAcima, "Para valores acima", 17},
      {&TfVariavel::bValoresAbaixo, "Para valores abaixo", 34}},
     &TfVariavel::bValoresAcima},
    {&TfVariavel::grpEfeito, "Efeito quando ligada", 6, 157, 143, 76,
     {{&TfVariavel::bIgualA, "Igual a...", 17},
      {&TfVariavel::bFraco, "Fraco", 34},
      {&TfVariavel::bForte, "Forte", 51}},
     &TfVariavel::bFraco},
};

/// The group of a row with its radio buttons, kept in the dialog's members.
QGroupBox* MakeRadioGroup(TfVariavel& dialog, const RadioGroupRow& row) {
  QGroupBox* group =
      MakeGroup(&dialog, QString::fromUtf8(row.title), row.left, row.top, row.width, row.height);
  auto* exclusive = new QButtonGroup(group);
  for (const RadioRow& radio : row.radios) {
    if (!radio.button) break;
    dialog.*radio.button = MakeRadio(group, exclusive, QString::fromUtf8(radio.caption), 17,
                                     radio.top, group->width() - 19);
  }
  if (row.checked) (dialog.*row.checked)->setChecked(true);
  dialog.*row.group = group;
  return group;
}

/// A one-pixel silver frame around a 10 x 10 square of the colour.
QIcon Swatch(Color value) {
  QPixmap pixmap(12, 12);
  pixmap.fill(QColorOfModelColor(clSilver));
  QPainter painter(&pixmap);
  painter.fillRect(1, 1, 10, 10, QColorOfModelColor(value));
  return QIcon(pixmap);
}

/// The self-change bar's position for a rate, before the bar bounds it.
std::int32_t SelfChangePosition(double rate) {
  return RoundHalfEven(static_cast<long double>(rate) * 100);
}

}  // namespace

QColor QColorOfModelColor(Color c) {
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

TfVariavel::TfVariavel(QWidget* parent)
    : QDialog(parent, kDialogWindowFlags) {
  SetUpDialog(*this, QStringLiteral("Variável"), DialogFont(true), 448, 276);
  QPalette silver = palette();
  silver.setColor(QPalette::Window, QColorOfModelColor(clSilver));
  setPalette(silver);
  setAutoFillBackground(true);

  CreateNameBox();
  for (const RadioGroupRow& row : kEveryVariableGroups) MakeRadioGroup(*this, row);
  CreateSelfChangeBar();
  for (const RadioGroupRow& row : kOnOffGroups) MakeRadioGroup(*this, row)->hide();

  // Connected after the defaults are set, and before FormShow's first use.
  connect(bContinua, &QRadioButton::toggled, this, [this](bool on) {
    if (on) bContinuaClick();
  });
  connect(bLigaDesliga, &QRadioButton::toggled, this, [this](bool on) {
    if (on) bLigaDesligaClick();
  });
  bContinua->setChecked(true);

  CreateColourButtons();
  GroupBox2 = MakeGroup(this, QStringLiteral("Gráfico"), 280, 188, 165, 45);
  bGrafico = new QCheckBox(QStringLiteral("Desenhar"), GroupBox2);
  bGrafico->setGeometry(17, 18, 140, 17);

  const OkCancelButtons buttons = MakeOkCancel(this, 280, 368, 246);
  bOk = buttons.ok;
  bCancelar = buttons.cancel;
  SetTabOrder();
}

void TfVariavel::SetTabOrder() {
  // Column by column, as the groups stand: Tab then reaches the on-off
  // groups right under the type that shows them.
  std::vector<QWidget*> order = {edtNome, bContinua, bLigaDesliga, bValoresAcima, bValoresAbaixo,
                                 bIgualA, bFraco, bForte, bValoresPositivos, bQualquerValor,
                                 bAcordada, bDormindo, bDiminui, bAumenta, scrAutoMudanca,
                                 bSoma, bMultiplicacao, bMedia};
  for (const ColourButtonRow& row : kColourButtons) order.push_back(this->*row.button);
  order.insert(order.end(), {bGrafico, bOk, bCancelar});
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void TfVariavel::CreateNameBox() {
  Label2 = new QLabel(QStringLiteral("Nome"), this);
  Label2->move(4, 11);
  Label2->adjustSize();
  edtNome = new QLineEdit(this);
  // The dialog font is bold; the name box is not.
  edtNome->setFont(PixelFont(Face::Arial, 13));
  // Counted in UTF-16 units: never more characters than a name keeps.
  edtNome->setMaxLength(int(kMaxNameLength));
  edtNome->setGeometry(42, 6, 235, 24);
}

void TfVariavel::CreateSelfChangeBar() {
  scrAutoMudanca = new QScrollBar(Qt::Horizontal, grpAutomudanca);
  scrAutoMudanca->setGeometry(8, 53, 108, 17);
  scrAutoMudanca->setRange(0, kMaxSelfChangePosition);
  scrAutoMudanca->setSingleStep(1);
  scrAutoMudanca->setPageStep(1);
  LetKeyboardMove(scrAutoMudanca, QStringLiteral("Taxa de auto-mudança"), 5);
}

void TfVariavel::CreateColourButtons() {
  GroupBox1 = MakeGroup(this, QStringLiteral("Cor"), 280, 116, 165, 65);
  colours_ = new QButtonGroup(GroupBox1);
  colours_->setExclusive(true);
  for (std::size_t i = 0; i < std::size(kColourButtons); ++i) {
    const ColourButtonRow& row = kColourButtons[i];
    QToolButton* button = MakeFocusMarkedButton(GroupBox1);
    button->setAccessibleName(QString::fromUtf8(row.name));
    button->setGeometry(row.left, row.top, 16, 16);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setIconSize(QSize(12, 12));
    button->setIcon(Swatch(row.value));
    colours_->addButton(button, int(i));
    this->*row.button = button;
  }
  bPreto->setChecked(true);
}

void TfVariavel::SetEditedVariable(TVariavel* v) { edited_ = v; }

TVariavel* TfVariavel::EditedVariable() const { return edited_; }

KindCode TfVariavel::KindCodeOnShow() const { return kindCodeOnShow_; }

KindCode TfVariavel::KindCodeChosen() const { return kindCodeChosen_; }

bool TfVariavel::Execute() {
  FormShow();
  bOk->setFocus();
  return exec() == QDialog::Accepted;
}

void TfVariavel::bContinuaClick() {
  grpLigar->hide();
  grpEfeito->hide();
}

void TfVariavel::bLigaDesligaClick() {
  grpLigar->show();
  grpEfeito->show();
}

KindCode TfVariavel::KindCodeOfControls() const {
  return KindCodeOf(bContinua->isChecked() ? VariableType::Continuous : VariableType::OnOff,
                    bValoresPositivos->isChecked() ? ValueRange::Positive : ValueRange::AnyValue);
}

void TfVariavel::ComputeKindCode() { kindCodeChosen_ = KindCodeOfControls(); }

Color TfVariavel::ChosenColor() const {
  const int row = colours_->checkedId();
  assert(row >= 0 && "one colour button is always down");
  return kColourButtons[row].value;
}

void TfVariavel::FormShow() {
  assert(edited_ && "the variable dialog opened without a variable");
  const TVariavel& v = *edited_;
  CentreOnScreen(*this);

  shownNameBytes_ = v.Name;
  shownName_ = QString::fromStdString(v.Name);
  edtNome->setText(shownName_);
  shownName_ = edtNome->text();

  (v.Awake ? bAcordada : bDormindo)->setChecked(true);
  // A number that names no mode keeps the buttons of the previous use.
  switch (v.CombineMode) {
    case CombineMode::Sum: bSoma->setChecked(true); break;
    case CombineMode::Product: bMultiplicacao->setChecked(true); break;
    case CombineMode::Mean: bMedia->setChecked(true); break;
  }
  (v.SelfChangeDecreases ? bDiminui : bAumenta)->setChecked(true);
  shownRate_ = v.SelfChangeRate;
  scrAutoMudanca->setValue(SelfChangePosition(shownRate_));

  if (const auto* onOff = dynamic_cast<const TVarLigaDesliga*>(&v)) {
    bLigaDesliga->setChecked(true);
    (onOff->OnBelow ? bValoresAbaixo : bValoresAcima)->setChecked(true);
    switch (onOff->EffectWhenOn) {
      case EffectWhenOn::EqualToValue: bIgualA->setChecked(true); break;
      case EffectWhenOn::Weak: bFraco->setChecked(true); break;
      case EffectWhenOn::Strong: bForte->setChecked(true); break;
    }
  } else {
    bContinua->setChecked(true);
  }
  (v.IsAnyValue() ? bQualquerValor : bValoresPositivos)->setChecked(true);
  kindCodeOnShow_ = KindCodeOfControls();

  for (std::size_t i = 0; i < std::size(kColourButtons); ++i) {
    if (kColourButtons[i].value == v.Color) {
      colours_->button(int(i))->setChecked(true);
      break;
    }
  }
  bGrafico->setChecked(v.PlotInGraph);
}

void TfVariavel::ApplyToVariable() {
  assert(edited_ && "the variable dialog applied without a variable");
  TVariavel& v = *edited_;

  // An untouched edit gives back the very bytes it was shown, so a name the
  // edit cannot hold whole (too long for it) survives a confirmation.
  const QString text = edtNome->text();
  if (text == shownName_)
    v.SetName(shownNameBytes_);
  else
    v.SetName(OneLineName(text.toStdString()));
  v.Awake = bAcordada->isChecked();
  v.CombineMode = bSoma->isChecked()            ? CombineMode::Sum
                  : bMultiplicacao->isChecked() ? CombineMode::Product
                                                : CombineMode::Mean;
  v.SelfChangeDecreases = bDiminui->isChecked();
  // Only a moved bar writes a new rate, so a rate between two hundredths stays;
  // compared with the rate shown, because after a change of class the edited
  // variable is a new object that has not got it yet.
  if (scrAutoMudanca->value() != SelfChangePosition(shownRate_))
    v.SelfChangeRate = double(scrAutoMudanca->value()) / 100.0;
  else
    v.SelfChangeRate = shownRate_;
  if (auto* onOff = dynamic_cast<TVarLigaDesliga*>(&v)) {
    onOff->OnBelow = bValoresAbaixo->isChecked();
    onOff->EffectWhenOn = bIgualA->isChecked() ? EffectWhenOn::EqualToValue
                          : bFraco->isChecked() ? EffectWhenOn::Weak
                                                : EffectWhenOn::Strong;
  }
  v.Color = ChosenColor();
  v.PlotInGraph = bGrafico->isChecked();
}
