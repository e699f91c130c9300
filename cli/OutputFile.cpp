#include "cli/OutputFile.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
  for (int attempt = 0; attempt < 100 && file_ == nullptr; ++attempt) {
    std::string candidate =
        path_ + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      Fail();
    }
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
      const int error = errno;
      ::close(fd);
      ::unlink(candidate.c_str());
      errno = error;
      Fail();
    }
    temporaryPath_ = std::move(candidate);
  }
  if (file_ == nullptr) Fail();
}

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
  if (!temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
}

void OutputFile::Write(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) Fail();
}

void OutputFile::Commit() {
  std::FILE* file = file_;
  file_ = nullptr;
  const bool written = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
  const int error = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written) errno = error;
  if (!written || !closed) Fail();
  if (::rename(temporaryPath_.c_str(), path_.c_str()) != 0) Fail();
  temporaryPath_.clear();
}

void OutputFile::Fail() const {
  throw std::runtime_error("Cannot create file \"" + path_ + "\". " + std::strerror(errno));
}
