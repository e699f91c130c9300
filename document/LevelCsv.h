#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// What separates a table's fields and the whole part of a number from its
/// fraction.
struct TableStyle {
  char separator;
  char decimalMark;
};

/// CSV as spreadsheets read it where the point is the decimal mark.
inline constexpr TableStyle kCsvWithPoint{',', '.'};
/// CSV as spreadsheets read it where the comma is the decimal mark (pt_BR):
/// the comma can't separate fields there.
inline constexpr TableStyle kCsvWithComma{';', ','};

/// The CSV style a spreadsheet of a locale with this decimal mark opens.
constexpr TableStyle CsvStyleFor(char decimalMark) {
  return decimalMark == ',' ? kCsvWithComma : kCsvWithPoint;
}
/// Tab-separated text, as spreadsheets take it from the clipboard.
constexpr TableStyle TabStyleFor(char decimalMark) { return {'\t', decimalMark}; }

/// The table of levels that korvel-sim prints and the window copies and
/// saves: a clock column, then one column per variable holding its Level.
/// Lines end with '\n'.
class LevelCsv {
public:
  /// Columns for variables of these names, in model order, after the clock's
  /// column titled clockTitle; names that repeat (or that are the clock's
  /// title) get " (2)", " (3)", ... until every title is unique.
  explicit LevelCsv(const std::vector<std::string>& names, std::string clockTitle = "tick",
                    TableStyle style = kCsvWithPoint);

  const std::vector<std::string>& Titles() const { return titles_; }
  std::string HeaderLine() const;
  /// levels must hold one value per variable.
  std::string RowLine(std::int64_t clock, std::span<const long double> levels) const;

private:
  std::string clockTitle_;
  TableStyle style_;
  std::vector<std::string> titles_;
};

/// The text as one field: quoted, with quotes doubled, when it holds the
/// separator, a quote or a line break.
std::string CsvField(std::string_view text, char separator = ',');

/// A level as the table shows it: the shortest text that reads back as the
/// same double, or 17 significant digits for one beyond the double range.
std::string LevelText(long double level, char decimalMark = '.');

/// The shortest decimal text that reads back as the same double; "0" for -0.
std::string ShortestText(double v);
