#pragma once

#include "document/ModelLines.h"

#include <cstddef>
#include <cstdint>
#include <vector>

/// The undo and redo steps of a model, as model texts. A step keeps the text
/// it leads to as the lines that differ from the text it is taken from: the
/// current text for the newest step of each side, the text the step above it
/// leads to for the others. So a drag in a model of thousands of variables
/// costs a few lines, not a file. Changes that are no steps (animation ticks,
/// an object brought to the front) may come between: the newest steps are
/// then taken again from the text they find.
class ModelHistory {
public:
  /// At least this many undo steps are kept, whatever they weigh ...
  static constexpr std::size_t kMinSteps = 100;
  /// ... and beyond them the oldest go while the steps weigh more than this.
  static constexpr std::size_t kMaxBytes = std::size_t{32} << 20;

  /// A command took the text from before to after, the text now. Redo is gone.
  void Record(const ModelLines& before, const ModelLines& after);
  /// The text before the newest step; current (the text now) becomes the
  /// redo step. Only when UndoSteps() > 0.
  ModelLines Undo(const ModelLines& current);
  /// The text the newest undo left; only when RedoSteps() > 0.
  ModelLines Redo(const ModelLines& current);
  void Clear();

  std::size_t UndoSteps() const { return undo_.size(); }
  std::size_t RedoSteps() const { return redo_.size(); }
  /// What the steps take in memory, roughly, besides one whole text.
  std::size_t Bytes() const { return bytes_; }

private:
  struct Step {
    /// Lines shared with the near side at its start and at its end.
    std::uint32_t head = 0;
    std::uint32_t tail = 0;
    /// The far side's lines between them.
    ModelLines middle;
    std::size_t bytes = 0;
  };

  /// far as the lines it doesn't share with near.
  static Step Difference(const ModelLines& far, const ModelLines& near);
  static ModelLines Rebuild(const Step& step, const ModelLines& near);
  /// Moves the newest step of from onto to, turned to face the other way.
  ModelLines Turn(std::vector<Step>& from, std::vector<Step>& to, const ModelLines& current);
  /// The newest steps, taken from current_, are taken from text instead.
  void Rebase(const ModelLines& text);
  void DropOldSteps();

  /// Oldest first.
  std::vector<Step> undo_;
  std::vector<Step> redo_;
  /// The text the newest steps are taken from: after the last Record, Undo or Redo.
  ModelLines current_;
  std::size_t bytes_ = 0;
};
