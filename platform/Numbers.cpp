#include "platform/Numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace {

constexpr long double kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr long double kInt32Min = std::numeric_limits<std::int32_t>::min();

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

/// strtold answers in the process locale; the model's reals never depend on it.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
  return c;
}

}  // namespace

std::int32_t RoundHalfEven(long double v) {
  if (std::isnan(v)) return 0;
  if (v >= kInt32Max) return std::numeric_limits<std::int32_t>::max();
  if (v <= kInt32Min) return std::numeric_limits<std::int32_t>::min();
  // Inside the 32-bit range every step below is exact in extended precision.
  const long double below = std::floor(v);
  const long double fraction = v - below;
  auto result = static_cast<std::int64_t>(below);
  if (fraction > 0.5L || (fraction == 0.5L && (result & 1) != 0)) ++result;
  return SaturateToInt32(result);
}

std::int32_t TruncToInt32(long double v) {
  if (std::isnan(v)) return 0;
  if (v >= kInt32Max) return std::numeric_limits<std::int32_t>::max();
  if (v <= kInt32Min) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(std::trunc(v));
}

void UseDecimalMark(std::string& text, char decimalMark) {
  for (char& c : text)
    if (c == '.' || c == ',') c = decimalMark;
}

std::string FormatGeneral(long double v, char decimalSeparator) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  if (v == 0) return "0";

  // Fifteen significant digits, correctly rounded, as d.dddddddddddddde±x.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14Le", v);
  const std::string_view text(buffer);
  const std::size_t e = text.find('e');
  const bool negative = text.front() == '-';
  std::string digits;
  for (char c : text.substr(0, e))
    if (IsDigit(c)) digits += c;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int exponent = std::atoi(buffer + e + 1);

  std::string out = negative ? "-" : "";
  const auto count = static_cast<int>(digits.size());
  // The exponent is that of the rounded value: 9.999...e-6 prints as 0.00001.
  if (exponent >= -5 && exponent < 15) {
    if (exponent < 0) {
      out += '0';
      out += decimalSeparator;
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    } else if (count <= exponent + 1) {
      out += digits;
      out.append(static_cast<std::size_t>(exponent + 1 - count), '0');
    } else {
      out += digits.substr(0, static_cast<std::size_t>(exponent + 1));
      out += decimalSeparator;
      out += digits.substr(static_cast<std::size_t>(exponent + 1));
    }
    return out;
  }
  out += digits[0];
  if (count > 1) {
    out += decimalSeparator;
    out += digits.substr(1);
  }
  out += 'E';
  if (exponent < 0) out += '-';
  out += std::to_string(exponent < 0 ? -exponent : exponent);
  return out;
}

namespace {

/// The text as a plain C decimal ('.' separator, no blanks), or empty when it
/// is not a real the model file accepts; strtold and strtod then see neither
/// hex nor inf/nan.
std::optional<std::string> PlainDecimal(std::string_view text) {
  text = Trimmed(text);
  std::string normal;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
  std::size_t mantissaDigits = 0;
  bool separatorSeen = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      normal += c;
      ++mantissaDigits;
    } else if ((c == '.' || c == ',') && !separatorSeen) {
      normal += '.';
      separatorSeen = true;
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    normal += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
    std::size_t exponentDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++exponentDigits) normal += text[i];
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  return normal;
}

}  // namespace

std::optional<long double> ParseReal(std::string_view text) {
  const std::optional<std::string> normal = PlainDecimal(text);
  if (!normal) return std::nullopt;
  char* end = nullptr;
  const long double value = strtold_l(normal->c_str(), &end, CLocale());
  if (end != normal->c_str() + normal->size() || !std::isfinite(value)) return std::nullopt;
  // ERANGE with a finite result is an underflow towards zero, which is a fine value.
  return value;
}

std::optional<double> ParseDouble(std::string_view text) {
  const std::optional<std::string> normal = PlainDecimal(text);
  if (!normal) return std::nullopt;
  // Straight to double: going through long double could round twice.
  char* end = nullptr;
  const double value = strtod_l(normal->c_str(), &end, CLocale());
  if (end != normal->c_str() + normal->size()) return std::nullopt;
  if (std::isfinite(value)) return value;
  constexpr long double kLargestWritten = 1.79769313486232E308L;
  const long double wide = strtold_l(normal->c_str(), nullptr, CLocale());
  if (std::fabs(wide) > kLargestWritten) return std::nullopt;
  return std::copysign(std::numeric_limits<double>::max(), value);
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
  text = Trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > std::int64_t{1} << 31) return std::nullopt;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}
