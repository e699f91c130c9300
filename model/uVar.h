#pragma once

#include "model/Modes.h"
#include "model/uObjGrf.h"

#include <cassert>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TRelacionamento;

/// Longest name a variable is given, in characters.
inline constexpr std::size_t kMaxNameLength = 4096;

/// The text as a variable's name. A name is one line of the model file: each
/// line break becomes a space, and at most kMaxNameLength characters (of
/// valid UTF-8) are kept.
std::string OneLineName(std::string_view text);

/// A tick integrates over 100 sub-steps of this length.
inline constexpr long double kSubStepLength = 0.001L;

/// Within the inner value's bounds, +-6; not a number (infinite rates of
/// opposite signs in one Runge-Kutta step) gives 0.
inline long double BoundedInnerValue(long double value) {
  constexpr long double kBound = 6;
  if (std::isnan(value)) return 0;
  if (value > kBound) value = kBound;
  if (value < -kBound) value = -kBound;
  return value;
}

/// The relationships ending at a variable, combined for one integration stage.
struct StageInput {
  long double acc = 0;
  /// Sum of the effects of the active relationships taken; > 0 means the
  /// variable has input in this stage.
  long double wsum = 0;

  /// Empty input for a variable that combines by combineMode.
  static StageInput For(CombineMode combineMode) {
    return {combineMode == CombineMode::Product ? 1.0L : 0.0L, 0};
  }
  void Take(bool product, long double contribution, double effect) {
    if (product)
      acc *= contribution;
    else
      acc += contribution;
    wsum += effect;
  }
  /// A mean divides by the effects; huge factors times a zero one (infinity
  /// times 0) give 0, so that no NaN reaches a variable.
  void Finish(CombineMode combineMode) {
    if (combineMode == CombineMode::Mean && wsum > 0) acc /= wsum;
    if (std::isnan(acc)) acc = 0;
  }
};

/// A named quantity shown as a vertical gauge with a level mark. Never
/// instantiated itself: the four concrete classes below are.
///
/// Two scales: Level, bounded, what the gauge shows and the file stores; and
/// InnerValue, unbounded, what the integration moves; Level = tanh(InnerValue/2).
class TVariavel : public TObjGrafico {
public:
  TVariavel();
  ~TVariavel() override = default;

  /// Known from the class when the object is made: a class change replaces the object.
  bool IsOnOff() const { return type_ == VariableType::OnOff; }
  bool IsAnyValue() const { return range_ == ValueRange::AnyValue; }
  ::KindCode KindCode() const { return KindCodeOf(type_, range_); }

  /// UTF-8.
  std::string Name;
  std::int32_t HalfNameWidth = 0;
  std::int32_t LabelHeight = 16;
  /// Every relationship that starts or ends here, in the order attached; not owned.
  std::vector<TRelacionamento*> Relationships;
  /// Kind shared by all relationships ending here.
  RelationshipKind InputKind = RelationshipKind::Proportion;
  long double Level = 0;
  long double InnerValue = 0;
  long double PendingValue = 0;
  long double TickStartValue = 0;
  /// [0]: InnerValue at the start of the sub-step; [1..4]: Runge-Kutta stage rates.
  long double StageValues[5] = {0, 0, 0, 0, 0};
  long double StartValue = 0;
  /// What the last HitTest found.
  ::DragMode DragMode = DragMode::None;
  ::Color Color = clBlack;
  bool PlotInGraph = false;
  bool Awake = true;
  double SelfChangeRate = 0.0;
  bool SelfChangeDecreases = true;
  ::CombineMode CombineMode = CombineMode::Sum;

  void KeepInside() override;
  void DrawShape() override;
  void Draw() override;
  void Erase() override;
  void DrawOutline() override;
  void BeginDrag(std::int32_t x, std::int32_t y) override;
  void DragTo(std::int32_t x, std::int32_t y) override;
  void EndDrag() override;
  bool HitTest(std::int32_t x, std::int32_t y) override;

  virtual void SetInnerValue(long double v);
  virtual void SetLevel(double v);
  virtual long double OutputValue();
  virtual void DrawBody();
  virtual void DrawName();
  virtual void DrawLevelMark();
  virtual void DrawFixedParts();
  virtual long double LevelAtY(std::int32_t y);
  virtual std::int32_t YOfLevel(long double level);
  virtual bool HitLevelMark(std::int32_t x, std::int32_t y);
  virtual void PrepareForAnimation();

  /// Needs the canvas: measures the name in the canvas's current font.
  void SetName(const std::string& s);
  void SetInputKind(RelationshipKind k);
  void AddRelationship(TRelacionamento* r);
  /// Answers whether a relationship ending here remains; if none, InputKind
  /// becomes Proportion again.
  bool RemoveRelationship(TRelacionamento* r);
  bool HitBodyOrLabel(std::int32_t x, std::int32_t y) const;

  /// One integration stage of this variable with the input that reaches it.
  void EulerStep(const StageInput& input);
  /// stage is 1..4.
  void RungeKuttaStage(int stage, const StageInput& input);
  /// For tests and the document's reference passes only: the stage's input
  /// gathered from Relationships and their Contribution, and the stages that
  /// take it. The animation hands each stage its input from its plan.
  StageInput GatherInput() const;
  void EulerStep() { EulerStep(GatherInput()); }
  void RungeKuttaStage(int stage) { RungeKuttaStage(stage, GatherInput()); }
  /// SetInnerValue(PendingValue), without the virtual call.
  void CommitValue() {
    const long double v = PendingValue;
    InnerValue = (IsAnyValue() || !(v < 0 || std::isnan(v))) ? v : 0;
  }
  void ShowValue();
  void SaveTickStart();
  void SaveStartValue();
  void RestoreStartValue();

  /// ln((1 + level) / (1 - level)), and 6 or -6 for a level within 1e-16 of
  /// 1 or -1 (or beyond them): the inner value an animation starts from.
  static long double InnerValueOfLevel(long double level);

protected:
  TVariavel(VariableType type, ValueRange range);

  /// v bounded to [0, 1]; not a number gives 0.
  static long double PositiveLevel(double v);
  /// The pens of Draw: normal while awake, silver while asleep.
  void UseStatePens();
  /// The level mark in the part of the body that starts leftInset pixels
  /// right of its left edge (on-off gauges keep their switch strip there).
  void DrawLevelMarkRightOf(std::int64_t leftInset);
  bool HitLevelMarkRightOf(std::int32_t x, std::int32_t y, std::int64_t leftInset);

private:
  long double WithSelfChange(long double pending, long double y0) const {
    const long double s = y0 * static_cast<long double>(SelfChangeRate);
    return SelfChangeDecreases ? pending - s : pending + s;
  }

  VariableType type_;
  ValueRange range_;
};

/// Continuous variable, positive values (0 ... 1).
class TVarContinua : public TVariavel {
public:
  TVarContinua() = default;

protected:
  explicit TVarContinua(ValueRange range) : TVariavel(VariableType::Continuous, range) {}
};

/// Continuous variable, any value (-1 ... 1); twice as tall.
class TVarContinuaQualquerValor : public TVarContinua {
public:
  TVarContinuaQualquerValor();

  void SetInnerValue(long double v) override;
  void SetLevel(double v) override;
  void DrawBody() override;
  long double LevelAtY(std::int32_t y) override;
  std::int32_t YOfLevel(long double level) override;
};

/// On-off variable, positive values: passes something on only while on, and
/// shows its threshold in a switch strip at the left of the gauge.
class TVarLigaDesliga : public TVariavel {
public:
  TVarLigaDesliga();

  std::int32_t SwitchWidth = 10;
  long double ThresholdLevel = 0;
  /// ThresholdLevel on the inner scale, computed by PrepareForAnimation.
  long double ThresholdValue = 0;
  /// true: on at or below the threshold; false: on at or above it.
  bool OnBelow = false;
  ::EffectWhenOn EffectWhenOn = EffectWhenOn::EqualToValue;

  void DrawShape() override;
  void BeginDrag(std::int32_t x, std::int32_t y) override;
  void DragTo(std::int32_t x, std::int32_t y) override;
  void EndDrag() override;
  bool HitTest(std::int32_t x, std::int32_t y) override;
  void SetLevel(double v) override;
  long double OutputValue() override;
  void DrawBody() override;
  void DrawLevelMark() override;
  void DrawFixedParts() override;
  bool HitLevelMark(std::int32_t x, std::int32_t y) override;
  void PrepareForAnimation() override;

  virtual void SetThresholdLevel(double v);

  bool IsOn() const;
  /// Where OutputValue's amount lives: the inner value, or a constant for
  /// the weak and strong effects.
  const long double* OutputSource() const;
  void DrawSwitch();
  bool HitThresholdMark(std::int32_t x, std::int32_t y);
  bool ThresholdCrossed() const;

protected:
  explicit TVarLigaDesliga(ValueRange range);
};

/// On-off variable, any value (-1 ... 1).
class TVarLigaDesligaQualquerValor : public TVarLigaDesliga {
public:
  TVarLigaDesligaQualquerValor();

  void SetInnerValue(long double v) override;
  void SetLevel(double v) override;
  void DrawBody() override;
  long double LevelAtY(std::int32_t y) override;
  std::int32_t YOfLevel(long double level) override;
  void SetThresholdLevel(double v) override;
};

/// A new variable of the class the code names; null for a number that names none.
std::unique_ptr<TVariavel> NewVariableOfKindCode(KindCode code);

// The stages are defined here so that the tick's loop inlines them.

inline void TVariavel::EulerStep(const StageInput& g) {
  if (!Awake) return;
  StageValues[0] = InnerValue;
  if (g.wsum > 0)
    PendingValue =
        InputKind == RelationshipKind::Proportion ? g.acc : g.acc * kSubStepLength + InnerValue;
  PendingValue = BoundedInnerValue(WithSelfChange(PendingValue, StageValues[0]));
}

inline void TVariavel::RungeKuttaStage(int stage, const StageInput& g) {
  assert(stage >= 1 && stage <= 4 && "Runge-Kutta stages are 1 to 4");
  if (stage < 1 || stage > 4) return;
  if (stage == 1) StageValues[0] = InnerValue;
  if (!Awake) return;
  const long double y0 = StageValues[0];
  if (g.wsum > 0) {
    if (InputKind == RelationshipKind::Proportion) {
      PendingValue = g.acc;
    } else {
      StageValues[stage] = g.acc;
      long double d = 0;
      switch (stage) {
        case 1:
        case 2:
          d = g.acc * kSubStepLength / 2;
          break;
        case 3:
          d = g.acc * kSubStepLength;
          break;
        case 4: {
          const long double* k = StageValues;
          d = ((k[2] * 2 + k[1]) + k[3] * 2 + k[4]) * kSubStepLength / 6;
          break;
        }
      }
      PendingValue = y0 + d;
    }
  }
  PendingValue = BoundedInnerValue(WithSelfChange(PendingValue, y0));
}
