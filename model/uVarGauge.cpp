// Drawing, placing, hit-testing and dragging a variable's gauge.

#include "model/uRel.h"
#include "model/uVar.h"

#include "platform/Numbers.h"

void TVariavel::KeepInside() {
  if (!Canvas) return;
  const CanvasRect clip = Canvas->ClipRect();
  const std::int64_t w = HalfWidth;
  const std::int64_t h = HalfHeight;
  const std::int64_t l = LabelHeight;
  const std::int64_t n = HalfNameWidth;
  // Each step sees what the one before it left, so a canvas too small for the
  // gauge ends with the name's right edge inside.
  if (Y - h - l < clip.top) Y = SaturateToInt32(clip.top + h + l);
  if (Y + h > std::int64_t(clip.bottom) - 1) Y = SaturateToInt32(clip.bottom - h - 1);
  if (X - w < clip.left) X = SaturateToInt32(clip.left + w);
  if (X + w > clip.right) X = SaturateToInt32(clip.right - w);
  if (X - n < clip.left) X = SaturateToInt32(clip.left + n);
  if (X + n > clip.right) X = SaturateToInt32(clip.right - n);
}

void TVariavel::DrawBody() {
  const std::int64_t w = HalfWidth;
  const std::int64_t h = HalfHeight;
  Surface().Rectangle(SatAdd(X, -w), SatAdd(Y, -h), SatAdd(X, w), SatAdd(Y, h + 1));
}

void TVariavel::DrawName() {
  Surface().TextOut(SatAdd(X, -std::int64_t(HalfNameWidth)),
                    SatAdd(Y, -std::int64_t(HalfHeight) - LabelHeight), Name);
}

void TVariavel::DrawLevelMarkRightOf(std::int64_t leftInset) {
  ::Canvas& c = Surface();
  const std::int64_t w = HalfWidth;
  const std::int32_t yl = YOfLevel(Level);
  c.Rectangle(SatAdd(X, -w + leftInset + 5), SatAdd(yl, -1), SatAdd(X, w - 5), SatAdd(yl, 2));
  c.MoveTo(SatAdd(X, -w + leftInset + 6), yl);
  c.LineTo(SatAdd(X, w - 6), yl);
}

void TVariavel::DrawLevelMark() { DrawLevelMarkRightOf(0); }

void TVariavel::DrawShape() {
  DrawBody();
  DrawName();
  // Asleep, the mark keeps the silver of the asleep pens.
  if (Awake) Surface().SetPenColor(Color);
  DrawLevelMark();
}

void TVariavel::UseStatePens() {
  if (Awake)
    UseNormalPens();
  else
    UseAsleepPens();
}

void TVariavel::Draw() {
  UseStatePens();
  DrawShape();
}

void TVariavel::DrawFixedParts() {
  UseStatePens();
  DrawBody();
  DrawName();
}

void TVariavel::Erase() {
  UseErasePens();
  DrawBody();
  DrawName();
}

void TVariavel::DrawOutline() {
  const std::int64_t h = HalfHeight;
  const std::int64_t n = HalfNameWidth;
  Surface().Rectangle(SatAdd(X, -n), SatAdd(Y, -h - LabelHeight), SatAdd(X, n),
                      SatAdd(Y, -h - 2));
  DrawBody();
}

bool TVariavel::HitBodyOrLabel(std::int32_t x, std::int32_t y) const {
  const std::int64_t px = x;
  const std::int64_t py = y;
  const std::int64_t w = HalfWidth;
  const std::int64_t h = HalfHeight;
  const std::int64_t n = HalfNameWidth;
  const bool inBody = X - w <= px && px <= X + w && Y - h <= py && py <= Y + h;
  const bool inName = X - n <= px && px <= X + n && Y - h - LabelHeight <= py && py <= Y - h;
  return inBody || inName;
}

bool TVariavel::HitLevelMarkRightOf(std::int32_t x, std::int32_t y, std::int64_t leftInset) {
  const std::int64_t px = x;
  const std::int64_t py = y;
  const std::int64_t w = HalfWidth;
  const std::int64_t yl = YOfLevel(Level);
  return X - w + leftInset + 5 <= px && px <= X + w - 5 && yl - 3 <= py && py <= yl + 3;
}

bool TVariavel::HitLevelMark(std::int32_t x, std::int32_t y) {
  return HitLevelMarkRightOf(x, y, 0);
}

bool TVariavel::HitTest(std::int32_t x, std::int32_t y) {
  if (!HitBodyOrLabel(x, y)) {
    DragMode = DragMode::None;
    return false;
  }
  DragMode = DragMode::Body;
  if (HitLevelMark(x, y)) DragMode = DragMode::LevelMark;
  return true;
}

void TVariavel::BeginDrag(std::int32_t x, std::int32_t y) {
  RecordGrabPoint(x, y);
  if (DragMode == DragMode::Body) {
    UseOutlinePens();
    DrawOutline();
    for (TRelacionamento* r : Relationships) r->DrawOutline();
  } else if (DragMode == DragMode::LevelMark) {
    // White over the mark, then the mark again as a figure the drag can move.
    UseErasePens();
    DrawLevelMark();
    UseOutlinePens();
    DrawLevelMark();
  }
}

void TVariavel::DragTo(std::int32_t x, std::int32_t y) {
  if (DragMode == DragMode::Body) {
    DrawOutline();
    MoveGrabPointTo(x, y);
    for (TRelacionamento* r : Relationships) {
      r->DrawOutline();
      r->UpdateEndpoints();
      r->DrawOutline();
    }
    DrawOutline();
  } else if (DragMode == DragMode::LevelMark) {
    DrawLevelMark();
    Level = LevelAtY(y);
    DrawLevelMark();
  }
}

void TVariavel::EndDrag() {
  if (DragMode == DragMode::Body) {
    DrawOutline();
    for (TRelacionamento* r : Relationships) r->DrawOutline();
  } else if (DragMode == DragMode::LevelMark) {
    DrawLevelMark();
  }
}
