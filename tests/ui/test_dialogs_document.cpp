// The two property dialogs driven by the model document, as a double click
// on the canvas opens them.
#include "document/uEditor.h"
#include "model/uRel.h"
#include "model/uVar.h"
#include "tests/document/FakeHost.h"
#include "tests/model/ModelTestSupport.h"
#include "tests/ui/test_dialogs_support.h"
#include "ui/Frel.h"
#include "ui/Fvar.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

#include <gtest/gtest.h>

using dialog_test::WhenModalShown;

namespace {

class DialogHost : public FakeHost {
public:
  IVariableDialog& VariableDialog() override { return variables; }
  IRelationshipDialog& RelationshipDialog() override { return relationships; }

  TfVariavel variables;
  TfRelacionamento relationships;
};

class DialogsInTheDocument : public ::testing::Test {
protected:
  DialogsInTheDocument() { editor.AttachCanvas(&canvas); }

  TVariavel& Place(std::int32_t x, std::int32_t y) {
    editor.UseContinuousTool();
    editor.MouseDown(x, y);
    editor.MouseUp();
    return *editor.Variables.back();
  }

  void SelectAndDoubleClick(std::int32_t x, std::int32_t y) {
    editor.MouseDown(x, y);
    editor.MouseUp();
    editor.DoubleClick();
  }

  model_test::FakeCanvas canvas{{0, 0, 800, 600}};
  DialogHost host;
  TEditor editor{host};
};

TEST_F(DialogsInTheDocument, ChoosingOnOffReplacesTheVariableWithEverythingFromTheDialog) {
  TVariavel& prey = Place(100, 200);
  TVariavel& predator = Place(400, 200);
  prey.SelfChangeRate = 0.125;
  prey.SetLevel(0.1);
  editor.UseRateTool();
  editor.MouseDown(predator.X, predator.Y);
  editor.MouseUp();
  editor.MouseDown(prey.X, prey.Y);
  editor.MouseUp();
  ASSERT_EQ(editor.Relationships.size(), 1u);
  TRelacionamento* link = editor.Relationships.front().get();
  editor.Modified = false;

  WhenModalShown([&](QDialog&) {
    host.variables.edtNome->setText(QStringLiteral("Presas"));
    host.variables.bLigaDesliga->click();
    host.variables.bValoresAbaixo->click();
    host.variables.bAzulClaro->click();
    host.variables.bOk->click();
  });
  SelectAndDoubleClick(prey.X, prey.Y);

  ASSERT_EQ(editor.Variables.size(), 2u);
  auto* replaced = dynamic_cast<TVarLigaDesliga*>(editor.Variables.back().get());
  ASSERT_NE(replaced, nullptr) << "the on-off variable moves to the end of the list";
  EXPECT_EQ(replaced->Name, "Presas");
  EXPECT_TRUE(replaced->OnBelow);
  EXPECT_EQ(replaced->Color, Color{0xFF0000u});
  EXPECT_EQ(replaced->SelfChangeRate, 0.125);
  EXPECT_EQ(static_cast<double>(replaced->Level), 0.1);
  EXPECT_EQ(link->Destination, replaced);
  EXPECT_EQ(replaced->Relationships, std::vector<TRelacionamento*>{link});
  EXPECT_EQ(editor.CurrentObject, replaced);
  EXPECT_FALSE(editor.Modified);
}

TEST_F(DialogsInTheDocument, AtFirstUseANewOnOffVariableSwitchesOnAboveWithAWeakEffect) {
  // The dialog's own defaults, not the class's initial "Igual a...".
  TVariavel& v = Place(200, 200);
  WhenModalShown([&](QDialog&) {
    host.variables.bLigaDesliga->click();
    host.variables.bOk->click();
  });
  SelectAndDoubleClick(v.X, v.Y);
  auto* onOff = dynamic_cast<TVarLigaDesliga*>(editor.Variables.back().get());
  ASSERT_NE(onOff, nullptr);
  EXPECT_FALSE(onOff->OnBelow);
  EXPECT_EQ(onOff->EffectWhenOn, EffectWhenOn::Weak);
}

TEST_F(DialogsInTheDocument, CancelLeavesTheVariableAndItsClassAlone) {
  TVariavel& v = Place(200, 200);
  v.SetName("Coelhos");
  WhenModalShown([&](QDialog&) {
    host.variables.edtNome->setText(QStringLiteral("Lebres"));
    host.variables.bQualquerValor->click();
    host.variables.bCancelar->click();
  });
  SelectAndDoubleClick(v.X, v.Y);
  ASSERT_EQ(editor.Variables.size(), 1u);
  EXPECT_EQ(editor.Variables.front().get(), &v);
  EXPECT_EQ(v.Name, "Coelhos");
}

TEST_F(DialogsInTheDocument, ChoosingRateSwitchesEveryRelationshipIntoTheDestination) {
  TVariavel& a = Place(100, 100);
  TVariavel& b = Place(100, 400);
  TVariavel& target = Place(500, 250);
  for (TVariavel* origin : {&a, &b}) {
    editor.UseProportionTool();
    editor.MouseDown(origin->X, origin->Y);
    editor.MouseUp();
    editor.MouseDown(target.X, target.Y);
    editor.MouseUp();
  }
  ASSERT_EQ(editor.Relationships.size(), 2u);
  TRelacionamento* first = editor.Relationships[0].get();
  TRelacionamento* second = editor.Relationships[1].get();

  WhenModalShown([&](QDialog&) {
    host.relationships.bTipo1->click();
    host.relationships.bOposta->click();
    host.relationships.bOk->click();
  });
  SelectAndDoubleClick(first->X, first->Y);

  EXPECT_EQ(first->Kind, RelationshipKind::Rate);
  EXPECT_FALSE(first->SameDirection);
  EXPECT_EQ(second->Kind, RelationshipKind::Rate) << "the destination gives the new kind to all its inputs";
  EXPECT_TRUE(second->SameDirection);
  EXPECT_EQ(target.InputKind, RelationshipKind::Rate);
}

}  // namespace
