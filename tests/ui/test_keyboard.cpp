#include "tests/ui/test_mainwindow_fixture.h"

#include "ui/Fvar.h"
#include "ui/Fveloc.h"
#include "platform/RegionalSettings.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>

#include <utility>
#include <vector>

namespace {

void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
  QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

std::vector<std::string> ModelText() {
  ModelLines lines;
  fEditor->Document->WriteText(lines);
  return lines;
}

TEST_F(MainWindowTest, AModelBuiltByKeysEqualsOneBuiltByTheMouse) {
  // Both models get the environment of "Novo".
  DiscardModel();
  Part<QPushButton>("bTeclado")->setFocus();
  for (const int tool : {Qt::Key_C, Qt::Key_L}) {
    Key(tool);
    Key(Qt::Key_Return);
  }
  const std::pair<int, int> at[] = {{Doc().Variables[0]->X, Doc().Variables[0]->Y},
                                    {Doc().Variables[1]->X, Doc().Variables[1]->Y}};
  // The origin, raised as a press raises it, is walked past to the other one.
  Key(Qt::Key_T);
  for (const int key : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return})
    Key(key);
  ASSERT_EQ(Doc().Variables.size(), 2u);
  ASSERT_EQ(Doc().Relationships.size(), 1u);
  EXPECT_TRUE(Part("bSelecao")->isChecked());
  // The last variable: a press on it raises nothing, so the mouse can drag it alike.
  Key(Qt::Key_Tab);
  Key(Qt::Key_Tab);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  const std::vector<std::string> byKeys = ModelText();

  DiscardModel();
  PlaceVariable(Part("bVarContinua"), at[0].first, at[0].second);
  PlaceVariable(Part("bVarLigaDesliga"), at[1].first, at[1].second);
  Link(Part("bRelacionamentoTaxa"), at[0].first, at[0].second, at[1].first, at[1].second);
  const TVariavel& moved = *Doc().Variables[1];
  QTest::mousePress(Part<TCanvasView>("iModelo"), Qt::LeftButton, {}, QPoint(moved.X, moved.Y));
  QTest::mouseMove(Part<TCanvasView>("iModelo"), QPoint(moved.X + 40, moved.Y));
  QTest::mouseMove(Part<TCanvasView>("iModelo"), QPoint(moved.X + 10, moved.Y));
  QTest::mouseRelease(Part<TCanvasView>("iModelo"), Qt::LeftButton, {}, QPoint(moved.X + 10, moved.Y));
  EXPECT_EQ(ModelText(), byKeys);
}

TEST_F(MainWindowTest, AnimationAndClockKeysActAsTheirEnabledButtons) {
  PlaceVariable(Part("bVarContinua"), 150, 150)->SetLevel(0.5);
  Key(Qt::Key_F5);
  EXPECT_EQ(Doc().RunState, RunState::Running);
  QTest::qWait(30);
  Key(Qt::Key_F9);
  EXPECT_EQ(Part<QLabel>("lTempo")->text(), QStringLiteral("0"));
  Key(Qt::Key_F8);  // disabled while animating
  EXPECT_EQ(Doc().RunState, RunState::Running);
  Key(Qt::Key_F5, Qt::ShiftModifier);
  EXPECT_EQ(Doc().RunState, RunState::Stopped);
  Key(Qt::Key_F8);
  EXPECT_EQ(Doc().Variables[0]->Level, 0);
  Key(Qt::Key_F7);
  EXPECT_EQ(Doc().Variables[0]->Level, 0.5L);
  EXPECT_FALSE(Part("bReinicializar")->isEnabled());
}

TEST_F(MainWindowTest, TabWalksTheModelAndCtrlTabLeavesIt) {
  PlaceVariable(Part("bVarContinua"), 150, 150);
  Key(Qt::Key_Tab);
  EXPECT_NE(Doc().CurrentObject, nullptr);
  Key(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(QApplication::focusWidget(), Part<QComboBox>("cBoxUnidades"));
}

TEST_F(MainWindowTest, ScreenReadersGetNamesForButtonsColoursAndModelObjects) {
  for (QToolButton* b : Part<QWidget>("pBarraOpcoes")->findChildren<QToolButton*>()) {
    EXPECT_EQ(b->accessibleName(), b->toolTip());
    EXPECT_FALSE(b->accessibleDescription().isEmpty()) << b->objectName().toStdString();
  }
  QSet<QString> colours;
  for (QToolButton* b : fVariavel->findChildren<QToolButton*>())
    colours.insert(b->accessibleName());
  EXPECT_EQ(colours.size(), 14);
  EXPECT_TRUE(colours.contains(QStringLiteral("Preto")) && colours.contains(QStringLiteral("Vermelho")));

  TVariavel* a = PlaceVariable(Part("bVarContinua"), 100, 150);
  TVariavel* b = PlaceVariable(Part("bVarContinua"), 300, 150);
  Link(Part("bRelacionamentoProporcao"), a->X, a->Y, b->X, b->Y);
  QAccessibleInterface* canvas = QAccessible::queryAccessibleInterface(Part<TCanvasView>("iModelo"));
  ASSERT_NE(canvas, nullptr);
  ASSERT_EQ(canvas->childCount(), 3);
  EXPECT_EQ(canvas->child(0)->text(QAccessible::Name).toStdString(),
            "Nome, variável contínua, só positivos, nível 0" + std::string(1, DecimalSeparator()) + "00");
  EXPECT_EQ(canvas->child(2)->text(QAccessible::Name).toStdString(),
            "Nome para Nome, proporção, mesma direção, normal");
  EXPECT_EQ(canvas->indexOfChild(canvas->child(1)), 1);
  Key(Qt::Key_Tab);
  EXPECT_EQ(canvas->focusChild(), canvas->child(0));

  for (QScrollBar* bar : {fVelocidade->scrVelocidade, fVariavel->scrAutoMudanca}) {
    EXPECT_EQ(bar->focusPolicy(), Qt::StrongFocus);
    bar->setValue(0);
    QTest::keyClick(bar, Qt::Key_PageUp);
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_GT(bar->value(), 1) << "Page Up moves by more than an arrow";
  }
}

}  // namespace
