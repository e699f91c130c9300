#pragma once

#include <cstdio>
#include <string>
#include <string_view>

/// A file written in the background and put in place only by Commit: until
/// then the path keeps whatever it held, and a run that fails leaves nothing
/// behind. Errors throw std::runtime_error in the style
/// "Cannot create file \"<path>\". <reason>".
class OutputFile {
public:
  /// Creates the temporary file beside path.
  explicit OutputFile(std::string path);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  /// Removes the temporary file unless Commit ran.
  ~OutputFile();

  void Write(std::string_view bytes);
  /// Finishes the file and moves it onto the path.
  void Commit();

private:
  [[noreturn]] void Fail() const;

  std::string path_;
  std::string temporaryPath_;
  std::FILE* file_ = nullptr;
};
