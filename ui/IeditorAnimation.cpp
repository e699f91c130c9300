#include "document/uEditor.h"
#include "ui/Fveloc.h"
#include "ui/Ieditor.h"
#include "ui/ModelCanvasWidget.h"

#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

#include <cstdint>

void TfEditor::ShowAnimationButtons(bool animating) {
  for (QToolButton* b : {bNovo, bAbrir, bSalvar, bImprimir, bSelecao, bVarContinua,
                         bVarLigaDesliga, bRelacionamentoTaxa, bRelacionamentoProporcao, bPlay})
    b->setEnabled(!animating);
  bPause->setEnabled(animating);
  bReinicializar->setEnabled(!animating);
  bZerar->setEnabled(!animating);
}

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
  elapsedTicks_ = 0;
  lTempo->setText(QStringLiteral("0"));
  Document->ResetGraph();
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
  if (elapsedTicks_ < INT32_MAX) ++elapsedTicks_;
  lTempo->setText(QString::number(elapsedTicks_));
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

void TfEditor::ChooseMethod(bool euler) {
  SpeedButton2Click();
  Document->SetIntegrationMethod(euler ? 1 : 0);
  SetMethodChecks(euler, !euler);
  SetMethodCode(euler ? 1 : 2);
}

void TfEditor::MetodoEulerClick() { ChooseMethod(true); }

void TfEditor::MetodoHangeKutaClick() { ChooseMethod(false); }
