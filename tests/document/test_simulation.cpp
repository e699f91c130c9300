#include "tests/document/EditorTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace editor_test {
namespace {

const long double kLn3 = std::log(3.0L);

class SimulationTest : public EditorFixture {
protected:
  /// origin -> destination, with the destination's input kind following it.
  CountedRelationship& Relate(TVariavel& origin, TVariavel& destination, RelationshipKind kind,
                              double effect) {
    CountedRelationship& r = AddRawLink(origin, destination);
    r.Kind = kind;
    r.Effect = effect;
    destination.InputKind = kind;
    return r;
  }

  void Play() {
    editor.StartAnimation();
    editor.SaveStatesBeforeAnimation();
  }

  void Ticks(int n) {
    for (int i = 0; i < n; ++i) editor.Tick();
  }
};

struct DecayCase {
  const char* name;
  IntegrationMethod method;
  long double factorPerStep;
};

class DecayTest : public SimulationTest, public testing::WithParamInterface<DecayCase> {};

TEST_P(DecayTest, SelfChangeAloneDecaysGeometrically) {
  const DecayCase& c = GetParam();
  auto& v = AddRaw<TVarContinua>(300, 300);
  v.Level = 0.5;
  v.SelfChangeRate = 0.01;
  v.SelfChangeDecreases = true;
  editor.IntegrationMethod = c.method;
  Play();
  EXPECT_NEAR(double(v.InnerValue), double(kLn3), 1e-15);

  for (int tick = 1; tick <= 3; ++tick) {
    editor.Tick();
    const long double expected = kLn3 * std::pow(c.factorPerStep, 100.0L * tick);
    EXPECT_NEAR(double(v.InnerValue), double(expected), 1e-14) << "tick " << tick;
    EXPECT_NEAR(double(v.Level), std::tanh(double(expected) / 2), 1e-14);
    EXPECT_NEAR(double(v.TickStartValue),
                double(kLn3 * std::pow(c.factorPerStep, 100.0L * (tick - 1))), 1e-14);
  }
}

INSTANTIATE_TEST_SUITE_P(Methods, DecayTest,
                         testing::Values(DecayCase{"euler", IntegrationMethod::Euler, 0.99L},
                                         DecayCase{"runge_kutta", IntegrationMethod::RungeKutta,
                                                   0.96L}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ChainCase {
  const char* name;
  IntegrationMethod method;
  double effect;
};

class RateChainTest : public SimulationTest, public testing::WithParamInterface<ChainCase> {};

TEST_P(RateChainTest, AConstantOriginMakesARateDestinationGrowLinearly) {
  const ChainCase& c = GetParam();
  auto& origin = AddRaw<TVarContinua>(200, 300);
  auto& destination = AddRaw<TVarContinua>(500, 300);
  origin.Level = 0.5;
  Relate(origin, destination, RelationshipKind::Rate, c.effect);
  editor.IntegrationMethod = c.method;
  Play();

  for (int tick = 1; tick <= 4; ++tick) {
    editor.Tick();
    EXPECT_NEAR(double(origin.InnerValue), double(kLn3), 1e-15) << "the origin is held";
    EXPECT_NEAR(double(destination.InnerValue), double(0.1L * kLn3 * c.effect * tick), 1e-12)
        << "tick " << tick;
  }
}

INSTANTIATE_TEST_SUITE_P(
    MethodsAndEffects, RateChainTest,
    testing::Values(ChainCase{"euler_weak", IntegrationMethod::Euler, 0.5},
                    ChainCase{"euler_strong", IntegrationMethod::Euler, 2.0},
                    ChainCase{"runge_kutta_normal", IntegrationMethod::RungeKutta, 1.0},
                    ChainCase{"runge_kutta_strong", IntegrationMethod::RungeKutta, 2.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimulationTest, AProportionDestinationCopiesItsOrigin) {
  for (IntegrationMethod method : {IntegrationMethod::Euler, IntegrationMethod::RungeKutta}) {
    SCOPED_TRACE(int(method));
    editor.Clear();
    auto& origin = AddRaw<TVarContinua>(200, 300);
    auto& destination = AddRaw<TVarContinua>(500, 300);
    origin.Level = 0.5;
    Relate(origin, destination, RelationshipKind::Proportion, 1.0);
    editor.IntegrationMethod = method;
    Play();
    editor.Tick();
    EXPECT_NEAR(double(destination.InnerValue), double(kLn3), 1e-15);
    EXPECT_NEAR(double(destination.Level), 0.5, 1e-15);
  }
}

TEST_F(SimulationTest, TheResultDoesNotDependOnTheOrderOfTheLists) {
  // A feeds B at a rate, B feeds A in proportion and C at a rate: each pass
  // must see only values committed by the previous one.
  struct Run {
    long double a, b, c;
  };
  const auto run = [this](IntegrationMethod method, bool reversed) {
    editor.Clear();
    auto& a = AddRaw<TVarContinuaQualquerValor>(150, 300);
    auto& b = AddRaw<TVarContinuaQualquerValor>(400, 300);
    auto& c = AddRaw<TVarContinuaQualquerValor>(650, 300);
    a.Level = 0.6;
    b.Level = -0.2;
    c.Level = 0.1;
    a.SelfChangeRate = 0.03;
    Relate(a, b, RelationshipKind::Rate, 2.0);
    Relate(b, a, RelationshipKind::Proportion, 0.5).SameDirection = false;
    Relate(b, c, RelationshipKind::Rate, 1.0);
    if (reversed) {
      std::reverse(editor.Variables.begin(), editor.Variables.end());
      std::reverse(editor.Relationships.begin(), editor.Relationships.end());
    }
    editor.IntegrationMethod = method;
    Play();
    Ticks(3);
    return Run{a.InnerValue, b.InnerValue, c.InnerValue};
  };
  for (IntegrationMethod method : {IntegrationMethod::Euler, IntegrationMethod::RungeKutta}) {
    SCOPED_TRACE(int(method));
    const Run forward = run(method, false);
    const Run backward = run(method, true);
    EXPECT_EQ(forward.a, backward.a);
    EXPECT_EQ(forward.b, backward.b);
    EXPECT_EQ(forward.c, backward.c);
    EXPECT_NE(forward.c, TVariavel::InnerValueOfLevel(0.1L)) << "the chain moved";
  }
}

TEST_F(SimulationTest, TheMethodChangesAtTheNextTickAndResetsNothing) {
  auto& v = AddRaw<TVarContinua>(300, 300);
  v.Level = 0.5;
  v.SelfChangeRate = 0.01;
  Play();
  editor.Tick();
  const long double afterRungeKutta = v.InnerValue;
  EXPECT_NEAR(double(afterRungeKutta), double(kLn3 * std::pow(0.96L, 100)), 1e-14);

  editor.SetIntegrationMethod(IntegrationMethod::Euler);
  EXPECT_EQ(editor.IntegrationMethod, IntegrationMethod::Euler);
  EXPECT_EQ(v.InnerValue, afterRungeKutta);
  editor.Tick();
  EXPECT_NEAR(double(v.InnerValue), double(afterRungeKutta * std::pow(0.99L, 100)), 1e-14);
  editor.SetIntegrationMethod(IntegrationMethod::RungeKutta);
  EXPECT_EQ(editor.IntegrationMethod, IntegrationMethod::RungeKutta);
}

TEST_F(SimulationTest, StartingMarksTheModelModifiedAndRuns) {
  auto& v = AddRaw<TVarContinua>(300, 300);
  Click(v);
  editor.Modified = false;
  editor.StartAnimation();
  EXPECT_TRUE(editor.Modified);
  EXPECT_EQ(editor.RunState, RunState::Running);
  EXPECT_EQ(editor.CurrentObject, nullptr) << "the selection goes";
  editor.StopAnimation();
  EXPECT_EQ(editor.RunState, RunState::Stopped);
}

TEST_F(SimulationTest, APressAndReleaseWithoutDragLeavesTheLevels) {
  auto& a = AddRaw<TVarContinua>(200, 300);
  auto& b = AddRaw<TVarContinuaQualquerValor>(500, 300);
  a.Level = 0.3;
  b.Level = -0.6;
  a.SelfChangeRate = 0.02;
  Play();
  Ticks(2);
  const long double levelA = a.Level;
  const long double levelB = b.Level;

  PressOn(editor, a);
  EXPECT_EQ(editor.RunState, RunState::Held);
  editor.MouseUp();
  EXPECT_EQ(editor.RunState, RunState::Running);
  EXPECT_NEAR(double(a.Level), double(levelA), 1e-15);
  EXPECT_NEAR(double(b.Level), double(levelB), 1e-15);
  EXPECT_NEAR(double(b.InnerValue), double(TVariavel::InnerValueOfLevel(levelB)), 1e-15);

  // An empty spot holds and resumes the same way.
  editor.MouseDown(700, 50);
  EXPECT_EQ(editor.RunState, RunState::Held);
  editor.MouseUp();
  EXPECT_EQ(editor.RunState, RunState::Running);
}

TEST_F(SimulationTest, DraggingALevelMarkWhileHeldResumesFromTheNewLevel) {
  auto& v = AddRaw<TVarContinua>(300, 300);
  v.Level = 0.2;
  v.SelfChangeRate = 0.01;
  Play();
  editor.Tick();

  const std::int32_t markY = v.YOfLevel(v.Level);
  editor.MouseDown(v.X, markY);
  ASSERT_EQ(editor.RunState, RunState::Held);
  ASSERT_EQ(v.DragMode, DragMode::LevelMark);
  editor.MouseMove(v.X, 291);
  editor.MouseMove(v.X, 291);
  EXPECT_EQ(editor.RunState, RunState::Held);
  editor.MouseUp();

  // 9 pixels above the centre on a 46-pixel scale whose 0 is 23 below it.
  const long double level = 32.0L / 46.0L;
  EXPECT_NEAR(double(v.Level), double(level), 1e-15);
  EXPECT_EQ(editor.RunState, RunState::Running);
  const long double resumed = TVariavel::InnerValueOfLevel(level);
  EXPECT_NEAR(double(v.InnerValue), double(resumed), 1e-15);
  editor.Tick();
  EXPECT_NEAR(double(v.InnerValue), double(resumed * std::pow(0.96L, 100)), 1e-14);
}

TEST_F(SimulationTest, ATickLeavesThePictureARepaintWouldDraw) {
  auto& a = AddRaw<TVarContinua>(200, 300);
  auto& b = AddRaw<TVarLigaDesliga>(500, 300);
  auto& asleep = AddRaw<TVarContinua>(350, 500);
  Relate(a, asleep, RelationshipKind::Rate, 1.0);
  a.Level = 0.6;
  a.Color = RGBColor(0, 128, 0);
  a.SelfChangeRate = 0.05;
  // b starts on and sinks below its threshold during the first tick.
  b.Level = 0.5;
  b.ThresholdLevel = 0.45;
  b.Color = RGBColor(200, 0, 0);
  b.SelfChangeRate = 0.01;
  asleep.Awake = false;
  asleep.Level = 0.8;
  editor.IntegrationMethod = IntegrationMethod::Euler;
  Play();

  for (int tick = 1; tick <= 3; ++tick) {
    editor.Tick();
    const std::vector<std::uint32_t> picture = canvas.Snapshot();
    editor.Paint();
    EXPECT_EQ(picture, canvas.Snapshot()) << "tick " << tick;
  }
  EXPECT_FALSE(b.IsOn());
  EXPECT_DOUBLE_EQ(double(asleep.Level), 0.8);
}

TEST_F(SimulationTest, StoppingAfterASwitchRepaintLeavesTheRepaintedPicture) {
  auto& a = AddRaw<TVarContinua>(200, 300);
  auto& b = AddRaw<TVarLigaDesliga>(450, 250);
  Relate(b, a, RelationshipKind::Rate, 1.0);
  b.Level = 0.5;
  b.ThresholdLevel = 0.45;
  b.SelfChangeRate = 0.01;
  Play();
  editor.Tick();
  ASSERT_FALSE(b.IsOn());
  editor.StopAnimation();
  const std::vector<std::uint32_t> picture = canvas.Snapshot();
  editor.Paint();
  EXPECT_EQ(picture, canvas.Snapshot()) << "the box is white, not the strip's grey";
}

TEST_F(SimulationTest, ARepaintDuringTheAnimationDoesNotDisturbTheNextTick) {
  FakeHost otherHost;
  RasterCanvas otherCanvas(800, 600);
  TEditor other(otherHost);
  other.AttachCanvas(&otherCanvas);
  for (TEditor* e : {&editor, &other}) {
    auto v = std::make_unique<TVarContinuaQualquerValor>();
    v->SetCanvas(e->Canvas);
    v->SetName("Nome");
    v->SetPosition(300, 300);
    v->Level = -0.4;
    v->Color = RGBColor(0, 0, 200);
    v->SelfChangeRate = 0.03;
    e->Variables.push_back(std::move(v));
    e->StartAnimation();
    e->Tick();
  }
  editor.Paint();
  editor.Tick();
  other.Tick();
  EXPECT_EQ(canvas.Snapshot(), otherCanvas.Snapshot());
}

TEST_F(SimulationTest, WithoutAwakeVariablesTicksChangeNothingButTheGraphAdvances) {
  auto& a = AddRaw<TVarContinua>(200, 300);
  auto& b = AddRaw<TVarContinua>(500, 300);
  Relate(a, b, RelationshipKind::Proportion, 1.0);
  a.Level = 0.7;
  a.SelfChangeRate = 0.1;
  a.Awake = false;
  b.Awake = false;
  b.PlotInGraph = true;
  Play();
  EXPECT_TRUE(editor.PlotEnabled);
  const std::vector<std::uint32_t> picture = canvas.Snapshot();

  Ticks(5);
  EXPECT_EQ(canvas.Snapshot(), picture);
  EXPECT_DOUBLE_EQ(double(a.Level), 0.7);
  EXPECT_EQ(a.InnerValue, 0);
  EXPECT_EQ(b.InnerValue, 0);
  EXPECT_EQ(editor.GraphCursor, 5);
}

TEST_F(SimulationTest, PlotEnabledFollowsThePlottedVariablesAtEachStart) {
  auto& v = AddRaw<TVarContinua>(300, 300);
  v.Level = 0.5;
  Play();
  EXPECT_FALSE(editor.PlotEnabled);
  const std::vector<std::uint32_t> emptyGraph = graph.Snapshot();
  Ticks(3);
  EXPECT_EQ(editor.GraphCursor, 0);
  EXPECT_EQ(graph.Snapshot(), emptyGraph);

  editor.StopAnimation();
  v.PlotInGraph = true;
  Play();
  EXPECT_TRUE(editor.PlotEnabled);
  Ticks(3);
  EXPECT_EQ(editor.GraphCursor, 3);
  EXPECT_NE(graph.Snapshot(), emptyGraph);
}

TEST_F(SimulationTest, RestoreReturnsToTheValuesOfTheLastPlay) {
  auto& a = AddRaw<TVarContinua>(200, 300);
  auto& b = AddRaw<TVarLigaDesligaQualquerValor>(500, 300);
  a.Level = 0.5;
  a.SelfChangeRate = 0.05;
  b.Level = -0.25;
  b.SelfChangeRate = 0.05;
  Play();
  Ticks(4);
  editor.StopAnimation();
  ASSERT_LT(double(a.Level), 0.4);
  editor.Modified = false;

  editor.RestoreStatesBeforeAnimation();
  EXPECT_NEAR(double(a.Level), 0.5, 1e-15);
  EXPECT_NEAR(double(b.Level), -0.25, 1e-15);
  EXPECT_FALSE(editor.Modified);
  const std::vector<std::uint32_t> picture = canvas.Snapshot();
  editor.Paint();
  EXPECT_EQ(picture, canvas.Snapshot());
}

TEST_F(SimulationTest, ARestoredAsleepVariableTakesItsStoredStartValue) {
  auto& v = AddRaw<TVarContinua>(300, 300);
  v.Level = 0.5;
  v.SelfChangeRate = 0.05;
  Play();
  editor.Tick();
  editor.StopAnimation();
  const long double innerAfterFirstRun = v.InnerValue;

  // Put to sleep with its gauge showing something else: the next play keeps
  // the inner value of the earlier run, not the gauge.
  v.Awake = false;
  v.Level = 0.9;
  Play();
  Ticks(2);
  editor.StopAnimation();
  EXPECT_DOUBLE_EQ(double(v.Level), 0.9);

  editor.RestoreStatesBeforeAnimation();
  EXPECT_EQ(v.StartValue, innerAfterFirstRun);
  EXPECT_NEAR(double(v.Level), std::tanh(double(innerAfterFirstRun) / 2), 1e-15);
}

TEST_F(SimulationTest, ZeroSetsLevelsAndThresholdsButKeepsTheStartValues) {
  auto& a = AddRaw<TVarContinuaQualquerValor>(200, 300);
  auto& b = AddRaw<TVarLigaDesligaQualquerValor>(500, 300);
  a.Level = -0.7;
  b.Level = 0.3;
  b.ThresholdLevel = -0.5;
  Play();
  editor.Tick();
  editor.StopAnimation();
  editor.Modified = false;

  editor.ZeroValues();
  EXPECT_EQ(a.Level, 0);
  EXPECT_EQ(b.Level, 0);
  EXPECT_EQ(b.ThresholdLevel, 0);
  EXPECT_TRUE(editor.Modified);
  EXPECT_NE(a.InnerValue, 0) << "inner values wait for the next start";
  const std::vector<std::uint32_t> picture = canvas.Snapshot();
  editor.Paint();
  EXPECT_EQ(picture, canvas.Snapshot());

  editor.RestoreStatesBeforeAnimation();
  EXPECT_NEAR(double(a.Level), -0.7, 1e-15);
  EXPECT_NEAR(double(b.Level), 0.3, 1e-15);
  EXPECT_EQ(b.ThresholdLevel, 0) << "thresholds have no start value";
}


/// A variable of class T at (x, y) in a document of its own.
template <class T>
T& AddTo(TEditor& e, std::int32_t x, std::int32_t y, double level) {
  auto v = std::make_unique<T>();
  v->SetCanvas(e.Canvas);
  v->SetName("Nome");
  v->SetPosition(x, y);
  v->Level = level;
  T& added = *v;
  e.Variables.push_back(std::move(v));
  return added;
}

TRelacionamento& LinkIn(TEditor& e, TVariavel& origin, TVariavel& destination, RelationshipKind kind,
                        double effect, bool same = true) {
  auto r = std::make_unique<TRelacionamento>();
  r->SetCanvas(e.Canvas);
  r->Origin = &origin;
  r->Destination = &destination;
  // Linked to itself, a variable lists the relationship twice, as the reader does.
  origin.AddRelationship(r.get());
  destination.AddRelationship(r.get());
  r->UpdateEndpoints();
  r->Kind = kind;
  r->Effect = effect;
  r->SameDirection = same;
  destination.InputKind = kind;
  TRelacionamento& added = *r;
  e.Relationships.push_back(std::move(r));
  return added;
}

/// Every class, each combination, both directions, on-off origins with each
/// effect, a variable linked to itself, a repeated link, asleep objects.
void BuildMixedModel(TEditor& e) {
  auto& a = AddTo<TVarContinuaQualquerValor>(e, 60, 100, 0.4);
  auto& b = AddTo<TVarContinua>(e, 160, 100, 0.3);
  auto& c = AddTo<TVarLigaDesliga>(e, 260, 100, 0.6);
  auto& d = AddTo<TVarLigaDesligaQualquerValor>(e, 360, 120, -0.2);
  auto& p = AddTo<TVarContinuaQualquerValor>(e, 60, 300, 0.5);
  auto& m = AddTo<TVarContinua>(e, 160, 300, 0.7);
  auto& s = AddTo<TVarContinuaQualquerValor>(e, 260, 300, -0.3);
  auto& z = AddTo<TVarContinua>(e, 360, 300, 0.2);
  c.ThresholdLevel = 0.55;
  c.SelfChangeRate = 0.02;
  c.EffectWhenOn = EffectWhenOn::Weak;
  d.ThresholdLevel = -0.1;
  d.OnBelow = true;
  d.EffectWhenOn = EffectWhenOn::Strong;
  a.SelfChangeRate = 0.01;
  b.SelfChangeRate = 0.03;
  b.SelfChangeDecreases = false;
  p.CombineMode = CombineMode::Product;
  m.CombineMode = CombineMode::Mean;
  z.Awake = false;
  LinkIn(e, a, p, RelationshipKind::Proportion, 2.0);
  LinkIn(e, b, p, RelationshipKind::Proportion, 0.5, false);
  LinkIn(e, c, p, RelationshipKind::Proportion, 1.0);
  LinkIn(e, d, p, RelationshipKind::Proportion, 1.0, false);
  LinkIn(e, a, m, RelationshipKind::Proportion, 2.0);
  LinkIn(e, c, m, RelationshipKind::Proportion, 0.5, false);
  LinkIn(e, d, m, RelationshipKind::Proportion, 1.0);
  LinkIn(e, z, m, RelationshipKind::Proportion, 1.0);
  LinkIn(e, p, s, RelationshipKind::Rate, 1.0);
  LinkIn(e, m, s, RelationshipKind::Rate, 0.5, false);
  LinkIn(e, s, s, RelationshipKind::Rate, 0.3, false);
  LinkIn(e, d, s, RelationshipKind::Rate, 2.0);
  LinkIn(e, d, s, RelationshipKind::Rate, 2.0);
  LinkIn(e, s, a, RelationshipKind::Rate, 1.0, false);
  LinkIn(e, a, b, RelationshipKind::Rate, 0.7).Awake = false;
  LinkIn(e, s, b, RelationshipKind::Rate, 1.5);
  LinkIn(e, b, c, RelationshipKind::Rate, 1.0, false);
  LinkIn(e, a, d, RelationshipKind::Rate, 2.0, false);
}

TEST(SimulationAgreement, ATickEqualsThePassesTakenOneByOneBitForBit) {
  for (IntegrationMethod method : {IntegrationMethod::Euler, IntegrationMethod::RungeKutta}) {
    SCOPED_TRACE(int(method));
    FakeHost hostA, hostB;
    RasterCanvas canvasA(500, 400), canvasB(500, 400);
    TEditor ticked(hostA), stepped(hostB);
    ticked.AttachCanvas(&canvasA);
    stepped.AttachCanvas(&canvasB);
    for (TEditor* e : {&ticked, &stepped}) {
      BuildMixedModel(*e);
      e->IntegrationMethod = method;
      e->StartAnimation();
    }
    for (int tick = 0; tick < 40; ++tick) {
      ticked.Tick();
      stepped.MarkTickStart();
      for (int step = 0; step < 100; ++step) {
        if (method == IntegrationMethod::Euler) {
          stepped.ComputeRelationships();
          stepped.EulerPass();
          stepped.CommitStates();
          continue;
        }
        for (int stage = 1; stage <= 4; ++stage) {
          stepped.ComputeRelationships();
          stepped.RungeKuttaPass(stage);
          stepped.CommitStates();
        }
      }
      stepped.UpdateValues();
      stepped.DrawLevels();
    }
    for (std::size_t i = 0; i < ticked.Variables.size(); ++i) {
      const TVariavel& x = *ticked.Variables[i];
      const TVariavel& y = *stepped.Variables[i];
      EXPECT_EQ(x.InnerValue, y.InnerValue) << i;
      EXPECT_EQ(x.PendingValue, y.PendingValue) << i;
      EXPECT_EQ(x.Level, y.Level) << i;
      for (int k = 0; k < 5; ++k) EXPECT_EQ(x.StageValues[k], y.StageValues[k]) << i << " " << k;
    }
    EXPECT_EQ(canvasA.Snapshot(), canvasB.Snapshot());
    EXPECT_NE(double(ticked.Variables[2]->Level), 0.6) << "the model moved";
  }
}

struct NotANumberCase {
  const char* name;
  RelationshipKind inputKind;
  /// An origin crosses zero between stages, so a product of huge factors
  /// changes from +infinity to -infinity within one Runge-Kutta step.
  bool signFlips;
};

class NotANumberTest : public SimulationTest, public testing::WithParamInterface<NotANumberCase> {};

TEST_P(NotANumberTest, InfinityTimesZeroNeverReachesAVariable) {
  const NotANumberCase& c = GetParam();
  auto& destination = AddRaw<TVarContinuaQualquerValor>(400, 400);
  destination.Level = 0.5;
  destination.CombineMode = CombineMode::Product;
  auto& huge = AddRaw<TVarContinuaQualquerValor>(100, 100);
  huge.Level = 1;
  auto& small = AddRaw<TVarContinuaQualquerValor>(700, 100);
  for (int i = 0; i < 20; ++i) Relate(huge, destination, c.inputKind, 1e300);
  Relate(small, destination, c.inputKind, 1.0);
  if (c.signFlips) {
    auto& pull = AddRaw<TVarContinuaQualquerValor>(700, 400);
    pull.Level = -1;
    Relate(pull, small, RelationshipKind::Rate, 1.0);
    small.Level = 1e-7;
  }
  Play();
  editor.Tick();

  for (const auto& v : editor.Variables) {
    EXPECT_FALSE(std::isnan(v->InnerValue)) << c.name;
    EXPECT_FALSE(std::isnan(v->PendingValue)) << c.name;
    for (long double k : v->StageValues) EXPECT_FALSE(std::isnan(k)) << c.name;
  }
  if (!c.signFlips) {
    // A zero input makes the product 0: the value itself, or a rate of 0.
    const long double expected = c.inputKind == RelationshipKind::Proportion ? 0 : TVariavel::InnerValueOfLevel(0.5L);
    EXPECT_EQ(destination.InnerValue, expected) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    HugeProducts, NotANumberTest,
    testing::Values(NotANumberCase{"proportion_times_zero", RelationshipKind::Proportion, false},
                    NotANumberCase{"rate_times_zero", RelationshipKind::Rate, false},
                    NotANumberCase{"rate_changing_sign", RelationshipKind::Rate, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace editor_test
