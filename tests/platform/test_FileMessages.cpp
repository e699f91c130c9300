#include "platform/FileMessages.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

// The tests run under LC_ALL=C.UTF-8, where the C library answers in English.
TEST(SystemErrorText, EveryCodeIsExplainedInPortuguese) {
  for (int error = 1; error < 134; ++error) {
    SCOPED_TRACE(error);
    const std::string text = SystemErrorText(error);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text, std::strerror(error)) << "the C library's English text";
  }
  for (int error : {ENOENT, EACCES, EPERM, ENOSPC, EDQUOT, EROFS, EISDIR, ENOTDIR, ELOOP,
                    ENAMETOOLONG, EFBIG, EIO, EEXIST, ENXIO, EMFILE, ENFILE, EBUSY, ETXTBSY, EXDEV,
                    EINVAL, EAGAIN, EPIPE, ESTALE}) {
    EXPECT_FALSE(SystemErrorText(error).starts_with("erro do sistema")) << "own text for " << error;
  }
  EXPECT_EQ(SystemErrorText(ENOSPC), "não há espaço disponível no dispositivo");
  EXPECT_EQ(SystemErrorText(9999), "erro do sistema número 9999");
}

TEST(EscapedText, ControlCharactersAreShownAndEverythingElseKept) {
  const struct {
    const char* name;
    std::string text;
    std::string shown;
  } cases[] = {
      {"line breaks and tab", "a\nb\r\tc", "a\\nb\\r\\tc"},
      {"terminal escape", "\x1B[31mvermelho", "\\x1B[31mvermelho"},
      {"delete and nul", std::string("x\x7Fy\0z", 5), "x\\x7Fy\\x00z"},
      {"C1 control in UTF-8", "a\xC2\x9B" "b", "a\\u009Bb"},
      {"accents stay", "Água é ç", "Água é ç"},
      {"broken sequence before a break", "\xE0\n", "\xE0\\n"},
      {"escapes come out unchanged", "a\\nb\\x1B", "a\\nb\\x1B"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapedText(c.text), c.shown) << c.name;
}

}  // namespace
