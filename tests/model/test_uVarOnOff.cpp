#include "model/uVar.h"

#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using model_test::FakeCanvas;

namespace {

constexpr Color kMarkColor = RGBColor(0, 128, 255);

std::unique_ptr<TVarLigaDesliga> MakeOnOff(bool anyValue) {
  if (anyValue) return std::make_unique<TVarLigaDesligaQualquerValor>();
  return std::make_unique<TVarLigaDesliga>();
}

struct OnCase {
  const char* name;
  bool anyValue;
  bool onBelow;
  long double level;
  long double threshold;
  bool on;
};

TEST(OnOffVariable, IsOnComparesTheLevelWithTheThreshold) {
  const OnCase cases[] = {
      {"positive defaults at 0", false, false, 0, 0, true},
      {"positive defaults at 1", false, false, 1, 0, true},
      {"any-value defaults just below 0", true, false, -0.01L, 0, false},
      {"any-value defaults at 0", true, false, 0, 0, true},
      {"above: below the threshold", false, false, 0.4L, 0.5L, false},
      {"above: at the threshold", false, false, 0.5L, 0.5L, true},
      {"above: over the threshold", false, false, 0.6L, 0.5L, true},
      {"below: under the threshold", true, true, -0.6L, -0.5L, true},
      {"below: at the threshold", true, true, -0.5L, -0.5L, true},
      {"below: over the threshold", true, true, -0.4L, -0.5L, false},
  };
  for (const OnCase& c : cases) {
    const std::unique_ptr<TVarLigaDesliga> v = MakeOnOff(c.anyValue);
    v->OnBelow = c.onBelow;
    v->Level = c.level;
    v->ThresholdLevel = c.threshold;
    EXPECT_EQ(v->IsOn(), c.on) << c.name;
  }
}

TEST(OnOffVariable, OutputValueByEffectWhenOn) {
  TVarLigaDesliga v;
  v.InnerValue = 0.7L;
  v.Level = 0;
  v.ThresholdLevel = 1;  // off: the output does not look at that
  const struct {
    std::int32_t effect;
    long double output;
  } cases[] = {{1, 0.7L}, {2, 0.2L}, {3, 1.0L}, {9, 0.7L}};
  for (const auto& c : cases) {
    v.EffectWhenOn = static_cast<EffectWhenOn>(c.effect);
    EXPECT_EQ(v.OutputValue(), c.output) << c.effect;
  }
  v.EffectWhenOn = EffectWhenOn::EqualToValue;
  v.InnerValue = -3;
  EXPECT_EQ(v.OutputValue(), -3);
}

TEST(OnOffVariable, ThresholdValueIsTheThresholdOnTheInnerScaleBoundedToSix) {
  const struct {
    bool anyValue;
    long double threshold;
    long double inner;
  } cases[] = {
      {false, 0.999L, 6}, {false, 1, 6},   {false, 0, 0},          {false, 0.5L, std::log(3.0L)},
      {true, -0.999L, -6}, {true, -1, -6}, {true, -0.5L, -std::log(3.0L)},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<TVarLigaDesliga> v = MakeOnOff(c.anyValue);
    v->ThresholdLevel = c.threshold;
    v->Level = 0.5L;
    v->PrepareForAnimation();
    EXPECT_NEAR(double(v->ThresholdValue), double(c.inner), 1e-15) << double(c.threshold);
    EXPECT_NEAR(double(v->InnerValue), std::log(3.0), 1e-15) << "the value is prepared as well";
  }
}

TEST(OnOffVariable, ThresholdCrossedOnlyWhenTheTickEndsOnTheOtherSide) {
  const struct {
    const char* name;
    long double start;
    long double now;
    bool crossed;
  } cases[] = {
      {"went down past it", 1, -1, true},
      {"went down from exactly on it", 0, -1, true},
      {"went down onto it", 1, 0, false},
      {"went up past it", -1, 1, true},
      {"went up from exactly on it", 0, 1, true},
      {"went up onto it", -1, 0, false},
      {"stayed above", 1, 2, false},
      {"stayed below", -2, -1, false},
      {"past and back within the tick", 1, 1, false},
      {"stayed on it", 0, 0, false},
  };
  for (const auto& c : cases) {
    TVarLigaDesliga v;
    v.ThresholdValue = 0;
    v.TickStartValue = c.start;
    v.InnerValue = c.now;
    EXPECT_EQ(v.ThresholdCrossed(), c.crossed) << c.name;
  }
}

TEST(OnOffVariable, ThresholdCrossedAfterARealTick) {
  TVarLigaDesligaQualquerValor v;
  v.SelfChangeRate = 0.2;
  v.SelfChangeDecreases = false;
  v.SetLevel(0.3);
  v.SetThresholdLevel(0.4);
  model_test::MiniModel model{{&v}, {}};
  model.Start();
  model.Tick(model_test::Method::Euler);
  EXPECT_TRUE(v.ThresholdCrossed());
  EXPECT_GT(v.Level, v.ThresholdLevel);
  model.Tick(model_test::Method::Euler);
  EXPECT_FALSE(v.ThresholdCrossed());
}

struct HitCase {
  const char* name;
  std::int32_t x;
  std::int32_t y;
  std::int32_t mode;
};

TEST(OnOffVariable, HitTestFindsTheThresholdMarkInTheStrip) {
  // X = Y = 100, threshold 0.5 (row 100), level 0 (row 123); strip columns 80..89.
  const HitCase cases[] = {
      {"3 below the threshold", 85, 103, 3},
      {"4 below the threshold", 85, 104, 1},
      {"3 above the threshold", 85, 97, 3},
      {"4 above the threshold", 85, 96, 1},
      {"strip left column", 80, 100, 3},
      {"strip last column", 89, 100, 3},
      {"divider", 90, 100, 1},
      {"level mark left end", 95, 120, 2},
      {"left of the level mark", 94, 120, 1},
      {"level mark on the body's bottom row", 115, 125, 2},
      {"below the body", 115, 126, 0},
  };
  FakeCanvas canvas;
  TVarLigaDesliga v;
  v.SetCanvas(&canvas);
  v.SetName("Nome");
  v.X = 100;
  v.Y = 100;
  v.SetThresholdLevel(0.5);
  for (const HitCase& c : cases) {
    EXPECT_EQ(v.HitTest(c.x, c.y), c.mode != 0) << c.name;
    EXPECT_EQ(v.DragMode, static_cast<DragMode>(c.mode)) << c.name;
  }
}

bool InBlock(int x, int y, int l, int t, int r, int b) {
  return l <= x && x <= r && t <= y && y <= b;
}

class OnOffPixels : public ::testing::Test {
protected:
  RasterCanvas canvas{220, 200};

  void Place(TVarLigaDesliga& v, RasterCanvas& on) {
    v.SetCanvas(&on);
    v.SetName("Nome");
    v.X = 100;
    v.Y = 100;
  }
};

TEST_F(OnOffPixels, SwitchStripShadesTheOnRangeDarkerWhileOn) {
  const struct {
    const char* name;
    bool onBelow;
    long double level;
    Color shade;
    int firstRow, lastRow;
  } cases[] = {
      {"above, off", false, 0, clLightGrey, 76, 100},
      {"above, on", false, 0.75L, clSilver, 76, 100},
      {"below, on", true, 0, clSilver, 100, 124},
      {"below, off", true, 0.75L, clLightGrey, 100, 124},
  };
  for (const auto& c : cases) {
    RasterCanvas fresh(220, 200);
    TVarLigaDesliga v;
    Place(v, fresh);
    v.SetThresholdLevel(0.5);
    v.OnBelow = c.onBelow;
    v.Level = c.level;
    v.Color = kMarkColor;
    v.Draw();
    int wrong = 0;
    for (int y = 75; y <= 125; ++y)
      for (int x = 80; x <= 90; ++x) {
        Color expected = clWhite;
        if (x == 80 || x == 90 || y == 75 || y == 125)
          expected = clBlack;  // body frame and divider
        else if (InBlock(x, y, 83, 99, 87, 101) && !InBlock(x, y, 84, 100, 86, 100))
          expected = kMarkColor;  // threshold mark: rectangle (83, 99, 88, 102)
        else if (c.firstRow <= y && y <= c.lastRow)
          expected = c.shade;
        if (fresh.Pixel(x, y) != expected && ++wrong <= 5)
          ADD_FAILURE() << c.name << ": pixel " << x << "," << y << " is " << std::hex
                        << std::uint32_t(fresh.Pixel(x, y)) << ", expected "
                        << std::uint32_t(expected);
      }
    EXPECT_EQ(wrong, 0) << c.name;
  }
}

TEST_F(OnOffPixels, LevelMarkStaysRightOfTheStrip) {
  TVarLigaDesliga v;
  Place(v, canvas);
  v.Level = 0.5L;
  v.DrawFixedParts();
  const auto fixed = canvas.Snapshot();
  v.DrawLevelMark();
  // Rectangle (95, 99, 115, 102) and the line through row 100.
  for (int y = 99; y <= 101; ++y)
    for (int x = 95; x <= 114; ++x) EXPECT_EQ(canvas.Pixel(x, y), clBlack) << x << "," << y;
  const int changed = model_test::CountDifferences(fixed, canvas.Snapshot());
  EXPECT_EQ(changed, 20 * 3);
}

TEST_F(OnOffPixels, AnyValueTicksStartRightOfTheDivider) {
  TVarLigaDesligaQualquerValor v;
  Place(v, canvas);
  v.Level = 0.5L;  // keeps the level mark off the centre line
  v.ThresholdLevel = 0.5L;
  v.DrawFixedParts();
  // Body 80..119; divider column 90; ticks (91..92, 100) and (117..118, 100).
  for (int x = 81; x <= 118; ++x) {
    const bool tick = x == 90 || x == 91 || x == 92 || x == 117 || x == 118;
    EXPECT_EQ(canvas.Pixel(x, 100), tick ? clBlack : clWhite) << x;
  }
}

/// The gauge without its switch strip: body with divider, name, level mark.
std::vector<std::uint32_t> WithoutStrip(TVarLigaDesliga& v) {
  RasterCanvas picture(220, 200);
  ::Canvas* own = v.Canvas;
  v.SetCanvas(&picture);
  v.UseNormalPens();
  v.DrawBody();
  v.DrawName();
  v.DrawLevelMark();
  v.SetCanvas(own);
  return picture.Snapshot();
}

TEST_F(OnOffPixels, DraggingTheThresholdMovesItAndLeavesTheStripBlank) {
  TVarLigaDesliga v;
  Place(v, canvas);
  v.Level = 0.25L;
  v.SetThresholdLevel(0.5);
  v.Draw();
  ASSERT_TRUE(v.HitTest(85, 101));
  ASSERT_EQ(v.DragMode, DragMode::ThresholdMark);
  v.BeginDrag(85, 101);
  v.DragTo(85, 60);
  EXPECT_EQ(v.ThresholdLevel, 1);
  EXPECT_EQ(canvas.Pixel(85, 100), clWhite) << "the old threshold is gone";
  // Threshold row 77: the mark's bottom row (78) lies below the shading.
  EXPECT_EQ(canvas.Pixel(85, 78), clSilver) << "the mark is a silver figure at the top";
  v.DragTo(85, 112);
  v.DragTo(85, 112);
  v.EndDrag();
  EXPECT_EQ(v.ThresholdLevel, 11.0L / 46);
  EXPECT_EQ(v.Level, 0.25L);
  EXPECT_EQ(canvas.Snapshot(), WithoutStrip(v));
}

TEST_F(OnOffPixels, MovingAndSettingTheLevelRestoreThePicture) {
  TVarLigaDesliga v;
  Place(v, canvas);
  v.Level = 0.5L;
  v.SetThresholdLevel(0.25);
  v.Draw();
  const auto before = canvas.Snapshot();

  ASSERT_TRUE(v.HitTest(110, 120));
  ASSERT_EQ(v.DragMode, DragMode::Body);
  v.BeginDrag(110, 120);
  v.DragTo(150, 90);
  v.DragTo(10, 190);
  v.EndDrag();
  EXPECT_EQ(canvas.Snapshot(), before);

  v.X = 100;
  v.Y = 100;
  ASSERT_TRUE(v.HitTest(110, 102));
  ASSERT_EQ(v.DragMode, DragMode::LevelMark);
  v.BeginDrag(110, 102);
  v.DragTo(110, 80);
  v.DragTo(110, 90);
  v.EndDrag();
  EXPECT_EQ(v.Level, 33.0L / 46);

  RasterCanvas fixed(220, 200);
  TVarLigaDesliga ghost;
  Place(ghost, fixed);
  ghost.SetThresholdLevel(0.25);
  ghost.Level = 0.5L;  // the strip was shaded while on
  ghost.DrawFixedParts();
  EXPECT_EQ(canvas.Snapshot(), fixed.Snapshot());
}

TEST_F(OnOffPixels, DraggingTheThresholdPastTheBottomStopsAtTheScaleEnd) {
  const struct {
    const char* name;
    bool anyValue;
    long double bottom;
  } cases[] = {{"positive", false, 0}, {"any value", true, -1}};
  for (const auto& c : cases) {
    RasterCanvas fresh(220, 260);
    const std::unique_ptr<TVarLigaDesliga> v = MakeOnOff(c.anyValue);
    Place(*v, fresh);
    v->Y = 130;
    v->SetThresholdLevel(0.5);
    const std::int32_t yt = v->YOfLevel(v->ThresholdLevel);
    ASSERT_TRUE(v->HitTest(84, yt)) << c.name;
    ASSERT_EQ(v->DragMode, DragMode::ThresholdMark) << c.name;
    v->BeginDrag(84, yt);
    v->DragTo(84, 10000);
    v->EndDrag();
    EXPECT_EQ(v->ThresholdLevel, c.bottom) << c.name;
  }
}

}  // namespace
