#include "bench/FlatKernel.h"

#include "document/uEditor.h"
#include "model/uRel.h"
#include "model/uVar.h"

#include <cmath>
#include <unordered_map>

namespace {

constexpr long double kStep = 0.001L;
constexpr long double kBound = 6;
const long double kWeak = 0.2L;
const long double kStrong = 1.0L;

}  // namespace

FlatKernel::FlatKernel(const TEditor& editor) {
  std::unordered_map<const TVariavel*, std::int32_t> index;
  for (const auto& v : editor.Variables) {
    index[v.get()] = std::int32_t(inner_.size());
    inner_.push_back(v->InnerValue);
    pending_.push_back(v->PendingValue);
    level_.push_back(v->Level);
    y0_.push_back(v->StageValues[0]);
    k1_.push_back(v->StageValues[1]);
    k2_.push_back(v->StageValues[2]);
    k3_.push_back(v->StageValues[3]);
    k4_.push_back(v->StageValues[4]);
    selfRate_.push_back(v->SelfChangeRate);
    selfDecreases_.push_back(v->SelfChangeDecreases);
    awake_.push_back(v->Awake);
    onOff_.push_back(v->IsOnOff());
    any_.push_back(v->IsAnyValue());
    combine_.push_back(v->CombineMode);
    inputKind_.push_back(v->InputKind);
    const auto* s = v->IsOnOff() ? static_cast<const TVarLigaDesliga*>(v.get()) : nullptr;
    threshold_.push_back(s ? s->ThresholdLevel : 0);
    onBelow_.push_back(s ? s->OnBelow : 0);
    effectWhenOn_.push_back(s ? s->EffectWhenOn : EffectWhenOn::EqualToValue);
  }
  for (const auto& v : editor.Variables) {
    for (const TRelacionamento* r : v->Relationships) {
      if (r->Destination != v.get()) continue;
      origin_.push_back(index.at(r->Origin));
      effect_.push_back(r->Effect);
      same_.push_back(r->SameDirection);
      relAwake_.push_back(r->Awake);
    }
    incomingEnd_.push_back(std::uint32_t(origin_.size()));
  }
}

void FlatKernel::BeginTick() {
  awakeList_.clear();
  inputEnd_.clear();
  inputSource_.clear();
  inputEffect_.clear();
  inputSame_.clear();
  std::uint32_t begin = 0;
  for (std::size_t i = 0; i < inner_.size(); ++i) {
    if (awake_[i]) {
      for (std::uint32_t j = begin; j < incomingEnd_[i]; ++j) {
        const std::size_t o = std::size_t(origin_[j]);
        bool on = relAwake_[j] && awake_[o];
        if (on && onOff_[o])
          on = onBelow_[o] ? level_[o] <= threshold_[o] : level_[o] >= threshold_[o];
        if (!on) continue;
        const long double* source = &inner_[o];
        if (onOff_[o] && effectWhenOn_[o] == EffectWhenOn::Weak) source = &kWeak;
        if (onOff_[o] && effectWhenOn_[o] == EffectWhenOn::Strong) source = &kStrong;
        inputSource_.push_back(source);
        inputEffect_.push_back(effect_[j]);
        inputSame_.push_back(same_[j]);
      }
      awakeList_.push_back(std::int32_t(i));
      inputEnd_.push_back(std::uint32_t(inputSource_.size()));
    }
    begin = incomingEnd_[i];
  }
}

template <bool kEuler>
void FlatKernel::Stage(int stage) {
  std::uint32_t in = 0;
  for (std::size_t a = 0; a < awakeList_.size(); ++a) {
    const std::size_t i = std::size_t(awakeList_[a]);
    const CombineMode mode = combine_[i];
    const bool product = mode == CombineMode::Product;
    long double acc = product ? 1 : 0;
    long double wsum = 0;
    for (const std::uint32_t end = inputEnd_[a]; in < end; ++in) {
      long double c = *inputSource_[in] * static_cast<long double>(inputEffect_[in]);
      if (!inputSame_[in]) {
        if (!product)
          c = -c;
        else if (c >= 0 && c < 1e-16L)
          c = 6;
        else if (c > -1e-16L && c < 0)
          c = -6;
        else
          c = 1 / c;
      }
      if (product)
        acc *= c;
      else
        acc += c;
      wsum += inputEffect_[in];
    }
    if (mode == CombineMode::Mean && wsum > 0) acc /= wsum;
    if (std::isnan(acc)) acc = 0;

    if (kEuler || stage == 1) y0_[i] = inner_[i];
    const long double y0 = y0_[i];
    long double p = pending_[i];
    if (wsum > 0) {
      if (inputKind_[i] == RelationshipKind::Proportion) {
        p = acc;
      } else if (kEuler) {
        p = acc * kStep + inner_[i];
      } else {
        long double d = 0;
        switch (stage) {
          case 1: k1_[i] = acc; d = acc * kStep / 2; break;
          case 2: k2_[i] = acc; d = acc * kStep / 2; break;
          case 3: k3_[i] = acc; d = acc * kStep; break;
          default:
            k4_[i] = acc;
            d = ((k2_[i] * 2 + k1_[i]) + k3_[i] * 2 + k4_[i]) * kStep / 6;
            break;
        }
        p = y0 + d;
      }
    }
    const long double s = y0 * static_cast<long double>(selfRate_[i]);
    p = selfDecreases_[i] ? p - s : p + s;
    if (std::isnan(p)) p = 0;
    if (p > kBound) p = kBound;
    if (p < -kBound) p = -kBound;
    pending_[i] = p;
  }
  for (const std::int32_t i : awakeList_) {
    const long double p = pending_[std::size_t(i)];
    inner_[std::size_t(i)] = (any_[std::size_t(i)] || !(p < 0 || std::isnan(p))) ? p : 0;
  }
}

void FlatKernel::Tick(IntegrationMethod method) {
  BeginTick();
  for (int step = 0; step < 100; ++step) {
    if (method == IntegrationMethod::Euler) {
      Stage<true>(1);
    } else {
      for (int stage = 1; stage <= 4; ++stage) Stage<false>(stage);
    }
  }
  for (const std::int32_t a : awakeList_) {
    const std::size_t i = std::size_t(a);
    const long double e = std::exp(inner_[i]);
    const double v = static_cast<double>(std::isinf(e) ? 1.0L : (e - 1) / (e + 1));
    if (any_[i])
      level_[i] = std::isnan(v) ? 0 : v < -1.0 ? -1.0 : v > 1.0 ? 1.0 : v;
    else
      level_[i] = !(v >= 0.0) ? 0 : v > 1.0 ? 1.0 : v;
  }
}
