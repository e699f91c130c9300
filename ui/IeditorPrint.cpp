#include "document/uEditor.h"
#include "platform/RegionalSettings.h"
#include "ui/Ieditor.h"
#include "ui/ModelCanvasWidget.h"
#include "ui/PageFit.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <cstdint>
#include <stdexcept>
#include <utility>

namespace {

/// Runs a function when the scope ends, however it ends.
template <class F>
class OnExit {
public:
  explicit OnExit(F f) : f_(std::move(f)) {}
  OnExit(const OnExit&) = delete;
  OnExit& operator=(const OnExit&) = delete;
  ~OnExit() { f_(); }

private:
  F f_;
};

bool PrintsToFile(const QPrinter& printer) {
  return printer.outputFormat() == QPrinter::PdfFormat;
}

/// The PDF file or the printer the page goes to.
std::string DestinationName(const QPrinter& printer) {
  return (PrintsToFile(printer) ? printer.outputFileName() : printer.printerName()).toStdString();
}

/// A file chosen in the print dialog, or an installed printer. Without a
/// print server Qt makes every printer a PDF printer with no file name.
bool HasDestination(const QPrinter& printer) {
  if (PrintsToFile(printer)) return !printer.outputFileName().isEmpty();
  return !QPrinterInfo::availablePrinterNames().isEmpty();
}

/// The PDF the print dialog proposes: the model's name in the user's documents
/// folder, never a folder, which the page could not be written to.
QString ProposedPdfName(const QString& modelFile) {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
  const QString name =
      modelFile.isEmpty() ? QStringLiteral("SemNome") : QFileInfo(modelFile).completeBaseName();
  return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

}  // namespace

QPrinter& TfEditor::CurrentPrinter() {
  if (!Printer) Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *Printer;
}

int TfEditor::PrinterDots(int pixels, int printerDpi, int screenDpi) {
  if (screenDpi <= 0) return pixels;
  const std::int64_t product = std::int64_t{pixels} * printerDpi;
  const std::int64_t half = screenDpi / 2;
  return static_cast<int>((product >= 0 ? product + half : product - half) / screenDpi);
}

void TfEditor::ShowPrintLayout(bool printing) {
  pBarraOpcoes->setVisible(!printing);
  // The page shows the window as it is without the projector view.
  if (printing) zoomBeforePrint_ = iModelo->Zoom();
  SetZoom(printing ? 100 : zoomBeforePrint_);
  for (QLabel* header : {lNomeImprimir, lDataImprimir}) {
    header->setVisible(printing);
    if (printing) header->raise();
  }
}

void TfEditor::bImprimirClick() {
  QPrinter& printer = CurrentPrinter();
  // Nothing to print on: say so before the window changes at all.
  if (!HasDestination(printer))
    throw std::runtime_error(
        "Nenhuma impressora está instalada neste computador. Para gerar um arquivo PDF, "
        "use \"Imprimir...\" no menu Arquivo e escolha a impressão em arquivo.");

  lNomeImprimir->setText(Caption());
  lDataImprimir->setText(QStringLiteral("Data: ") + QString::fromStdString(ShortDateText()));
  for (QLabel* header : {lNomeImprimir, lDataImprimir})
    header->resize(centralWidget()->width(), header->height());

  ShowPrintLayout(true);
  // The toolbar comes back also when the printer fails.
  const OnExit restore([this] { ShowPrintLayout(false); });

  const auto answer = QMessageBox::information(this, QStringLiteral("WKorvel"),
                                               QStringLiteral("Pronto para imprimir?"),
                                               QMessageBox::Yes | QMessageBox::No);
  if (answer == QMessageBox::Yes) PrintWindowImage();
}

void TfEditor::PrintWindowImage() {
  QWidget& client = *centralWidget();
  // Laid out as it will be printed, then the model redrawn into its buffer.
  client.layout()->activate();
  Document->Paint();
  QImage image(client.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  client.render(&image);

  QPrinter& printer = CurrentPrinter();
  const int screenDpiX = screen() ? qRound(screen()->logicalDotsPerInchX()) : 96;
  const int screenDpiY = screen() ? qRound(screen()->logicalDotsPerInchY()) : 96;
  const QSize printed(PrinterDots(image.width(), printer.logicalDpiX(), screenDpiX),
                      PrinterDots(image.height(), printer.logicalDpiY(), screenDpiY));
  const QRect target = PlaceOnPage(printed, QSize(printer.width(), printer.height()), FitToPage);

  QPainter painter;
  if (!painter.begin(&printer)) {
    if (PrintsToFile(printer))
      throw std::runtime_error("Não foi possível gravar a página no arquivo \"" +
                               DestinationName(printer) +
                               "\". Verifique a pasta e o nome escolhidos.");
    throw std::runtime_error("A impressora \"" + DestinationName(printer) +
                             "\" não aceitou a impressão.");
  }
  // Each screen pixel becomes a block of printer dots: lines keep their
  // proportions, so the page looks like the window. Qt's PDF engine, which
  // also feeds the print server, would otherwise store the image as a JPEG
  // and give lines and letters grey halos.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setRenderHint(QPainter::LosslessImageRendering, true);
  painter.drawImage(target, image);
  if (!painter.end())
    throw std::runtime_error("Não foi possível concluir a impressão em \"" + DestinationName(printer) +
                             "\".");
}

void TfEditor::Imprimir1Click() {
  SpeedButton2Click();
  QPrinter& printer = CurrentPrinter();
  // Without a print server Qt offers only printing to a file, and would
  // propose a folder as its name.
  const QString proposed = printer.outputFileName();
  if (PrintsToFile(printer) && (proposed.isEmpty() || QFileInfo(proposed).isDir()))
    printer.setOutputFileName(ProposedPdfName(CurrentFileName));
  QPrintDialog dialog(&printer, this);
  dialog.setObjectName(QStringLiteral("Imprimir"));
  auto* pageTab = new QWidget(&dialog);
  pageTab->setWindowTitle(QStringLiteral("Página"));
  auto* fit = new QCheckBox(QStringLiteral("Ajustar à página"), pageTab);
  fit->setObjectName(QStringLiteral("cbAjustarPagina"));
  fit->setChecked(FitToPage);
  auto* column = new QVBoxLayout(pageTab);
  column->addWidget(fit);
  column->addStretch(1);
  dialog.setOptionTabs({pageTab});
  if (dialog.exec() != QDialog::Accepted) return;
  FitToPage = fit->isChecked();
  bImprimirClick();
}
