#include "cli/KorvelSim.h"
#include "document/LevelCsv.h"
#include "document/ModelText.h"
#include "platform/Numbers.h"
#include "platform/RegionalSettings.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;
using Row = std::vector<std::string>;

const std::string kRefusal = "Este arquivo não pode ser aberto nesta versão do Korvel";

std::string Data(const std::string& name) { return std::string(KORVEL_TEST_DATA) + "/" + name; }

std::string Contents(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome Sim(const Args& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunKorvelSim(args, out, err);
  return {status, out.str(), err.str()};
}

/// The rows of a table whose fields hold no quotes, header included.
std::vector<Row> Table(const std::string& csv) {
  std::vector<Row> rows;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    Row row;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, ',');) row.push_back(field);
    rows.push_back(row);
  }
  return rows;
}

/// The level a gauge shows for an inner value, computed as the variables do:
/// (e^v - 1) / (e^v + 1) in extended precision, then rounded to a double.
double LevelOf(long double inner) {
  const long double e = std::exp(inner);
  return double((e - 1) / (e + 1));
}

double Cell(const std::vector<Row>& rows, std::size_t tick, std::size_t column) {
  return std::stod(rows.at(tick + 1).at(column));
}

class KorvelSimTest : public testing::Test {
protected:
  void SetUp() override {
    PinDecimalSeparator(',');
    std::string pattern = (fs::temp_directory_path() / "korvel-sim-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    fs::remove_all(dir);
    PinDecimalSeparator('\0');
  }

  std::string Temp(const std::string& name) const { return (dir / name).string(); }

  fs::path dir;
};

TEST_F(KorvelSimTest, ARateFromAConstantOriginFollowsItsClosedForm) {
  // Origem holds inner value ln 3; Destino integrates it: inner 0.1·n·ln 3
  // after n ticks, bounded at 6.
  for (const char* method : {"euler", "rk4"}) {
    SCOPED_TRACE(method);
    const Outcome run =
        Sim({Data("sim-rate-from-constant.KRL"), "--ticks", "60", "--method", method});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<Row> rows = Table(run.out);
    ASSERT_EQ(rows.size(), 62u);
    EXPECT_EQ(rows[0], (Row{"tick", "Origem", "Destino"}));
    for (std::size_t n = 0; n <= 60; ++n) {
      SCOPED_TRACE(n);
      EXPECT_EQ(rows[n + 1][0], std::to_string(n));
      EXPECT_DOUBLE_EQ(Cell(rows, n, 1), 0.5);
      const long double inner = std::min(0.1L * n * std::log(3.0L), 6.0L);
      EXPECT_NEAR(Cell(rows, n, 2), LevelOf(inner), 1e-13);
    }
    EXPECT_NEAR(Cell(rows, 10, 2), 0.5, 1e-13);
    EXPECT_NEAR(Cell(rows, 20, 2), 0.8, 1e-13);
  }
}

TEST_F(KorvelSimTest, SelfChangeDecaysOncePerStepUnderEulerAndFourTimesUnderRungeKutta) {
  const long double rate = 0.01;  // the double the file's "0,01" becomes
  const struct {
    const char* method;
    long double factorPerStep;
  } cases[] = {{"euler", 1 - rate}, {"rk4", 1 - 4 * rate}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.method);
    const Outcome run = Sim({Data("sim-self-decay.KRL"), "--ticks", "5", "--method", c.method});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<Row> rows = Table(run.out);
    ASSERT_EQ(rows.size(), 7u);
    for (int n = 0; n <= 5; ++n) {
      const long double inner = std::log(3.0L) * std::pow(c.factorPerStep, 100.0L * n);
      const double expected = LevelOf(inner);
      EXPECT_NEAR(Cell(rows, n, 1), expected, 1e-12 * expected) << "tick " << n;
    }
  }
}

TEST_F(KorvelSimTest, WithoutMethodOptionTheFileDecides) {
  const Outcome fromFile = Sim({Data("sim-self-decay.KRL"), "--ticks", "3"});
  const Outcome rk4 = Sim({Data("sim-self-decay.KRL"), "--ticks", "3", "--method", "rk4"});
  ASSERT_EQ(fromFile.status, 0);
  EXPECT_EQ(fromFile.out, rk4.out) << "the file names Runge-Kutta";
}

TEST_F(KorvelSimTest, ColumnsAreNamedAfterTheVariablesAndMadeUnique) {
  const Outcome run = Sim({Data("sim-names.KRL"), "--ticks", "0"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "tick,Nome,Nome (3),tick (2),\"a,b\",\"diz \"\"oi\"\"\",Nome (2)\n"
            "0,0,0,0,0,0,0\n");
}

TEST_F(KorvelSimTest, ALevelBeyondTheDoubleRangeIsPrintedWhole) {
  const Outcome run = Sim({Data("level-beyond-double.KRL"), "--ticks", "1"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<Row> rows = Table(run.out);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1][1], "1e+4000");
  EXPECT_EQ(Cell(rows, 1, 1), LevelOf(6)) << "the first tick bounds its inner value to 6";
}

TEST(LevelCsvTitles, RepeatedNamesGetTheFirstFreeNumber) {
  const struct {
    std::vector<std::string> names;
    std::vector<std::string> titles;
  } cases[] = {
      {{"A", "B"}, {"A", "B"}},
      {{"A", "A", "A"}, {"A", "A (2)", "A (3)"}},
      {{"x", "x (2)", "x"}, {"x", "x (2)", "x (3)"}},
      {{"tick", "tick"}, {"tick (2)", "tick (3)"}},
      {{"", ""}, {"", " (2)"}},
      {{"x", "x", "x (3)", "x", "x"}, {"x", "x (2)", "x (3)", "x (4)", "x (5)"}},
      {{"x", "x (2)", "x (2)", "x", "x"}, {"x", "x (2)", "x (2) (2)", "x (3)", "x (4)"}},
      {{}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(LevelCsv(c.names).Titles(), c.titles);
}

// Every new variable is called "Nome"; a big model's titles once took minutes.
TEST(LevelCsvTitles, ManyEqualNamesAreNumberedInOrder) {
  std::vector<std::string> names(40000, "Nome");
  names.back() = "Nome (7)";
  const std::vector<std::string> titles = LevelCsv(names).Titles();
  ASSERT_EQ(titles.size(), names.size());
  EXPECT_EQ(titles[0], "Nome");
  EXPECT_EQ(titles[5], "Nome (6)");
  EXPECT_EQ(titles[6], "Nome (8)") << "a later variable's own name is not taken";
  EXPECT_EQ(titles[39998], "Nome (40000)");
  EXPECT_EQ(titles.back(), "Nome (7)");
}

TEST_F(KorvelSimTest, BadCommandLinesAreRefusedWithOneLineAndNothingWritten) {
  const std::string model = Data("example-comma.KRL");
  const std::string output = Temp("saida.csv");
  const std::string saved = Temp("salvo.KRL");
  const Args cases[] = {
      {},
      {model, model},
      {model, "--ticks"},
      {model, "--ticks", "abc"},
      {model, "--ticks", "-1"},
      {model, "--ticks", "+5"},
      {model, "--ticks", " 5"},
      {model, "--ticks", "1000001"},
      {model, "--ticks", "99999999999"},
      {model, "--ticks", "1", "--ticks", "2"},
      {model, "--method", "heun"},
      {model, "--output"},
      {model, "--output", ""},
      {model, "--frobnicate"},
  };
  for (Args args : cases) {
    // Outputs named first, so that a refusal provably writes neither.
    args.insert(args.begin(), {"--output", output, "--save", saved});
    std::string shown;
    for (const std::string& a : args) shown += "[" + a + "] ";
    SCOPED_TRACE(shown);
    const Outcome run = Sim(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_TRUE(run.err.starts_with("korvel-sim: ")) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    EXPECT_FALSE(fs::exists(output));
    EXPECT_FALSE(fs::exists(saved));
  }
}

TEST_F(KorvelSimTest, FilesThatCantBeReadStopTheRunWithTheProgramsMessage) {
  const std::string missing = Temp("nao-existe.KRL");
  const struct {
    std::string model;
    std::string message;
  } cases[] = {
      {missing, "Não foi possível abrir o arquivo \"" + missing + "\": arquivo ou pasta inexistente"},
      {Data("header-lowercase.KRL"), kRefusal},
      {Data("index-out-of-bounds.KRL"), "List index out of bounds (5)"},
      {Data("unknown-class.KRL"), "'VARIAVEL DISCRETA' não é uma classe de variável válida"},
  };
  const std::string output = Temp("saida.csv");
  const std::string saved = Temp("salvo.KRL");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    const Outcome run = Sim({c.model, "--output", output, "--save", saved});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, c.message + "\n");
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(fs::exists(output));
    EXPECT_FALSE(fs::exists(saved));
  }
}

// Two names for one file, and runs that fail: the exit status, one line
// naming what failed, and not one file written or changed.
TEST_F(KorvelSimTest, ARunWritesAllItsFilesOrNoneAndNeverOneOverAnother) {
  const std::string model = Temp("m.KRL");
  fs::copy_file(Data("example-comma.KRL"), model);
  fs::create_hard_link(model, Temp("hard.KRL"));
  fs::create_symlink("m.KRL", Temp("link.csv"));
  fs::create_symlink("new.csv", Temp("dangling.KRL"));
  fs::create_directory(Temp("dir.png"));
  ASSERT_EQ(::mkfifo(Temp("fifo").c_str(), 0600), 0);
  const std::string saved = Temp("salvo.KRL");
  const struct {
    const char* name;
    Args args;
    int status;
    std::string says;
  } rows[] = {
      {"table over the model", {model, "--output", model}, 2, "o modelo e --output indicam"},
      {"table over the saved model", {model, "--save", Temp("x"), "--output", Temp("x")}, 2,
       "--save e --output indicam o mesmo arquivo, '" + Temp("x") + "'"},
      {"table over the picture", {model, "--picture", Temp("p.png"), "--output", Temp("p.png")}, 2,
       "--output e --picture indicam"},
      {"saved model over its hard link", {model, "--save", Temp("hard.KRL")}, 2,
       "o modelo e --save indicam"},
      {"table through a link onto the model", {model, "--output", Temp("link.csv")}, 2,
       "o modelo e --output indicam"},
      {"a new file spelt two ways", {model, "--save", Temp("./new.csv"), "--output", Temp("new.csv")},
       2, "--save e --output indicam"},
      {"a dangling link to the table", {model, "--save", Temp("dangling.KRL"), "--output",
       Temp("new.csv")}, 2, "--save e --output indicam"},
      {"a picture that can't be written", {model, "--save", saved, "--picture", Temp("dir.png")}, 1,
       "Não foi possível gravar o arquivo \"" + Temp("dir.png") + "\": é uma pasta"},
      {"a FIFO nobody reads", {model, "--save", saved, "--output", Temp("fifo")}, 1,
       "\": ninguém está lendo este pipe (FIFO)"},
      {"a line break in the model's name", {Temp("a\nb.KRL"), "--save", saved}, 1,
       "\"" + Temp("a\\nb.KRL") + "\": arquivo ou pasta inexistente"},
      {"a line break in an option", {model, "--ticks", "1\n2"}, 2, "não '1\\n2'"},
  };
  const auto listing = [&] {
    std::set<fs::path> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path());
    return names;
  };
  const std::set<fs::path> before = listing();
  const std::string modelBytes = Contents(model);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const Outcome run = Sim(row.args);
    EXPECT_EQ(run.status, row.status);
    EXPECT_NE(run.err.find(row.says), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    EXPECT_EQ(listing(), before);
    EXPECT_EQ(Contents(model), modelBytes);
  }
}

TEST_F(KorvelSimTest, AnOutputThatCantBeCreatedIsReported) {
  const std::string output = Temp("nao-existe/saida.csv");
  const Outcome run = Sim({Data("example-comma.KRL"), "--output", output});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Não foi possível gravar o arquivo \"" + output + "\": arquivo ou pasta inexistente\n");
  EXPECT_TRUE(run.out.empty());
}

TEST_F(KorvelSimTest, TheTableGoesToTheOutputFileInsteadOfStandardOutput) {
  const std::string output = Temp("saida.csv");
  const Outcome toFile = Sim({Data("example-comma.KRL"), "--ticks", "7", "--output", output});
  const Outcome toStdout = Sim({Data("example-comma.KRL"), "--ticks", "7"});
  ASSERT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_TRUE(toFile.out.empty());
  EXPECT_EQ(Contents(output), toStdout.out);
  EXPECT_EQ(Table(toStdout.out).size(), 9u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(KorvelSimTest, SavingAfterNoTicksGivesBackTheFileByteForByte) {
  for (const char* name :
       {"example-comma.KRL", "names-windows1252.KRL", "names-utf8.KRL", "every-keyword.KRL"}) {
    SCOPED_TRACE(name);
    const std::string saved = Temp("salvo.KRL");
    const Outcome run = Sim({Data(name), "--ticks", "0", "--save", saved});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Contents(saved), Contents(Data(name)));
  }
}

TEST_F(KorvelSimTest, AGaugeBeyondTheCanvasComesBackAtTheEdgeOfA4096PixelSquare) {
  const std::string saved = Temp("salvo.KRL");
  const Outcome run = Sim({Data("sim-beyond-the-canvas.KRL"), "--ticks", "0", "--save", saved});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = ReadModelFile(saved);
  ASSERT_GT(lines.size(), 6u);
  // A continuous gauge is 15 pixels wide either side of its centre and
  // reaches 25 pixels below it, the bottom row included.
  EXPECT_EQ(lines[5], "4081");
  EXPECT_EQ(lines[6], "4070");
}

TEST_F(KorvelSimTest, SavingAfterTicksStoresTheLevelsReachedAndTheAdvancedClock) {
  const std::string saved = Temp("salvo.KRL");
  const Outcome run = Sim(
      {Data("sim-rate-from-constant.KRL"), "--ticks", "25", "--method", "euler", "--save", saved});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<Row> rows = Table(run.out);

  const std::vector<std::string> lines = ReadModelFile(saved);
  ASSERT_EQ(lines.size(), 47u);
  EXPECT_EQ(lines[21], FormatGeneral(Cell(rows, 25, 2), ',')) << "Destino's level";
  EXPECT_EQ(lines[41], "1") << "the method the run used";
  EXPECT_EQ(lines[42], "25") << "the clock";
  EXPECT_EQ(lines[43], "segundos");
  EXPECT_EQ(lines[44], "100");
}

/// The real executable, as a user or a script starts it.
QProcess& RunBinary(QProcess& process, const QStringList& args) {
  process.start(KORVEL_SIM_PATH, args);
  EXPECT_TRUE(process.waitForFinished(60000));
  return process;
}

/// The shell, for a resource limit around the executable.
QProcess& RunShell(QProcess& process, const QStringList& args) {
  process.start("/bin/sh", args);
  EXPECT_TRUE(process.waitForFinished(60000));
  return process;
}

TEST(KorvelSimBinary, PrintsTheTableAndExitsZero) {
  QProcess process;
  RunBinary(process, {QString::fromStdString(Data("example-comma.KRL")), "--ticks", "2"});
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0);
  const std::string out = process.readAllStandardOutput().toStdString();
  EXPECT_TRUE(out.starts_with("tick,Nome,Nome (2)\n0,0.5,0\n1,")) << out;
  EXPECT_EQ(Table(out).size(), 4u);
  EXPECT_TRUE(process.readAllStandardError().isEmpty());
}

TEST(KorvelSimBinary, ABadCommandLineExitsNonZeroWithOneLine) {
  QProcess process;
  RunBinary(process, {"--ticks", "x"});
  EXPECT_EQ(process.exitCode(), 2);
  EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
  EXPECT_EQ(process.readAllStandardError().count('\n'), 1);
}

TEST(KorvelSimBinary, OutputToADeviceWritesIntoItAndLeavesItADevice) {
  QProcess process;
  RunBinary(process, {QString::fromStdString(Data("example-point.KRL")), "--ticks", "3", "--output",
                      "/dev/null"});
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  struct stat st {};
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode)) << "/dev/null must not be replaced by a regular file";
}

// A file of nothing but line breaks once took 2.3 GB to open; the run must
// fit in a third of that (address space, which bounds the peak).
TEST(KorvelSimBinary, AHugeFileOfLineBreaksOpensInLittleMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit";
#endif
  const fs::path path = fs::temp_directory_path() / ("korvel-breaks-" + std::to_string(::getpid()) + ".KRL");
  {
    std::ofstream out(path, std::ios::binary);
    out << "KORVEL - VERSAO 1.0\r\n";
    const std::string breaks(1 << 20, '\n');
    for (int mib = 0; mib < 63; ++mib) out << breaks;
  }
  QProcess process;
  RunShell(process, {"-c", QString("ulimit -v %1 && exec \"$0\" \"$1\" --ticks 1")
                                .arg(700 * 1024),
                      KORVEL_SIM_PATH, QString::fromStdString(path.string())});
  fs::remove(path);
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  EXPECT_EQ(process.readAllStandardOutput().toStdString(), "tick\n0\n1\n");
}

TEST(KorvelSimExamples, EveryShippedModelRunsAndMoves) {
  const fs::path examples = fs::path(KORVEL_SOURCE_DIR) / "examples";
  int count = 0;
  for (const auto& entry : fs::directory_iterator(examples)) {
    if (entry.path().extension() != ".KRL") continue;
    ++count;
    SCOPED_TRACE(entry.path().filename().string());
    const Outcome run = Sim({entry.path().string(), "--ticks", "300"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty());
    const std::vector<Row> rows = Table(run.out);
    ASSERT_EQ(rows.size(), 302u);
    bool moved = false;
    for (std::size_t column = 1; column < rows[0].size(); ++column) {
      for (std::size_t tick = 0; tick <= 300; ++tick) {
        EXPECT_TRUE(std::isfinite(Cell(rows, tick, column)));
      }
      moved = moved || Cell(rows, 0, column) != Cell(rows, 300, column);
    }
    EXPECT_TRUE(moved) << "a teaching model that never changes teaches nothing";
  }
  EXPECT_GE(count, 3);
  EXPECT_TRUE(fs::exists(examples / "populacao.KRL"));
}

}  // namespace
