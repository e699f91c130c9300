#include "platform/RasterCanvas.h"
#include "platform/TextFace.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::uint32_t> White(const RasterCanvas& c) {
  return std::vector<std::uint32_t>(c.Snapshot().size(), 0xffffffffu);
}

std::set<Color> ColoursIn(const RasterCanvas& c) {
  std::set<Color> out;
  for (std::int32_t y = 0; y < c.Height(); ++y)
    for (std::int32_t x = 0; x < c.Width(); ++x) out.insert(c.Pixel(x, y));
  return out;
}

class CanvasText : public testing::TestWithParam<FontSpec> {};

TEST_P(CanvasText, RedrawingInWhiteErasesExactly) {
  RasterCanvas c(200, 40);
  c.SetFont(GetParam());
  c.SetBrushStyle(BrushStyle::bsClear);
  c.SetFontColor(clBlack);
  const std::string name = "População Ágil (ção) 123";
  c.TextOut(7, 5, name);
  EXPECT_NE(c.Snapshot(), White(c));
  EXPECT_EQ(ColoursIn(c), (std::set<Color>{clWhite, clBlack})) << "glyphs are two-colour";
  c.SetFontColor(clWhite);
  c.TextOut(7, 5, name);
  EXPECT_EQ(c.Snapshot(), White(c));
}

TEST_P(CanvasText, WidthIsTheRenderedFontsAdvance) {
  RasterCanvas c(10, 10);
  const FontSpec& face = GetParam();
  c.SetFont(face);
  QFont font(QString::fromStdString(face.family));
  font.setPixelSize(face.pixelHeight);
  font.setBold(face.bold);
  font.setStyleStrategy(QFont::NoAntialias);
  const QFontMetrics metrics(font);
  for (const char* text : {"", "x", "Variável", "Auto-mudança", "WWW iii"}) {
    EXPECT_EQ(c.TextWidth(text), metrics.horizontalAdvance(QString::fromUtf8(text))) << text;
    EXPECT_EQ(c.TextHeight(text), metrics.height());
  }
  EXPECT_GT(c.TextWidth("WW"), c.TextWidth("W"));
}

/// Texts drawn glyph by glyph and through Qt's own text drawing, at a corner
/// that clips them on two sides and in the open: every pixel and width agree.
TEST_P(CanvasText, EveryTextDrawsAsQtDrawsIt) {
  std::vector<std::string> texts = {
      "", " ", "População", "ÁÉÍÓÚ àèìòù ãõ ç Ç ñ", "AVATAR WAVE To Ta Yo LT", "fi ffl fj",
      "a\tb", "linha\nnova", std::string("\x01\x1f\x7f", 3), std::string("nul\0l", 5),
      "\xc2\xad", "e\xcc\x81", "x\xe2\x80\x8by", "שלום", "مرحبا", "日本語", "😀 ok", "Ω≈√",
      "\xff\xfe invalid", "  trailing  ", std::string(300, 'W') + "ção"};
  for (int i = 0; i < 10000; ++i) texts.push_back("V" + std::to_string(i));

  TextFace face(GetParam());
  QFont font(QString::fromStdString(GetParam().family));
  font.setPixelSize(GetParam().pixelHeight);
  font.setBold(GetParam().bold);
  font.setStyleStrategy(QFont::NoAntialias);
  const QFontMetrics metrics(font);
  EXPECT_TRUE(face.DrawsGlyphByGlyph("V9999"));
  EXPECT_TRUE(face.DrawsGlyphByGlyph("População"));
  constexpr std::int64_t kW = 160, kH = 40;
  std::vector<std::uint32_t> glyphs(kW * kH), qt(kW * kH);
  for (const std::string& text : texts) {
    EXPECT_EQ(face.Width(text), metrics.horizontalAdvance(QString::fromStdString(text))) << text;
    for (const auto& [x, y] : {std::pair{7, 5}, std::pair{-3, -4}}) {
      std::fill(glyphs.begin(), glyphs.end(), 0);
      std::fill(qt.begin(), qt.end(), 0);
      const TextBox window{0, 0, std::min(kW, x + face.Width(text) + face.Margin()),
                           std::min(kH, y + face.Height() + face.Margin())};
      face.Write(text, x, y, window, glyphs.data(), kW, 1);
      face.WriteThroughQt(text, x, y, window, qt.data(), kW, 1);
      ASSERT_EQ(glyphs, qt) << text << " at " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(RasterCanvas, CanvasText,
                         testing::Values(FontSpec{}, FontSpec{"Arial", 13, true},
                                         FontSpec{"Arial", 8, false}));

TEST(CanvasText, SolidBrushPaintsTheTextBoxFirst) {
  RasterCanvas c(120, 30);
  c.SetBrushColor(clSilver);
  c.SetFontColor(clBlack);
  const std::int32_t w = c.TextWidth("Nível"), h = c.TextHeight("Nível");
  c.TextOut(10, 4, "Nível");
  for (std::int32_t y = 0; y < c.Height(); ++y)
    for (std::int32_t x = 0; x < c.Width(); ++x) {
      const bool inBox = x >= 10 && x < 10 + w && y >= 4 && y < 4 + h;
      const Color p = c.Pixel(x, y);
      if (inBox) {
        EXPECT_TRUE(p == clSilver || p == clBlack) << x << "," << y;
      } else {
        EXPECT_NE(p, clSilver) << x << "," << y;
      }
    }
  EXPECT_EQ(c.Pixel(10, 4), clSilver);
  EXPECT_EQ(c.Pixel(9 + w, 3 + h), clSilver);
}

TEST(CanvasText, ClearBrushLeavesTheBackgroundUnderTheText) {
  RasterCanvas c(120, 30);
  c.SetPenColor(clSilver);
  c.SetBrushColor(clSilver);
  c.Rectangle(0, 0, 120, 30);
  c.SetBrushStyle(BrushStyle::bsClear);
  c.SetFontColor(clRed);
  c.TextOut(10, 4, "Taxa");
  EXPECT_EQ(ColoursIn(c), (std::set<Color>{clSilver, clRed}));
}

TEST(CanvasText, IgnoresThePenMode) {
  RasterCanvas copy(120, 30), inverting(120, 30);
  for (RasterCanvas* c : {&copy, &inverting}) c->SetBrushColor(clSilver);
  inverting.SetPenMode(PenMode::pmNotXor);
  copy.TextOut(3, 3, "Soma");
  inverting.TextOut(3, 3, "Soma");
  inverting.TextOut(3, 3, "Soma");
  EXPECT_EQ(inverting.Snapshot(), copy.Snapshot());
}

TEST(CanvasText, IsClippedAndSafeAnywhere) {
  RasterCanvas c(60, 20);
  c.SetBrushColor(clSilver);
  c.SetClipRect({10, 0, 30, 20});
  c.TextOut(0, 2, "Multiplicação");
  for (std::int32_t y = 0; y < 20; ++y)
    for (std::int32_t x = 0; x < 60; ++x)
      if (x < 10 || x >= 30) {
        ASSERT_EQ(c.Pixel(x, y), clWhite) << x << "," << y;
      }
  EXPECT_NE(c.Pixel(15, 5), clWhite);

  RasterCanvas far(60, 20);
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  far.TextOut(kMax, kMax, "longe");
  far.TextOut(kMin, kMin, "longe");
  far.TextOut(kMin, 5, std::string(2000, 'W'));
  EXPECT_EQ(far.Snapshot(), White(far));
}

TEST(CanvasText, TextFarLongerThanTheCanvasDrawsItsVisiblePart) {
  const std::string text(4000, 'W');
  RasterCanvas c(50, 20);
  const std::int32_t w = c.TextWidth(text);
  c.SetBrushColor(clSilver);
  c.SetFontColor(clBlack);
  c.TextOut(25 - w, 2, text);
  // The last glyphs end at column 24; everything to their right stays white.
  EXPECT_NE(c.Pixel(20, 5), clWhite);
  for (std::int32_t x = 25; x < 50; ++x) EXPECT_EQ(c.Pixel(x, 5), clWhite) << x;
  c.SetFontColor(clWhite);
  c.SetBrushColor(clWhite);
  c.TextOut(25 - w, 2, text);
  EXPECT_EQ(c.Snapshot(), White(c));
}

TEST(CanvasText, ChangingTheFontChangesTheWidth) {
  RasterCanvas c(10, 10);
  const std::int32_t normal = c.TextWidth("Contínua");
  c.SetFont({"Arial", 22, true});
  EXPECT_GT(c.TextWidth("Contínua"), normal);
  c.SetFont(FontSpec{});
  EXPECT_EQ(c.TextWidth("Contínua"), normal);
}

}  // namespace
