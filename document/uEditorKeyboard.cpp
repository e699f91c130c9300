#include "document/uEditor.h"

#include "model/uRel.h"
#include "model/uVar.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <tuple>
#include <vector>

namespace {

/// Inclusive bounds in 64 bits: a file's coordinates may lie anywhere.
struct Bounds {
  std::int64_t left, top, right, bottom;

  bool Overlaps(const Bounds& o) const {
    return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
  }
};

/// The gauge and the name above it, centred on (x, y).
Bounds GaugeBounds(const TVariavel& v, std::int64_t x, std::int64_t y) {
  const std::int64_t halfWidth = std::max(v.HalfWidth, v.HalfNameWidth);
  return {x - halfWidth, y - v.HalfHeight - v.LabelHeight, x + halfWidth, y + v.HalfHeight};
}

Bounds BoxBounds(const TRelacionamento& r) {
  return {std::int64_t(r.X) - r.HalfWidth, std::int64_t(r.Y) - r.HalfHeight,
          std::int64_t(r.X) + r.HalfWidth, std::int64_t(r.Y) + r.HalfHeight};
}

}  // namespace

void TEditor::SelectNextObject(bool forward) {
  const bool walking = Mode == Mode::modeSelect || Mode == Mode::modeLinkOrigin ||
                       Mode == Mode::modeLinkDestination;
  if (!walking || RunState == RunState::Running) return;

  std::vector<TObjGrafico*> order;
  order.reserve(Variables.size() + Relationships.size());
  for (const auto& v : Variables) order.push_back(v.get());
  for (const auto& r : Relationships) order.push_back(r.get());

  const auto at = std::find(order.begin(), order.end(), CurrentObject);
  const std::ptrdiff_t count = std::ssize(order);
  std::ptrdiff_t next = 0;
  if (at == order.end())
    next = forward ? 0 : count - 1;
  else
    next = (at - order.begin()) + (forward ? 1 : -1);

  ClearSelection();
  if (next < 0 || next >= count) return;
  CurrentObject = order[std::size_t(next)];
  CurrentObject->Select();
}

void TEditor::MoveSelected(std::int32_t dx, std::int32_t dy) {
  if (Mode != Mode::modeSelect || !CurrentObject || RunState == RunState::Running) return;
  // The keys move the whole gauge, whatever part of it a click last hit.
  if (TVariavel* v = CurrentVariable()) v->DragMode = DragMode::Body;
  const std::int32_t x = CurrentObject->X;
  const std::int32_t y = CurrentObject->Y;
  StartDrag(x, y);
  CurrentObject->DragTo(SatAdd(x, dx), SatAdd(y, dy));
  MouseUp();
}

void TEditor::EnterKey(const CanvasRect& visible) {
  if (RunState == RunState::Running) return;
  switch (Mode) {
    case Mode::modeSelect:
      DoubleClick();
      // The press that comes with a mouse's double click ends the dialog's mode.
      if (Mode == Mode::modeDialog) Mode = Mode::modeSelect;
      break;
    case Mode::modeNewContinuous:
    case Mode::modeNewOnOff: {
      const CanvasPoint spot = FreeSpotInView(visible);
      PressX = spot.x;
      PressY = spot.y;
      PlaceVariable();
      break;
    }
    case Mode::modeLinkOrigin:
    case Mode::modeLinkDestination: {
      // Nothing chosen yet: unlike a press on empty canvas, a stray Enter
      // keeps the tool.
      TObjGrafico* chosen = CurrentObject;
      if (!chosen) return;
      ClearSelection();
      PickObject(chosen);
      TakeLinkEnd();
      break;
    }
    case Mode::modePressed:
    case Mode::modeDragging:
    case Mode::modeDialog:
      break;
  }
}

void TEditor::EscapeKey() {
  if (Mode == Mode::modePressed || Mode == Mode::modeDragging || Mode == Mode::modeDialog)
    return;
  if (Mode == Mode::modeSelect)
    ClearSelection();
  else
    ReturnToSelectTool();
}

CanvasPoint TEditor::FreeSpotInView(const CanvasRect& visible) const {
  // A gauge of the class the tool places, named as placing names it.
  const std::unique_ptr<TVariavel> probe = NewVariableOfKindCode(
      Mode == Mode::modeNewOnOff ? KindCode::OnOffPositive : KindCode::ContinuousPositive);
  probe->SetCanvas(Canvas);
  if (Canvas) probe->SetName("Nome");

  std::vector<Bounds> taken;
  for (const auto& v : Variables) taken.push_back(GaugeBounds(*v, v->X, v->Y));
  for (const auto& r : Relationships) taken.push_back(BoxBounds(*r));

  const std::int64_t midX = (std::int64_t(visible.left) + visible.right) / 2;
  const std::int64_t midY = (std::int64_t(visible.top) + visible.bottom) / 2;
  const std::int64_t reachX = (std::int64_t(visible.right) - visible.left) / 2 / kFreeSpotStep;
  const std::int64_t reachY = (std::int64_t(visible.bottom) - visible.top) / 2 / kFreeSpotStep;

  // Grid steps from the middle, nearest first; ties upper first, then left.
  std::vector<std::tuple<std::int64_t, std::int64_t, std::int64_t>> steps;
  for (std::int64_t j = -reachY; j <= reachY; ++j)
    for (std::int64_t i = -reachX; i <= reachX; ++i) steps.emplace_back(i * i + j * j, j, i);
  std::sort(steps.begin(), steps.end());

  for (const auto& [distance, j, i] : steps) {
    const std::int64_t x = midX + i * kFreeSpotStep;
    const std::int64_t y = midY + j * kFreeSpotStep;
    Bounds b = GaugeBounds(*probe, x, y);
    b = {b.left - kFreeSpotMargin, b.top - kFreeSpotMargin, b.right + kFreeSpotMargin,
         b.bottom + kFreeSpotMargin};
    const bool inside = b.left >= visible.left && b.top >= visible.top &&
                        b.right < visible.right && b.bottom < visible.bottom;
    if (!inside) continue;
    if (std::none_of(taken.begin(), taken.end(), [&](const Bounds& t) { return t.Overlaps(b); }))
      return {std::int32_t(x), std::int32_t(y)};
  }
  return {SaturateToInt32(midX), SaturateToInt32(midY)};
}
