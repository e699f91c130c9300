#include "ui/GraphDataMenu.h"

#include "document/LevelCsv.h"
#include "document/uEditor.h"
#include "platform/AtomicFile.h"
#include "platform/RegionalSettings.h"
#include "ui/Ieditor.h"
#include "ui/ModelCanvasWidget.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QStandardPaths>

#include <stdexcept>

namespace {

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

/// The model's name with another extension, beside the model or, for a
/// model without a file, in the user's documents folder.
QString ProposedName(const TfEditor& window, const QString& suffix) {
  if (!window.CurrentFileName.isEmpty()) {
    const QFileInfo model(window.CurrentFileName);
    return model.dir().filePath(model.completeBaseName() + suffix);
  }
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
  return QDir(folder).filePath(QStringLiteral("SemNome") + suffix);
}

/// Qt's own save dialog, as the model's, asking before it replaces a file; the
/// chosen path, or empty when cancelled.
QString ChooseFileToWrite(TfEditor& window, const QString& title, const QString& filter,
                          const QString& suffix) {
  QFileDialog dialog(&window, title);
  dialog.setObjectName(QStringLiteral("SalvarDados"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(filter);
  dialog.setDefaultSuffix(suffix.mid(1));
  dialog.selectFile(ProposedName(window, suffix));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

void CopyGraphData(TfEditor& window) {
  const std::string text = window.Document->RunDataText(TabStyleFor(DecimalSeparator()));
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void SaveGraphDataTo(TfEditor& window, const QString& path) {
  WriteFileAtomically(LocalPath(path),
                      window.Document->RunDataText(CsvStyleFor(DecimalSeparator())));
}

void SaveGraphPictureTo(TfEditor& window, const QString& path) {
  const RasterCanvas& graph = window.GraphCanvas;
  const QImage image(reinterpret_cast<const uchar*>(graph.Bits()), graph.Width(), graph.Height(),
                     qsizetype(graph.Width()) * 4, QImage::Format_RGB32);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (image.isNull() || !image.save(&buffer, "PNG"))
    throw std::runtime_error("Não foi possível fazer a imagem do gráfico.");
  WriteFileAtomically(LocalPath(path), std::string_view(bytes.constData(), bytes.size()));
}

void InstallGraphDataMenu(TfEditor& window, TCanvasView& graph) {
  graph.setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(&graph, &QWidget::customContextMenuRequested, &window,
                   [&window, &graph](const QPoint& at) {
    QMenu menu(&graph);
    menu.setObjectName(QStringLiteral("MenuGrafico"));
    QAction* copy = menu.addAction(QStringLiteral("Copiar dados"));
    QAction* saveData = menu.addAction(QStringLiteral("Salvar dados como..."));
    QAction* savePicture = menu.addAction(QStringLiteral("Salvar gráfico como imagem..."));
    QAction* chosen = menu.exec(graph.mapToGlobal(at));
    RunShowingErrors([&] {
      if (chosen == copy) {
        CopyGraphData(window);
      } else if (chosen == saveData) {
        const QString path = ChooseFileToWrite(window, QStringLiteral("Salvar dados como"),
                                               QStringLiteral("Tabelas CSV (*.csv)"),
                                               QStringLiteral(".csv"));
        if (!path.isEmpty()) SaveGraphDataTo(window, path);
      } else if (chosen == savePicture) {
        const QString path =
            ChooseFileToWrite(window, QStringLiteral("Salvar gráfico como imagem"),
                              QStringLiteral("Imagens PNG (*.png)"), QStringLiteral(".png"));
        if (!path.isEmpty()) SaveGraphPictureTo(window, path);
      }
    });
  });
}
