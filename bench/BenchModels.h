#pragma once

#include <cstdint>

class TEditor;

/// The generated models every benchmark runs on; the same seed gives the same
/// model, so the engine and the flat kernel start from identical states.
enum class ModelShape {
  /// Each variable rate-feeds the next.
  Chain,
  /// Every variable receives 8 relationships from others: a third of the
  /// variables take proportion input, directions, effects and combinations
  /// are mixed, one variable in ten is on-off.
  FanIn,
  /// One relationship into each variable from a random other one: the file benchmark's model.
  Sparse,
};

struct CanvasSize {
  std::int32_t width;
  std::int32_t height;
};

/// A canvas on which n gauges stand side by side without overlapping; the
/// sparse model is scattered over a screen-sized one instead.
CanvasSize CanvasFor(ModelShape shape, int n);

/// Fills an empty document whose canvas is attached, as the file reader does.
void BuildModel(TEditor& editor, ModelShape shape, int n);

const char* ShapeName(ModelShape shape);
