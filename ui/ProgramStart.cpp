#include "ui/ProgramStart.h"

#include <QSettings>
#include <QString>

const char* const kKorvelHelp =
    "uso: korvel [MODELO.KRL]\n"
    "Abre a janela do Korvel; com um único argumento, abre o modelo que ele nomeia.\n"
    "  -h, --help     mostra esta ajuda e sai\n"
    "      --version  mostra a versão e a licença e sai\n"
    "Um modelo cujo nome começa com \"-\" abre com a pasta na frente: korvel ./-modelo.KRL\n";

StartRequest StartRequestOf(const std::vector<std::string>& arguments) {
  for (const std::string& arg : arguments) {
    if (arg == "-h" || arg == "--help") return StartRequest::PrintHelp;
    if (arg == "--version") return StartRequest::PrintVersion;
  }
  return StartRequest::OpenWindow;
}

void KeepQtSettingsInMemory() {
  // No folder can be made inside /dev/null, so the settings file is never written.
  for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}
