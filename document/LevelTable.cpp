#include "document/LevelTable.h"

#include <algorithm>
#include <cassert>

void LevelTable::Restart(std::size_t columns) {
  columns_ = columns;
  capacity_ = std::clamp<std::size_t>(kMaxCells / std::max<std::size_t>(columns, 1), 1, kMaxRows);
  clocks_.clear();
  cells_.clear();
  // Taken at once, so that ticking never allocates; pages never written
  // cost no memory.
  clocks_.reserve(capacity_);
  cells_.reserve(capacity_ * columns);
  oldest_ = 0;
}

void LevelTable::Append(std::int32_t clock, std::span<const long double> levels) {
  assert(levels.size() == columns_ && "one level per column");
  if (clocks_.size() < capacity_) {
    clocks_.push_back(clock);
    cells_.insert(cells_.end(), levels.begin(), levels.end());
    return;
  }
  clocks_[oldest_] = clock;
  std::copy(levels.begin(), levels.end(), cells_.begin() + std::ptrdiff_t(oldest_ * columns_));
  oldest_ = (oldest_ + 1) % capacity_;
}
