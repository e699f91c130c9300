#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class TVariavel;

/// What a tick integrates, gathered from the document's variables when the
/// tick begins: every awake variable with the relationships ending at it that
/// pass something on, in the order its sums take them (a relationship from a
/// variable to itself counts twice, as it is listed twice). Nothing is
/// searched or allocated per stage.
///
/// The order of the variables changes no number: a pass only reads inner
/// values, which change after it, when every variable commits.
class SimulationPlan {
public:
  /// Which variables are awake and which relationships pass something on
  /// holds for a whole tick: levels, and with them the on-off switches, move
  /// after it. Nothing else makes the plan: it is valid until the tick ends.
  void BeginTick(const std::vector<std::unique_ptr<TVariavel>>& variables);
  void EulerStep();
  /// stage is 1..4.
  void RungeKuttaStage(int stage);

private:
  /// A relationship that passes something on in this tick.
  struct Input {
    const long double* output;
    double effect;
    bool sameDirection;
  };
  struct Awake {
    TVariavel* variable;
    /// One past its last entry in inputs_.
    std::uint32_t end;
  };

  template <class Step>
  void Pass(Step step);

  std::vector<Awake> awake_;
  std::vector<Input> inputs_;
};
