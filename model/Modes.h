#pragma once

#include <cstdint>

// The modes of the model objects, numbered as the model file and the dialogs
// number them. Only the file reader and writer convert between numbers and
// modes. A file may carry a number that names no mode: the objects keep it,
// and each rule says what it does with one.

/// How a relationship's origin acts on its destination.
enum class RelationshipKind : std::int32_t {
  /// The origin determines how fast the destination changes ("taxa").
  Rate = 1,
  /// The origin determines the destination's value ("proporção").
  Proportion = 2,
};

/// How a variable combines the contributions that reach it.
enum class CombineMode : std::int32_t {
  Sum = 1,
  Product = 2,
  /// The arithmetic mean weighted by the relationships' effects.
  Mean = 3,
};

/// What an on-off variable passes on while it is on.
enum class EffectWhenOn : std::int32_t {
  /// Its own inner value ("Igual a...").
  EqualToValue = 1,
  /// 0.2 ("Fraco").
  Weak = 2,
  /// 1.0 ("Forte").
  Strong = 3,
};

/// The part of a gauge that the last HitTest found, and so what a drag moves.
enum class DragMode : std::int32_t {
  None = 0,
  /// The gauge or its name: the whole variable moves.
  Body = 1,
  /// The level mark: the level follows the pointer.
  LevelMark = 2,
  /// An on-off variable's threshold mark in its switch strip.
  ThresholdMark = 3,
};

/// Continuous ("Contínua") or on-off ("Liga-Desliga").
enum class VariableType : std::int32_t { Continuous = 1, OnOff = 2 };

/// Positive values only, 0 ... 1, or any value, -1 ... 1.
enum class ValueRange : std::int32_t { Positive = 1, AnyValue = 2 };

/// A variable's class as one two-digit code: the type in the tens, the range
/// in the units.
enum class KindCode : std::int32_t {
  ContinuousPositive = 11,
  ContinuousAnyValue = 12,
  OnOffPositive = 21,
  OnOffAnyValue = 22,
};

constexpr KindCode KindCodeOf(VariableType type, ValueRange range) {
  return static_cast<KindCode>(static_cast<std::int32_t>(type) * 10 +
                               static_cast<std::int32_t>(range));
}
