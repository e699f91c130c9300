#include "model/uVar.h"
#include "tests/model/ModelTestSupport.h"
#include "tests/ui/test_dialogs_support.h"
#include "ui/Fvar.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using dialog_test::WhenModalShown;
using model_test::FakeCanvas;

namespace {

using Radio = QRadioButton* TfVariavel::*;
using ColourButton = QToolButton* TfVariavel::*;

class VariableDialog : public ::testing::Test {
protected:
  template <class T>
  std::unique_ptr<T> Make(const std::string& name = "Coelhos") {
    auto v = std::make_unique<T>();
    v->SetCanvas(&canvas);
    v->SetName(name);
    return v;
  }

  /// Opens and confirms the dialog on v the way the document does when the
  /// class stays, after `edit` has worked the controls.
  void EditAndConfirm(TVariavel& v, const std::function<void()>& edit) {
    dialog.SetEditedVariable(&v);
    dialog.FormShow();
    edit();
    dialog.ComputeKindCode();
    ASSERT_EQ(dialog.KindCodeChosen(), dialog.KindCodeOnShow()) << "the edit changed the class";
    dialog.ApplyToVariable();
  }

  bool OnOffGroupsShown() const {
    const bool ligar = dialog.grpLigar->isVisibleTo(&dialog);
    EXPECT_EQ(ligar, dialog.grpEfeito->isVisibleTo(&dialog)) << "the two on-off groups disagree";
    return ligar;
  }

  FakeCanvas canvas;
  TfVariavel dialog;
};

TEST_F(VariableDialog, FormShowFillsEveryControlFromEachClass) {
  struct Row {
    const char* label;
    std::function<std::unique_ptr<TVariavel>()> make;
    int kindCode;
    std::vector<Radio> checked;
    ColourButton colour;
    int selfChange;
  };
  const std::vector<Row> rows = {
      {"continuous, positive",
       [&] {
         auto v = Make<TVarContinua>("Coelhos");
         v->Awake = false;
         v->CombineMode = CombineMode::Product;
         v->SelfChangeDecreases = false;
         v->SelfChangeRate = 0.05;
         v->Color = Color{0x0000FFu};
         v->PlotInGraph = true;
         return std::unique_ptr<TVariavel>(std::move(v));
       },
       11,
       {&TfVariavel::bContinua, &TfVariavel::bValoresPositivos, &TfVariavel::bDormindo,
        &TfVariavel::bMultiplicacao, &TfVariavel::bAumenta},
       &TfVariavel::bVermelhoClaro,
       5},
      {"continuous, any value",
       [&] {
         auto v = Make<TVarContinuaQualquerValor>("Ânimo");
         v->CombineMode = CombineMode::Mean;
         v->SelfChangeRate = 0.2;
         v->Color = Color{0x808000u};
         return std::unique_ptr<TVariavel>(std::move(v));
       },
       12,
       {&TfVariavel::bContinua, &TfVariavel::bQualquerValor, &TfVariavel::bAcordada,
        &TfVariavel::bMedia, &TfVariavel::bDiminui},
       &TfVariavel::bCianoEscuro,
       20},
      {"on-off, positive",
       [&] {
         auto v = Make<TVarLigaDesliga>("Chuva");
         v->OnBelow = true;
         v->EffectWhenOn = EffectWhenOn::EqualToValue;
         v->Color = Color{0x000080u};
         return std::unique_ptr<TVariavel>(std::move(v));
       },
       21,
       {&TfVariavel::bLigaDesliga, &TfVariavel::bValoresPositivos, &TfVariavel::bSoma,
        &TfVariavel::bValoresAbaixo, &TfVariavel::bIgualA},
       &TfVariavel::bVermelhoEscuro,
       0},
      {"on-off, any value",
       [&] {
         auto v = Make<TVarLigaDesligaQualquerValor>("Sol");
         v->OnBelow = false;
         v->EffectWhenOn = EffectWhenOn::Strong;
         v->Awake = false;
         v->SelfChangeRate = 0.01;
         v->Color = Color{0xFF00FFu};
         return std::unique_ptr<TVariavel>(std::move(v));
       },
       22,
       {&TfVariavel::bLigaDesliga, &TfVariavel::bQualquerValor, &TfVariavel::bDormindo,
        &TfVariavel::bValoresAcima, &TfVariavel::bForte},
       &TfVariavel::bMagentaClaro,
       1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    const auto v = row.make();
    dialog.SetEditedVariable(v.get());
    dialog.FormShow();
    EXPECT_EQ(dialog.edtNome->text(), QString::fromStdString(v->Name));
    for (Radio radio : row.checked)
      EXPECT_TRUE((dialog.*radio)->isChecked()) << (dialog.*radio)->text().toStdString();
    EXPECT_TRUE((dialog.*row.colour)->isChecked());
    EXPECT_EQ(dialog.scrAutoMudanca->value(), row.selfChange);
    EXPECT_EQ(dialog.bGrafico->isChecked(), v->PlotInGraph);
    EXPECT_EQ(static_cast<int>(dialog.KindCodeOnShow()), row.kindCode);
    EXPECT_EQ(OnOffGroupsShown(), row.kindCode > 20);
  }
}

TEST_F(VariableDialog, EveryCaptionFitsBesideItsIndicator) {
  auto v = Make<TVarLigaDesliga>();
  dialog.SetEditedVariable(v.get());
  dialog.FormShow();
  dialog_test::ExpectCaptionsFit(dialog);
}

TEST_F(VariableDialog, EachRadioGroupHoldsExactlyOneChoice) {
  auto v = Make<TVarLigaDesliga>();
  dialog.SetEditedVariable(v.get());
  dialog.FormShow();
  for (QGroupBox* group : {dialog.grpTipo, dialog.grpFaixa, dialog.grpSituacao,
                           dialog.grpCombinacao, dialog.grpAutomudanca, dialog.grpLigar,
                           dialog.grpEfeito}) {
    SCOPED_TRACE(group->title().toStdString());
    const auto radios = group->findChildren<QRadioButton*>();
    ASSERT_GE(radios.size(), 2);
    radios.back()->click();
    for (QRadioButton* r : radios) EXPECT_EQ(r->isChecked(), r == radios.back());
    radios.front()->click();
    for (QRadioButton* r : radios) EXPECT_EQ(r->isChecked(), r == radios.front());
  }
}

TEST_F(VariableDialog, OnOffGroupsFollowTheTypeAcrossUses) {
  auto onOff = Make<TVarLigaDesliga>();
  auto continuous = Make<TVarContinua>();
  ASSERT_FALSE(OnOffGroupsShown());

  dialog.SetEditedVariable(onOff.get());
  dialog.FormShow();
  EXPECT_TRUE(OnOffGroupsShown());
  dialog.SetEditedVariable(continuous.get());
  dialog.FormShow();
  EXPECT_FALSE(OnOffGroupsShown());

  dialog.bLigaDesliga->click();
  EXPECT_TRUE(OnOffGroupsShown());
  dialog.bContinua->click();
  EXPECT_FALSE(OnOffGroupsShown());
}

TEST_F(VariableDialog, KindCodeComesFromTypeAndRange) {
  const struct {
    Radio type;
    Radio range;
    int code;
  } rows[] = {
      {&TfVariavel::bContinua, &TfVariavel::bValoresPositivos, 11},
      {&TfVariavel::bContinua, &TfVariavel::bQualquerValor, 12},
      {&TfVariavel::bLigaDesliga, &TfVariavel::bValoresPositivos, 21},
      {&TfVariavel::bLigaDesliga, &TfVariavel::bQualquerValor, 22},
  };
  auto v = Make<TVarContinua>();
  dialog.SetEditedVariable(v.get());
  dialog.FormShow();
  for (const auto& row : rows) {
    (dialog.*row.type)->click();
    (dialog.*row.range)->click();
    dialog.ComputeKindCode();
    EXPECT_EQ(static_cast<int>(dialog.KindCodeChosen()), row.code);
    EXPECT_EQ(static_cast<int>(dialog.KindCodeOnShow()), 11) << "choosing must not change the code shown";
  }
}

TEST_F(VariableDialog, ApplyWritesEveryControlBack) {
  auto v = Make<TVarLigaDesligaQualquerValor>("Antes");
  EditAndConfirm(*v, [&] {
    dialog.edtNome->setText(QStringLiteral("Predação"));
    dialog.bDormindo->click();
    dialog.bMedia->click();
    dialog.bAumenta->click();
    dialog.scrAutoMudanca->setValue(7);
    dialog.bValoresAbaixo->click();
    dialog.bForte->click();
    dialog.bVerdeClaro->click();
    dialog.bGrafico->click();
  });
  EXPECT_EQ(v->Name, "Predação");
  EXPECT_EQ(v->HalfNameWidth, canvas.TextWidth("Predação") / 2) << "SetName measures the name";
  EXPECT_FALSE(v->Awake);
  EXPECT_EQ(v->CombineMode, CombineMode::Mean);
  EXPECT_FALSE(v->SelfChangeDecreases);
  EXPECT_DOUBLE_EQ(v->SelfChangeRate, 0.07);
  EXPECT_TRUE(v->OnBelow);
  EXPECT_EQ(v->EffectWhenOn, EffectWhenOn::Strong);
  EXPECT_EQ(v->Color, Color{0x00FF00u});
  EXPECT_TRUE(v->PlotInGraph);

  EditAndConfirm(*v, [&] {
    dialog.bAcordada->click();
    dialog.bMultiplicacao->click();
    dialog.bValoresAcima->click();
    dialog.bFraco->click();
  });
  EXPECT_TRUE(v->Awake);
  EXPECT_EQ(v->CombineMode, CombineMode::Product);
  EXPECT_FALSE(v->OnBelow);
  EXPECT_EQ(v->EffectWhenOn, EffectWhenOn::Weak);
}

TEST_F(VariableDialog, EmptyNameIsStoredEmpty) {
  auto v = Make<TVarContinua>("Coelhos");
  EditAndConfirm(*v, [&] { dialog.edtNome->clear(); });
  EXPECT_EQ(v->Name, "");
  EXPECT_EQ(v->HalfNameWidth, 0);
}

TEST_F(VariableDialog, UntouchedNameKeepsItsBytesEvenBeyondWhatTheEditHolds) {
  const std::string longName(40000, 'x');
  auto v = Make<TVarContinua>(longName);
  EditAndConfirm(*v, [] {});
  EXPECT_EQ(v->Name, longName);
}

TEST_F(VariableDialog, ATypedNameIsOneLineOfTheModelFile) {
  struct Case {
    QString typed;
    std::string stored;
  };
  const Case cases[] = {
      {QStringLiteral("Coelhos\nLinces"), "Coelhos Linces"},
      {QStringLiteral("a\r\nb\r"), "a  b "},
      {QString(5000, QLatin1Char('y')), std::string(4096, 'y')},
  };
  for (const Case& c : cases) {
    auto v = Make<TVarContinua>("Coelhos");
    EditAndConfirm(*v, [&] { dialog.edtNome->setText(c.typed); });
    EXPECT_EQ(v->Name, c.stored);
  }
}

TEST_F(VariableDialog, SelfChangeBarAndRate) {
  const struct {
    const char* label;
    double rate;
    int shown;
    int movedTo;  // -1: untouched
    double stored;
  } rows[] = {
      {"between two hundredths, untouched", 0.125, 12, -1, 0.125},
      {"between two hundredths, moved", 0.125, 12, 13, 0.13},
      {"above the bar's end", 0.3, 20, -1, 0.20},
      {"below the bar's start", -0.05, 0, -1, 0.0},
      {"a whole hundredth", 0.07, 7, -1, 0.07},
      {"moved to zero", 0.15, 15, 0, 0.0},
      // The double nearest 0.025 is a little above it: times 100 in extended
      // precision that is 2.50000000000000014, which rounds up, where a double
      // product would be 2.5 exactly and round to even.
      {"just above a half hundredth", 0.025, 3, -1, 0.025},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    auto v = Make<TVarContinua>();
    v->SelfChangeRate = row.rate;
    EditAndConfirm(*v, [&] {
      EXPECT_EQ(dialog.scrAutoMudanca->value(), row.shown);
      if (row.movedTo >= 0) dialog.scrAutoMudanca->setValue(row.movedTo);
    });
    EXPECT_EQ(v->SelfChangeRate, row.stored);
  }
}

TEST_F(VariableDialog, ChangeOfClassCarriesTheUntouchedRateToTheNewObject) {
  auto old = Make<TVarContinua>("Coelhos");
  old->SelfChangeRate = 0.125;
  dialog.SetEditedVariable(old.get());
  dialog.FormShow();
  dialog.bLigaDesliga->click();
  dialog.ComputeKindCode();
  ASSERT_EQ(static_cast<int>(dialog.KindCodeChosen()), 21);

  // What the document does for a new class: a fresh object becomes the edited one.
  auto replacement = std::make_unique<TVarLigaDesliga>();
  replacement->SetCanvas(&canvas);
  dialog.SetEditedVariable(replacement.get());
  dialog.ApplyToVariable();
  EXPECT_EQ(replacement->SelfChangeRate, 0.125);
  EXPECT_EQ(replacement->Name, "Coelhos");
}

TEST_F(VariableDialog, EveryColourButtonRoundTripsItsColour) {
  const struct {
    ColourButton button;
    Color value;
    QColor shown;
  } rows[] = {
      {&TfVariavel::bPreto, Color{0x000000}, QColor(0, 0, 0)},
      {&TfVariavel::bCinza, Color{0x808080}, QColor(128, 128, 128)},
      {&TfVariavel::bVermelhoEscuro, Color{0x000080}, QColor(128, 0, 0)},
      {&TfVariavel::bVermelhoClaro, Color{0x0000FF}, QColor(255, 0, 0)},
      {&TfVariavel::bAmareloEscuro, Color{0x008080}, QColor(128, 128, 0)},
      {&TfVariavel::bAmareloClaro, Color{0x00FFFF}, QColor(255, 255, 0)},
      {&TfVariavel::bVerdeEscuro, Color{0x008000}, QColor(0, 128, 0)},
      {&TfVariavel::bVerdeClaro, Color{0x00FF00}, QColor(0, 255, 0)},
      {&TfVariavel::bCianoEscuro, Color{0x808000}, QColor(0, 128, 128)},
      {&TfVariavel::bCianoClaro, Color{0xFFFF00}, QColor(0, 255, 255)},
      {&TfVariavel::bAzulEscuro, Color{0x800000}, QColor(0, 0, 128)},
      {&TfVariavel::bAzulClaro, Color{0xFF0000}, QColor(0, 0, 255)},
      {&TfVariavel::bMagentaEscuro, Color{0x800080}, QColor(128, 0, 128)},
      {&TfVariavel::bMagentaClaro, Color{0xFF00FF}, QColor(255, 0, 255)},
  };
  auto v = Make<TVarContinua>();
  for (const auto& row : rows) {
    QToolButton* button = dialog.*row.button;
    SCOPED_TRACE(row.shown.name().toStdString());
    const QImage swatch = button->icon().pixmap(12, 12).toImage();
    ASSERT_EQ(swatch.size(), QSize(12, 12));
    EXPECT_EQ(swatch.pixelColor(0, 0), QColor(192, 192, 192)) << "silver frame";
    EXPECT_EQ(swatch.pixelColor(11, 6), QColor(192, 192, 192)) << "silver frame";
    EXPECT_EQ(swatch.pixelColor(1, 1), row.shown);
    EXPECT_EQ(swatch.pixelColor(10, 10), row.shown);

    v->Color = row.value;
    EditAndConfirm(*v, [&] { EXPECT_TRUE(button->isChecked()); });
    EXPECT_EQ(v->Color, row.value);
  }
}

TEST_F(VariableDialog, ExactlyOneColourButtonIsDownAndBlackAtFirst) {
  const auto buttons = dialog.GroupBox1->findChildren<QToolButton*>();
  ASSERT_EQ(buttons.size(), 14);
  for (QToolButton* b : buttons) EXPECT_EQ(b->isChecked(), b == dialog.bPreto);
  dialog.bAzulEscuro->click();
  dialog.bAzulEscuro->click();
  for (QToolButton* b : buttons) EXPECT_EQ(b->isChecked(), b == dialog.bAzulEscuro);
}

TEST_F(VariableDialog, ColourOfNoButtonKeepsThePreviousButtonAndOkGivesItsColour) {
  auto green = Make<TVarContinua>();
  green->Color = Color{0x008000u};
  dialog.SetEditedVariable(green.get());
  dialog.FormShow();

  auto unusual = Make<TVarContinua>();
  unusual->Color = Color{0x123456u};
  EditAndConfirm(*unusual, [&] { EXPECT_TRUE(dialog.bVerdeEscuro->isChecked()); });
  EXPECT_EQ(unusual->Color, Color{0x008000u});
}

TEST_F(VariableDialog, UnknownCombineModeAndEffectKeepThePreviousChoices) {
  auto previous = Make<TVarLigaDesliga>();
  previous->CombineMode = CombineMode::Product;
  previous->EffectWhenOn = EffectWhenOn::Strong;
  dialog.SetEditedVariable(previous.get());
  dialog.FormShow();

  auto odd = Make<TVarLigaDesliga>();
  odd->CombineMode = static_cast<CombineMode>(9);
  odd->EffectWhenOn = static_cast<EffectWhenOn>(0);
  EditAndConfirm(*odd, [] {});
  EXPECT_EQ(odd->CombineMode, CombineMode::Product);
  EXPECT_EQ(odd->EffectWhenOn, EffectWhenOn::Strong);
}

TEST_F(VariableDialog, ExecuteOpensWithTheFocusOnOkAndAnswersOk) {
  auto v = Make<TVarContinua>();
  dialog.SetEditedVariable(v.get());
  QWidget* focused = nullptr;
  WhenModalShown([&](QDialog&) {
    focused = QApplication::focusWidget();
    dialog.bOk->click();
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(focused, dialog.bOk);
}

TEST_F(VariableDialog, ExecuteAnswersFalseOnCancelCloseAndEscape) {
  auto v = Make<TVarContinua>();
  dialog.SetEditedVariable(v.get());
  const std::vector<std::pair<const char*, std::function<void(QDialog&)>>> ways = {
      {"Cancelar", [&](QDialog&) { dialog.bCancelar->click(); }},
      {"close button", [](QDialog& shown) { shown.close(); }},
      {"Escape", [](QDialog& shown) { QTest::keyClick(&shown, Qt::Key_Escape); }},
  };
  for (const auto& [label, answer] : ways) {
    WhenModalShown(answer);
    EXPECT_FALSE(dialog.Execute()) << label;
  }
}

TEST_F(VariableDialog, EnterInTheNameConfirms) {
  auto v = Make<TVarContinua>();
  dialog.SetEditedVariable(v.get());
  WhenModalShown([&](QDialog&) {
    dialog.edtNome->setFocus();
    QTest::keyClick(dialog.edtNome, Qt::Key_Return);
  });
  EXPECT_TRUE(dialog.Execute());
}

}  // namespace
