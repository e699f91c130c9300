#include "platform/ProgramVersion.h"
#include "ui/Ieditor.h"
#include "ui/ModelCanvasWidget.h"
#include "ui/ProgramStart.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTranslator>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

/// The application object: an exception that leaves an event handler is
/// shown in the error box and the event loop goes on.
class TKorvelApplication : public QApplication {
public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    bool handled = false;
    RunShowingErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
  }
};

/// With KORVEL_PRINT_CLOCK set, the program says on standard error when the
/// window is first activated, which opens the command line's file, and when
/// the model canvas is first painted after that: the first paint that shows
/// the model (CLOCK_MONOTONIC seconds). When it quits it says how many ticks
/// its clock counted; SIGTERM and SIGINT then end it at once, without
/// questions, and SIGUSR1 has it say the count and the moment
/// at once, so that a rate can be taken while it animates. For measuring the
/// program from a script.
class ClockReport : public QObject {
public:
  static bool Wanted() { return !qEnvironmentVariableIsEmpty("KORVEL_PRINT_CLOCK"); }

  ClockReport(QWidget* window, QWidget* canvas) : canvas_(canvas) {
    window->installEventFilter(this);
    canvas->installEventFilter(this);
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, pipe_) != 0) return;
    auto* notifier = new QSocketNotifier(pipe_[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &ClockReport::Signalled);
    std::signal(SIGTERM, &ClockReport::OnSignal);
    std::signal(SIGINT, &ClockReport::OnSignal);
    std::signal(SIGUSR1, &ClockReport::OnSignal);
  }

  static void PrintClock() {
    std::fprintf(stderr, "korvel: clock %d ticks\n", int(fEditor->ElapsedTicks()));
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != canvas_ && event->type() == QEvent::WindowActivate && !activated_) {
      // Seen before the window opens the file; the paint that shows it comes after.
      activated_ = true;
      PrintTime("first activation");
      canvas_->update();
    }
    if (watched == canvas_ && event->type() == QEvent::Paint && activated_ && !painted_) {
      painted_ = true;
      PrintTime("first paint");
    }
    return false;
  }

private:
  static void PrintTime(const char* what) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "korvel: %s %ld.%09ld\n", what, long(now.tv_sec), now.tv_nsec);
  }

  static void OnSignal(int signal) {
    const char byte = signal == SIGUSR1 ? kClockNow : kQuit;
    [[maybe_unused]] const auto written = write(pipe_[0], &byte, 1);
  }

  void Signalled() {
    char byte = kQuit;
    if (read(pipe_[1], &byte, 1) == 1 && byte == kClockNow) {
      PrintTime(("clock " + std::to_string(fEditor->ElapsedTicks()) + " ticks at").c_str());
      return;
    }
    // Leaves every event loop, a question's too, without closing the windows first.
    QCoreApplication::exit(0);
  }

  static constexpr char kQuit = 1;
  static constexpr char kClockNow = 2;

  static inline int pipe_[2] = {-1, -1};
  QWidget* canvas_;
  bool activated_ = false;
  bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so they need no display.
  const StartRequest request = StartRequestOf({argv + 1, argv + argc});
  if (request != StartRequest::OpenWindow) {
    const std::string text =
        request == StartRequest::PrintHelp ? kKorvelHelp : VersionText("korvel");
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }

  TKorvelApplication app(argc, argv);
  // Only the application name: a display name would be appended to every
  // window title by the X11 platform plugin.
  QApplication::setApplicationName(QStringLiteral("WKorvel"));
  // The installed desktop entry: its name and icon stand for the window in
  // task bars and docks.
  QGuiApplication::setDesktopFileName(QStringLiteral(KORVEL_APP_ID));
  // The program keeps no settings outside the model files.
  KeepQtSettingsInMemory();

  // Qt's own texts (standard buttons, file and print dialogs) in Brazilian
  // Portuguese, whatever the system's language.
  QTranslator qtStrings;
  if (qtStrings.load(QStringLiteral("qtbase_pt_BR"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtStrings);

  CreateForms();
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/korvel.svg")));
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  fEditor->CommandLine = arguments;

  std::unique_ptr<ClockReport> report;
  if (ClockReport::Wanted()) report = std::make_unique<ClockReport>(fEditor, fEditor->ModelView());

  fEditor->showMaximized();
  const int status = QApplication::exec();
  if (report) ClockReport::PrintClock();
  DestroyForms();
  return status;
}
