#include "document/SimulationPlan.h"

#include "model/uRel.h"
#include "model/uVar.h"

void SimulationPlan::Prepare(const std::vector<std::unique_ptr<TVariavel>>& variables,
                             const std::vector<std::unique_ptr<TRelacionamento>>& relationships) {
  destinations_.clear();
  incoming_.clear();
  for (const auto& v : variables) {
    for (TRelacionamento* r : v->Relationships)
      if (r->Destination == v.get()) incoming_.push_back(r);
    destinations_.push_back({v.get(), static_cast<std::uint32_t>(incoming_.size())});
  }
  awake_.reserve(destinations_.size());
  inputs_.reserve(incoming_.size());
  variableCount_ = variables.size();
  relationshipCount_ = relationships.size();
  prepared_ = true;
}

void SimulationPlan::BeginTick() {
  awake_.clear();
  inputs_.clear();
  std::uint32_t begin = 0;
  for (const Destination& d : destinations_) {
    if (d.variable->Awake) {
      for (std::uint32_t i = begin; i < d.end; ++i) {
        const TRelacionamento* r = incoming_[i];
        if (r->PassesOn()) inputs_.push_back({r->OutputSource(), r->Effect, r->SameDirection});
      }
      awake_.push_back({d.variable, static_cast<std::uint32_t>(inputs_.size())});
    }
    begin = d.end;
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
