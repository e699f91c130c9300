#include "document/uEditor.h"

#include "model/uRel.h"
#include "model/uVar.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <limits>
#include <memory>

namespace {

constexpr std::int32_t kClickTolerance = 3;
constexpr std::int32_t kBoxNudge = 5;

/// The extended real as the double a setter takes: beyond the double range
/// (only a file holds such values) the largest double of its sign.
double SaturatedDouble(long double v) {
  constexpr double kMax = std::numeric_limits<double>::max();
  if (v > kMax) return kMax;
  if (v < -kMax) return -kMax;
  return static_cast<double>(v);
}

/// The entry of list that owns obj; list.end() when none does.
template <typename T>
auto OwnerOf(std::vector<std::unique_ptr<T>>& list, const TObjGrafico* obj) {
  return std::find_if(list.begin(), list.end(),
                      [obj](const std::unique_ptr<T>& p) { return p.get() == obj; });
}

/// Moves the entry that owns obj to the end of list, so that it is drawn last.
template <typename T>
void MoveToEnd(std::vector<std::unique_ptr<T>>& list, const TObjGrafico* obj) {
  const auto it = OwnerOf(list, obj);
  assert(it != list.end() && "the picked object belongs to the list");
  if (it != list.end()) std::rotate(it, it + 1, list.end());
}

/// Takes the entry that owns obj out of list; null when it holds none.
template <typename T>
std::unique_ptr<T> TakeOut(std::vector<std::unique_ptr<T>>& list, const TObjGrafico* obj) {
  const auto it = OwnerOf(list, obj);
  if (it == list.end()) return nullptr;
  std::unique_ptr<T> taken = std::move(*it);
  list.erase(it);
  return taken;
}

}  // namespace

TEditor::TEditor(IEditorHost& host) : host_(host) {}

TEditor::~TEditor() {
  // Nothing is drawn here: the canvas may already be gone.
  CurrentObject = nullptr;
  LinkOrigin = nullptr;
  LinkDestination = nullptr;
  Relationships.clear();
  Variables.clear();
}

void TEditor::AttachCanvas(::Canvas* canvas) {
  Canvas = canvas;
  for (const auto& r : Relationships) {
    r->SetCanvas(canvas);
    r->Draw();
  }
  for (const auto& v : Variables) {
    v->SetCanvas(canvas);
    v->Draw();
  }
}

void TEditor::UseSelectTool() { Mode = Mode::modeSelect; }

void TEditor::UseContinuousTool() {
  Mode = Mode::modeNewContinuous;
  ClearSelection();
}

void TEditor::UseOnOffTool() {
  Mode = Mode::modeNewOnOff;
  ClearSelection();
}

void TEditor::UseLinkTool(RelationshipKind kind) {
  Mode = Mode::modeLinkOrigin;
  PendingLinkKind = kind;
  if (CurrentObject) {
    CurrentObject->ToggleMark();
    CurrentObject = nullptr;
  }
}

void TEditor::UseRateTool() { UseLinkTool(RelationshipKind::Rate); }

void TEditor::UseProportionTool() { UseLinkTool(RelationshipKind::Proportion); }

void TEditor::ClearSelection() {
  if (CurrentObject) CurrentObject->Deselect();
  CurrentObject = nullptr;
}

void TEditor::ReturnToSelectTool() {
  host_.PutSelectToolDown();
  Mode = Mode::modeSelect;
  ClearSelection();
}

void TEditor::PickAt() {
  ClearSelection();

  for (auto it = Variables.rbegin(); it != Variables.rend(); ++it) {
    TVariavel* v = it->get();
    CurrentObject = v;
    if (v->HitTest(PressX, PressY)) return PickObject(v);
  }

  for (auto it = Relationships.rbegin(); it != Relationships.rend(); ++it) {
    TRelacionamento* r = it->get();
    CurrentObject = r;
    if (r->HitTest(PressX, PressY)) return PickObject(r);
  }

  CurrentObject = nullptr;
}

void TEditor::PickObject(TObjGrafico* obj) {
  CurrentObject = obj;
  obj->Select();
  if (auto* v = dynamic_cast<TVariavel*>(obj)) {
    MoveToEnd(Variables, v);
  } else {
    MoveToEnd(Relationships, obj);
    FillBoxesWhite();
  }
  obj->Draw();
}

TVariavel* TEditor::CurrentVariable() const { return dynamic_cast<TVariavel*>(CurrentObject); }

TRelacionamento* TEditor::CurrentRelationship() const {
  return dynamic_cast<TRelacionamento*>(CurrentObject);
}

void TEditor::CancelLinkTool() {
  ClearSelection();
  CurrentObject = nullptr;
  ReturnToSelectTool();
}

void TEditor::MouseDown(std::int32_t x, std::int32_t y) {
  // A second button pressed during a drag belongs to the same gesture.
  if (!gestureOpen_) {
    OpenBracket(true);
    gestureOpen_ = true;
  }
  PressX = x;
  PressY = y;

  if (RunState == RunState::Running) {
    StartAnimation();
    RunState = RunState::Held;
  }

  switch (Mode) {
    case Mode::modeSelect:
      PickAt();
      if (CurrentObject) Mode = Mode::modePressed;
      break;
    case Mode::modeNewContinuous:
    case Mode::modeNewOnOff:
      PlaceVariable();
      break;
    case Mode::modeLinkOrigin:
    case Mode::modeLinkDestination:
      PickAt();
      TakeLinkEnd();
      break;
    case Mode::modePressed:
    case Mode::modeDragging:
      break;
    case Mode::modeDialog:
      Mode = Mode::modeSelect;
      if (RunState == RunState::Held) StartAnimation();
      break;
  }
}

void TEditor::MouseMove(std::int32_t x, std::int32_t y) {
  switch (Mode) {
    case Mode::modePressed: {
      if (!CurrentObject) return;
      const std::int64_t px = PressX;
      const std::int64_t py = PressY;
      const bool beyond = x < px - kClickTolerance || x > px + kClickTolerance ||
                          y < py - kClickTolerance || y > py + kClickTolerance;
      if (!beyond) return;
      // Anchored at the press, not where the tolerance was left behind.
      StartDrag(PressX, PressY);
      break;
    }
    case Mode::modeDragging:
      if (CurrentObject) CurrentObject->DragTo(x, y);
      break;
    case Mode::modeSelect:
    case Mode::modeNewContinuous:
    case Mode::modeNewOnOff:
    case Mode::modeLinkOrigin:
    case Mode::modeLinkDestination:
    case Mode::modeDialog:
      break;
  }
}

void TEditor::TakeLinkEnd() {
  TVariavel* picked = CurrentVariable();
  if (Mode == Mode::modeLinkOrigin) {
    if (!picked) return CancelLinkTool();
    LinkOrigin = picked;
    Mode = Mode::modeLinkDestination;
    return;
  }
  // No origin any more: it was deleted, or the model cleared, in between.
  if (!picked || picked == LinkOrigin || !LinkOrigin) return CancelLinkTool();
  LinkDestination = picked;
  CreateRelationship();
}

void TEditor::StartDrag(std::int32_t x, std::int32_t y) {
  MarkEdited();
  Mode = Mode::modeDragging;
  CurrentObject->ToggleMark();
  PrepareDragBackground();
  CurrentObject->BeginDrag(x, y);
}

void TEditor::MouseUp() {
  if (Mode == Mode::modePressed) {
    Mode = Mode::modeSelect;
  } else if (Mode == Mode::modeDragging) {
    Mode = Mode::modeSelect;
    if (CurrentObject) CurrentObject->EndDrag();
    DrawAll();
    if (CurrentObject) CurrentObject->ToggleMark();
  }
  if (RunState == RunState::Held) StartAnimation();
  if (gestureOpen_) {
    gestureOpen_ = false;
    EndCommand();
  }
}

void TEditor::PrepareDragBackground() {
  if (TVariavel* moved = CurrentVariable()) {
    if (moved->DragMode != DragMode::Body) return;
    ClearCanvas();
    for (const auto& v : Variables)
      if (v.get() != moved) v->Draw();
    FillBoxesWhite();
    for (const auto& r : Relationships)
      if (r->Origin != moved && r->Destination != moved) r->Draw();
    return;
  }
  if (TRelacionamento* moved = CurrentRelationship()) {
    ClearCanvas();
    for (const auto& r : Relationships)
      if (r.get() != moved) r->Draw();
    for (const auto& v : Variables) v->Draw();
  }
}

void TEditor::PlaceVariable() {
  MarkEdited();
  ClearSelection();

  std::unique_ptr<TVariavel> v;
  if (Mode == Mode::modeNewOnOff)
    v = std::make_unique<TVarLigaDesliga>();
  else
    v = std::make_unique<TVarContinua>();
  v->SetCanvas(Canvas);
  v->SetPosition(PressX, PressY);
  v->SetName("Nome");
  v->Draw();
  Variables.push_back(std::move(v));

  CurrentObject = nullptr;
  ReturnToSelectTool();
}

void TEditor::CreateRelationship() {
  assert(LinkOrigin && LinkDestination && LinkOrigin != LinkDestination &&
         "a relationship links two different variables");
  ClearSelection();

  const auto existing = std::find_if(
      Relationships.begin(), Relationships.end(), [this](const std::unique_ptr<TRelacionamento>& r) {
        return r->Origin == LinkOrigin && r->Destination == LinkDestination;
      });
  CurrentObject = nullptr;

  if (existing != Relationships.end()) {
    host_.ShowInformation("Este relacionamento já exite");
    ReturnToSelectTool();
    return;
  }

  MarkEdited();
  auto r = std::make_unique<TRelacionamento>();
  r->SetCanvas(Canvas);
  r->Connect(LinkOrigin, LinkDestination);
  r->Kind = PendingLinkKind;
  LinkDestination->SetInputKind(PendingLinkKind);
  LinkOrigin->AddRelationship(r.get());
  LinkDestination->AddRelationship(r.get());

  // Typically the opposite relationship between the same two variables sits
  // on the same midpoint; each box it lands on pushes it on diagonally.
  for (const auto& other : Relationships) {
    if (other->X == r->X && other->Y == r->Y)
      r->SetPosition(SatAdd(r->X, kBoxNudge), SatAdd(r->Y, kBoxNudge));
  }

  ClearCanvas();
  Relationships.push_back(std::move(r));
  DrawAll();
  ReturnToSelectTool();
}

void TEditor::DoubleClick() {
  if (Mode != Mode::modeSelect || !CurrentObject || RunState == RunState::Running) return;

  Mode = Mode::modeDialog;

  if (TRelacionamento* r = CurrentRelationship()) {
    IRelationshipDialog& dialog = host_.RelationshipDialog();
    dialog.SetEditedRelationship(r);
    if (!dialog.Execute()) return;
    ClearCanvas();
    ApplyRelationshipDialog();
    DrawAll();
    if (CurrentObject) CurrentObject->ToggleMark();
    return;
  }

  if (TVariavel* v = CurrentVariable()) {
    IVariableDialog& dialog = host_.VariableDialog();
    dialog.SetEditedVariable(v);
    if (!dialog.Execute()) return;
    ClearCanvas();
    ApplyVariableDialog();
    DrawAll();
    if (CurrentObject) CurrentObject->ToggleMark();
  }
}

void TEditor::ApplyRelationshipDialog() {
  TRelacionamento* r = CurrentRelationship();
  assert(r && "the relationship dialog edits the current relationship");
  host_.RelationshipDialog().ApplyToRelationship();
  if (r && r->Destination) r->Destination->SetInputKind(r->Kind);
}

void TEditor::ApplyVariableDialog() {
  IVariableDialog& dialog = host_.VariableDialog();
  TVariavel* old = CurrentVariable();
  assert(old && old == dialog.EditedVariable() &&
         "the variable dialog edits the current variable");
  if (!old) return;

  dialog.ComputeKindCode();
  if (dialog.KindCodeChosen() == dialog.KindCodeOnShow()) {
    dialog.ApplyToVariable();
    old->KeepInside();
    return;
  }

  std::unique_ptr<TVariavel> replacement = NewVariableOfKindCode(dialog.KindCodeChosen());
  assert(replacement && "the variable dialog chose a kind code that names no class");
  if (!replacement) return;
  TVariavel* v = replacement.get();

  v->X = old->X;
  v->Y = old->Y;
  v->SetCanvas(Canvas);
  v->SetLevel(SaturatedDouble(old->Level));
  v->InputKind = old->InputKind;

  dialog.SetEditedVariable(v);
  dialog.ApplyToVariable();
  v->KeepInside();

  const auto* oldOnOff = dynamic_cast<const TVarLigaDesliga*>(old);
  if (auto* onOff = dynamic_cast<TVarLigaDesliga*>(v); onOff && oldOnOff)
    onOff->SetThresholdLevel(SaturatedDouble(oldOnOff->ThresholdLevel));

  // From the last entry to the first, each inserted at the front: the new
  // list keeps the old order. A relationship from the variable to itself is
  // listed twice and is re-pointed at both ends the first time it is met.
  while (!old->Relationships.empty()) {
    TRelacionamento* r = old->Relationships.back();
    old->Relationships.pop_back();
    if (r->Origin == old) r->Origin = v;
    if (r->Destination == old) r->Destination = v;
    v->Relationships.insert(v->Relationships.begin(), r);
    r->UpdateEndpoints();
  }

  if (LinkOrigin == old) LinkOrigin = v;
  if (LinkDestination == old) LinkDestination = v;
  ForgetVariable(old);
  TakeOut(Variables, old);
  Variables.push_back(std::move(replacement));
  CurrentObject = v;
}

void TEditor::DeleteSelected() {
  if (!CurrentObject || RunState != RunState::Stopped) return;

  // A press still held on the object ends with it; a later move must not
  // start a drag of an object that is gone.
  if (Mode == Mode::modeDragging || Mode == Mode::modePressed) MouseUp();

  ClearCanvas();

  if (TRelacionamento* r = CurrentRelationship()) {
    DeleteRelationship(r);
  } else if (TVariavel* v = CurrentVariable()) {
    while (!v->Relationships.empty()) {
      const std::size_t before = v->Relationships.size();
      DeleteRelationship(v->Relationships.back());
      assert(v->Relationships.size() < before && "every listed relationship ends here");
      if (v->Relationships.size() >= before) v->Relationships.pop_back();
    }
    ForgetVariable(v);
    TakeOut(Variables, v);
  }

  CurrentObject = nullptr;
  DrawAll();
}

void TEditor::DeleteRelationship(TRelacionamento* r) {
  if (TVariavel* origin = r->Origin) {
    const auto it = std::find(origin->Relationships.begin(), origin->Relationships.end(), r);
    if (it != origin->Relationships.end()) origin->Relationships.erase(it);
  }
  if (r->Destination) r->Destination->RemoveRelationship(r);
  if (CurrentObject == r) CurrentObject = nullptr;
  const std::unique_ptr<TRelacionamento> freed = TakeOut(Relationships, r);
  assert(freed && "the document owns every relationship it deletes");
}

void TEditor::ForgetVariable(const TVariavel* v) {
  if (CurrentObject == v) CurrentObject = nullptr;
  if (LinkOrigin == v) LinkOrigin = nullptr;
  if (LinkDestination == v) LinkDestination = nullptr;
  std::erase_if(GraphTraces, [v](const GraphTrace& t) { return t.variable == v; });
}

void TEditor::Clear() {
  Modified = false;
  ClearCanvas();

  CurrentObject = nullptr;
  // Last to first. The variables' lists still name the freed relationships
  // for a moment, but nothing reads them before the variables go too.
  while (!Relationships.empty()) Relationships.pop_back();
  while (!Variables.empty()) Variables.pop_back();

  LinkOrigin = nullptr;
  LinkDestination = nullptr;
  GraphTraces.clear();
  DrawAll();
  TakeCommandStart();
}

void TEditor::Paint() {
  ClearCanvas();
  DrawAll();
  if (CurrentObject) CurrentObject->ToggleMark();
}

void TEditor::FillBoxesWhite() {
  // A relationship's box takes whatever brush colour the canvas has, and an
  // on-off switch strip leaves it grey; white is what a repaint shows.
  if (Canvas) Canvas->SetBrushColor(clWhite);
}

void TEditor::ClearCanvas() {
  if (!Canvas) return;
  Canvas->SetPenColor(clWhite);
  // A dotted pen left by a selection mark would leave the border half painted.
  Canvas->SetPenStyle(PenStyle::psSolid);
  Canvas->SetPenMode(PenMode::pmCopy);
  Canvas->SetBrushColor(clWhite);
  Canvas->SetBrushStyle(BrushStyle::bsSolid);
  const CanvasRect clip = Canvas->ClipRect();
  Canvas->Rectangle(clip.left, clip.top, clip.right, clip.bottom);
}

void TEditor::DrawAll() {
  FillBoxesWhite();
  for (const auto& r : Relationships) r->Draw();
  for (const auto& v : Variables) v->Draw();
}

CanvasRect TEditor::DrawnBox() const {
  std::int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
  const auto take = [&](const TObjGrafico& o) {
    left = std::min(left, std::int64_t(o.X) - o.HalfWidth);
    top = std::min(top, std::int64_t(o.Y) - o.HalfHeight);
    right = std::max(right, std::int64_t(o.X) + o.HalfWidth + 1);
    bottom = std::max(bottom, std::int64_t(o.Y) + o.HalfHeight + 1);
  };
  for (const auto& v : Variables) take(*v);
  for (const auto& r : Relationships) take(*r);
  if (left > right) return {};
  return {SaturateToInt32(left), SaturateToInt32(top), SaturateToInt32(right), SaturateToInt32(bottom)};
}
