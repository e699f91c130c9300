#pragma once

#include <string>
#include <string_view>

/// A file that is replaced in one step. The bytes go to a temporary file
/// beside the target, which Commit flushes to disk and renames over the
/// target; until then the target keeps what it held, and an AtomicFile
/// destroyed without Commit leaves nothing behind.
///
/// A symbolic link is written through: its final target is replaced and the
/// link stays. A replaced file keeps its permissions (and, where allowed, its
/// owner). A target that exists and is not a regular file (a device, a FIFO)
/// is written directly, never replaced. Errors throw std::runtime_error:
/// "Cannot create file \"<path>\". <reason>".
class AtomicFile {
public:
  explicit AtomicFile(std::string path);
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();

  void Write(std::string_view bytes);
  /// Puts the written bytes in place of the target.
  void Commit();

private:
  [[noreturn]] void Fail(int error) const;

  /// The path as the caller named it, for messages.
  std::string path_;
  /// The file that is finally replaced: path_ with its links followed.
  std::string target_;
  /// Empty when the target is written directly.
  std::string temporaryPath_;
  int fd_ = -1;
};

/// Replaces the file at path with bytes through an AtomicFile.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
