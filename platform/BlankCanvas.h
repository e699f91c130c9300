#pragma once

#include "platform/Canvas.h"

#include <memory>

class TextFace;

/// A Canvas with a size and no pixels: it keeps the pen, brush, font and
/// clip rectangle and measures text as RasterCanvas does, so that a model
/// lays itself out on it exactly as on a RasterCanvas of that size, while
/// drawing costs nothing. Every pixel reads white. Text needs a QGuiApplication.
class BlankCanvas final : public Canvas {
public:
  BlankCanvas(std::int32_t width, std::int32_t height);
  ~BlankCanvas() override;
  BlankCanvas(const BlankCanvas&) = delete;
  BlankCanvas& operator=(const BlankCanvas&) = delete;

  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  CanvasRect ClipRect() const override { return {0, 0, width_, height_}; }

  void SetPenColor(Color c) override;
  Color PenColor() const override { return penColor_; }
  void SetPenWidth(int width) override { penWidth_ = width; }
  int PenWidth() const override { return penWidth_; }
  void SetPenStyle(::PenStyle style) override { penStyle_ = style; }
  ::PenStyle PenStyle() const override { return penStyle_; }
  void SetPenMode(::PenMode mode) override { penMode_ = mode; }
  ::PenMode PenMode() const override { return penMode_; }

  void SetBrushColor(Color c) override;
  Color BrushColor() const override { return brushColor_; }
  void SetBrushStyle(::BrushStyle style) override { brushStyle_ = style; }
  ::BrushStyle BrushStyle() const override { return brushStyle_; }

  void SetFontColor(Color c) override;
  Color FontColor() const override { return fontColor_; }
  void SetFont(const FontSpec& font) override;
  const FontSpec& Font() const override { return font_; }

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
  Color penColor_ = clBlack;
  int penWidth_ = 1;
  ::PenStyle penStyle_ = PenStyle::psSolid;
  ::PenMode penMode_ = PenMode::pmCopy;
  Color brushColor_ = clWhite;
  ::BrushStyle brushStyle_ = BrushStyle::bsSolid;
  Color fontColor_ = clBlack;
  FontSpec font_;
  std::unique_ptr<TextFace> face_;
};
