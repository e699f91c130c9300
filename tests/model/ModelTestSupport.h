#pragma once

#include "model/uRel.h"
#include "model/uVar.h"
#include "platform/Canvas.h"
#include "platform/RasterCanvas.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace model_test {

/// Everything a preset or a draw call can change on a canvas besides its pixels.
struct CanvasState {
  Color penColor = clBlack;
  int penWidth = 1;
  PenStyle penStyle = PenStyle::psSolid;
  PenMode penMode = PenMode::pmCopy;
  Color brushColor = clWhite;
  BrushStyle brushStyle = BrushStyle::bsSolid;
  Color fontColor = clBlack;
  FontSpec font;

  friend bool operator==(const CanvasState&, const CanvasState&) = default;
};

/// A canvas without pixels: it keeps its state, answers a fixed clip
/// rectangle and a text width of `charWidth` per byte, and counts the figures
/// drawn on it. For geometry that needs a canvas but no picture.
class FakeCanvas final : public Canvas {
public:
  explicit FakeCanvas(CanvasRect clip = {0, 0, 400, 300}) : clip_(clip) {}

  CanvasState state;
  std::int32_t charWidth = 7;
  int figures = 0;

  std::int32_t Width() const override { return clip_.right - clip_.left; }
  std::int32_t Height() const override { return clip_.bottom - clip_.top; }
  CanvasRect ClipRect() const override { return clip_; }
  void SetClip(CanvasRect r) { clip_ = r; }

  void SetPenColor(Color c) override { state.penColor = c; }
  Color PenColor() const override { return state.penColor; }
  void SetPenWidth(int width) override { state.penWidth = width; }
  int PenWidth() const override { return state.penWidth; }
  void SetPenStyle(::PenStyle s) override { state.penStyle = s; }
  ::PenStyle PenStyle() const override { return state.penStyle; }
  void SetPenMode(::PenMode m) override { state.penMode = m; }
  ::PenMode PenMode() const override { return state.penMode; }
  void SetBrushColor(Color c) override {
    state.brushColor = c;
    state.brushStyle = BrushStyle::bsSolid;
  }
  Color BrushColor() const override { return state.brushColor; }
  void SetBrushStyle(::BrushStyle s) override { state.brushStyle = s; }
  ::BrushStyle BrushStyle() const override { return state.brushStyle; }
  void SetFontColor(Color c) override { state.fontColor = c; }
  Color FontColor() const override { return state.fontColor; }
  void SetFont(const FontSpec& f) override { state.font = f; }
  const FontSpec& Font() const override { return state.font; }

  void MoveTo(std::int32_t, std::int32_t) override {}
  void LineTo(std::int32_t, std::int32_t) override { ++figures; }
  void Rectangle(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override { ++figures; }
  void Ellipse(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override { ++figures; }
  void SetPixel(std::int32_t, std::int32_t, Color) override { ++figures; }
  Color Pixel(std::int32_t, std::int32_t) const override { return clWhite; }
  void TextOut(std::int32_t, std::int32_t, std::string_view) override { ++figures; }
  std::int32_t TextWidth(std::string_view text) override {
    return std::int32_t(text.size()) * charWidth;
  }
  std::int32_t TextHeight(std::string_view) override { return state.font.pixelHeight; }

private:
  CanvasRect clip_;
};

/// The state of any canvas, read through its interface.
inline CanvasState StateOf(const Canvas& c) {
  return {c.PenColor(), c.PenWidth(), c.PenStyle(), c.PenMode(),
          c.BrushColor(), c.BrushStyle(), c.FontColor(), c.Font()};
}

/// A relationship from origin to destination, attached the way the model
/// document attaches a new one, without a canvas: what a simulation reads.
inline std::unique_ptr<TRelacionamento> Link(TVariavel& origin, TVariavel& destination,
                                             RelationshipKind kind = RelationshipKind::Proportion,
                                             double effect = 1.0,
                                             bool sameDirection = true) {
  auto r = std::make_unique<TRelacionamento>();
  r->Origin = &origin;
  r->Destination = &destination;
  r->Kind = kind;
  r->Effect = effect;
  r->SameDirection = sameDirection;
  destination.SetInputKind(kind);
  origin.AddRelationship(r.get());
  destination.AddRelationship(r.get());
  return r;
}

/// An active relationship into v whose contribution is set by hand, for
/// testing the destination's side alone. Its origin stays null.
inline std::unique_ptr<TRelacionamento> Incoming(TVariavel& v, long double contribution,
                                                 double effect = 1.0, bool active = true) {
  auto r = std::make_unique<TRelacionamento>();
  r->Destination = &v;
  r->Contribution = contribution;
  r->Effect = effect;
  r->Active = active;
  r->Kind = v.InputKind;
  v.AddRelationship(r.get());
  return r;
}

enum class Method { Euler, RungeKutta };

/// A model reduced to what the driver hands the variables, in list order.
struct MiniModel {
  std::vector<TVariavel*> variables;
  std::vector<TRelacionamento*> relationships;

  void Start() {
    for (TVariavel* v : variables)
      if (v->Awake) v->PrepareForAnimation();
    for (TVariavel* v : variables) v->SaveStartValue();
  }

  void SubStep(Method method) {
    const int stages = method == Method::Euler ? 1 : 4;
    for (int stage = 1; stage <= stages; ++stage) {
      for (TRelacionamento* r : relationships) r->ComputeContribution();
      for (TVariavel* v : variables) {
        if (!v->Awake) continue;
        if (method == Method::Euler)
          v->EulerStep();
        else
          v->RungeKuttaStage(stage);
      }
      for (TVariavel* v : variables)
        if (v->Awake) v->CommitValue();
    }
  }

  /// One animation tick without drawing: 100 sub-steps, then the levels shown.
  void Tick(Method method) {
    for (TVariavel* v : variables)
      if (v->Awake) v->SaveTickStart();
    for (int i = 0; i < 100; ++i) SubStep(method);
    for (TVariavel* v : variables)
      if (v->Awake) v->ShowValue();
  }
};

/// Pixels of a RasterCanvas that differ between two snapshots.
inline int CountDifferences(const std::vector<std::uint32_t>& a,
                            const std::vector<std::uint32_t>& b) {
  int n = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
  return n;
}

}  // namespace model_test
