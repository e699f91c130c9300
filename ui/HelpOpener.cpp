#include "ui/HelpOpener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QShortcut>
#include <QUrl>

QStringList GuideCandidates(const QString& programFolder) {
  return {QDir::cleanPath(QDir(programFolder).filePath(kGuideBesideProgram)), kInstalledGuide};
}

QString FindGuide(const QStringList& candidates) {
  for (const QString& page : candidates)
    if (QFileInfo(page).isFile()) return page;
  return {};
}

void OpenGuide(QWidget* parent) {
  const QString page = FindGuide(GuideCandidates(QCoreApplication::applicationDirPath()));
  if (!page.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(page))) return;
  const QString text =
      page.isEmpty()
          ? QStringLiteral("O guia do Korvel não está instalado neste computador. Com o pacote "
                           "do Korvel ele fica em %1; o texto dele está também na pasta docs "
                           "do código-fonte do programa.")
                .arg(kInstalledGuide)
          : QStringLiteral("Não foi possível abrir o navegador. Abra o guia do Korvel por este "
                           "endereço: %1")
                .arg(page);
  QMessageBox::information(parent, QStringLiteral("WKorvel"), text, QMessageBox::Ok);
}

void InstallHelpKey(QWidget& window) {
  auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &window);
  QObject::connect(key, &QShortcut::activated, &window, [&window] { OpenGuide(&window); });
}
