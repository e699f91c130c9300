#pragma once

#include "platform/Color.h"

#include <cstdint>
#include <string>
#include <string_view>

/// Pen line style: solid, every other pixel, or no outline at all.
enum class PenStyle : std::uint8_t { psSolid, psDot, psClear };

/// How the pen combines with the pixels under it. Not-xor: dst = ~(src ^ dst).
enum class PenMode : std::uint8_t { pmCopy, pmNotXor };

/// Whether the inside of rectangles and ellipses is filled.
enum class BrushStyle : std::uint8_t { bsSolid, bsClear };

/// A rectangle in canvas convention: columns left..right-1, rows top..bottom-1.
struct CanvasRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  friend bool operator==(const CanvasRect&, const CanvasRect&) = default;
};

/// The text face: family, character height in pixels, weight.
struct FontSpec {
  std::string family = "Arial";
  int pixelHeight = 11;
  bool bold = false;

  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

/// What a canvas draws with, as a new canvas has it. The setters keep colours
/// without their top byte, and a brush colour makes the brush solid.
struct CanvasTools {
  Color penColor = clBlack;
  int penWidth = 1;
  ::PenStyle penStyle = PenStyle::psSolid;
  ::PenMode penMode = PenMode::pmCopy;
  Color brushColor = clWhite;
  ::BrushStyle brushStyle = BrushStyle::bsSolid;
  Color fontColor = clBlack;
  FontSpec font;

  void SetPenColor(Color c) { penColor = ColourBits(c); }
  void SetBrushColor(Color c) {
    brushColor = ColourBits(c);
    brushStyle = BrushStyle::bsSolid;
  }
  void SetFontColor(Color c) { fontColor = ColourBits(c); }
};

/// The drawing surface every model object paints on. Its pixel rules are
/// exact, because the model's figures are laid out pixel by pixel on them.
///
/// Contracts, each proven by the canvas tests:
/// - Rectangle and Ellipse cover columns l..r-1 and rows t..b-1, after the
///   corners are ordered; the outline uses the pen, the inside the brush.
/// - LineTo leaves out its end point and moves the pen position there.
/// - In pmNotXor a figure drawn twice leaves every pixel as it was.
/// Any 32-bit coordinate is accepted: figures are clipped before they are
/// rasterised, and no coordinate arithmetic overflows.
/// Text is UTF-8; it is drawn without antialiasing so that drawing the same
/// text again in the background colour erases it exactly.
class Canvas {
public:
  virtual ~Canvas() = default;

  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;

  /// The rectangle figures are clipped to and objects keep inside of.
  virtual CanvasRect ClipRect() const = 0;

  virtual void SetPenColor(Color c) = 0;
  virtual Color PenColor() const = 0;
  virtual void SetPenWidth(int width) = 0;
  virtual int PenWidth() const = 0;
  virtual void SetPenStyle(::PenStyle style) = 0;
  virtual ::PenStyle PenStyle() const = 0;
  virtual void SetPenMode(::PenMode mode) = 0;
  virtual ::PenMode PenMode() const = 0;

  /// Setting the brush colour also makes the brush solid: the next figure is
  /// filled, whatever brush style was set before.
  virtual void SetBrushColor(Color c) = 0;
  virtual Color BrushColor() const = 0;
  virtual void SetBrushStyle(::BrushStyle style) = 0;
  virtual ::BrushStyle BrushStyle() const = 0;

  virtual void SetFontColor(Color c) = 0;
  virtual Color FontColor() const = 0;
  virtual void SetFont(const FontSpec& font) = 0;
  virtual const FontSpec& Font() const = 0;

  virtual void MoveTo(std::int32_t x, std::int32_t y) = 0;
  virtual void LineTo(std::int32_t x, std::int32_t y) = 0;
  virtual void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                         std::int32_t bottom) = 0;
  virtual void Ellipse(std::int32_t left, std::int32_t top, std::int32_t right,
                       std::int32_t bottom) = 0;
  /// Sets one pixel to c, ignoring the pen mode; outside the canvas it does nothing.
  virtual void SetPixel(std::int32_t x, std::int32_t y, Color c) = 0;
  /// The pixel's colour; white outside the canvas.
  virtual Color Pixel(std::int32_t x, std::int32_t y) const = 0;

  /// Text with its top-left corner at (x, y), in the font colour; on the brush
  /// colour while the brush is solid, transparent while it is clear.
  virtual void TextOut(std::int32_t x, std::int32_t y, std::string_view text) = 0;
  virtual std::int32_t TextWidth(std::string_view text) = 0;
  virtual std::int32_t TextHeight(std::string_view text) = 0;
};
