#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// A file that is replaced in one step. The bytes go to a temporary file
/// beside the target, which Commit flushes to disk and renames over the
/// target; until then the target keeps what it held, and an AtomicFile
/// destroyed without Commit, or whose constructor throws, leaves nothing
/// behind.
///
/// The temporary is made private (mode 0600) and exclusive, under a name
/// nobody can guess or without a name at all; it takes the replaced file's
/// owner (where allowed) and then its exact mode, set-id bits included. Saves
/// that were killed leave no temporary, or one that a later save of the same
/// user beside the same target removes.
///
/// A symbolic link is written through: its final target is replaced and the
/// link stays. In a folder that anyone may write to and only owners may
/// delete from (/tmp), a link is followed only when it belongs to the user or
/// to the folder's owner, and another user's file is neither replaced nor
/// written into. A target that exists and is not a regular file (a device, a
/// FIFO) is written directly, never replaced; a FIFO nobody reads is an
/// error, not a wait. A writable file in a folder where no temporary can be
/// made is written in place at Commit, after its room on the disk is claimed.
/// Errors throw std::runtime_error:
/// "Não foi possível gravar o arquivo \"<path>\": <reason>".
class AtomicFile {
public:
  enum class Temporary : std::uint8_t {
    /// A temporary without a name, given one only at Commit, where the file
    /// system has them; a named one elsewhere.
    Anonymous,
    /// Always a named temporary, as on file systems without anonymous files.
    Named,
  };

  explicit AtomicFile(std::string path, Temporary temporary = Temporary::Anonymous);
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();

  void Write(std::string_view bytes);
  /// Puts the written bytes in place of the target.
  void Commit();

  /// Commits the files (null ones skipped) together: every step that can
  /// fail, short of the renames themselves, is done for all of them before
  /// the first target is replaced, so such a failure leaves every target as
  /// it was. (What went into a device or a FIFO has gone already.)
  static void CommitTogether(const std::vector<AtomicFile*>& files);

private:
  struct State;

  void Prepare();
  void Install();

  std::unique_ptr<State> state_;
};

/// Replaces the file at path with bytes through an AtomicFile.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

/// Whether writing to a and to b would put the bytes into one file: the same
/// file under two paths, links or hard links, or one name, reached two ways,
/// of a file that doesn't exist yet.
bool NameTheSameFile(const std::string& a, const std::string& b);
