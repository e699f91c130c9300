#include "document/uEditor.h"
#include "ui/Fveloc.h"
#include "ui/Ieditor.h"
#include "ui/ModelCanvasWidget.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include <cstdint>

namespace {

/// While the animation runs, lets the main window repaint at most once a
/// frame (about 60 a second): a 1 ms clock changes the canvases and the clock
/// label far more often than a screen shows them. What changed in between
/// stays marked and is painted with the next frame.
class FramePacer : public QObject {
public:
  static constexpr int kFrameMs = 16;

  FramePacer(QWidget* window, const RunState* runState)
      : QObject(window), window_(window), runState_(runState) {
    next_.setSingleShot(true);
    connect(&next_, &QTimer::timeout, this, [this] {
      QCoreApplication::postEvent(window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    });
    window->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::UpdateRequest) return false;
    const qint64 since = shown_.isValid() ? shown_.elapsed() : kFrameMs;
    if (*runState_ != RunState::Running || since >= kFrameMs) {
      next_.stop();
      shown_.start();
      return false;
    }
    // Held back; Qt posts no other request until this one is served.
    if (!next_.isActive()) next_.start(int(kFrameMs - since));
    return true;
  }

private:
  QWidget* window_;
  const RunState* runState_;
  QElapsedTimer shown_;
  QTimer next_;
};

}  // namespace

void TfEditor::ShowAnimationButtons(bool animating) {
  for (QToolButton* b : {bNovo, bAbrir, bSalvar, bImprimir, bSelecao, bVarContinua,
                         bVarLigaDesliga, bRelacionamentoTaxa, bRelacionamentoProporcao, bPlay})
    b->setEnabled(!animating);
  bPause->setEnabled(animating);
  bReinicializar->setEnabled(!animating);
  bZerar->setEnabled(!animating);
}

void TfEditor::PaceFrames() { new FramePacer(this, &Document->RunState); }

void TfEditor::EnableClock() {
  if (!Relogio.isActive()) Relogio.start();
}

void TfEditor::bPlayClick() {
  bSelecaoClick();
  bSelecao->setChecked(true);
  ShowAnimationButtons(true);
  EnableClock();
  Document->StartAnimation();
  Document->SaveStatesBeforeAnimation();
  RefreshCanvases();
}

void TfEditor::SpeedButton2Click() {
  ShowAnimationButtons(false);
  // The clock stays enabled from the first Stop on; its ticks do nothing
  // while the document is stopped.
  EnableClock();
  Document->StopAnimation();
  RefreshCanvases();
}

void TfEditor::SpeedButton3Click() {
  SpeedButton2Click();
  bReinicializar->setEnabled(false);
  Document->RestoreStatesBeforeAnimation();
  RefreshCanvases();
}

void TfEditor::SpeedButton4Click() {
  SpeedButton2Click();
  Document->ZeroValues();
  RefreshCanvases();
}

void TfEditor::bRelogioClick() {
  elapsedTicks = 0;
  lTempo->setText(QStringLiteral("0"));
  Document->ResetGraph();
  Document->RestartRunData();
  RefreshCanvases();
}

void TfEditor::RelogioTimer() {
  if (Document->RunState != RunState::Running) {
    // Such ticks would do nothing: no events until the document runs again.
    Relogio.SetIdle(true);
    return;
  }
  Document->Tick();
  // A clock read from a file may already stand at the top of the range.
  if (elapsedTicks < INT32_MAX) ++elapsedTicks;
  lTempo->setText(QString::number(elapsedTicks));
  iModelo->ShowChanges();
  iGrafico->ShowChanges();
}

void TfEditor::Velocidade2Click() {
  SpeedButton2Click();
  fVelocidade->scrVelocidade->setValue(
      SpeedPositionForInterval(static_cast<std::uint32_t>(TimerInterval())));
  if (fVelocidade->exec() == QDialog::Accepted)
    SetTimerInterval(IntervalForSpeedPosition(fVelocidade->scrVelocidade->value()));
}

void TfEditor::MetodoEulerClick() {
  SpeedButton2Click();
  Document->ChooseMethod(MethodCode::Euler);
}

void TfEditor::MetodoHangeKutaClick() {
  SpeedButton2Click();
  Document->ChooseMethod(MethodCode::RungeKutta);
}
