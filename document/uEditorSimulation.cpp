#include "document/uEditor.h"

#include "model/uRel.h"
#include "model/uVar.h"

#include <cassert>
#include <climits>
#include <cstdint>

namespace {

constexpr int kStepsPerTick = 100;

bool AnySwitchCrossed(const TEditor& e) {
  for (const auto& v : e.Variables)
    if (v->Awake && v->IsOnOff() && static_cast<const TVarLigaDesliga&>(*v).ThresholdCrossed())
      return true;
  return false;
}

/// Runs draw on every awake variable with the pens its level mark moves
/// with: not-xor, a clear brush and the variable's colour, so that a mark
/// drawn twice goes away again.
template <class Draw>
void ForEachLevelMark(TEditor& e, Draw draw) {
  assert(e.Canvas && "an animation runs on the model canvas");
  ::Canvas& c = *e.Canvas;
  c.SetPenMode(PenMode::pmNotXor);
  c.SetBrushStyle(BrushStyle::bsClear);
  for (const auto& v : e.Variables) {
    if (!v->Awake) continue;
    c.SetPenColor(v->Color);
    draw(*v);
  }
}

/// The pass of RedrawLevels without switch strips.
void MoveLevelMarks(TEditor& e) {
  ForEachLevelMark(e, [](TVariavel& v) {
    const long double before = v.Level;
    const std::int32_t row = v.YOfLevel(before);
    v.ShowValue();
    if (v.YOfLevel(v.Level) == row) return;
    const long double now = v.Level;
    v.Level = before;
    v.DrawLevelMark();
    v.Level = now;
    v.DrawLevelMark();
  });
}

}  // namespace

void TEditor::SetIntegrationMethod(::IntegrationMethod m) { IntegrationMethod = m; }

void TEditor::ChooseMethod(MethodCode code) {
  host_.SetMethodCode(code);
  host_.SetMethodChecks(code);
  switch (code) {
    case MethodCode::Euler: SetIntegrationMethod(IntegrationMethod::Euler); break;
    case MethodCode::RungeKutta: SetIntegrationMethod(IntegrationMethod::RungeKutta); break;
    case MethodCode::NotChosen: break;
  }
}

void TEditor::StartAnimation() {
  Modified = true;
  PlotEnabled = false;
  ClearSelection();
  RunState = RunState::Running;
  ClearCanvas();

  for (const auto& r : Relationships) r->Draw();
  for (const auto& v : Variables) {
    PlotEnabled = PlotEnabled || v->PlotInGraph;
    if (v->Awake) {
      v->DrawFixedParts();
      v->PrepareForAnimation();
    } else {
      v->Draw();
    }
  }

  // From here on each awake level mark is a not-xor figure that a tick can
  // take away again by drawing it once more.
  ForEachLevelMark(*this, [](TVariavel& v) { v.DrawLevelMark(); });
}

void TEditor::SaveStatesBeforeAnimation() {
  for (const auto& v : Variables) v->SaveStartValue();
}

void TEditor::MarkTickStart() {
  for (const auto& v : Variables)
    if (v->Awake) v->SaveTickStart();
}

void TEditor::ComputeRelationships() {
  for (const auto& r : Relationships) r->ComputeContribution();
}

void TEditor::RungeKuttaPass(int stage) {
  for (const auto& v : Variables)
    if (v->Awake) v->RungeKuttaStage(stage);
}

void TEditor::EulerPass() {
  for (const auto& v : Variables)
    if (v->Awake) v->EulerStep();
}

void TEditor::CommitStates() {
  for (const auto& v : Variables)
    if (v->Awake) v->CommitValue();
}

void TEditor::Tick() {
  // The levels move, and with them what a save writes, also after a save
  // that was made while the animation ran.
  Modified = true;
  CatchUpRunData();
  MarkTickStart();

  plan_.BeginTick(Variables);
  switch (IntegrationMethod) {
    case IntegrationMethod::RungeKutta:
      for (int step = 0; step < kStepsPerTick; ++step)
        for (int stage = 1; stage <= 4; ++stage) plan_.RungeKuttaStage(stage);
      break;
    case IntegrationMethod::Euler:
      for (int step = 0; step < kStepsPerTick; ++step) plan_.EulerStep();
      break;
  }

  RedrawLevels();
  if (PlotEnabled) PlotStep();
  // The window counts the clock on after the tick, up to the top of its range.
  const std::int32_t clock = host_.ElapsedTicks();
  RunData.Append(clock < INT32_MAX ? clock + 1 : clock, LevelsNow());
}

void TEditor::RedrawLevels() {
  assert(Canvas && "an animation runs on the model canvas");
  // Marks that keep their row are left out only while every figure is
  // not-xor: a switch strip drawn in copy mode between the two would not
  // commute with them.
  if (AnySwitchCrossed(*this)) {
    UpdateValues();
    DrawLevels();
    return;
  }
  MoveLevelMarks(*this);
}

void TEditor::UpdateValues() {
  ForEachLevelMark(*this, [](TVariavel& v) {
    v.DrawLevelMark();
    v.ShowValue();
  });
}

void TEditor::DrawLevels() {
  ForEachLevelMark(*this, [this](TVariavel& v) {
    v.DrawLevelMark();
    if (!v.IsOnOff()) return;
    auto& onOff = static_cast<TVarLigaDesliga&>(v);
    if (!onOff.ThresholdCrossed()) return;
    Canvas->SetPenMode(PenMode::pmCopy);
    onOff.DrawSwitch();
    Canvas->SetPenMode(PenMode::pmNotXor);
  });
}

void TEditor::StopAnimation() {
  DrawAll();
  RunState = RunState::Stopped;
}

void TEditor::RestoreStatesBeforeAnimation() {
  ClearCanvas();
  for (const auto& v : Variables) v->RestoreStartValue();
  DrawAll();
}

void TEditor::ZeroValues() {
  Modified = true;
  ClearCanvas();
  // Stored directly: the setters' clamping is not wanted, 0 is in every range.
  for (const auto& v : Variables) {
    v->Level = 0;
    if (v->IsOnOff()) static_cast<TVarLigaDesliga*>(v.get())->ThresholdLevel = 0;
  }
  DrawAll();
}
