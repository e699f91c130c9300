#include "test_mainwindow_fixture.h"

#include "ui/Frel.h"
#include "ui/Fvar.h"
#include "ui/Fveloc.h"
#include "ui/fSobre.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QWindow>

#include <new>
#include <stdexcept>
#include <string>
#include <tuple>

namespace {

/// What an error box showed.
struct ShownBox {
  bool seen = false;
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

void RecordAndClose(QWidget* modal, ShownBox& shown) {
  auto* box = qobject_cast<QMessageBox*>(modal);
  ASSERT_NE(box, nullptr);
  shown = {true, box->windowTitle(), box->text(), box->icon()};
  box->accept();
}

const QString kExample = QStringLiteral(KORVEL_TEST_DATA "/example-point.KRL");

}  // namespace

TEST_F(MainWindowTest, DoubleClickOnAVariableEditsItAndOkChangesItsClass) {
  PlaceVariable(Part("bVarContinua"), 150, 150);
  TVariavel* other = PlaceVariable(Part("bVarContinua"), 350, 150);
  Link(Part("bRelacionamentoTaxa"), 150, 150, other->X, other->Y);

  QString shownName;
  WhenModalOpens([&](QWidget* modal) {
    ASSERT_EQ(modal, fVariavel);
    shownName = fVariavel->edtNome->text();
    fVariavel->edtNome->setText(QStringLiteral("População"));
    fVariavel->bLigaDesliga->click();
    fVariavel->bGrafico->setChecked(true);
    fVariavel->bOk->click();
  });
  DoubleClickCanvas(150, 150);

  EXPECT_EQ(shownName, QStringLiteral("Nome"));
  EXPECT_EQ(Doc().Mode, Mode::modeSelect) << "the press of the double click resets the mode";
  ASSERT_EQ(Doc().Variables.size(), 2u);
  TVariavel* edited = Doc().Variables.back().get();
  EXPECT_NE(dynamic_cast<TVarLigaDesliga*>(edited), nullptr) << "replaced by an on-off variable";
  EXPECT_EQ(edited->Name, "População");
  EXPECT_TRUE(edited->PlotInGraph);
  EXPECT_EQ(edited->X, 150);
  EXPECT_EQ(Doc().CurrentObject, edited);
  ASSERT_EQ(Doc().Relationships.size(), 1u);
  EXPECT_EQ(Doc().Relationships.front()->Origin, edited) << "its relationship moved over";
}

TEST_F(MainWindowTest, CancelledVariableDialogChangesNothing) {
  TVariavel* v = PlaceVariable(Part("bVarContinua"), 150, 150);
  const std::vector<std::uint32_t> before = fEditor->ModelCanvas.Snapshot();
  WhenModalOpens([&](QWidget* modal) {
    ASSERT_EQ(modal, fVariavel);
    fVariavel->edtNome->setText(QStringLiteral("Outro"));
    fVariavel->bLigaDesliga->click();
    fVariavel->bCancelar->click();
  });
  DoubleClickCanvas(150, 150);
  ASSERT_EQ(Doc().Variables.size(), 1u);
  EXPECT_EQ(Doc().Variables.front().get(), v);
  EXPECT_EQ(v->Name, "Nome");
  EXPECT_EQ(dynamic_cast<TVarLigaDesliga*>(v), nullptr);
  ClickCanvas(500, 400);
  EXPECT_EQ(fEditor->ModelCanvas.Snapshot(), before);
}

TEST_F(MainWindowTest, DoubleClickOnARelationshipEditsItOnOkOnly) {
  TVariavel* a = PlaceVariable(Part("bVarContinua"), 100, 150);
  TVariavel* b = PlaceVariable(Part("bVarContinua"), 350, 150);
  Link(Part("bRelacionamentoTaxa"), a->X, a->Y, b->X, b->Y);
  TRelacionamento* r = Doc().Relationships.front().get();

  WhenModalOpens([&](QWidget* modal) {
    ASSERT_EQ(modal, fRelacionamento);
    EXPECT_TRUE(fRelacionamento->bTipo1->isChecked()) << "filled from the rate relationship";
    fRelacionamento->bOposta->click();
    fRelacionamento->bForte->click();
    fRelacionamento->bCancelar->click();
  });
  DoubleClickCanvas(r->X, r->Y);
  EXPECT_TRUE(r->SameDirection);
  EXPECT_EQ(r->Effect, 1.0);

  WhenModalOpens([&](QWidget* modal) {
    ASSERT_EQ(modal, fRelacionamento);
    fRelacionamento->bTipo2->click();
    fRelacionamento->bOposta->click();
    fRelacionamento->bForte->click();
    fRelacionamento->bOk->click();
  });
  DoubleClickCanvas(r->X, r->Y);
  EXPECT_EQ(r->Kind, RelationshipKind::Proportion);
  EXPECT_FALSE(r->SameDirection);
  EXPECT_EQ(r->Effect, 2.0);
  EXPECT_EQ(b->InputKind, RelationshipKind::Proportion);
}

TEST_F(MainWindowTest, CommandsMarkTheModelModifiedExactlyWhenTheyChangeWhatSaveWrites) {
  // The example: a gauge at (120, 90) linked to one at (260, 90) through a box at (190, 90).
  const std::vector<std::tuple<const char*, std::function<void()>, std::function<void()>, bool>> cases = {
      {"renamed", [] { fVariavel->edtNome->setText(QStringLiteral("Outro")); fVariavel->bOk->click(); }, [] { DoubleClickCanvas(120, 90); }, true},
      {"variable dialog, OK unchanged", [] { fVariavel->bOk->click(); }, [] { DoubleClickCanvas(120, 90); }, false},
      {"made opposite", [] { fRelacionamento->bOposta->click(); fRelacionamento->bOk->click(); }, [] { DoubleClickCanvas(190, 90); }, true},
      {"Velocidade, OK", [] { fVelocidade->scrVelocidade->setValue(50); fVelocidade->accept(); }, [] { Part<QAction>("Velocidade2")->trigger(); }, true},
      {"Delete", {}, [] { ClickCanvas(120, 90); QTest::keyClick(Part<QPushButton>("bTeclado"), Qt::Key_Delete); }, true},
      {"Euler", {}, [] { Part<QAction>("MetodoEuler")->trigger(); }, true},
      {"unit typed", {}, [] { QTest::keyClicks(Part<QComboBox>("cBoxUnidades")->lineEdit(), QStringLiteral("s")); }, true},
      {"clock zeroed", {}, [] { fEditor->SetElapsedTicks(7); Part("bRelogio")->click(); }, true},
      {"a click raising a gauge", {}, [] { ClickCanvas(120, 90); }, false},
  };
  for (const auto& [name, answer, command, marks] : cases) {
    SCOPED_TRACE(name);
    fEditor->OpenModelFile(kExample);
    if (answer) WhenModalOpens([answer = answer](QWidget*) { answer(); });
    command();
    EXPECT_EQ(Doc().Modified, marks);
  }
}

TEST_F(MainWindowTest, DialogsOpenWithTheirFrameCentredOnTheScreen) {
  fEditor->OpenModelFile(kExample);
  Doc().Modified = true;
  const std::pair<QString, std::function<void()>> openers[] = {
      {QStringLiteral("Variável"), [] { DoubleClickCanvas(120, 90); }},
      {QStringLiteral("Relacionamento"), [] { DoubleClickCanvas(190, 90); }},
      {QStringLiteral("Confirme:"), [] { Part<QAction>("Abrir1")->trigger(); }},
  };
  const QRect screen = QApplication::primaryScreen()->geometry();
  for (const auto& [title, open] : openers) {
    QRect frame;
    WhenModalOpens([&](QWidget* modal) {
      frame = modal->windowTitle() == title ? modal->frameGeometry() : QRect();
      static_cast<QDialog*>(modal)->reject();
    });
    open();
    const QPoint centred((screen.width() - frame.width()) / 2, (screen.height() - frame.height()) / 2);
    EXPECT_EQ(frame.topLeft(), centred) << title.toStdString();
  }
}

TEST_F(MainWindowTest, AboutItemShowsTheAboutBox) {
  bool shown = false;
  WhenModalOpens([&](QWidget* modal) {
    shown = modal == frmSobre;
    frmSobre->accept();
  });
  Part<QAction>("Sobre1")->trigger();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(QIcon(QString::fromLatin1(TfrmSobre::IconPath)).isNull()) << "the about box finds its icon";
}

TEST_F(MainWindowTest, OneArgumentOpensThatModelFile) {
  fEditor->CommandLine = {kExample};
  fEditor->FormActivate();
  EXPECT_EQ(fEditor->windowTitle(), QStringLiteral("Korvel - ") + kExample);
  EXPECT_EQ(Doc().Variables.size(), 2u);
  EXPECT_EQ(Doc().Relationships.size(), 1u);
  EXPECT_FALSE(Part("bReinicializar")->isEnabled());
  EXPECT_EQ(fEditor->TimerInterval(), 100) << "the file's environment";
  EXPECT_EQ(fEditor->MethodCode(), MethodCode::RungeKutta);
  EXPECT_TRUE(Part<QAction>("MetodoHangeKuta")->isChecked());
  EXPECT_EQ(QApplication::focusWidget(), Part<QPushButton>("bTeclado"));
  const TVariavel& first = *Doc().Variables.front();
  EXPECT_GT(DarkPixels(ShownModel(), QRect(first.X - 20, first.Y - 30, 40, 60)), 20);
}

TEST_F(MainWindowTest, TitleBarShowsTheCaptionLetterForLetter) {
  ASSERT_NE(fEditor->windowHandle(), nullptr);
  EXPECT_EQ(fEditor->windowHandle()->title(), QStringLiteral("Korvel - SemNome.KRL"));

  // "[*]" is Qt's modified-marker in a title; in a path it is just characters.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* name : {"modelo[*].KRL", "a[*][*]b[*.KRL", "[[*]*]"}) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    ASSERT_TRUE(QFile::copy(kExample, path)) << name;
    fEditor->CommandLine = {path};
    fEditor->FormActivate();
    const std::string expected = ("Korvel - " + path).toStdString();
    EXPECT_EQ(fEditor->windowHandle()->title().toStdString(), expected);
    EXPECT_EQ(fEditor->Caption().toStdString(), expected);
  }
  fEditor->bNovoClick();
  EXPECT_EQ(fEditor->windowHandle()->title(), QStringLiteral("Korvel - SemNome.KRL"));
}

TEST_F(MainWindowTest, TwoArgumentsOpenNothing) {
  fEditor->CommandLine = {kExample, kExample};
  fEditor->FormActivate();
  EXPECT_EQ(fEditor->windowTitle(), QStringLiteral("Korvel - SemNome.KRL"));
  EXPECT_TRUE(Doc().Variables.empty());
}

TEST_F(MainWindowTest, OpeningAModelPutsTheGraphPanelBackTo100Pixels) {
  Part<QSplitter>("Splitter1")->setSizes({200, 180});
  ASSERT_EQ(Part<QWidget>("pGrafico")->height(), 180);
  fEditor->OpenModelFile(kExample);
  EXPECT_EQ(Part<QWidget>("pGrafico")->height(), 100);
  EXPECT_EQ(fEditor->GraphCanvas.Height(), 100);
}

TEST_F(MainWindowTest, FileWithoutTheHeaderKeepsTheModelAndItsCaption) {
  PlaceVariable(Part("bVarContinua"), 150, 150);
  const QString notAModel = QStringLiteral(KORVEL_TEST_DATA "/header-lowercase.KRL");
  ShownBox shown;
  WhenModalOpens([&](QWidget* modal) { RecordAndClose(modal, shown); });
  fEditor->OpenModelFile(notAModel);
  EXPECT_TRUE(shown.seen);
  EXPECT_EQ(shown.icon, QMessageBox::Information);
  EXPECT_EQ(Doc().Variables.size(), 1u);
  EXPECT_EQ(fEditor->windowTitle(), QStringLiteral("Korvel - SemNome.KRL"));
}

TEST_F(MainWindowTest, UnreadableFileOnTheCommandLineIsShownInTheErrorBoxAndTheProgramGoesOn) {
  const QString missing = QStringLiteral("/nonexistent/nada.KRL");
  fEditor->CommandLine = {missing};
  ShownBox shown;
  WhenModalOpens([&](QWidget* modal) { RecordAndClose(modal, shown); });
  fEditor->FormActivate();

  EXPECT_TRUE(shown.seen);
  EXPECT_EQ(shown.caption, QStringLiteral("WKorvel"));
  EXPECT_EQ(shown.icon, QMessageBox::Critical);
  EXPECT_TRUE(shown.text.contains(missing)) << shown.text.toStdString();
  EXPECT_EQ(fEditor->windowTitle(), QStringLiteral("Korvel - SemNome.KRL"));

  EXPECT_EQ(fEditor->focusWidget(), Part<QPushButton>("bTeclado"));
  fEditor->activateWindow();  // the offscreen platform does not hand it back by itself
  ASSERT_TRUE(QTest::qWaitForWindowActive(fEditor));
  EXPECT_NE(PlaceVariable(Part("bVarContinua"), 150, 150), nullptr) << "the window still works";
}

TEST_F(MainWindowTest, ExceptionFromAHandlerIsShownAndSwallowed) {
  struct Case {
    std::function<void()> handler;
    QString message;
  };
  const std::vector<Case> cases = {
      {[] { throw std::runtime_error("não deu"); }, QStringLiteral("não deu")},
      {[] { throw ModelFileError("linha 7: número esperado"); }, QStringLiteral("linha 7: número esperado")},
      {[] { throw 42; }, QStringLiteral("Erro desconhecido.")},
      {[] { throw std::bad_alloc(); }, QStringLiteral("Não há memória suficiente para concluir esta operação.")},
  };
  for (const Case& c : cases) {
    ShownBox shown;
    WhenModalOpens([&](QWidget* modal) { RecordAndClose(modal, shown); });
    RunShowingErrors([&] { c.handler(); });
    EXPECT_TRUE(shown.seen);
    EXPECT_EQ(shown.text, c.message);
    EXPECT_EQ(shown.caption, QStringLiteral("WKorvel"));
    EXPECT_EQ(shown.icon, QMessageBox::Critical);
  }
}
