#pragma once

#include <string>
#include <string_view>

/// Whether the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::string_view bytes);

/// Windows-1252 bytes as UTF-8; the five unassigned bytes map to the C1
/// controls of the same value, as Windows does, so nothing is lost.
std::string Windows1252ToUtf8(std::string_view bytes);

/// Whether every character of the UTF-8 text has a Windows-1252 byte.
bool FitsWindows1252(std::string_view utf8);

/// UTF-8 text as Windows-1252; only defined when FitsWindows1252 answers true.
std::string Utf8ToWindows1252(std::string_view utf8);

/// Number of characters (code points) in valid UTF-8 text.
std::size_t Utf8Length(std::string_view utf8);

/// The first `characters` characters of valid UTF-8 text; all of it when it
/// is shorter.
std::string_view Utf8Prefix(std::string_view utf8, std::size_t characters);
