#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

static_assert(sizeof(long double) >= 10 && __LDBL_MANT_DIG__ == 64,
              "Korvel's reals are 80-bit x87 extended precision");

/// Nearest integer, halves to even; saturates at the 32-bit range, NaN gives 0.
std::int32_t RoundHalfEven(long double v);

/// Truncation toward zero; saturates at the 32-bit range, NaN gives 0.
std::int32_t TruncToInt32(long double v);

/// The 64-bit value clamped into the 32-bit range.
constexpr std::int32_t SaturateToInt32(std::int64_t v) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  return v > kMax ? kMax : v < kMin ? kMin : static_cast<std::int32_t>(v);
}

/// a + b clamped into the 32-bit range: the coordinate arithmetic of every
/// model object, whose coordinates a file may put anywhere in that range.
constexpr std::int32_t SatAdd(std::int32_t a, std::int64_t b) {
  return SaturateToInt32(std::int64_t(a) + b);
}

/// The general number format of the model file: at most 15 significant digits,
/// fixed notation for 1e-5 <= |v| < 1e15, otherwise mantissa, 'E', exponent
/// ("1E-6", "1,5E20"); whole values have no separator. The bounds apply to the
/// value rounded to 15 digits, so 999999999999999.9 is written "1E15".
/// Not-a-number and infinities, which the model never produces, are written
/// "NAN", "INF" and "-INF".
std::string FormatGeneral(long double v, char decimalSeparator);

/// Puts decimalMark where printf wrote its mark, which follows the C library's
/// locale (a Qt program sets it from the user's): every '.' and ',' of text.
void UseDecimalMark(std::string& text, char decimalMark);

/// A real as the model file reader accepts it: optional sign, digits with '.'
/// or ',' as the separator, optional exponent. Empty when the text is not
/// such a number or its value is not finite in extended precision.
std::optional<long double> ParseReal(std::string_view text);

/// A real for a 64-bit field, read as ParseReal does. The writer's 15 digits
/// round the largest doubles up to 1.79769313486232E308, just beyond the
/// range; up to that text a value reads as the largest double, beyond it as
/// nothing.
std::optional<double> ParseDouble(std::string_view text);

/// A decimal integer with optional sign. Empty when the text is not one or
/// lies outside the 32-bit range.
std::optional<std::int32_t> ParseInt32(std::string_view text);
