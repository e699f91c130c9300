#include "model/uObjGrf.h"

#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <climits>

using model_test::CanvasState;
using model_test::FakeCanvas;
using model_test::StateOf;

namespace {

/// The smallest concrete object: a filled rectangle over its half extents.
class Box : public TObjGrafico {
public:
  Box(std::int32_t hw, std::int32_t hh) {
    HalfWidth = hw;
    HalfHeight = hh;
  }
  void DrawShape() override {
    Canvas->Rectangle(SatAdd(X, -std::int64_t(HalfWidth)), SatAdd(Y, -std::int64_t(HalfHeight)),
                      SatAdd(X, HalfWidth), SatAdd(Y, HalfHeight));
  }
};

struct PresetCase {
  const char* name;
  void (TObjGrafico::*preset)();
  CanvasState expected;
};

// Starting from a state that no preset produces, so that every property a
// preset leaves alone can be seen to stay.
const CanvasState kStart = {RGBColor(1, 2, 3), 3, PenStyle::psDot, PenMode::pmNotXor,
                            RGBColor(4, 5, 6), BrushStyle::bsSolid, RGBColor(7, 8, 9),
                            FontSpec{"Arial", 14, true}};

CanvasState With(void (*edit)(CanvasState&)) {
  CanvasState s = kStart;
  edit(s);
  return s;
}

TEST(GraphicObjectPresets, EachPresetSetsExactlyItsProperties) {
  const PresetCase cases[] = {
      {"normal", &TObjGrafico::UseNormalPens, With([](CanvasState& s) {
         s.penColor = clBlack;
         s.penStyle = PenStyle::psSolid;
         s.penMode = PenMode::pmCopy;
         s.brushStyle = BrushStyle::bsClear;
         s.fontColor = clBlack;
       })},
      {"erase", &TObjGrafico::UseErasePens, With([](CanvasState& s) {
         s.penColor = clWhite;
         s.penStyle = PenStyle::psSolid;
         s.penMode = PenMode::pmCopy;
         s.brushColor = clWhite;
         s.brushStyle = BrushStyle::bsSolid;
         s.fontColor = clWhite;
       })},
      {"outline", &TObjGrafico::UseOutlinePens, With([](CanvasState& s) {
         s.penColor = clSilver;
         s.penStyle = PenStyle::psSolid;
         s.penMode = PenMode::pmNotXor;
         s.brushColor = clWhite;
         s.brushStyle = BrushStyle::bsClear;
       })},
      {"mark", &TObjGrafico::UseMarkPens, With([](CanvasState& s) {
         s.penColor = RGBColor(255, 0, 0);
         s.penStyle = PenStyle::psDot;
         s.penMode = PenMode::pmNotXor;
         s.brushStyle = BrushStyle::bsClear;
       })},
      {"asleep", &TObjGrafico::UseAsleepPens, With([](CanvasState& s) {
         s.penColor = clSilver;
         s.penStyle = PenStyle::psSolid;
         s.penMode = PenMode::pmCopy;
         s.brushColor = clSilver;
         s.brushStyle = BrushStyle::bsClear;
         s.fontColor = clSilver;
       })},
  };
  for (const PresetCase& c : cases) {
    FakeCanvas canvas;
    canvas.state = kStart;
    Box box(1, 1);
    box.SetCanvas(&canvas);
    (box.*c.preset)();
    EXPECT_EQ(canvas.state, c.expected) << c.name;
    EXPECT_EQ(canvas.figures, 0) << c.name;
  }
}

TEST(GraphicObjectBase, HitTestAndSpareQueryAnswerFalseEverywhere) {
  Box box(10, 10);
  box.X = 50;
  box.Y = 50;
  const std::int32_t points[][2] = {{50, 50}, {40, 40}, {0, 0}, {INT32_MIN, INT32_MAX}};
  for (const auto& p : points) EXPECT_FALSE(box.HitTest(p[0], p[1]));
  EXPECT_FALSE(box.SpareQuery());
}

class GraphicObjectPixels : public ::testing::Test {
protected:
  RasterCanvas canvas{120, 100};
};

TEST_F(GraphicObjectPixels, ZeroSizeObjectGetsTheSmallMarkAroundItsCentre) {
  // Rectangle (X-2, Y-2, X+2, Y+3): five x and six y coordinates, so the
  // columns X-2 .. X+1 and the rows Y-2 .. Y+2.
  Box box(0, 0);
  box.SetCanvas(&canvas);
  box.X = 60;
  box.Y = 50;
  box.Select();
  EXPECT_TRUE(box.Selected);
  int minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) {
      const Color p = canvas.Pixel(x, y);
      if (p == clWhite) continue;
      EXPECT_EQ(p, clRed) << x << "," << y;
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
    }
  EXPECT_EQ(minX, 58);
  EXPECT_EQ(maxX, 61);
  EXPECT_EQ(minY, 48);
  EXPECT_EQ(maxY, 52);
}

TEST_F(GraphicObjectPixels, SelectThenDeselectRestoresTheCanvas) {
  Box box(8, 5);
  box.SetCanvas(&canvas);
  box.X = 30;
  box.Y = 40;
  box.Draw();
  const auto before = canvas.Snapshot();
  box.Select();
  EXPECT_NE(canvas.Snapshot(), before);
  box.Deselect();
  EXPECT_FALSE(box.Selected);
  EXPECT_EQ(canvas.Snapshot(), before);
}

TEST_F(GraphicObjectPixels, OutlineDragShowsOneOutlineAndRemovesItAtTheEnd) {
  Box box(6, 4);
  box.SetCanvas(&canvas);
  box.X = 30;
  box.Y = 30;
  const auto blank = canvas.Snapshot();

  box.BeginDrag(32, 31);
  EXPECT_EQ(box.DragOffsetX, 2);
  EXPECT_EQ(box.DragOffsetY, 1);
  box.DragTo(72, 61);
  box.DragTo(72, 61);  // the same point twice: the outline stays, once
  EXPECT_EQ(box.X, 70);
  EXPECT_EQ(box.Y, 60);

  // The only figure on the canvas is the outline at the new place.
  RasterCanvas expected(120, 100);
  Box ghost(6, 4);
  ghost.SetCanvas(&expected);
  ghost.X = 70;
  ghost.Y = 60;
  ghost.UseOutlinePens();
  ghost.DrawOutline();
  EXPECT_EQ(canvas.Snapshot(), expected.Snapshot());

  box.EndDrag();
  EXPECT_EQ(canvas.Snapshot(), blank);
}

TEST_F(GraphicObjectPixels, ObjectAtTheEdgeOfTheCoordinateRangeSaturates) {
  Box box(INT32_MAX, INT32_MAX);
  box.SetCanvas(&canvas);
  box.X = INT32_MAX;
  box.Y = INT32_MIN;
  const auto blank = canvas.Snapshot();
  box.Select();
  box.Deselect();
  EXPECT_EQ(canvas.Snapshot(), blank);

  box.BeginDrag(INT32_MIN, INT32_MAX);
  EXPECT_EQ(box.DragOffsetX, INT32_MIN);
  EXPECT_EQ(box.DragOffsetY, INT32_MAX);
  box.DragTo(INT32_MAX, INT32_MIN);
  EXPECT_EQ(box.X, INT32_MAX);
  EXPECT_EQ(box.Y, INT32_MIN);
  box.EndDrag();
  EXPECT_EQ(canvas.Snapshot(), blank);
}

}  // namespace
