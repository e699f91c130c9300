#pragma once

#include <string>
#include <string_view>

/// Why a system call failed, in Brazilian Portuguese whatever the user's
/// locale (LANG=C included); a code without its own text gets a generic one
/// that carries its number.
std::string SystemErrorText(int error);

/// The text with every control character shown escaped ("\n", "\t",
/// "\x1B", "\u009B"), so that a message quoting a name stays one line and
/// can't steer a terminal. Printable text, escapes included, comes out as it
/// went in.
std::string EscapedText(std::string_view text);

/// "Não foi possível gravar o arquivo \"<path>\": <reason>"
std::string CannotWriteMessage(std::string_view path, std::string_view reason);

/// "Não foi possível abrir o arquivo \"<path>\": <reason>"
std::string CannotOpenMessage(std::string_view path, std::string_view reason);
