#pragma once

#include "document/EnvironmentStore.h"
#include "document/ModelLines.h"
#include "platform/RasterCanvas.h"
#include "ui/AnimationTimer.h"

#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QButtonGroup;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QMenu;
class QPrinter;
class QPushButton;
class QSplitter;
class QToolButton;
class TCanvasKeyboard;
class TCanvasView;
class TEditor;

/// The main window: toolbar, menus, the model canvas iModelo and the graph
/// panel. It does no modelling itself: gestures, keys and tools go to the
/// model document, and it keeps the environment values a model file stores.
///
/// Handlers carry the names of the controls and events they serve; each can
/// be called directly ("performing the command" of a button), whether or not
/// its button is enabled.
class TfEditor : public QMainWindow, public EnvironmentStore {
  Q_OBJECT

public:
  explicit TfEditor(QWidget* parent = nullptr);
  ~TfEditor() override;

  /// The program's arguments without its own name; FormActivate opens the
  /// file when there is exactly one.
  QStringList CommandLine;

  /// The bitmaps behind iModelo and iGrafico; declared before Document, which
  /// draws on them, so that they outlive it.
  RasterCanvas ModelCanvas{0, 0};
  RasterCanvas GraphCanvas{0, 0};
  std::unique_ptr<TEditor> Document;
  /// The model text buffer ("memo"): the lines of the last file read or written.
  ModelLines MemoArquivo;

  /// The file that holds the model; empty while it has none. Set only by a
  /// successful open or save, so it never names a file the model isn't in.
  QString CurrentFileName;
  /// The name last chosen in the open dialog, used only inside Open.
  QString OpenDialogFileName;
  /// The current printer; the print dialog's choice lasts for the run.
  std::unique_ptr<QPrinter> Printer;
  /// "Ajustar à página" in the print dialog: the page takes the whole window,
  /// scaled down. Like the printer, the choice lasts for the run.
  bool FitToPage = false;
  /// The printer, made on first use.
  QPrinter& CurrentPrinter();
  /// The open dialog Abrir and the save dialog Gravar, each made anew for
  /// every use in the folder the last one was left in; the chosen path, or
  /// empty when the dialog was cancelled.
  QString ChooseFileToOpen();
  QString ChooseFileToSave();

  /// The animation timer ("relógio", clock); disabled until the first Animate or Stop.
  TAnimationTimer Relogio;

  /// The model canvas's view, for the program start.
  TCanvasView* ModelView() const { return iModelo; }

  // Program start and layout.
  void FormActivate();
  void FormResize();
  void pGraficoResize();
  /// The model canvas took a new size: new buffer, then the model is repainted.
  void iModeloResize();
  /// Sets the graph panel's height; the panel's resize handler clears the graph.
  void SetGraphPanelHeight(int height);

  // Canvas, keyboard and tools.
  void FormMouseDown(std::int32_t x, std::int32_t y);
  void FormMouseMove(std::int32_t x, std::int32_t y);
  void FormMouseUp();
  void FormClick();
  /// Double click on the canvas.
  void FormDblClick();
  void bTecladoKeyDown(int key);
  void cBoxUnidadesKeyDown(int key);
  void cBoxUnidadesClick();
  /// The selection tool ("seleção").
  void bSelecaoClick();
  /// The continuous-variable tool.
  void SpeedButton29Click();
  /// The on-off-variable tool ("liga-desliga").
  void bVarLigaDesligaClick();
  /// The rate-relationship tool ("taxa").
  void bRelacionamentoTaxaClick();
  /// The proportion-relationship tool ("proporção").
  void bRelacionamentoProporcaoClick();

  // Model file and printing commands.
  /// New ("novo").
  void bNovoClick();
  /// Open ("abrir").
  void bAbrirClick();
  /// Save ("salvar").
  void bSalvarClick();
  /// Save as ("salvar como").
  void SalvarComo1Click();
  /// Print ("imprimir") on the current printer, after the question.
  void bImprimirClick();
  /// Print through the print dialog.
  void Imprimir1Click();
  /// The menu's New, despite its name.
  void Abrir1Click();
  /// The menu's Open.
  void Abrir2Click();
  /// The menu's Save ("gravar").
  void Gravar1Click();
  /// Exit ("sair").
  void Sair1Click();
  /// Reads the model file at path into the document; errors are thrown.
  void OpenModelFile(const QString& path);
  /// Every way of closing the window; false keeps it open.
  bool FormClose();
  /// The save question for a modified model; false when the command is abandoned.
  bool AskToSave();
  /// Shows the save dialog with the current file name and saves the model to
  /// the chosen file; false when the dialog was cancelled.
  bool SaveThroughDialog(QString& chosen);
  /// SaveToLines into MemoArquivo and the buffer to path. A failed write
  /// throws and leaves the model marked modified as it was.
  void SaveModelTo(const QString& path);
  /// The model now lives in path: current file name and caption.
  void AdoptFileName(const QString& path);
  /// Prints the client area as it is now on the current printer, one page.
  void PrintWindowImage();
  /// Printed size of a length in screen pixels: pixels x printer dpi / screen
  /// dpi, the quotient rounded to the nearest integer.
  static int PrinterDots(int pixels, int printerDpi, int screenDpi);
  /// The clock, speed, time unit and method of a new model.
  void NewModelSettings();

  // Animation and clock.
  /// Animate ("animar").
  void bPlayClick();
  /// Stop ("parar").
  void SpeedButton2Click();
  /// Back to the values before the animation ("valores antes de animar").
  void SpeedButton3Click();
  /// Every value to zero ("zerar valores").
  void SpeedButton4Click();
  /// The clock to zero ("zerar relógio").
  void bRelogioClick();
  /// One tick of Relogio.
  void RelogioTimer();
  /// The speed dialog ("velocidade").
  void Velocidade2Click();
  void MetodoEulerClick();
  /// The Runge-Kutta method item.
  void MetodoHangeKutaClick();
  /// The about box ("sobre").
  void Sobre1Click();

  // Undo, redo and the projector view; keys only, no menu item or button.
  /// Ctrl+Z: "Parar" during an animation, then the model back one step.
  void UndoChange();
  /// Ctrl+Shift+Z and Ctrl+Y.
  void RedoChange();
  /// Ctrl+plus, Ctrl+minus and Ctrl+0, on the model and the graph together.
  void ZoomIn();
  void ZoomOut();
  void ZoomToActualSize();
  /// Ctrl+9: the largest zoom that shows every object, and the model centred.
  void ZoomToFitModel();
  /// Both views at percent; the canvas point at a point of view stays there,
  /// each other view keeps its centre.
  void SetZoom(int percent, const TCanvasView* view = nullptr, QPoint at = {});
  /// Moves the zoom steps up (positive) or down from the current one.
  void ZoomBySteps(int steps, const TCanvasView* view = nullptr, QPoint at = {});

  /// Runs a command of the user's, showing its errors in the error box; the
  /// model is marked modified when the command changed what "Salvar" would write.
  void RunCommand(const std::function<void()>& command);

  /// Shows the canvases' buffers again after the document drew into them.
  void RefreshCanvases();

  /// The window caption exactly as set; windowTitle() holds it escaped.
  QString Caption() const;

  // IEditorHost; the environment values are kept by EnvironmentStore.
  void PutSelectToolDown() override;
  void SetMethodChecks(::MethodCode code) override;
  void SetClockText(const std::string& text) override;
  /// Also shown in cBoxUnidades, where the user may type another unit.
  void SetUnitsText(const std::string& text) override;
  /// A model file may hold any number: it is clamped to 1 ms and up, since
  /// a zero interval would spin the event loop.
  void SetTimerInterval(std::int32_t ms) override;
  void ShowInformation(const std::string& text) override;
  IVariableDialog& VariableDialog() override;
  IRelationshipDialog& RelationshipDialog() override;

protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  /// Sets the caption so that the title bar shows it letter for letter: Qt
  /// would take a "[*]" in a file's path for its modified-marker.
  void SetCaption(const QString& caption);
  void CreateClientArea();
  /// iModelo and the graph panel in Splitter1.
  void CreateCanvasViews();
  /// pBarraOpcoes: the tool buttons, then the clock.
  void CreateToolbar();
  void CreateToolButtons(QHBoxLayout& row);
  /// ToolGroup over the five tools, the selection tool down.
  void CreateToolGroup();
  /// Label2, lTempo and cBoxUnidades.
  void CreateClock(QHBoxLayout& row);
  void CreateMenus();
  /// The keys of undo, redo and the zoom.
  void CreateShortcuts();
  /// Undo or redo as a command; a drag still held ends first as a step of its own.
  void TakeHistoryStep(bool (TEditor::*step)());
  /// A unit typed into cBoxUnidades is one step, from its first letter to
  /// leaving the box or the next command.
  void FinishUnitsEdit();
  /// The enabled states of the Animating row, or of the Stopped row.
  void ShowAnimationButtons(bool animating);
  void EnableClock();
  /// Holds the window's repaints to one a frame while the animation runs.
  void PaceFrames();
  /// The print layout of the window (toolbar hidden, header lines shown) or
  /// the screen layout.
  void ShowPrintLayout(bool printing);

  // The controls, each named as its object is; null until the constructor
  // makes them.
  /// The toolbar ("barra de opções").
  QWidget* pBarraOpcoes = nullptr;
  QToolButton* bNovo = nullptr;
  QToolButton* bAbrir = nullptr;
  QToolButton* bSalvar = nullptr;
  QToolButton* bImprimir = nullptr;
  QToolButton* bSelecao = nullptr;
  QToolButton* bVarContinua = nullptr;
  QToolButton* bVarLigaDesliga = nullptr;
  QToolButton* bRelacionamentoTaxa = nullptr;
  QToolButton* bRelacionamentoProporcao = nullptr;
  QToolButton* bPlay = nullptr;
  /// Stop ("Parar").
  QToolButton* bPause = nullptr;
  /// Back to the values before the animation.
  QToolButton* bReinicializar = nullptr;
  /// Every value to zero.
  QToolButton* bZerar = nullptr;
  /// The clock to zero.
  QToolButton* bRelogio = nullptr;
  /// "TEMPO:", the clock's caption.
  QLabel* Label2 = nullptr;
  /// The clock: ticks since it was last zeroed.
  QLabel* lTempo = nullptr;
  /// The time unit ("unidades"), editable.
  QComboBox* cBoxUnidades = nullptr;
  /// The five tools: exactly one is down.
  QButtonGroup* ToolGroup = nullptr;

  /// The model canvas ("modelo").
  TCanvasView* iModelo = nullptr;
  /// Between the model canvas and the graph panel.
  QSplitter* Splitter1 = nullptr;
  /// The graph panel ("gráfico") and its image.
  QWidget* pGrafico = nullptr;
  TCanvasView* iGrafico = nullptr;

  /// The key receiver ("teclado", keyboard): a focusable control of zero size.
  QPushButton* bTeclado = nullptr;
  /// Print header lines, the caption and the date, covered by the toolbar on screen.
  QLabel* lNomeImprimir = nullptr;
  QLabel* lDataImprimir = nullptr;

  /// The menus: "Arquivo" (file), "Configurações" (settings), "Ajuda" (help).
  QMenu* Arquivo1 = nullptr;
  /// "Novo" (new), despite its name.
  QAction* Abrir1 = nullptr;
  /// "Abrir" (open).
  QAction* Abrir2 = nullptr;
  /// "Salvar" (save).
  QAction* Gravar1 = nullptr;
  QAction* SalvarComo1 = nullptr;
  QAction* Imprimir1 = nullptr;
  QAction* Sair1 = nullptr;
  QMenu* Configuraes1 = nullptr;
  /// "Velocidade..." (speed).
  QAction* Velocidade2 = nullptr;
  QAction* MetodoEuler = nullptr;
  /// The Runge-Kutta method.
  QAction* MetodoHangeKuta = nullptr;
  QActionGroup* MethodGroup = nullptr;
  QMenu* A1 = nullptr;
  /// "Sobre" (about).
  QAction* Sobre1 = nullptr;

  /// The folders the open and the save dialog were last left in.
  QString openFolder_;
  QString saveFolder_;
  bool activatedOnce_ = false;
  bool unitsEditOpen_ = false;
  /// The zoom to come back to after printing, which shows the window at 100 %.
  int zoomBeforePrint_ = 100;
  /// The canvas's keys, which bTeclado receives.
  std::unique_ptr<TCanvasKeyboard> canvasKeys_;
};

extern TfEditor* fEditor;

/// The caption of a model without a file.
inline const QString kUntitledCaption = QStringLiteral("Korvel - SemNome.KRL");
/// Height of the graph panel at start and after a model is opened.
inline constexpr int kGraphPanelHeight = 100;

/// Creates the six windows hidden, in the program's order, fills their global
/// references and hands the document its canvas and its graph image.
void CreateForms();
/// Frees the six windows and clears their global references.
void DestroyForms();

/// The toolkit's error box for an exception that left a handler: critical
/// icon, caption "WKorvel", the exception's message.
void ShowHandlerError(const QString& message);

/// Runs f, showing any exception it throws in the error box instead of
/// letting it reach Qt's own code.
template <class F>
void RunShowingErrors(F&& f) noexcept {
  try {
    f();
  } catch (const std::bad_alloc&) {
    // The library's own text would be English and name nothing.
    ShowHandlerError(QStringLiteral("Não há memória suficiente para concluir esta operação."));
  } catch (const std::exception& e) {
    ShowHandlerError(QString::fromUtf8(e.what()));
  } catch (...) {
    ShowHandlerError(QStringLiteral("Erro desconhecido."));
  }
}
