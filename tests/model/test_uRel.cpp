#include "model/uRel.h"

#include "model/uVar.h"

#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>

namespace {

using model_test::FakeCanvas;

template <class T>
void Place(T& v, std::int32_t x, std::int32_t y) {
  v.X = x;
  v.Y = y;
}

// A default gauge at (100, 100): body 85..115 x 75..125, name from y = 59.
struct AttachRow {
  const char* name;
  std::int32_t boxX, boxY;
  CanvasPoint expected;
};

constexpr CanvasPoint kTop{100, 59};
constexpr CanvasPoint kRight{115, 100};
constexpr CanvasPoint kLeft{85, 100};
constexpr CanvasPoint kBottom{100, 125};

TEST(AttachPoint, PicksTheSideWhoseDiagonalSectorHoldsTheBox) {
  // Diagonal 1 runs through (85 + 3k, 75 + 5k), diagonal 2 through (115 - 3k, 75 + 5k).
  const AttachRow rows[] = {
      {"far above", 100, -200, kTop},
      {"just above the top edge", 100, 74, kTop},
      {"far right", 500, 100, kRight},
      {"far left", -300, 100, kLeft},
      {"far below", 100, 400, kBottom},
      {"just below the bottom edge", 100, 126, kBottom},
      {"above the gauge, a pixel above diagonal 1", 88, 79, kTop},
      {"on diagonal 1 above the centre", 88, 80, kLeft},
      {"on diagonal 1 beyond the top-left corner", 55, 25, kLeft},
      {"on the top-left corner", 85, 75, kLeft},
      {"on diagonal 1 below the centre", 106, 110, kBottom},
      {"above the gauge, a pixel above diagonal 2", 112, 79, kTop},
      {"on diagonal 2 above the centre", 112, 80, kRight},
      {"on the top-right corner", 115, 75, kRight},
      {"on diagonal 2 below the centre", 94, 110, kBottom},
      {"on the gauge's centre", 100, 100, kBottom},
  };
  TVarContinua v;
  Place(v, 100, 100);
  for (const AttachRow& row : rows)
    EXPECT_EQ(AttachPoint(v, row.boxX, row.boxY), row.expected) << row.name;
}

TEST(AttachPoint, CentresOnADiagonalCountAsBelowWhereverTheGaugeIs) {
  // A rounded slope of 5/3 puts these on the wrong side for many gauge
  // positions, (50, 50) among them; the rule must not depend on where it is.
  for (std::int32_t vx : {50, 57, 100, 1001, -7, 123457})
    for (std::int32_t vy : {50, 51, 83, 100, -128, 98765}) {
      TVarContinua v;
      Place(v, vx, vy);
      EXPECT_EQ(AttachPoint(v, vx, vy), (CanvasPoint{vx, vy + 25}))
          << "centre of gauge at " << vx << "," << vy;
      EXPECT_EQ(AttachPoint(v, vx - 12, vy - 20), (CanvasPoint{vx - 15, vy}))
          << "diagonal 1 of gauge at " << vx << "," << vy;
      EXPECT_EQ(AttachPoint(v, vx + 12, vy - 20), (CanvasPoint{vx + 15, vy}))
          << "diagonal 2 of gauge at " << vx << "," << vy;
    }
}

/// The side chosen by the slope-and-intercept comparison in doubles, which
/// the integer test replaces; trustworthy only off the diagonals.
CanvasPoint FloatingAttachPoint(const TVariavel& v, std::int32_t boxX, std::int32_t boxY) {
  const double left = double(v.X) - v.HalfWidth;
  const double right = double(v.X) + v.HalfWidth;
  const double top = double(v.Y) - v.HalfHeight;
  const double m = (2.0 * v.HalfHeight) / (2.0 * v.HalfWidth);
  const double d1 = top - m * left;
  const double d2 = top + m * right;
  const bool below1 = boxY >= m * boxX + d1;
  const bool below2 = boxY >= -m * boxX + d2;
  const std::int64_t x = v.X, y = v.Y, w = v.HalfWidth, h = v.HalfHeight;
  if (!below1 && !below2) return {v.X, std::int32_t(y - h - v.LabelHeight)};
  if (!below1) return {std::int32_t(x + w), v.Y};
  if (!below2) return {std::int32_t(x - w), v.Y};
  return {v.X, std::int32_t(y + h)};
}

TEST(AttachPoint, AgreesWithTheFloatingComparisonOffTheDiagonals) {
  const std::unique_ptr<TVariavel> gauges[] = {
      std::make_unique<TVarContinua>(), std::make_unique<TVarContinuaQualquerValor>(),
      std::make_unique<TVarLigaDesliga>(), std::make_unique<TVarLigaDesligaQualquerValor>()};
  // Far from the origin the intercepts grow to billions, where a double has
  // only a few bits left below the point; off a diagonal a centre is still
  // at least 1/20 of a pixel away from it.
  const std::int32_t places[][2] = {{100, 100},        {57, 83},           {-1234, 987},
                                    {2000000000, 50},  {50, -2000000000}, {-2000000000, 2000000000},
                                    {1999999999, 1999999999}};
  int compared = 0, onDiagonal = 0;
  for (const auto& g : gauges)
    for (const auto& p : places) {
      TVariavel& v = *g;
      v.X = p[0];
      v.Y = p[1];
      const std::int64_t w = v.HalfWidth, h = v.HalfHeight;
      for (std::int64_t dx = -130; dx <= 130; ++dx)
        for (std::int64_t dy = -130; dy <= 130; ++dy) {
          const auto bx = std::int32_t(v.X + dx), by = std::int32_t(v.Y + dy);
          const std::int64_t fromTop = dy + h;
          if (fromTop * w == (dx + w) * h || fromTop * w == (w - dx) * h) {
            ++onDiagonal;
            continue;
          }
          ++compared;
          const CanvasPoint exact = AttachPoint(v, bx, by);
          const CanvasPoint floating = FloatingAttachPoint(v, bx, by);
          if (exact != floating)
            ADD_FAILURE() << "gauge " << v.HalfWidth << "x" << v.HalfHeight << " at " << v.X
                          << "," << v.Y << ", box at offset " << dx << "," << dy << ": "
                          << exact.x << "," << exact.y << " against " << floating.x << ","
                          << floating.y;
          if (::testing::Test::HasFailure()) return;
        }
    }
  EXPECT_GT(onDiagonal, 0);
  EXPECT_GT(compared, 1000000);
}

TEST(AttachPoint, UsesEachClassesOwnGaugeAndLabel) {
  // On-off gauge: 40 x 50, diagonals of slope 5/4 through (80, 75) and (120, 75).
  TVarLigaDesliga onOff;
  Place(onOff, 100, 100);
  EXPECT_EQ(AttachPoint(onOff, 84, 80), (CanvasPoint{80, 100})) << "on diagonal 1";
  EXPECT_EQ(AttachPoint(onOff, 84, 79), (CanvasPoint{100, 59})) << "just above it";
  EXPECT_EQ(AttachPoint(onOff, 300, 110), (CanvasPoint{120, 100}));

  TVarContinuaQualquerValor tall;
  Place(tall, 100, 100);
  tall.LabelHeight = 20;
  EXPECT_EQ(AttachPoint(tall, 100, 0), (CanvasPoint{100, 30})) << "100 - 50 - 20";
  EXPECT_EQ(AttachPoint(tall, 100, 151), (CanvasPoint{100, 150}));
}

TEST(AttachPoint, DegenerateGaugesStillGiveOneOfTheFourSides) {
  struct Row {
    const char* name;
    std::int32_t halfWidth, halfHeight;
  };
  const Row rows[] = {{"zero width", 0, 25}, {"zero height", 15, 0}, {"a point", 0, 0}};
  for (const Row& row : rows) {
    TVarContinua v;
    Place(v, 100, 100);
    v.HalfWidth = row.halfWidth;
    v.HalfHeight = row.halfHeight;
    const CanvasPoint sides[] = {{100, 100 - row.halfHeight - 16},
                                 {100 + row.halfWidth, 100},
                                 {100 - row.halfWidth, 100},
                                 {100, 100 + row.halfHeight}};
    for (std::int32_t x : {0, 99, 100, 101, 200})
      for (std::int32_t y : {0, 99, 100, 101, 200}) {
        const CanvasPoint p = AttachPoint(v, x, y);
        EXPECT_TRUE(p == sides[0] || p == sides[1] || p == sides[2] || p == sides[3])
            << row.name << ", box at " << x << "," << y << " gave " << p.x << "," << p.y;
      }
  }
  TVarContinua flat;
  Place(flat, 100, 100);
  flat.HalfWidth = 0;
  EXPECT_EQ(AttachPoint(flat, 50, 100), (CanvasPoint{100, 100})) << "left of a zero-width gauge";
  EXPECT_EQ(AttachPoint(flat, 100, 20), (CanvasPoint{100, 125})) << "on its vertical diagonals";
}

TEST(AttachPoint, SaturatesAtTheEdgesOfTheCoordinateRange) {
  TVarContinua v;
  Place(v, INT32_MAX, INT32_MIN + 5);
  EXPECT_EQ(AttachPoint(v, INT32_MAX, INT32_MIN), (CanvasPoint{INT32_MAX, INT32_MIN}));
  EXPECT_EQ(AttachPoint(v, INT32_MIN, INT32_MIN + 5), (CanvasPoint{INT32_MAX - 15, INT32_MIN + 5}));
  Place(v, INT32_MIN, INT32_MAX);
  EXPECT_EQ(AttachPoint(v, INT32_MAX, INT32_MIN), (CanvasPoint{INT32_MIN + 15, INT32_MAX}));
  EXPECT_EQ(AttachPoint(v, INT32_MIN, INT32_MAX), (CanvasPoint{INT32_MIN, INT32_MAX}))
      << "below the bottom, saturated";
}

class Placing : public ::testing::Test {
protected:
  FakeCanvas canvas{{0, 0, 400, 300}};
  TVarContinua origin;
  TVarContinua destination;
  TRelacionamento rel;

  void SetUp() override { rel.SetCanvas(&canvas); }
};

TEST_F(Placing, SideBySideVariablesJoinTheirFacingSides) {
  Place(origin, 100, 150);
  Place(destination, 300, 150);
  rel.Connect(&origin, &destination);
  EXPECT_EQ(rel.Origin, &origin);
  EXPECT_EQ(rel.Destination, &destination);
  EXPECT_EQ((CanvasPoint{rel.StartX, rel.StartY}), (CanvasPoint{115, 150}));
  EXPECT_EQ((CanvasPoint{rel.EndX, rel.EndY}), (CanvasPoint{285, 150}));
  EXPECT_EQ((CanvasPoint{rel.X, rel.Y}), (CanvasPoint{200, 150}));
}

TEST_F(Placing, AVariableStraightBelowIsReachedAboveItsName) {
  Place(origin, 100, 50);
  Place(destination, 100, 250);
  rel.Connect(&origin, &destination);
  EXPECT_EQ((CanvasPoint{rel.StartX, rel.StartY}), (CanvasPoint{100, 75}));
  EXPECT_EQ((CanvasPoint{rel.EndX, rel.EndY}), (CanvasPoint{100, 250 - 25 - 16}));
  EXPECT_EQ((CanvasPoint{rel.X, rel.Y}), (CanvasPoint{100, (75 + 209) / 2}));
}

TEST_F(Placing, ConnectCentresTheBoxBetweenTheAttachPointsWithTruncatingHalves) {
  Place(origin, 100, 100);
  Place(destination, 301, 171);
  rel.Connect(&origin, &destination);
  // Provisional centre (200, 135): right side of the origin, left of the destination.
  EXPECT_EQ((CanvasPoint{rel.StartX, rel.StartY}), (CanvasPoint{115, 100}));
  EXPECT_EQ((CanvasPoint{rel.EndX, rel.EndY}), (CanvasPoint{286, 171}));
  EXPECT_EQ((CanvasPoint{rel.X, rel.Y}), (CanvasPoint{200, 135})) << "401/2 and 271/2";

  // Negative sums truncate toward zero as well.
  Place(origin, -101, -100);
  Place(destination, -300, -100);
  rel.SetCanvas(nullptr);
  rel.Connect(&origin, &destination);
  EXPECT_EQ(rel.X, (-116 + -285) / 2);
  EXPECT_EQ(rel.X, -200);
}

TEST_F(Placing, ConnectKeepsTheBoxInsideButLeavesTheEndpointsOfTheProvisionalCentre) {
  // Both gauges above the canvas: the box is pushed down to y = 10, where it
  // would be below the origin; the line still leaves from the origin's right side.
  Place(origin, 100, -100);
  Place(destination, 200, -100);
  rel.Connect(&origin, &destination);
  EXPECT_EQ((CanvasPoint{rel.X, rel.Y}), (CanvasPoint{150, 10}));
  EXPECT_EQ((CanvasPoint{rel.StartX, rel.StartY}), (CanvasPoint{115, -100}));
  EXPECT_EQ((CanvasPoint{rel.EndX, rel.EndY}), (CanvasPoint{185, -100}));
  EXPECT_EQ(AttachPoint(origin, rel.X, rel.Y), (CanvasPoint{100, -75}))
      << "what a recomputation would have given";
}

TEST_F(Placing, SetPositionKeepsTheBoxInsideBeforeTheEndpointsFollowIt) {
  Place(origin, 100, 100);
  Place(destination, 300, 100);
  rel.Connect(&origin, &destination);
  canvas.SetClip({85, 0, 400, 300});
  rel.SetPosition(20, 200);
  // Kept at x = 95 the box is below the origin; at x = 20 it would be to its left.
  EXPECT_EQ((CanvasPoint{rel.X, rel.Y}), (CanvasPoint{95, 200}));
  EXPECT_EQ((CanvasPoint{rel.StartX, rel.StartY}), (CanvasPoint{100, 125}));
  EXPECT_EQ((CanvasPoint{rel.EndX, rel.EndY}), (CanvasPoint{285, 100}));
}

TEST_F(Placing, DraggingTheBoxBendsTheLineAtItsNewPlace) {
  Place(origin, 100, 150);
  Place(destination, 300, 150);
  rel.Connect(&origin, &destination);
  rel.BeginDrag(205, 152);
  rel.DragTo(115, 22);
  rel.EndDrag();
  EXPECT_EQ((CanvasPoint{rel.X, rel.Y}), (CanvasPoint{110, 20}));
  EXPECT_EQ((CanvasPoint{rel.StartX, rel.StartY}), (CanvasPoint{100, 150 - 25 - 16}));
  EXPECT_EQ((CanvasPoint{rel.EndX, rel.EndY}), (CanvasPoint{285, 150}));
  EXPECT_EQ(origin.X, 100) << "the variables stay";
}

TEST_F(Placing, KeepInsideAppliesItsFourLimitsInOrder) {
  struct Row {
    const char* name;
    CanvasRect clip;
    CanvasPoint from, to;
  };
  const Row rows[] = {
      {"inside", {0, 0, 400, 300}, {200, 150}, {200, 150}},
      {"touching every limit", {0, 0, 400, 300}, {10, 10}, {10, 10}},
      {"right and bottom are limits themselves", {0, 0, 400, 300}, {390, 290}, {390, 290}},
      {"past the left", {0, 0, 400, 300}, {9, 150}, {10, 150}},
      {"past the right", {0, 0, 400, 300}, {391, 150}, {390, 150}},
      {"past the top", {0, 0, 400, 300}, {200, -5000}, {200, 10}},
      {"past the bottom", {0, 0, 400, 300}, {200, 291}, {200, 290}},
      {"offset clip", {50, 60, 400, 300}, {0, 0}, {60, 70}},
      {"narrower than the box: right and bottom win", {0, 0, 15, 12}, {0, 0}, {5, 2}},
      {"narrower than the box from the other side", {0, 0, 15, 12}, {100, 100}, {5, 2}},
      {"hostile coordinates", {0, 0, 400, 300}, {INT32_MIN, INT32_MAX}, {10, 290}},
      {"hostile clip",
       {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
       {INT32_MIN, INT32_MAX},
       {INT32_MIN + 10, INT32_MAX - 10}},
  };
  for (const Row& row : rows) {
    canvas.SetClip(row.clip);
    rel.X = row.from.x;
    rel.Y = row.from.y;
    rel.KeepInside();
    EXPECT_EQ((CanvasPoint{rel.X, rel.Y}), row.to) << row.name;
  }
}

TEST_F(Placing, HitTestCoversTheBoxBoundsIncluded) {
  rel.X = 100;
  rel.Y = 50;
  struct Row {
    std::int32_t x, y;
    bool hit;
  };
  const Row rows[] = {{100, 50, true}, {90, 40, true},  {110, 60, true}, {89, 50, false},
                      {111, 50, false}, {100, 39, false}, {100, 61, false}};
  for (const Row& row : rows)
    EXPECT_EQ(rel.HitTest(row.x, row.y), row.hit) << row.x << "," << row.y;

  rel.X = INT32_MAX;
  rel.Y = INT32_MIN;
  EXPECT_TRUE(rel.HitTest(INT32_MAX, INT32_MIN));
  EXPECT_TRUE(rel.HitTest(INT32_MAX - 10, INT32_MIN + 10));
  EXPECT_FALSE(rel.HitTest(INT32_MAX - 11, INT32_MIN));
  EXPECT_FALSE(rel.HitTest(INT32_MIN, INT32_MAX));
}

TEST_F(Placing, ExtremeVariablesConnectWithoutOverflow) {
  Place(origin, INT32_MIN, INT32_MIN);
  Place(destination, INT32_MAX, INT32_MAX);
  rel.Connect(&origin, &destination);
  EXPECT_EQ((CanvasPoint{rel.StartX, rel.StartY}), (CanvasPoint{INT32_MIN + 15, INT32_MIN}));
  EXPECT_EQ((CanvasPoint{rel.EndX, rel.EndY}), (CanvasPoint{INT32_MAX - 15, INT32_MAX}));
  EXPECT_EQ((CanvasPoint{rel.X, rel.Y}), (CanvasPoint{10, 10})) << "centre 0, 0 kept inside";

  rel.SetPosition(INT32_MAX, INT32_MIN);
  EXPECT_EQ((CanvasPoint{rel.X, rel.Y}), (CanvasPoint{390, 10}));

  Place(origin, INT32_MAX, INT32_MAX);
  Place(destination, INT32_MAX, INT32_MAX - 1);
  rel.SetCanvas(nullptr);
  rel.Connect(&origin, &destination);
  // From the top point above the origin's name down to the destination's bottom,
  // saturated at INT32_MAX.
  EXPECT_EQ((CanvasPoint{rel.StartX, rel.StartY}), (CanvasPoint{INT32_MAX, INT32_MAX - 41}));
  EXPECT_EQ((CanvasPoint{rel.EndX, rel.EndY}), (CanvasPoint{INT32_MAX, INT32_MAX}));
  EXPECT_EQ((CanvasPoint{rel.X, rel.Y}), (CanvasPoint{INT32_MAX, INT32_MAX - 21}));
  EXPECT_EQ(rel.BarbPoint(0.3490658503988659), (CanvasPoint{INT32_MAX - 5, INT32_MAX - 14}));
}

TEST(DirectionAngle, CoversTheVerticalsAndEveryQuadrant) {
  const double pi = std::numbers::pi;
  struct Row {
    const char* name;
    std::int64_t dx, dy;
    double expected;
  };
  const Row rows[] = {
      {"no length: down the screen", 0, 0, pi / 2},
      {"straight down", 0, 7, pi / 2},
      {"straight up", 0, -7, 4.71238898038469},
      {"right", 5, 0, 0},
      {"down-right", 3, 3, pi / 4},
      {"up-right", 3, -3, -pi / 4},
      {"left", -5, 0, pi},
      {"down-left", -3, 3, 3 * pi / 4},
      {"up-left", -3, -3, 5 * pi / 4},
      {"longer than 32 bits", -4294967295LL, 4294967295LL, 3 * pi / 4},
  };
  for (const Row& row : rows)
    EXPECT_NEAR(DirectionAngle(row.dx, row.dy), row.expected, 1e-12) << row.name;
}

TEST(BarbPoint, TruncatesTheBarbsTowardZero) {
  // cos 20 deg * 15 = 14.095, sin 20 deg * 15 = 5.130, for either sign.
  struct Row {
    const char* name;
    CanvasPoint box, tip;
    CanvasPoint plus20, minus20;
  };
  const Row rows[] = {
      {"pointing right", {100, 100}, {150, 100}, {136, 105}, {136, 95}},
      {"pointing left", {150, 100}, {100, 100}, {114, 95}, {114, 105}},
      {"pointing down", {100, 100}, {100, 150}, {95, 136}, {105, 136}},
      {"pointing up", {100, 150}, {100, 100}, {105, 114}, {95, 114}},
      {"tip on the box centre: as if pointing down", {100, 100}, {100, 100}, {95, 86}, {105, 86}},
  };
  for (const Row& row : rows) {
    TRelacionamento rel;
    rel.X = row.box.x;
    rel.Y = row.box.y;
    rel.EndX = row.tip.x;
    rel.EndY = row.tip.y;
    EXPECT_EQ(rel.BarbPoint(0.3490658503988659), row.plus20) << row.name;
    EXPECT_EQ(rel.BarbPoint(-0.3490658503988659), row.minus20) << row.name;
  }
}

constexpr CombineMode kSum = CombineMode::Sum, kProduct = CombineMode::Product,
                      kMean = CombineMode::Mean;

struct ContributionRow {
  const char* name;
  long double output;
  double effect;
  bool same;
  CombineMode combine;
  long double expected;
};

TEST(ComputeContribution, ScalesByEffectAndAppliesTheDirection) {
  const ContributionRow rows[] = {
      {"same, sum", 0.3L, 0.5, true, kSum, 0.15L},
      {"same, mean", 0.3L, 0.5, true, kMean, 0.15L},
      {"same, product", 0.3L, 0.5, true, kProduct, 0.15L},
      {"same, negative output", -0.8L, 2.0, true, kSum, -1.6L},
      {"opposite, sum", 0.3L, 0.5, false, kSum, -0.15L},
      {"opposite, mean", 0.3L, 0.5, false, kMean, -0.15L},
      {"opposite, sum of a negative output", -0.8L, 2.0, false, kSum, 1.6L},
      {"opposite, product", 0.5L, 2.0, false, kProduct, 1},
      {"opposite, product of a quarter", 0.25L, 1.0, false, kProduct, 4},
      {"opposite, product of a negative", -4, 0.5, false, kProduct, -0.5L},
      {"opposite, product of zero", 0, 1.0, false, kProduct, 6},
      {"opposite, product of negative zero", -0.0L, 1.0, false, kProduct, 6},
      {"opposite, product just above zero", 9e-17L, 1.0, false, kProduct, 6},
      {"opposite, product just below zero", -1e-20L, 1.0, false, kProduct, -6},
      {"opposite, product at the positive guard", 1e-16L, 1.0, false, kProduct, 1 / 1e-16L},
      {"opposite, product at the negative guard", -1e-16L, 1.0, false, kProduct, -1 / 1e-16L},
      {"opposite, product under the guard after the effect", 1.5e-16L, 0.5, false, kProduct, 6},
      {"the product is kept in extended precision", 1.0L / 3, 0.1, true, kSum,
       (1.0L / 3) * static_cast<long double>(0.1)},
  };
  for (const ContributionRow& row : rows) {
    TVarContinuaQualquerValor origin;
    TVarContinua destination;
    origin.InnerValue = row.output;
    destination.CombineMode = row.combine;
    auto rel = model_test::Link(origin, destination, RelationshipKind::Proportion, row.effect, row.same);
    rel->ComputeContribution();
    EXPECT_TRUE(rel->Active) << row.name;
    EXPECT_EQ(rel->Contribution, row.expected) << row.name;
  }
}

TEST(ComputeContribution, NegativeZeroGivesPlusSixNotMinusSix) {
  TVarContinuaQualquerValor origin;
  TVarContinua destination;
  origin.InnerValue = -0.0L;
  destination.CombineMode = kProduct;
  auto rel = model_test::Link(origin, destination, RelationshipKind::Proportion, 1.0, false);
  rel->ComputeContribution();
  EXPECT_EQ(rel->Contribution, 6);
  EXPECT_FALSE(std::signbit(rel->Contribution));
}

TEST(ComputeContribution, InactiveRelationshipsKeepTheirPreviousContribution) {
  struct Row {
    const char* name;
    bool relAwake, originAwake;
  };
  const Row rows[] = {
      {"asleep relationship", false, true},
      {"asleep origin", true, false},
      {"both asleep", false, false},
  };
  for (const Row& row : rows) {
    TVarContinua origin;
    TVarContinua destination;
    origin.InnerValue = 0.5L;
    auto rel = model_test::Link(origin, destination);
    rel->ComputeContribution();
    ASSERT_EQ(rel->Contribution, 0.5L) << row.name;

    origin.InnerValue = 0.9L;
    rel->Awake = row.relAwake;
    origin.Awake = row.originAwake;
    rel->ComputeContribution();
    EXPECT_FALSE(rel->Active) << row.name;
    EXPECT_EQ(rel->Contribution, 0.5L) << row.name;
  }
}

TEST(ComputeContribution, AnOnOffOriginDrivesOnlyWhileOn) {
  struct Row {
    const char* name;
    bool anyValue;
    double level, threshold;
    bool onBelow;
    int effectWhenOn;
    bool active;
    long double contribution;
  };
  // The earlier contribution is 7; the effect is 2.
  const Row rows[] = {
      {"above the threshold, on above", false, 0.6, 0.5, false, 1, true, 2 * 0.25L},
      {"at the threshold, on above", false, 0.5, 0.5, false, 1, true, 2 * 0.25L},
      {"at the threshold, on below", false, 0.5, 0.5, true, 1, true, 2 * 0.25L},
      {"below the threshold, on above", false, 0.4, 0.5, false, 1, false, 7},
      {"above the threshold, on below", false, 0.6, 0.5, true, 1, false, 7},
      {"weak effect when on", false, 0.6, 0.5, false, 2, true, 2 * 0.2L},
      {"strong effect when on", false, 0.6, 0.5, false, 3, true, 2},
      {"any-value class, off", true, -0.5, 0.0, false, 1, false, 7},
      {"any-value class, on", true, -0.5, 0.0, true, 2, true, 2 * 0.2L},
  };
  for (const Row& row : rows) {
    TVarLigaDesliga positive;
    TVarLigaDesligaQualquerValor anyValue;
    TVarLigaDesliga& origin = row.anyValue ? anyValue : positive;
    TVarContinua destination;
    origin.Level = row.level;
    origin.ThresholdLevel = row.threshold;
    origin.OnBelow = row.onBelow;
    origin.EffectWhenOn = static_cast<EffectWhenOn>(row.effectWhenOn);
    origin.InnerValue = 0.25L;
    auto rel = model_test::Link(origin, destination, RelationshipKind::Proportion, 2.0);
    rel->Contribution = 7;
    rel->ComputeContribution();
    EXPECT_EQ(rel->Active, row.active) << row.name;
    EXPECT_EQ(rel->Contribution, row.contribution) << row.name;
  }
}

}  // namespace
