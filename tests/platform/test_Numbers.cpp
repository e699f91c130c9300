#include "platform/Numbers.h"
#include "platform/RegionalSettings.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
const long double kNaN = std::numeric_limits<long double>::quiet_NaN();
const long double kInf = std::numeric_limits<long double>::infinity();

struct RoundCase {
  const char* name;
  long double value;
  std::int32_t rounded;
  std::int32_t truncated;
};

class Rounding : public testing::TestWithParam<RoundCase> {};

TEST_P(Rounding, RoundsHalvesToEvenTruncatesTowardZeroAndSaturates) {
  const RoundCase& tc = GetParam();
  EXPECT_EQ(RoundHalfEven(tc.value), tc.rounded);
  EXPECT_EQ(TruncToInt32(tc.value), tc.truncated);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, Rounding,
    testing::Values(RoundCase{"HalfGoesDownToEven", 0.5L, 0, 0},
                    RoundCase{"HalfGoesUpToEven", 1.5L, 2, 1},
                    RoundCase{"TwoAndAHalf", 2.5L, 2, 2},
                    RoundCase{"NegativeHalf", -0.5L, 0, 0},
                    RoundCase{"NegativeOneAndAHalf", -1.5L, -2, -1},
                    RoundCase{"NegativeTwoAndAHalf", -2.5L, -2, -2},
                    RoundCase{"JustAboveHalf", 0.5000000000000001L, 1, 0},
                    RoundCase{"JustBelowHalf", 2.4999999999L, 2, 2},
                    RoundCase{"NegativeFraction", -7.6L, -8, -7},
                    RoundCase{"LargestExact", 2147483647.0L, kMax, kMax},
                    RoundCase{"HalfAboveTheLargest", 2147483647.5L, kMax, kMax},
                    RoundCase{"JustBelowTheLargest", 2147483646.5L, 2147483646, 2147483646},
                    RoundCase{"SmallestExact", -2147483648.0L, kMin, kMin},
                    RoundCase{"BelowTheSmallest", -2147483648.7L, kMin, kMin},
                    RoundCase{"Huge", 1e300L, kMax, kMax},
                    RoundCase{"HugeNegative", -1e4000L, kMin, kMin},
                    RoundCase{"Infinity", kInf, kMax, kMax},
                    RoundCase{"MinusInfinity", -kInf, kMin, kMin},
                    RoundCase{"NaN", kNaN, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Numbers, SaturateToInt32ClampsBothEnds) {
  EXPECT_EQ(SaturateToInt32(std::int64_t{kMax} + 1), kMax);
  EXPECT_EQ(SaturateToInt32(std::numeric_limits<std::int64_t>::min()), kMin);
  EXPECT_EQ(SaturateToInt32(-12345), -12345);
}

struct FormatCase {
  const char* name;
  long double value;
  const char* comma;
};

class FormatGeneralTable : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatGeneralTable, WritesTheModelFileFormat) {
  const FormatCase& tc = GetParam();
  EXPECT_EQ(FormatGeneral(tc.value, ','), tc.comma);
  std::string dotted = tc.comma;
  for (char& ch : dotted)
    if (ch == ',') ch = '.';
  EXPECT_EQ(FormatGeneral(tc.value, '.'), dotted);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, FormatGeneralTable,
    testing::Values(
        FormatCase{"Zero", 0.0L, "0"}, FormatCase{"NegativeZero", -0.0L, "0"},
        FormatCase{"Half", 0.5L, "0,5"}, FormatCase{"Whole", 42.0L, "42"},
        FormatCase{"NegativeFraction", -0.25L, "-0,25"},
        FormatCase{"TrailingZerosGo", 1.1000L, "1,1"},
        FormatCase{"ThirdHasFifteenDigits", 1.0L / 3.0L, "0,333333333333333"},
        FormatCase{"TwoThirdsRoundsUp", 2.0L / 3.0L, "0,666666666666667"},
        FormatCase{"DoublePrecisionNoise", 0.1L + 0.2L, "0,3"},
        FormatCase{"RoundingCarriesIntoTheUnits", 9.99999999999999999L, "10"},
        FormatCase{"TenThousandthIsFixed", 0.0001L, "0,0001"},
        FormatCase{"SmallestFixed", 0.00001L, "0,00001"},
        FormatCase{"SmallestFixedNegative", -0.00001L, "-0,00001"},
        FormatCase{"RoundsUpToTheFixedBoundary", 0.0000099999999999999999L, "0,00001"},
        FormatCase{"BelowTheBoundaryIsScientific", 0.000009L, "9E-6"},
        FormatCase{"OneMillionth", 1e-6L, "1E-6"},
        FormatCase{"NegativeMantissaAndExponent", -2.5e-7L, "-2,5E-7"},
        FormatCase{"FifteenIntegerDigits", 999999999999999.0L, "999999999999999"},
        FormatCase{"FifteenDigitsWithFraction", 123456789012.345L, "123456789012,345"},
        FormatCase{"SixteenIntegerDigits", 1e15L, "1E15"},
        FormatCase{"RoundsUpToSixteenDigits", 999999999999999.9L, "1E15"},
        FormatCase{"LargeWithFraction", 1.5e20L, "1,5E20"},
        FormatCase{"ManyDigitsScientific", 1234567890123456789.0L, "1,23456789012346E18"},
        FormatCase{"TinyExtended", 3.6e-4000L, "3,6E-4000"},
        FormatCase{"HugeExtended", -1.2e4000L, "-1,2E4000"},
        FormatCase{"NaN", kNaN, "NAN"}, FormatCase{"Infinity", kInf, "INF"},
        FormatCase{"MinusInfinity", -kInf, "-INF"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Numbers, FormatThenParseKeepsFifteenDigits) {
  for (long double v : {0.1L, -3.14159265358979L, 1e-7L, 6.02214076e23L, 0.000012345L, 5.0L}) {
    const auto back = ParseReal(FormatGeneral(v, ','));
    ASSERT_TRUE(back.has_value()) << FormatGeneral(v, ',');
    EXPECT_EQ(FormatGeneral(*back, '.'), FormatGeneral(v, '.'));
    EXPECT_NEAR(static_cast<double>(*back / v), 1.0, 1e-14);
  }
}

struct ParseCase {
  const char* name;
  const char* text;
  std::optional<long double> value;
};

class ParseRealTable : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseRealTable, AcceptsOnlyPlainDecimals) {
  const ParseCase& tc = GetParam();
  EXPECT_EQ(ParseReal(tc.text), tc.value) << '"' << tc.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ParseRealTable,
    testing::Values(ParseCase{"Comma", "0,5", 0.5L}, ParseCase{"Dot", "0.5", 0.5L},
                    ParseCase{"Integer", "17", 17.0L}, ParseCase{"Signs", "-2,25", -2.25L},
                    ParseCase{"PlusSign", "+3", 3.0L},
                    ParseCase{"Blanks", "  \t1,5  ", 1.5L},
                    ParseCase{"TrailingCarriageReturn", "1,5\r", 1.5L},
                    ParseCase{"Exponent", "1E-6", 1e-6L},
                    ParseCase{"ExponentWithSeparator", "1,5E20", 1.5e20L},
                    ParseCase{"LowerExponent", "2.5e+3", 2500.0L},
                    ParseCase{"NoIntegerPart", ",25", 0.25L},
                    ParseCase{"NoFraction", "7.", 7.0L},
                    ParseCase{"ExtendedRange", "1e4000", 1e4000L},
                    ParseCase{"UnderflowIsZero", "1e-99999", 0.0L},
                    ParseCase{"TenthIsCorrectlyRounded", "0,1", 0.1L},
                    ParseCase{"Empty", "", std::nullopt},
                    ParseCase{"OnlyBlanks", "   ", std::nullopt},
                    ParseCase{"BothSeparators", "1,2.3", std::nullopt},
                    ParseCase{"TwoCommas", "1,2,3", std::nullopt},
                    ParseCase{"Hex", "0x10", std::nullopt},
                    ParseCase{"Infinity", "inf", std::nullopt},
                    ParseCase{"InfinityWord", "INFINITY", std::nullopt},
                    ParseCase{"NaN", "nan", std::nullopt},
                    ParseCase{"Overflow", "1e99999", std::nullopt},
                    ParseCase{"DoubleSign", "--1", std::nullopt},
                    ParseCase{"OnlySign", "-", std::nullopt},
                    ParseCase{"OnlySeparator", ",", std::nullopt},
                    ParseCase{"ExponentWithoutDigits", "1e", std::nullopt},
                    ParseCase{"ExponentWithoutMantissa", "e5", std::nullopt},
                    ParseCase{"InnerBlank", "1 000", std::nullopt},
                    ParseCase{"TrailingLetters", "12abc", std::nullopt},
                    ParseCase{"ThousandsAndDecimal", "1.000,5", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Numbers, ParseRealIgnoresTheProcessLocale) {
  // A program that calls setlocale must still read the model's reals the same way.
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old ? old : "C";
  if (std::setlocale(LC_NUMERIC, "pt_BR.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
    GTEST_SKIP() << "no comma locale installed";
  EXPECT_EQ(ParseReal("2.5"), 2.5L);
  EXPECT_EQ(ParseReal("2,5"), 2.5L);
  EXPECT_EQ(FormatGeneral(2.5L, ','), "2,5");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

struct IntCase {
  const char* text;
  std::optional<std::int32_t> value;
};

// A 64-bit field near the top of its range is written rounded up beyond it;
// it must still read back, or the rest of the file is lost.
TEST(Numbers, EveryDoubleTheWriterWritesReadsBackAsADouble) {
  constexpr double kLargest = std::numeric_limits<double>::max();
  const struct {
    const char* name;
    double value;
    double readBack;
  } cases[] = {
      {"largest", kLargest, kLargest},
      {"largest negative", -kLargest, -kLargest},
      {"one below the largest, written rounded up", std::nextafter(kLargest, 0.0), kLargest},
      {"last one written exactly", 1.79769313486231e308, 1.79769313486231e308},
      {"smallest subnormal", std::numeric_limits<double>::denorm_min(),
       std::numeric_limits<double>::denorm_min()},
      {"ordinary", 0.07, 0.07},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = FormatGeneral(c.value, ',');
    const std::optional<double> back = ParseDouble(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(*back, c.readBack) << text;
    EXPECT_EQ(FormatGeneral(*back, ','), text);
  }
  for (const char* beyond : {"1,79769313486233E308", "-1,8E308", "1E400", "abc"})
    EXPECT_FALSE(ParseDouble(beyond).has_value()) << beyond;
}

TEST(Numbers, ParseInt32AcceptsDecimalIntegersInRange) {
  const IntCase cases[] = {
      {"0", 0},
      {"  42 ", 42},
      {"-17", -17},
      {"+8", 8},
      {"007", 7},
      {"2147483647", kMax},
      {"-2147483648", kMin},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"1.0", std::nullopt},
      {"0x1F", std::nullopt},
      {"1e3", std::nullopt},
      {"--1", std::nullopt},
      {"1 2", std::nullopt},
  };
  for (const IntCase& tc : cases) EXPECT_EQ(ParseInt32(tc.text), tc.value) << '"' << tc.text << '"';
}

TEST(RegionalSettings, PinnedSeparatorWinsUntilReleased) {
  PinDecimalSeparator(',');
  EXPECT_EQ(DecimalSeparator(), ',');
  PinDecimalSeparator('.');
  EXPECT_EQ(DecimalSeparator(), '.');
  PinDecimalSeparator('\0');
  // The suite runs under LC_ALL=C.UTF-8, whose separator is the dot; either
  // way the answer is one of the two the model file knows.
  const char system = DecimalSeparator();
  EXPECT_TRUE(system == '.' || system == ',');
  EXPECT_FALSE(ShortDateText().empty());
}

}  // namespace
