#include "platform/AtomicFile.h"
#include "platform/FileMessages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

std::size_t OpenDescriptors() {
  const fs::directory_iterator descriptors("/proc/self/fd");
  return std::size_t(std::distance(descriptors, fs::directory_iterator()));
}

/// A process id that no process has any more.
pid_t DeadPid() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

/// Runs check in a child process, as nobody when the tests run as root;
/// answers the child's exit status, 0 when check passed.
int InChildAsAnotherUser(const std::function<int()>& check) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(99);
    }
    ::_exit(check());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

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

/// What the writer promises beyond plain replacing, one row each; a row
/// with a reason must fail with it and leave no file or descriptor behind.
TEST_F(AtomicFileTest, KeepsItsRulesAgainstOddTargetsAndStrangers) {
  const bool root = ::geteuid() == 0;
  const std::string longName(255, 'n');
  int procFd = -1;
  struct Row {
    const char* name;
    bool needsRoot;
    AtomicFile::Temporary kind;
    /// Makes the folder as the row needs it; answers the path to write.
    std::function<std::string(const fs::path& d)> arrange;
    /// Empty when the write succeeds.
    std::string reason;
    std::function<void(const fs::path& d)> check;
  };
  const auto anonymous = AtomicFile::Temporary::Anonymous;
  const auto named = AtomicFile::Temporary::Named;
  const auto shared = [](const fs::path& d) {
    fs::create_directory(d / "shared");
    ::chmod((d / "shared").c_str(), 01777);
    Put(d / "real", "old");
    fs::create_symlink("../real", d / "shared" / "out");
    return (d / "shared" / "out").string();
  };
  const Row rows[] = {
      {"255-byte name", false, anonymous,
       [&](const fs::path& d) { return (d / longName).string(); }, "",
       [&](const fs::path& d) { EXPECT_EQ(Contents(d / longName), "new"); }},
      {"255-byte name, named temporary", false, named,
       [&](const fs::path& d) { return (d / longName).string(); }, "",
       [&](const fs::path& d) { EXPECT_EQ(Contents(d / longName), "new"); }},
      {"set-id bits and owner kept", false, anonymous,
       [&](const fs::path& d) {
         Put(d / "out", "old");
         if (root) ::chown((d / "out").c_str(), kNobody, kNobody);
         ::chmod((d / "out").c_str(), 06755);
         return (d / "out").string();
       },
       "",
       [&](const fs::path& d) {
         struct stat st {};
         ASSERT_EQ(::stat((d / "out").c_str(), &st), 0);
         EXPECT_EQ(st.st_mode & 07777, 06755u);
         EXPECT_EQ(st.st_uid, root ? kNobody : ::geteuid());
       }},
      {"new file follows the umask", false, named,
       [](const fs::path& d) { return (d / "out").string(); }, "",
       [](const fs::path& d) { EXPECT_EQ(fs::status(d / "out").permissions(), fs::perms(0640)); }},
      {"own link in a shared folder is followed", false, anonymous, shared, "",
       [](const fs::path& d) {
         EXPECT_EQ(Contents(d / "real"), "new");
         EXPECT_TRUE(fs::is_symlink(d / "shared" / "out"));
       }},
      {"stranger's link in a shared folder", true, anonymous,
       [&](const fs::path& d) {
         const std::string path = shared(d);
         ::lchown(path.c_str(), kNobody, kNobody);
         return path;
       },
       "link simbólico de outro usuário numa pasta compartilhada; ele não é seguido",
       [](const fs::path& d) { EXPECT_EQ(Contents(d / "real"), "old"); }},
      {"stranger's file in a shared folder", true, anonymous,
       [](const fs::path& d) {
         fs::create_directory(d / "shared");
         ::chmod((d / "shared").c_str(), 01777);
         Put(d / "shared" / "out", "theirs");
         ::chown((d / "shared" / "out").c_str(), kNobody, kNobody);
         return (d / "shared" / "out").string();
       },
       "o arquivo é de outro usuário numa pasta compartilhada",
       [](const fs::path& d) { EXPECT_EQ(Contents(d / "shared" / "out"), "theirs"); }},
      {"link to itself", false, anonymous,
       [](const fs::path& d) {
         fs::create_symlink("out", d / "out");
         return (d / "out").string();
       },
       SystemErrorText(ELOOP), [](const fs::path& d) { EXPECT_TRUE(fs::is_symlink(d / "out")); }},
      {"FIFO nobody reads", false, anonymous,
       [](const fs::path& d) {
         ::mkfifo((d / "out").c_str(), 0600);
         return (d / "out").string();
       },
       "ninguém está lendo este pipe (FIFO)",
       [](const fs::path& d) { EXPECT_TRUE(fs::is_fifo(d / "out")); }},
      {"a descriptor named through /proc is written through", false, anonymous,
       [&](const fs::path& d) {
         Put(d / "out", "emptied by the shell's >");
         procFd = ::open((d / "out").c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
         return "/proc/self/fd/" + std::to_string(procFd);
       },
       "",
       [&](const fs::path& d) {
         ::close(procFd);
         EXPECT_EQ(Contents(d / "out"), "new");
       }},
      {"temporaries of dead saves go, others stay", false, named,
       [&](const fs::path& d) {
         const std::string dead = std::to_string(DeadPid());
         Put(d / (".out." + dead + "-deadsave0000.tmp"), "killed save");
         Put(d / ".out.1-livesave0000.tmp", "a live process's");
         Put(d / (".out." + dead + "-0.tmp"), "not our pattern");
         Put(d / (".out." + dead + "-strangers000.tmp"), "another user's");
         if (root) ::chown((d / (".out." + dead + "-strangers000.tmp")).c_str(), kNobody, kNobody);
         return (d / "out").string();
       },
       "",
       [&](const fs::path& d) {
         EXPECT_EQ(std::distance(fs::directory_iterator(d), {}), root ? 4 : 3);
         EXPECT_TRUE(fs::exists(d / ".out.1-livesave0000.tmp"));
       }},
  };
  const mode_t oldMask = ::umask(027);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.needsRoot && !root) {
      std::printf("skipped \"%s\": only root can plant another user's file\n", row.name);
      continue;
    }
    const std::string path = row.arrange(dir);
    const std::size_t descriptors = OpenDescriptors();
    try {
      AtomicFile file(path, row.kind);
      file.Write("new");
      file.Commit();
      EXPECT_EQ(row.reason, "") << "the write must fail";
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(e.what(), CannotWriteMessage(path, row.reason));
    }
    EXPECT_EQ(OpenDescriptors(), descriptors);
    row.check(dir);
    fs::remove_all(dir);
    fs::create_directory(dir);
  }
  ::umask(oldMask);
}

/// Another user plants a link in a shared folder, and files under the
/// temporary names an older writer would have used next.
TEST_F(AtomicFileTest, AnotherUserCantSteerOrBlockASave) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user here";
  const fs::path shared = dir / "shared";
  fs::create_directory(shared);
  ::chmod(dir.c_str(), 0755);
  ::chmod(shared.c_str(), 01777);
  const fs::path victim = dir / "only-root-writes-this";
  Put(victim, "root's");
  ::chmod(victim.c_str(), 0600);
  const std::string me = std::to_string(::getpid());
  ASSERT_EQ(InChildAsAnotherUser([&] {
              ::symlink(victim.c_str(), (shared / "out.csv").c_str());
              for (int n = 0; n < 100; ++n) {
                Put(shared / (".model.KRL." + me + "-" + std::to_string(n) + ".tmp"), "");
              }
              return 0;
            }),
            0);

  const std::string steered = (shared / "out.csv").string();
  EXPECT_THROW(WriteFileAtomically(steered, "table"), std::runtime_error);
  EXPECT_EQ(Contents(victim), "root's");
  EXPECT_TRUE(fs::is_symlink(steered));

  for (const auto kind : {AtomicFile::Temporary::Anonymous, AtomicFile::Temporary::Named}) {
    AtomicFile file((shared / "model.KRL").string(), kind);
    file.Write("saved");
    file.Commit();
    EXPECT_EQ(Contents(shared / "model.KRL"), "saved");
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(shared), fs::directory_iterator()), 102)
      << "the planted files stay and no temporary is left";
}

/// In a folder the user may not write to: a writable file is written in
/// place, and a commit of several files that can't finish replaces none.
TEST_F(AtomicFileTest, AReadOnlyFolderStillLetsAWritableFileBeSaved) {
  for (const char* folder : {"a", "b"}) {
    fs::create_directory(dir / folder);
    Put(dir / folder / "out", "old");
  }
  if (::geteuid() == 0) {
    ::chmod(dir.c_str(), 0755);
    for (const char* entry : {"a", "a/out", "b", "b/out"}) {
      ::chown((dir / entry).c_str(), kNobody, kNobody);
    }
  }
  const fs::path a = dir / "a";
  const fs::path b = dir / "b";
  EXPECT_EQ(InChildAsAnotherUser([&] {
              ::chmod(a.c_str(), 0555);
              WriteFileAtomically((a / "out").string(), "new");
              return Contents(a / "out") == "new" ? 0 : 1;
            }),
            0);
  EXPECT_EQ(InChildAsAnotherUser([&] {
              AtomicFile first((a / "out").string());
              AtomicFile second((b / "out").string());
              first.Write("first");
              second.Write("second");
              // An anonymous temporary needs the folder once more, to get its name.
              ::chmod(b.c_str(), 0555);
              bool threw = false;
              try {
                AtomicFile::CommitTogether({&first, &second});
              } catch (const std::runtime_error&) {
                threw = true;
              }
              ::chmod(a.c_str(), 0755);
              ::chmod(b.c_str(), 0755);
              return threw && Contents(a / "out") == "new" && Contents(b / "out") == "old" ? 0 : 2;
            }),
            0);
}

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
