#include "model/uObjGrf.h"

// Each preset sets exactly its own properties; the rest of the canvas state
// (pen width, font, and the brush colour where not listed) carries over.

void TObjGrafico::UseNormalPens() {
  ::Canvas& c = Surface();
  c.SetPenColor(clBlack);
  c.SetPenStyle(PenStyle::psSolid);
  c.SetPenMode(PenMode::pmCopy);
  c.SetBrushStyle(BrushStyle::bsClear);
  c.SetFontColor(clBlack);
}

void TObjGrafico::UseErasePens() {
  ::Canvas& c = Surface();
  c.SetPenColor(clWhite);
  c.SetPenStyle(PenStyle::psSolid);
  c.SetPenMode(PenMode::pmCopy);
  c.SetBrushColor(clWhite);
  c.SetBrushStyle(BrushStyle::bsSolid);
  c.SetFontColor(clWhite);
}

void TObjGrafico::UseOutlinePens() {
  ::Canvas& c = Surface();
  c.SetPenColor(clSilver);
  c.SetPenStyle(PenStyle::psSolid);
  c.SetPenMode(PenMode::pmNotXor);
  // The colour first: setting it makes the brush solid again.
  c.SetBrushColor(clWhite);
  c.SetBrushStyle(BrushStyle::bsClear);
}

void TObjGrafico::UseMarkPens() {
  ::Canvas& c = Surface();
  c.SetPenColor(clRed);
  c.SetPenStyle(PenStyle::psDot);
  c.SetPenMode(PenMode::pmNotXor);
  c.SetBrushStyle(BrushStyle::bsClear);
}

void TObjGrafico::UseAsleepPens() {
  ::Canvas& c = Surface();
  c.SetPenColor(clSilver);
  c.SetPenStyle(PenStyle::psSolid);
  c.SetPenMode(PenMode::pmCopy);
  c.SetBrushColor(clSilver);
  c.SetBrushStyle(BrushStyle::bsClear);
  c.SetFontColor(clSilver);
}

void TObjGrafico::SetPosition(std::int32_t x, std::int32_t y) {
  X = x;
  Y = y;
  KeepInside();
}

void TObjGrafico::KeepInside() {}

void TObjGrafico::DrawShape() {}

void TObjGrafico::Draw() {
  UseNormalPens();
  DrawShape();
}

void TObjGrafico::Erase() {
  UseErasePens();
  DrawShape();
}

void TObjGrafico::ToggleMark() {
  UseMarkPens();
  const std::int64_t w = HalfWidth;
  const std::int64_t h = HalfHeight;
  Surface().Rectangle(SatAdd(X, -w - 2), SatAdd(Y, -h - 2), SatAdd(X, w + 2),
                      SatAdd(Y, h + 3));
}

void TObjGrafico::Select() {
  Selected = true;
  ToggleMark();
}

void TObjGrafico::Deselect() {
  Selected = false;
  ToggleMark();
}

void TObjGrafico::DrawOutline() { DrawShape(); }

void TObjGrafico::RecordGrabPoint(std::int32_t x, std::int32_t y) {
  DragOffsetX = SatAdd(x, -std::int64_t(X));
  DragOffsetY = SatAdd(y, -std::int64_t(Y));
}

void TObjGrafico::MoveGrabPointTo(std::int32_t x, std::int32_t y) {
  SetPosition(SatAdd(x, -std::int64_t(DragOffsetX)), SatAdd(y, -std::int64_t(DragOffsetY)));
}

void TObjGrafico::BeginDrag(std::int32_t x, std::int32_t y) {
  RecordGrabPoint(x, y);
  UseOutlinePens();
  DrawOutline();
}

void TObjGrafico::DragTo(std::int32_t x, std::int32_t y) {
  DrawOutline();
  MoveGrabPointTo(x, y);
  DrawOutline();
}

void TObjGrafico::EndDrag() { DrawOutline(); }

bool TObjGrafico::HitTest(std::int32_t, std::int32_t) { return false; }

bool TObjGrafico::SpareQuery() { return false; }
