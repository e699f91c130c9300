#include "platform/BlankCanvas.h"
#include "platform/RasterCanvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

/// A model lays itself out from what the canvas answers: the blank canvas
/// must answer as a raster canvas of its size does, step by step.
TEST(BlankCanvas, AnswersAsARasterCanvasOfItsSize) {
  RasterCanvas raster(300, 200);
  BlankCanvas blank(300, 200);
  const std::vector<std::function<void(Canvas&)>> steps = {
      [](Canvas&) {},
      [](Canvas& c) { c.SetPenColor(Color(0x7f123456)); },
      [](Canvas& c) { c.SetBrushStyle(BrushStyle::bsClear); },
      [](Canvas& c) { c.SetBrushColor(Color(0xff00ff00)); },
      [](Canvas& c) { c.SetFontColor(Color(0x01abcdef)); },
      [](Canvas& c) { c.SetPenWidth(3); c.SetPenStyle(PenStyle::psDot); },
      [](Canvas& c) { c.SetPenMode(PenMode::pmNotXor); },
      [](Canvas& c) { c.SetFont({"Arial", 13, true}); },
      [](Canvas& c) { c.SetFont({"Arial", 8, false}); },
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    for (Canvas* c : {static_cast<Canvas*>(&raster), static_cast<Canvas*>(&blank)}) steps[i](*c);
    EXPECT_EQ(blank.PenColor(), raster.PenColor());
    EXPECT_EQ(blank.PenWidth(), raster.PenWidth());
    EXPECT_EQ(blank.PenStyle(), raster.PenStyle());
    EXPECT_EQ(blank.PenMode(), raster.PenMode());
    EXPECT_EQ(blank.BrushColor(), raster.BrushColor());
    EXPECT_EQ(blank.BrushStyle(), raster.BrushStyle());
    EXPECT_EQ(blank.FontColor(), raster.FontColor());
    EXPECT_EQ(blank.Font(), raster.Font());
    EXPECT_EQ(blank.ClipRect(), raster.ClipRect());
    for (const std::string& text :
         std::vector<std::string>{"", "População", "a\tb", "שלום", std::string(500, 'W')}) {
      EXPECT_EQ(blank.TextWidth(text), raster.TextWidth(text)) << text;
      EXPECT_EQ(blank.TextHeight(text), raster.TextHeight(text));
    }
    blank.Rectangle(0, 0, 300, 200);
    blank.TextOut(10, 10, "Nível");
    EXPECT_EQ(blank.Pixel(10, 10), clWhite);
  }
}

}  // namespace
