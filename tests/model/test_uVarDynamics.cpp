#include "model/uVar.h"

#include "model/uRel.h"

#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using model_test::Incoming;
using model_test::Link;
using model_test::Method;
using model_test::MiniModel;

namespace {

const long double kTanh3 = std::tanh(3.0L);

/// A variable that holds its inner value: no inputs, no self-change.
void Hold(TVariavel& v, long double inner) {
  v.InnerValue = inner;
  v.PendingValue = inner;
}

struct MethodCase {
  const char* name;
  Method method;
};
const MethodCase kMethods[] = {{"Euler", Method::Euler}, {"Runge-Kutta", Method::RungeKutta}};

TEST(VariableDynamics, RateInputOfOneRaisesByAThousandthPerSubStep) {
  for (const MethodCase& m : kMethods) {
    TVarContinua origin, v;
    auto r = Link(origin, v, RelationshipKind::Rate);
    MiniModel model{{&origin, &v}, {r.get()}};
    Hold(origin, 1);
    Hold(v, 0);
    model.SubStep(m.method);
    EXPECT_NEAR(double(v.InnerValue), 0.001, 1e-18) << m.name;
    for (int i = 1; i < 100; ++i) model.SubStep(m.method);
    EXPECT_NEAR(double(v.InnerValue), 0.1, 1e-15) << m.name;
    model.Tick(m.method);
    EXPECT_NEAR(double(v.InnerValue), 0.2, 1e-15) << m.name;
    EXPECT_EQ(origin.InnerValue, 1) << m.name;
  }
}

TEST(VariableDynamics, ProportionInputTakesTheOriginTimesTheEffect) {
  for (const MethodCase& m : kMethods) {
    TVarContinua origin, v;
    auto r = Link(origin, v, RelationshipKind::Proportion, 2.0);
    MiniModel model{{&origin, &v}, {r.get()}};
    Hold(origin, 0.5L);
    Hold(v, 0);
    model.SubStep(m.method);
    EXPECT_EQ(v.InnerValue, 1) << m.name;
  }
}

struct CombineCase {
  const char* name;
  std::int32_t mode;
  long double expected;
};

TEST(VariableDynamics, ContributionsCombineBySumProductAndMean) {
  const CombineCase cases[] = {{"sum", 1, 5}, {"product", 2, 6}, {"mean", 3, 2.5L}};
  for (const CombineCase& c : cases) {
    TVarContinuaQualquerValor v;
    v.CombineMode = static_cast<CombineMode>(c.mode);
    auto two = Incoming(v, 2);
    auto three = Incoming(v, 3);
    auto inactive = Incoming(v, 100, 1.0, false);
    v.EulerStep();
    EXPECT_EQ(v.PendingValue, c.expected) << c.name;
    v.RungeKuttaStage(1);
    EXPECT_EQ(v.PendingValue, c.expected) << c.name;
  }
}

TEST(VariableDynamics, MeanIsWeightedByTheEffects) {
  TVarContinuaQualquerValor v;
  v.CombineMode = CombineMode::Mean;
  auto strong = Incoming(v, 2.0L * 1, 2.0);  // origin output 1, effect 2
  auto weak = Incoming(v, 0.5L * 4, 0.5);    // origin output 4, effect 0.5
  v.EulerStep();
  EXPECT_EQ(v.PendingValue, 4.0L / 2.5L);
}

TEST(VariableDynamics, RelationshipsStartingHereAreNotInputs) {
  TVarContinua v, other;
  auto out = Link(v, other, RelationshipKind::Proportion);
  out->Active = true;
  out->Contribution = 5;
  Hold(v, 0.25L);
  v.EulerStep();
  EXPECT_EQ(v.PendingValue, 0.25L);
}

TEST(VariableDynamics, RungeKuttaWeighsTheFourStageRates) {
  TVarContinuaQualquerValor v;
  v.InputKind = RelationshipKind::Rate;
  auto in = Incoming(v, 0);
  Hold(v, 1);
  const long double k[] = {0, 1, 2, 3, 4};
  const long double y0 = 1;
  const long double expected[] = {0, y0 + k[1] * 0.001L / 2, y0 + k[2] * 0.001L / 2,
                                  y0 + k[3] * 0.001L,
                                  y0 + ((k[2] * 2 + k[1]) + k[3] * 2 + k[4]) * 0.001L / 6};
  for (int stage = 1; stage <= 4; ++stage) {
    in->Contribution = k[stage];
    v.RungeKuttaStage(stage);
    EXPECT_EQ(v.StageValues[stage], k[stage]) << stage;
    EXPECT_EQ(v.PendingValue, expected[stage]) << stage;
    v.CommitValue();
    EXPECT_EQ(v.StageValues[0], y0) << "y0 is kept for the whole sub-step";
  }
  EXPECT_NEAR(double(v.InnerValue), 1.0025, 1e-15);
}

TEST(VariableDynamics, WithoutInputThePendingValueIsKept) {
  TVarContinuaQualquerValor v;
  auto off = Incoming(v, 9, 1.0, false);
  v.InnerValue = 1;
  v.PendingValue = 3;
  v.EulerStep();
  EXPECT_EQ(v.PendingValue, 3);
  v.RungeKuttaStage(2);
  EXPECT_EQ(v.PendingValue, 3);
  EXPECT_EQ(v.StageValues[2], 0) << "no stage rate without input";
}

TEST(VariableDynamics, NoInputNoSelfChangeKeepsTheValueExactly) {
  for (const MethodCase& m : kMethods) {
    TVarContinuaQualquerValor v;
    v.SetLevel(-0.3);
    MiniModel model{{&v}, {}};
    model.Start();
    const long double inner = v.InnerValue;
    for (int tick = 0; tick < 3; ++tick) model.Tick(m.method);
    EXPECT_EQ(v.InnerValue, inner) << m.name;
    EXPECT_NEAR(double(v.Level), -0.3, 1e-15) << m.name;
  }
}

TEST(VariableDynamics, ALevelNearTheTopIsBroughtBackToTanh3) {
  for (const MethodCase& m : kMethods) {
    TVarContinua v;
    v.SetLevel(0.999);
    MiniModel model{{&v}, {}};
    model.Start();
    EXPECT_NEAR(double(v.InnerValue), std::log(1999.0), 1e-12) << m.name;
    model.Tick(m.method);
    EXPECT_EQ(v.InnerValue, 6) << m.name;
    EXPECT_NEAR(double(v.Level), double(kTanh3), 1e-15) << m.name;
  }
}

TEST(VariableDynamics, SelfChangeAloneScalesEverySubStep) {
  const struct {
    Method method;
    long double factor;
    bool decreases;
  } cases[] = {{Method::Euler, 0.99L, true},      {Method::RungeKutta, 0.96L, true},
               {Method::Euler, 1.01L, false},     {Method::RungeKutta, 1.04L, false}};
  for (const auto& c : cases) {
    TVarContinua v;
    v.SelfChangeRate = 0.01;
    v.SelfChangeDecreases = c.decreases;
    MiniModel model{{&v}, {}};
    Hold(v, 2);
    model.SubStep(c.method);
    EXPECT_NEAR(double(v.InnerValue), double(2 * c.factor), 1e-15);
    model.SubStep(c.method);
    EXPECT_NEAR(double(v.InnerValue), double(2 * c.factor * c.factor), 1e-15);
  }
}

TEST(VariableDynamics, AConstantRateStopsAtSixAndShowsTanh3) {
  for (const MethodCase& m : kMethods) {
    TVarContinua origin, v;
    auto r = Link(origin, v, RelationshipKind::Rate, 2.0);
    MiniModel model{{&origin, &v}, {r.get()}};
    origin.Level = 0.999L;
    model.Start();
    for (int tick = 0; tick < 40; ++tick) model.Tick(m.method);
    EXPECT_EQ(v.InnerValue, 6) << m.name;
    EXPECT_NEAR(double(v.Level), double(kTanh3), 1e-15) << m.name;
    EXPECT_LT(v.Level, 1) << m.name;
  }
}

TEST(VariableDynamics, APositiveVariableDrivenBelowZeroShowsZeroAndResumesFromIt) {
  TVarContinua origin, v;
  auto r = Link(origin, v, RelationshipKind::Rate, 1.0, false);  // opposite direction: subtracts
  MiniModel model{{&origin, &v}, {r.get()}};
  Hold(origin, 1);
  Hold(v, 0.0005L);
  model.SubStep(Method::Euler);
  EXPECT_EQ(v.InnerValue, 0);
  EXPECT_LT(v.PendingValue, 0);
  r->SameDirection = true;
  model.SubStep(Method::Euler);
  EXPECT_EQ(v.InnerValue, 0.001L);
}

TEST(VariableDynamics, AMeanWithEveryInputInactiveLeavesTheSelfChangeAlone) {
  TVarLigaDesliga off;
  off.Level = 0;
  off.ThresholdLevel = 0.5L;  // "Para valores acima": off at level 0
  TVarContinua v;
  v.CombineMode = CombineMode::Mean;
  v.SelfChangeRate = 0.1;
  auto r = Link(off, v, RelationshipKind::Rate);
  MiniModel model{{&off, &v}, {r.get()}};
  v.Level = 0.5L;
  model.Start();
  const long double start = v.InnerValue;
  model.SubStep(Method::Euler);
  EXPECT_FALSE(r->Active);
  EXPECT_EQ(v.InnerValue, start - start * static_cast<long double>(0.1));
  EXPECT_FALSE(std::isnan(v.InnerValue));
}

TEST(VariableDynamics, AsleepVariablesDoNotMove) {
  TVarContinuaQualquerValor v;
  v.Awake = false;
  auto in = Incoming(v, 4);
  Hold(v, 1);
  v.PendingValue = 2;
  v.EulerStep();
  EXPECT_EQ(v.PendingValue, 2);
  EXPECT_EQ(v.StageValues[0], 0);
  v.RungeKuttaStage(1);
  EXPECT_EQ(v.PendingValue, 2);
  EXPECT_EQ(v.StageValues[0], 1) << "stage 1 records y0 even while asleep";
}

TEST(VariableDynamics, PendingValueIsBoundedToSix) {
  TVarContinuaQualquerValor v;
  auto in = Incoming(v, 50);
  v.EulerStep();
  EXPECT_EQ(v.PendingValue, 6);
  in->Contribution = -50;
  v.RungeKuttaStage(1);
  EXPECT_EQ(v.PendingValue, -6);
}

struct PrepareCase {
  const char* name;
  long double level;
  long double inner;
};

TEST(VariableDynamics, PrepareForAnimationTurnsTheLevelIntoTheInnerValue) {
  const PrepareCase cases[] = {
      {"top", 1, 6},
      {"bottom", -1, -6},
      {"half", 0.5L, std::log(3.0L)},
      {"zero", 0, 0},
      {"within 1e-16 of the top", 1 - 1e-17L, 6},
      {"past the top (from a file)", 5, 6},
      {"past the bottom (from a file)", -5, -6},
  };
  for (const PrepareCase& c : cases) {
    TVarContinuaQualquerValor v;
    v.Level = c.level;
    v.PendingValue = 99;
    v.PrepareForAnimation();
    EXPECT_NEAR(double(v.InnerValue), double(c.inner), 1e-15) << c.name;
    EXPECT_EQ(v.PendingValue, v.InnerValue) << c.name;
  }
}

TEST(VariableDynamics, ShowValueIsTheInverseOfPrepare) {
  TVarContinua v;
  v.InnerValue = std::log(3.0L);
  v.ShowValue();
  EXPECT_DOUBLE_EQ(double(v.Level), 0.5);
}

TEST(VariableDynamics, ShowValueOfHostileInnerValuesStaysOnTheGauge) {
  const struct {
    const char* name;
    long double inner;
    long double positive;
    long double anyValue;
  } cases[] = {
      {"huge", 1e30L, 1, 1},
      {"largest", std::numeric_limits<long double>::max(), 1, 1},
      {"infinite", std::numeric_limits<long double>::infinity(), 1, 1},
      {"hugely negative", -1e30L, 0, -1},
      {"not a number", std::numeric_limits<long double>::quiet_NaN(), 0, 0},
  };
  for (const auto& c : cases) {
    TVarContinua positive;
    positive.InnerValue = c.inner;
    positive.ShowValue();
    EXPECT_EQ(positive.Level, c.positive) << c.name;
    TVarContinuaQualquerValor any;
    any.InnerValue = c.inner;
    any.ShowValue();
    EXPECT_EQ(any.Level, c.anyValue) << c.name;
  }
}

TEST(VariableDynamics, ExtremeNumbersFromAFileStillEndEveryTickOnTheGauge) {
  // Any finite level and any finite double weight can come from a model file;
  // through overflowing products and quotients every committed value stays
  // within the bounds and every level on its gauge.
  using LD = std::numeric_limits<long double>;
  using D = std::numeric_limits<double>;
  const struct {
    const char* name;
    long double level;
    double effect;
    double selfChange;
    RelationshipKind kind;
  } rows[] = {
      {"largest level, largest effect", LD::max(), D::max(), 0, RelationshipKind::Rate},
      {"lowest level, lowest effect", -LD::max(), -D::max(), 0, RelationshipKind::Proportion},
      {"tiny level, tiny effect", LD::denorm_min(), D::denorm_min(), 0, RelationshipKind::Rate},
      {"largest self-change", 0.5L, 1, D::max(), RelationshipKind::Rate},
      {"lowest self-change", -0.5L, 1, -D::max(), RelationshipKind::Proportion},
      {"opposite effects cancelling", 0.9L, -1, 0, RelationshipKind::Rate},
  };
  for (const auto& row : rows)
    for (std::int32_t mode : {1, 2, 3})
      for (const MethodCase& m : kMethods) {
        TVarContinuaQualquerValor a, b;
        TVarContinua c;
        auto ab = Link(a, b, row.kind, row.effect, false);
        auto cb = Link(c, b, row.kind, -row.effect, true);
        auto ba = Link(b, a, row.kind, row.effect, false);
        auto bc = Link(b, c, row.kind, row.effect, true);
        MiniModel model{{&a, &b, &c}, {ab.get(), cb.get(), ba.get(), bc.get()}};
        for (TVariavel* v : model.variables) {
          v->Level = row.level;
          v->CombineMode = static_cast<CombineMode>(mode);
          v->SelfChangeRate = row.selfChange;
        }
        model.Start();
        for (int tick = 0; tick < 2; ++tick) {
          model.Tick(m.method);
          for (TVariavel* v : model.variables) {
            const long double low = v == &c ? 0 : -6;
            EXPECT_TRUE(v->InnerValue >= low && v->InnerValue <= 6)
                << row.name << ", mode " << mode << ", " << m.name << ": " << double(v->InnerValue);
            EXPECT_TRUE(v->Level >= low / 6 && v->Level <= 1)
                << row.name << ", mode " << mode << ", " << m.name << ": " << double(v->Level);
          }
        }
      }
}

TEST(VariableDynamics, StartValuesAreSavedAndRestored) {
  TVarContinuaQualquerValor v;
  v.SetLevel(0.5);
  MiniModel model{{&v}, {}};
  model.Start();
  v.SelfChangeRate = 0.05;
  model.Tick(Method::Euler);
  EXPECT_LT(v.Level, 0.5L);
  EXPECT_NE(v.TickStartValue, v.InnerValue);
  const long double start = v.StartValue;
  EXPECT_NEAR(double(start), std::log(3.0), 1e-15);
  v.RestoreStartValue();
  EXPECT_EQ(v.InnerValue, start);
  EXPECT_DOUBLE_EQ(double(v.Level), 0.5);
}

}  // namespace
