#include "tests/document/EditorTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace editor_test {
namespace {

const Color kCurve = RGBColor(255, 0, 0);

class GraphTest : public EditorFixture {
protected:
  /// A plotted variable whose value stood at `from` when the tick began and
  /// is `to` now.
  TVariavel& Plotted(long double from, long double to) {
    auto& v = AddRaw<TVarContinuaQualquerValor>(300, 300);
    v.PlotInGraph = true;
    v.Color = kCurve;
    v.TickStartValue = from;
    v.InnerValue = to;
    return v;
  }

  std::set<std::int32_t> RowsOf(std::int32_t column, Color c) const {
    std::set<std::int32_t> rows;
    for (std::int32_t y = 0; y < graph.Height(); ++y)
      if (graph.Pixel(column, y) == c) rows.insert(y);
    return rows;
  }

  /// The rows the first segment of a constant value covers in column 0.
  std::set<std::int32_t> FirstSegmentRows(long double value) {
    editor.Clear();
    editor.ResetGraph();
    Plotted(value, value);
    editor.PlotStep();
    return RowsOf(0, kCurve);
  }
};

TEST_F(GraphTest, AResetLeavesAWhiteImageWithASilverZeroLine) {
  EXPECT_EQ(editor.GraphZeroY, 50);
  EXPECT_DOUBLE_EQ(editor.GraphScale, 50 / 5.8);
  EXPECT_EQ(editor.GraphCursor, 0);
  for (std::int32_t y = 0; y < graph.Height(); ++y) {
    for (std::int32_t x = 0; x < graph.Width(); ++x) {
      ASSERT_EQ(graph.Pixel(x, y), y == 50 ? clSilver : clWhite) << x << ", " << y;
    }
  }
}

TEST_F(GraphTest, AnOddHeightKeepsTheZeroLineAtHalfTruncated) {
  graph.Resize(300, 101);
  editor.ResetGraph();
  EXPECT_EQ(editor.GraphZeroY, 50);
  EXPECT_DOUBLE_EQ(editor.GraphScale, 50 / 5.8);
  EXPECT_EQ(RowsOf(10, clSilver), std::set<std::int32_t>{50});
}

struct ScaleCase {
  const char* name;
  long double value;
  std::int32_t y;
};

class GraphScaleTest : public GraphTest, public testing::WithParamInterface<ScaleCase> {};

TEST_P(GraphScaleTest, AValueIsDrawnAtZeroLineMinusItsRoundedScaledValue) {
  const ScaleCase& c = GetParam();
  const std::set<std::int32_t> atZero = FirstSegmentRows(0);
  ASSERT_TRUE(atZero.count(50)) << "the segment covers its own row";
  std::set<std::int32_t> expected;
  for (std::int32_t row : atZero) {
    const std::int32_t shifted = row + (c.y - 50);
    if (shifted >= 0 && shifted < 100) expected.insert(shifted);
  }
  EXPECT_EQ(FirstSegmentRows(c.value), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GraphScaleTest,
    testing::Values(ScaleCase{"one", 1, 41}, ScaleCase{"minus_one", -1, 59},
                    ScaleCase{"half_rounds_to_46", 0.5L, 46},
                    ScaleCase{"top_row_at_5_8", 5.8L, 0},
                    ScaleCase{"three_rounds_to_24", 3, 24},
                    ScaleCase{"beyond_the_top_is_clipped", 6, -2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GraphTest, TheCursorLineMovesAndItsOldColumnIsCleared) {
  editor.PlotStep();
  EXPECT_EQ(editor.GraphCursor, 1);
  EXPECT_EQ(RowsOf(1, clBlack).size(), 100u);

  editor.PlotStep();
  EXPECT_EQ(editor.GraphCursor, 2);
  EXPECT_EQ(RowsOf(2, clBlack).size(), 100u);
  EXPECT_EQ(RowsOf(1, clWhite).size(), 99u);
  EXPECT_EQ(RowsOf(1, clSilver), std::set<std::int32_t>{50});
}

TEST_F(GraphTest, TheSweepWrapsOnlyAfterTheColumnEqualToTheWidth) {
  TVariavel& v = Plotted(1, 1);
  for (int i = 0; i < 300; ++i) editor.PlotStep();
  EXPECT_EQ(editor.GraphCursor, 300);
  EXPECT_EQ(RowsOf(299, clBlack).size(), 0u) << "the cursor is off the image";
  ASSERT_TRUE(RowsOf(0, kCurve).count(41));

  // Unplotted for one step, so that no segment from column -1 reaches in.
  v.PlotInGraph = false;
  editor.PlotStep();
  EXPECT_EQ(editor.GraphCursor, 0);
  EXPECT_EQ(RowsOf(0, clBlack).size(), 100u) << "the cursor covers the old curve";

  v.PlotInGraph = true;
  editor.PlotStep();
  EXPECT_EQ(editor.GraphCursor, 1);
  EXPECT_TRUE(RowsOf(0, clBlack).empty());
  EXPECT_TRUE(RowsOf(0, kCurve).count(41));
  EXPECT_EQ(graph.Pixel(0, 50), clSilver);
}

TEST_F(GraphTest, EachSegmentRunsFromTheTickStartToTheCurrentValue) {
  TVariavel& v = Plotted(0, 0);
  editor.PlotStep();
  v.TickStartValue = 0;
  v.InnerValue = 5.8L;
  editor.PlotStep();
  // Column 1 holds the steep segment from row 50 up to row 0, exclusive.
  const std::set<std::int32_t> rows = RowsOf(1, kCurve);
  ASSERT_FALSE(rows.empty());
  EXPECT_TRUE(rows.count(50));
  EXPECT_LE(*rows.begin(), 30);
  const std::set<std::int32_t> upper = RowsOf(2, kCurve);
  ASSERT_FALSE(upper.empty());
  EXPECT_LE(*upper.begin(), 5);
}

TEST_F(GraphTest, AnAsleepPlottedVariableIsDrawnInEveryColumnAtItsHeldValue) {
  TVariavel& v = Plotted(1, 1);
  v.Awake = false;
  editor.StartAnimation();
  ASSERT_TRUE(editor.PlotEnabled);
  for (int i = 0; i < 3; ++i) editor.Tick();
  EXPECT_EQ(editor.GraphCursor, 3);
  for (std::int32_t column = 0; column < 3; ++column) {
    EXPECT_TRUE(RowsOf(column, kCurve).count(41)) << "column " << column;
  }
}

TEST_F(GraphTest, RedrawingTheAxisKeepsScaleCursorAndCurves) {
  Plotted(1, 1);
  for (int i = 0; i < 5; ++i) editor.PlotStep();
  const std::vector<std::uint32_t> before = graph.Snapshot();
  editor.DrawGraphAxis();
  EXPECT_EQ(editor.GraphCursor, 5);
  EXPECT_EQ(graph.PenWidth(), 2);
  // Only where the cursor line crossed the zero line.
  const std::vector<std::uint32_t> after = graph.Snapshot();
  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < after.size(); ++i)
    if (after[i] != before[i]) changed.push_back(i);
  EXPECT_EQ(changed, std::vector<std::size_t>{50 * 300 + 5});

  graph.Resize(300, 60);
  editor.DrawGraphAxis();
  EXPECT_EQ(editor.GraphZeroY, 30);
  EXPECT_DOUBLE_EQ(editor.GraphScale, 50 / 5.8);
  EXPECT_EQ(editor.GraphCursor, 5);
  EXPECT_EQ(RowsOf(100, clSilver), std::set<std::int32_t>{30});
}

TEST_F(GraphTest, ExtremeValuesAndCursorsSaturateOffTheImage) {
  TVariavel& v = Plotted(1e4000L, 1e4000L);
  editor.PlotStep();
  v.TickStartValue = v.InnerValue = -1e4000L;
  editor.PlotStep();
  editor.GraphScale = 1e300;
  v.TickStartValue = v.InnerValue = 1;
  editor.PlotStep();
  for (std::int32_t x = 0; x < graph.Width(); ++x) EXPECT_TRUE(RowsOf(x, kCurve).empty()) << x;

  editor.GraphCursor = INT32_MAX;
  editor.PlotStep();
  EXPECT_EQ(editor.GraphCursor, 0);
}

}  // namespace
}  // namespace editor_test
