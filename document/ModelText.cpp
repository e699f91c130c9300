#include "document/ModelText.h"

#include "platform/AtomicFile.h"
#include "platform/FileMessages.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
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

}  // namespace

ModelLines LinesFromFileBytes(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());

  std::size_t breaks = 0;
  for (char c : bytes) breaks += c == '\n' || c == '\r';
  ModelLines lines;
  lines.reserve(breaks + 1, bytes.size());
  std::string decoded;
  std::size_t start = 0;
  while (start < bytes.size()) {
    // A plain scan: find_first_of asks memchr about the two breaks at every byte.
    std::size_t stop = start;
    while (stop < bytes.size() && bytes[stop] != '\r' && bytes[stop] != '\n') ++stop;
    const std::size_t end = stop == bytes.size() ? std::string_view::npos : stop;
    std::string_view line = bytes.substr(start, stop - start);
    // CR and LF are single bytes in both encodings, so lines split alike.
    if (!IsValidUtf8(line)) {
      // One byte a character: cutting first spares decoding a huge line whole.
      decoded = Windows1252ToUtf8(line.substr(0, kMaxLineLength));
      line = decoded;
    }
    lines.push_back(Utf8Prefix(line, kMaxLineLength));
    if (end == std::string_view::npos) break;
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

std::string FileBytesFromLines(const ModelLines& lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  // Plain ASCII, what most models hold, is the same in both encodings.
  if (std::all_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x80; })) return text;
  if (IsValidUtf8(text) && FitsWindows1252(text)) {
    // "Ã©" in Windows-1252 is C3 A9, which the reader takes for UTF-8 "é".
    std::string narrow = Utf8ToWindows1252(text);
    if (LinesFromFileBytes(narrow) == lines) return narrow;
  }
  if (text.starts_with(kUtf8Bom)) text.insert(0, kUtf8Bom);
  return text;
}

ModelLines ReadModelFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw std::runtime_error(CannotOpenMessage(path, SystemErrorText(errno)));

  std::string bytes;
  struct stat st {};
  if (::fstat(::fileno(file), &st) == 0 && S_ISREG(st.st_mode)) {
    bytes.reserve(std::min<std::size_t>(static_cast<std::size_t>(st.st_size), kMaxFileSize) + 1);
  }
  char buffer[65536];
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
    bytes.append(buffer, n);
    if (bytes.size() > kMaxFileSize) {
      std::fclose(file);
      throw std::runtime_error(CannotOpenMessage(path, "Text exceeds memo capacity"));
    }
    if (n < sizeof buffer) break;
  }
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) throw std::runtime_error(CannotOpenMessage(path, SystemErrorText(error)));
  return LinesFromFileBytes(bytes);
}

void WriteModelFile(const std::string& path, const ModelLines& lines) {
  WriteFileAtomically(path, FileBytesFromLines(lines));
}
