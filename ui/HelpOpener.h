#pragma once

#include <QString>
#include <QStringList>

class QWidget;

/// The guide's first page as installed, relative to the program's folder:
/// /usr/bin/korvel finds /usr/share/doc/korvel/guia, and build/ui/korvel the
/// copy the build makes in build/share/doc/korvel/guia.
inline const QString kGuideBesideProgram = QStringLiteral("../share/doc/korvel/guia/index.html");
/// Where the package puts the guide, for a program started from elsewhere.
inline const QString kInstalledGuide = QStringLiteral("/usr/share/doc/korvel/guia/index.html");

/// The first of the candidate pages that exists, or empty.
QString FindGuide(const QStringList& candidates);
/// The pages the program looks for, in order: beside it, then the installed one.
QStringList GuideCandidates(const QString& programFolder);

/// Opens the guide in the user's browser, or says where it is when there is
/// none to open.
void OpenGuide(QWidget* parent);
/// F1 in the window opens the guide.
void InstallHelpKey(QWidget& window);
