#include "cli/SimOptions.h"

#include "cli/ModelPicture.h"

#include <algorithm>

namespace {

/// A tick count: plain decimal digits, at most kMaxTicks.
std::optional<std::int32_t> ParseTicks(const std::string& text) {
  if (text.empty() || text.size() > 9 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const std::int32_t n = std::stoi(text);
  if (n > kMaxTicks) return std::nullopt;
  return n;
}

/// A picture canvas size "WxH", each side from 1 to kMaxPictureSide.
bool ParseSize(const std::string& text, std::int32_t& width, std::int32_t& height) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return false;
  const auto side = [](const std::string& digits) -> std::int32_t {
    if (digits.empty() || digits.size() > 4 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return 0;
    const std::int32_t n = std::stoi(digits);
    return n <= kMaxPictureSide ? n : 0;
  };
  width = side(text.substr(0, x));
  height = side(text.substr(x + 1));
  return width > 0 && height > 0;
}

}  // namespace

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args,
                                          std::string& error) {
  const auto refuse = [&error](const std::string& reason) {
    error = "korvel-sim: " + reason + "; " + kSimUsage;
    return std::nullopt;
  };

  SimOptions options;
  bool ticksGiven = false;
  bool modelGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return options;
    }
    const bool takesValue = arg == "--ticks" || arg == "--method" || arg == "--output" ||
                            arg == "--save" || arg == "--picture" || arg == "--size";
    if (takesValue) {
      if (i + 1 == args.size()) return refuse(arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--ticks") {
        if (ticksGiven) return refuse("--ticks given twice");
        const auto n = ParseTicks(value);
        if (!n) {
          return refuse("--ticks takes a whole number from 0 to " + std::to_string(kMaxTicks) +
                        ", not '" + value + "'");
        }
        options.ticks = *n;
        ticksGiven = true;
      } else if (arg == "--method") {
        if (options.method) return refuse("--method given twice");
        if (value == "euler") {
          options.method = IntegrationMethod::Euler;
        } else if (value == "rk4") {
          options.method = IntegrationMethod::RungeKutta;
        } else {
          return refuse("--method takes euler or rk4, not '" + value + "'");
        }
      } else if (arg == "--size") {
        if (options.pictureWidth > 0) return refuse("--size given twice");
        if (!ParseSize(value, options.pictureWidth, options.pictureHeight)) {
          return refuse("--size takes WIDTHxHEIGHT, each from 1 to " +
                        std::to_string(kMaxPictureSide) + ", not '" + value + "'");
        }
      } else {
        std::string& path = arg == "--output"  ? options.outputPath
                            : arg == "--save" ? options.savePath
                                              : options.picturePath;
        if (!path.empty()) return refuse(arg + " given twice");
        if (value.empty()) return refuse(arg + " needs a file name");
        path = value;
      }
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') return refuse("unknown option '" + arg + "'");
    if (modelGiven) return refuse("one model file only, not also '" + arg + "'");
    if (arg.empty()) return refuse("the model file name is empty");
    options.modelPath = arg;
    modelGiven = true;
  }
  if (!modelGiven) return refuse("no model file given");
  if (options.pictureWidth > 0 && options.picturePath.empty()) {
    return refuse("--size needs --picture");
  }
  if (!options.picturePath.empty() && !PictureFormatOf(options.picturePath)) {
    return refuse("--picture makes .png, .svg or .pdf files, not '" + options.picturePath + "'");
  }
  return options;
}
