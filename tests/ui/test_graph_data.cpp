#include "test_mainwindow_fixture.h"

#include "platform/RegionalSettings.h"
#include "ui/GraphDataMenu.h"
#include "ui/HelpOpener.h"
#include "ui/PageFit.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

namespace {

class GraphDataTest : public MainWindowTest {
protected:
  void TearDown() override {
    PinDecimalSeparator('\0');
    MainWindowTest::TearDown();
  }
};

TEST_F(GraphDataTest, TheGraphsMenuCopiesAndSavesTheRunAsTheLocaleReadsIt) {
  TVariavel* v = PlaceVariable(Part("bVarContinua"), 200, 200);
  ASSERT_NE(v, nullptr);
  v->SetLevel(0.25);
  v->SelfChangeRate = 0.0001;
  fEditor->bRelogioClick();
  fEditor->bPlayClick();
  for (int i = 0; i < 3; ++i) fEditor->RelogioTimer();
  fEditor->SpeedButton2Click();

  QStringList titles;
  QTimer::singleShot(0, [&titles] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions()) titles << a->text();
    menu->close();
  });
  emit Part<TCanvasView>("iGrafico")->customContextMenuRequested(QPoint(5, 5));
  EXPECT_EQ(titles, QStringList({"Copiar dados", "Salvar dados como...",
                                 "Salvar gráfico como imagem..."}));

  PinDecimalSeparator(',');
  CopyGraphData(*fEditor);
  const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 5) << "a title line, the start and three ticks";
  EXPECT_EQ(lines[0], "segundos\tNome");
  EXPECT_EQ(lines[1], "0\t0,25");
  EXPECT_TRUE(lines[4].startsWith("3\t0,2") && lines[4] != "3\t0,25")
      << "decaying: " << lines[4].toStdString();

  QTemporaryDir dir;
  const QString csv = dir.filePath("dados.csv");
  SaveGraphDataTo(*fEditor, csv);
  QFile saved(csv);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(saved.readAll()), QString(lines.join('\n') + '\n').replace('\t', ';'));

  const QString png = dir.filePath("grafico.png");
  SaveGraphPictureTo(*fEditor, png);
  EXPECT_EQ(QImage(png).size(), Part<TCanvasView>("iGrafico")->size());
}

TEST(PrintFit, TheWholeImageGoesOnThePageOnlyWhenAsked) {
  const struct {
    const char* name;
    QSize printed;
    bool fit;
    QRect placed;
  } cases[] = {
      {"off: top left, cut", {1600, 400}, false, {0, 0, 1600, 400}},
      {"fits: only centred", {400, 300}, true, {200, 350, 400, 300}},
      {"too wide", {1600, 400}, true, {0, 400, 800, 200}},
      {"too tall", {400, 2000}, true, {300, 0, 200, 1000}},
      {"both, width binds", {2400, 1500}, true, {0, 250, 800, 500}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PlaceOnPage(c.printed, QSize(800, 1000), c.fit), c.placed) << c.name;
}

TEST(HelpGuide, TheGuideBesideTheProgramComesFirst) {
  QTemporaryDir root;
  const QString program = root.filePath("usr/bin");
  const QStringList candidates = GuideCandidates(program);
  ASSERT_EQ(candidates.size(), 2);
  EXPECT_EQ(candidates[0], root.filePath("usr/share/doc/korvel/guia/index.html"));
  EXPECT_EQ(FindGuide({candidates[0]}), QString()) << "nothing there yet";
  ASSERT_TRUE(QDir().mkpath(root.filePath("usr/share/doc/korvel/guia")));
  QFile page(candidates[0]);
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.close();
  EXPECT_EQ(FindGuide(candidates), candidates[0]);
}

}  // namespace
