// How a variable takes part in one integration stage.

#include "model/uRel.h"
#include "model/uVar.h"

#include <cassert>
#include <cmath>

namespace {

constexpr long double kStep = 0.001L;
constexpr long double kBound = 6;

long double WithSelfChange(const TVariavel& v, long double pending, long double y0) {
  const long double s = y0 * static_cast<long double>(v.SelfChangeRate);
  return v.SelfChangeDecreases ? pending - s : pending + s;
}

/// Within the inner value's bounds; not a number (infinite rates of opposite
/// signs in one Runge-Kutta step) gives 0.
long double Bounded(long double value) {
  if (std::isnan(value)) return 0;
  if (value > kBound) value = kBound;
  if (value < -kBound) value = -kBound;
  return value;
}

}  // namespace

StageInput TVariavel::GatherInput() const {
  const bool product = CombineMode == 2;
  StageInput g = StageInput::For(CombineMode);
  for (const TRelacionamento* r : Relationships) {
    if (!r->Active || r->Destination != this) continue;
    g.Take(product, r->Contribution, r->Effect);
  }
  g.Finish(CombineMode);
  return g;
}

void TVariavel::EulerStep(const StageInput& g) {
  if (!Awake) return;
  StageValues[0] = InnerValue;
  if (g.wsum > 0) PendingValue = InputKind == 2 ? g.acc : g.acc * kStep + InnerValue;
  PendingValue = Bounded(WithSelfChange(*this, PendingValue, StageValues[0]));
}

void TVariavel::RungeKuttaStage(int stage, const StageInput& g) {
  assert(stage >= 1 && stage <= 4 && "Runge-Kutta stages are 1 to 4");
  if (stage < 1 || stage > 4) return;
  if (stage == 1) StageValues[0] = InnerValue;
  if (!Awake) return;
  const long double y0 = StageValues[0];
  if (g.wsum > 0) {
    if (InputKind == 2) {
      PendingValue = g.acc;
    } else {
      StageValues[stage] = g.acc;
      long double d = 0;
      switch (stage) {
        case 1:
        case 2:
          d = g.acc * kStep / 2;
          break;
        case 3:
          d = g.acc * kStep;
          break;
        case 4: {
          const long double* k = StageValues;
          d = ((k[2] * 2 + k[1]) + k[3] * 2 + k[4]) * kStep / 6;
          break;
        }
      }
      PendingValue = y0 + d;
    }
  }
  PendingValue = Bounded(WithSelfChange(*this, PendingValue, y0));
}

void TVariavel::ShowValue() {
  const long double e = std::exp(InnerValue);
  // (e - 1) / (e + 1) tends to 1; once e overflows the quotient would be inf/inf.
  const long double level = std::isinf(e) ? 1.0L : (e - 1) / (e + 1);
  SetLevel(static_cast<double>(level));
}

void TVariavel::SaveTickStart() { TickStartValue = InnerValue; }

void TVariavel::SaveStartValue() { StartValue = InnerValue; }

void TVariavel::RestoreStartValue() {
  SetInnerValue(StartValue);
  ShowValue();
}

void TVarLigaDesliga::PrepareForAnimation() {
  TVariavel::PrepareForAnimation();
  ThresholdValue = Bounded(InnerValueOfLevel(ThresholdLevel));
}

bool TVarLigaDesliga::ThresholdCrossed() const {
  const long double start = TickStartValue;
  const long double now = InnerValue;
  const long double t = ThresholdValue;
  return (now < t && t <= start) || (start <= t && t < now);
}
