#include "document/uEditor.h"

#include <cassert>
#include <utility>

void TEditor::BeginCommand() { OpenBracket(false); }

void TEditor::OpenBracket(bool gesture) {
  if (commandDepth_++ > 0) {
    // A key pressed during a drag (Delete) makes the drag's step an edit.
    if (!gesture) edited_ = true;
    return;
  }
  WriteText(commandStart_);
  if (!Modified) {
    savedText_ = commandStart_;
    savedTextKnown_ = true;
  }
  outermostIsGesture_ = gesture;
  edited_ = false;
}

void TEditor::EndCommand() {
  assert(commandDepth_ > 0 && "every command that ends began");
  if (--commandDepth_ > 0) return;
  ModelLines now;
  WriteText(now);
  if (now == commandStart_) return;
  // A plain click brings an object to the front, which changes the order of
  // the file's records but nothing a user would call a change.
  if (outermostIsGesture_ && !edited_) return;
  Modified = true;
  history_.Record(commandStart_, now);
}

void TEditor::TakeCommandStart() {
  if (commandDepth_ > 0) WriteText(commandStart_);
}

void TEditor::MarkEdited() {
  Modified = true;
  edited_ = true;
}

void TEditor::FinishGesture() {
  if (gestureOpen_) MouseUp();
}

bool TEditor::Undo() { return TakeStep(&ModelHistory::UndoSteps, &ModelHistory::Undo); }

bool TEditor::Redo() { return TakeStep(&ModelHistory::RedoSteps, &ModelHistory::Redo); }

bool TEditor::TakeStep(std::size_t (ModelHistory::*available)() const,
                       ModelLines (ModelHistory::*take)(const ModelLines&)) {
  FinishGesture();
  if ((history_.*available)() == 0) return false;
  ModelLines now;
  WriteText(now);
  const ModelLines text = (history_.*take)(now);
  if (!Modified) {
    savedText_ = std::move(now);
    savedTextKnown_ = true;
  }
  // Running on, the animation would integrate from the old objects' values.
  if (RunState != RunState::Stopped) StopAnimation();
  const LoadOutcome outcome = LoadText(text, false);
  assert(outcome == LoadOutcome::Loaded && "the history holds texts the writer wrote");
  (void)outcome;
  Modified = !savedTextKnown_ || text != savedText_;
  return true;
}
