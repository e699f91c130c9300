#include "test_mainwindow_fixture.h"

#include <QProcess>
#include <QTemporaryDir>

#include <string>

namespace {

/// korvel-sim's picture of a run, and the window's canvas and graph after the
/// same file was opened, animated and ticked as often: the same pixels.
TEST_F(MainWindowTest, KorvelSimsPictureIsWhatTheWindowShowsAfterAsManyTicks) {
  const struct {
    const char* model;
    int ticks;
  } cases[] = {
      {"examples/termostato.KRL", 120},
      {"examples/predador-presa.KRL", 700},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    const QString model = QStringLiteral(KORVEL_SOURCE_DIR "/") + QLatin1String(c.model);
    fEditor->OpenModelFile(model);
    // Opening keeps the last model's curves; korvel-sim starts as a fresh program.
    fEditor->bRelogioClick();
    const int width = fEditor->ModelCanvas.Width();
    const int height = fEditor->ModelCanvas.Height();
    ASSERT_EQ(fEditor->GraphCanvas.Width(), width);
    ASSERT_EQ(fEditor->GraphCanvas.Height(), 100);

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("m.png"));
    QProcess sim;
    sim.start(QStringLiteral(KORVEL_SIM_PATH),
              {model, QStringLiteral("--ticks"), QString::number(c.ticks), QStringLiteral("--picture"),
               png, QStringLiteral("--size"), QStringLiteral("%1x%2").arg(width).arg(height)});
    ASSERT_TRUE(sim.waitForFinished(60000));
    ASSERT_EQ(sim.exitCode(), 0) << sim.readAllStandardError().toStdString();

    fEditor->bPlayClick();
    for (int i = 0; i < c.ticks; ++i) fEditor->RelogioTimer();

    const QImage picture(png);
    ASSERT_EQ(picture.size(), QSize(width, height + 4 + 100));
    int differing = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        differing += (picture.pixel(x, y) & 0xffffff) != (fEditor->ModelCanvas.Bits()[y * width + x] & 0xffffff);
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < width; ++x)
        differing += (picture.pixel(x, height + 4 + y) & 0xffffff) !=
                     (fEditor->GraphCanvas.Bits()[y * width + x] & 0xffffff);
    EXPECT_EQ(differing, 0);
    fEditor->SpeedButton2Click();
  }
}

}  // namespace
