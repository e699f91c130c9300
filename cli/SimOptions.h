#pragma once

#include "document/uEditor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// Most ticks one run may ask for: a hundred thousand time units of a
/// classroom model, and a bound on the time and output a typo can cost.
inline constexpr std::int32_t kMaxTicks = 1000000;

/// The one-line synopsis printed by --help and after every usage error.
inline constexpr const char* kSimUsage =
    "usage: korvel-sim MODEL.KRL [--ticks N] [--method euler|rk4] [--output FILE.csv] "
    "[--save OUT.KRL] [--picture FILE.png|.svg|.pdf [--size WxH]]";

/// Largest picture canvas side, the batch canvas's own size.
inline constexpr std::int32_t kMaxPictureSide = 4096;

/// What a korvel-sim command line asks for.
struct SimOptions {
  std::string modelPath;
  std::int32_t ticks = 100;
  /// Empty: the method the model file names.
  std::optional<IntegrationMethod> method;
  /// Empty: the table goes to standard output.
  std::string outputPath;
  /// Empty: the model is not saved.
  std::string savePath;
  /// Empty: no picture is made.
  std::string picturePath;
  /// The picture's model canvas; zero: the default size.
  std::int32_t pictureWidth = 0;
  std::int32_t pictureHeight = 0;
  bool help = false;
};

/// The options of a command line, program name left out. Empty when the line
/// is refused; error then holds a one-line reason that ends with kSimUsage.
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args,
                                          std::string& error);
