#include "document/ModelText.h"
#include "document/uEditor.h"
#include "ui/Fconfirm.h"
#include "ui/Ieditor.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QToolButton>

namespace {

const QString kModelFilter = QStringLiteral("Arquivos WKorvel (*.KRL)");
const QString kAllFilesFilter = QStringLiteral("Todos os arquivos (*.*)");

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

/// Qt's own dialog rather than the desktop's: it speaks Portuguese through
/// Qt's translation on every desktop, and it behaves the same everywhere.
QFileDialog* MakeFileDialog(QWidget* parent, QFileDialog::AcceptMode mode) {
  auto* dialog = new QFileDialog(parent);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setAcceptMode(mode);
  dialog->setDefaultSuffix(QStringLiteral("KRL"));
  return dialog;
}

}  // namespace

QFileDialog& TfEditor::OpenDialog() {
  if (Abrir) return *Abrir;
  Abrir = MakeFileDialog(this, QFileDialog::AcceptOpen);
  Abrir->setObjectName(QStringLiteral("Abrir"));
  Abrir->setWindowTitle(QStringLiteral("Abrir"));
  Abrir->setFileMode(QFileDialog::ExistingFile);
  Abrir->setNameFilters({kModelFilter, kAllFilesFilter});
  // "*.*" means every file where the filter comes from, also one without a dot.
  connect(Abrir, &QFileDialog::filterSelected, this, [this](const QString& filter) {
    if (filter != kAllFilesFilter) return;
    if (auto* files = Abrir->findChild<QFileSystemModel*>())
      files->setNameFilters({QStringLiteral("*")});
  });
  return *Abrir;
}

QFileDialog& TfEditor::SaveDialog() {
  if (Gravar) return *Gravar;
  Gravar = MakeFileDialog(this, QFileDialog::AcceptSave);
  Gravar->setObjectName(QStringLiteral("Gravar"));
  Gravar->setFileMode(QFileDialog::AnyFile);
  Gravar->setNameFilters({kModelFilter});
  // Saving onto an existing file replaces it without a question.
  Gravar->setOption(QFileDialog::DontConfirmOverwrite);
  return *Gravar;
}

bool TfEditor::SaveThroughDialog(QString& chosen) {
  QFileDialog& dialog = SaveDialog();
  dialog.selectFile(CurrentFileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  chosen = dialog.selectedFiles().constFirst();
  SaveModelTo(chosen);
  return true;
}

void TfEditor::SaveModelTo(const QString& path) {
  const bool wasModified = Document->Modified;
  Document->SaveToLines(MemoArquivo);
  try {
    WriteModelFile(LocalPath(path), MemoArquivo);
  } catch (...) {
    // The model is not on disk: the save question must still come.
    Document->Modified = wasModified;
    throw;
  }
}

void TfEditor::AdoptFileName(const QString& path) {
  CurrentFileName = path;
  SetCaption(QStringLiteral("Korvel - ") + path);
}

bool TfEditor::AskToSave() {
  if (!Document->Modified) return true;
  switch (fConfirma->Ask()) {
    case TfConfirma::Cancelar:
      return false;
    case TfConfirma::Nao:
      return true;
    case TfConfirma::Sim: {
      QString chosen;
      if (!SaveThroughDialog(chosen)) return false;
      // Named, but the caption stays until the command that asked goes on.
      CurrentFileName = chosen;
      return true;
    }
  }
  return false;
}

void TfEditor::bNovoClick() {
  if (!AskToSave()) return;
  CurrentFileName.clear();
  OpenDialogFileName.clear();
  SetCaption(kUntitledCaption);
  NewModelSettings();
  Document->Clear();
  bReinicializar->setEnabled(false);
  RefreshCanvases();
}

void TfEditor::NewModelSettings() {
  SetElapsedTicks(0);
  SetClockText("0");
  SetTimerInterval(100);
  SetUnitsText("segundos");
  SetMethodCode(1);
  SetMethodChecks(true, false);
  Document->SetIntegrationMethod(1);
}

void TfEditor::bAbrirClick() {
  if (!AskToSave()) return;
  OpenDialogFileName.clear();
  QFileDialog& dialog = OpenDialog();
  dialog.selectFile(OpenDialogFileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  OpenDialogFileName = dialog.selectedFiles().constFirst();
  OpenModelFile(OpenDialogFileName);
}

void TfEditor::OpenModelFile(const QString& path) {
  SetGraphPanelHeight(kGraphPanelHeight);
  // Read first: a file that can't be read changes nothing at all.
  MemoArquivo = ReadModelFile(LocalPath(path));
  const QString previousFileName = CurrentFileName;
  const QString previousCaption = Caption();
  AdoptFileName(path);
  LoadOutcome outcome;
  try {
    outcome = Document->LoadFromLines(MemoArquivo);
  } catch (...) {
    // What was read before the fault stays, unnamed, so that a later Save
    // can't write the fragment over the file it came from.
    CurrentFileName.clear();
    SetCaption(kUntitledCaption);
    bReinicializar->setEnabled(false);
    RefreshCanvases();
    throw;
  }
  // A refused header leaves the model in memory as it was, and so its name.
  if (outcome == LoadOutcome::HeaderRefused) {
    CurrentFileName = previousFileName;
    SetCaption(previousCaption);
  }
  bReinicializar->setEnabled(false);
  RefreshCanvases();
}

void TfEditor::bSalvarClick() {
  if (!CurrentFileName.isEmpty()) {
    SaveModelTo(CurrentFileName);
    return;
  }
  QString chosen;
  if (SaveThroughDialog(chosen)) AdoptFileName(chosen);
}

void TfEditor::SalvarComo1Click() {
  SpeedButton2Click();
  QString chosen;
  if (SaveThroughDialog(chosen)) AdoptFileName(chosen);
}

void TfEditor::Abrir1Click() { bNovoClick(); }

void TfEditor::Abrir2Click() { bAbrirClick(); }

void TfEditor::Gravar1Click() { bSalvarClick(); }

void TfEditor::Sair1Click() { close(); }

bool TfEditor::FormClose() {
  SpeedButton2Click();
  return AskToSave();
}

void TfEditor::closeEvent(QCloseEvent* event) {
  bool closes = false;
  // A save that fails shows its error and keeps the window open.
  RunShowingErrors([&] { closes = FormClose(); });
  if (closes) {
    event->accept();
  } else {
    event->ignore();
  }
}
