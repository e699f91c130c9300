#include "document/uEditor.h"

#include <cassert>

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

bool TEditor::Undo() {
  FinishGesture();
  if (history_.UndoSteps() == 0) return false;
  ModelLines now;
  WriteText(now);
  Restore(history_.Undo(now), now);
  return true;
}

bool TEditor::Redo() {
  FinishGesture();
  if (history_.RedoSteps() == 0) return false;
  ModelLines now;
  WriteText(now);
  Restore(history_.Redo(now), now);
  return true;
}

void TEditor::Restore(const ModelLines& text, const ModelLines& current) {
  if (!Modified) {
    savedText_ = current;
    savedTextKnown_ = true;
  }
  // Running on, the animation would integrate from the old objects' values.
  if (RunState != RunState::Stopped) StopAnimation();
  const LoadOutcome outcome = LoadText(text, false);
  assert(outcome == LoadOutcome::Loaded && "the history holds texts the writer wrote");
  (void)outcome;
  Modified = !savedTextKnown_ || text != savedText_;
}
