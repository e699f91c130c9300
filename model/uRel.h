#pragma once

#include "model/Modes.h"
#include "model/uObjGrf.h"

#include <cstdint>

class TVariavel;

struct CanvasPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};

/// What a relationship passes on, its origin's output times its effect, as a
/// destination that combines by combineMode takes it: the opposite direction
/// negates it for a sum or a mean and inverts it for a product, the
/// reciprocal of (nearly) zero held at the inner value's bounds.
inline long double ContributionOf(long double output, double effect, bool sameDirection,
                                  CombineMode combineMode) {
  const long double v = output * static_cast<long double>(effect);
  if (sameDirection) return v;
  if (combineMode != CombineMode::Product) return -v;
  // -0 passes the first test and gives +6.
  if (v >= 0 && v < 1e-16L) return 6;
  if (v > -1e-16L && v < 0) return -6;
  return 1 / v;
}

/// An effect the relationship dialog offers, and the width of the box outline
/// that shows it.
struct OfferedEffect {
  double effect;
  int boxPenWidth;
};

/// "Fraco", "Normal" and "Forte", weakest first. A file may hold any other
/// effect: its box keeps the pen width the canvas has.
inline constexpr OfferedEffect kOfferedEffects[] = {{0.5, 1}, {1.0, 2}, {2.0, 3}};

/// Angle in radians, screen orientation, of the vector (dx, dy).
double DirectionAngle(std::int64_t dx, std::int64_t dy);

/// The middle of the side of v's gauge whose diagonal sector holds (boxX, boxY);
/// the top side attaches above the name.
CanvasPoint AttachPoint(const TVariavel& v, std::int32_t boxX, std::int32_t boxY);

/// A directed causal link from Origin to Destination, drawn as a line bent at
/// a 20 x 20 box (circle for rate, square for proportion) with an open
/// arrowhead on the destination.
class TRelacionamento : public TObjGrafico {
public:
  TRelacionamento();

  /// Not owned.
  TVariavel* Origin = nullptr;
  /// Not owned.
  TVariavel* Destination = nullptr;
  std::int32_t StartX = 0;
  std::int32_t StartY = 0;
  std::int32_t EndX = 0;
  std::int32_t EndY = 0;
  /// Valid only while Active: the origin's output times Effect, direction
  /// applied. Both are set by ComputeContribution.
  long double Contribution = 0;
  bool Active = false;
  RelationshipKind Kind = RelationshipKind::Proportion;
  bool SameDirection = true;
  bool Awake = true;
  double Effect = 1.0;

  void SetPosition(std::int32_t x, std::int32_t y) override;
  void KeepInside() override;
  void DrawShape() override;
  void Draw() override;
  void ToggleMark() override;
  bool HitTest(std::int32_t x, std::int32_t y) override;

  /// Stores both ends and places the box halfway between their attach points.
  void Connect(TVariavel* origin, TVariavel* destination);
  void UpdateEndpoints();
  /// Whether the relationship passes anything on: it and its origin awake, an
  /// on-off origin on. Constant while a tick integrates (levels move after it).
  bool PassesOn() const;
  /// Where the origin's output lives during a tick: its inner value, or a
  /// constant for an on-off origin that passes a fixed amount.
  const long double* OutputSource() const;
  /// For tests and the document's reference passes only: Active and
  /// Contribution for this stage. The animation computes contributions in
  /// its plan, from PassesOn and OutputSource.
  void ComputeContribution();

  void DrawBox();
  void DrawArrowhead();
  CanvasPoint BarbPoint(double offset) const;
  CanvasPoint BarbPointAt(double direction, double offset) const;
  /// The angle of the line from the box to the end point.
  double Direction() const;
};
