#include "platform/AtomicFile.h"

#include "platform/FileMessages.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <optional>
#include <stdexcept>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

/// The kernel's own limit on links followed in one path lookup.
constexpr int kMaxLinkHops = 40;
/// Tries at a fresh temporary name before giving up; with 36^12 names a
/// clash means someone is planting them.
constexpr int kNameAttempts = 100;
constexpr std::size_t kRandomLength = 12;
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::string_view kRandomAlphabet = "0123456789abcdefghijklmnopqrstuvwxyz";

const char* const kForeignLink =
    "link simbólico de outro usuário numa pasta compartilhada; ele não é seguido";
const char* const kForeignFile = "o arquivo é de outro usuário numa pasta compartilhada";
const char* const kNoReader = "ninguém está lendo este pipe (FIFO)";

/// Owns a file descriptor.
class Descriptor {
public:
  Descriptor() = default;
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Reset(); }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  /// Closes it, answering the error close reports, 0 when none.
  int Close() {
    const int error = fd_ >= 0 && ::close(fd_) != 0 ? errno : 0;
    fd_ = -1;
    return error;
  }

private:
  int fd_ = -1;
};

[[noreturn]] void Fail(const std::string& path, std::string_view reason) {
  throw std::runtime_error(CannotWriteMessage(path, reason));
}

[[noreturn]] void FailWith(const std::string& path, int error) {
  Fail(path, SystemErrorText(error));
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// A folder anyone may write to and only owners may delete from, as /tmp.
bool SharedFolder(const struct stat& folder) {
  return (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
}

/// Whether the user may use what another planted there: in a shared folder
/// only the user's own entries and the folder owner's are trusted, the rule
/// of the kernel's fs.protected_symlinks, which not every machine turns on.
bool Trusted(const struct stat& folder, const struct stat& entry) {
  return !SharedFolder(folder) || entry.st_uid == ::geteuid() || entry.st_uid == folder.st_uid;
}

/// Pushes the parts of a path so that the first part ends up at the back.
void PushParts(std::vector<std::string>& pending, std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t slash = path.find('/', start);
    if (slash == std::string_view::npos) slash = path.size();
    if (slash > start) parts.emplace_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  pending.insert(pending.end(), parts.rbegin(), parts.rend());
}

/// Where a write to a path lands.
struct Destination {
  /// Absolute and free of links up to its last part, which may not exist.
  std::string path;
  /// The path runs through a link of the kernel's (/dev/stdout to
  /// /proc/self/fd/1) that names an open file rather than a place, and is
  /// opened as it stands.
  bool throughKernel = false;
};

/// Follows every link of path by hand, also a dangling last one, so that a
/// save through a link replaces the file the link ends at. Answers an empty
/// text, or why the path can't be written.
std::string Resolve(const std::string& path, Destination& destination) {
  std::string done;
  if (!path.starts_with('/')) {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) return SystemErrorText(errno);
    done = cwd;
    if (done == "/") done.clear();
  }
  std::vector<std::string> pending;
  PushParts(pending, path);
  int hops = 0;
  while (!pending.empty()) {
    const std::string part = std::move(pending.back());
    pending.pop_back();
    if (part == ".") continue;
    if (part == "..") {
      done.erase(std::min(done.size(), done.rfind('/')));
      continue;
    }
    std::string next = done + "/" + part;
    struct stat entry {};
    if (::lstat(next.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode)) {
      // What doesn't exist yet is taken as named; the writing reports it.
      done = std::move(next);
      continue;
    }
    if (++hops > kMaxLinkHops) return SystemErrorText(ELOOP);
    const std::string folderPath = done.empty() ? "/" : done;
    struct stat folder {};
    if (::stat(folderPath.c_str(), &folder) == 0 && !Trusted(folder, entry)) return kForeignLink;
    struct statfs fileSystem {};
    if (::statfs(folderPath.c_str(), &fileSystem) == 0 && fileSystem.f_type == PROC_SUPER_MAGIC) {
      for (auto part = pending.rbegin(); part != pending.rend(); ++part) next += "/" + *part;
      destination = {std::move(next), true};
      return {};
    }
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(next.c_str(), buffer, sizeof buffer);
    if (n < 0) return SystemErrorText(errno);
    if (static_cast<std::size_t>(n) == sizeof buffer) return SystemErrorText(ENAMETOOLONG);
    const std::string_view target(buffer, static_cast<std::size_t>(n));
    if (target.starts_with('/')) done.clear();
    PushParts(pending, target);
  }
  destination = {done.empty() ? "/" : done, false};
  return {};
}

/// The target's name as far as it fits into a temporary's name of this
/// process id's length, cut where a UTF-8 character begins.
std::string_view TemporaryStem(std::string_view name, std::size_t pidDigits) {
  const std::size_t room =
      NAME_MAX - (1 + 1 + pidDigits + 1 + kRandomLength + kTemporarySuffix.size());
  if (name.size() <= room) return name;
  std::size_t cut = room;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return name.substr(0, cut);
}

/// ".<name>.<pid>-<12 random letters and digits>.tmp", within NAME_MAX
/// whatever the target's name; the id lets a later save tell a dead
/// process's temporary from a live one's.
bool MakeTemporaryName(std::string_view target, std::string& name) {
  unsigned char random[kRandomLength];
  if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return false;
  const std::string pid = std::to_string(::getpid());
  name = "." + std::string(TemporaryStem(target, pid.size())) + "." + pid + "-";
  for (unsigned char byte : random) name += kRandomAlphabet[byte % kRandomAlphabet.size()];
  name += kTemporarySuffix;
  return true;
}

/// The process id in a temporary's name made for target, 0 when the name is
/// not one of those.
pid_t PidOfTemporary(std::string_view entry, std::string_view target) {
  if (!entry.starts_with('.') || !entry.ends_with(kTemporarySuffix)) return 0;
  entry.remove_suffix(kTemporarySuffix.size());
  if (entry.size() < kRandomLength + 1) return 0;
  const std::string_view random = entry.substr(entry.size() - kRandomLength);
  if (random.find_first_not_of(kRandomAlphabet) != std::string_view::npos) return 0;
  entry.remove_suffix(kRandomLength);
  if (!entry.ends_with('-')) return 0;
  entry.remove_suffix(1);
  const std::size_t dot = entry.rfind('.');
  if (dot == std::string_view::npos) return 0;
  const std::string_view digits = entry.substr(dot + 1);
  if (digits.empty() || digits.size() > 9) return 0;
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size() || pid <= 0) return 0;
  if (entry.substr(1, dot - 1) != TemporaryStem(target, digits.size())) return 0;
  return pid;
}

/// Removes the temporaries that saves of the user to target left when they
/// were killed; another user's, and a live process's, stay.
void RemoveDeadTemporaries(int folder, std::string_view target) {
  DIR* dir = ::fdopendir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t pid = PidOfTemporary(entry->d_name, target);
    if (pid == 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    Descriptor file(::openat(folder, entry->d_name, O_RDONLY | flags));
    if (!file) file.Reset(::openat(folder, entry->d_name, O_WRONLY | flags));
    struct stat st {};
    if (!file || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::geteuid()) {
      continue;
    }
    // The saving process holds a lock; one that is still held belongs to a
    // process of the same id on another computer sharing the folder.
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) continue;
    ::unlinkat(folder, entry->d_name, 0);
  }
  ::closedir(dir);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool WriteAllAt(int fd, std::string_view bytes) {
  off_t offset = 0;
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
    offset += n;
  }
  return true;
}

/// The process's umask; reading it means setting it for a moment, which is
/// safe while no other thread of ours creates files.
mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

struct AtomicFile::State {
  enum class Way : std::uint8_t {
    /// Through a temporary renamed over the target.
    Replace,
    /// Over the target's own bytes at Commit: no temporary could be made.
    InPlace,
    /// Straight into a device, a FIFO or an open descriptor as the bytes come.
    Stream,
  };

  ~State() {
    if (!temporaryName.empty()) ::unlinkat(folder.get(), temporaryName.c_str(), 0);
  }

  [[noreturn]] void Fail(std::string_view reason) const { ::Fail(path, reason); }
  [[noreturn]] void Fail(int error) const { FailWith(path, error); }

  /// A temporary beside the target, created private and exclusive.
  bool CreateTemporary(Temporary kind) {
    if (kind == Temporary::Anonymous) {
      file.Reset(::openat(folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
      if (file) {
        // Marks the file as in use for RemoveDeadTemporaries of another computer.
        ::flock(file.get(), LOCK_EX | LOCK_NB);
        return true;
      }
      if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      std::string candidate;
      if (!MakeTemporaryName(name, candidate)) return false;
      const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
      file.Reset(::openat(folder.get(), candidate.c_str(), flags, 0600));
      if (file) {
        temporaryName = std::move(candidate);
        ::flock(file.get(), LOCK_EX | LOCK_NB);
        return true;
      }
      if (errno != EEXIST) return false;
    }
    errno = EEXIST;
    return false;
  }

  /// Gives an anonymous temporary its name beside the target.
  void LinkTemporary() {
    const std::string self = "/proc/self/fd/" + std::to_string(file.get());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      std::string candidate;
      if (!MakeTemporaryName(name, candidate)) Fail(errno);
      int linked = ::linkat(AT_FDCWD, self.c_str(), folder.get(), candidate.c_str(),
                            AT_SYMLINK_FOLLOW);
      // Without /proc only root may link a descriptor.
      if (linked != 0 && errno == ENOENT) {
        linked = ::linkat(file.get(), "", folder.get(), candidate.c_str(), AT_EMPTY_PATH);
      }
      if (linked == 0) {
        temporaryName = std::move(candidate);
        return;
      }
      if (errno != EEXIST) Fail(errno);
    }
    Fail(EEXIST);
  }

  /// Gives the temporary the replaced file's owner and mode, once written:
  /// a write by anyone but root clears the set-id bits, and so does a change
  /// of owner, so the mode comes last.
  void SetOwnerAndMode() const {
    // Only root may give a file away; anyone else keeps their own file anyway.
    if (owner && ::fchown(file.get(), owner->st_uid, owner->st_gid) != 0) errno = 0;
    struct stat st {};
    if (::fstat(file.get(), &st) != 0) Fail(errno);
    if ((st.st_mode & 07777) != mode && ::fchmod(file.get(), mode) != 0) Fail(errno);
  }

  /// Opens a target that is not replaced: a device or a FIFO is written as
  /// the bytes come, a regular file in place at Commit.
  void OpenDirectly(int fd, bool fifo) {
    if (fd < 0) {
      if (errno == ENXIO && fifo) Fail(kNoReader);
      Fail(errno);
    }
    file.Reset(fd);
    // Opened without waiting for a reader; the writes may wait for it to read.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) Fail(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) Fail(errno);
    way = S_ISREG(st.st_mode) ? Way::InPlace : Way::Stream;
  }

  /// The path as the caller named it, for messages.
  std::string path;
  Way way = Way::Replace;
  /// The folder the target is in; closed for a path through the kernel's links.
  Descriptor folder;
  /// The target's name in folder.
  std::string name;
  Descriptor file;
  /// The temporary's name in folder once it has one; removed unless renamed.
  std::string temporaryName;
  /// In place: the bytes, written over the file only at Commit.
  std::string pending;
  /// Replace: the owner of the file replaced, if there is one, and the mode
  /// the new file gets; until Commit the temporary is private.
  std::optional<struct stat> owner;
  mode_t mode = 0600;
  bool prepared = false;
  bool committed = false;
};

AtomicFile::AtomicFile(std::string path, Temporary temporary)
    : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.path = std::move(path);
  Destination destination;
  if (const std::string refusal = Resolve(s.path, destination); !refusal.empty()) s.Fail(refusal);
  constexpr int kDirect = O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
  if (destination.throughKernel) {
    struct stat st {};
    const bool fifo = ::stat(destination.path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
    // Appending, as the descriptor it names does after "> file" or ">> file".
    s.OpenDirectly(::open(destination.path.c_str(), kDirect | O_APPEND), fifo);
    s.way = State::Way::Stream;
    return;
  }

  // O_PATH: a folder the user may write to but not list is still one to save in.
  s.folder.Reset(::open(FolderOf(destination.path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!s.folder) s.Fail(errno);
  s.name = NameOf(destination.path);
  if (s.name.empty()) s.Fail(EISDIR);
  struct stat folder {};
  if (::fstat(s.folder.get(), &folder) != 0) s.Fail(errno);
  struct stat existing {};
  const bool exists =
      ::fstatat(s.folder.get(), s.name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
  if (!exists && errno != ENOENT) s.Fail(errno);
  if (exists && !Trusted(folder, existing)) s.Fail(kForeignFile);
  if (exists && !S_ISREG(existing.st_mode)) {
    s.OpenDirectly(::openat(s.folder.get(), s.name.c_str(), kDirect | O_NOFOLLOW),
                   S_ISFIFO(existing.st_mode));
    return;
  }
  // Renaming over a file needs only the folder's permission; a file its owner
  // made read-only must refuse the save as a direct write would.
  if (exists && ::faccessat(s.folder.get(), s.name.c_str(), W_OK, AT_EACCESS) != 0) {
    s.Fail(errno);
  }

  RemoveDeadTemporaries(s.folder.get(), s.name);
  if (!s.CreateTemporary(temporary)) {
    const int error = errno;
    // A folder that takes no new file may still hold one the user may change.
    if (!exists || (error != EACCES && error != EPERM)) s.Fail(error);
    s.temporaryName.clear();
    s.OpenDirectly(::openat(s.folder.get(), s.name.c_str(), kDirect | O_NOFOLLOW), false);
    return;
  }
  if (exists) {
    s.owner = existing;
    s.mode = existing.st_mode & 07777;
  } else {
    s.mode = 0666 & ~CurrentUmask();
  }
}

AtomicFile::~AtomicFile() = default;

void AtomicFile::Write(std::string_view bytes) {
  State& s = *state_;
  if (s.committed) s.Fail(EBADF);
  if (s.way == State::Way::InPlace) {
    s.pending.append(bytes);
  } else if (!WriteAll(s.file.get(), bytes)) {
    s.Fail(errno);
  }
}

void AtomicFile::Commit() { CommitTogether({this}); }

void AtomicFile::CommitTogether(const std::vector<AtomicFile*>& files) {
  for (AtomicFile* file : files) {
    if (file != nullptr) file->Prepare();
  }
  // Writing in place is the last step that a full or failing disk can stop;
  // done first, it stops the commit before any other target is replaced.
  for (const bool inPlace : {true, false}) {
    for (AtomicFile* file : files) {
      if (file != nullptr && (file->state_->way == State::Way::InPlace) == inPlace) {
        file->Install();
      }
    }
  }
}

void AtomicFile::Prepare() {
  State& s = *state_;
  if (s.committed) s.Fail(EBADF);
  if (s.prepared) return;
  switch (s.way) {
    case State::Way::Replace:
      s.SetOwnerAndMode();
      if (::fsync(s.file.get()) != 0) s.Fail(errno);
      if (s.temporaryName.empty()) s.LinkTemporary();
      break;
    case State::Way::InPlace:
      // Claims the room without touching a byte, so that a full disk or a
      // size limit stops the save while the file is still whole.
      if (!s.pending.empty() &&
          ::fallocate(s.file.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(s.pending.size())) !=
              0 &&
          errno != EOPNOTSUPP && errno != ENOSYS) {
        s.Fail(errno);
      }
      break;
    case State::Way::Stream:
      break;
  }
  s.prepared = true;
}

void AtomicFile::Install() {
  State& s = *state_;
  s.committed = true;
  switch (s.way) {
    case State::Way::Replace:
      if (::renameat(s.folder.get(), s.temporaryName.c_str(), s.folder.get(), s.name.c_str()) !=
          0) {
        s.Fail(errno);
      }
      s.temporaryName.clear();
      // Makes the rename durable; some file systems can't, which costs
      // nothing but the guarantee against a power cut.
      if (const Descriptor folder(
              ::openat(s.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
          folder) {
        ::fsync(folder.get());
      }
      s.file.Close();
      break;
    case State::Way::InPlace:
      if (!WriteAllAt(s.file.get(), s.pending) ||
          ::ftruncate(s.file.get(), static_cast<off_t>(s.pending.size())) != 0 ||
          ::fsync(s.file.get()) != 0) {
        s.Fail(errno);
      }
      if (const int error = s.file.Close(); error != 0) s.Fail(error);
      break;
    case State::Way::Stream:
      if (const int error = s.file.Close(); error != 0) s.Fail(error);
      break;
  }
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFile file(path);
  file.Write(bytes);
  file.Commit();
}

bool NameTheSameFile(const std::string& a, const std::string& b) {
  struct stat sa {};
  struct stat sb {};
  const bool aExists = ::stat(a.c_str(), &sa) == 0;
  const bool bExists = ::stat(b.c_str(), &sb) == 0;
  if (aExists || bExists) {
    return aExists && bExists && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  }
  // A write that would be refused writes nothing; the names then tell.
  Destination da;
  Destination db;
  const std::string pa = Resolve(a, da).empty() ? da.path : a;
  const std::string pb = Resolve(b, db).empty() ? db.path : b;
  return pa == pb;
}
