#include "ui/ProgramStart.h"

#include <QFile>
#include <QFileDialog>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ProgramStart, HelpAndVersionAreAnsweredWhereverTheyStand) {
  struct Row {
    const char* name;
    std::vector<std::string> args;
    StartRequest expected;
  };
  const Row rows[] = {
      {"no argument", {}, StartRequest::OpenWindow},
      {"a model", {"aula.KRL"}, StartRequest::OpenWindow},
      {"a model named like the option", {"./--help"}, StartRequest::OpenWindow},
      {"an abbreviation is a name", {"--vers"}, StartRequest::OpenWindow},
      {"short help", {"-h"}, StartRequest::PrintHelp},
      {"help after a model", {"aula.KRL", "--help"}, StartRequest::PrintHelp},
      {"version", {"--version"}, StartRequest::PrintVersion},
      {"the first of the two", {"--version", "-h"}, StartRequest::PrintVersion},
  };
  for (const Row& row : rows) EXPECT_EQ(StartRequestOf(row.args), row.expected) << row.name;
}

#if defined(KORVEL_PATH) && defined(KORVEL_SIM_PATH)
TEST(ProgramStart, BothProgramsPrintHelpAndVersionWithoutADisplay) {
  struct Row {
    const char* program;
    const char* option;
    const char* starts;
    const char* holds;
  };
  const Row rows[] = {
      {KORVEL_PATH, "--help", "uso: korvel [MODELO.KRL]\n", "--version"},
      {KORVEL_PATH, "--version", "korvel ", "GPLv3+"},
      {KORVEL_SIM_PATH, "--help", "uso: korvel-sim MODELO.KRL", "--version"},
      {KORVEL_SIM_PATH, "--version", "korvel-sim ", "GPLv3+"},
  };
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  for (const Row& row : rows) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QString::fromUtf8(row.program), {QString::fromUtf8(row.option)});
    ASSERT_TRUE(process.waitForFinished(30000)) << row.program << ' ' << row.option;
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_EQ(process.exitCode(), 0) << row.program << ' ' << row.option;
    EXPECT_TRUE(out.startsWith(QString::fromUtf8(row.starts))) << out.toStdString();
    EXPECT_TRUE(out.contains(QString::fromUtf8(row.holds))) << out.toStdString();
  }
}
#endif

TEST(ProgramStart, TheFileDialogWritesNoSettingsFile) {
  QTemporaryDir userConfig;
  const QString written = userConfig.filePath(QStringLiteral("QtProject.conf"));
  for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, userConfig.path());
  const auto openAndClose = [] {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
  };
  openAndClose();
  ASSERT_TRUE(QFile::exists(written)) << "the dialog no longer keeps settings; drop this test";

  QFile::remove(written);
  KeepQtSettingsInMemory();
  openAndClose();
  QSettings settings(QSettings::UserScope, QStringLiteral("QtProject"));
  settings.setValue(QStringLiteral("probe"), 1);
  settings.sync();
  EXPECT_FALSE(QFile::exists(written));
  EXPECT_NE(settings.status(), QSettings::NoError) << settings.fileName().toStdString();
}

}  // namespace
