#include "document/ModelText.h"

#include "platform/AtomicFile.h"
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

/// The first max characters of valid UTF-8 text.
std::string_view FirstCharacters(std::string_view utf8, std::size_t max) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const bool startsCharacter = (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80;
    if (startsCharacter && characters++ == max) return utf8.substr(0, i);
  }
  return utf8;
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
  WriteFileAtomically(path, FileBytesFromLines(lines));
}
