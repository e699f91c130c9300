#include "document/ModelHistory.h"
#include "tests/document/EditorTestSupport.h"

#include <functional>
#include <string>

namespace {

using editor_test::EditorFixture;

ModelLines Text(const TEditor& e) {
  ModelLines lines;
  e.WriteText(lines);
  return lines;
}

TEST(ModelHistory, EveryKindOfDifferenceComesBackExactly) {
  struct Row { const char* name; ModelLines before, after; };
  const Row rows[] = {
      {"one line changed", {"a", "b", "c"}, {"a", "x", "c"}},
      {"lines added at the end", {"a"}, {"a", "b", "c"}},
      {"lines taken from the front", {"a", "b", "c"}, {"c"}},
      {"repeated lines, one fewer", {"a", "a", "a"}, {"a", "a"}},
      {"nothing shared", {"a", "b"}, {"x"}},
      {"from no lines", {}, {"a", ""}},
  };
  for (const Row& row : rows) {
    ModelHistory h;
    h.Record(row.before, row.after);
    EXPECT_EQ(h.Undo(row.after), row.before) << row.name;
    EXPECT_EQ(h.Redo(row.before), row.after) << row.name;
    EXPECT_EQ(h.Undo(row.after), row.before) << row.name << ", undone again";
  }
}

TEST(ModelHistory, StepsGoBackAndForthWithTheChangesBetweenThemThatAreNoSteps) {
  // Each "t" line stands for animation ticks between two steps.
  ModelHistory h;
  h.Record({"0", "x"}, {"1", "x"});
  h.Record({"1", "t"}, {"2", "t"});
  EXPECT_EQ(h.Undo({"2", "tt"}), ModelLines({"1", "t"}));
  EXPECT_EQ(h.Undo({"1", "ttt"}), ModelLines({"0", "x"}));
  EXPECT_EQ(h.Redo({"0", "x"}), ModelLines({"1", "ttt"}));
  EXPECT_EQ(h.Redo({"1", "ttt"}), ModelLines({"2", "tt"}));
  h.Undo({"2", "tt"});
  h.Record({"1", "ttt"}, {"3"});
  EXPECT_EQ(h.RedoSteps(), 0u) << "a new step drops what was undone";
}

TEST(ModelHistory, KeepsAHundredStepsAndBeyondThemOnlyWhatTheBoundHolds) {
  struct Row { const char* name; std::size_t lineBytes, kept; };
  const Row rows[] = {{"light steps", ModelHistory::kMaxBytes / 200, 150},
                      {"heavy steps", ModelHistory::kMaxBytes / 50, ModelHistory::kMinSteps}};
  for (const Row& row : rows) {
    ModelHistory h;
    ModelLines previous{"0"};
    for (int i = 1; i <= 150; ++i) {
      ModelLines next{std::to_string(i) + std::string(row.lineBytes, 'x')};
      h.Record(previous, next);
      previous = next;
    }
    EXPECT_EQ(h.UndoSteps(), row.kept) << row.name;
    EXPECT_EQ(h.Undo(previous)[0].substr(0, 3), "149") << row.name;
  }
}

/// Two variables and a relationship, saved: every row starts unmodified.
class UndoTest : public EditorFixture {
protected:
  UndoTest() {
    Place(200, 200).SetLevel(0.5);
    Place(500, 300);
    Link(*editor.Variables[0], *editor.Variables[1]);
    editor.WriteText(start);
    Reset();
  }

  void Reset() {
    editor.LoadFromLines(start);
    editor.ForgetHistory();
    ModelLines saved;
    editor.SaveToLines(saved);
    a = editor.Variables[0].get();
    b = editor.Variables[1].get();
    host.variableDialog.answerOk = true;
    host.variableDialog.apply = [](TVariavel* v) { v->SetName("Outro"); };
  }

  /// A command of the window.
  void Command(const std::function<void()>& f) { editor.BeginCommand(); f(); editor.EndCommand(); }

  ModelLines start;
  TVariavel* a = nullptr;
  TVariavel* b = nullptr;
};

TEST_F(UndoTest, EachChangeIsOneStepThatUndoAndRedoTakeExactly) {
  struct Row { const char* name; std::function<void()> act; bool step; };
  const auto clickB = [this](const std::function<void()>& then) {
    Click(*b);  // drawn last already: the click changes no order
    Command(then);
  };
  const Row rows[] = {
      {"placing a variable", [this] { Place(600, 100); }, true},
      {"dragging a variable", [this] { Drag(a->X, a->Y, 40, 30); }, true},
      {"linking back", [this] { Link(*b, *a); }, true},
      {"deleting the clicked variable", [&] { clickB([&] { editor.DeleteSelected(); }); }, true},
      {"Delete during a press",
       [this] {
         editor.MouseDown(b->X, b->Y);
         Command([&] { editor.DeleteSelected(); });
         editor.MouseUp();
       },
       true},
      {"a dialog's OK", [&] { clickB([&] { editor.DoubleClick(); }); }, true},
      {"zeroing the values", [this] { Command([&] { editor.ZeroValues(); }); }, true},
      {"the method", [this] { Command([&] { editor.ChooseMethod(MethodCode::Euler); }); }, true},
      {"a cancelled dialog",
       [&] {
         host.variableDialog.answerOk = false;
         clickB([&] { editor.DoubleClick(); });
       },
       false},
      {"a click that brings a variable to the front", [this] { Click(*a); }, false},
  };
  for (const Row& row : rows) {
    Reset();
    const ModelLines before = Text(editor);
    row.act();
    const ModelLines after = Text(editor);
    ASSERT_EQ(editor.History().UndoSteps(), row.step ? 1u : 0u) << row.name;
    EXPECT_EQ(editor.Modified, row.step) << row.name;
    if (!row.step) continue;
    Command([&] { EXPECT_TRUE(editor.Undo()); });
    EXPECT_EQ(Text(editor), before) << row.name;
    EXPECT_FALSE(editor.Modified) << row.name << ": back at the saved text";
    Command([&] { EXPECT_TRUE(editor.Redo()); });
    EXPECT_EQ(Text(editor), after) << row.name;
    EXPECT_TRUE(editor.Modified) << row.name;
    EXPECT_EQ(editor.History().UndoSteps(), 1u) << row.name << ": undo and redo are no steps";
  }
}

}  // namespace
