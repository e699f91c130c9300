#include "platform/TextEncoding.h"

#include <array>
#include <cstdint>

namespace {

/// Code points of the bytes 0x80..0x9F; the five Windows leaves unassigned
/// keep their own value as C1 controls.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t FromWindows1252(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

/// The Windows-1252 byte of a code point, or -1.
int ToWindows1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

/// Decodes one well-formed sequence at bytes[i], advancing i; -1 if malformed.
std::int32_t DecodeUtf8(std::string_view bytes, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  int length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return -1;
  }
  if (bytes.size() - i < static_cast<std::size_t>(length)) return -1;
  for (int k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
    if ((next & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  i += static_cast<std::size_t>(length);
  return static_cast<std::int32_t>(cp);
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();)
    if (DecodeUtf8(bytes, i) < 0) return false;
  return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) AppendUtf8(out, FromWindows1252(static_cast<unsigned char>(c)));
  return out;
}

bool FitsWindows1252(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    const std::int32_t cp = DecodeUtf8(utf8, i);
    if (cp < 0 || ToWindows1252(static_cast<char32_t>(cp)) < 0) return false;
  }
  return true;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const std::int32_t cp = DecodeUtf8(utf8, i);
    if (cp < 0) {
      // Outside the contract; skip the byte rather than loop or read past the end.
      ++i;
      out += '?';
      continue;
    }
    const int byte = ToWindows1252(static_cast<char32_t>(cp));
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

namespace {

bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

}  // namespace

std::size_t Utf8Length(std::string_view utf8) {
  std::size_t count = 0;
  for (char c : utf8) count += StartsCharacter(c);
  return count;
}

std::string_view Utf8Prefix(std::string_view utf8, std::size_t characters) {
  std::size_t started = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (StartsCharacter(utf8[i]) && started++ == characters) return utf8.substr(0, i);
  }
  return utf8;
}
