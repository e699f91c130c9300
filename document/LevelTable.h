#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

/// Rows of a run: the clock's value and one level per variable, in model
/// order. It keeps the latest rows only, at most kMaxRows and at most
/// kMaxCells levels, so a model left running all day costs bounded memory,
/// taken when the table starts; adding a row costs the same at any length.
class LevelTable {
public:
  static constexpr std::size_t kMaxRows = 100000;
  static constexpr std::size_t kMaxCells = 1000000;

  /// Drops every row; the next ones hold this many levels.
  void Restart(std::size_t columns);
  /// levels must hold Columns() values. When the table is full the oldest
  /// row gives way.
  void Append(std::int32_t clock, std::span<const long double> levels);

  std::size_t Columns() const { return columns_; }
  std::size_t Rows() const { return clocks_.size(); }
  /// The most rows kept for this many columns.
  std::size_t Capacity() const { return capacity_; }
  /// Row 0 is the oldest kept.
  std::int32_t Clock(std::size_t row) const { return clocks_[Slot(row)]; }
  std::span<const long double> Levels(std::size_t row) const {
    return {cells_.data() + Slot(row) * columns_, columns_};
  }

private:
  std::size_t Slot(std::size_t row) const { return (oldest_ + row) % capacity_; }

  std::size_t columns_ = 0;
  std::size_t capacity_ = kMaxRows;
  /// Ring storage: once full, oldest_ is the slot the next row overwrites.
  std::vector<std::int32_t> clocks_;
  std::vector<long double> cells_;
  std::size_t oldest_ = 0;
};
