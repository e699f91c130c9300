#pragma once

#include "document/ModelLines.h"

#include <string>
#include <string_view>

/// Moving a model's lines between the disk and the document. Inside the
/// program every line is UTF-8; on disk a model is Windows-1252 (what older
/// systems wrote) unless that would not read back as the same lines.

/// Longest line kept when a file is read, in characters; the rest is cut off.
inline constexpr std::size_t kMaxLineLength = 4096;

/// The lines of a model file. Each line is read as UTF-8 when its bytes are
/// valid UTF-8, otherwise as Windows-1252, so one stray byte spoils no other
/// line. A byte order mark at the start is dropped. CR LF, a lone CR and a
/// lone LF each end a line; a line break at the very end does not start
/// another line. Lines are cut to kMaxLineLength characters.
ModelLines LinesFromFileBytes(std::string_view bytes);

/// The bytes of a model file: Windows-1252 when every character fits it and
/// those bytes read back as the same lines, otherwise UTF-8 (with a byte
/// order mark when the text itself starts with one); every line, the last
/// one included, ends with CR LF.
std::string FileBytesFromLines(const ModelLines& lines);

/// Reads a model file whole; throws std::runtime_error naming the file when
/// it can't be read.
ModelLines ReadModelFile(const std::string& path);

/// Writes the lines to a model file, replacing it; throws std::runtime_error
/// naming the file when it can't be written. A failed write leaves an
/// existing file as it was.
void WriteModelFile(const std::string& path, const ModelLines& lines);
