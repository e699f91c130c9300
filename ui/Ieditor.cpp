#include "ui/Ieditor.h"

#include "document/uEditor.h"
#include "ui/CanvasAccessible.h"
#include "ui/CanvasKeyboard.h"
#include "ui/DialogSupport.h"
#include "ui/Fconfirm.h"
#include "ui/Frel.h"
#include "ui/Fvar.h"
#include "ui/Fveloc.h"
#include "ui/GraphDataMenu.h"
#include "ui/HelpOpener.h"
#include "ui/ModelCanvasWidget.h"
#include "ui/WindowKeys.h"
#include "ui/fSobre.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <bit>
#include <cassert>

TfEditor* fEditor = nullptr;

namespace {

/// Qt's marker for "the document is modified" in a window title.
const QString kModifiedPlaceholder = QStringLiteral("[*]");
constexpr int kToolbarHeight = 31;
constexpr int kButtonSize = 23;

QIcon Picture(const char* name) {
  return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

/// The silver toolbar with its etched edge lines at the top and the bottom.
class TToolbarPanel : public QWidget {
public:
  using QWidget::QWidget;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const int w = width();
    const int h = height();
    p.fillRect(rect(), QColor(192, 192, 192));
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(0, h - 2, w - 1, h - 2);
    p.setPen(Qt::white);
    p.drawLine(0, 1, w - 1, 1);
    p.drawLine(0, h - 1, w - 1, h - 1);
  }
};

void AddSeparator(QHBoxLayout* row) { row->addSpacing(4); }

/// Separator, a 2-pixel bevel line, separator.
void AddDivider(QHBoxLayout* row, QWidget* parent) {
  AddSeparator(row);
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setFixedSize(2, kButtonSize);
  row->addWidget(line);
  AddSeparator(row);
}

}  // namespace

void ShowHandlerError(const QString& message) {
  QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("WKorvel"), message);
}

TfEditor::TfEditor(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("fEditor"));
  SetCaption(kUntitledCaption);
  setFont(PixelFont(Face::Arial, 13));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  setPalette(palette);

  // FormCreate.
  Document = std::make_unique<TEditor>(*this);
  ModelCanvas.SetFont(FontSpec{"Arial", 11, false});
  elapsedTicks = 0;

  Relogio.setTimerType(Qt::PreciseTimer);
  Relogio.setInterval(1);
  PaceFrames();
  connect(&Relogio, &TAnimationTimer::timeout, this, [this] { RunShowingErrors([this] { RelogioTimer(); }); });

  CreateClientArea();
  CreateMenus();
  CreateShortcuts();
  InstallHelpKey(*this);
  InstallWindowKeys(*this);
  ExposeModel(iModelo, iGrafico, *Document);
  // The designed bounds; the program start shows the window maximized.
  move(158, 93);
  resize(549, 433);
}

TfEditor::~TfEditor() = default;

void TfEditor::CreateClientArea() {
  auto* client = new QWidget(this);
  client->setAutoFillBackground(true);
  setCentralWidget(client);

  // Created first: first in the tab order, and under everything else.
  bTeclado = new QPushButton(client);
  bTeclado->setObjectName(QStringLiteral("bTeclado"));
  bTeclado->setGeometry(2, 2, 0, 0);
  bTeclado->setFocusPolicy(Qt::StrongFocus);
  bTeclado->installEventFilter(this);
  bTeclado->setAccessibleName(QStringLiteral("Modelo"));
  bTeclado->setAccessibleDescription(
      QStringLiteral("Tab percorre variáveis e relacionamentos, as setas movem o selecionado, "
                     "Enter abre suas propriedades, Esc limpa a seleção; Ctrl+Tab sai do modelo."));

  lNomeImprimir = new QLabel(client);
  lNomeImprimir->setObjectName(QStringLiteral("lNomeImprimir"));
  lNomeImprimir->setFont(PixelFont(Face::Arial, 16, true));
  lNomeImprimir->setAlignment(Qt::AlignCenter);
  lNomeImprimir->setGeometry(0, 0, 0, 19);
  lDataImprimir = new QLabel(client);
  lDataImprimir->setObjectName(QStringLiteral("lDataImprimir"));
  lDataImprimir->setAlignment(Qt::AlignCenter);
  lDataImprimir->setGeometry(0, 19, 0, 16);
  for (QLabel* header : {lNomeImprimir, lDataImprimir}) {
    // Opaque, so the model under the header lines doesn't show through them.
    header->setAutoFillBackground(true);
    header->hide();
  }

  auto* column = new QVBoxLayout(client);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  CreateToolbar();
  column->addWidget(pBarraOpcoes);
  Splitter1 = new QSplitter(Qt::Vertical, client);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setHandleWidth(4);
  Splitter1->setOpaqueResize(false);
  Splitter1->setChildrenCollapsible(false);
  Splitter1->setStyleSheet(QStringLiteral("QSplitter::handle { background-color: silver; }"));
  column->addWidget(Splitter1, 1);
  CreateCanvasViews();
  canvasKeys_ = std::make_unique<TCanvasKeyboard>(*this, *bTeclado);

  setTabOrder(bTeclado, cBoxUnidades);
}

void TfEditor::CreateCanvasViews() {
  iModelo = new TCanvasView(ModelCanvas, Splitter1);
  iModelo->setObjectName(QStringLiteral("iModelo"));
  iModelo->setMinimumHeight(10);
  iModelo->setMouseTracking(true);
  iModelo->OnResize = [this] { RunShowingErrors([this] { iModeloResize(); }); };
  iModelo->OnMouseDown = [this](std::int32_t x, std::int32_t y) {
    RunShowingErrors([&] { FormMouseDown(x, y); });
  };
  iModelo->OnMouseMove = [this](std::int32_t x, std::int32_t y) {
    RunShowingErrors([&] { FormMouseMove(x, y); });
  };
  iModelo->OnMouseUp = [this] { RunShowingErrors([this] { FormMouseUp(); }); };
  iModelo->OnClick = [this] { FormClick(); };
  iModelo->OnDoubleClick = [this] { RunCommand([this] { FormDblClick(); }); };
  iModelo->OnZoomWheel = [this](int steps, QPoint at) { ZoomBySteps(steps, iModelo, at); };

  pGrafico = new QWidget(Splitter1);
  pGrafico->setObjectName(QStringLiteral("pGrafico"));
  pGrafico->setMinimumHeight(10);
  pGrafico->setAutoFillBackground(true);
  auto* graphBox = new QVBoxLayout(pGrafico);
  graphBox->setContentsMargins(0, 0, 0, 0);
  iGrafico = new TCanvasView(GraphCanvas, pGrafico);
  iGrafico->setObjectName(QStringLiteral("iGrafico"));
  // iGrafico fills the panel, so its resize is the panel's.
  iGrafico->OnResize = [this] { RunShowingErrors([this] { pGraficoResize(); }); };
  iGrafico->OnZoomWheel = [this](int steps, QPoint at) { ZoomBySteps(steps, iGrafico, at); };
  graphBox->addWidget(iGrafico);
  InstallGraphDataMenu(*this, *iGrafico);

  Splitter1->addWidget(iModelo);
  Splitter1->addWidget(pGrafico);
  Splitter1->setStretchFactor(0, 1);
  Splitter1->setStretchFactor(1, 0);
  Splitter1->setSizes({433, kGraphPanelHeight});
}

void TfEditor::CreateToolbar() {
  pBarraOpcoes = new TToolbarPanel(centralWidget());
  pBarraOpcoes->setObjectName(QStringLiteral("pBarraOpcoes"));
  pBarraOpcoes->setFixedHeight(kToolbarHeight);
  auto* row = new QHBoxLayout(pBarraOpcoes);
  const int margin = (kToolbarHeight - kButtonSize) / 2;
  row->setContentsMargins(0, margin, 0, margin);
  row->setSpacing(0);
  CreateToolButtons(*row);
  CreateToolGroup();
  CreateClock(*row);
  row->addStretch(1);
}

void TfEditor::CreateToolButtons(QHBoxLayout& row) {
  struct Tool {
    QToolButton* TfEditor::*button;
    const char* name;
    const char* hint;
    const char* picture;
    void (TfEditor::*handler)();
  };
  // A row without a button divides two groups.
  const Tool tools[] = {
      {&TfEditor::bNovo, "bNovo", "Novo", "novo", &TfEditor::bNovoClick},
      {&TfEditor::bAbrir, "bAbrir", "Abrir", "abrir", &TfEditor::bAbrirClick},
      {&TfEditor::bSalvar, "bSalvar", "Salvar", "salvar", &TfEditor::bSalvarClick},
      {&TfEditor::bImprimir, "bImprimir", "Imprimir", "imprimir", &TfEditor::bImprimirClick},
      {},
      {&TfEditor::bSelecao, "bSelecao", "Seleção", "selecao", &TfEditor::bSelecaoClick},
      {&TfEditor::bVarContinua, "bVarContinua", "Variável contínua", "var-continua",
       &TfEditor::SpeedButton29Click},
      {&TfEditor::bVarLigaDesliga, "bVarLigaDesliga", "Variável liga-desliga", "var-ligadesliga",
       &TfEditor::bVarLigaDesligaClick},
      {&TfEditor::bRelacionamentoTaxa, "bRelacionamentoTaxa", "Relacionamento de taxa",
       "rel-taxa", &TfEditor::bRelacionamentoTaxaClick},
      {&TfEditor::bRelacionamentoProporcao, "bRelacionamentoProporcao",
       "Relacionamento de proporção", "rel-proporcao", &TfEditor::bRelacionamentoProporcaoClick},
      {},
      {&TfEditor::bPlay, "bPlay", "Animar", "animar", &TfEditor::bPlayClick},
      {&TfEditor::bPause, "bPause", "Parar", "parar", &TfEditor::SpeedButton2Click},
      {&TfEditor::bReinicializar, "bReinicializar", "Valores antes de animar", "reinicializar",
       &TfEditor::SpeedButton3Click},
      {&TfEditor::bZerar, "bZerar", "Zerar valores", "zerar", &TfEditor::SpeedButton4Click},
      {},
      {&TfEditor::bRelogio, "bRelogio", "Zerar relógio", "relogio", &TfEditor::bRelogioClick},
  };
  AddSeparator(&row);
  for (const Tool& tool : tools) {
    if (!tool.button) {
      AddDivider(&row, pBarraOpcoes);
      continue;
    }
    auto* b = new QToolButton(pBarraOpcoes);
    b->setObjectName(QLatin1String(tool.name));
    b->setAutoRaise(true);
    b->setFixedSize(kButtonSize, kButtonSize);
    b->setIcon(Picture(tool.picture));
    b->setIconSize(QSize(16, 16));
    b->setToolTip(QString::fromUtf8(tool.hint));
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QToolButton::clicked, this,
            [this, handler = tool.handler] { RunCommand([this, handler] { (this->*handler)(); }); });
    row.addWidget(b);
    this->*tool.button = b;
  }
  bPause->setEnabled(false);
  bReinicializar->setEnabled(false);
}

void TfEditor::CreateToolGroup() {
  ToolGroup = new QButtonGroup(this);
  ToolGroup->setObjectName(QStringLiteral("ToolGroup"));
  ToolGroup->setExclusive(true);
  for (QToolButton* tool : {bSelecao, bVarContinua, bVarLigaDesliga, bRelacionamentoTaxa,
                            bRelacionamentoProporcao}) {
    tool->setCheckable(true);
    ToolGroup->addButton(tool);
  }
  bSelecao->setChecked(true);
}

void TfEditor::CreateClock(QHBoxLayout& row) {
  Label2 = new QLabel(QStringLiteral("TEMPO:"), pBarraOpcoes);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setFont(PixelFont(Face::Arial, 12, true));
  Label2->setAlignment(Qt::AlignCenter);
  Label2->setFixedSize(53, kButtonSize);
  row.addWidget(Label2);

  lTempo = new QLabel(QStringLiteral("0"), pBarraOpcoes);
  lTempo->setObjectName(QStringLiteral("lTempo"));
  lTempo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  lTempo->setFixedSize(56, kButtonSize);
  // Its name is its text, the ticks counted.
  lTempo->setAccessibleDescription(QStringLiteral("Relógio"));
  row.addWidget(lTempo);

  cBoxUnidades = new QComboBox(pBarraOpcoes);
  cBoxUnidades->setObjectName(QStringLiteral("cBoxUnidades"));
  cBoxUnidades->setEditable(true);
  // The typed text is the unit: it is neither completed nor added to the list.
  cBoxUnidades->setInsertPolicy(QComboBox::NoInsert);
  cBoxUnidades->setCompleter(nullptr);
  cBoxUnidades->setFont(PixelFont(Face::Arial, 9));
  cBoxUnidades->setFixedWidth(72);
  cBoxUnidades->setAccessibleName(QStringLiteral("Unidade de tempo"));
  cBoxUnidades->addItems({QStringLiteral("segundos"), QStringLiteral("minutos"),
                          QStringLiteral("horas"), QStringLiteral("dias"),
                          QStringLiteral("semanas"), QStringLiteral("mêses"),
                          QStringLiteral("anos")});
  cBoxUnidades->setCurrentIndex(0);
  cBoxUnidades->installEventFilter(this);
  cBoxUnidades->lineEdit()->installEventFilter(this);
  connect(cBoxUnidades, &QComboBox::activated, this, [this] { cBoxUnidadesClick(); });
  // Only the user's unit: a model's own comes through SetUnitsText, which is quiet.
  connect(cBoxUnidades, &QComboBox::currentTextChanged, this, [this](const QString& text) {
    if (!unitsEditOpen_) {
      Document->BeginCommand();
      unitsEditOpen_ = true;
    }
    unitsText = text.toStdString();
    Document->Modified = true;
  });
  row.addWidget(cBoxUnidades);
}

void TfEditor::CreateMenus() {
  auto item = [this](QMenu* menu, QAction*& action, const char* name, const QString& text,
                     void (TfEditor::*handler)()) {
    action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this,
            [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); });
  };

  Arquivo1 = menuBar()->addMenu(QStringLiteral("&Arquivo"));
  Arquivo1->setObjectName(QStringLiteral("Arquivo1"));
  item(Arquivo1, Abrir1, "Abrir1", QStringLiteral("&Novo"), &TfEditor::Abrir1Click);
  Abrir1->setIcon(Picture("novo"));
  item(Arquivo1, Abrir2, "Abrir2", QStringLiteral("&Abrir"), &TfEditor::Abrir2Click);
  Abrir2->setIcon(Picture("abrir"));
  item(Arquivo1, Gravar1, "Gravar1", QStringLiteral("&Salvar"), &TfEditor::Gravar1Click);
  Gravar1->setIcon(Picture("salvar"));
  item(Arquivo1, SalvarComo1, "SalvarComo1", QStringLiteral("Salvar &como..."),
       &TfEditor::SalvarComo1Click);
  Arquivo1->addSeparator();
  item(Arquivo1, Imprimir1, "Imprimir1", QStringLiteral("&Imprimir..."), &TfEditor::Imprimir1Click);
  Imprimir1->setIcon(Picture("imprimir"));
  Arquivo1->addSeparator();
  item(Arquivo1, Sair1, "Sair1", QStringLiteral("Sai&r"), &TfEditor::Sair1Click);

  Configuraes1 = menuBar()->addMenu(QStringLiteral("&Configurações"));
  Configuraes1->setObjectName(QStringLiteral("Configuraes1"));
  item(Configuraes1, Velocidade2, "Velocidade2", QStringLiteral("&Velocidade..."),
       &TfEditor::Velocidade2Click);
  Configuraes1->addSeparator();
  item(Configuraes1, MetodoEuler, "MetodoEuler", QStringLiteral("Método de &Euler"),
       &TfEditor::MetodoEulerClick);
  item(Configuraes1, MetodoHangeKuta, "MetodoHangeKuta", QStringLiteral("Método &Runge Kutta"),
       &TfEditor::MetodoHangeKutaClick);
  // Optional exclusion: a model file may name neither method, and then
  // neither item carries the check mark.
  MethodGroup = new QActionGroup(this);
  MethodGroup->setObjectName(QStringLiteral("MethodGroup"));
  MethodGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (QAction* method : {MetodoEuler, MetodoHangeKuta}) {
    method->setCheckable(true);
    MethodGroup->addAction(method);
  }
  MetodoHangeKuta->setChecked(true);

  A1 = menuBar()->addMenu(QStringLiteral("A&juda"));
  A1->setObjectName(QStringLiteral("A1"));
  item(A1, Sobre1, "Sobre1", QStringLiteral("Sobre"), &TfEditor::Sobre1Click);
}

bool TfEditor::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  if (event->type() == QEvent::WindowActivate && !activatedOnce_) {
    activatedOnce_ = true;
    FormActivate();
  }
  return handled;
}

void TfEditor::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Asked for, not assumed: without a window manager nobody else activates
  // the window, and the first activation opens the command line's file.
  if (!activatedOnce_) activateWindow();
}

void TfEditor::FormActivate() {
  if (CommandLine.size() == 1) RunShowingErrors([this] { OpenModelFile(CommandLine.front()); });
  bTeclado->setFocus();
}

bool TfEditor::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == bTeclado) {
      if (canvasKeys_->KeyDown(*static_cast<QKeyEvent*>(event))) return true;
      RunCommand([&] { bTecladoKeyDown(key); });
    } else if (watched == cBoxUnidades || watched == cBoxUnidades->lineEdit()) {
      cBoxUnidadesKeyDown(key);
    }
  } else if (event->type() == QEvent::FocusOut && watched == cBoxUnidades->lineEdit()) {
    RunShowingErrors([this] { FinishUnitsEdit(); });
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfEditor::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  RunShowingErrors([this] { FormResize(); });
}

void TfEditor::FormResize() {
  // Only a new width changes the bitmap: a taller window leaves the curves.
  if (GraphCanvas.Width() != iGrafico->width())
    GraphCanvas.Resize(iGrafico->width(), GraphCanvas.Height());
  if (Document->GraphImage) Document->DrawGraphAxis();
  iGrafico->update();
}

void TfEditor::pGraficoResize() {
  GraphCanvas.Resize(iGrafico->width(), iGrafico->height());
  if (Document->GraphImage) Document->ResetGraph();
  iGrafico->update();
}

void TfEditor::iModeloResize() {
  ModelCanvas.Resize(iModelo->width(), iModelo->height());
  if (Document->Canvas) Document->Paint();
  iModelo->update();
}

void TfEditor::SetGraphPanelHeight(int height) {
  const QList<int> sizes = Splitter1->sizes();
  if (sizes.size() != 2 || sizes[1] == height) return;
  Splitter1->setSizes({std::max(sizes[0] + sizes[1] - height, 0), height});
}

void TfEditor::SetCaption(const QString& caption) {
  // Doubled, each placeholder stands for itself and Qt removes none.
  QString escaped = caption;
  escaped.replace(kModifiedPlaceholder, kModifiedPlaceholder + kModifiedPlaceholder);
  setWindowTitle(escaped);
}

QString TfEditor::Caption() const {
  QString caption = windowTitle();
  caption.replace(kModifiedPlaceholder + kModifiedPlaceholder, kModifiedPlaceholder);
  return caption;
}

void TfEditor::RunCommand(const std::function<void()>& command) {
  RunShowingErrors([&] {
    FinishUnitsEdit();
    // A press whose release went to a message box ends before the command.
    if (QGuiApplication::mouseButtons() == Qt::NoButton) Document->FinishGesture();
    Document->BeginCommand();
    try {
      command();
    } catch (...) {
      Document->EndCommand();
      throw;
    }
    Document->EndCommand();
  });
}

void TfEditor::RefreshCanvases() {
  Relogio.SetIdle(Document->RunState != RunState::Running);
  // Never at a tick: a screen reader hears the values while the model stands.
  if (Document->RunState != RunState::Running) AnnounceChanges(iModelo);
  iModelo->update();
  iGrafico->update();
}

void TfEditor::FormMouseDown(std::int32_t x, std::int32_t y) {
  FinishUnitsEdit();
  // The only button down: a new gesture, also when the last one's release was lost.
  if (std::popcount(unsigned(QGuiApplication::mouseButtons().toInt())) <= 1) Document->FinishGesture();
  Document->MouseDown(x, y);
  RefreshCanvases();
}

void TfEditor::FormMouseMove(std::int32_t x, std::int32_t y) {
  Document->MouseMove(x, y);
  RefreshCanvases();
}

void TfEditor::FormMouseUp() {
  Document->MouseUp();
  RefreshCanvases();
}

void TfEditor::FormClick() { bTeclado->setFocus(); }

void TfEditor::FormDblClick() {
  Document->DoubleClick();
  RefreshCanvases();
}

void TfEditor::bTecladoKeyDown(int key) {
  if (key != Qt::Key_Delete) return;
  Document->DeleteSelected();
  RefreshCanvases();
}

void TfEditor::cBoxUnidadesKeyDown(int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) bTeclado->setFocus();
}

void TfEditor::cBoxUnidadesClick() { bTeclado->setFocus(); }

void TfEditor::bSelecaoClick() { Document->UseSelectTool(); }

void TfEditor::SpeedButton29Click() {
  Document->UseContinuousTool();
  RefreshCanvases();
}

void TfEditor::bVarLigaDesligaClick() {
  Document->UseOnOffTool();
  RefreshCanvases();
}

void TfEditor::bRelacionamentoTaxaClick() {
  Document->UseRateTool();
  RefreshCanvases();
}

void TfEditor::bRelacionamentoProporcaoClick() {
  Document->UseProportionTool();
  RefreshCanvases();
}

void TfEditor::Sobre1Click() { frmSobre->exec(); }

void TfEditor::PutSelectToolDown() { bSelecao->setChecked(true); }

void TfEditor::SetMethodChecks(::MethodCode code) {
  MetodoEuler->setChecked(code == MethodCode::Euler);
  MetodoHangeKuta->setChecked(code == MethodCode::RungeKutta);
}

void TfEditor::SetClockText(const std::string& text) { lTempo->setText(QString::fromStdString(text)); }

void TfEditor::SetUnitsText(const std::string& text) {
  EnvironmentStore::SetUnitsText(text);
  const QSignalBlocker quiet(cBoxUnidades);
  cBoxUnidades->setEditText(QString::fromStdString(text));
}

void TfEditor::SetTimerInterval(std::int32_t ms) {
  EnvironmentStore::SetTimerInterval(std::max(ms, 1));
  Relogio.setInterval(TimerInterval());
}

void TfEditor::ShowInformation(const std::string& text) {
  // The screen shows the model as the document left it (a refused link's
  // origin without its mark) while the box waits.
  RefreshCanvases();
  QMessageBox::information(this, QStringLiteral("WKorvel"), QString::fromStdString(text),
                           QMessageBox::Ok);
}

IVariableDialog& TfEditor::VariableDialog() {
  assert(fVariavel && "the variable dialog is created at program start");
  return *fVariavel;
}

IRelationshipDialog& TfEditor::RelationshipDialog() {
  assert(fRelacionamento && "the relationship dialog is created at program start");
  return *fRelacionamento;
}

void CreateForms() {
  Q_INIT_RESOURCE(korvel);
  InstallModelAccessibility();
  fEditor = new TfEditor;
  fVariavel = new TfVariavel;
  fRelacionamento = new TfRelacionamento;
  fVelocidade = new TfVelocidade;
  fConfirma = new TfConfirma;
  frmSobre = new TfrmSobre;
  fEditor->Document->AttachCanvas(&fEditor->ModelCanvas);
  fEditor->Document->GraphImage = &fEditor->GraphCanvas;
  fEditor->Document->ResetGraph();
  fEditor->Document->RestartRunData();
}

void DestroyForms() {
  delete frmSobre;
  frmSobre = nullptr;
  delete fConfirma;
  fConfirma = nullptr;
  delete fVelocidade;
  fVelocidade = nullptr;
  delete fRelacionamento;
  fRelacionamento = nullptr;
  delete fVariavel;
  fVariavel = nullptr;
  delete fEditor;
  fEditor = nullptr;
}
