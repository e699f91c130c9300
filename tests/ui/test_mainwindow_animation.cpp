#include "test_mainwindow_fixture.h"

#include "ui/Fveloc.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QScrollBar>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

enum class Row { Editing, Animating, Stopped };

/// The toolbar state table, row by row.
void ExpectToolbarRow(Row row, const char* when) {
  const bool animating = row == Row::Animating;
  for (QToolButton* b : {Part("bNovo"), Part("bAbrir"), Part("bSalvar"), Part("bImprimir"),
                         Part("bSelecao"), Part("bVarContinua"), Part("bVarLigaDesliga"),
                         Part("bRelacionamentoTaxa"), Part("bRelacionamentoProporcao"), Part("bPlay")})
    EXPECT_EQ(b->isEnabled(), !animating) << when << ": " << b->objectName().toStdString();
  EXPECT_EQ(Part("bPause")->isEnabled(), animating) << when;
  EXPECT_EQ(Part("bReinicializar")->isEnabled(), row == Row::Stopped) << when;
  EXPECT_EQ(Part("bZerar")->isEnabled(), !animating) << when;
  EXPECT_TRUE(Part("bRelogio")->isEnabled()) << when;
  if (animating) {
    EXPECT_TRUE(Part("bSelecao")->isChecked()) << when;
  }
  EXPECT_EQ(fEditor->Document->RunState, animating ? RunState::Running : RunState::Stopped) << when;
}

/// Brings the toolbar into the state of the row the way a user would.
void EnterState(Row row) {
  fEditor->bPlayClick();
  if (row == Row::Stopped) fEditor->SpeedButton2Click();
  if (row == Row::Editing) fEditor->SpeedButton3Click();
}

}  // namespace

TEST_F(MainWindowTest, ToolbarFollowsTheAnimationStateTable) {
  TVariavel* v = PlaceVariable(Part("bVarContinua"), 150, 150);
  ExpectToolbarRow(Row::Editing, "at start");

  QTest::mouseClick(Part("bVarLigaDesliga"), Qt::LeftButton);
  QTest::mouseClick(Part("bPlay"), Qt::LeftButton);
  ExpectToolbarRow(Row::Animating, "after Animar");
  EXPECT_EQ(Doc().Mode, Mode::modeSelect) << "Animar takes the selection tool";
  EXPECT_TRUE(fEditor->Relogio.isActive());

  QTest::mouseClick(Part("bPause"), Qt::LeftButton);
  ExpectToolbarRow(Row::Stopped, "after Parar");
  EXPECT_TRUE(fEditor->Relogio.isActive()) << "the timer stays enabled";

  v->SetLevel(0.8);
  QTest::mouseClick(Part("bReinicializar"), Qt::LeftButton);
  ExpectToolbarRow(Row::Editing, "after Valores antes de animar");
  EXPECT_EQ(v->Level, 0.0L) << "the value from before the animation is back";

  v->SetLevel(0.4);
  QTest::mouseClick(Part("bPlay"), Qt::LeftButton);
  QTest::mouseClick(Part("bPause"), Qt::LeftButton);
  QTest::mouseClick(Part("bZerar"), Qt::LeftButton);
  ExpectToolbarRow(Row::Stopped, "after Zerar valores");
  EXPECT_EQ(v->Level, 0.0L);
  QTest::mouseClick(Part("bReinicializar"), Qt::LeftButton);
  EXPECT_NEAR(double(v->Level), 0.4, 1e-12) << "the level saved by the last Animar";
}

TEST_F(MainWindowTest, CommandsThatStopFirstStopFromEveryStateAndZeroClockChangesNone) {
  PlaceVariable(Part("bVarContinua"), 150, 150);
  const std::vector<std::pair<const char*, std::function<void()>>> stoppingFirst = {
      {"Zerar valores", [] { fEditor->SpeedButton4Click(); }},
      {"Metodo de Euler", [] { Part<QAction>("MetodoEuler")->trigger(); }},
      {"Metodo Runge Kutta", [] { Part<QAction>("MetodoHangeKuta")->trigger(); }},
      {"Velocidade, cancelled",
       [] {
         WhenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
         Part<QAction>("Velocidade2")->trigger();
       }},
      {"Salvar como",
       [] {
         CancelNextModal();
         Part<QAction>("SalvarComo1")->trigger();
       }},
      {"Imprimir",
       [] {
         CancelNextModal();
         Part<QAction>("Imprimir1")->trigger();
       }},
  };
  for (const Row from : {Row::Editing, Row::Animating, Row::Stopped}) {
    for (const auto& [name, command] : stoppingFirst) {
      EnterState(from);
      command();
      ExpectToolbarRow(Row::Stopped, name);
    }
    EnterState(from);
    Part("bRelogio")->click();
    ExpectToolbarRow(from, "Zerar relogio");
  }
}

TEST_F(MainWindowTest, StopAndZeroOnANeverAnimatedModelEnableRestore) {
  EXPECT_FALSE(fEditor->Relogio.isActive());
  fEditor->SpeedButton4Click();
  ExpectToolbarRow(Row::Stopped, "after Zerar valores");
  EXPECT_TRUE(fEditor->Relogio.isActive()) << "the first Stop enables the timer";
}

TEST_F(MainWindowTest, ClockCountsTicksOnlyWhileRunning) {
  TVariavel* v = PlaceVariable(Part("bVarContinua"), 150, 150);
  fEditor->RelogioTimer();
  EXPECT_EQ(fEditor->ElapsedTicks(), 0) << "no tick while editing";

  fEditor->bPlayClick();
  for (int i = 0; i < 3; ++i) fEditor->RelogioTimer();
  EXPECT_EQ(fEditor->ElapsedTicks(), 3);
  EXPECT_EQ(Part<QLabel>("lTempo")->text(), QStringLiteral("3"));

  QTest::mousePress(Part<TCanvasView>("iModelo"), Qt::LeftButton, {}, QPoint(v->X, v->Y));
  EXPECT_EQ(Doc().RunState, RunState::Held);
  fEditor->RelogioTimer();
  fEditor->RelogioTimer();
  EXPECT_EQ(Part<QLabel>("lTempo")->text(), QStringLiteral("3")) << "frozen while the button is held";
  QTest::mouseRelease(Part<TCanvasView>("iModelo"), Qt::LeftButton, {}, QPoint(v->X, v->Y));
  fEditor->RelogioTimer();
  EXPECT_EQ(Part<QLabel>("lTempo")->text(), QStringLiteral("4"));

  QTest::mouseClick(Part("bRelogio"), Qt::LeftButton);
  EXPECT_EQ(fEditor->ElapsedTicks(), 0);
  EXPECT_EQ(Part<QLabel>("lTempo")->text(), QStringLiteral("0"));
  EXPECT_EQ(Doc().GraphCursor, 0);
  fEditor->RelogioTimer();
  EXPECT_EQ(Part<QLabel>("lTempo")->text(), QStringLiteral("1")) << "the clock counts on from zero";

  fEditor->SpeedButton2Click();
  fEditor->RelogioTimer();
  EXPECT_EQ(fEditor->ElapsedTicks(), 1);
}

TEST_F(MainWindowTest, TheRealTimerDrivesTheClock) {
  PlaceVariable(Part("bVarContinua"), 150, 150);
  fEditor->bPlayClick();
  for (int i = 0; i < 200 && fEditor->ElapsedTicks() < 3; ++i) QTest::qWait(5);
  EXPECT_GE(fEditor->ElapsedTicks(), 3);
  EXPECT_EQ(Part<QLabel>("lTempo")->text(), QString::number(fEditor->ElapsedTicks()));

  fEditor->SpeedButton2Click();
  const int stoppedAt = fEditor->ElapsedTicks();
  QTest::qWait(30);
  EXPECT_EQ(fEditor->ElapsedTicks(), stoppedAt);
}

TEST_F(MainWindowTest, TheTimerSleepsWhileHeldOrStoppedAndWakesWhenRunning) {
  TVariavel* v = PlaceVariable(Part("bVarContinua"), 150, 150);
  fEditor->bPlayClick();
  ASSERT_TRUE(QTest::qWaitFor([&] { return fEditor->ElapsedTicks() >= 2; }, 2000));

  QTest::mousePress(Part<TCanvasView>("iModelo"), Qt::LeftButton, {}, QPoint(v->X, v->Y));
  ASSERT_EQ(Doc().RunState, RunState::Held);
  EXPECT_TRUE(fEditor->Relogio.Idle());
  EXPECT_TRUE(fEditor->Relogio.isActive());
  QTest::mouseRelease(Part<TCanvasView>("iModelo"), Qt::LeftButton, {}, QPoint(v->X, v->Y));
  const int resumedAt = fEditor->ElapsedTicks();
  EXPECT_TRUE(QTest::qWaitFor([&] { return fEditor->ElapsedTicks() >= resumedAt + 2; }, 2000))
      << "released, the animation runs on";

  fEditor->SpeedButton2Click();
  EXPECT_TRUE(fEditor->Relogio.Idle());
  fEditor->bPlayClick();
  const int playedAt = fEditor->ElapsedTicks();
  EXPECT_TRUE(QTest::qWaitFor([&] { return fEditor->ElapsedTicks() >= playedAt + 2; }, 2000));
}

TEST_F(MainWindowTest, ClockReadFromAFileAtTheTopOfTheRangeStaysThere) {
  fEditor->SetElapsedTicks(INT32_MAX);
  fEditor->bPlayClick();
  fEditor->RelogioTimer();
  EXPECT_EQ(fEditor->ElapsedTicks(), INT32_MAX);
  EXPECT_EQ(Part<QLabel>("lTempo")->text(), QString::number(INT32_MAX));
}

TEST_F(MainWindowTest, TimerIntervalFromAFileIsKeptWithinWhatTheTimerAccepts) {
  const std::vector<std::pair<std::int32_t, std::int32_t>> cases = {
      {250, 250}, {1, 1}, {0, 1}, {-5, 1}, {INT32_MIN, 1}, {5000, 5000}, {INT32_MAX, INT32_MAX}};
  for (const auto& [fromFile, kept] : cases) {
    fEditor->SetTimerInterval(fromFile);
    EXPECT_EQ(fEditor->TimerInterval(), kept) << fromFile;
  }
}

TEST_F(MainWindowTest, SpeedDialogShowsThePositionOfTheIntervalAndSetsItOnOk) {
  struct Case {
    std::int32_t interval;
    int shown;
    int chosen;
    bool ok;
    std::int32_t after;
  };
  const std::vector<Case> cases = {
      {1, 100, 50, true, 500},    // the interval at program start
      {500, 50, 1, true, 990},
      {990, 1, 100, true, 1},
      {100, 90, 0, true, 1000},   // the interval after "Novo"
      {1000, 0, 75, true, 251},
      {5000, 0, 10, false, 5000}, // off the scale; Cancel keeps it
      {251, 75, 20, false, 251},
  };
  PlaceVariable(Part("bVarContinua"), 150, 150);
  for (const Case& c : cases) {
    fEditor->SetTimerInterval(c.interval);
    fEditor->bPlayClick();
    int shown = -1;
    bool stoppedBehindTheDialog = false;
    WhenModalOpens([&](QWidget* modal) {
      ASSERT_EQ(modal, fVelocidade);
      shown = fVelocidade->scrVelocidade->value();
      stoppedBehindTheDialog = Doc().RunState == RunState::Stopped;
      fVelocidade->scrVelocidade->setValue(c.chosen);
      if (c.ok) fVelocidade->accept(); else fVelocidade->reject();
    });
    Part<QAction>("Velocidade2")->trigger();
    EXPECT_EQ(shown, c.shown) << "interval " << c.interval;
    EXPECT_TRUE(stoppedBehindTheDialog);
    EXPECT_EQ(fEditor->TimerInterval(), c.after) << "interval " << c.interval;
    ExpectToolbarRow(Row::Stopped, "after Velocidade");
  }
}

TEST_F(MainWindowTest, MethodItemsStopTheAnimationAndSetTheMethod) {
  PlaceVariable(Part("bVarContinua"), 150, 150);
  struct Case {
    QAction* item;
    std::int32_t code;
    IntegrationMethod method;
  };
  // Each item twice in a row: choosing the checked item keeps its check mark.
  const std::vector<Case> cases = {
      {Part<QAction>("MetodoEuler"), 1, IntegrationMethod::Euler},
      {Part<QAction>("MetodoEuler"), 1, IntegrationMethod::Euler},
      {Part<QAction>("MetodoHangeKuta"), 2, IntegrationMethod::RungeKutta},
      {Part<QAction>("MetodoHangeKuta"), 2, IntegrationMethod::RungeKutta},
  };
  for (const Case& c : cases) {
    fEditor->bPlayClick();
    c.item->trigger();
    ExpectToolbarRow(Row::Stopped, c.item->text().toUtf8().constData());
    EXPECT_EQ(static_cast<std::int32_t>(fEditor->MethodCode()), c.code);
    EXPECT_EQ(Doc().IntegrationMethod, c.method);
    EXPECT_EQ(Part<QAction>("MetodoEuler")->isChecked(), c.code == 1);
    EXPECT_EQ(Part<QAction>("MetodoHangeKuta")->isChecked(), c.code == 2);
  }

  for (QAction* stopsFirst : {Part<QAction>("SalvarComo1"), Part<QAction>("Imprimir1")}) {
    fEditor->bPlayClick();
    CancelNextModal();
    stopsFirst->trigger();
    ExpectToolbarRow(Row::Stopped, stopsFirst->text().toUtf8().constData());
  }
}

TEST_F(MainWindowTest, NewModelTakesTheSettingsOfANewModel) {
  PlaceVariable(Part("bVarContinua"), 150, 150);
  fEditor->bPlayClick();
  for (int i = 0; i < 4; ++i) fEditor->RelogioTimer();
  fEditor->SpeedButton2Click();
  fEditor->SetUnitsText("anos");
  ASSERT_TRUE(Part("bReinicializar")->isEnabled());

  Doc().Modified = false;
  Part<QAction>("Abrir1")->trigger();
  EXPECT_TRUE(Doc().Variables.empty());
  EXPECT_FALSE(Doc().Modified);
  EXPECT_EQ(fEditor->windowTitle(), QStringLiteral("Korvel - SemNome.KRL"));
  EXPECT_EQ(fEditor->ElapsedTicks(), 0);
  EXPECT_EQ(Part<QLabel>("lTempo")->text(), QStringLiteral("0"));
  EXPECT_EQ(fEditor->TimerInterval(), 100);
  EXPECT_EQ(fEditor->UnitsText(), "segundos");
  EXPECT_EQ(fEditor->MethodCode(), MethodCode::Euler);
  EXPECT_TRUE(Part<QAction>("MetodoEuler")->isChecked());
  EXPECT_FALSE(Part<QAction>("MetodoHangeKuta")->isChecked());
  EXPECT_EQ(Doc().IntegrationMethod, IntegrationMethod::Euler);
  EXPECT_FALSE(Part("bReinicializar")->isEnabled());
  EXPECT_EQ(DarkPixels(ShownModel(), QRect(100, 100, 100, 100)), 0);

  PlaceVariable(Part("bVarContinua"), 150, 150);
  fEditor->bPlayClick();
  Doc().Modified = false;
  Part<QAction>("Abrir1")->trigger();
  EXPECT_EQ(Doc().RunState, RunState::Stopped) << "New from the menu stops the animation first";
  EXPECT_FALSE(Part("bPause")->isEnabled());
}
