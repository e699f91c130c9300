#include "document/ModelText.h"
#include "document/uEditor.h"
#include "model/uRel.h"
#include "model/uVar.h"
#include "platform/RasterCanvas.h"
#include "tests/document/FakeHost.h"
#include "tests/document/ModelChecks.h"

#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Random sequences of what a user can do to a document, shrunk to the
// shortest one that breaks something. After every step the document must
// keep its cross references, the editor's own rules and finite values, and
// undo and redo must give back the texts on both sides of the newest step.

namespace {

/// Steps run in this process, so a run can prove how much it tried.
long gStepsRun = 0;

/// RapidCheck's model of the state; the document itself is checked instead.
struct Gestures {};

struct Desk {
  Desk() {
    editor.AttachCanvas(&canvas);
    editor.GraphImage = &graph;
    editor.ResetGraph();
  }
  Desk(const Desk&) = delete;
  Desk& operator=(const Desk&) = delete;

  /// The object a gesture aims at: variables first, then relationships; null when none.
  TObjGrafico* Object(std::size_t index) const {
    const std::size_t count = editor.Variables.size() + editor.Relationships.size();
    if (count == 0) return nullptr;
    index %= count;
    if (index < editor.Variables.size()) return editor.Variables[index].get();
    return editor.Relationships[index - editor.Variables.size()].get();
  }

  TVariavel* Variable(std::size_t index) const {
    if (editor.Variables.empty()) return nullptr;
    return editor.Variables[index % editor.Variables.size()].get();
  }

  static ModelLines Text(const TEditor& e) {
    ModelLines lines;
    e.WriteText(lines);
    return lines;
  }

  /// The text a bracket of the document compares with opens (or is taken again).
  void Retake() {
    opened = Text(editor);
    openedSteps = editor.History().UndoSteps();
  }

  /// After a step of the fuzzer: when a bracket closed with an undo step, its
  /// two sides are what undo and redo must give.
  void Follow() {
    if (editor.GestureOpen()) return;
    ModelLines now = Text(editor);
    const std::size_t steps = editor.History().UndoSteps();
    if (steps > openedSteps)
      last = {opened, std::move(now)};
    else if (last && (steps != openedSteps || now != last->second))
      last.reset();
  }

  /// Where one of a step's brackets ends and the next begins.
  void Between() {
    Follow();
    if (!editor.GestureOpen()) Retake();
  }

  RasterCanvas canvas{800, 600};
  RasterCanvas graph{300, 100};
  FakeHost host;
  TEditor editor{host};
  ModelLines opened;
  std::size_t openedSteps = 0;
  std::optional<std::pair<ModelLines, ModelLines>> last;
};

/// A command of the window; mouse gestures bracket themselves.
template <class F>
void AsCommand(Desk& d, F f) {
  d.Between();
  d.editor.BeginCommand();
  f();
  d.editor.EndCommand();
}

using Step = rc::state::Command<Gestures, Desk>;

/// Runs one gesture, then holds the document to every invariant.
template <class Self>
struct Checked : Step {
  void run(const Gestures&, Desk& desk) const override {
    desk.Between();
    static_cast<const Self*>(this)->Do(desk);
    ++gStepsRun;
    for (const std::string& broken :
         {model_checks::BrokenLinks(desk.editor), model_checks::BrokenEditingRules(desk.editor),
          model_checks::NonFiniteValue(desk.editor)}) {
      if (!broken.empty()) RC_FAIL(broken);
    }
    desk.Follow();
  }
};

std::int32_t AnyX() { return *rc::gen::inRange(-40, 860); }
std::int32_t AnyY() { return *rc::gen::inRange(-40, 660); }
std::int32_t Near() { return *rc::gen::inRange(-25, 26); }

struct ChooseTool : Checked<ChooseTool> {
  int tool = *rc::gen::inRange(0, 5);
  void Do(Desk& d) const {
    TEditor& e = d.editor;
    const std::vector<void (TEditor::*)()> tools = {
        &TEditor::UseSelectTool, &TEditor::UseContinuousTool, &TEditor::UseOnOffTool,
        &TEditor::UseRateTool, &TEditor::UseProportionTool};
    AsCommand(d, [&] { (e.*tools[std::size_t(tool)])(); });
  }
  void show(std::ostream& os) const override { os << "ChooseTool(" << tool << ")"; }
};

struct Press : Checked<Press> {
  std::int32_t x = AnyX(), y = AnyY();
  void Do(Desk& d) const { d.editor.MouseDown(x, y); }
  void show(std::ostream& os) const override { os << "Press(" << x << ", " << y << ")"; }
};

/// A press on or beside an object, where the hits are.
struct PressNear : Checked<PressNear> {
  std::size_t index = *rc::gen::inRange<std::size_t>(0, 64);
  std::int32_t dx = Near(), dy = Near();
  void Do(Desk& d) const {
    if (const TObjGrafico* o = d.Object(index)) d.editor.MouseDown(o->X + dx, o->Y + dy);
  }
  void show(std::ostream& os) const override {
    os << "PressNear(" << index << ", " << dx << ", " << dy << ")";
  }
};

struct Move : Checked<Move> {
  std::int32_t dx = *rc::gen::inRange(-300, 300), dy = *rc::gen::inRange(-300, 300);
  void Do(Desk& d) const { d.editor.MouseMove(d.editor.PressX + dx, d.editor.PressY + dy); }
  void show(std::ostream& os) const override { os << "Move(" << dx << ", " << dy << ")"; }
};

struct Release : Checked<Release> {
  void Do(Desk& d) const { d.editor.MouseUp(); }
  void show(std::ostream& os) const override { os << "Release"; }
};

struct Place : Checked<Place> {
  std::int32_t x = AnyX(), y = AnyY();
  bool onOff = *rc::gen::arbitrary<bool>();
  void Do(Desk& d) const {
    if (onOff)
      d.editor.UseOnOffTool();
    else
      d.editor.UseContinuousTool();
    d.editor.MouseDown(x, y);
    d.editor.MouseUp();
  }
  void show(std::ostream& os) const override {
    os << "Place(" << x << ", " << y << (onOff ? ", on-off)" : ")");
  }
};

/// Both presses of the rate or proportion tool, on two variables.
struct Link : Checked<Link> {
  std::size_t from = *rc::gen::inRange<std::size_t>(0, 64);
  std::size_t to = *rc::gen::inRange<std::size_t>(0, 64);
  bool rate = *rc::gen::arbitrary<bool>();
  void Do(Desk& d) const {
    TEditor& e = d.editor;
    if (rate)
      e.UseRateTool();
    else
      e.UseProportionTool();
    for (std::size_t index : {from, to}) {
      d.Between();
      const TVariavel* v = d.Variable(index);
      e.MouseDown(v ? v->X : 0, v ? v->Y : 0);
      e.MouseUp();
    }
  }
  void show(std::ostream& os) const override {
    os << "Link(" << from << ", " << to << (rate ? ", rate)" : ", proportion)");
  }
};

/// Two-digit kind code of a variable as the dialog shows it.
int KindCodeOf(const TVariavel* v) {
  const bool onOff = dynamic_cast<const TVarLigaDesliga*>(v) != nullptr;
  const bool any = dynamic_cast<const TVarContinuaQualquerValor*>(v) ||
                   dynamic_cast<const TVarLigaDesligaQualquerValor*>(v);
  return (onOff ? 20 : 10) + (any ? 2 : 1);
}

/// A double click on an object, answering its dialog.
struct DoubleClickOn : Checked<DoubleClickOn> {
  std::size_t index = *rc::gen::inRange<std::size_t>(0, 64);
  bool ok = *rc::gen::arbitrary<bool>();
  int kind = *rc::gen::element(11, 12, 21, 22);
  std::string name = *rc::gen::element<std::string>("Nome", "", "Ã©", "Água Δ", "a,\"b\"");
  int choice = *rc::gen::inRange(0, 3);
  void Do(Desk& d) const {
    TEditor& e = d.editor;
    const TObjGrafico* o = d.Object(index);
    if (!o) return;
    const std::int32_t x = o->X, y = o->Y;
    FakeVariableDialog& vd = d.host.variableDialog;
    vd.answerOk = ok;
    vd.onShow = [](FakeVariableDialog& dialog) {
      dialog.kindOnShow = static_cast<KindCode>(KindCodeOf(dialog.edited));
    };
    vd.kindChosen = static_cast<KindCode>(kind);
    const int c = choice;
    const std::string n = name;
    vd.apply = [c, n](TVariavel* v) {
      v->SetName(n);
      v->Awake = c != 0;
      v->CombineMode = static_cast<CombineMode>(c + 1);
      v->SelfChangeDecreases = c == 1;
      v->SelfChangeRate = c * 0.5;
      v->PlotInGraph = c == 2;
      if (auto* onOff = dynamic_cast<TVarLigaDesliga*>(v)) onOff->EffectWhenOn = static_cast<EffectWhenOn>(c + 1);
    };
    FakeRelationshipDialog& rd = d.host.relationshipDialog;
    rd.answerOk = ok;
    rd.apply = [c](TRelacionamento* r) {
      r->Kind = c == 1 ? RelationshipKind::Rate : RelationshipKind::Proportion;
      r->SameDirection = c != 2;
      r->Awake = c != 0;
      r->Effect = c == 0 ? 0.5 : c == 1 ? 1.0 : 2.0;
    };
    e.MouseDown(x, y);
    e.MouseUp();
    AsCommand(d, [&] { e.DoubleClick(); });
    e.MouseDown(x, y);
    e.MouseUp();
  }
  void show(std::ostream& os) const override {
    os << "DoubleClickOn(" << index << (ok ? ", OK, " : ", Cancel, ") << kind << ", \"" << name
       << "\", " << choice << ")";
  }
};

/// The canvas's keys: Tab, Shift+Tab, an arrow (with Shift ten pixels), Enter, Escape.
struct Key : Checked<Key> {
  int key = *rc::gen::inRange(0, 7);
  void Do(Desk& d) const {
    TEditor& e = d.editor;
    const CanvasRect view{0, 0, d.canvas.Width(), d.canvas.Height()};
    const std::int32_t step = key == 3 ? 10 : 1;
    if (key < 2) e.SelectNextObject(key == 0);
    if (key == 2 || key == 3) e.MoveSelected(step, -step);
    if (key == 4) e.MoveSelected(-step, step);
    if (key == 5) e.EnterKey(view);
    if (key == 6) e.EscapeKey();
  }
  void show(std::ostream& os) const override { os << "Key(" << key << ")"; }
};

struct Delete : Checked<Delete> {
  void Do(Desk& d) const { AsCommand(d, [&] { d.editor.DeleteSelected(); }); }
  void show(std::ostream& os) const override { os << "Delete"; }
};

/// "Animar" and then as many timer ticks.
struct Animate : Checked<Animate> {
  int ticks = *rc::gen::inRange(0, 4);
  void Do(Desk& d) const {
    AsCommand(d, [&] {
      d.editor.UseSelectTool();
      d.editor.StartAnimation();
      d.editor.SaveStatesBeforeAnimation();
    });
    for (int i = 0; i < ticks; ++i) d.editor.Tick();
  }
  void show(std::ostream& os) const override { os << "Animate(" << ticks << ")"; }
};

/// Timer ticks; they do something only while the document runs.
struct Ticks : Checked<Ticks> {
  int ticks = *rc::gen::inRange(1, 4);
  void Do(Desk& d) const {
    for (int i = 0; i < ticks; ++i)
      if (d.editor.RunState == RunState::Running) d.editor.Tick();
  }
  void show(std::ostream& os) const override { os << "Ticks(" << ticks << ")"; }
};

/// "Parar", "Valores antes de animar", "Zerar valores" and "Zerar relógio".
struct AnimationButton : Checked<AnimationButton> {
  int button = *rc::gen::inRange(0, 4);
  void Do(Desk& d) const {
    TEditor& e = d.editor;
    AsCommand(d, [&] {
      if (button == 3) {
        e.ResetGraph();
        return;
      }
      e.StopAnimation();
      if (button == 1) e.RestoreStatesBeforeAnimation();
      if (button == 2) e.ZeroValues();
    });
  }
  void show(std::ostream& os) const override { os << "AnimationButton(" << button << ")"; }
};

struct Method : Checked<Method> {
  int method = *rc::gen::inRange(0, 2);
  void Do(Desk& d) const {
    AsCommand(d, [&] {
      d.editor.StopAnimation();
      d.editor.SetIntegrationMethod(static_cast<IntegrationMethod>(method));
    });
  }
  void show(std::ostream& os) const override { os << "Method(" << method << ")"; }
};

/// "Novo" with its settings, or the document's Clear alone.
struct New : Checked<New> {
  bool settings = *rc::gen::arbitrary<bool>();
  void Do(Desk& d) const {
    if (settings) {
      d.host.elapsedTicks = 0;
      d.host.timerInterval = 100;
      d.host.unitsText = "segundos";
      d.host.methodCode = MethodCode::Euler;
      d.editor.SetIntegrationMethod(IntegrationMethod::Euler);
    }
    AsCommand(d, [&] {
      d.editor.Clear();
      d.editor.ForgetHistory();
    });
    d.Retake();
    d.last.reset();
  }
  void show(std::ostream& os) const override { os << (settings ? "New" : "Clear"); }
};

/// "Salvar" and opening the saved file again.
struct SaveAndReopen : Checked<SaveAndReopen> {
  void Do(Desk& d) const {
    d.editor.StopAnimation();
    const std::string broken = model_checks::RoundTripBreak(d.editor, model_checks::Placement::MaybeOutside);
    if (!broken.empty()) RC_FAIL(broken);
    ModelLines lines;
    d.editor.SaveToLines(lines);
    RC_ASSERT(d.editor.LoadFromLines(LinesFromFileBytes(FileBytesFromLines(lines))) ==
              LoadOutcome::Loaded);
    d.Retake();
  }
  void show(std::ostream& os) const override { os << "SaveAndReopen"; }
};

/// Ctrl+Z right after a step gives back the text before it and Ctrl+Shift+Z
/// the text after it; then any undos and as many redos or more come back to
/// where they started. A press still held ends first, as the window does.
struct UndoRedo : Checked<UndoRedo> {
  int undos = *rc::gen::inRange(0, 4);
  int redos = *rc::gen::inRange(0, 4);
  void Do(Desk& d) const {
    TEditor& e = d.editor;
    if (e.GestureOpen()) {
      e.FinishGesture();
      return;
    }
    const ModelLines start = Desk::Text(e);
    AsCommand(d, [&] {
      if (d.last) {
        RC_ASSERT(e.Undo());
        RC_ASSERT(Desk::Text(e) == d.last->first);
        RC_ASSERT(e.Redo());
        RC_ASSERT(Desk::Text(e) == d.last->second);
      }
      int undone = 0;
      for (int i = 0; i < undos; ++i) undone += e.Undo();
      for (int i = 0; i < std::min(redos, undone); ++i) RC_ASSERT(e.Redo());
      if (redos >= undone) RC_ASSERT(Desk::Text(e) == start);
    });
  }
  void show(std::ostream& os) const override { os << "UndoRedo(" << undos << ", " << redos << ")"; }
};

/// The window resized: a new canvas size, then a repaint.
struct Resize : Checked<Resize> {
  std::int32_t width = *rc::gen::inRange(0, 1200), height = *rc::gen::inRange(0, 900);
  void Do(Desk& d) const {
    d.canvas.Resize(width, height);
    d.editor.Paint();
  }
  void show(std::ostream& os) const override { os << "Resize(" << width << ", " << height << ")"; }
};

TEST(GestureFuzzer, NoSequenceOfGesturesBreaksTheDocument) {
  rc::detail::checkGTest([] {
    Desk desk;
    // Place, PressNear and Link come several times each: a random sequence
    // rarely links two variables otherwise.
    rc::state::check(
        Gestures{}, desk,
        rc::state::gen::execOneOfWithArgs<Place, Place, Place, Link, Link, Link, PressNear,
                                          PressNear, Move, Release, Release, Press, ChooseTool,
                                          DoubleClickOn, DoubleClickOn, Key, Key, Delete, Animate, Ticks,
                                          AnimationButton, Method, New, SaveAndReopen,
                                          Resize, UndoRedo, UndoRedo>());
  });
  std::cout << gStepsRun << " gesture steps\n";
  if (const char* least = std::getenv("KORVEL_GESTURE_STEPS")) {
    EXPECT_GE(gStepsRun, std::atol(least)) << "RC_PARAMS asks for too few cases";
  }
}

}  // namespace
