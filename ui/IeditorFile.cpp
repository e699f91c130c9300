#include "document/ModelText.h"
#include "document/uEditor.h"
#include "ui/Fconfirm.h"
#include "ui/Ieditor.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QToolButton>

#include <memory>

namespace {

const QString kModelFilter = QStringLiteral("Arquivos WKorvel (*.KRL)");
const QString kAllFilesFilter = QStringLiteral("Todos os arquivos (*.*)");

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

/// Qt's own dialog rather than the desktop's: it speaks Portuguese through
/// Qt's translation on every desktop, and it behaves the same everywhere.
/// Used once: a used dialog would offer the name typed into it before, and
/// after Enter its name-completion popup would stay over the window and take
/// the next click.
std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* parent, QFileDialog::AcceptMode mode,
                                            const char* name, const QString& folder) {
  auto dialog = std::make_unique<QFileDialog>(parent);
  dialog->setObjectName(QLatin1String(name));
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setAcceptMode(mode);
  dialog->setDefaultSuffix(QStringLiteral("KRL"));
  if (!folder.isEmpty()) dialog->setDirectory(folder);
  return dialog;
}

/// Shows the dialog; the chosen path, or empty. folder keeps where it was left.
QString ChosenFile(QFileDialog& dialog, QString& folder) {
  const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  folder = dialog.directory().absolutePath();
  return accepted ? dialog.selectedFiles().constFirst() : QString();
}

}  // namespace

QString TfEditor::ChooseFileToOpen() {
  const auto dialog = MakeFileDialog(this, QFileDialog::AcceptOpen, "Abrir", openFolder_);
  dialog->setWindowTitle(QStringLiteral("Abrir"));
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setNameFilters({kModelFilter, kAllFilesFilter});
  // "*.*" means every file where the filter comes from, also one without a dot.
  QFileDialog* shown = dialog.get();
  connect(shown, &QFileDialog::filterSelected, shown, [shown](const QString& filter) {
    if (filter != kAllFilesFilter) return;
    if (auto* files = shown->findChild<QFileSystemModel*>())
      files->setNameFilters({QStringLiteral("*")});
  });
  return ChosenFile(*dialog, openFolder_);
}

QString TfEditor::ChooseFileToSave() {
  const auto dialog = MakeFileDialog(this, QFileDialog::AcceptSave, "Gravar", saveFolder_);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setNameFilters({kModelFilter});
  // Saving onto an existing file replaces it without a question.
  dialog->setOption(QFileDialog::DontConfirmOverwrite);
  if (!CurrentFileName.isEmpty()) dialog->selectFile(CurrentFileName);
  return ChosenFile(*dialog, saveFolder_);
}

bool TfEditor::SaveThroughDialog(QString& chosen) {
  chosen = ChooseFileToSave();
  if (chosen.isEmpty()) return false;
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
      // Named, and the caption says so also when the command then stops short.
      AdoptFileName(chosen);
      return true;
    }
  }
  return false;
}

void TfEditor::bNovoClick() {
  // An animation running on would integrate the new model from its own values.
  SpeedButton2Click();
  if (!AskToSave()) return;
  CurrentFileName.clear();
  OpenDialogFileName.clear();
  SetCaption(kUntitledCaption);
  NewModelSettings();
  Document->Clear();
  Document->ForgetHistory();
  // The curves belong to the model that drew them.
  Document->ResetGraph();
  Document->RestartRunData();
  bReinicializar->setEnabled(false);
  RefreshCanvases();
}

void TfEditor::NewModelSettings() {
  SetElapsedTicks(0);
  SetClockText("0");
  SetTimerInterval(100);
  SetUnitsText("segundos");
  Document->ChooseMethod(MethodCode::Euler);
}

void TfEditor::bAbrirClick() {
  // An animation running on would integrate the opened model from zero
  // inner values instead of its file's levels.
  SpeedButton2Click();
  if (!AskToSave()) return;
  OpenDialogFileName = ChooseFileToOpen();
  if (OpenDialogFileName.isEmpty()) return;
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
    Document->ForgetHistory();
    // What was read before the fault stays, unnamed, so that a later Save
    // can't write the fragment over the file it came from.
    CurrentFileName.clear();
    SetCaption(kUntitledCaption);
    Document->ResetGraph();
    Document->RestartRunData();
    bReinicializar->setEnabled(false);
    RefreshCanvases();
    throw;
  }
  // A refused header leaves the model in memory as it was, and so its name
  // and its graph.
  if (outcome == LoadOutcome::HeaderRefused) {
    CurrentFileName = previousFileName;
    SetCaption(previousCaption);
  } else {
    Document->ResetGraph();
    Document->ForgetHistory();
    Document->RestartRunData();
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
