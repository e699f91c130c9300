// The any-value classes, continuous and on-off: level -1 ... 1, zero at the
// gauge's centre line, marked by two ticks.

#include "model/uVar.h"

#include "platform/Numbers.h"

#include <algorithm>
#include <cmath>

namespace {

std::int32_t AnyValueYOfLevel(const TVariavel& v, long double level) {
  return RoundHalfEven(static_cast<long double>(v.Y) -
                       level * static_cast<long double>(v.HalfHeight - 2));
}

long double AnyValueLevelAtY(const TVariavel& v, std::int32_t y) {
  const std::int64_t top = std::int64_t(v.Y) - v.HalfHeight + 2;
  const std::int64_t bottom = std::int64_t(v.Y) + v.HalfHeight - 2;
  const std::int64_t bounded = std::clamp<std::int64_t>(y, top, bottom);
  return static_cast<long double>(v.Y - bounded) / static_cast<long double>(v.HalfHeight - 2);
}

/// v bounded to [-1, 1]; not a number gives 0, so that a level always lies on the gauge.
long double AnyValueLevel(double v) {
  if (std::isnan(v)) return 0;
  return std::clamp(v, -1.0, 1.0);
}

/// The two zero ticks, the left one starting at x offset `leftInset` from the body's left edge.
void DrawZeroTicks(Canvas& c, const TVariavel& v, std::int64_t leftInset) {
  const std::int64_t w = v.HalfWidth;
  c.Rectangle(SatAdd(v.X, -w + leftInset + 1), v.Y, SatAdd(v.X, -w + leftInset + 3),
              SatAdd(v.Y, 1));
  c.Rectangle(SatAdd(v.X, w - 1), v.Y, SatAdd(v.X, w - 3), SatAdd(v.Y, 1));
}

}  // namespace

TVarContinuaQualquerValor::TVarContinuaQualquerValor() : TVarContinua(ValueRange::AnyValue) {
  HalfHeight *= 2;
}

void TVarContinuaQualquerValor::SetInnerValue(long double v) { InnerValue = v; }

void TVarContinuaQualquerValor::SetLevel(double v) { Level = AnyValueLevel(v); }

void TVarContinuaQualquerValor::DrawBody() {
  TVariavel::DrawBody();
  DrawZeroTicks(Surface(), *this, 0);
}

long double TVarContinuaQualquerValor::LevelAtY(std::int32_t y) {
  return AnyValueLevelAtY(*this, y);
}

std::int32_t TVarContinuaQualquerValor::YOfLevel(long double level) {
  return AnyValueYOfLevel(*this, level);
}

TVarLigaDesligaQualquerValor::TVarLigaDesligaQualquerValor()
    : TVarLigaDesliga(ValueRange::AnyValue) {
  HalfHeight *= 2;
}

void TVarLigaDesligaQualquerValor::SetInnerValue(long double v) { InnerValue = v; }

void TVarLigaDesligaQualquerValor::SetLevel(double v) { Level = AnyValueLevel(v); }

void TVarLigaDesligaQualquerValor::SetThresholdLevel(double v) {
  ThresholdLevel = AnyValueLevel(v);
}

void TVarLigaDesligaQualquerValor::DrawBody() {
  TVarLigaDesliga::DrawBody();
  DrawZeroTicks(Surface(), *this, SwitchWidth);
}

long double TVarLigaDesligaQualquerValor::LevelAtY(std::int32_t y) {
  return AnyValueLevelAtY(*this, y);
}

std::int32_t TVarLigaDesligaQualquerValor::YOfLevel(long double level) {
  return AnyValueYOfLevel(*this, level);
}
