// libFuzzer target: any bytes as a model file, through the whole open path.
#include "platform/RegionalSettings.h"
#include "tests/document/ModelChecks.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // The canvas measures and draws names through Qt; no display is needed.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);
  PinDecimalSeparator(',');
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A small canvas: filling pixels would take most of the time otherwise.
  const std::string broken = model_checks::OpenPathBreak(
      std::string_view(reinterpret_cast<const char*>(data), size), 240, 160);
  if (!broken.empty()) {
    std::fprintf(stderr, "Open path broken: %s\n", broken.c_str());
    std::abort();
  }
  return 0;
}
