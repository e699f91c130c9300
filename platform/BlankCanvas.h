#pragma once

#include "platform/Canvas.h"

#include <memory>

class TextFace;

/// A Canvas with a size and no pixels: it keeps the pen, brush and font and
/// measures text as RasterCanvas does, so that a model lays itself out on it
/// exactly as on a RasterCanvas of that size, while drawing costs nothing.
/// Every pixel reads white. Text needs a QGuiApplication, unless the canvas
/// is made without text: then every text is 0 pixels wide and high, for a run
/// whose results show no position, which is all a text's size moves.
class BlankCanvas final : public Canvas {
public:
  enum class Text { Measured, Skipped };

  BlankCanvas(std::int32_t width, std::int32_t height, Text text = Text::Measured);
  ~BlankCanvas() override;
  BlankCanvas(const BlankCanvas&) = delete;
  BlankCanvas& operator=(const BlankCanvas&) = delete;

  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  CanvasRect ClipRect() const override { return {0, 0, width_, height_}; }

  void SetPenColor(Color c) override { tools_.SetPenColor(c); }
  Color PenColor() const override { return tools_.penColor; }
  void SetPenWidth(int width) override { tools_.penWidth = width; }
  int PenWidth() const override { return tools_.penWidth; }
  void SetPenStyle(::PenStyle style) override { tools_.penStyle = style; }
  ::PenStyle PenStyle() const override { return tools_.penStyle; }
  void SetPenMode(::PenMode mode) override { tools_.penMode = mode; }
  ::PenMode PenMode() const override { return tools_.penMode; }

  void SetBrushColor(Color c) override { tools_.SetBrushColor(c); }
  Color BrushColor() const override { return tools_.brushColor; }
  void SetBrushStyle(::BrushStyle style) override { tools_.brushStyle = style; }
  ::BrushStyle BrushStyle() const override { return tools_.brushStyle; }

  void SetFontColor(Color c) override { tools_.SetFontColor(c); }
  Color FontColor() const override { return tools_.fontColor; }
  void SetFont(const FontSpec& font) override;
  const FontSpec& Font() const override { return tools_.font; }

  void MoveTo(std::int32_t, std::int32_t) override {}
  void LineTo(std::int32_t, std::int32_t) override {}
  void Rectangle(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
  void Ellipse(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
  void SetPixel(std::int32_t, std::int32_t, Color) override {}
  Color Pixel(std::int32_t, std::int32_t) const override { return clWhite; }

  void TextOut(std::int32_t, std::int32_t, std::string_view) override {}
  std::int32_t TextWidth(std::string_view text) override;
  std::int32_t TextHeight(std::string_view text) override;

private:
  TextFace& Face();

  std::int32_t width_;
  std::int32_t height_;
  Text text_;
  CanvasTools tools_;
  /// Made at the first text, dropped with the font.
  std::unique_ptr<TextFace> face_;
};
