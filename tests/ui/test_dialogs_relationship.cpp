#include "model/uRel.h"
#include "model/uVar.h"
#include "tests/model/ModelTestSupport.h"
#include "tests/ui/test_dialogs_support.h"
#include "ui/Frel.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

using dialog_test::WhenModalShown;
using model_test::FakeCanvas;

namespace {

using Radio = QRadioButton* TfRelacionamento::*;

TEST(ShortVariableName, CutsNamesLongerThanNineCharactersCountingCharacters) {
  const struct {
    const char* label;
    const char* name;
    const char* shown;
  } rows[] = {
      {"empty", "", ""},
      {"nine plain", "Populacao", "Populacao"},
      {"nine accented (eleven bytes)", "População", "População"},
      {"ten accented", "Populações", "Popula..."},
      {"eleven", "Temperatura", "Temper..."},
      {"eleven, accents before the cut", "Ação rápida", "Ação r..."},
      {"ten with a character outside the BMP", "Peixes 🐟🐟🐟", "Peixes..."},
      {"nine with a character outside the BMP", "Peixes 🐟🐟", "Peixes 🐟🐟"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ShortVariableName(QString::fromUtf8(row.name)).toStdString(), row.shown) << row.label;
}

class RelationshipDialog : public ::testing::Test {
protected:
  RelationshipDialog() {
    for (TVariavel* v : {static_cast<TVariavel*>(&origin), static_cast<TVariavel*>(&destination)})
      v->SetCanvas(&canvas);
    origin.SetName("Coelhos");
    destination.SetName("Raposas");
    link = model_test::Link(origin, destination);
  }

  void Show(std::int32_t kind, bool same, bool awake, double effect) {
    link->Kind = static_cast<RelationshipKind>(kind);
    link->SameDirection = same;
    link->Awake = awake;
    link->Effect = effect;
    dialog.SetEditedRelationship(link.get());
    dialog.FormShow();
  }

  FakeCanvas canvas;
  TVarContinua origin;
  TVarLigaDesliga destination;
  std::unique_ptr<TRelacionamento> link;
  TfRelacionamento dialog;
};

TEST_F(RelationshipDialog, SentencesQuoteBothNames) {
  Show(1, true, true, 1.0);
  EXPECT_EQ(dialog.bTipo1->text(), QStringLiteral("\"Coelhos\" determina quanto"));
  EXPECT_EQ(dialog.lTipo1->text(), QStringLiteral("\"Raposas\" vai mudar."));
  EXPECT_EQ(dialog.bTipo2->text(), QStringLiteral("\"Coelhos\" determina o valor de"));
  EXPECT_EQ(dialog.lTipo2->text(), QStringLiteral("\"Raposas\"."));
}

TEST_F(RelationshipDialog, LongestSentencesFitBesideTheirIndicators) {
  origin.SetName("Populações");
  destination.SetName("Predadores");
  Show(1, true, true, 1.0);
  dialog_test::ExpectCaptionsFit(dialog);
}

TEST_F(RelationshipDialog, SentencesUseTheShortNamesAndAnEmptyNameGivesTwoQuotes) {
  origin.SetName("");
  destination.SetName("Ação rápida");
  Show(2, true, true, 1.0);
  EXPECT_EQ(dialog.bTipo1->text(), QStringLiteral("\"\" determina quanto"));
  EXPECT_EQ(dialog.lTipo1->text(), QStringLiteral("\"Ação r...\" vai mudar."));
  EXPECT_EQ(dialog.lTipo2->text(), QStringLiteral("\"Ação r...\"."));
}

TEST_F(RelationshipDialog, FormShowSetsEveryGroupFromTheRelationship) {
  const struct {
    const char* label;
    std::int32_t kind;
    bool same;
    bool awake;
    double effect;
    Radio kindButton, directionButton, situationButton, effectButton;
  } rows[] = {
      {"rate, same, awake, weak", 1, true, true, 0.5, &TfRelacionamento::bTipo1,
       &TfRelacionamento::bMesma, &TfRelacionamento::bAcordado, &TfRelacionamento::bFraco},
      {"proportion, opposite, asleep, normal", 2, false, false, 1.0, &TfRelacionamento::bTipo2,
       &TfRelacionamento::bOposta, &TfRelacionamento::bDormindo, &TfRelacionamento::bNormal},
      {"rate, opposite, awake, strong", 1, false, true, 2.0, &TfRelacionamento::bTipo1,
       &TfRelacionamento::bOposta, &TfRelacionamento::bAcordado, &TfRelacionamento::bForte},
      {"a kind from a file other than 1 reads as proportion", 7, true, false, 0.5,
       &TfRelacionamento::bTipo2, &TfRelacionamento::bMesma, &TfRelacionamento::bDormindo,
       &TfRelacionamento::bFraco},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    Show(row.kind, row.same, row.awake, row.effect);
    for (Radio radio : {row.kindButton, row.directionButton, row.situationButton, row.effectButton})
      EXPECT_TRUE((dialog.*radio)->isChecked()) << (dialog.*radio)->text().toStdString();
  }
}

TEST_F(RelationshipDialog, ApplyWritesTheChoicesBack) {
  const struct {
    Radio kindButton, directionButton, situationButton, effectButton;
    std::int32_t kind;
    bool same;
    bool awake;
    double effect;
  } rows[] = {
      {&TfRelacionamento::bTipo1, &TfRelacionamento::bOposta, &TfRelacionamento::bDormindo,
       &TfRelacionamento::bForte, 1, false, false, 2.0},
      {&TfRelacionamento::bTipo2, &TfRelacionamento::bMesma, &TfRelacionamento::bAcordado,
       &TfRelacionamento::bFraco, 2, true, true, 0.5},
      {&TfRelacionamento::bTipo2, &TfRelacionamento::bOposta, &TfRelacionamento::bAcordado,
       &TfRelacionamento::bNormal, 2, false, true, 1.0},
  };
  for (const auto& row : rows) {
    Show(1, true, true, 1.0);
    for (Radio radio : {row.kindButton, row.directionButton, row.situationButton, row.effectButton})
      (dialog.*radio)->click();
    dialog.ApplyToRelationship();
    EXPECT_EQ(link->Kind, static_cast<RelationshipKind>(row.kind));
    EXPECT_EQ(link->SameDirection, row.same);
    EXPECT_EQ(link->Awake, row.awake);
    EXPECT_EQ(link->Effect, row.effect);
  }
}

TEST_F(RelationshipDialog, EffectOfNoButtonKeepsThePreviousButton) {
  Show(2, true, true, 0.7);
  EXPECT_TRUE(dialog.bNormal->isChecked()) << "at first use, the designed choice";
  dialog.ApplyToRelationship();
  EXPECT_EQ(link->Effect, 1.0);

  Show(2, true, true, 2.0);
  Show(2, true, true, 0.7);
  EXPECT_TRUE(dialog.bForte->isChecked());
  EXPECT_FALSE(dialog.bFraco->isChecked());
  EXPECT_FALSE(dialog.bNormal->isChecked());
  dialog.ApplyToRelationship();
  EXPECT_EQ(link->Effect, 2.0);

  // Exact comparison: a hair away from 1.0 is no normal effect.
  Show(2, true, true, 0.5);
  Show(2, true, true, 1.0000000000000002);
  EXPECT_TRUE(dialog.bFraco->isChecked());
}

TEST_F(RelationshipDialog, ClickingALabelChoosesItsSentence) {
  link->Kind = RelationshipKind::Proportion;
  dialog.SetEditedRelationship(link.get());
  bool rateChosen = false, focusOnRate = false, proportionChosen = false, focusOnProportion = false;
  WhenModalShown([&](QDialog&) {
    QTest::mouseClick(dialog.lTipo1, Qt::LeftButton);
    rateChosen = dialog.bTipo1->isChecked() && !dialog.bTipo2->isChecked();
    focusOnRate = QApplication::focusWidget() == dialog.bTipo1;
    QTest::mouseClick(dialog.lTipo2, Qt::LeftButton);
    proportionChosen = dialog.bTipo2->isChecked() && !dialog.bTipo1->isChecked();
    focusOnProportion = QApplication::focusWidget() == dialog.bTipo2;
    QTest::mouseClick(dialog.lTipo1, Qt::LeftButton);
    dialog.bOk->click();
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_TRUE(rateChosen);
  EXPECT_TRUE(focusOnRate);
  EXPECT_TRUE(proportionChosen);
  EXPECT_TRUE(focusOnProportion);
  dialog.ApplyToRelationship();
  EXPECT_EQ(link->Kind, RelationshipKind::Rate);
}

TEST_F(RelationshipDialog, ExecuteAnswersTrueOnOkAndFalseOnCancelOrClose) {
  dialog.SetEditedRelationship(link.get());
  WhenModalShown([&](QDialog&) { dialog.bOk->click(); });
  EXPECT_TRUE(dialog.Execute());
  WhenModalShown([&](QDialog&) { dialog.bCancelar->click(); });
  EXPECT_FALSE(dialog.Execute());
  WhenModalShown([](QDialog& shown) { shown.close(); });
  EXPECT_FALSE(dialog.Execute());
}

}  // namespace
