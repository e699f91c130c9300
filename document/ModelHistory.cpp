#include "document/ModelHistory.h"

#include <algorithm>
#include <cassert>

ModelHistory::Step ModelHistory::Difference(const ModelLines& far, const ModelLines& near) {
  const std::size_t shorter = std::min(far.size(), near.size());
  std::size_t head = 0;
  while (head < shorter && far[head] == near[head]) ++head;
  std::size_t tail = 0;
  while (tail < shorter - head && far[far.size() - 1 - tail] == near[near.size() - 1 - tail])
    ++tail;

  Step step;
  step.head = static_cast<std::uint32_t>(head);
  step.tail = static_cast<std::uint32_t>(tail);
  std::size_t characters = 0;
  for (std::size_t i = head; i < far.size() - tail; ++i) characters += far[i].size();
  step.middle.reserve(far.size() - tail - head, characters);
  for (std::size_t i = head; i < far.size() - tail; ++i) step.middle.push_back(far[i]);
  step.bytes = sizeof(Step) + characters + step.middle.size() * sizeof(std::uint32_t);
  return step;
}

ModelLines ModelHistory::Rebuild(const Step& step, const ModelLines& near) {
  assert(step.head + step.tail <= near.size() && "a step is rebuilt from the text it was taken against");
  ModelLines far;
  for (std::size_t i = 0; i < step.head; ++i) far.push_back(near[i]);
  for (std::string_view line : step.middle) far.push_back(line);
  for (std::size_t i = near.size() - step.tail; i < near.size(); ++i) far.push_back(near[i]);
  return far;
}

void ModelHistory::Rebase(const ModelLines& text) {
  if (text == current_) return;
  for (std::vector<Step>* side : {&undo_, &redo_}) {
    if (side->empty()) continue;
    const ModelLines far = Rebuild(side->back(), current_);
    bytes_ -= side->back().bytes;
    side->back() = Difference(far, text);
    bytes_ += side->back().bytes;
  }
  current_ = text;
}

void ModelHistory::Record(const ModelLines& before, const ModelLines& after) {
  Rebase(before);
  for (const Step& s : redo_) bytes_ -= s.bytes;
  redo_.clear();
  undo_.push_back(Difference(before, after));
  bytes_ += undo_.back().bytes;
  current_ = after;
  DropOldSteps();
}

ModelLines ModelHistory::Turn(std::vector<Step>& from, std::vector<Step>& to,
                              const ModelLines& current) {
  assert(!from.empty() && "there is a step to take");
  Rebase(current);
  ModelLines far = Rebuild(from.back(), current_);
  bytes_ -= from.back().bytes;
  from.pop_back();
  to.push_back(Difference(current_, far));
  bytes_ += to.back().bytes;
  current_ = far;
  return far;
}

ModelLines ModelHistory::Undo(const ModelLines& current) { return Turn(undo_, redo_, current); }

ModelLines ModelHistory::Redo(const ModelLines& current) { return Turn(redo_, undo_, current); }

void ModelHistory::Clear() {
  undo_.clear();
  redo_.clear();
  current_.clear();
  bytes_ = 0;
}

void ModelHistory::DropOldSteps() {
  std::size_t drop = 0;
  while (undo_.size() - drop > kMinSteps && bytes_ > kMaxBytes) bytes_ -= undo_[drop++].bytes;
  undo_.erase(undo_.begin(), undo_.begin() + std::ptrdiff_t(drop));
}
