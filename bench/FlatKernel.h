#pragma once

#include "document/uEditor.h"
#include "model/Modes.h"

#include <cstdint>
#include <vector>

/// The integration of a tick on plain arrays: the same 80-bit arithmetic in
/// the same order as the document's Tick, without objects, virtual calls or
/// drawing. It is the yardstick the engine is measured against, and its
/// results must equal the engine's bit for bit.
class FlatKernel {
public:
  /// Copies the model of a document whose animation has started.
  explicit FlatKernel(const TEditor& editor);

  /// 100 sub-steps and the new levels.
  void Tick(IntegrationMethod method);

  const std::vector<long double>& Inner() const { return inner_; }
  const std::vector<long double>& Level() const { return level_; }

private:
  void BeginTick();
  template <bool kEuler>
  void Stage(int stage);

  // Per variable.
  std::vector<long double> inner_, pending_, level_, threshold_;
  std::vector<long double> y0_, k1_, k2_, k3_, k4_;
  std::vector<double> selfRate_;
  std::vector<std::uint8_t> awake_, onOff_, any_, onBelow_, selfDecreases_;
  std::vector<CombineMode> combine_;
  std::vector<RelationshipKind> inputKind_;
  std::vector<EffectWhenOn> effectWhenOn_;
  // Per relationship ending at a variable, grouped by destination in list order.
  std::vector<std::uint32_t> incomingEnd_;
  std::vector<std::int32_t> origin_;
  std::vector<double> effect_;
  std::vector<std::uint8_t> same_, relAwake_;
  // Per tick: the awake variables and the inputs that pass something on.
  std::vector<std::int32_t> awakeList_;
  std::vector<std::uint32_t> inputEnd_;
  std::vector<const long double*> inputSource_;
  std::vector<double> inputEffect_;
  std::vector<std::uint8_t> inputSame_;
};
