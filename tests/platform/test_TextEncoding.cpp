#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextEncoding, EveryWindows1252ByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Windows1252ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8Length(utf8), 256u);
  EXPECT_TRUE(FitsWindows1252(utf8));
  EXPECT_EQ(Utf8ToWindows1252(utf8), all);
}

TEST(TextEncoding, HighBytesMapToTheirCharacters) {
  struct Case {
    unsigned char byte;
    const char* utf8;
  };
  const Case cases[] = {
      {0x80, "\u20AC"}, {0x8A, "\u0160"}, {0x96, "\u2013"}, {0x9F, "\u0178"},
      {0xE7, "ç"},      {0xE3, "ã"},      {0xC1, "Á"},      {0xA0, "\u00A0"},
      // The five bytes Windows leaves unassigned keep their C1 value.
      {0x81, "\xC2\x81"}, {0x8D, "\xC2\x8D"}, {0x8F, "\xC2\x8F"}, {0x90, "\xC2\x90"},
      {0x9D, "\xC2\x9D"},
  };
  for (const Case& tc : cases) {
    const std::string byte(1, static_cast<char>(tc.byte));
    EXPECT_EQ(Windows1252ToUtf8(byte), tc.utf8) << int(tc.byte);
    EXPECT_EQ(Utf8ToWindows1252(tc.utf8), byte) << int(tc.byte);
  }
  EXPECT_EQ(Windows1252ToUtf8("Popula\xE7\xE3o"), "População");
}

TEST(TextEncoding, FitsWindows1252OnlyWithItsCharacters) {
  EXPECT_TRUE(FitsWindows1252("Média Aritimética – “taxa” €"));
  EXPECT_TRUE(FitsWindows1252(""));
  EXPECT_FALSE(FitsWindows1252("Ω"));
  EXPECT_FALSE(FitsWindows1252("\u0080"));  // C1 0x80 is not a 1252 byte: 0x80 is the euro
  EXPECT_FALSE(FitsWindows1252("emoji \U0001F600"));
  EXPECT_FALSE(FitsWindows1252("\xE7"));  // not UTF-8 at all
}

TEST(TextEncoding, StrictUtf8Validation) {
  struct Case {
    const char* name;
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"ascii", "abc", true},
      {"two bytes", "\xC3\xA7", true},
      {"three bytes", "\xE2\x82\xAC", true},
      {"four bytes", "\xF0\x9F\x98\x80", true},
      {"largest code point", "\xF4\x8F\xBF\xBF", true},
      {"embedded nul", std::string("a\0b", 3), true},
      {"lone continuation", "\x80", false},
      {"truncated", "\xE2\x82", false},
      {"overlong slash", "\xC0\xAF", false},
      {"overlong three", "\xE0\x80\xAF", false},
      {"overlong four", "\xF0\x80\x80\xAF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false},
      {"invalid lead", "\xFF", false},
      {"continuation missing", "\xC3" "a", false},
  };
  for (const Case& tc : cases) EXPECT_EQ(IsValidUtf8(tc.bytes), tc.valid) << tc.name;
}

TEST(TextEncoding, Utf8LengthCountsCharacters) {
  EXPECT_EQ(Utf8Length(""), 0u);
  EXPECT_EQ(Utf8Length("Nível"), 5u);
  EXPECT_EQ(Utf8Length("€\U0001F600a"), 3u);
}

TEST(TextEncoding, MalformedInputToWindows1252NeitherHangsNorOverreads) {
  EXPECT_EQ(Utf8ToWindows1252("a\xE2\x82"), "a??");
}

}  // namespace
