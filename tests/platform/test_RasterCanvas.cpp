#include "platform/RasterCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr Color kBrush = clRed;

/// The canvas as text: '.' white, '#' black (the pen), 'o' red (the brush).
std::vector<std::string> Art(const RasterCanvas& c) {
  std::vector<std::string> rows;
  for (std::int32_t y = 0; y < c.Height(); ++y) {
    std::string row;
    for (std::int32_t x = 0; x < c.Width(); ++x) {
      const Color p = c.Pixel(x, y);
      row += p == clWhite ? '.' : p == clBlack ? '#' : p == kBrush ? 'o' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

/// A canvas with a black pen and the brush red or clear.
struct Setup {
  int penWidth = 1;
  PenStyle penStyle = PenStyle::psSolid;
  bool brush = true;
};

void Prepare(RasterCanvas& c, const Setup& s) {
  c.SetPenColor(clBlack);
  c.SetPenWidth(s.penWidth);
  c.SetPenStyle(s.penStyle);
  c.SetBrushColor(kBrush);
  if (!s.brush) c.SetBrushStyle(BrushStyle::bsClear);
}

struct ArtCase {
  const char* name;
  Setup setup;
  std::function<void(Canvas&)> draw;
  std::vector<std::string> expected;
};

class CanvasArt : public testing::TestWithParam<ArtCase> {};

TEST_P(CanvasArt, DrawsExactlyThesePixels) {
  const ArtCase& tc = GetParam();
  RasterCanvas c(static_cast<std::int32_t>(tc.expected[0].size()),
                 static_cast<std::int32_t>(tc.expected.size()));
  Prepare(c, tc.setup);
  tc.draw(c);
  EXPECT_EQ(Art(c), tc.expected);
}

const ArtCase kArtCases[] = {
    {"RectangleLeavesOutRightAndBottom", {}, [](Canvas& c) { c.Rectangle(1, 1, 6, 5); },
     {"........",
      ".#####..",
      ".#ooo#..",
      ".#ooo#..",
      ".#####..",
      "........"}},
    {"RectangleOrdersItsCorners", {}, [](Canvas& c) { c.Rectangle(6, 5, 1, 1); },
     {"........",
      ".#####..",
      ".#ooo#..",
      ".#ooo#..",
      ".#####..",
      "........"}},
    {"ClearBrushLeavesTheInside", {1, PenStyle::psSolid, false},
     [](Canvas& c) { c.Rectangle(1, 1, 6, 5); },
     {"........",
      ".#####..",
      ".#...#..",
      ".#...#..",
      ".#####..",
      "........"}},
    {"ClearPenFillsOnePixelLessRightAndBottom", {1, PenStyle::psClear, true},
     [](Canvas& c) { c.Rectangle(1, 1, 6, 5); },
     {"........",
      ".oooo...",
      ".oooo...",
      ".oooo...",
      "........",
      "........"}},
    {"ClearPenAndClearBrushDrawNothing", {1, PenStyle::psClear, false},
     [](Canvas& c) { c.Rectangle(1, 1, 6, 5); },
     {"........",
      "........",
      "........"}},
    {"WidthTwoAddsARingInside", {2, PenStyle::psSolid, true},
     [](Canvas& c) { c.Rectangle(1, 1, 7, 6); },
     {".........",
      ".######..",
      ".######..",
      ".##oo##..",
      ".######..",
      ".######..",
      "........."}},
    {"WidthThreeAddsARingOnEachSide", {3, PenStyle::psSolid, true},
     [](Canvas& c) { c.Rectangle(2, 2, 9, 8); },
     {"...........",
      ".#########.",
      ".#########.",
      ".#########.",
      ".###ooo###.",
      ".###ooo###.",
      ".#########.",
      ".#########.",
      ".#########.",
      "..........."}},
    {"DottedFrameAlternatesClockwiseFromTopLeft", {1, PenStyle::psDot, false},
     [](Canvas& c) { c.Rectangle(1, 1, 6, 5); },
     {"........",
      ".#.#.#..",
      "........",
      ".#...#..",
      "..#.#...",
      "........"}},
    {"DottedFrameStillFillsTheInside", {1, PenStyle::psDot, true},
     [](Canvas& c) { c.Rectangle(1, 1, 5, 4); },
     {".......",
      ".#.#...",
      "..oo#..",
      ".#.#...",
      "......."}},
    {"OnePixelWideRectangleIsAColumn", {}, [](Canvas& c) { c.Rectangle(2, 1, 3, 4); },
     {".....",
      "..#..",
      "..#..",
      "..#..",
      "....."}},
    {"EmptyRectangleDrawsNothing", {}, [](Canvas& c) {
       c.Rectangle(2, 1, 2, 4);
       c.Rectangle(1, 2, 4, 2);
     },
     {".....",
      ".....",
      "....."}},
    {"EmptyRectangleWithWidePenIsJustItsRing", {3, PenStyle::psSolid, true},
     [](Canvas& c) { c.Rectangle(2, 2, 2, 2); },
     {".....",
      ".##..",
      ".##..",
      "....."}},
    {"DottedColumnVisitsEachPixelOnce", {1, PenStyle::psDot, false},
     [](Canvas& c) { c.Rectangle(1, 0, 2, 5); },
     {".#.",
      "...",
      ".#.",
      "...",
      ".#."}},
    {"LineLeavesOutItsEndPoint", {}, [](Canvas& c) {
       c.MoveTo(1, 1);
       c.LineTo(7, 4);
     },
     {".........",
      ".#.......",
      "..##.....",
      "....##...",
      "......#..",
      "........."}},
    {"LineBackwardsIsWalkedFromItsOwnStart", {}, [](Canvas& c) {
       c.MoveTo(7, 4);
       c.LineTo(1, 1);
     },
     {".........",
      "..#......",
      "...##....",
      ".....##..",
      ".......#.",
      "........."}},
    {"SteepLineStepsAlongY", {}, [](Canvas& c) {
       c.MoveTo(1, 0);
       c.LineTo(3, 5);
     },
     {".#...",
      ".#...",
      "..#..",
      "..#..",
      "...#.",
      "....."}},
    {"PolylineJoinsAtTheCorner", {}, [](Canvas& c) {
       c.MoveTo(1, 1);
       c.LineTo(4, 1);
       c.LineTo(4, 4);
     },
     {"......",
      ".####.",
      "....#.",
      "....#.",
      "......"}},
    {"ZeroLengthLineDrawsNothing", {}, [](Canvas& c) {
       c.MoveTo(2, 2);
       c.LineTo(2, 2);
     },
     {".....",
      ".....",
      "....."}},
    {"DottedLineStartsWithADrawnPixel", {1, PenStyle::psDot, false}, [](Canvas& c) {
       c.MoveTo(0, 1);
       c.LineTo(7, 1);
       c.MoveTo(7, 2);
       c.LineTo(0, 2);
     },
     {"........",
      "#.#.#.#.",
      ".#.#.#.#"}},
    {"WidthTwoLineStampsDownAndRight", {2, PenStyle::psSolid, false}, [](Canvas& c) {
       c.MoveTo(2, 2);
       c.LineTo(6, 2);
     },
     {"........",
      "........",
      "..#####.",
      "..#####.",
      "........"}},
    {"WidthThreeLineIsCentred", {3, PenStyle::psSolid, false}, [](Canvas& c) {
       c.MoveTo(2, 3);
       c.LineTo(5, 6);
     },
     {"........",
      "........",
      ".###....",
      ".####...",
      ".#####..",
      "..####..",
      "...###..",
      "........"}},
    {"SmallCircleIsSymmetricAndClosed", {}, [](Canvas& c) { c.Ellipse(1, 1, 9, 9); },
     {"..........",
      "...####...",
      "..#oooo#..",
      ".#oooooo#.",
      ".#oooooo#.",
      ".#oooooo#.",
      ".#oooooo#.",
      "..#oooo#..",
      "...####...",
      ".........."}},
    {"ClearPenEllipseFillsOnePixelLess", {1, PenStyle::psClear, true},
     [](Canvas& c) { c.Ellipse(1, 1, 10, 10); },
     {"..........",
      "...oooo...",
      "..oooooo..",
      ".oooooooo.",
      ".oooooooo.",
      ".oooooooo.",
      ".oooooooo.",
      "..oooooo..",
      "...oooo...",
      ".........."}},
    {"OnePixelWideEllipseIsAColumn", {}, [](Canvas& c) { c.Ellipse(1, 0, 2, 4); },
     {".#.",
      ".#.",
      ".#.",
      ".#."}},
};

INSTANTIATE_TEST_SUITE_P(RasterCanvas, CanvasArt, testing::ValuesIn(kArtCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RasterCanvasState, NewCanvasHasTheDocumentedDefaults) {
  RasterCanvas c(4, 3);
  EXPECT_EQ(c.PenColor(), clBlack);
  EXPECT_EQ(c.PenWidth(), 1);
  EXPECT_EQ(c.PenStyle(), PenStyle::psSolid);
  EXPECT_EQ(c.PenMode(), PenMode::pmCopy);
  EXPECT_EQ(c.BrushColor(), clWhite);
  EXPECT_EQ(c.BrushStyle(), BrushStyle::bsSolid);
  EXPECT_EQ(c.FontColor(), clBlack);
  EXPECT_EQ(c.Font(), FontSpec{});
  EXPECT_EQ(c.ClipRect(), (CanvasRect{0, 0, 4, 3}));
  EXPECT_EQ(c.Snapshot(), std::vector<std::uint32_t>(12, 0xffffffffu));
}

TEST(RasterCanvasState, SettingTheBrushColourMakesItSolid) {
  RasterCanvas c(4, 3);
  c.SetBrushStyle(BrushStyle::bsClear);
  c.SetBrushColor(kBrush);
  EXPECT_EQ(c.BrushStyle(), BrushStyle::bsSolid);
}

TEST(RasterCanvasState, LineToMovesThePenEvenWhenNothingIsVisible) {
  RasterCanvas c(6, 3);
  c.MoveTo(-50, 1);
  c.LineTo(-10, 1);
  c.LineTo(3, 1);
  EXPECT_EQ(Art(c), (std::vector<std::string>{"......", "###...", "......"}));
}

TEST(RasterCanvasPixels, ColoursAreStoredAsRgb32AndAnsweredAsBgr) {
  RasterCanvas c(3, 2);
  const Color teal = RGBColor(0x12, 0x34, 0x56);
  c.SetPixel(1, 1, teal);
  EXPECT_EQ(c.Pixel(1, 1), teal);
  EXPECT_EQ(c.Bits()[1 * 3 + 1], 0xff123456u);
}

TEST(RasterCanvasPixels, SetPixelIgnoresModeAndClipAndOutsideIsWhite) {
  RasterCanvas c(3, 2);
  c.SetPenMode(PenMode::pmNotXor);
  c.SetClipRect({0, 0, 1, 1});
  c.SetPixel(2, 1, clRed);
  c.SetPixel(2, 1, clRed);
  EXPECT_EQ(c.Pixel(2, 1), clRed);
  c.SetPixel(-1, 0, clBlack);
  c.SetPixel(3, 0, clBlack);
  EXPECT_EQ(c.Pixel(-1, 0), clWhite);
  EXPECT_EQ(c.Pixel(kMax, kMin), clWhite);
}

TEST(RasterCanvasPixels, ResizeWhitensAndResetsTheClip) {
  RasterCanvas c(3, 2);
  c.SetClipRect({1, 1, 2, 2});
  c.SetPixel(0, 0, clBlack);
  c.Resize(5, 4);
  EXPECT_EQ(c.Width(), 5);
  EXPECT_EQ(c.Height(), 4);
  EXPECT_EQ(c.ClipRect(), (CanvasRect{0, 0, 5, 4}));
  EXPECT_EQ(c.Snapshot(), std::vector<std::uint32_t>(20, 0xffffffffu));
}

TEST(RasterCanvasPixels, NotXorInvertsAgainstThePenColour) {
  RasterCanvas c(2, 1);
  c.SetPixel(1, 0, RGBColor(0x10, 0x20, 0x30));
  c.SetPenMode(PenMode::pmNotXor);
  c.SetPenColor(clSilver);
  c.MoveTo(0, 0);
  c.LineTo(2, 0);
  // ~(src ^ dst) per channel: white under silver gives silver.
  EXPECT_EQ(c.Pixel(0, 0), clSilver);
  EXPECT_EQ(c.Pixel(1, 0), RGBColor(0x2f, 0x1f, 0x0f));
}

TEST(RasterCanvasClip, FiguresStayInsideTheClipRectangle) {
  RasterCanvas c(8, 6);
  Prepare(c, {});
  c.SetClipRect({2, 1, 6, 4});
  c.Rectangle(0, 0, 8, 6);
  c.Ellipse(0, 0, 8, 6);
  c.MoveTo(0, 0);
  c.LineTo(8, 6);
  c.SetFontColor(clBlack);
  c.TextOut(0, 0, "WWWW");
  for (std::int32_t y = 0; y < 6; ++y)
    for (std::int32_t x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 1 && y < 4;
      if (!inside) {
        EXPECT_EQ(c.Pixel(x, y), clWhite) << x << "," << y;
      }
    }
  EXPECT_NE(c.Pixel(3, 2), clWhite);
}

TEST(RasterCanvasClip, AClipLargerThanTheBufferIsKeptButDrawingStaysInside) {
  RasterCanvas c(4, 3);
  c.SetClipRect({-10, -10, 100, 100});
  EXPECT_EQ(c.ClipRect(), (CanvasRect{-10, -10, 100, 100}));
  Prepare(c, {3, PenStyle::psSolid, true});
  c.Rectangle(-5, -5, 50, 50);
  c.SetPenWidth(1);
  c.MoveTo(-5, 1);
  c.LineTo(50, 1);
  EXPECT_EQ(Art(c), (std::vector<std::string>{"oooo", "####", "oooo"}));
}

/// A background where every pixel differs, so that an inversion can't hide.
void Patterned(RasterCanvas& c) {
  for (std::int32_t y = 0; y < c.Height(); ++y)
    for (std::int32_t x = 0; x < c.Width(); ++x)
      c.SetPixel(x, y, RGBColor(static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 13),
                                static_cast<std::uint8_t>(x * y)));
}

struct FigureCase {
  const char* name;
  Setup setup;
  std::function<void(Canvas&)> draw;
};

class NotXorTwice : public testing::TestWithParam<FigureCase> {};

TEST_P(NotXorTwice, RestoresEveryPixel) {
  const FigureCase& tc = GetParam();
  RasterCanvas c(40, 36);
  Patterned(c);
  const auto before = c.Snapshot();
  Prepare(c, tc.setup);
  c.SetPenColor(RGBColor(200, 30, 90));
  c.SetBrushColor(RGBColor(10, 220, 60));
  if (!tc.setup.brush) c.SetBrushStyle(BrushStyle::bsClear);
  c.SetPenMode(PenMode::pmNotXor);
  tc.draw(c);
  EXPECT_NE(c.Snapshot(), before) << "the figure must show";
  tc.draw(c);
  EXPECT_EQ(c.Snapshot(), before);
}

void Polyline(Canvas& c) {
  c.MoveTo(3, 30);
  c.LineTo(20, 4);
  c.LineTo(37, 33);
  c.LineTo(3, 30);
  c.LineTo(36, 5);
}

const FigureCase kFigures[] = {
    {"Rectangle", {}, [](Canvas& c) { c.Rectangle(3, 4, 30, 25); }},
    {"RectangleWidth2", {2, PenStyle::psSolid, true}, [](Canvas& c) { c.Rectangle(3, 4, 30, 25); }},
    {"RectangleWidth3Clear", {3, PenStyle::psSolid, false}, [](Canvas& c) { c.Rectangle(30, 25, 3, 4); }},
    {"TinyRectangleWidth3", {3, PenStyle::psSolid, true}, [](Canvas& c) { c.Rectangle(5, 5, 6, 7); }},
    {"DottedRectangle", {1, PenStyle::psDot, false}, [](Canvas& c) { c.Rectangle(2, 2, 37, 33); }},
    {"DottedRectangleFilled", {1, PenStyle::psDot, true}, [](Canvas& c) { c.Rectangle(2, 2, 17, 9); }},
    {"ClearPenRectangle", {1, PenStyle::psClear, true}, [](Canvas& c) { c.Rectangle(2, 2, 17, 9); }},
    {"Circle", {}, [](Canvas& c) { c.Ellipse(5, 5, 25, 25); }},
    {"EllipseWidth2", {2, PenStyle::psSolid, true}, [](Canvas& c) { c.Ellipse(5, 5, 35, 20); }},
    {"EllipseWidth3", {3, PenStyle::psSolid, true}, [](Canvas& c) { c.Ellipse(5, 5, 25, 25); }},
    {"TinyEllipseWidth3", {3, PenStyle::psSolid, true}, [](Canvas& c) { c.Ellipse(5, 5, 7, 6); }},
    {"DottedEllipse", {1, PenStyle::psDot, false}, [](Canvas& c) { c.Ellipse(2, 3, 27, 28); }},
    {"DottedEllipseFilled", {1, PenStyle::psDot, true}, [](Canvas& c) { c.Ellipse(2, 3, 39, 14); }},
    {"ClearPenEllipse", {1, PenStyle::psClear, true}, [](Canvas& c) { c.Ellipse(2, 3, 39, 14); }},
    {"Lines", {}, Polyline},
    {"DottedLines", {1, PenStyle::psDot, false}, Polyline},
    {"LinesWidth2", {2, PenStyle::psSolid, false}, Polyline},
    {"LinesWidth3", {3, PenStyle::psSolid, false}, Polyline},
    {"FiguresCutByTheEdge", {3, PenStyle::psSolid, true}, [](Canvas& c) {
       c.Ellipse(-10, -10, 15, 12);
       c.Rectangle(30, 30, 50, 50);
       c.MoveTo(-5, 20);
       c.LineTo(45, 22);
     }},
};

/// Every pixel that differs between two snapshots lies in one of the boxes.
void ExpectChangesInside(const RasterCanvas& c, const std::vector<std::uint32_t>& before,
                         const std::vector<CanvasRect>& boxes, const std::string& name) {
  const std::vector<std::uint32_t> after = c.Snapshot();
  int changed = 0;
  for (std::int32_t y = 0; y < c.Height(); ++y) {
    for (std::int32_t x = 0; x < c.Width(); ++x) {
      const std::size_t i = std::size_t(y) * std::size_t(c.Width()) + std::size_t(x);
      if (before[i] == after[i]) continue;
      ++changed;
      const bool inside = std::any_of(boxes.begin(), boxes.end(), [&](const CanvasRect& b) {
        return b.left <= x && x < b.right && b.top <= y && y < b.bottom;
      });
      EXPECT_TRUE(inside) << name << ": pixel " << x << "," << y << " changed outside";
    }
  }
  EXPECT_GT(changed, 0) << name;
}

TEST_P(NotXorTwice, ReportsBoxesHoldingEveryPixelItChanged) {
  const FigureCase& tc = GetParam();
  for (PenMode mode : {PenMode::pmCopy, PenMode::pmNotXor}) {
    RasterCanvas c(40, 36);
    Patterned(c);
    c.TakeChangedRects();
    const auto before = c.Snapshot();
    Prepare(c, tc.setup);
    c.SetPenColor(RGBColor(200, 30, 90));
    c.SetPenMode(mode);
    tc.draw(c);
    ExpectChangesInside(c, before, c.TakeChangedRects(), tc.name);
    EXPECT_TRUE(c.TakeChangedRects().empty()) << "taken boxes are forgotten";
  }
}

TEST(RasterCanvasChanges, TextPixelsAndResizesAreReported) {
  RasterCanvas c(120, 40);
  c.TakeChangedRects();
  const auto before = c.Snapshot();
  c.SetBrushColor(RGBColor(250, 250, 0));
  c.TextOut(100, 10, "Nome");
  c.SetPixel(3, 3, clBlack);
  ExpectChangesInside(c, before, c.TakeChangedRects(), "text at the edge and a pixel");

  c.Resize(30, 20);
  const std::vector<CanvasRect> all = c.TakeChangedRects();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0], (CanvasRect{0, 0, 30, 20}));
}

TEST(RasterCanvasChanges, ManyScatteredFiguresMergeIntoBoxesThatStillHoldThem) {
  RasterCanvas c(300, 300);
  c.TakeChangedRects();
  const auto before = c.Snapshot();
  for (int i = 0; i < 600; ++i) {
    const int x = (i * 37) % 290, y = (i * 91) % 290;
    c.Rectangle(x, y, x + 4, y + 3);
  }
  const std::vector<CanvasRect> boxes = c.TakeChangedRects();
  EXPECT_LE(boxes.size(), 256u);
  ExpectChangesInside(c, before, boxes, "scattered rectangles");
}

INSTANTIATE_TEST_SUITE_P(RasterCanvas, NotXorTwice, testing::ValuesIn(kFigures),
                         [](const auto& info) { return std::string(info.param.name); });

using PixelSet = std::set<std::pair<int, int>>;

PixelSet PixelsOf(const RasterCanvas& c, Color colour) {
  PixelSet out;
  for (std::int32_t y = 0; y < c.Height(); ++y)
    for (std::int32_t x = 0; x < c.Width(); ++x)
      if (c.Pixel(x, y) == colour) out.insert({x, y});
  return out;
}

struct BoxCase {
  int l, t, r, b;
};

class EllipseShape : public testing::TestWithParam<BoxCase> {};

TEST_P(EllipseShape, FillsItsBoxSymmetricallyInsideAClosedOutline) {
  const auto [l, t, r, b] = GetParam();
  RasterCanvas c(r + 2, b + 2);
  Prepare(c, {});
  c.Ellipse(l, t, r, b);
  const PixelSet outline = PixelsOf(c, clBlack);
  const PixelSet inside = PixelsOf(c, kBrush);
  // Touches all four sides of its box and nothing outside it.
  int minX = r, maxX = l, minY = b, maxY = t;
  for (const auto& [x, y] : outline) {
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
    EXPECT_TRUE(outline.count({l + r - 1 - x, y}) && outline.count({x, t + b - 1 - y}))
        << "asymmetric at " << x << "," << y;
  }
  EXPECT_EQ(minX, l);
  EXPECT_EQ(maxX, r - 1);
  EXPECT_EQ(minY, t);
  EXPECT_EQ(maxY, b - 1);
  // Closed: no brush pixel touches the white outside.
  for (const auto& [x, y] : inside)
    for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
      EXPECT_NE(c.Pixel(x + dx, y + dy), clWhite) << "leak at " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(RasterCanvas, EllipseShape,
                         testing::Values(BoxCase{1, 1, 21, 21}, BoxCase{1, 1, 26, 26},
                                         BoxCase{2, 3, 60, 13}, BoxCase{2, 3, 9, 50},
                                         BoxCase{1, 1, 4, 3}, BoxCase{1, 1, 3, 30},
                                         BoxCase{1, 1, 30, 3}, BoxCase{1, 1, 12, 2}));

TEST(EllipseShape, TwentyPixelCircleIsRound) {
  RasterCanvas c(22, 22);
  Prepare(c, {});
  c.Ellipse(1, 1, 21, 21);
  // Each row's width stays within a pixel of the true circle of radius 10.
  for (int y = 1; y < 21; ++y) {
    int left = 21, right = 0;
    for (int x = 0; x < 22; ++x)
      if (c.Pixel(x, y) != clWhite) left = std::min(left, x), right = std::max(right, x);
    const double dy = y + 0.5 - 11.0;
    const double halfWidth = std::sqrt(100.0 - dy * dy);
    EXPECT_NEAR((right + 1 - left) / 2.0, halfWidth, 1.0) << "row " << y;
  }
}

/// The order a dotted pen walks an outline in: clockwise from the top, down
/// the right half (columns from the centre right) row by row, then up the
/// left half; upper rows left to right, lower rows right to left.
std::vector<std::pair<int, int>> OutlineWalk(const PixelSet& outline, int l, int t, int r, int b) {
  const int centre = (l + r) >> 1;
  const auto upper = [&](int y) { return 2 * y <= t + b - 1; };
  std::vector<std::pair<int, int>> walk;
  const auto row = [&](int y, bool rightHalf) {
    std::vector<int> xs;
    for (int x = l; x < r; ++x)
      if (outline.count({x, y}) && (x >= centre) == rightHalf) xs.push_back(x);
    if (!upper(y)) std::reverse(xs.begin(), xs.end());
    for (int x : xs) walk.push_back({x, y});
  };
  for (int y = t; y < b; ++y) row(y, true);
  for (int y = b - 1; y >= t; --y) row(y, false);
  return walk;
}

class DottedEllipse : public testing::TestWithParam<BoxCase> {};

TEST_P(DottedEllipse, DrawsEveryOtherPixelAlongTheOutline) {
  const auto [l, t, r, b] = GetParam();
  RasterCanvas solid(r + 2, b + 2);
  Prepare(solid, {1, PenStyle::psSolid, false});
  solid.Ellipse(l, t, r, b);
  RasterCanvas dotted(r + 2, b + 2);
  Prepare(dotted, {1, PenStyle::psDot, false});
  dotted.Ellipse(l, t, r, b);

  const auto walk = OutlineWalk(PixelsOf(solid, clBlack), l, t, r, b);
  PixelSet expected;
  for (std::size_t i = 0; i < walk.size(); i += 2) expected.insert(walk[i]);
  EXPECT_EQ(PixelsOf(dotted, clBlack), expected);
}

INSTANTIATE_TEST_SUITE_P(
    RasterCanvas, DottedEllipse,
    testing::Values(BoxCase{1, 1, 21, 21}, BoxCase{1, 1, 22, 22}, BoxCase{2, 2, 27, 27},
                    BoxCase{1, 1, 2, 30}, BoxCase{1, 1, 3, 31}, BoxCase{1, 1, 4, 40},
                    BoxCase{1, 1, 31, 2}, BoxCase{1, 1, 30, 3}, BoxCase{3, 2, 203, 23},
                    BoxCase{3, 2, 24, 203}, BoxCase{1, 1, 200, 58}, BoxCase{1, 1, 400, 399},
                    BoxCase{1, 1, 5, 4}, BoxCase{1, 1, 2, 2}));

/// Figures far larger than the canvas must cost only their visible part and
/// give the pixels their small equivalents give.
struct HugeCase {
  const char* name;
  Setup setup;
  std::function<void(Canvas&)> huge;
  std::function<void(Canvas&)> small;
};

class HugeCoordinates : public testing::TestWithParam<HugeCase> {};

TEST_P(HugeCoordinates, DrawLikeTheirSmallEquivalents) {
  const HugeCase& tc = GetParam();
  RasterCanvas huge(120, 90), small(120, 90);
  Prepare(huge, tc.setup);
  Prepare(small, tc.setup);
  tc.huge(huge);
  tc.small(small);
  EXPECT_EQ(Art(huge), Art(small));
  EXPECT_NE(small.Snapshot(), RasterCanvas(120, 90).Snapshot());
  // And it vanishes again in not-xor.
  RasterCanvas twice(120, 90);
  Patterned(twice);
  const auto before = twice.Snapshot();
  Prepare(twice, tc.setup);
  twice.SetPenMode(PenMode::pmNotXor);
  tc.huge(twice);
  tc.huge(twice);
  EXPECT_EQ(twice.Snapshot(), before);
}

const HugeCase kHugeCases[] = {
    {"ShallowLineAcrossTheWholeRange", {},
     [](Canvas& c) { c.MoveTo(kMin, -(1 << 30)), c.LineTo(kMax - 1, (1 << 30) - 1); },
     [](Canvas& c) { c.MoveTo(0, 0), c.LineTo(200, 100); }},
    {"ShallowLineBackwards", {1, PenStyle::psDot, false},
     [](Canvas& c) { c.MoveTo(kMax - 1, (1 << 30) - 1), c.LineTo(kMin, -(1 << 30)); },
     [](Canvas& c) { c.MoveTo(200, 100), c.LineTo(-2, -1); }},
    {"DottedSteepLine", {1, PenStyle::psDot, false},
     [](Canvas& c) { c.MoveTo(-(1 << 30), kMin), c.LineTo((1 << 30) - 1, kMax - 1); },
     [](Canvas& c) { c.MoveTo(0, 0), c.LineTo(100, 200); }},
    {"WideLineFromFarAway", {3, PenStyle::psSolid, false},
     [](Canvas& c) { c.MoveTo(kMin, 40), c.LineTo(60, 40); },
     [](Canvas& c) { c.MoveTo(-10, 40), c.LineTo(60, 40); }},
    {"NearlyFlatLineOverFourBillionPixels", {},
     [](Canvas& c) { c.MoveTo(kMin, 5), c.LineTo(kMax, 7); },
     [](Canvas& c) { c.MoveTo(-10, 6), c.LineTo(130, 6); }},
    {"RectangleOfFourBillionPixelsAcross", {},
     [](Canvas& c) { c.Rectangle(kMin, 2, kMax, 60); },
     [](Canvas& c) { c.Rectangle(-5, 2, 200, 60); }},
    {"RectangleCoveringThePlane", {3, PenStyle::psSolid, true},
     [](Canvas& c) { c.Rectangle(kMin, kMin, kMax, kMax); },
     [](Canvas& c) { c.Rectangle(-10, -10, 200, 200); }},
    {"DottedRectangleFromFarAway", {1, PenStyle::psDot, true},
     [](Canvas& c) { c.Rectangle(kMin, 3, 50, 40); },
     [](Canvas& c) { c.Rectangle(-4, 3, 50, 40); }},
    {"EllipseTheSizeOfTheRange", {},
     [](Canvas& c) { c.Ellipse(kMin, kMin, kMax, kMax); },
     [](Canvas& c) { c.Rectangle(-10, -10, 200, 200); }},
    {"EllipseEdgeCrossingTheCanvas", {2, PenStyle::psSolid, true},
     [](Canvas& c) { c.Ellipse(kMin, kMin, 60, kMax); },
     [](Canvas& c) { c.Ellipse(-1000, -100000, 60, 100000); }},
    {"ClearPenEllipseEdge", {1, PenStyle::psClear, true},
     [](Canvas& c) { c.Ellipse(kMin, kMin, 61, kMax); },
     [](Canvas& c) { c.Ellipse(-1000, -100000, 61, 100000); }},
};

INSTANTIATE_TEST_SUITE_P(RasterCanvas, HugeCoordinates, testing::ValuesIn(kHugeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HugeCoordinatesEllipse, FlatTopOfAHugeEllipseIsOneOutlineRow) {
  RasterCanvas c(50, 20);
  Prepare(c, {});
  c.Ellipse(kMin, 10, kMax, kMax);
  for (int x = 0; x < 50; ++x) {
    EXPECT_EQ(c.Pixel(x, 9), clWhite);
    EXPECT_EQ(c.Pixel(x, 10), clBlack);
    EXPECT_EQ(c.Pixel(x, 11), kBrush);
  }
}

TEST(HugeCoordinatesEllipse, DottedHugeEllipseStillAlternates) {
  RasterCanvas c(70, 60);
  Prepare(c, {1, PenStyle::psDot, false});
  c.Ellipse(kMin, kMin, 60, kMax);
  // Its right edge runs straight down column 59 here, one pixel per row.
  for (int y = 0; y + 1 < 60; ++y) {
    EXPECT_NE(c.Pixel(59, y) == clBlack, c.Pixel(59, y + 1) == clBlack) << "row " << y;
    for (int x = 0; x < 59; ++x) ASSERT_EQ(c.Pixel(x, y), clWhite);
  }
  RasterCanvas top(70, 20);
  Prepare(top, {1, PenStyle::psDot, false});
  top.Ellipse(kMin, 10, kMax, kMax);
  // The top row starts the walk at the centre column, which is -1 here.
  for (int x = 0; x < 70; ++x) EXPECT_EQ(top.Pixel(x, 10), x % 2 != 0 ? clBlack : clWhite);
}

}  // namespace
