#include "platform/TextFace.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QString>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using i64 = std::int64_t;

/// Which pixels of a box, relative to an origin, are glyph pixels.
struct GlyphMask {
  i64 left = 0;
  i64 top = 0;
  i64 width = 0;
  i64 height = 0;
  std::vector<std::uint8_t> on;
};

/// Glyph positions are kept in 64ths of a pixel, as Qt keeps them.
constexpr int kSubPixels = 64;

/// A glyph of a shaped text: its origin, in whole pixels and the 64ths of a
/// pixel beyond them, y relative to the baseline.
struct PlacedGlyph {
  std::uint32_t index = 0;
  std::int32_t fraction = 0;
  i64 x = 0;
  i64 y = 0;
};

struct ShapedText {
  i64 width = 0;
  /// Empty when the text is drawn from a rendering of its own.
  std::vector<PlacedGlyph> glyphs;
  /// That rendering, made at the first drawing.
  std::optional<GlyphMask> whole;
};

constexpr int kMaxPixelHeight = 4096;
/// Glyph by glyph only up to this height: the masks stay small, and Qt draws
/// larger glyphs as outlines rather than from its own glyph images.
constexpr int kMaxGlyphPixelHeight = 48;
constexpr std::size_t kCachedTexts = 1 << 16;
/// Room for every Latin glyph of a font at every fraction of a pixel.
constexpr std::size_t kCachedGlyphs = 1 << 16;
/// A text's own rendering is kept up to this area of its box.
constexpr i64 kCachedMaskArea = i64{1} << 20;
/// Masks are cropped to their glyph pixels, a few hundred bytes for a name;
/// a model's every name fits, so that a repaint shapes and renders none again.
constexpr std::size_t kCachedBytes = std::size_t{16} << 20;

/// The mask of an image's opaque pixels, its top-left pixel at (left, top).
GlyphMask MaskOf(const QImage& image, i64 left, i64 top) {
  GlyphMask mask{left, top, image.width(), image.height(), {}};
  mask.on.resize(static_cast<std::size_t>(mask.width * mask.height));
  for (i64 y = 0; y < mask.height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(y)));
    for (i64 x = 0; x < mask.width; ++x)
      mask.on[static_cast<std::size_t>(y * mask.width + x)] = qAlpha(line[x]) >= 128 ? 1 : 0;
  }
  return mask;
}

/// The mask cut down to the box of its glyph pixels; empty when it has none.
GlyphMask Cropped(const GlyphMask& m) {
  i64 l = m.width, t = m.height, r = 0, b = 0;
  for (i64 y = 0; y < m.height; ++y)
    for (i64 x = 0; x < m.width; ++x)
      if (m.on[static_cast<std::size_t>(y * m.width + x)] != 0) {
        l = std::min(l, x);
        r = std::max(r, x + 1);
        t = std::min(t, y);
        b = std::max(b, y + 1);
      }
  if (r <= l) return {m.left, m.top, 0, 0, {}};
  GlyphMask out{m.left + l, m.top + t, r - l, b - t, {}};
  out.on.resize(static_cast<std::size_t>(out.width * out.height));
  for (i64 y = t; y < b; ++y)
    std::copy_n(&m.on[static_cast<std::size_t>(y * m.width + l)], r - l,
                &out.on[static_cast<std::size_t>((y - t) * out.width)]);
  return out;
}

/// Printable Latin (ASCII to Latin Extended-B): one font, left to right, no
/// marks to attach, so its glyphs' pixels don't depend on their neighbours.
bool IsPlainLatin(const QString& text) {
  if (text.isEmpty()) return false;
  return std::all_of(text.begin(), text.end(), [](QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x20 && u < 0x7f) || (u >= 0xa0 && u <= 0x24f && u != 0xad);
  });
}

/// Lets a text be looked up without copying it into a string first.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>{}(text);
  }
};

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// Sets to ink the pixels of mask, its origin at (dx, dy) from the text's
/// top-left corner (x, y), that lie in window (relative to that corner too).
void Put(const GlyphMask& mask, i64 dx, i64 dy, const TextBox& window, i64 x, i64 y,
         std::uint32_t* bits, i64 stride, std::uint32_t ink) {
  const i64 ml = dx + mask.left, mt = dy + mask.top;
  const i64 l = std::max(window.left, ml), r = std::min(window.right, ml + mask.width);
  const i64 t = std::max(window.top, mt), b = std::min(window.bottom, mt + mask.height);
  for (i64 my = t; my < b; ++my) {
    const std::uint8_t* line = &mask.on[static_cast<std::size_t>((my - mt) * mask.width)];
    std::uint32_t* row = bits + (y + my) * stride;
    for (i64 mx = l; mx < r; ++mx)
      if (line[mx - ml] != 0) row[x + mx] = ink;
  }
}

}  // namespace

struct TextFace::Impl {
  explicit Impl(const FontSpec& face)
      : font(QString::fromStdString(face.family)),
        margin(std::clamp(face.pixelHeight, 1, kMaxPixelHeight)) {
    font.setPixelSize(static_cast<int>(margin));
    font.setBold(face.bold);
    // Two-colour glyphs: drawing a text again in the background colour erases it.
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    metrics.emplace(font);
    if (margin <= kMaxGlyphPixelHeight) raw = QRawFont::fromFont(font);
    layout.setFont(font);
    // Keeps the shaping for glyphRuns(), which would otherwise shape the text again.
    layout.setCacheEnabled(true);
  }

  ShapedText& Find(std::string_view text);
  ShapedText Shape(const QString& text);
  /// Qt's drawing of text into a w x h window whose top-left pixel is (left,
  /// top) relative to the text's top-left corner.
  GlyphMask Render(const QString& text, i64 left, i64 top, i64 w, i64 h) const;
  const GlyphMask& Glyph(const PlacedGlyph& glyph);

  QFont font;
  std::optional<QFontMetrics> metrics;
  /// The font's glyphs; invalid when they are too large to keep one by one.
  QRawFont raw;
  /// One layout for every text: making one per text costs more than the shaping.
  QTextLayout layout;
  i64 margin;
  std::unordered_map<std::string, ShapedText, TextHash, std::equal_to<>> texts;
  std::size_t textBytes = 0;
  /// By glyph index and fraction of a pixel.
  std::unordered_map<std::uint64_t, GlyphMask> glyphs;
};

ShapedText& TextFace::Impl::Find(std::string_view text) {
  if (auto found = texts.find(text); found != texts.end()) return found->second;
  std::string key(text);
  ShapedText shaped = Shape(ToQString(text));
  const std::size_t bytes =
      key.size() + sizeof(ShapedText) + shaped.glyphs.size() * sizeof(PlacedGlyph);
  if (texts.size() >= kCachedTexts || textBytes + bytes > kCachedBytes) {
    texts.clear();
    textBytes = 0;
  }
  textBytes += bytes;
  return texts.emplace(std::move(key), std::move(shaped)).first->second;
}

ShapedText TextFace::Impl::Shape(const QString& text) {
  ShapedText shaped;
  if (raw.isValid() && IsPlainLatin(text)) {
    layout.setText(text);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = line.glyphRuns();
    bool placed = runs.size() == 1 && runs.front().rawFont() == raw;
    if (placed) {
      const QList<quint32> indexes = runs.front().glyphIndexes();
      const QList<QPointF> positions = runs.front().positions();
      for (qsizetype i = 0; placed && i < indexes.size(); ++i) {
        // A glyph's pixels depend on the fraction of a pixel it starts at,
        // which Qt keeps in 64ths; a text on one baseline has whole-pixel rows.
        const qreal x = std::floor(positions[i].x()), y = positions[i].y() - line.ascent();
        const qreal fraction = (positions[i].x() - x) * kSubPixels;
        placed = fraction == std::floor(fraction) && y == std::floor(y);
        shaped.glyphs.push_back({indexes[i], std::int32_t(fraction), i64(x), i64(y)});
      }
    }
    if (placed) {
      shaped.width = qRound(line.horizontalAdvance());
      return shaped;
    }
    shaped.glyphs.clear();
  }
  shaped.width = metrics->horizontalAdvance(text);
  return shaped;
}

GlyphMask TextFace::Impl::Render(const QString& text, i64 left, i64 top, i64 w, i64 h) const {
  QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(Qt::black));
    painter.drawText(QPoint(static_cast<int>(-left), static_cast<int>(metrics->ascent() - top)),
                     text);
  }
  return MaskOf(image, left, top);
}

const GlyphMask& TextFace::Impl::Glyph(const PlacedGlyph& glyph) {
  const std::uint64_t key = std::uint64_t{glyph.index} * kSubPixels + std::uint64_t(glyph.fraction);
  if (auto found = glyphs.find(key); found != glyphs.end()) return found->second;
  if (glyphs.size() >= kCachedGlyphs) glyphs.clear();
  const std::uint32_t index = glyph.index;
  const QRectF bounds = raw.boundingRect(index);
  const i64 left = i64(std::floor(bounds.left())) - margin;
  const i64 top = i64(std::floor(bounds.top())) - margin;
  const i64 right = i64(std::ceil(bounds.right())) + margin;
  const i64 bottom = i64(std::ceil(bounds.bottom())) + margin;
  QImage image(static_cast<int>(right - left), static_cast<int>(bottom - top),
               QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes({index});
    run.setPositions({QPointF(0, 0)});
    QPainter painter(&image);
    painter.setPen(QColor(Qt::black));
    painter.drawGlyphRun(QPointF(qreal(-left) + qreal(glyph.fraction) / kSubPixels, qreal(-top)),
                         run);
  }
  return glyphs.emplace(key, Cropped(MaskOf(image, left, top))).first->second;
}

TextFace::TextFace(const FontSpec& font) : d_(std::make_unique<Impl>(font)) {}

TextFace::~TextFace() = default;

std::int64_t TextFace::Width(std::string_view text) { return d_->Find(text).width; }

std::int64_t TextFace::Height() const { return d_->metrics->height(); }

std::int64_t TextFace::Margin() const { return d_->margin; }

void TextFace::Write(std::string_view text, i64 x, i64 y, const TextBox& window,
                     std::uint32_t* bits, i64 stride, std::uint32_t ink) {
  ShapedText& shaped = d_->Find(text);
  const TextBox local{window.left - x, window.top - y, window.right - x, window.bottom - y};
  const i64 ascent = d_->metrics->ascent();
  for (const PlacedGlyph& g : shaped.glyphs)
    Put(d_->Glyph(g), g.x, ascent + g.y, local, x, y, bits, stride, ink);
  if (!shaped.glyphs.empty()) return;

  const i64 m = d_->margin;
  const i64 w = shaped.width + 2 * m, h = Height() + 2 * m;
  if (w * h > kCachedMaskArea) {
    WriteThroughQt(text, x, y, window, bits, stride, ink);
    return;
  }
  if (!shaped.whole) {
    shaped.whole = Cropped(d_->Render(ToQString(text), -m, -m, w, h));
    d_->textBytes += shaped.whole->on.size();
  }
  Put(*shaped.whole, 0, 0, local, x, y, bits, stride, ink);
}

bool TextFace::DrawsGlyphByGlyph(std::string_view text) { return !d_->Find(text).glyphs.empty(); }

void TextFace::WriteThroughQt(std::string_view text, i64 x, i64 y, const TextBox& window,
                              std::uint32_t* bits, i64 stride, std::uint32_t ink) {
  const TextBox local{window.left - x, window.top - y, window.right - x, window.bottom - y};
  const GlyphMask mask = d_->Render(ToQString(text), local.left, local.top,
                                    local.right - local.left, local.bottom - local.top);
  Put(mask, 0, 0, local, x, y, bits, stride, ink);
}
