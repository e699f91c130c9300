#include "document/SimulationPlan.h"

#include "model/uRel.h"
#include "model/uVar.h"

void SimulationPlan::BeginTick(const std::vector<std::unique_ptr<TVariavel>>& variables) {
  awake_.clear();
  inputs_.clear();
  for (const auto& v : variables) {
    if (!v->Awake) continue;
    for (const TRelacionamento* r : v->Relationships) {
      if (r->Destination == v.get() && r->PassesOn())
        inputs_.push_back({r->OutputSource(), r->Effect, r->SameDirection});
    }
    awake_.push_back({v.get(), static_cast<std::uint32_t>(inputs_.size())});
  }
}

template <class Step>
void SimulationPlan::Pass(Step step) {
  const Input* in = inputs_.data();
  for (const Awake& a : awake_) {
    TVariavel& v = *a.variable;
    const CombineMode mode = v.CombineMode;
    const bool product = mode == CombineMode::Product;
    StageInput g = StageInput::For(mode);
    for (const Input* end = inputs_.data() + a.end; in != end; ++in)
      g.Take(product, ContributionOf(*in->output, in->effect, in->sameDirection, mode), in->effect);
    g.Finish(mode);
    step(v, g);
  }
  for (const Awake& a : awake_) a.variable->CommitValue();
}

void SimulationPlan::EulerStep() {
  Pass([](TVariavel& v, const StageInput& g) { v.EulerStep(g); });
}

void SimulationPlan::RungeKuttaStage(int stage) {
  Pass([stage](TVariavel& v, const StageInput& g) { v.RungeKuttaStage(stage, g); });
}
