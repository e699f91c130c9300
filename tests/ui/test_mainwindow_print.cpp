#include "test_mainwindow_fixture.h"

#include "platform/RegionalSettings.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

struct Asked {
  bool seen = false;
  QString text;
  bool toolbarShown = true;
  QString header;
  QString date;
  QImage window;
};

/// The PDF's first page at the screen's resolution, so that a window pixel
/// is a page pixel.
QImage RenderPage(const QString& pdf) {
  const QString stem = pdf + QStringLiteral(".page");
  const int status = QProcess::execute(QStringLiteral("pdftoppm"),
                                       {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                                        QStringLiteral("-singlefile"), pdf, stem});
  EXPECT_EQ(status, 0) << "pdftoppm (poppler-utils) renders the page";
  return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

/// Share of the pixels of expected that the page shows at offset, within a
/// small difference of grey.
double Agreement(const QImage& page, const QImage& expected, QPoint offset) {
  long same = 0;
  long all = 0;
  for (int y = 0; y < expected.height(); ++y)
    for (int x = 0; x < expected.width(); ++x) {
      const QPoint at(x + offset.x(), y + offset.y());
      if (!page.rect().contains(at)) continue;
      ++all;
      if (std::abs(qGray(page.pixel(at)) - qGray(expected.pixel(x, y))) < 64) ++same;
    }
  return all == 0 ? 0.0 : double(same) / double(all);
}

class PrintTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ASSERT_TRUE(dir.isValid());
  }

  /// Answers "Pronto para imprimir?" and notes how the window looked behind it.
  static void AnswerReady(Asked& asked, QMessageBox::StandardButton button) {
    WhenModalOpens([&asked, button](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      asked = {true, box->text(), Part<QWidget>("pBarraOpcoes")->isVisible(), Part<QLabel>("lNomeImprimir")->text(),
               Part<QLabel>("lDataImprimir")->text(), fEditor->centralWidget()->grab().toImage()};
      box->button(button)->click();
    });
  }

  QPrinter& PdfPrinter(const QString& name) {
    QPrinter& printer = fEditor->CurrentPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(name));
    return printer;
  }

  QTemporaryDir dir;
};

}  // namespace

TEST(PrintScale, PrintedSizeIsTheScreenSizeAtThePrintersResolution) {
  struct Case {
    int pixels, printerDpi, screenDpi, dots;
  };
  const Case cases[] = {
      {800, 600, 96, 5000}, {3, 600, 96, 19}, {1, 600, 96, 6}, {1366, 1200, 96, 17075},
      {100, 96, 96, 100},   {0, 600, 96, 0},  {7, 300, 120, 18},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TfEditor::PrinterDots(c.pixels, c.printerDpi, c.screenDpi), c.dots)
        << c.pixels << " px at " << c.printerDpi << "/" << c.screenDpi;
}

TEST_F(PrintTest, PrintToAPdfFileShowsTheHeaderAndTheModelAsTheWindowDoes) {
  PlaceVariable(Part("bVarContinua"), 150, 150);
  PlaceVariable(Part("bVarLigaDesliga"), 350, 200);
  QPrinter& printer = PdfPrinter(QStringLiteral("pagina.pdf"));

  Asked asked;
  AnswerReady(asked, QMessageBox::Yes);
  fEditor->bImprimirClick();

  ASSERT_TRUE(asked.seen);
  EXPECT_EQ(asked.text, QStringLiteral("Pronto para imprimir?"));
  EXPECT_FALSE(asked.toolbarShown) << "the window is shown as it will be printed";
  EXPECT_EQ(asked.header, QStringLiteral("Korvel - SemNome.KRL"));
  EXPECT_EQ(asked.date, QStringLiteral("Data: ") + QString::fromStdString(ShortDateText()));
  EXPECT_TRUE(Part<QWidget>("pBarraOpcoes")->isVisible()) << "the toolbar comes back";
  EXPECT_FALSE(Part<QLabel>("lNomeImprimir")->isVisible());

  QFile pdf(printer.outputFileName());
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_FALSE(pdf.readAll().contains("/DCTDecode")) << "the window image is kept lossless, not as a JPEG";
  const QImage page = RenderPage(printer.outputFileName());
  if (qEnvironmentVariableIsSet("KORVEL_KEEP_PAGE")) page.save(qEnvironmentVariable("KORVEL_KEEP_PAGE"));
  ASSERT_FALSE(page.isNull());
  const QPoint printable =
      printer.pageLayout().paintRectPixels(96).topLeft();
  EXPECT_GT(Agreement(page, asked.window, printable), 0.99)
      << "the page holds the window image at its physical size";
  // Both header lines and the gauges, not just white paper.
  const QImage& w = asked.window;
  EXPECT_GT(DarkPixels(w, QRect(w.width() / 2 - 100, 0, 200, 19)), 30) << "first header line";
  EXPECT_GT(DarkPixels(w, QRect(w.width() / 2 - 100, 19, 200, 16)), 20) << "second header line";
  EXPECT_GT(DarkPixels(w, QRect(120, 100, 60, 90)), 50) << "a gauge, 31 pixels higher than on screen";
  EXPECT_GT(DarkPixels(page, QRect(printable + QPoint(120, 100), QSize(60, 90))), 50);
}

TEST_F(PrintTest, AnsweringNoPrintsNothingAndRestoresTheToolbar) {
  QPrinter& printer = PdfPrinter(QStringLiteral("nada.pdf"));
  Asked asked;
  AnswerReady(asked, QMessageBox::No);
  fEditor->bImprimirClick();
  EXPECT_TRUE(asked.seen);
  EXPECT_FALSE(QFile::exists(printer.outputFileName()));
  EXPECT_TRUE(Part<QWidget>("pBarraOpcoes")->isVisible());
  EXPECT_FALSE(Part<QLabel>("lDataImprimir")->isVisible());
}

TEST_F(PrintTest, PrintWithoutAPrinterSaysSoAndChangesNothing) {
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
  QString shown;
  WhenModalOpens([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_TRUE(Part<QWidget>("pBarraOpcoes")->isVisible());
    shown = box->text();
    box->accept();
  });
  QTest::mouseClick(Part("bImprimir"), Qt::LeftButton);
  EXPECT_TRUE(shown.startsWith(QStringLiteral("Nenhuma impressora"))) << shown.toStdString();
  EXPECT_TRUE(Part<QWidget>("pBarraOpcoes")->isVisible());
}

TEST_F(PrintTest, PrintDialogProposesAPdfInTheDocumentsFolderAndPrintsThere) {
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", dir.path().toLocal8Bit());
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Documents")));
  fEditor->CommandLine = {QStringLiteral(KORVEL_TEST_DATA "/example-point.KRL")};
  fEditor->FormActivate();
  fEditor->bPlayClick();

  QString proposed;
  Asked asked;
  WhenModalOpens([&](QWidget* modal) {
    auto* dialog = qobject_cast<QPrintDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Doc().RunState, RunState::Stopped) << "the animation stops first";
    proposed = fEditor->CurrentPrinter().outputFileName();
    AnswerReady(asked, QMessageBox::Yes);
    dialog->accept();
  });
  fEditor->Imprimir1Click();
  qputenv("HOME", home);

  EXPECT_EQ(proposed, dir.filePath(QStringLiteral("Documents/example-point.pdf")));
  EXPECT_TRUE(asked.seen);
  EXPECT_TRUE(QFile::exists(proposed));
  EXPECT_EQ(asked.header, QStringLiteral("Korvel - " KORVEL_TEST_DATA "/example-point.KRL"));
}
