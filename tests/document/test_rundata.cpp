#include "document/LevelCsv.h"
#include "document/LevelTable.h"
#include "tests/document/EditorTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace editor_test {
namespace {

TEST(LevelCsvStyles, EachStyleSeparatesQuotesAndMarksDecimalsItsWay) {
  const std::vector<std::string> names{"a,b", "diz \"oi\"", "x;y", "dias"};
  const std::vector<long double> levels{0.125L, -0.5L, 1e-5L, 1.5e4000L};
  const struct {
    const char* name;
    TableStyle style;
    const char* header;
    const char* row;
  } cases[] = {
      {"point", kCsvWithPoint, "dias,\"a,b\",\"diz \"\"oi\"\"\",x;y,dias (2)\n",
       "3,0.125,-0.5,1e-05,1.5e+4000\n"},
      {"comma", kCsvWithComma, "dias;a,b;\"diz \"\"oi\"\"\";\"x;y\";dias (2)\n",
       "3;0,125;-0,5;1e-05;1,5e+4000\n"},
      {"tabs", TabStyleFor(','), "dias\ta,b\t\"diz \"\"oi\"\"\"\tx;y\tdias (2)\n",
       "3\t0,125\t-0,5\t1e-05\t1,5e+4000\n"},
  };
  for (const auto& c : cases) {
    const LevelCsv table(names, "dias", c.style);
    EXPECT_EQ(table.HeaderLine(), c.header) << c.name;
    EXPECT_EQ(table.RowLine(3, levels), c.row) << c.name;
  }
}

TEST(LevelTableBound, AFullTableDropsItsOldestRows) {
  const std::size_t columns = LevelTable::kMaxCells / 4;
  LevelTable table;
  table.Restart(columns);
  ASSERT_EQ(table.Capacity(), 4u);
  std::vector<long double> levels(columns);
  for (int clock = 0; clock < 7; ++clock) {
    levels.back() = clock;
    table.Append(clock, levels);
  }
  ASSERT_EQ(table.Rows(), 4u);
  for (std::size_t row = 0; row < 4; ++row) {
    EXPECT_EQ(table.Clock(row), int(row) + 3);
    EXPECT_EQ(table.Levels(row).back(), row + 3);
  }
  table.Restart(2);
  EXPECT_EQ(table.Capacity(), LevelTable::kMaxRows) << "few variables keep the full count";
}

class RunDataTest : public EditorFixture {
protected:
  std::string Text() { return editor.RunDataText(kCsvWithPoint); }

  /// A tick as the window makes it: the clock counts after the document.
  void Tick() {
    editor.Tick();
    ++host.elapsedTicks;
  }
};

TEST_F(RunDataTest, RowsFollowTheTicksAndTheChangesBetweenThem) {
  TVariavel& a = Place(100, 200);
  Place(300, 200).SetName("B");
  a.SetName("A");
  a.SetLevel(0.5L);
  a.SelfChangeRate = 0.01;
  host.elapsedTicks = 5;
  host.unitsText = "";
  editor.RestartRunData();
  editor.StartAnimation();
  Tick();
  Tick();
  const std::string level1 = LevelText(editor.RunData.Levels(1)[0]);
  const std::string level2 = LevelText(a.Level);
  EXPECT_NE(level1, level2) << "self-change moves A every tick";
  EXPECT_EQ(Text(), "tempo,A,B\n5,0.5,0\n6," + level1 + ",0\n7," + level2 + ",0\n");

  editor.StopAnimation();
  editor.ZeroValues();
  host.unitsText = "dias";
  const std::string zeroed = Text();
  EXPECT_EQ(zeroed.substr(zeroed.find("\n7,") + 1), "7," + level2 + ",0\n7,0,0\n")
      << "the zeroed levels follow at the same clock";
  EXPECT_EQ(Text(), zeroed) << "nothing changed since";
  EXPECT_EQ(zeroed.substr(0, 11), "dias,A,B\n5,");

  Place(500, 200).SetName("C");
  EXPECT_EQ(Text(), "dias,A,B,C\n7,0,0,0\n") << "other columns: a new table";
  host.elapsedTicks = 3;
  EXPECT_EQ(Text(), "dias,A,B,C\n3,0,0,0\n") << "a clock set back (an undo) starts a new table";
  host.elapsedTicks = 0;
  editor.RestartRunData();
  EXPECT_EQ(Text(), "dias,A,B,C\n0,0,0,0\n");
}

}  // namespace
}  // namespace editor_test
