#include "document/LevelCsv.h"

#include "platform/Numbers.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

LevelCsv::LevelCsv(const std::vector<std::string>& names, std::string clockTitle, TableStyle style)
    : clockTitle_(std::move(clockTitle)), style_(style) {
  // Every given name is reserved, so a made-up title can't take a later one's.
  std::unordered_set<std::string_view> reserved(names.begin(), names.end());
  reserved.insert(clockTitle_);
  std::unordered_set<std::string> used{clockTitle_};
  // The next number to try for each name: a name met n times costs n tries,
  // not 1 + 2 + ... + n.
  std::unordered_map<std::string_view, int> nextNumber;
  titles_.reserve(names.size());
  for (const std::string& name : names) {
    std::string title = name;
    if (used.contains(title)) {
      int& k = nextNumber.try_emplace(name, 2).first->second;
      do {
        title = name + " (" + std::to_string(k++) + ")";
      } while (used.contains(title) || reserved.contains(title));
    }
    used.insert(title);
    titles_.push_back(std::move(title));
  }
}

std::string LevelCsv::HeaderLine() const {
  std::string line = CsvField(clockTitle_, style_.separator);
  for (const std::string& title : titles_) {
    line += style_.separator;
    line += CsvField(title, style_.separator);
  }
  line += '\n';
  return line;
}

std::string LevelCsv::RowLine(std::int64_t clock, std::span<const long double> levels) const {
  assert(levels.size() == titles_.size() && "one level per variable");
  std::string line = std::to_string(clock);
  for (long double level : levels) {
    line += style_.separator;
    line += LevelText(level, style_.decimalMark);
  }
  line += '\n';
  return line;
}

std::string CsvField(std::string_view text, char separator) {
  const char special[] = {separator, '"', '\r', '\n', '\0'};
  if (text.find_first_of(special) == std::string_view::npos) return std::string(text);
  std::string field = "\"";
  for (char c : text) {
    if (c == '"') field += '"';
    field += c;
  }
  field += '"';
  return field;
}

std::string LevelText(long double level, char decimalMark) {
  std::string text;
  if (std::fabs(level) <= std::numeric_limits<double>::max()) {
    text = ShortestText(static_cast<double>(level));
  } else {
    // Only a file can hold such a level; it has no double, so print it whole.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Lg", level);
    text = buffer;
  }
  UseDecimalMark(text, decimalMark);
  return text;
}

std::string ShortestText(double v) {
  if (v == 0) return "0";  // also for -0, which a spreadsheet would show oddly
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  assert(result.ec == std::errc() && "32 characters hold any double");
  return std::string(buffer, result.ptr);
}
