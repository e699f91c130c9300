#pragma once

#include "platform/Canvas.h"

#include <cstdint>
#include <memory>
#include <string_view>

/// A box of pixels with exclusive right and bottom.
struct TextBox {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
};

/// One font as the canvases write with it: text widths, the line height and
/// the glyph pixels, without antialiasing. A text is shaped once, for its width
/// and its pixels alike, and each glyph is rendered once; a text of plain Latin
/// characters is then drawn glyph by glyph, any other from a rendering of its
/// own, with the same pixels either way. Needs a QGuiApplication.
class TextFace {
public:
  explicit TextFace(const FontSpec& font);
  ~TextFace();
  TextFace(const TextFace&) = delete;
  TextFace& operator=(const TextFace&) = delete;

  std::int64_t Width(std::string_view text);
  std::int64_t Height() const;
  /// How far glyphs may reach outside the box of a text's width and height.
  std::int64_t Margin() const;

  /// Sets to ink the glyph pixels, inside window, of text written with its
  /// top-left corner at (x, y). The window lies inside the buffer (rows of
  /// stride pixels at bits) and inside the text's box grown by Margin().
  void Write(std::string_view text, std::int64_t x, std::int64_t y, const TextBox& window,
             std::uint32_t* bits, std::int64_t stride, std::uint32_t ink);

  /// For the tests: whether Write draws text glyph by glyph.
  bool DrawsGlyphByGlyph(std::string_view text);
  /// For the tests: the same pixels as Write, from Qt's own text drawing,
  /// which is what Write reproduces.
  void WriteThroughQt(std::string_view text, std::int64_t x, std::int64_t y,
                      const TextBox& window, std::uint32_t* bits, std::int64_t stride,
                      std::uint32_t ink);

private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};
