#include "platform/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// The kernel's own limit on links followed in one path lookup.
constexpr int kMaxLinkHops = 40;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// path with every symbolic link at its end followed, also a dangling one, so
/// that saving through a link writes where the link points. errno is ELOOP
/// when the chain doesn't end.
bool FollowLinks(std::string path, std::string& target) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      target = std::move(path);
      return true;
    }
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
    if (n < 0) return false;
    std::string next(buffer, static_cast<std::size_t>(n));
    if (!next.starts_with('/')) next = FolderOf(path) + "/" + next;
    path = std::move(next);
  }
  errno = ELOOP;
  return false;
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

/// Makes a rename in folder durable; some file systems can't, which costs
/// nothing but the guarantee against a power cut, so failures are ignored.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
  if (!FollowLinks(path_, target_)) Fail(errno);

  struct stat existing {};
  const bool exists = ::stat(target_.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    fd_ = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) Fail(errno);
    return;
  }
  // Renaming over a file needs only the folder's permission; a file its owner
  // made read-only must refuse the save as a direct write would.
  if (exists && ::access(target_.c_str(), W_OK) != 0) Fail(errno);

  const std::string folder = FolderOf(target_);
  const std::string stem = folder + "/." + FileNameOf(target_) + "." + std::to_string(::getpid());
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    std::string candidate = stem + "-" + std::to_string(attempt) + ".tmp";
    // 0666 lets the umask decide, as for any file the user creates.
    fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temporaryPath_ = std::move(candidate);
    } else if (errno != EEXIST) {
      Fail(errno);
    }
  }
  if (fd_ < 0) Fail(EEXIST);
  if (exists) {
    if (::fchmod(fd_, existing.st_mode & 07777) != 0) Fail(errno);
    // Only root may give a file away; anyone else keeps their own file anyway.
    if (::fchown(fd_, existing.st_uid, existing.st_gid) != 0) errno = 0;
  }
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
}

void AtomicFile::Write(std::string_view bytes) {
  if (fd_ < 0) Fail(EBADF);
  if (!WriteAll(fd_, bytes)) Fail(errno);
}

void AtomicFile::Commit() {
  if (fd_ < 0) Fail(EBADF);
  const int fd = fd_;
  fd_ = -1;
  if (temporaryPath_.empty()) {
    if (::close(fd) != 0) Fail(errno);
    return;
  }
  if (::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    Fail(error);
  }
  if (::close(fd) != 0) Fail(errno);
  if (::rename(temporaryPath_.c_str(), target_.c_str()) != 0) Fail(errno);
  temporaryPath_.clear();
  SyncFolder(FolderOf(target_));
}

void AtomicFile::Fail(int error) const {
  throw std::runtime_error("Cannot create file \"" + path_ + "\". " + std::strerror(error));
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFile file(path);
  file.Write(bytes);
  file.Commit();
}
