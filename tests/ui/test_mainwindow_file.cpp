#include "test_mainwindow_fixture.h"

#include "document/ModelText.h"
#include "ui/Fconfirm.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <csignal>
#include <deque>
#include <filesystem>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const QString kExample = QStringLiteral(KORVEL_TEST_DATA "/example-point.KRL");

using Answer = std::function<void(QWidget*)>;

/// Answers the modal windows that open, one answer each, in order; a modal
/// window that comes when no answer is left is a failure and is closed.
class ModalScript {
public:
  explicit ModalScript(std::deque<Answer> answers) : answers_(std::move(answers)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }
  ~ModalScript() { EXPECT_TRUE(answers_.empty()) << answers_.size() << " modal windows never came"; }

private:
  void Poll() {
    // An answer that waits runs the event loop, and with it this timer.
    if (answering_) return;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected modal window " << modal->metaObject()->className() << " "
                    << modal->windowTitle().toStdString();
      modal->close();
      return;
    }
    const Answer answer = std::move(answers_.front());
    answers_.pop_front();
    answering_ = true;
    answer(modal);
    answering_ = false;
  }

  std::deque<Answer> answers_;
  bool answering_ = false;
  QTimer timer_;
};

Answer Say(TfConfirma::Answer answer) {
  return [answer](QWidget* modal) {
    ASSERT_EQ(modal, fConfirma);
    EXPECT_EQ(fConfirma->windowTitle(), QStringLiteral("Confirme:"));
    switch (answer) {
      case TfConfirma::Sim: fConfirma->btnSim->click(); break;
      case TfConfirma::Nao: fConfirma->btnNao->click(); break;
      case TfConfirma::Cancelar: fConfirma->close(); break;  // the title-bar button
    }
  };
}

/// Types a name into a file dialog's name box and accepts it.
Answer Choose(const QString& path) {
  return [path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
    // A file picked in the listing would win over the typed name.
    for (auto* view : dialog->findChildren<QAbstractItemView*>()) view->clearSelection();
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(path);
    static_cast<QDialog*>(dialog)->accept();
    EXPECT_FALSE(dialog->isVisible()) << "the dialog took " << path.toStdString();
  };
}

Answer Cancel() {
  return [](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); };
}

/// Closes a message box, keeping its text.
Answer Read(QString& text, QMessageBox::StandardButton button = QMessageBox::Ok) {
  return [&text, button](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr) << modal->metaObject()->className();
    text = box->text();
    box->button(button)->click();
  };
}

std::string Bytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

class FileCommandTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ASSERT_TRUE(dir.isValid());
  }

  QString In(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

  /// A changed, unnamed model of one variable.
  void ChangedModel() {
    PlaceVariable(Part("bVarContinua"), 150, 150);
    ASSERT_TRUE(Doc().Modified);
  }

  QTemporaryDir dir;
};

}  // namespace

TEST_F(FileCommandTest, SaveQuestionOfNewOpenAndClose) {
  enum class Command { New, Open, Close };
  enum class Outcome { Abandoned, SavedThenDone, DoneWithoutSaving };
  struct Case {
    const char* name;
    Command command;
    std::vector<TfConfirma::Answer> say;
    bool dialogAccepted;
    Outcome outcome;
  };
  const Case cases[] = {
      {"New, Cancelar", Command::New, {TfConfirma::Cancelar}, false, Outcome::Abandoned},
      {"New, Sim, dialog cancelled", Command::New, {TfConfirma::Sim}, false, Outcome::Abandoned},
      {"New, Sim, saved", Command::New, {TfConfirma::Sim}, true, Outcome::SavedThenDone},
      {"New, Nao", Command::New, {TfConfirma::Nao}, false, Outcome::DoneWithoutSaving},
      {"Open, Cancelar", Command::Open, {TfConfirma::Cancelar}, false, Outcome::Abandoned},
      {"Open, Sim, dialog cancelled", Command::Open, {TfConfirma::Sim}, false, Outcome::Abandoned},
      {"Open, Sim, saved", Command::Open, {TfConfirma::Sim}, true, Outcome::SavedThenDone},
      {"Open, Nao", Command::Open, {TfConfirma::Nao}, false, Outcome::DoneWithoutSaving},
      {"Close, Cancelar", Command::Close, {TfConfirma::Cancelar}, false, Outcome::Abandoned},
      {"Close, Sim, dialog cancelled", Command::Close, {TfConfirma::Sim}, false, Outcome::Abandoned},
      {"Close, Sim, saved", Command::Close, {TfConfirma::Sim}, true, Outcome::SavedThenDone},
      {"Close, Nao", Command::Close, {TfConfirma::Nao}, false, Outcome::DoneWithoutSaving},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    ChangedModel();
    fEditor->SetUnitsText("anos");
    const QString saved = In("salvo.KRL");
    QFile::remove(saved);

    std::deque<Answer> answers = {Say(c.say.front())};
    if (c.say.front() == TfConfirma::Sim) answers.push_back(c.dialogAccepted ? Choose(saved) : Cancel());
    const bool goesOn = c.outcome != Outcome::Abandoned;
    if (c.command == Command::Open && goesOn) answers.push_back(Choose(kExample));
    {
      ModalScript script(std::move(answers));
      switch (c.command) {
        case Command::New: Part<QAction>("Abrir1")->trigger(); break;
        case Command::Open: Part<QAction>("Abrir2")->trigger(); break;
        case Command::Close: Part<QAction>("Sair1")->trigger(); break;
      }
    }

    EXPECT_EQ(QFile::exists(saved), c.outcome == Outcome::SavedThenDone);
    if (c.outcome == Outcome::SavedThenDone) {
      EXPECT_TRUE(Bytes(saved).ends_with("FIM\r\n"));
    }
    EXPECT_EQ(fEditor->isVisible(), !(c.command == Command::Close && goesOn));
    if (!goesOn) {
      EXPECT_EQ(Doc().Variables.size(), 1u);
      EXPECT_TRUE(Doc().Modified);
      EXPECT_EQ(fEditor->Caption(), QStringLiteral("Korvel - SemNome.KRL"));
      EXPECT_EQ(fEditor->UnitsText(), "anos");
      EXPECT_TRUE(fEditor->CurrentFileName.isEmpty());
    } else if (c.command == Command::New) {
      EXPECT_TRUE(Doc().Variables.empty());
      EXPECT_EQ(fEditor->UnitsText(), "segundos");
      EXPECT_TRUE(fEditor->CurrentFileName.isEmpty()) << "New makes even a just-saved model unnamed";
    } else if (c.command == Command::Open) {
      EXPECT_EQ(Doc().Variables.size(), 2u);
      EXPECT_EQ(fEditor->Caption(), QStringLiteral("Korvel - ") + kExample);
      EXPECT_EQ(fEditor->CurrentFileName, kExample);
    }
  }
}

TEST_F(FileCommandTest, OpenCancelledAfterTheQuestionKeepsTheModel) {
  struct Case {
    const char* name;
    TfConfirma::Answer say;
    bool modifiedAfter;
  };
  for (const Case& c : {Case{"Nao", TfConfirma::Nao, true}, Case{"Sim, saved", TfConfirma::Sim, false}}) {
    SCOPED_TRACE(c.name);
    DiscardModel();
    ChangedModel();
    std::deque<Answer> answers = {Say(c.say)};
    if (c.say == TfConfirma::Sim) answers.push_back(Choose(In("antes.KRL")));
    answers.push_back(Cancel());
    {
      ModalScript script(std::move(answers));
      fEditor->bAbrirClick();
    }
    EXPECT_EQ(Doc().Variables.size(), 1u);
    EXPECT_EQ(Doc().Modified, c.modifiedAfter);
    const QString named = c.say == TfConfirma::Sim ? QStringLiteral("Korvel - ") + In("antes.KRL") : kUntitledCaption;
    EXPECT_EQ(fEditor->Caption(), named) << "the caption names the file that Save writes";
  }
}

TEST_F(FileCommandTest, SaveUnnamedAsksOnceThenWritesSilently) {
  ChangedModel();
  const QString path = In("modelo.KRL");
  {
    ModalScript script({Choose(path)});
    fEditor->bSalvarClick();
  }
  EXPECT_EQ(fEditor->Caption(), QStringLiteral("Korvel - ") + path);
  EXPECT_FALSE(Doc().Modified);
  const std::string first = Bytes(path);
  EXPECT_TRUE(first.starts_with("KORVEL - VERSAO 1.0\r\n"));
  EXPECT_TRUE(first.ends_with("\r\nFIM\r\n"));

  PlaceVariable(Part("bVarContinua"), 300, 150);
  {
    ModalScript noDialog({});
    Part<QAction>("Gravar1")->trigger();
  }
  EXPECT_GT(Bytes(path).size(), first.size());
  EXPECT_FALSE(Doc().Modified);

  // From the menu, Save keeps a running animation running.
  fEditor->bPlayClick();
  Part<QAction>("Gravar1")->trigger();
  EXPECT_EQ(Doc().RunState, RunState::Running);
  EXPECT_FALSE(Doc().Modified);
  fEditor->RelogioTimer();
  EXPECT_TRUE(Doc().Modified) << "the levels move on past what was saved";
}

TEST_F(FileCommandTest, NewAndOpenFromTheMenuStopTheAnimationAndClearItsGraph) {
  for (const bool open : {false, true}) {
    SCOPED_TRACE(open ? "Abrir" : "Novo");
    fEditor->OpenModelFile(kExample);
    const std::vector<std::uint32_t> blankGraph = fEditor->GraphCanvas.Snapshot();
    fEditor->bPlayClick();
    for (int i = 0; i < 5; ++i) fEditor->RelogioTimer();
    ASSERT_NE(fEditor->GraphCanvas.Snapshot(), blankGraph);
    {
      ModalScript script(open ? std::deque<Answer>{Say(TfConfirma::Nao), Choose(kExample)}
                              : std::deque<Answer>{Say(TfConfirma::Nao)});
      (open ? Part<QAction>("Abrir2") : Part<QAction>("Abrir1"))->trigger();
    }
    fEditor->RelogioTimer();
    EXPECT_EQ(Doc().RunState, RunState::Stopped);
    EXPECT_FALSE(Doc().Modified) << "opened or new, the model agrees with its file";
    EXPECT_EQ(fEditor->GraphCanvas.Snapshot(), blankGraph);
    EXPECT_EQ(open ? Doc().Variables.front()->Level : 0.5L, 0.5L) << "the file's level, not zero";
  }
}

TEST_F(FileCommandTest, SaveAsNamesTheModelAndANameWithoutExtensionGetsKRL) {
  ChangedModel();
  {
    ModalScript script({Choose(In("primeiro"))});
    Part<QAction>("SalvarComo1")->trigger();
  }
  EXPECT_TRUE(QFile::exists(In("primeiro.KRL")));
  EXPECT_EQ(fEditor->CurrentFileName, In("primeiro.KRL"));
  EXPECT_EQ(fEditor->Caption(), QStringLiteral("Korvel - ") + In("primeiro.KRL"));

  // The dialog offers the current name; another one replaces it.
  QString offered;
  {
    ModalScript script({[&](QWidget* modal) {
      offered = qobject_cast<QFileDialog*>(modal)->selectedFiles().value(0);
      Choose(In("segundo.KRL"))(modal);
    }});
    fEditor->SalvarComo1Click();
  }
  EXPECT_EQ(offered, In("primeiro.KRL"));
  EXPECT_EQ(fEditor->CurrentFileName, In("segundo.KRL"));
  EXPECT_EQ(Bytes(In("primeiro.KRL")), Bytes(In("segundo.KRL")));

  // Onto an existing file, without a question.
  {
    ModalScript script({Choose(In("primeiro.KRL"))});
    fEditor->SalvarComo1Click();
  }
  EXPECT_EQ(fEditor->CurrentFileName, In("primeiro.KRL"));
}

TEST_F(FileCommandTest, OpenDialogTakesANameWithoutExtensionAndLoneLineFeeds) {
  std::string text = Bytes(kExample);
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  QFile lf(In("exemplo.KRL"));
  ASSERT_TRUE(lf.open(QIODevice::WriteOnly));
  lf.write(text.data(), qint64(text.size()));
  lf.close();

  QString title, offered;
  QStringList filters;
  for (int use = 0; use < 2; ++use) {
    ModalScript script({[&](QWidget* modal) {
      title = modal->windowTitle();
      filters = qobject_cast<QFileDialog*>(modal)->nameFilters();
      offered = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
      Choose(In("exemplo"))(modal);
    }});
    Part<QAction>("Abrir2")->trigger();
  }
  EXPECT_TRUE(offered.isEmpty()) << "the name typed at the last opening: " << offered.toStdString();
  EXPECT_TRUE(fEditor->findChildren<QFileDialog*>().isEmpty()) << "kept, it keeps its completion popup";
  EXPECT_EQ(title, QStringLiteral("Abrir"));
  EXPECT_EQ(filters,
            QStringList({QStringLiteral("Arquivos WKorvel (*.KRL)"), QStringLiteral("Todos os arquivos (*.*)")}));
  EXPECT_EQ(fEditor->CurrentFileName, In("exemplo.KRL"));
  ASSERT_EQ(Doc().Variables.size(), 2u);
  EXPECT_EQ(Doc().Relationships.size(), 1u);
  EXPECT_FALSE(Part("bReinicializar")->isEnabled());
}

TEST_F(FileCommandTest, OpenThatFailsNeverLeavesTheFailedFileAsTheModelsName) {
  const QString named = In("nomeado.KRL");
  ASSERT_TRUE(QFile::copy(kExample, named));
  struct Case {
    const char* name;
    QString file;
    QString caption;
    QString fileName;
    std::size_t variables;
  };
  const Case cases[] = {
      {"unreadable", In("nao-existe.KRL"), QStringLiteral("Korvel - ") + named, named, 2},
      {"refused header", QStringLiteral(KORVEL_TEST_DATA "/header-lowercase.KRL"),
       QStringLiteral("Korvel - ") + named, named, 2},
      {"content error", QStringLiteral(KORVEL_TEST_DATA "/bad-real-level.KRL"),
       QStringLiteral("Korvel - SemNome.KRL"), QString(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fEditor->OpenModelFile(named);
    const std::string before = Bytes(c.file);
    QString shown;
    {
      ModalScript script({Read(shown)});
      RunShowingErrors([&] { fEditor->OpenModelFile(c.file); });
    }
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(fEditor->Caption(), c.caption);
    EXPECT_EQ(fEditor->CurrentFileName, c.fileName);
    EXPECT_EQ(Doc().Variables.size(), c.variables);
    if (c.fileName.isEmpty()) {
      // Save asks for a name instead of writing the fragment over the file.
      ModalScript script({Cancel()});
      fEditor->bSalvarClick();
    }
    EXPECT_EQ(Bytes(c.file), before);
  }
}

TEST_F(FileCommandTest, SaveWritesThroughALinkAndOntoADevice) {
  const QString real = In("real.KRL");
  ASSERT_TRUE(QFile::copy(kExample, real));
  const QString link = In("atalho.KRL");
  fs::create_symlink(real.toStdString(), link.toStdString());
  fEditor->OpenModelFile(link);
  PlaceVariable(Part("bVarContinua"), 400, 150);
  fEditor->bSalvarClick();
  EXPECT_TRUE(fs::is_symlink(link.toStdString()));
  EXPECT_EQ(ReadModelFile(real.toStdString()).size(), ReadModelFile(kExample.toStdString()).size() + 14);

  // Named with its extension, so that the dialog adds none and the save
  // reaches the device through the link instead of making a file beside it.
  const QString device = In("descarte.KRL");
  fs::create_symlink("/dev/null", device.toStdString());
  {
    ModalScript script({Choose(device)});
    fEditor->SalvarComo1Click();
  }
  struct stat st {};
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_TRUE(fs::is_symlink(device.toStdString()));
  EXPECT_FALSE(fs::exists(device.toStdString() + ".KRL"));
}

TEST_F(FileCommandTest, SaveThatFailsKeepsTheOldFileAndTheModifiedMark) {
  const QString path = In("modelo.KRL");
  ASSERT_TRUE(QFile::copy(kExample, path));
  fEditor->OpenModelFile(path);
  PlaceVariable(Part("bVarContinua"), 400, 150);
  const std::string before = Bytes(path);

  // A file size limit cuts the write short even for root; the child process
  // keeps the limit away from the rest of the tests.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{64, 64};
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool threw = false;
    try {
      fEditor->bSalvarClick();
    } catch (const std::exception& e) {
      threw = std::string(e.what()).ends_with("arquivo grande demais");
    }
    ::_exit(threw && Doc().Modified && Bytes(path) == before ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;

  if (::geteuid() != 0) {
    // A writable file is saved in place even in a read-only folder.
    ASSERT_EQ(::chmod(path.toLocal8Bit().constData(), 0444), 0);
    ASSERT_EQ(::chmod(dir.path().toLocal8Bit().constData(), 0555), 0);
    QString shown;
    {
      ModalScript script({Read(shown)});
      RunShowingErrors([] { fEditor->bSalvarClick(); });
    }
    ::chmod(dir.path().toLocal8Bit().constData(), 0755);
    ::chmod(path.toLocal8Bit().constData(), 0644);
    EXPECT_TRUE(shown.endsWith(QStringLiteral("permissão negada"))) << shown.toStdString();
    EXPECT_TRUE(Doc().Modified);
    EXPECT_EQ(Bytes(path), before);
  }

  // Closing: the question, a name in a folder that doesn't exist, the error
  // box; the window stays open.
  QString shown;
  {
    ModalScript script({Say(TfConfirma::Sim), Choose(In("nao-existe/modelo.KRL")), Read(shown)});
    fEditor->close();
  }
  EXPECT_TRUE(shown.contains(QStringLiteral("arquivo ou pasta inexistente"))) << shown.toStdString();
  EXPECT_TRUE(fEditor->isVisible());
  EXPECT_TRUE(Doc().Modified);
  EXPECT_EQ(fEditor->CurrentFileName, path);
}
