#include "cli/KorvelSim.h"

#include <QGuiApplication>
#include <QtGlobal>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

/// Qt's warnings (a missing runtime folder, font fallbacks) say nothing about
/// the model and would break the one-line error promise; only its critical
/// and fatal reports are kept.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  // A write past the file size limit then fails with a message instead of
  // killing the run.
  std::signal(SIGXFSZ, SIG_IGN);

  // Qt starts only for a run that measures text, which then needs no display;
  // Qt sees none of our arguments, so a model named like a Qt option stays ours.
  qInstallMessageHandler(QuietQtMessages);
  std::unique_ptr<QGuiApplication> app;
  const auto startText = [&app, &argv] {
    if (app) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int qtArgc = 1;
    static char* qtArgv[] = {argv[0], nullptr};
    app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
  };

  std::ios::sync_with_stdio(false);
  return RunKorvelSim(args, std::cout, std::cerr, startText);
}
