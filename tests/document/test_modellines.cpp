#include "document/ModelLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

TEST(ModelLines, HoldsLinesAsAVectorOfStringsWouldAndReadsEmptyBeyondTheLast) {
  const Strings cases[] = {
      {},
      {""},
      {"KORVEL - VERSAO 1.0", "", "FIM"},
      {std::string("a\0b", 3), "Água", "", ""},
  };
  for (const Strings& strings : cases) {
    const ModelLines lines(strings);
    EXPECT_EQ(lines.size(), strings.size());
    EXPECT_EQ(lines, strings);
    EXPECT_EQ(Strings(lines), strings);
    EXPECT_EQ(Strings(lines.begin(), lines.end()), strings);
    EXPECT_EQ(lines[strings.size()], "");
    EXPECT_EQ(lines[strings.size() + 1000], "");
  }
}

TEST(ModelLines, LinesAreEqualOnlyWhenEveryLineIs) {
  const ModelLines ab{"ab"};
  const struct {
    const char* name;
    ModelLines other;
  } different[] = {
      {"same text split otherwise", {"a", "b"}},
      {"one more empty line", {"ab", ""}},
      {"an empty line before", {"", "ab"}},
      {"another text", {"ba"}},
  };
  for (const auto& c : different) {
    EXPECT_NE(ab, c.other) << c.name;
    EXPECT_FALSE(ab == Strings(c.other)) << c.name;
  }
  ModelLines rebuilt;
  rebuilt.push_back("x");
  rebuilt.clear();
  rebuilt.emplace_back("ab");
  EXPECT_EQ(rebuilt, ab) << "clear leaves nothing behind";
}

}  // namespace
