// On-off variables: the switch strip, its threshold mark and what they pass on.

#include "model/uVar.h"

#include "platform/Numbers.h"

TVarLigaDesliga::TVarLigaDesliga() : TVarLigaDesliga(ValueRange::Positive) {}

TVarLigaDesliga::TVarLigaDesliga(ValueRange range) : TVariavel(VariableType::OnOff, range) {
  HalfWidth += 5;
}

void TVarLigaDesliga::SetLevel(double v) { TVariavel::SetLevel(v); }

void TVarLigaDesliga::SetThresholdLevel(double v) { ThresholdLevel = PositiveLevel(v); }

bool TVarLigaDesliga::IsOn() const {
  return OnBelow ? Level <= ThresholdLevel : Level >= ThresholdLevel;
}

long double TVarLigaDesliga::OutputValue() { return *OutputSource(); }

const long double* TVarLigaDesliga::OutputSource() const {
  static constexpr long double kWeak = 0.2L;
  static constexpr long double kStrong = 1.0L;
  switch (EffectWhenOn) {
    case EffectWhenOn::Weak:
      return &kWeak;
    case EffectWhenOn::Strong:
      return &kStrong;
    case EffectWhenOn::EqualToValue:
      break;
  }
  // Also for a number that names no effect: the variable's own value.
  return &InnerValue;
}

void TVarLigaDesliga::DrawBody() {
  TVariavel::DrawBody();
  ::Canvas& c = Surface();
  const std::int32_t divider = SatAdd(X, std::int64_t(SwitchWidth) - HalfWidth);
  c.MoveTo(divider, SatAdd(Y, -std::int64_t(HalfHeight)));
  c.LineTo(divider, SatAdd(Y, HalfHeight));
}

void TVarLigaDesliga::DrawLevelMark() { DrawLevelMarkRightOf(SwitchWidth); }

void TVarLigaDesliga::DrawSwitch() {
  ::Canvas& c = Surface();
  const std::int64_t w = HalfWidth;
  const std::int64_t h = HalfHeight;
  const std::int64_t s = SwitchWidth;
  const std::int32_t yt = YOfLevel(ThresholdLevel);
  // Without a pen the canvas fills one pixel short on the right and bottom,
  // which the +1s here make up for: the shading fills the strip up to the divider.
  c.SetPenStyle(PenStyle::psClear);
  c.SetBrushColor(IsOn() ? clSilver : clLightGrey);
  if (OnBelow)
    c.Rectangle(SatAdd(X, -w + 1), SatAdd(Y, h + 1), SatAdd(X, -w + s + 1), yt);
  else
    c.Rectangle(SatAdd(X, -w + 1), SatAdd(Y, -h + 1), SatAdd(X, -w + s + 1), SatAdd(yt, 2));
  c.SetPenStyle(PenStyle::psSolid);
  c.SetBrushStyle(BrushStyle::bsClear);
  c.Rectangle(SatAdd(X, -w + 3), SatAdd(yt, -1), SatAdd(X, -w + 8), SatAdd(yt, 2));
}

void TVarLigaDesliga::DrawShape() {
  TVariavel::DrawShape();
  DrawSwitch();
}

void TVarLigaDesliga::DrawFixedParts() {
  TVariavel::DrawFixedParts();
  DrawSwitch();
}

bool TVarLigaDesliga::HitLevelMark(std::int32_t x, std::int32_t y) {
  return HitLevelMarkRightOf(x, y, SwitchWidth);
}

bool TVarLigaDesliga::HitThresholdMark(std::int32_t x, std::int32_t y) {
  const std::int64_t px = x;
  const std::int64_t py = y;
  const std::int64_t w = HalfWidth;
  const std::int64_t s = SwitchWidth;
  const std::int64_t yt = YOfLevel(ThresholdLevel);
  return X - w <= px && px <= X - w + s - 1 && yt - 3 <= py && py <= yt + 3;
}

bool TVarLigaDesliga::HitTest(std::int32_t x, std::int32_t y) {
  if (!TVariavel::HitTest(x, y)) return false;
  if (HitThresholdMark(x, y)) DragMode = DragMode::ThresholdMark;
  return true;
}

void TVarLigaDesliga::BeginDrag(std::int32_t x, std::int32_t y) {
  TVariavel::BeginDrag(x, y);
  if (DragMode != DragMode::ThresholdMark) return;
  const std::int64_t w = HalfWidth;
  const std::int64_t h = HalfHeight;
  UseErasePens();
  Surface().Rectangle(SatAdd(X, -w + 1), SatAdd(Y, -h + 1), SatAdd(X, -w + SwitchWidth),
                      SatAdd(Y, h));
  UseOutlinePens();
  DrawSwitch();
}

void TVarLigaDesliga::DragTo(std::int32_t x, std::int32_t y) {
  TVariavel::DragTo(x, y);
  if (DragMode != DragMode::ThresholdMark) return;
  DrawSwitch();
  ThresholdLevel = LevelAtY(y);
  DrawSwitch();
}

void TVarLigaDesliga::EndDrag() {
  TVariavel::EndDrag();
  if (DragMode == DragMode::ThresholdMark) DrawSwitch();
}
