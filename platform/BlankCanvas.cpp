#include "platform/BlankCanvas.h"

#include "platform/TextFace.h"

#include <algorithm>

namespace {

/// The colour without the top byte a model file may have set, as RasterCanvas keeps it.
Color ColourBits(Color c) { return RGBColor(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace

BlankCanvas::BlankCanvas(std::int32_t width, std::int32_t height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {}

BlankCanvas::~BlankCanvas() = default;

void BlankCanvas::SetPenColor(Color c) { penColor_ = ColourBits(c); }

void BlankCanvas::SetBrushColor(Color c) {
  brushColor_ = ColourBits(c);
  brushStyle_ = BrushStyle::bsSolid;
}

void BlankCanvas::SetFontColor(Color c) { fontColor_ = ColourBits(c); }

void BlankCanvas::SetFont(const FontSpec& font) {
  if (font == font_) return;
  font_ = font;
  face_.reset();
}

std::int32_t BlankCanvas::TextWidth(std::string_view text) {
  return static_cast<std::int32_t>(Face().Width(text));
}

std::int32_t BlankCanvas::TextHeight(std::string_view) {
  return static_cast<std::int32_t>(Face().Height());
}

TextFace& BlankCanvas::Face() {
  if (!face_) face_ = std::make_unique<TextFace>(font_);
  return *face_;
}
