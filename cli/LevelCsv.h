#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// The CSV table korvel-sim prints: a "tick" column, then one column per
/// variable holding its Level. Lines end with '\n'; numbers use '.'.
class LevelCsv {
public:
  /// Columns for variables of these names, in model order; names that repeat
  /// (or that are "tick") get " (2)", " (3)", ... until every title is unique.
  explicit LevelCsv(const std::vector<std::string>& names);

  const std::vector<std::string>& Titles() const { return titles_; }
  std::string HeaderLine() const;
  /// levels must hold one value per variable.
  std::string RowLine(std::int64_t tick, const std::vector<long double>& levels) const;

private:
  std::vector<std::string> titles_;
};

/// The text as one CSV field: quoted, with quotes doubled, when it holds a
/// comma, a quote or a line break.
std::string CsvField(std::string_view text);

/// A level as the table shows it: the shortest text that reads back as the
/// same double, or 17 significant digits for one beyond the double range.
std::string LevelText(long double level);

/// The shortest decimal text that reads back as the same double; "0" for -0.
std::string ShortestText(double v);
