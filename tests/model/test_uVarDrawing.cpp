#include "model/uVar.h"

#include "model/uRel.h"

#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>

namespace {

constexpr Color kMarkColor = RGBColor(0, 128, 255);

/// What a variable's picture should hold at one pixel, below the name band.
using Expectation = std::function<Color(int x, int y)>;

/// Compares every pixel of the rectangle [x0, x1] x [y0, y1].
void ExpectPixels(const RasterCanvas& canvas, int x0, int y0, int x1, int y1,
                  const Expectation& expected, const char* what) {
  int wrong = 0;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (canvas.Pixel(x, y) != expected(x, y) && ++wrong <= 5)
        ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex
                      << std::uint32_t(canvas.Pixel(x, y)) << ", expected "
                      << std::uint32_t(expected(x, y));
  EXPECT_EQ(wrong, 0) << what;
}

bool InBlock(int x, int y, int l, int t, int r, int b) {
  return l <= x && x <= r && t <= y && y <= b;
}

bool OnFrame(int x, int y, int l, int t, int r, int b) {
  return InBlock(x, y, l, t, r, b) && (x == l || x == r || y == t || y == b);
}

class VariableDrawing : public ::testing::Test {
protected:
  RasterCanvas canvas{260, 220};

  template <class T>
  void Place(T& v, std::int32_t x, std::int32_t y) {
    v.SetCanvas(&canvas);
    v.SetName("Nome");
    v.X = x;
    v.Y = y;
  }

  bool AllWhite() const {
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x)
        if (canvas.Pixel(x, y) != clWhite) return false;
    return true;
  }
};

TEST_F(VariableDrawing, AnyValueGaugeBodyTicksAndLevelMark) {
  struct Row {
    const char* name;
    bool awake;
    Color body;
    Color mark;
  };
  const Row rows[] = {{"awake", true, clBlack, kMarkColor}, {"asleep", false, clSilver, clSilver}};
  for (const Row& row : rows) {
    RasterCanvas fresh(260, 220);
    TVarContinuaQualquerValor v;
    v.SetCanvas(&fresh);
    v.SetName("Nome");
    v.X = 100;
    v.Y = 110;
    v.Level = 0.5L;  // row 110 - 24 = 86
    v.Color = kMarkColor;
    v.Awake = row.awake;
    v.Draw();
    ExpectPixels(fresh, 70, 60, 130, 170,
                 [&](int x, int y) {
                   if (OnFrame(x, y, 85, 60, 114, 160)) return row.body;
                   if (y == 110 && (x == 86 || x == 87 || x == 112 || x == 113)) return row.body;
                   if (InBlock(x, y, 90, 85, 109, 87)) return row.mark;
                   return clWhite;
                 },
                 row.name);
  }
}

TEST_F(VariableDrawing, FixedPartsLeaveTheMarkOut) {
  TVarContinua v;
  Place(v, 100, 110);
  v.Level = 1;
  v.Color = kMarkColor;
  v.DrawFixedParts();
  ExpectPixels(canvas, 70, 85, 130, 140,
               [](int x, int y) { return OnFrame(x, y, 85, 85, 114, 135) ? clBlack : clWhite; },
               "fixed parts");
}

TEST_F(VariableDrawing, EraseLeavesTheCanvasWhite) {
  TVarLigaDesligaQualquerValor v;
  Place(v, 100, 110);
  v.Level = -0.25L;
  v.ThresholdLevel = 0.25L;
  v.Draw();
  ASSERT_FALSE(AllWhite());
  v.Erase();
  EXPECT_TRUE(AllWhite());
}

TEST_F(VariableDrawing, NameIsCentredAboveTheBody) {
  TVarContinua v;
  Place(v, 100, 110);
  v.DrawFixedParts();
  const int width = canvas.TextWidth("Nome");
  const int height = canvas.TextHeight("Nome");
  int minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN;
  for (int y = 0; y < 85; ++y)
    for (int x = 0; x < canvas.Width(); ++x)
      if (canvas.Pixel(x, y) != clWhite) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
  // Glyphs lie within the text box whose top-left corner is (X - n, Y - h - 16).
  EXPECT_GE(minX, 100 - width / 2);
  EXPECT_LT(maxX, 100 - width / 2 + width);
  EXPECT_GE(minY, 110 - 25 - 16);
  EXPECT_LT(maxY, 110 - 25 - 16 + height);
}

TEST_F(VariableDrawing, SelectionMarkSurroundsTheBodyTwoPixelsOutAndGoesAway) {
  TVarContinua v;
  Place(v, 100, 110);
  v.Draw();
  const auto before = canvas.Snapshot();
  RasterCanvas unmarked(260, 220);
  TVarContinua twin;
  Place(twin, 100, 110);
  twin.SetCanvas(&unmarked);
  twin.Draw();
  v.Select();
  // The body covers 85..114 x 85..135; the mark's frame is 83..116 x 83..137.
  ExpectPixels(canvas, 70, 70, 130, 150,
               [&](int x, int y) {
                 if (!OnFrame(x, y, 83, 83, 116, 137)) return unmarked.Pixel(x, y);
                 return canvas.Pixel(x, y) == clWhite ? clWhite : clRed;
               },
               "selected");
  EXPECT_NE(canvas.Snapshot(), before);
  v.Deselect();
  EXPECT_EQ(canvas.Snapshot(), before);
}

TEST_F(VariableDrawing, ALevelFarOffTheScaleDrawsNoMarkInsideTheBody) {
  TVarContinua v;
  Place(v, 100, 110);
  v.Level = 1e300L;
  v.Draw();
  ExpectPixels(canvas, 86, 86, 113, 134, [](int, int) { return clWhite; }, "inside the body");
}

TEST_F(VariableDrawing, ExtremeGeometryDrawsNothingAndHitsSafely) {
  TVarLigaDesligaQualquerValor v;
  Place(v, INT32_MAX, INT32_MAX);
  v.Level = 1e300L;
  v.ThresholdLevel = -1e300L;
  v.Draw();
  v.Select();
  v.DrawOutline();
  v.DrawOutline();
  v.Deselect();
  v.DrawFixedParts();
  EXPECT_TRUE(AllWhite());
  EXPECT_TRUE(v.HitTest(INT32_MAX, INT32_MAX));
  EXPECT_FALSE(v.HitTest(0, 0));

  v.X = INT32_MIN;
  v.Y = INT32_MIN;
  v.Draw();
  v.Select();
  EXPECT_TRUE(AllWhite());
  EXPECT_TRUE(v.HitTest(INT32_MIN, INT32_MIN));
}

/// Two gauges joined by a relationship, drawn the way the document paints the
/// model: relationships first, then variables.
class VariableDragging : public VariableDrawing {
protected:
  TVarContinua a;
  TVarContinua b;
  TRelacionamento link;

  void SetUp() override {
    Place(a, 70, 110);
    Place(b, 190, 120);
    a.Level = 0.5L;
    b.Level = 0.25L;
    link.SetCanvas(&canvas);
    link.Connect(&a, &b);
    a.AddRelationship(&link);
    b.AddRelationship(&link);
  }

  void Paint() {
    link.Draw();
    a.Draw();
    b.Draw();
  }
};

TEST_F(VariableDragging, MovingLeavesThePictureAsItWasAndMovesTheEndpoints) {
  Paint();
  const auto before = canvas.Snapshot();
  const std::int32_t oldStartY = link.StartY;

  ASSERT_TRUE(a.HitTest(75, 128));
  ASSERT_EQ(a.DragMode, DragMode::Body);
  a.BeginDrag(75, 128);
  EXPECT_NE(canvas.Snapshot(), before);
  a.DragTo(85, 38);
  a.DragTo(85, 38);
  a.DragTo(-500, 9000);  // kept inside the canvas
  EXPECT_EQ(a.X, std::max(15, a.HalfNameWidth));
  EXPECT_EQ(a.Y, 194);
  a.DragTo(85, 48);
  EXPECT_EQ(a.X, 80);
  EXPECT_EQ(a.Y, 41);
  a.EndDrag();

  EXPECT_EQ(canvas.Snapshot(), before);
  EXPECT_NE(link.StartY, oldStartY);
  // The variable is not redrawn: the document repaints after the drag.
  EXPECT_EQ(a.Level, 0.5L);
}

TEST_F(VariableDragging, SettingTheLevelLeavesTheGaugeWithoutItsMark) {
  Paint();
  ASSERT_TRUE(a.HitTest(60, 112));
  ASSERT_EQ(a.DragMode, DragMode::LevelMark);
  a.BeginDrag(60, 112);
  a.DragTo(0, 60);
  EXPECT_EQ(a.Level, 1);
  EXPECT_EQ(canvas.Pixel(70, 87), clSilver);  // the moving mark at the top
  a.DragTo(0, 120);
  a.DragTo(0, 120);
  a.EndDrag();
  EXPECT_EQ(a.Level, 13.0L / 46);
  EXPECT_EQ(a.X, 70);
  EXPECT_EQ(a.Y, 110);

  RasterCanvas expected(260, 220);
  TVarContinua ghost;
  ghost.SetCanvas(&expected);
  ghost.SetName("Nome");
  ghost.X = 70;
  ghost.Y = 110;
  link.SetCanvas(&expected);
  b.SetCanvas(&expected);
  link.Draw();
  ghost.DrawFixedParts();
  b.Draw();
  EXPECT_EQ(canvas.Snapshot(), expected.Snapshot());
}

TEST_F(VariableDragging, APressOutsideDragsNothing) {
  Paint();
  const auto before = canvas.Snapshot();
  ASSERT_FALSE(a.HitTest(5, 5));
  a.BeginDrag(5, 5);
  a.DragTo(50, 50);
  a.EndDrag();
  EXPECT_EQ(a.X, 70);
  EXPECT_EQ(a.Y, 110);
  EXPECT_EQ(canvas.Snapshot(), before);
}

}  // namespace
