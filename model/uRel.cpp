#include "model/uRel.h"

#include "model/uVar.h"
#include "platform/Numbers.h"

#include <cassert>
#include <cmath>
#include <numbers>

namespace {

// 20 degrees either side of the line: the arrowhead's barbs.
constexpr double kBarbOffset = 0.3490658503988659;
constexpr double kBarbLength = 15;

// A 33-bit difference times a 32-bit half extent needs more than 64 bits.
__extension__ using Int128 = __int128;

/// Whether a point dy below the gauge's top and dx along from the diagonal's
/// starting corner lies on or below the diagonal of slope hh / hw.
///
/// This is y >= m * x + d with m = hh / hw, cross-multiplied: with a rounded
/// slope (5/3 for the default gauge) a centre exactly on a diagonal, or at the
/// gauge's own centre, falls on either side by chance.
bool OnOrBelowDiagonal(std::int64_t dy, std::int64_t dx, std::int32_t hw, std::int32_t hh) {
  const Int128 lhs = Int128(dy) * hw;
  const Int128 rhs = Int128(dx) * hh;
  // Multiplying by a negative width turns the inequality round.
  return hw >= 0 ? lhs >= rhs : lhs <= rhs;
}

}  // namespace

double DirectionAngle(std::int64_t dx, std::int64_t dy) {
  if (dx == 0) return dy >= 0 ? std::numbers::pi / 2 : 3 * std::numbers::pi / 2;
  const long double a = std::atan(static_cast<long double>(dy) / static_cast<long double>(dx));
  return static_cast<double>(dx > 0 ? a : a + std::numbers::pi_v<long double>);
}

CanvasPoint AttachPoint(const TVariavel& v, std::int32_t boxX, std::int32_t boxY) {
  const std::int64_t w = v.HalfWidth;
  const std::int64_t h = v.HalfHeight;
  const std::int64_t dy = std::int64_t(boxY) - (v.Y - h);
  // Diagonal 1 runs from the top-left corner down to the bottom-right one,
  // diagonal 2 from the top-right corner down to the bottom-left one.
  const bool below1 = OnOrBelowDiagonal(dy, std::int64_t(boxX) - (v.X - w), v.HalfWidth,
                                        v.HalfHeight);
  const bool below2 = OnOrBelowDiagonal(dy, (v.X + w) - std::int64_t(boxX), v.HalfWidth,
                                        v.HalfHeight);
  if (!below1 && !below2) return {v.X, SatAdd(v.Y, -h - v.LabelHeight)};
  if (!below1) return {SatAdd(v.X, w), v.Y};
  if (!below2) return {SatAdd(v.X, -w), v.Y};
  return {v.X, SatAdd(v.Y, h)};
}

TRelacionamento::TRelacionamento() {
  HalfWidth = 10;
  HalfHeight = 10;
}

void TRelacionamento::Connect(TVariavel* origin, TVariavel* destination) {
  Origin = origin;
  Destination = destination;
  X = static_cast<std::int32_t>((std::int64_t(origin->X) + destination->X) / 2);
  Y = static_cast<std::int32_t>((std::int64_t(origin->Y) + destination->Y) / 2);
  UpdateEndpoints();
  X = static_cast<std::int32_t>((std::int64_t(StartX) + EndX) / 2);
  Y = static_cast<std::int32_t>((std::int64_t(StartY) + EndY) / 2);
  // The endpoints stay as found from the provisional centre.
  KeepInside();
}

void TRelacionamento::UpdateEndpoints() {
  assert(Origin && Destination && "a relationship is placed before it is connected");
  const CanvasPoint start = AttachPoint(*Origin, X, Y);
  const CanvasPoint end = AttachPoint(*Destination, X, Y);
  StartX = start.x;
  StartY = start.y;
  EndX = end.x;
  EndY = end.y;
}

void TRelacionamento::SetPosition(std::int32_t x, std::int32_t y) {
  TObjGrafico::SetPosition(x, y);
  UpdateEndpoints();
}

void TRelacionamento::KeepInside() {
  // A model read without a canvas (the batch runner) has nothing to keep inside.
  if (!Canvas) return;
  const CanvasRect clip = Canvas->ClipRect();
  const std::int64_t w = HalfWidth;
  const std::int64_t h = HalfHeight;
  if (X - w < clip.left) X = SatAdd(clip.left, w);
  if (X + w > clip.right) X = SatAdd(clip.right, -w);
  if (Y - h < clip.top) Y = SatAdd(clip.top, h);
  if (Y + h > clip.bottom) Y = SatAdd(clip.bottom, -h);
}

void TRelacionamento::DrawShape() {
  ::Canvas& c = Surface();
  c.MoveTo(StartX, StartY);
  c.LineTo(X, Y);
  c.LineTo(EndX, EndY);
  // The box takes whatever brush colour is current: white after a repaint.
  c.SetBrushStyle(BrushStyle::bsSolid);
  DrawBox();
  DrawArrowhead();
}

void TRelacionamento::DrawBox() {
  ::Canvas& c = Surface();
  for (const OfferedEffect& offered : kOfferedEffects)
    if (Effect == offered.effect) c.SetPenWidth(offered.boxPenWidth);

  const std::int64_t w = HalfWidth;
  const std::int64_t h = HalfHeight;
  const std::int32_t l = SatAdd(X, -w), t = SatAdd(Y, -h), r = SatAdd(X, w), b = SatAdd(Y, h);
  if (Kind == RelationshipKind::Rate)
    c.Ellipse(l, t, r, b);
  else
    c.Rectangle(l, t, r, b);
  c.SetPenWidth(1);

  c.MoveTo(SatAdd(X, -2), SatAdd(Y, 6));
  c.LineTo(SatAdd(X, -2), SatAdd(Y, -6));
  c.LineTo(SatAdd(X, -6), SatAdd(Y, -2));
  if (SameDirection) {
    c.MoveTo(SatAdd(X, 1), SatAdd(Y, 6));
    c.LineTo(SatAdd(X, 1), SatAdd(Y, -6));
    c.LineTo(SatAdd(X, 5), SatAdd(Y, -2));
  } else {
    c.MoveTo(SatAdd(X, 1), SatAdd(Y, -6));
    c.LineTo(SatAdd(X, 1), SatAdd(Y, 6));
    c.LineTo(SatAdd(X, 5), SatAdd(Y, 2));
  }
}

double TRelacionamento::Direction() const {
  return DirectionAngle(std::int64_t(EndX) - X, std::int64_t(EndY) - Y);
}

CanvasPoint TRelacionamento::BarbPoint(double offset) const {
  return BarbPointAt(Direction(), offset);
}

CanvasPoint TRelacionamento::BarbPointAt(double direction, double offset) const {
  const double theta = direction - offset;
  const long double t = theta;
  return {SatAdd(EndX, -std::int64_t(TruncToInt32(std::cos(t) * kBarbLength))),
          SatAdd(EndY, -std::int64_t(TruncToInt32(std::sin(t) * kBarbLength)))};
}

void TRelacionamento::DrawArrowhead() {
  ::Canvas& c = Surface();
  // One arc tangent for both barbs: a big model draws thousands of arrowheads.
  const double direction = Direction();
  const CanvasPoint p1 = BarbPointAt(direction, kBarbOffset);
  c.MoveTo(p1.x, p1.y);
  c.LineTo(EndX, EndY);
  const CanvasPoint p2 = BarbPointAt(direction, -kBarbOffset);
  c.LineTo(p2.x, p2.y);
}

bool TRelacionamento::PassesOn() const {
  if (!Awake || !Origin->Awake) return false;
  return !Origin->IsOnOff() || static_cast<const TVarLigaDesliga*>(Origin)->IsOn();
}

const long double* TRelacionamento::OutputSource() const {
  if (!Origin->IsOnOff()) return &Origin->InnerValue;
  return static_cast<const TVarLigaDesliga*>(Origin)->OutputSource();
}

void TRelacionamento::ComputeContribution() {
  assert(Origin && Destination && "a relationship computes before it is connected");
  Active = PassesOn();
  if (!Active) return;
  Contribution = ContributionOf(*OutputSource(), Effect, SameDirection, Destination->CombineMode);
}

void TRelacionamento::Draw() {
  UseNormalPens();
  if (!Awake) {
    Surface().SetPenColor(clSilver);
    Surface().SetFontColor(clSilver);
  }
  DrawShape();
}

void TRelacionamento::ToggleMark() {
  UseMarkPens();
  const std::int64_t w = HalfWidth;
  const std::int64_t h = HalfHeight;
  const std::int32_t l = SatAdd(X, -w - 3), t = SatAdd(Y, -h - 3);
  const std::int32_t r = SatAdd(X, w + 2), b = SatAdd(Y, h + 2);
  if (Kind == RelationshipKind::Rate)
    Surface().Ellipse(l, t, r, b);
  else
    Surface().Rectangle(l, t, r, b);
}

bool TRelacionamento::HitTest(std::int32_t x, std::int32_t y) {
  const std::int64_t w = HalfWidth;
  const std::int64_t h = HalfHeight;
  return X - w <= x && x <= X + w && Y - h <= y && y <= Y + h;
}
