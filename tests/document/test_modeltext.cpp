#include "document/ModelText.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(ModelTextLines, EveryKindOfLineBreakEndsALine) {
  const struct {
    const char* name;
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"lone LF", "a\nb\n", {"a", "b"}},
      {"lone CR", "a\rb\r", {"a", "b"}},
      {"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"LF then CR is two breaks", "a\n\rb", {"a", "", "b"}},
      {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
      {"no break at the end", "a\r\nb", {"a", "b"}},
      {"empty lines kept", "\r\n\r\nx\r\n\r\n", {"", "", "x", ""}},
      {"only a break", "\r\n", {""}},
      {"nothing", "", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LinesFromFileBytes(c.bytes), c.lines) << c.name;
  }
}

TEST(ModelTextLines, BytesAreUtf8WhenValidAndWindows1252Otherwise) {
  const struct {
    const char* name;
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"Windows-1252", "\xC1gua\r\nm\xEAses\r\n", {"Água", "mêses"}},
      {"Windows-1252 euro and quotes", "\x80 \x93x\x94\r\n", {"€ “x”"}},
      {"UTF-8", "Água\r\nmêses\r\n", {"Água", "mêses"}},
      {"UTF-8 beyond Windows-1252", "Δ\r\n", {"Δ"}},
      {"UTF-8 with a byte order mark", "\xEF\xBB\xBFKORVEL\r\n", {"KORVEL"}},
      {"one bad byte makes it all Windows-1252", "Água \xE9\r\n", {"Ã\u0081gua é"}},
      {"a stray byte spoils only its own line", "Água\r\nFIM\r\n\xE9\r\n", {"Água", "FIM", "é"}},
      {"a Windows-1252 line among UTF-8 ones", "m\xEAs\r\nÁgua\r\n", {"mês", "Água"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LinesFromFileBytes(c.bytes), c.lines) << c.name;
  }
}

TEST(ModelTextLines, LongLinesAreCutAtTheLimitInCharacters) {
  const std::string ascii(kMaxLineLength + 100, 'a');
  std::string accented;
  for (std::size_t i = 0; i < kMaxLineLength + 100; ++i) accented += "é";

  const Lines lines = LinesFromFileBytes(ascii + "\r\n" + accented + "\r\nnext\r\n");

  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], std::string(kMaxLineLength, 'a'));
  EXPECT_EQ(lines[1].size(), 2 * kMaxLineLength) << "cut between characters, not inside one";
  EXPECT_EQ(lines[1].substr(0, 2), "é");
  EXPECT_EQ(lines[2], "next") << "the rest of a long line is dropped, not carried over";
}

TEST(ModelTextBytes, EveryLineEndsWithCrLfInTheNarrowestEncoding) {
  const struct {
    const char* name;
    Lines lines;
    std::string bytes;
  } cases[] = {
      {"ASCII", {"KORVEL", "", "FIM"}, "KORVEL\r\n\r\nFIM\r\n"},
      {"fits Windows-1252", {"Água", "mêses €"}, "\xC1gua\r\nm\xEAses \x80\r\n"},
      {"needs UTF-8", {"Água", "Δ"}, "Água\r\nΔ\r\n"},
      {"no lines", {}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileBytesFromLines(c.lines), c.bytes) << c.name;
  }
}

// The writer's narrow bytes must not read back as another text: "Ã©" in
// Windows-1252 is C3 A9, valid UTF-8 for "é".
TEST(ModelTextBytes, EveryTextAFileCanCarryReadsBackAsWritten) {
  const struct {
    const char* name;
    Lines lines;
  } cases[] = {
      {"Windows-1252 bytes that spell UTF-8", {"Ã©"}},
      {"such a line beside an ordinary one", {"Água", "Ã©", "mêses"}},
      {"beyond Windows-1252", {"Δ", "Ã©"}},
      {"a byte order mark character at the start", {"\uFEFFKORVEL"}},
      {"the mark's Windows-1252 spelling", {"ï»¿KORVEL"}},
      {"C1 controls and NUL", {"\u0081\u008D", std::string("a\0b", 3)}},
      {"the longest line kept", {std::string(kMaxLineLength, 'x')}},
      {"empty lines", {"", "", ""}},
  };
  for (const auto& c : cases) {
    const std::string bytes = FileBytesFromLines(c.lines);
    EXPECT_EQ(LinesFromFileBytes(bytes), c.lines) << c.name;
    EXPECT_EQ(FileBytesFromLines(LinesFromFileBytes(bytes)), bytes) << c.name;
  }
}

class ModelFileOnDisk : public testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "korvel-modeltext-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  static std::string Contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  static void Put(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
  }

  static std::string ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "no error";
  }

  std::size_t EntriesInDir() const {
    return std::size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
  }

  fs::path dir;
};

TEST_F(ModelFileOnDisk, AWrittenModelReadsBack) {
  const std::string path = (dir / "modelo.KRL").string();
  WriteModelFile(path, {"KORVEL - VERSAO 1.0", "Água", "FIM"});
  EXPECT_EQ(Contents(path), "KORVEL - VERSAO 1.0\r\n\xC1gua\r\nFIM\r\n");
  EXPECT_EQ(ReadModelFile(path), (Lines{"KORVEL - VERSAO 1.0", "Água", "FIM"}));
  EXPECT_EQ(EntriesInDir(), 1u) << "no temporary file is left behind";
}

TEST_F(ModelFileOnDisk, AnExistingFileIsReplacedKeepingItsPermissionsAndLinks) {
  const fs::path target = dir / "real.KRL";
  const fs::path link = dir / "link.KRL";
  Put(target, "old contents that are longer than the new ones\r\n");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  fs::create_symlink(target, link);

  WriteModelFile(link.string(), {"new"});

  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Contents(target), "new\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(ModelFileOnDisk, FilesThatCantBeReadNameThemselvesAndTheReason) {
  const std::string missing = (dir / "nao-existe.KRL").string();
  EXPECT_EQ(ErrorOf([&] { ReadModelFile(missing); }),
            "Não foi possível abrir o arquivo \"" + missing + "\": arquivo ou pasta inexistente");
  EXPECT_EQ(ErrorOf([&] { ReadModelFile(dir.string()); }),
            "Não foi possível abrir o arquivo \"" + dir.string() + "\": é uma pasta");
}

TEST_F(ModelFileOnDisk, FilesThatCantBeWrittenNameThemselvesAndTheReason) {
  const std::string inMissingFolder = (dir / "nao-existe" / "modelo.KRL").string();
  EXPECT_EQ(ErrorOf([&] { WriteModelFile(inMissingFolder, {"x"}); }),
            "Não foi possível gravar o arquivo \"" + inMissingFolder + "\": arquivo ou pasta inexistente");

  fs::create_directory(dir / "pasta.KRL");
  const std::string folder = (dir / "pasta.KRL").string();
  EXPECT_EQ(ErrorOf([&] { WriteModelFile(folder, {"x"}); }),
            "Não foi possível gravar o arquivo \"" + folder + "\": é uma pasta");
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(EntriesInDir(), 1u) << "the temporary file went away with the failure";
}

TEST_F(ModelFileOnDisk, AWriteThatFailsHalfwayLeavesTheOldFile) {
  const fs::path path = dir / "modelo.KRL";
  Put(path, "the model as it was\r\n");

  // A file size limit makes the write itself fail, even for root.
  rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string error =
      ErrorOf([&] { WriteModelFile(path.string(), {std::string(1000, 'x')}); });
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(error, "Não foi possível gravar o arquivo \"" + path.string() + "\": arquivo grande demais");
  EXPECT_EQ(Contents(path), "the model as it was\r\n");
  EXPECT_EQ(EntriesInDir(), 1u);
}

}  // namespace
