// How a variable takes part in one integration stage.

#include "model/uRel.h"
#include "model/uVar.h"

#include <cmath>

StageInput TVariavel::GatherInput() const {
  const bool product = CombineMode == CombineMode::Product;
  StageInput g = StageInput::For(CombineMode);
  for (const TRelacionamento* r : Relationships) {
    if (!r->Active || r->Destination != this) continue;
    g.Take(product, r->Contribution, r->Effect);
  }
  g.Finish(CombineMode);
  return g;
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
  ThresholdValue = BoundedInnerValue(InnerValueOfLevel(ThresholdLevel));
}

bool TVarLigaDesliga::ThresholdCrossed() const {
  const long double start = TickStartValue;
  const long double now = InnerValue;
  const long double t = ThresholdValue;
  return (now < t && t <= start) || (start <= t && t < now);
}
