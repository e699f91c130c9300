#include "tests/document/EditorTestSupport.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

// The canvas's keys against the mouse gestures they stand for: the same
// model, marks, pixels and file, in `editor` by keys and in `mouse` by mouse.

namespace editor_test {
namespace {

class KeyboardTest : public EditorFixture {
protected:
  KeyboardTest() { mouse.AttachCanvas(&mouseCanvas); }

  CanvasRect View() const { return {0, 0, canvas.Width(), canvas.Height()}; }

  bool SamePixels() const {
    const std::size_t n = std::size_t(canvas.Width()) * std::size_t(canvas.Height());
    return std::memcmp(canvas.Bits(), mouseCanvas.Bits(), n * sizeof(std::uint32_t)) == 0;
  }

  static std::vector<std::string> Saved(TEditor& e) {
    std::vector<std::string> lines;
    e.SaveToLines(lines);
    return lines;
  }

  /// Two variables at (x, y) and (600, y), by mouse; with `link`, a rate
  /// relationship from the first to the second.
  static void BuildPair(TEditor& e, std::int32_t x, std::int32_t y, bool link) {
    e.Clear();
    for (const std::int32_t at : {x, 600}) {
      e.UseContinuousTool();
      e.MouseDown(at, y);
      e.MouseUp();
    }
    if (!link) return;
    e.UseRateTool();
    for (const auto& v : {e.Variables[0].get(), e.Variables[1].get()}) {
      e.MouseDown(v->X, v->Y);
      e.MouseUp();
    }
  }

  void TabTo(const TObjGrafico& target) {
    for (int i = 0; i < 20 && editor.CurrentObject != &target; ++i) editor.SelectNextObject(true);
    ASSERT_EQ(editor.CurrentObject, &target);
  }

  RasterCanvas mouseCanvas{800, 600};
  FakeHost mouseHost;
  TEditor mouse{mouseHost};
};

TEST_F(KeyboardTest, TabWalksInListOrderDrawingTheMarkAClickDraws) {
  BuildPair(editor, 200, 300, true);
  TVariavel& a = *editor.Variables[0];
  TVariavel& b = *editor.Variables[1];
  TRelacionamento* r = editor.Relationships[0].get();
  const std::vector<const TObjGrafico*> forward = {&a, &b, r, nullptr, &a};
  for (const TObjGrafico* expected : forward) {
    editor.SelectNextObject(true);
    EXPECT_EQ(editor.CurrentObject, expected);
  }
  const std::vector<const TObjGrafico*> backward = {nullptr, r, &b};
  for (const TObjGrafico* expected : backward) {
    editor.SelectNextObject(false);
    EXPECT_EQ(editor.CurrentObject, expected);
  }
  EXPECT_TRUE(b.Selected && !a.Selected);

  BuildPair(mouse, 200, 300, true);
  mouse.MouseDown(b.X, b.Y);
  mouse.MouseUp();
  EXPECT_TRUE(SamePixels());
  editor.EscapeKey();
  mouse.MouseDown(5, 5);
  mouse.MouseUp();
  EXPECT_EQ(editor.CurrentObject, nullptr);
  EXPECT_TRUE(SamePixels());
}

TEST_F(KeyboardTest, ArrowsMoveAsADragDoesAndStopAtTheEdge) {
  struct Row {
    const char* name;
    std::int32_t x, dx, dy;
  };
  const Row rows[] = {
      {"one pixel right", 300, 1, 0},
      {"ten pixels up", 300, 0, -10},
      {"left against the edge", 20, -10, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    BuildPair(editor, row.x, 300, true);
    editor.Modified = false;
    Click(*editor.Variables[0]);  // raised, as the mouse's press below raises it
    editor.MoveSelected(row.dx, row.dy);

    // Press on the gauge, leave the click tolerance, then the move itself.
    BuildPair(mouse, row.x, 300, true);
    const std::int32_t x = mouse.Variables[0]->X, y = mouse.Variables[0]->Y;
    mouse.MouseDown(x, y);
    mouse.MouseMove(x + 50, y + 50);
    mouse.MouseMove(x + row.dx, y + row.dy);
    mouse.MouseUp();

    EXPECT_TRUE(editor.Modified);
    EXPECT_TRUE(editor.Variables.back()->Selected);
    EXPECT_EQ(Saved(editor), Saved(mouse));
    EXPECT_TRUE(SamePixels());
  }
}

TEST_F(KeyboardTest, EnterPlacesEachVariableOnAFreeSpotNearTheMiddle) {
  const CanvasRect view{100, 50, 500, 450};
  const auto half = [](const TVariavel& v) { return std::max(v.HalfWidth, v.HalfNameWidth); };
  for (std::size_t i = 0; i < 6; ++i) {
    if (i % 2)
      editor.UseOnOffTool();
    else
      editor.UseContinuousTool();
    editor.EnterKey(view);
    ASSERT_EQ(editor.Variables.size(), i + 1);
    const TVariavel& v = *editor.Variables.back();
    EXPECT_GE(v.X - half(v), view.left);
    EXPECT_LT(v.Y + v.HalfHeight, view.bottom);
    for (std::size_t j = 0; j < i; ++j) {
      const TVariavel& w = *editor.Variables[j];
      EXPECT_TRUE(std::abs(v.X - w.X) > half(v) + half(w) ||
                  std::abs(v.Y - w.Y) > 2 * v.HalfHeight + v.LabelHeight)
          << i << " overlaps " << j;
    }
  }
  EXPECT_EQ(editor.Variables[0]->X, 300);
  EXPECT_EQ(editor.Variables[0]->Y, 250);

  // No room left: the middle, as a press there would place it.
  editor.UseContinuousTool();
  editor.EnterKey({290, 240, 310, 260});
  EXPECT_EQ(editor.Variables.back()->X, 300);
}

TEST_F(KeyboardTest, EnterLinksTheSelectedVariablesAsTwoPressesDo) {
  BuildPair(editor, 200, 300, false);
  TVariavel& a = *editor.Variables[0];
  TVariavel& b = *editor.Variables[1];
  editor.UseRateTool();
  editor.EnterKey(View());
  EXPECT_EQ(editor.Mode, Mode::modeLinkOrigin) << "Enter with nothing chosen keeps the tool";
  TabTo(a);
  editor.EnterKey(View());
  TabTo(b);
  editor.EnterKey(View());
  BuildPair(mouse, 200, 300, true);
  EXPECT_EQ(Saved(editor), Saved(mouse));
  EXPECT_TRUE(SamePixels());

  struct Row {
    const char* name;
    TVariavel* second;
    std::size_t messages;
  };
  const Row rows[] = {{"the same pair again", &b, 1}, {"the origin twice", &a, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    host.messages.clear();
    editor.UseRateTool();
    TabTo(a);
    editor.EnterKey(View());
    TabTo(*row.second);
    editor.EnterKey(View());
    EXPECT_EQ(editor.Relationships.size(), 1u);
    EXPECT_EQ(editor.Mode, Mode::modeSelect);
    EXPECT_EQ(host.messages, std::vector<std::string>(row.messages, "Este relacionamento já exite"));
  }
}

TEST_F(KeyboardTest, EnterOpensTheSelectedObjectsDialogAndEscapeDropsATool) {
  TVariavel& a = Place(200, 200);
  TabTo(a);
  editor.EnterKey(View());
  EXPECT_EQ(host.variableDialog.shown, 1);
  EXPECT_EQ(editor.Mode, Mode::modeSelect) << "no press follows to end the dialog's mode";

  editor.UseProportionTool();
  TabTo(a);
  editor.EnterKey(View());
  editor.EscapeKey();
  EXPECT_EQ(editor.Mode, Mode::modeSelect);
}

}  // namespace
}  // namespace editor_test
