#pragma once

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

/// The lines of a model file, held as one text and one end offset per line,
/// so that a file of millions of empty lines costs four bytes a line. Used
/// like a vector of strings; a line asked for beyond the last reads empty.
class ModelLines {
public:
  class const_iterator {
  public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    const_iterator() = default;
    const_iterator(const ModelLines* lines, std::size_t i) : lines_(lines), i_(i) {}
    std::string_view operator*() const { return (*lines_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++i_;
      return before;
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
      return a.i_ == b.i_;
    }

  private:
    const ModelLines* lines_ = nullptr;
    std::size_t i_ = 0;
  };
  using iterator = const_iterator;
  using value_type = std::string_view;

  ModelLines() = default;
  ModelLines(std::initializer_list<std::string_view> lines);
  // Implicit, so that a hand-made list of lines can be loaded as a file's.
  ModelLines(const std::vector<std::string>& lines);  // NOLINT(google-explicit-constructor)
  operator std::vector<std::string>() const;          // NOLINT(google-explicit-constructor)

  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](std::size_t i) const;
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  void clear();
  void reserve(std::size_t lines, std::size_t characters);
  void push_back(std::string_view line);
  void emplace_back(std::string_view line = {}) { push_back(line); }

  friend bool operator==(const ModelLines& a, const ModelLines& b) {
    return a.ends_ == b.ends_ && a.text_ == b.text_;
  }
  friend bool operator==(const ModelLines& a, const std::vector<std::string>& b);
  friend void PrintTo(const ModelLines& lines, std::ostream* os);

private:
  /// Every line's text, one after the other, without line breaks.
  std::string text_;
  /// Where each line's text ends in text_; a line starts where the one before ends.
  std::vector<std::uint32_t> ends_;
};
