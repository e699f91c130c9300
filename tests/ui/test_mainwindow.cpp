#include "test_mainwindow_fixture.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QPushButton>
#include <QSplitter>

#include <string>
#include <vector>

namespace {

struct ButtonState {
  const char* name;
  QString hint;
  bool enabled;
};

QStringList ItemTexts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return texts;
}

}  // namespace

TEST_F(MainWindowTest, StartsAsAnEmptyUntitledModelInEditingState) {
  EXPECT_EQ(fEditor->windowTitle(), QStringLiteral("Korvel - SemNome.KRL"));
  EXPECT_TRUE(fEditor->isMaximized());
  EXPECT_FALSE(fEditor->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(fEditor->windowFlags() & Qt::WindowMinimizeButtonHint);

  const std::vector<ButtonState> toolbar = {
      {"bNovo", "Novo", true},
      {"bAbrir", "Abrir", true},
      {"bSalvar", "Salvar", true},
      {"bImprimir", "Imprimir", true},
      {"bSelecao", "Seleção", true},
      {"bVarContinua", "Variável contínua", true},
      {"bVarLigaDesliga", "Variável liga-desliga", true},
      {"bRelacionamentoTaxa", "Relacionamento de taxa", true},
      {"bRelacionamentoProporcao", "Relacionamento de proporção", true},
      {"bPlay", "Animar", true},
      {"bPause", "Parar", false},
      {"bReinicializar", "Valores antes de animar", false},
      {"bZerar", "Zerar valores", true},
      {"bRelogio", "Zerar relógio", true},
  };
  const QList<QToolButton*> shown = Part<QWidget>("pBarraOpcoes")->findChildren<QToolButton*>();
  ASSERT_EQ(shown.size(), qsizetype(toolbar.size()));
  int previousX = -1;
  for (const ButtonState& expected : toolbar) {
    auto* b = Part<QWidget>("pBarraOpcoes")->findChild<QToolButton*>(QLatin1String(expected.name));
    ASSERT_NE(b, nullptr) << expected.name;
    EXPECT_EQ(b->toolTip(), expected.hint) << expected.name;
    EXPECT_EQ(b->isEnabled(), expected.enabled) << expected.name;
    EXPECT_EQ(b->size(), QSize(23, 23)) << expected.name;
    EXPECT_FALSE(b->icon().isNull()) << expected.name;
    EXPECT_GT(b->x(), previousX) << expected.name << " is out of order";
    previousX = b->x();
  }
  EXPECT_TRUE(Part("bSelecao")->isChecked());
  EXPECT_EQ(Part<QWidget>("pBarraOpcoes")->height(), 31);

  EXPECT_EQ(Part<QLabel>("lTempo")->text(), QStringLiteral("0"));
  EXPECT_EQ(fEditor->ElapsedTicks(), 0);
  EXPECT_EQ(fEditor->MethodCode(), MethodCode::NotChosen);
  EXPECT_EQ(Part<QComboBox>("cBoxUnidades")->currentText(), QStringLiteral("segundos"));
  QStringList units;
  const QComboBox* unitsBox = Part<QComboBox>("cBoxUnidades");
  for (int i = 0; i < unitsBox->count(); ++i) units << unitsBox->itemText(i);
  EXPECT_EQ(units, (QStringList{"segundos", "minutos", "horas", "dias", "semanas", "mêses", "anos"}));

  EXPECT_EQ(fEditor->Relogio.interval(), 1);
  EXPECT_FALSE(fEditor->Relogio.isActive());
  EXPECT_EQ(fEditor->Relogio.timerType(), Qt::PreciseTimer);

  EXPECT_TRUE(Part<QAction>("MetodoHangeKuta")->isChecked());
  EXPECT_FALSE(Part<QAction>("MetodoEuler")->isChecked());
  EXPECT_EQ(Doc().IntegrationMethod, IntegrationMethod::RungeKutta);

  EXPECT_EQ(QApplication::focusWidget(), Part<QPushButton>("bTeclado"));
  EXPECT_EQ(Part<QPushButton>("bTeclado")->size(), QSize(0, 0));
  EXPECT_EQ(Part<QWidget>("pGrafico")->height(), 100);
  EXPECT_EQ(fEditor->GraphCanvas.Height(), Part<TCanvasView>("iGrafico")->height());
  EXPECT_EQ(fEditor->ModelCanvas.Width(), Part<TCanvasView>("iModelo")->width());
  EXPECT_EQ(fEditor->ModelCanvas.Height(), Part<TCanvasView>("iModelo")->height());
}

TEST_F(MainWindowTest, MenusHoldEveryItemWithoutShortcuts) {
  const QList<QAction*> menus = fEditor->menuBar()->actions();
  ASSERT_EQ(menus.size(), 3);
  EXPECT_EQ(menus[0]->text(), QStringLiteral("&Arquivo"));
  EXPECT_EQ(menus[1]->text(), QStringLiteral("&Configurações"));
  EXPECT_EQ(menus[2]->text(), QStringLiteral("A&juda"));
  EXPECT_EQ(ItemTexts(Part<QMenu>("Arquivo1")),
            (QStringList{"&Novo", "&Abrir", "&Salvar", "Salvar &como...", "-", "&Imprimir...", "-", "Sai&r"}));
  EXPECT_EQ(ItemTexts(Part<QMenu>("Configuraes1")),
            (QStringList{"&Velocidade...", "-", "Método de &Euler", "Método &Runge Kutta"}));
  EXPECT_EQ(ItemTexts(Part<QMenu>("A1")), QStringList{"Sobre"});

  for (QMenu* menu : {Part<QMenu>("Arquivo1"), Part<QMenu>("Configuraes1"), Part<QMenu>("A1")})
    for (const QAction* a : menu->actions()) EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
  for (const QAction* pictured : {Part<QAction>("Abrir1"), Part<QAction>("Abrir2"),
                                  Part<QAction>("Gravar1"), Part<QAction>("Imprimir1")})
    EXPECT_FALSE(pictured->icon().isNull()) << pictured->text().toStdString();
}

TEST_F(MainWindowTest, PlacedVariableAppearsOnTheScreen) {
  const QImage before = ShownModel();
  const QRect around(150 - 30, 150 - 45, 60, 90);
  EXPECT_EQ(DarkPixels(before, around), 0);

  TVariavel* v = PlaceVariable(Part("bVarContinua"), 150, 150);
  ASSERT_NE(v, nullptr);
  EXPECT_NE(dynamic_cast<TVarContinua*>(v), nullptr);
  EXPECT_EQ(v->Name, "Nome");
  EXPECT_EQ(v->X, 150);
  EXPECT_EQ(v->Y, 150);
  EXPECT_TRUE(Part("bSelecao")->isChecked()) << "the toolbar shows the selection tool again";
  EXPECT_EQ(Doc().Mode, Mode::modeSelect);

  const QImage after = ShownModel();
  EXPECT_GT(DarkPixels(after, around), 20);
  EXPECT_EQ(DarkPixels(after, QRect(400, 300, 100, 100)), 0);
  // The screen shows the canvas's buffer exactly.
  for (const QPoint p : {QPoint(150, 150), QPoint(v->X - v->HalfWidth, v->Y), QPoint(10, 10)})
    EXPECT_EQ(after.pixel(p) & 0xffffff, fEditor->ModelCanvas.Bits()[p.y() * fEditor->ModelCanvas.Width() + p.x()] & 0xffffff);
}

TEST_F(MainWindowTest, ToolButtonsHandTheirToolToTheDocument) {
  const std::vector<std::pair<QToolButton*, Mode>> tools = {
      {Part("bVarContinua"), Mode::modeNewContinuous},
      {Part("bVarLigaDesliga"), Mode::modeNewOnOff},
      {Part("bRelacionamentoTaxa"), Mode::modeLinkOrigin},
      {Part("bRelacionamentoProporcao"), Mode::modeLinkOrigin},
      {Part("bSelecao"), Mode::modeSelect},
  };
  for (const auto& [button, mode] : tools) {
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(Doc().Mode, mode) << button->objectName().toStdString();
    EXPECT_TRUE(button->isChecked());
    for (QAbstractButton* other : Part<QButtonGroup>("ToolGroup")->buttons()) {
      if (other != button) {
        EXPECT_FALSE(other->isChecked());
      }
    }
  }
  QTest::mouseClick(Part("bRelacionamentoProporcao"), Qt::LeftButton);
  EXPECT_EQ(Doc().PendingLinkKind, RelationshipKind::Proportion);
}

TEST_F(MainWindowTest, TwoPressesWithARelationshipToolLinkTwoVariables) {
  TVariavel* a = PlaceVariable(Part("bVarContinua"), 100, 150);
  TVariavel* b = PlaceVariable(Part("bVarLigaDesliga"), 300, 150);
  ASSERT_EQ(Doc().Variables.size(), 2u);
  EXPECT_NE(dynamic_cast<TVarLigaDesliga*>(b), nullptr);

  Link(Part("bRelacionamentoTaxa"), a->X, a->Y, b->X, b->Y);
  ASSERT_EQ(Doc().Relationships.size(), 1u);
  const TRelacionamento& r = *Doc().Relationships.front();
  EXPECT_EQ(r.Origin, a);
  EXPECT_EQ(r.Destination, b);
  EXPECT_EQ(r.Kind, RelationshipKind::Rate);
  EXPECT_TRUE(Part("bSelecao")->isChecked());
  EXPECT_GT(DarkPixels(ShownModel(), QRect(r.X - 5, r.Y - 5, 11, 11)), 0) << "the relationship's box";
}

TEST_F(MainWindowTest, DuplicateRelationshipIsRefusedInAnInformationBox) {
  TVariavel* a = PlaceVariable(Part("bVarContinua"), 100, 150);
  TVariavel* b = PlaceVariable(Part("bVarContinua"), 300, 150);
  Link(Part("bRelacionamentoTaxa"), a->X, a->Y, b->X, b->Y);

  // What the screen shows, not what a fresh paint would show.
  const auto onScreen = [] {
    const QPoint at = Part<TCanvasView>("iModelo")->mapTo(fEditor, QPoint(0, 0));
    return fEditor->screen()->grabWindow(fEditor->winId()).toImage().copy(
        QRect(at, Part<TCanvasView>("iModelo")->size()));
  };
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QImage whileAsked;
  WhenModalOpens([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    text = box->text();
    icon = box->icon();
    whileAsked = onScreen();
    box->accept();
  });
  QTest::mouseClick(Part("bRelacionamentoProporcao"), Qt::LeftButton);
  ClickCanvas(a->X, a->Y);
  QApplication::processEvents();
  const QRect origin(a->X - 40, a->Y - 60, 80, 120);
  const QImage marked = onScreen().copy(origin);
  ClickCanvas(b->X, b->Y);
  EXPECT_EQ(text, QStringLiteral("Este relacionamento já exite"));
  EXPECT_EQ(caption, QStringLiteral("WKorvel"));
  EXPECT_EQ(icon, QMessageBox::Information);
  EXPECT_EQ(Doc().Relationships.size(), 1u);
  QApplication::processEvents();
  ASSERT_NE(marked, onScreen().copy(origin)) << "the origin was marked on screen";
  EXPECT_EQ(whileAsked.copy(origin), onScreen().copy(origin))
      << "the origin's mark is gone before the message shows";
}

TEST_F(MainWindowTest, AnyMouseButtonDragsAVariable) {
  for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
    TVariavel* v = PlaceVariable(Part("bVarContinua"), 150, 150);
    const int startX = v->X;
    const int startY = v->Y;
    QTest::mousePress(Part<TCanvasView>("iModelo"), button, {}, QPoint(startX, startY));
    QTest::mouseMove(Part<TCanvasView>("iModelo"), QPoint(startX + 20, startY + 10));
    QTest::mouseMove(Part<TCanvasView>("iModelo"), QPoint(startX + 100, startY + 50));
    EXPECT_EQ(Doc().Mode, Mode::modeDragging);
    QTest::mouseRelease(Part<TCanvasView>("iModelo"), button, {}, QPoint(startX + 100, startY + 50));
    EXPECT_EQ(v->X, startX + 100);
    EXPECT_EQ(v->Y, startY + 50);
    EXPECT_EQ(Doc().Mode, Mode::modeSelect);

    const QImage shown = ShownModel();
    EXPECT_EQ(DarkPixels(shown, QRect(startX - 5, startY - 20, 10, 40)), 0) << "old place is clean";
    EXPECT_GT(DarkPixels(shown, QRect(v->X - 30, v->Y - 45, 60, 90)), 20);
    DiscardModel();
  }
}

TEST_F(MainWindowTest, DeleteWithOrWithoutShiftDeletesTheSelectedVariable) {
  for (const Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
    TVariavel* a = PlaceVariable(Part("bVarContinua"), 100, 150);
    TVariavel* b = PlaceVariable(Part("bVarContinua"), 300, 150);
    Link(Part("bRelacionamentoTaxa"), a->X, a->Y, b->X, b->Y);
    const std::int32_t deletedX = a->X;
    ClickCanvas(a->X, a->Y);
    ASSERT_EQ(QApplication::focusWidget(), Part<QPushButton>("bTeclado")) << "a click on the canvas gives the focus back";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete, modifiers);
    ASSERT_EQ(Doc().Variables.size(), 1u);
    EXPECT_EQ(Doc().Variables.front().get(), b);
    EXPECT_TRUE(Doc().Relationships.empty());
    EXPECT_EQ(DarkPixels(ShownModel(), QRect(deletedX - 5, 120, 10, 60)), 0);
    DiscardModel();
  }
}

TEST_F(MainWindowTest, OtherKeysAndDeleteDuringAnAnimationDeleteNothing) {
  TVariavel* v = PlaceVariable(Part("bVarContinua"), 150, 150);
  ClickCanvas(v->X, v->Y);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
  EXPECT_EQ(Doc().Variables.size(), 1u);

  fEditor->bPlayClick();
  QTest::mousePress(Part<TCanvasView>("iModelo"), Qt::LeftButton, {}, QPoint(v->X, v->Y));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
  QTest::mouseRelease(Part<TCanvasView>("iModelo"), Qt::LeftButton, {}, QPoint(v->X, v->Y));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
  EXPECT_EQ(Doc().Variables.size(), 1u);
}

TEST_F(MainWindowTest, TypedUnitIsKeptAndEnterReturnsTheFocusToTheCanvas) {
  TVariavel* v = PlaceVariable(Part("bVarContinua"), 150, 150);
  ClickCanvas(v->X, v->Y);

  Part<QComboBox>("cBoxUnidades")->setFocus();
  Part<QComboBox>("cBoxUnidades")->lineEdit()->selectAll();
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("d"));
  Part<QComboBox>("cBoxUnidades")->lineEdit()->insert(QStringLiteral("é"));  // QTest types ASCII only
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cadas"));
  // While the box has the focus, Delete edits its text, not the model.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
  EXPECT_EQ(Doc().Variables.size(), 1u);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

  EXPECT_EQ(fEditor->UnitsText(), "décadas");
  EXPECT_EQ(Part<QComboBox>("cBoxUnidades")->count(), 7) << "typed text is not added to the list";
  EXPECT_EQ(QApplication::focusWidget(), Part<QPushButton>("bTeclado"));

  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
  EXPECT_TRUE(Doc().Variables.empty());
}

TEST_F(MainWindowTest, ChoosingAUnitReturnsTheFocus) {
  Part<QComboBox>("cBoxUnidades")->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), Part<QComboBox>("cBoxUnidades"));
  Part<QComboBox>("cBoxUnidades")->setCurrentIndex(3);
  emit Part<QComboBox>("cBoxUnidades")->activated(3);
  EXPECT_EQ(fEditor->UnitsText(), "dias");
  EXPECT_EQ(QApplication::focusWidget(), Part<QPushButton>("bTeclado"));
}

TEST_F(MainWindowTest, TabMovesTheFocusOnlyBetweenTheKeyReceiverAndTheUnitsBox) {
  ASSERT_EQ(QApplication::focusWidget(), Part<QPushButton>("bTeclado"));
  QTest::keyClick(Part<QPushButton>("bTeclado"), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), Part<QComboBox>("cBoxUnidades"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), Part<QPushButton>("bTeclado"));
  QTest::keyClick(Part<QPushButton>("bTeclado"), Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), Part<QComboBox>("cBoxUnidades"));
}

TEST_F(MainWindowTest, SplitterResizeClearsTheGraphButATallerWindowKeepsIt) {
  auto plotted = [] {
    int count = 0;
    const RasterCanvas& g = fEditor->GraphCanvas;
    for (int i = 0; i < g.Width() * g.Height(); ++i) {
      const std::uint32_t rgb = g.Bits()[i] & 0xffffff;
      if (rgb != 0xffffff && rgb != 0xc0c0c0) ++count;
    }
    return count;
  };
  fEditor->showNormal();
  fEditor->resize(700, 500);
  QApplication::processEvents();
  ASSERT_EQ(fEditor->GraphCanvas.Width(), Part<TCanvasView>("iGrafico")->width());

  TVariavel* v = PlaceVariable(Part("bVarContinua"), 150, 150);
  v->PlotInGraph = true;
  v->SetLevel(0.5);
  fEditor->bPlayClick();
  for (int i = 0; i < 5; ++i) fEditor->RelogioTimer();
  fEditor->SpeedButton2Click();
  ASSERT_GT(plotted(), 0);
  const std::vector<std::uint32_t> kept = fEditor->GraphCanvas.Snapshot();
  // The zero line is drawn again across the cursor line; every other row stays.
  auto sameOffTheZeroLine = [](const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    const int w = fEditor->GraphCanvas.Width();
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (int(i) / w != Doc().GraphZeroY && a[i] != b[i]) return false;
    return true;
  };

  fEditor->resize(700, 560);
  QApplication::processEvents();
  EXPECT_EQ(Part<QWidget>("pGrafico")->height(), 100);
  EXPECT_TRUE(sameOffTheZeroLine(fEditor->GraphCanvas.Snapshot(), kept)) << "a taller window leaves the graph alone";

  Part<QSplitter>("Splitter1")->setSizes({200, 150});
  EXPECT_EQ(Part<TCanvasView>("iGrafico")->height(), 150);
  EXPECT_EQ(fEditor->GraphCanvas.Height(), 150);
  EXPECT_EQ(plotted(), 0) << "the graph restarts empty";
  EXPECT_EQ(Doc().GraphCursor, 0);
  EXPECT_EQ(Doc().GraphZeroY, 75);

  fEditor->bPlayClick();
  for (int i = 0; i < 5; ++i) fEditor->RelogioTimer();
  fEditor->SpeedButton2Click();
  EXPECT_GT(plotted(), 0);
  fEditor->resize(760, 560);
  QApplication::processEvents();
  EXPECT_EQ(plotted(), 0) << "a wider window resizes the graph panel, which clears it";
}
