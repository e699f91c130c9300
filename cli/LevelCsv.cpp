#include "cli/LevelCsv.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr std::string_view kTickTitle = "tick";

}  // namespace

LevelCsv::LevelCsv(const std::vector<std::string>& names) {
  // Every given name is reserved, so a made-up title can't take a later one's.
  std::unordered_set<std::string_view> reserved(names.begin(), names.end());
  reserved.insert(kTickTitle);
  std::unordered_set<std::string> used{std::string(kTickTitle)};
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
  std::string line(kTickTitle);
  for (const std::string& title : titles_) {
    line += ',';
    line += CsvField(title);
  }
  line += '\n';
  return line;
}

std::string LevelCsv::RowLine(std::int64_t tick, const std::vector<long double>& levels) const {
  assert(levels.size() == titles_.size() && "one level per variable");
  std::string line = std::to_string(tick);
  for (long double level : levels) {
    line += ',';
    line += LevelText(level);
  }
  line += '\n';
  return line;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string field = "\"";
  for (char c : text) {
    if (c == '"') field += '"';
    field += c;
  }
  field += '"';
  return field;
}

std::string LevelText(long double level) {
  if (std::fabs(level) <= std::numeric_limits<double>::max()) {
    return ShortestText(static_cast<double>(level));
  }
  // Only a file can hold such a level; it has no double, so print it whole.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17Lg", level);
  return buffer;
}

std::string ShortestText(double v) {
  if (v == 0) return "0";  // also for -0, which a spreadsheet would show oddly
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  assert(result.ec == std::errc() && "32 characters hold any double");
  return std::string(buffer, result.ptr);
}
