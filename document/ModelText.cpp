#include "document/ModelText.h"

#include <algorithm>

#include "platform/TextEncoding.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// A model is a few kilobytes; anything near this is not one, and reading it
/// whole would only exhaust memory.
constexpr std::size_t kMaxFileSize = 64u * 1024u * 1024u;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string OpenError(const std::string& path, const std::string& reason) {
  return "Cannot open file \"" + path + "\". " + reason;
}

std::string CreateError(const std::string& path, const std::string& reason) {
  return "Cannot create file \"" + path + "\". " + reason;
}

/// The first max characters of valid UTF-8 text.
std::string_view FirstCharacters(std::string_view utf8, std::size_t max) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const bool startsCharacter = (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80;
    if (startsCharacter && characters++ == max) return utf8.substr(0, i);
  }
  return utf8;
}

/// Closes the descriptor and removes the temporary file unless Commit ran.
class TemporaryFile {
public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  /// Creates a new file beside target; errno is set when it answers false.
  bool Create(const std::string& target) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string candidate = target + ".tmp" + std::to_string(::getpid()) + "-" +
                              std::to_string(attempt);
      // 0666 lets the umask decide, as for any file the user creates.
      fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        path_ = std::move(candidate);
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }

  bool WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }

  int Descriptor() const { return fd_; }

  /// Closes the file and moves it onto target; errno is set when it answers false.
  bool Commit(const std::string& target) {
    const int fd = fd_;
    fd_ = -1;
    if (::fsync(fd) != 0 || ::close(fd) != 0) return false;
    if (::rename(path_.c_str(), target.c_str()) != 0) return false;
    path_.clear();
    return true;
  }

private:
  int fd_ = -1;
  std::string path_;
};

/// The file a write to path must replace: the target of a symbolic link, so
/// that saving through a link updates the model and keeps the link.
std::string ReplacedFile(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target(resolved);
  std::free(resolved);
  return target;
}

}  // namespace

std::vector<std::string> LinesFromFileBytes(std::string_view bytes) {
  std::string text;
  if (IsValidUtf8(bytes)) {
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    text.assign(bytes);
  } else {
    text = Windows1252ToUtf8(bytes);
  }

  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    const std::size_t stop = end == std::string::npos ? text.size() : end;
    const std::string_view line(text.data() + start, stop - start);
    lines.emplace_back(FirstCharacters(line, kMaxLineLength));
    if (end == std::string::npos) break;
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::string FileBytesFromLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  // Plain ASCII, what most models hold, is the same in both encodings.
  if (std::all_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x80; })) return text;
  if (IsValidUtf8(text) && FitsWindows1252(text)) return Utf8ToWindows1252(text);
  return text;
}

std::vector<std::string> ReadModelFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw std::runtime_error(OpenError(path, std::strerror(errno)));

  std::string bytes;
  char buffer[65536];
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
    bytes.append(buffer, n);
    if (bytes.size() > kMaxFileSize) {
      std::fclose(file);
      throw std::runtime_error(OpenError(path, "Text exceeds memo capacity"));
    }
    if (n < sizeof buffer) break;
  }
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) throw std::runtime_error(OpenError(path, std::strerror(error)));
  return LinesFromFileBytes(bytes);
}

void WriteModelFile(const std::string& path, const std::vector<std::string>& lines) {
  const std::string bytes = FileBytesFromLines(lines);
  const std::string target = ReplacedFile(path);

  TemporaryFile temporary;
  const auto fail = [&path] {
    throw std::runtime_error(CreateError(path, std::strerror(errno)));
  };
  if (!temporary.Create(target)) fail();
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    // A replaced model keeps the permissions its owner gave it.
    if (::fchmod(temporary.Descriptor(), existing.st_mode & 07777) != 0) fail();
  }
  if (!temporary.WriteAll(bytes)) fail();
  if (!temporary.Commit(target)) fail();
}
