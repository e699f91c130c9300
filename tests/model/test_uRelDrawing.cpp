#include "model/uRel.h"

#include "ModelTestSupport.h"
#include "platform/RasterCanvas.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using model_test::CountDifferences;

constexpr Color kYellow = RGBColor(255, 255, 0);

struct Pixel {
  int x, y;
};

/// A relationship whose box sits at (100, 60), with a horizontal line from
/// (20, 60) to the tip at (180, 60).
class RelationshipDrawing : public ::testing::Test {
protected:
  static constexpr int kX = 100;
  static constexpr int kY = 60;

  RasterCanvas canvas{220, 130};
  TRelacionamento rel;

  void SetUp() override {
    rel.SetCanvas(&canvas);
    rel.X = kX;
    rel.Y = kY;
    rel.StartX = 20;
    rel.StartY = kY;
    rel.EndX = 180;
    rel.EndY = kY;
  }

  bool Dark(int x, int y) const { return canvas.Pixel(x, y) != clWhite; }

  int DarkInRow(int y, int x0, int x1) const {
    int n = 0;
    for (int x = x0; x <= x1; ++x) n += Dark(x, y);
    return n;
  }

  int DarkInColumn(int x, int y0, int y1) const {
    int n = 0;
    for (int y = y0; y <= y1; ++y) n += Dark(x, y);
    return n;
  }

  bool AllWhite() const {
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x)
        if (Dark(x, y)) return false;
    return true;
  }
};

TEST_F(RelationshipDrawing, AFreshRelationshipIsASquareWithATwoPixelOutlineAndTwoUpArrows) {
  TRelacionamento fresh;
  fresh.SetCanvas(&canvas);
  fresh.X = kX;
  fresh.Y = kY;
  fresh.StartX = 20;
  fresh.StartY = kY;
  fresh.EndX = 180;
  fresh.EndY = kY;
  fresh.Draw();

  EXPECT_TRUE(Dark(kX - 10, kY - 10)) << "a square has its corner";
  EXPECT_EQ(DarkInRow(kY - 4, kX - 20, kX - 7), 2) << "left edge";
  EXPECT_EQ(DarkInColumn(kX - 8, kY - 20, kY - 7), 2) << "top edge";
  for (Pixel p : {Pixel{kX - 4, kY - 4}, Pixel{kX + 3, kY - 4}})
    EXPECT_TRUE(Dark(p.x, p.y)) << "up barb at " << p.x << "," << p.y;
  EXPECT_FALSE(Dark(kX + 3, kY + 4)) << "no down barb";
}

TEST_F(RelationshipDrawing, TheLineBendsAtTheBoxWhichCoversItWithTheCurrentBrush) {
  rel.EndX = 180;
  rel.EndY = 20;
  canvas.SetBrushColor(kYellow);
  rel.Draw();
  EXPECT_TRUE(Dark(60, kY)) << "first segment, left of the box";
  EXPECT_EQ(canvas.Pixel(kX - 5, kY), kYellow) << "the line is covered inside the box";
  EXPECT_EQ(canvas.Pixel(kX - 5, kY + 5), kYellow);
  EXPECT_TRUE(Dark(140, 40)) << "second segment, up to the tip";
  EXPECT_FALSE(Dark(140, kY)) << "no straight line past the box";
  EXPECT_EQ(canvas.Pixel(kX - 25, kY + 25), clWhite) << "outside the box";
  EXPECT_EQ(canvas.BrushStyle(), BrushStyle::bsSolid);
  EXPECT_EQ(canvas.BrushColor(), kYellow) << "the brush colour is not set";
}

TEST_F(RelationshipDrawing, TheArrowheadHasFifteenPixelBarbsAtTwentyDegrees) {
  rel.DrawArrowhead();
  // cos(-20 deg) * 15 = 14.09 and sin(-20 deg) * 15 = -5.13 truncate to 14 and -5.
  const Pixel p1{180 - 14, kY + 5};
  const Pixel p2{180 - 14, kY - 5};
  EXPECT_TRUE(Dark(p1.x, p1.y)) << "the first barb starts at its end";
  EXPECT_TRUE(Dark(180, kY)) << "the tip, where the second barb starts";
  EXPECT_FALSE(Dark(p2.x, p2.y)) << "a line leaves out its end point";

  RasterCanvas expected{220, 130};
  expected.MoveTo(p1.x, p1.y);
  expected.LineTo(180, kY);
  expected.LineTo(p2.x, p2.y);
  EXPECT_EQ(CountDifferences(canvas.Snapshot(), expected.Snapshot()), 0);
}

TEST_F(RelationshipDrawing, ATipOnTheBoxCentreDrawsTheArrowheadAsIfPointingDown) {
  rel.EndX = kX;
  rel.EndY = kY;
  rel.DrawArrowhead();
  RasterCanvas expected{220, 130};
  expected.MoveTo(kX - 5, kY - 14);
  expected.LineTo(kX, kY);
  expected.LineTo(kX + 5, kY - 14);
  EXPECT_EQ(CountDifferences(canvas.Snapshot(), expected.Snapshot()), 0);
}

TEST_F(RelationshipDrawing, TheOutlineWidthFollowsTheEffectExactly) {
  struct Row {
    const char* name;
    double effect;
    int widthBefore;
    int outline;
  };
  const Row rows[] = {
      {"strong", 2.0, 1, 3},
      {"normal", 1.0, 1, 2},
      {"weak", 0.5, 3, 1},
      {"0.7 from a file", 0.7, 1, 1},
      {"0.7 keeps a wider pen", 0.7, 2, 2},
      {"almost strong", 2.0000000000000004, 1, 1},
  };
  for (const Row& row : rows) {
    canvas.Resize(220, 130);
    canvas.SetPenWidth(row.widthBefore);
    rel.Effect = row.effect;
    rel.DrawBox();
    EXPECT_EQ(DarkInRow(kY - 4, kX - 20, kX - 7), row.outline) << row.name << ": left edge";
    EXPECT_EQ(DarkInRow(kY - 4, kX + 7, kX + 20), row.outline) << row.name << ": right edge";
    EXPECT_EQ(DarkInColumn(kX - 8, kY - 20, kY - 7), row.outline) << row.name << ": top edge";
    EXPECT_EQ(DarkInRow(kY + 3, kX - 5, kX - 1), 1) << row.name << ": the half-arrows stay thin";
    EXPECT_EQ(canvas.PenWidth(), 1) << row.name;
  }
}

TEST_F(RelationshipDrawing, RateIsACircleAndProportionASquare) {
  rel.Kind = RelationshipKind::Rate;
  rel.DrawBox();
  EXPECT_FALSE(Dark(kX - 10, kY - 10)) << "circle: no corner";
  EXPECT_FALSE(Dark(kX - 9, kY - 9));
  EXPECT_TRUE(Dark(kX, kY - 10)) << "circle: top";
  EXPECT_EQ(DarkInRow(kY - 4, kX - 20, kX - 7), 2) << "circle: left side, normal effect";

  canvas.Resize(220, 130);
  rel.Kind = RelationshipKind::Proportion;
  rel.Effect = 0.5;
  rel.DrawBox();
  EXPECT_TRUE(Dark(kX - 10, kY - 10)) << "square: corner";
  EXPECT_TRUE(Dark(kX + 9, kY + 9)) << "square: far corner";
  EXPECT_FALSE(Dark(kX + 10, kY + 9)) << "right is exclusive";
  EXPECT_FALSE(Dark(kX + 9, kY + 10)) << "bottom is exclusive";
}

TEST_F(RelationshipDrawing, TheRightHalfArrowShowsTheDirection) {
  const Pixel leftBarb[] = {{kX - 3, kY - 5}, {kX - 4, kY - 4}, {kX - 5, kY - 3}};
  const Pixel upBarb[] = {{kX + 2, kY - 5}, {kX + 3, kY - 4}, {kX + 4, kY - 3}};
  const Pixel downBarb[] = {{kX + 2, kY + 5}, {kX + 3, kY + 4}, {kX + 4, kY + 3}};
  for (bool same : {true, false}) {
    canvas.Resize(220, 130);
    rel.SameDirection = same;
    rel.DrawBox();
    const char* name = same ? "same" : "opposite";
    for (Pixel p : leftBarb) EXPECT_TRUE(Dark(p.x, p.y)) << name << ": left points up";
    for (Pixel p : upBarb) EXPECT_EQ(Dark(p.x, p.y), same) << name << ": right points up";
    for (Pixel p : downBarb) EXPECT_EQ(Dark(p.x, p.y), !same) << name << ": right points down";
    EXPECT_EQ(DarkInColumn(kX - 2, kY - 7, kY + 7), 13) << name << ": left stem";
    EXPECT_EQ(DarkInColumn(kX + 1, kY - 7, kY + 7), 13) << name << ": right stem";
  }
}

TEST_F(RelationshipDrawing, AnAsleepRelationshipIsSilverThroughout) {
  for (bool awake : {true, false}) {
    canvas.Resize(220, 130);
    rel.Awake = awake;
    rel.Draw();
    const Color ink = awake ? clBlack : clSilver;
    int inked = 0, other = 0;
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x) {
        const Color c = canvas.Pixel(x, y);
        if (c == ink) ++inked;
        else if (c != clWhite) ++other;
      }
    EXPECT_GT(inked, 200) << (awake ? "awake" : "asleep");
    EXPECT_EQ(other, 0) << (awake ? "awake" : "asleep");
    EXPECT_EQ(canvas.FontColor(), ink);
  }
}

TEST_F(RelationshipDrawing, EraseLeavesTheCanvasWhite) {
  rel.Effect = 2.0;
  rel.Draw();
  ASSERT_FALSE(AllWhite());
  rel.Erase();
  EXPECT_TRUE(AllWhite());
}

TEST_F(RelationshipDrawing, TheSelectionMarkIsAnInvertedFigureOutsideTheBox) {
  for (int kind : {1, 2}) {
    canvas.Resize(220, 130);
    rel.Kind = static_cast<RelationshipKind>(kind);
    rel.Draw();
    const auto before = canvas.Snapshot();
    rel.ToggleMark();
    const auto marked = canvas.Snapshot();
    int changed = 0, outside = 0, offFrame = 0;
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x) {
        const std::size_t i = std::size_t(y) * canvas.Width() + x;
        if (before[i] == marked[i]) continue;
        ++changed;
        if (x < kX - 13 || x > kX + 11 || y < kY - 13 || y > kY + 11) ++outside;
        if (x != kX - 13 && x != kX + 11 && y != kY - 13 && y != kY + 11) ++offFrame;
      }
    EXPECT_GT(changed, 20) << "kind " << kind;
    EXPECT_EQ(outside, 0) << "kind " << kind;
    if (kind == 2) {
      EXPECT_EQ(offFrame, 0) << "a rectangle mark lies on its frame";
    } else {
      EXPECT_GT(offFrame, 0) << "an ellipse mark rounds its corners";
      EXPECT_EQ(marked[std::size_t(kY - 13) * canvas.Width() + (kX - 13)],
                before[std::size_t(kY - 13) * canvas.Width() + (kX - 13)]);
    }
    EXPECT_EQ(canvas.PenMode(), PenMode::pmNotXor);
    rel.ToggleMark();
    EXPECT_EQ(CountDifferences(canvas.Snapshot(), before), 0) << "kind " << kind << " twice";
  }
}

TEST_F(RelationshipDrawing, ExtremeCoordinatesDrawOnlyWhatReachesTheCanvas) {
  rel.X = INT32_MAX;
  rel.Y = INT32_MAX;
  rel.StartX = INT32_MAX;
  rel.StartY = INT32_MIN;
  rel.EndX = INT32_MAX;
  rel.EndY = INT32_MAX;
  rel.Draw();
  rel.ToggleMark();
  rel.Kind = RelationshipKind::Rate;
  rel.Draw();
  rel.ToggleMark();
  EXPECT_TRUE(AllWhite());

  // A line from far left to far right through row 75, bent at a box far away.
  rel.StartX = INT32_MIN;
  rel.StartY = 75;
  rel.X = INT32_MAX;
  rel.Y = 75;
  rel.Draw();
  EXPECT_EQ(DarkInRow(75, 0, canvas.Width() - 1), canvas.Width());
  EXPECT_EQ(DarkInRow(74, 0, canvas.Width() - 1) + DarkInRow(76, 0, canvas.Width() - 1), 0);
}

}  // namespace
