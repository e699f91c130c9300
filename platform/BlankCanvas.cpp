#include "platform/BlankCanvas.h"

#include "platform/TextFace.h"

#include <algorithm>

BlankCanvas::BlankCanvas(std::int32_t width, std::int32_t height, Text text)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), text_(text) {}

BlankCanvas::~BlankCanvas() = default;

void BlankCanvas::SetFont(const FontSpec& font) {
  if (font == tools_.font) return;
  tools_.font = font;
  face_.reset();
}

std::int32_t BlankCanvas::TextWidth(std::string_view text) {
  if (text_ == Text::Skipped) return 0;
  return static_cast<std::int32_t>(Face().Width(text));
}

std::int32_t BlankCanvas::TextHeight(std::string_view) {
  if (text_ == Text::Skipped) return 0;
  return static_cast<std::int32_t>(Face().Height());
}

TextFace& BlankCanvas::Face() {
  if (!face_) face_ = std::make_unique<TextFace>(tools_.font);
  return *face_;
}
