#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class TVariavel;
class TRelacionamento;

/// What a tick integrates, prepared from the document's lists when the model
/// changes: every variable with the relationships that end at it, in the
/// order its sums take them (a relationship from a variable to itself counts
/// twice, as it is listed twice). Nothing is searched or allocated per stage.
///
/// The order of the variables changes no number: a pass only reads inner
/// values, which change after it, when every variable commits.
class SimulationPlan {
public:
  void Prepare(const std::vector<std::unique_ptr<TVariavel>>& variables,
               const std::vector<std::unique_ptr<TRelacionamento>>& relationships);
  /// The lists may have changed: the next tick prepares again.
  void Forget() { prepared_ = false; }
  /// Whether the plan was prepared for lists of these sizes and not forgotten since.
  bool PreparedFor(std::size_t variables, std::size_t relationships) const {
    return prepared_ && variables == variableCount_ && relationships == relationshipCount_;
  }

  /// Finds the awake variables and the relationships that pass something on.
  /// Both hold for a whole tick: levels, and with them the on-off switches, move after it.
  void BeginTick();
  void EulerStep();
  /// stage is 1..4.
  void RungeKuttaStage(int stage);

private:
  struct Destination {
    TVariavel* variable;
    /// One past its last entry in incoming_.
    std::uint32_t end;
  };
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

  std::vector<Destination> destinations_;
  std::vector<TRelacionamento*> incoming_;
  std::vector<Awake> awake_;
  std::vector<Input> inputs_;
  std::size_t variableCount_ = 0;
  std::size_t relationshipCount_ = 0;
  bool prepared_ = false;
};
