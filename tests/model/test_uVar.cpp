#include "model/uVar.h"

#include "model/uRel.h"

#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

using model_test::FakeCanvas;
using model_test::Link;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct VariableClass {
  const char* name;
  std::function<std::unique_ptr<TVariavel>()> make;
  bool anyValue;
};

template <class T>
std::function<std::unique_ptr<TVariavel>()> Maker() {
  return [] { return std::make_unique<T>(); };
}

const VariableClass kClasses[] = {
    {"TVarContinua", Maker<TVarContinua>(), false},
    {"TVarContinuaQualquerValor", Maker<TVarContinuaQualquerValor>(), true},
    {"TVarLigaDesliga", Maker<TVarLigaDesliga>(), false},
    {"TVarLigaDesligaQualquerValor", Maker<TVarLigaDesligaQualquerValor>(), true},
};

TEST(VariableConstruction, HalfExtentsPerClass) {
  const std::int32_t expected[][2] = {{15, 25}, {15, 50}, {20, 25}, {20, 50}};
  for (std::size_t i = 0; i < std::size(kClasses); ++i) {
    const auto v = kClasses[i].make();
    EXPECT_EQ(v->HalfWidth, expected[i][0]) << kClasses[i].name;
    EXPECT_EQ(v->HalfHeight, expected[i][1]) << kClasses[i].name;
    EXPECT_EQ(v->LabelHeight, 16);
    EXPECT_EQ(v->InputKind, RelationshipKind::Proportion);
    EXPECT_EQ(v->CombineMode, CombineMode::Sum);
    EXPECT_TRUE(v->Awake);
    EXPECT_TRUE(v->SelfChangeDecreases);
  }
}

TEST(VariableScale, PositiveGaugeAtY100) {
  for (const VariableClass& c : kClasses) {
    if (c.anyValue) continue;
    auto v = c.make();
    v->Y = 100;
    EXPECT_EQ(v->YOfLevel(0), 123) << c.name;
    EXPECT_EQ(v->YOfLevel(1), 77) << c.name;
    EXPECT_EQ(v->YOfLevel(0.5L), 100) << c.name;
    EXPECT_EQ(v->LevelAtY(140), 0) << c.name;
    EXPECT_EQ(v->LevelAtY(60), 1) << c.name;
    EXPECT_EQ(v->LevelAtY(100), 0.5L) << c.name;
    EXPECT_EQ(v->LevelAtY(123), 0) << c.name;
    EXPECT_EQ(v->LevelAtY(110), 13.0L / 46) << c.name;
  }
}

TEST(VariableScale, AnyValueGaugeAtY100) {
  for (const VariableClass& c : kClasses) {
    if (!c.anyValue) continue;
    auto v = c.make();
    v->Y = 100;
    EXPECT_EQ(v->YOfLevel(-1), 148) << c.name;
    EXPECT_EQ(v->YOfLevel(1), 52) << c.name;
    EXPECT_EQ(v->YOfLevel(0), 100) << c.name;
    EXPECT_EQ(v->LevelAtY(76), 0.5L) << c.name;
    EXPECT_EQ(v->LevelAtY(0), 1) << c.name;
    EXPECT_EQ(v->LevelAtY(500), -1) << c.name;
    // 48 / 32 = 1.5 exactly: the halves go to the even row.
    EXPECT_EQ(v->YOfLevel(1.0L / 32), 98) << c.name;
    EXPECT_EQ(v->YOfLevel(3.0L / 32), 96) << c.name;
    EXPECT_EQ(v->YOfLevel(-1.0L / 32), 102) << c.name;
  }
}

TEST(VariableScale, HostileLevelsSaturateTheRow) {
  for (const VariableClass& c : kClasses) {
    auto v = c.make();
    v->Y = INT32_MAX;
    EXPECT_EQ(v->YOfLevel(1e300L), INT32_MIN) << c.name;
    EXPECT_EQ(v->YOfLevel(-1e300L), INT32_MAX) << c.name;
    EXPECT_EQ(v->YOfLevel(0), INT32_MAX) << c.name;
    EXPECT_EQ(v->LevelAtY(INT32_MIN), 1) << c.name;
    v->Y = INT32_MIN;
    EXPECT_EQ(v->LevelAtY(INT32_MAX), c.anyValue ? -1 : 0) << c.name;
    // Not a number lands on row 0 rather than anywhere undefined.
    EXPECT_EQ(v->YOfLevel(std::numeric_limits<long double>::quiet_NaN()), 0) << c.name;
  }
}

struct ClampCase {
  const char* name;
  double input;
  long double positive;
  long double anyValue;
};

TEST(VariableValues, SetLevelBoundsToTheClassRange) {
  const ClampCase cases[] = {
      {"above the top", 1.7, 1, 1},
      {"inside", 0.25, 0.25, 0.25},
      {"slightly negative", -0.3, 0, -0.3},
      {"below the bottom", -1.7, 0, -1},
      {"not a number", kNaN, 0, 0},
      {"infinite", std::numeric_limits<double>::infinity(), 1, 1},
  };
  for (const VariableClass& c : kClasses)
    for (const ClampCase& k : cases) {
      auto v = c.make();
      v->SetLevel(k.input);
      EXPECT_EQ(v->Level, c.anyValue ? k.anyValue : k.positive) << c.name << ": " << k.name;
    }
}

TEST(VariableValues, SetInnerValueRaisesNegativesOnlyInPositiveClasses) {
  const ClampCase cases[] = {
      {"negative", -2, 0, -2},
      {"large", 7.5, 7.5, 7.5},
      {"zero", 0, 0, 0},
  };
  for (const VariableClass& c : kClasses)
    for (const ClampCase& k : cases) {
      auto v = c.make();
      v->SetInnerValue(k.input);
      EXPECT_EQ(v->InnerValue, c.anyValue ? k.anyValue : k.positive) << c.name << ": " << k.name;
    }
  TVarContinua positive;
  positive.SetInnerValue(std::numeric_limits<long double>::quiet_NaN());
  EXPECT_EQ(positive.InnerValue, 0);
}

TEST(VariableValues, SetThresholdLevelBoundsToTheClassRange) {
  const ClampCase cases[] = {
      {"above the top", 1.7, 1, 1},
      {"inside", 0.5, 0.5, 0.5},
      {"slightly negative", -0.3, 0, -0.3},
      {"below the bottom", -5, 0, -1},
      {"not a number", kNaN, 0, 0},
  };
  for (const ClampCase& k : cases) {
    TVarLigaDesliga positive;
    positive.SetThresholdLevel(k.input);
    EXPECT_EQ(positive.ThresholdLevel, k.positive) << k.name;
    TVarLigaDesligaQualquerValor any;
    any.SetThresholdLevel(k.input);
    EXPECT_EQ(any.ThresholdLevel, k.anyValue) << k.name;
  }
}

TEST(VariableName, HalfNameWidthIsTheTextWidthDivTwo) {
  FakeCanvas canvas;
  TVarContinua v;
  v.SetCanvas(&canvas);
  v.SetName("Nome");
  EXPECT_EQ(v.Name, "Nome");
  EXPECT_EQ(v.HalfNameWidth, 14);
  v.SetName("Taxa5");  // 35 pixels
  EXPECT_EQ(v.HalfNameWidth, 17);
  v.SetName("");
  EXPECT_EQ(v.HalfNameWidth, 0);
}

struct HitCase {
  const char* name;
  std::int32_t x;
  std::int32_t y;
  bool hit;
  std::int32_t mode;
};

TEST(VariableHitTest, BoundariesOfBodyNameAndLevelMark) {
  // X = Y = 100, half name width 14, level 0.5: body 85..115 x 75..125, name
  // band 86..114 x 59..75, level mark row 100.
  const HitCase cases[] = {
      {"centre, on the mark", 100, 100, true, 2},
      {"body bottom row", 100, 125, true, 1},
      {"below the body", 100, 126, false, 0},
      {"body left column", 85, 110, true, 1},
      {"left of the body", 84, 110, false, 0},
      {"body right column", 115, 110, true, 1},
      {"right of the body", 116, 110, false, 0},
      {"name band bottom row", 87, 75, true, 1},
      {"name band top row", 86, 59, true, 1},
      {"above the name band", 86, 58, false, 0},
      {"beside the name band", 85, 60, false, 0},
      {"name band right end", 114, 59, true, 1},
      {"past the name band", 115, 59, false, 0},
      {"3 above the mark", 100, 97, true, 2},
      {"4 above the mark", 100, 96, true, 1},
      {"3 below the mark", 100, 103, true, 2},
      {"4 below the mark", 100, 104, true, 1},
      {"mark left end", 90, 100, true, 2},
      {"left of the mark", 89, 100, true, 1},
      {"mark right end", 110, 100, true, 2},
      {"right of the mark", 111, 100, true, 1},
  };
  FakeCanvas canvas;
  TVarContinua v;
  v.SetCanvas(&canvas);
  v.SetName("Nome");
  v.X = 100;
  v.Y = 100;
  v.Level = 0.5L;
  for (const HitCase& c : cases) {
    v.DragMode = static_cast<DragMode>(7);
    EXPECT_EQ(v.HitTest(c.x, c.y), c.hit) << c.name;
    EXPECT_EQ(v.DragMode, static_cast<DragMode>(c.mode)) << c.name;
  }
}

TEST(VariableHitTest, ExtremeCoordinatesCompareWithoutOverflow) {
  TVarContinua v;
  v.HalfNameWidth = 14;
  v.X = INT32_MAX;
  v.Y = INT32_MAX;
  EXPECT_TRUE(v.HitTest(INT32_MAX, INT32_MAX));
  EXPECT_EQ(v.DragMode, DragMode::LevelMark);  // level 0 rounds to the saturated row
  v.Level = 1e300L;
  EXPECT_TRUE(v.HitTest(INT32_MAX, INT32_MAX));
  EXPECT_EQ(v.DragMode, DragMode::Body);
  EXPECT_FALSE(v.HitTest(INT32_MIN, INT32_MIN));
  EXPECT_FALSE(v.HitTest(0, 0));

  v.X = INT32_MIN;
  v.Y = INT32_MIN;
  EXPECT_TRUE(v.HitTest(INT32_MIN, INT32_MIN));
  EXPECT_FALSE(v.HitTest(INT32_MAX, INT32_MIN));
}

struct PlaceCase {
  const char* name;
  CanvasRect clip;
  std::int32_t halfNameWidth;
  std::int32_t x, y;
  std::int32_t keptX, keptY;
};

TEST(VariableKeepInside, StepsApplyInOrderAndTheNameWins) {
  const PlaceCase cases[] = {
      {"inside", {0, 0, 400, 300}, 14, 200, 150, 200, 150},
      {"name above the top", {0, 0, 400, 300}, 14, 200, 10, 200, 41},
      {"body below the bottom", {0, 0, 400, 300}, 14, 200, 290, 200, 274},
      {"body past the left", {0, 0, 400, 300}, 14, 5, 150, 15, 150},
      {"body past the right", {0, 0, 400, 300}, 14, 395, 150, 385, 150},
      {"wide name past the left", {0, 0, 400, 300}, 30, 20, 150, 30, 150},
      {"wide name past the right", {0, 0, 400, 300}, 30, 380, 150, 370, 150},
      {"clip away from the origin", {50, 40, 300, 200}, 14, 0, 0, 65, 81},
      // Name wider than the canvas: the last step puts X at cr - n, and the
      // body then sticks out on the left.
      {"name wider than the canvas", {0, 0, 20, 300}, 30, 50, 150, -10, 150},
      {"canvas too low", {0, 0, 400, 50}, 14, 200, 100, 200, 24},
      {"far outside", {0, 0, 400, 300}, 14, INT32_MAX, INT32_MIN, 385, 41},
      {"far outside the other way", {0, 0, 400, 300}, 14, INT32_MIN, INT32_MAX, 15, 274},
  };
  for (const PlaceCase& c : cases) {
    FakeCanvas canvas(c.clip);
    TVarContinua v;
    v.SetCanvas(&canvas);
    v.HalfNameWidth = c.halfNameWidth;
    v.SetPosition(c.x, c.y);
    EXPECT_EQ(v.X, c.keptX) << c.name;
    EXPECT_EQ(v.Y, c.keptY) << c.name;
  }
}

class VariableRelationships : public ::testing::Test {
protected:
  TVarContinua a, b, c;
};

TEST_F(VariableRelationships, SetInputKindReachesOnlyRelationshipsEndingHere) {
  auto ab = Link(a, b, RelationshipKind::Proportion);
  auto cb = Link(c, b, RelationshipKind::Proportion);
  auto ba = Link(b, a, RelationshipKind::Proportion);
  b.SetInputKind(RelationshipKind::Rate);
  EXPECT_EQ(b.InputKind, RelationshipKind::Rate);
  EXPECT_EQ(ab->Kind, RelationshipKind::Rate);
  EXPECT_EQ(cb->Kind, RelationshipKind::Rate);
  EXPECT_EQ(ba->Kind, RelationshipKind::Proportion);
}

TEST_F(VariableRelationships, RemovingTheLastInputResetsTheKindEvenWithOutputsLeft) {
  auto ab = Link(a, b, RelationshipKind::Rate);
  auto cb = Link(c, b, RelationshipKind::Rate);
  auto ba = Link(b, a, RelationshipKind::Rate);
  EXPECT_EQ(b.InputKind, RelationshipKind::Rate);

  EXPECT_TRUE(b.RemoveRelationship(ab.get()));
  EXPECT_EQ(b.InputKind, RelationshipKind::Rate);
  EXPECT_FALSE(b.RemoveRelationship(cb.get()));
  EXPECT_EQ(b.InputKind, RelationshipKind::Proportion);
  const std::vector<TRelacionamento*> left = {ba.get()};
  EXPECT_EQ(b.Relationships, left);
}

}  // namespace
