#include "cli/SimOptions.h"

#include "cli/ModelPicture.h"
#include "platform/AtomicFile.h"
#include "platform/FileMessages.h"
#include "platform/Numbers.h"

#include <algorithm>

namespace {

/// A count written as plain decimal digits (no sign, no blanks), up to max.
std::optional<std::int32_t> ParseCount(const std::string& text, std::int32_t max) {
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  const std::optional<std::int32_t> n = ParseInt32(text);
  if (!n || *n > max) return std::nullopt;
  return n;
}

/// A picture canvas size "WxH", each side from 1 to kMaxPictureSide.
bool ParseSize(const std::string& text, std::int32_t& width, std::int32_t& height) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return false;
  width = ParseCount(text.substr(0, x), kMaxPictureSide).value_or(0);
  height = ParseCount(text.substr(x + 1), kMaxPictureSide).value_or(0);
  return width > 0 && height > 0;
}

/// A value from the command line, quoted for a message.
std::string Shown(const std::string& value) { return "'" + EscapedText(value) + "'"; }

/// Why the line names one file twice, or nothing when it doesn't.
std::string SameFileRefusal(const SimOptions& options) {
  const struct {
    const char* role;
    const std::string& path;
  } files[] = {{"o modelo", options.modelPath},
               {"--save", options.savePath},
               {"--output", options.outputPath},
               {"--picture", options.picturePath}};
  for (std::size_t i = 0; i < std::size(files); ++i) {
    for (std::size_t j = i + 1; j < std::size(files); ++j) {
      if (files[i].path.empty() || files[j].path.empty()) continue;
      if (NameTheSameFile(files[i].path, files[j].path)) {
        return std::string(files[i].role) + " e " + files[j].role + " indicam o mesmo arquivo, " +
               Shown(files[j].path) + ", e um apagaria o outro";
      }
    }
  }
  return {};
}

/// Stores the value of an option that takes one; why it is refused, or
/// nothing. ticksGiven tells a second --ticks from the default count.
std::string TakeValue(SimOptions& options, bool& ticksGiven, const std::string& option,
                      const std::string& value) {
  if (option == "--ticks") {
    if (ticksGiven) return "--ticks aparece duas vezes";
    const auto n = ParseCount(value, kMaxTicks);
    if (!n) {
      return "--ticks aceita um número inteiro de 0 a " + std::to_string(kMaxTicks) + ", não " +
             Shown(value);
    }
    options.ticks = *n;
    ticksGiven = true;
  } else if (option == "--method") {
    if (options.method) return "--method aparece duas vezes";
    if (value == "euler") {
      options.method = MethodCode::Euler;
    } else if (value == "rk4") {
      options.method = MethodCode::RungeKutta;
    } else {
      return "--method aceita euler ou rk4, não " + Shown(value);
    }
  } else if (option == "--size") {
    if (options.pictureWidth > 0) return "--size aparece duas vezes";
    if (!ParseSize(value, options.pictureWidth, options.pictureHeight)) {
      return "--size aceita LARGURAxALTURA, cada uma de 1 a " + std::to_string(kMaxPictureSide) +
             ", não " + Shown(value);
    }
  } else {
    std::string& path = option == "--output" ? options.outputPath
                        : option == "--save" ? options.savePath
                                             : options.picturePath;
    if (!path.empty()) return option + " aparece duas vezes";
    if (value.empty()) return option + " precisa de um nome de arquivo";
    path = value;
  }
  return {};
}

/// Why options that each stand are refused together, or nothing.
std::string CombinationRefusal(const SimOptions& options) {
  if (options.pictureWidth > 0 && options.picturePath.empty()) return "--size precisa de --picture";
  if (!options.picturePath.empty() && !PictureFormatOf(options.picturePath))
    return "--picture faz arquivos .png, .svg ou .pdf, não " + Shown(options.picturePath);
  return SameFileRefusal(options);
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
    if (arg == "--version") {
      options.version = true;
      return options;
    }
    if (arg == "--decimal-comma") {
      if (options.decimalComma) return refuse("--decimal-comma aparece duas vezes");
      options.decimalComma = true;
      continue;
    }
    const bool takesValue = arg == "--ticks" || arg == "--method" || arg == "--output" ||
                            arg == "--save" || arg == "--picture" || arg == "--size";
    if (takesValue) {
      if (i + 1 == args.size()) return refuse(arg + " precisa de um valor");
      const std::string refusal = TakeValue(options, ticksGiven, arg, args[++i]);
      if (!refusal.empty()) return refuse(refusal);
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') return refuse("opção desconhecida " + Shown(arg));
    if (modelGiven) return refuse("só um arquivo de modelo, não também " + Shown(arg));
    if (arg.empty()) return refuse("o nome do arquivo de modelo está vazio");
    options.modelPath = arg;
    modelGiven = true;
  }
  if (!modelGiven) return refuse("falta o arquivo de modelo");
  if (const std::string refusal = CombinationRefusal(options); !refusal.empty())
    return refuse(refusal);
  return options;
}
