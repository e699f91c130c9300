#pragma once

#include "platform/Canvas.h"

#include <cstdint>
#include <memory>
#include <vector>

/// A Canvas that draws into a 32-bit pixel buffer of its own, the part the
/// screen plays for the model. Pixels are stored in Qt's RGB32 layout
/// (0xffRRGGBB, rows of Width() pixels) so that a widget can show the buffer
/// without converting it; Pixel() answers with the model's Color.
///
/// A new canvas is white, with a black solid pen of width 1 in copy mode at
/// (0, 0), a white solid brush and black Arial text 11 pixels high.
///
/// Rules beyond the Canvas contract, each covered by the tests:
/// - With a clear pen, Rectangle and Ellipse fill the box one pixel narrower
///   and shorter (right and bottom): the fill stops where the right and
///   bottom outline would have begun.
/// - A pen of width w draws rings from floor((w-1)/2) outside to floor(w/2)
///   inside the 1-pixel frame; a wide line stamps a w x w square per pixel.
///   A dotted pen wider than 1 draws solid; widths above 100 draw as 100.
/// - A dotted pen draws every other pixel, starting at the figure's first
///   pixel: a rectangle's frame clockwise from its top-left corner, an
///   ellipse's outline clockwise from the top centre.
/// - Text needs a QGuiApplication (it is rendered through Qt); the figures don't.
class RasterCanvas final : public Canvas {
public:
  RasterCanvas(std::int32_t width, std::int32_t height);
  ~RasterCanvas() override;
  RasterCanvas(const RasterCanvas&) = delete;
  RasterCanvas& operator=(const RasterCanvas&) = delete;

  /// New size, every pixel white; the clip rectangle becomes the whole buffer.
  void Resize(std::int32_t width, std::int32_t height);
  /// Defaults to (0, 0, Width(), Height()); drawing never leaves the buffer.
  void SetClipRect(const CanvasRect& r);
  const std::uint32_t* Bits() const;
  /// A copy of every pixel, for before/after comparisons.
  std::vector<std::uint32_t> Snapshot() const;
  /// Boxes that hold every pixel drawn since the last call (a few more at
  /// most), so that a view can show only what changed; a resize counts as
  /// the whole buffer. Forgets them.
  std::vector<CanvasRect> TakeChangedRects();

  std::int32_t Width() const override;
  std::int32_t Height() const override;
  CanvasRect ClipRect() const override;

  void SetPenColor(Color c) override;
  Color PenColor() const override;
  void SetPenWidth(int width) override;
  int PenWidth() const override;
  void SetPenStyle(::PenStyle style) override;
  ::PenStyle PenStyle() const override;
  void SetPenMode(::PenMode mode) override;
  ::PenMode PenMode() const override;

  void SetBrushColor(Color c) override;
  Color BrushColor() const override;
  void SetBrushStyle(::BrushStyle style) override;
  ::BrushStyle BrushStyle() const override;

  void SetFontColor(Color c) override;
  Color FontColor() const override;
  void SetFont(const FontSpec& font) override;
  const FontSpec& Font() const override;

  void MoveTo(std::int32_t x, std::int32_t y) override;
  void LineTo(std::int32_t x, std::int32_t y) override;
  void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                 std::int32_t bottom) override;
  void Ellipse(std::int32_t left, std::int32_t top, std::int32_t right,
               std::int32_t bottom) override;
  void SetPixel(std::int32_t x, std::int32_t y, Color c) override;
  Color Pixel(std::int32_t x, std::int32_t y) const override;

  void TextOut(std::int32_t x, std::int32_t y, std::string_view text) override;
  std::int32_t TextWidth(std::string_view text) override;
  std::int32_t TextHeight(std::string_view text) override;

private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};
