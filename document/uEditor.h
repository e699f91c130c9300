#pragma once

#include "document/EditorHost.h"
#include "document/LevelCsv.h"
#include "document/LevelTable.h"
#include "document/ModelHistory.h"
#include "document/ModelLines.h"
#include "document/SimulationPlan.h"
#include "model/Modes.h"
#include "model/uRel.h"
#include "platform/Canvas.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class TObjGrafico;
class TVariavel;
class TRelacionamento;

/// The current tool or gesture of the document.
enum class Mode : std::uint8_t {
  modeSelect = 0,
  modeNewContinuous = 1,
  modeNewOnOff = 2,
  modeLinkOrigin = 3,
  modeLinkDestination = 4,
  modePressed = 5,
  modeDragging = 6,
  /// A double click opened a dialog; the press that comes with it only resets the mode.
  modeDialog = 7,
};

/// Animation state; only while Running are the timer's ticks carried out.
enum class RunState : std::uint8_t { Running = 0, Stopped = 1, Held = 2 };

/// The method a tick integrates with.
enum class IntegrationMethod : std::uint8_t { RungeKutta = 0, Euler = 1 };

/// What LoadFromLines did with the lines it was given. A content error (a bad
/// number, a variable position that names no variable, an unknown class line)
/// is not an outcome but a ModelFileError thrown with the message to show.
enum class LoadOutcome : std::uint8_t {
  Loaded,
  /// The first line was not the header; the model was left untouched.
  HeaderRefused,
};

/// What the time graph showed of one variable since it was last cleared: the
/// levels at its first and last column, and the lowest and highest between.
struct GraphTrace {
  const TVariavel* variable = nullptr;
  long double first = 0, lowest = 0, highest = 0, last = 0;
};

/// A model file's content that can't be read; what() is the text to show.
class ModelFileError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

/// The model document: owns every variable and relationship of the open model,
/// carries out the editing gestures, drives the animation, reads and writes the
/// model file and draws the time graph.
class TEditor {
public:
  explicit TEditor(IEditorHost& host);
  TEditor(const TEditor&) = delete;
  TEditor& operator=(const TEditor&) = delete;
  ~TEditor();

  /// The model canvas; not owned.
  ::Canvas* Canvas = nullptr;
  ::Mode Mode = Mode::modeSelect;
  ::RunState RunState = RunState::Stopped;
  ::IntegrationMethod IntegrationMethod = IntegrationMethod::RungeKutta;
  /// Drawing order; the document is the only owner.
  std::vector<std::unique_ptr<TRelacionamento>> Relationships;
  /// Drawing order; a variable's index is its number in the model file.
  std::vector<std::unique_ptr<TVariavel>> Variables;
  /// The selected object, or the one the last hit test found; null when none.
  TObjGrafico* CurrentObject = nullptr;
  TVariavel* LinkOrigin = nullptr;
  TVariavel* LinkDestination = nullptr;
  /// Kind of the next relationship; no kind before the first relationship tool.
  RelationshipKind PendingLinkKind{};
  std::int32_t PressX = 0;
  std::int32_t PressY = 0;
  std::int32_t GraphZeroY = 0;
  std::int32_t GraphCursor = 0;
  double GraphScale = 0.0;
  /// The graph image's canvas; not owned.
  ::Canvas* GraphImage = nullptr;
  bool PlotEnabled = true;
  bool Modified = false;
  /// The run the graph shows, for copying and saving: a row per tick since
  /// RestartRunData.
  LevelTable RunData;
  /// One entry per variable plotted since ResetGraph, in the order first plotted.
  std::vector<GraphTrace> GraphTraces;

  // Editing.
  void AttachCanvas(::Canvas* canvas);
  void UseSelectTool();
  void UseContinuousTool();
  void UseOnOffTool();
  void UseRateTool();
  void UseProportionTool();
  void MouseDown(std::int32_t x, std::int32_t y);
  void MouseMove(std::int32_t x, std::int32_t y);
  void MouseUp();
  void DoubleClick();
  void Paint();
  void DeleteSelected();
  void ClearCanvas();
  void DrawAll();
  void Clear();

  void ClearSelection();
  void ReturnToSelectTool();
  void PickAt();
  void PrepareDragBackground();
  void PlaceVariable();
  void CreateRelationship();
  void ApplyRelationshipDialog();
  void ApplyVariableDialog();
  void DeleteRelationship(TRelacionamento* r);
  /// The box around every object's box (centre plus and minus half its size);
  /// empty, all zero, when there are no objects.
  CanvasRect DrawnBox() const;

  // Keyboard gestures: each goes through the mouse gesture it stands for.
  /// Tab (forward) and Shift+Tab: selects the object after (before) the
  /// selected one, variables first and then relationships, each in list order,
  /// with the mark a click draws but without raising it, so that the walk
  /// keeps its order. Past either end nothing is selected; with nothing
  /// selected the walk starts at that end. Only with the selection or a
  /// relationship tool, and not while an animation runs.
  void SelectNextObject(bool forward);
  /// Arrow keys: moves the selected object by (dx, dy) as a drag of its body
  /// would, with the same clamping, marks and Modified.
  void MoveSelected(std::int32_t dx, std::int32_t dy);
  /// Enter. Selection tool: what a double click on the selected object does.
  /// Variable tools: places the variable at FreeSpotInView(visible). Relationship
  /// tools: the selected variable is taken as a press on it would take it.
  void EnterKey(const CanvasRect& visible);
  /// Escape: clears the selection; any tool but the selection goes back to it.
  void EscapeKey();
  /// Where the variable tool's Enter places the new gauge: the grid point
  /// (every kFreeSpotStep pixels from the middle of visible) nearest the middle
  /// (ties: upper first, then left) whose gauge and name, widened by
  /// kFreeSpotMargin on every side, lie inside visible and overlap no
  /// variable's gauge or name and no relationship's box. The middle itself
  /// when no such point exists.
  CanvasPoint FreeSpotInView(const CanvasRect& visible) const;
  static constexpr std::int32_t kFreeSpotStep = 10;
  static constexpr std::int32_t kFreeSpotMargin = 10;

  // Simulation.
  void SetIntegrationMethod(::IntegrationMethod m);
  /// Chooses a method as the method menu does, and as a new model, a model
  /// file and korvel-sim's --method do: the host's MethodCode := code, its
  /// method items checked to match, and a code that names a method becomes
  /// the IntegrationMethod (any other number leaves it as it is).
  void ChooseMethod(MethodCode code);
  void StartAnimation();
  void SaveStatesBeforeAnimation();
  void Tick();
  void StopAnimation();
  void RestoreStatesBeforeAnimation();
  void ZeroValues();

  void MarkTickStart();
  void UpdateValues();
  void DrawLevels();
  /// UpdateValues then DrawLevels, leaving out the level marks that stay on
  /// their row: drawn away and back they would give the same pixels.
  void RedrawLevels();

  /// The reference passes, for tests and benchmarks only: one stage over the
  /// lists, object by object, through each relationship's Contribution. Tick
  /// gives the same numbers through its plan, which the program uses.
  void ComputeRelationships();
  void RungeKuttaPass(int stage);
  void EulerPass();
  void CommitStates();

  // Time graph.
  void ResetGraph();
  void DrawGraphAxis();
  void PlotStep();

  // The run's data.
  /// The levels of Variables, in list order, in a buffer reused from call to
  /// call: valid until the next call.
  std::span<const long double> LevelsNow();
  /// The names of Variables, in list order: the titles of the run's columns.
  std::vector<std::string> VariableNames() const;
  /// Starts the run's table again with one row: the clock and the levels now.
  /// Opening a model, a new one and zeroing the clock call it.
  void RestartRunData();
  /// Brings the table up to the model as it stands: a new table when the
  /// variables changed in number, a row at the same clock when levels were
  /// set between ticks. Tick calls it first.
  void CatchUpRunData();
  /// The table caught up, as text: the clock's column titled with the time
  /// unit ("tempo" without one), a column per variable titled with its name.
  std::string RunDataText(TableStyle style);

  // Model file.
  /// Replaces lines with the model file's text, one entry per line, UTF-8,
  /// and clears Modified.
  void SaveToLines(ModelLines& lines);
  /// The same text, leaving Modified as it is.
  void WriteText(ModelLines& lines) const;
  /// Rebuilds the model from the lines of a model file (UTF-8). Throws
  /// ModelFileError on a content error; what was completed before stays.
  LoadOutcome LoadFromLines(const ModelLines& lines);

  /// For tests only: SaveToLines into separate strings, which a test edits.
  void SaveToLines(std::vector<std::string>& lines);
  /// For tests only: the position of v in Variables, or -1. (The writer finds
  /// every position at once.)
  int IndexOfVariable(const TVariavel* v) const;

  // Commands of the window.
  /// Called around each command of the window: BeginCommand takes the text a
  /// save would write, EndCommand sets Modified when the command left another
  /// one. Opening, saving or clearing the model during a command makes the
  /// text at that point the one compared. Commands may nest; the outermost counts.
  /// A command that changed the text is an undo step; a press on the canvas
  /// opens one that its release closes, so a whole drag is one step.
  void BeginCommand();
  void EndCommand();

  // Undo and redo.
  /// Back to the text before the newest step, read as a file is (the
  /// environment with it); an open gesture ends first and an animation stops.
  /// Modified then tells whether the text differs from the one last saved or
  /// opened. False when there was no step.
  bool Undo();
  /// Forward again to the text the newest Undo left.
  bool Redo();
  /// For a new or an opened model: the steps belong to the model they were made on.
  void ForgetHistory() { history_.Clear(); }
  const ModelHistory& History() const { return history_; }
  /// Between a press on the canvas and its release.
  bool GestureOpen() const { return gestureOpen_; }
  /// Ends an open gesture as its release would.
  void FinishGesture();

private:
  /// The current object as a variable or as a relationship; null otherwise.
  TVariavel* CurrentVariable() const;
  TRelacionamento* CurrentRelationship() const;
  /// The rate or proportion tool: the next two presses pick the ends.
  void UseLinkTool(RelationshipKind kind);
  /// What PickAt does with the object it hit: selected, raised and drawn.
  void PickObject(TObjGrafico* obj);
  /// A relationship tool's press after its pick: takes the current object as
  /// the origin or the destination, or cancels the tool.
  void TakeLinkEnd();
  /// The start of a drag of the current object, anchored at (x, y).
  void StartDrag(std::int32_t x, std::int32_t y);
  /// A relationship tool press that found no usable variable.
  void CancelLinkTool();
  /// Drops every reference the document keeps to v besides its list entry.
  void ForgetVariable(const TVariavel* v);
  /// Graph row of an inner value, saturated to the 32-bit range.
  std::int32_t GraphY(long double value) const;
  /// Keeps v's level, as the graph plots it, in GraphTraces; hint is where the
  /// search starts, and after the call the entry after v's.
  void TraceLevel(const TVariavel& v, std::size_t& hint);
  /// The brush colour relationship boxes are filled with.
  void FillBoxesWhite();

  /// Inside a command, its text is taken again: the model agrees with its file.
  void TakeCommandStart();
  void OpenBracket(bool gesture);
  /// A gesture's own change (placing, linking, dragging). A gesture without
  /// one that changed the text only brought an object to the front.
  void MarkEdited();
  /// LoadFromLines; without keepInside objects stay where the text has them
  /// (outside a canvas that shrank since), as undo must give the text back.
  LoadOutcome LoadText(const ModelLines& lines, bool keepInside);
  /// Undo or Redo: loads the text the step leads to.
  bool TakeStep(std::size_t (ModelHistory::*available)() const,
                ModelLines (ModelHistory::*take)(const ModelLines&));

  IEditorHost& host_;
  /// What Tick integrates; each tick makes it anew from the lists.
  SimulationPlan plan_;
  /// Levels gathered by LevelsNow.
  std::vector<long double> levelsNow_;
  /// Inside a command: the text it is compared with when it ends.
  ModelLines commandStart_;
  int commandDepth_ = 0;
  /// The outermost bracket open is a press's.
  bool outermostIsGesture_ = false;
  bool gestureOpen_ = false;
  /// Inside the outermost bracket: something besides bringing to the front changed.
  bool edited_ = false;
  ModelHistory history_;
  /// The text of the model as last saved or opened: the last text that a
  /// command began on while the model was not Modified. Empty before the first.
  ModelLines savedText_;
  bool savedTextKnown_ = false;
};
