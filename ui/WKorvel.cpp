#include "ui/Ieditor.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

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

}  // namespace

int main(int argc, char** argv) {
  TKorvelApplication app(argc, argv);
  // Only the application name: a display name would be appended to every
  // window title by the X11 platform plugin.
  QApplication::setApplicationName(QStringLiteral("WKorvel"));
  // The installed desktop entry: its name and icon stand for the window in
  // task bars and docks.
  QGuiApplication::setDesktopFileName(QStringLiteral(KORVEL_APP_ID));

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

  fEditor->showMaximized();
  const int status = QApplication::exec();
  DestroyForms();
  return status;
}
