#include "document/ModelLines.h"

#include <limits>
#include <ostream>
#include <stdexcept>

ModelLines::ModelLines(std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) push_back(line);
}

ModelLines::ModelLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) push_back(line);
}

ModelLines::operator std::vector<std::string>() const {
  return std::vector<std::string>(begin(), end());
}

std::string_view ModelLines::operator[](std::size_t i) const {
  if (i >= ends_.size()) return {};
  const std::size_t start = i == 0 ? 0 : ends_[i - 1];
  return std::string_view(text_).substr(start, ends_[i] - start);
}

void ModelLines::clear() {
  text_.clear();
  ends_.clear();
}

void ModelLines::reserve(std::size_t lines, std::size_t characters) {
  ends_.reserve(lines);
  text_.reserve(characters);
}

void ModelLines::push_back(std::string_view line) {
  if (line.size() > std::numeric_limits<std::uint32_t>::max() - text_.size()) {
    throw std::length_error("Text exceeds memo capacity");
  }
  text_ += line;
  ends_.push_back(static_cast<std::uint32_t>(text_.size()));
}

bool operator==(const ModelLines& a, const std::vector<std::string>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

void PrintTo(const ModelLines& lines, std::ostream* os) {
  *os << '{';
  for (std::size_t i = 0; i < lines.size(); ++i) *os << (i ? ", \"" : "\"") << lines[i] << '"';
  *os << '}';
}
