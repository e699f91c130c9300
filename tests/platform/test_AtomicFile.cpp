#include "platform/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/korvel-atomic-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  static void Put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::size_t EntriesInDir() const {
    return std::size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
  }

  fs::path dir;
};

TEST_F(AtomicFileTest, ReplacesTheFileALinkEndsAtAndKeepsLinksAndPermissions) {
  struct Case {
    const char* name;
    /// Makes what "model.KRL" is before the write; answers the file that must hold the bytes.
    std::function<fs::path(const fs::path& dir)> arrange;
    std::size_t entries;
  };
  const Case cases[] = {
      {"new file", [](const fs::path& d) { return d / "model.KRL"; }, 1},
      {"existing file",
       [](const fs::path& d) {
         Put(d / "model.KRL", "a much longer old model\r\n");
         ::chmod((d / "model.KRL").c_str(), 0604);
         return d / "model.KRL";
       },
       1},
      {"link to a file in another folder",
       [](const fs::path& d) {
         fs::create_directory(d / "sub");
         Put(d / "sub" / "real.KRL", "old");
         ::chmod((d / "sub" / "real.KRL").c_str(), 0604);
         fs::create_symlink("sub/real.KRL", d / "model.KRL");
         return d / "sub" / "real.KRL";
       },
       2},
      {"chain of two links",
       [](const fs::path& d) {
         Put(d / "real.KRL", "old");
         ::chmod((d / "real.KRL").c_str(), 0604);
         fs::create_symlink(d / "real.KRL", d / "middle.KRL");
         fs::create_symlink("middle.KRL", d / "model.KRL");
         return d / "real.KRL";
       },
       3},
      {"dangling link",
       [](const fs::path& d) {
         fs::create_symlink("made-by-the-save.KRL", d / "model.KRL");
         return d / "made-by-the-save.KRL";
       },
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path holder = c.arrange(dir);
    const bool existed = fs::exists(holder);
    WriteFileAtomically((dir / "model.KRL").string(), "new\r\n");
    EXPECT_EQ(Contents(holder), "new\r\n");
    EXPECT_EQ(Contents(dir / "model.KRL"), "new\r\n");
    if (existed) {
      EXPECT_EQ(fs::status(holder).permissions(), fs::perms(0604));
    }
    EXPECT_EQ(EntriesInDir(), c.entries) << "links stay links and no temporary file is left";
    fs::remove_all(dir);
    fs::create_directory(dir);
  }
}

TEST_F(AtomicFileTest, ATargetThatIsNoRegularFileIsWrittenDirectly) {
  WriteFileAtomically("/dev/null", "discarded");
  struct stat st {};
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode)) << "/dev/null must stay a device";

  const fs::path fifo = dir / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  WriteFileAtomically(fifo.string(), "through the pipe");
  char buffer[64] = {};
  EXPECT_EQ(::read(reader, buffer, sizeof buffer), 16);
  EXPECT_EQ(std::string(buffer), "through the pipe");
  ::close(reader);
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(AtomicFileTest, AFileNotCommittedLeavesTheOldOneAndNoTrace) {
  const fs::path path = dir / "model.KRL";
  Put(path, "as it was");
  {
    AtomicFile file(path.string());
    file.Write("half of a new");
  }
  EXPECT_EQ(Contents(path), "as it was");
  EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(AtomicFileTest, AReadOnlyFileIsRefusedAndKept) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
  const fs::path path = dir / "model.KRL";
  Put(path, "protected");
  ::chmod(path.c_str(), 0444);
  try {
    WriteFileAtomically(path.string(), "new");
    ADD_FAILURE() << "the write must be refused";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "Não foi possível gravar o arquivo \"" + path.string() + "\": permissão negada");
  }
  EXPECT_EQ(Contents(path), "protected");
}

}  // namespace
