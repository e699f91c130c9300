#include "cli/KorvelSim.h"
#include "cli/ModelPicture.h"
#include "document/ModelText.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

std::string Data(const std::string& name) { return std::string(KORVEL_TEST_DATA) + "/" + name; }

std::string Contents(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PictureTest : public testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "korvel-picture-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Temp(const std::string& name) const { return (dir / name).string(); }

  int Run(const Args& args) {
    std::ostringstream out;
    err.str("");
    return RunKorvelSim(args, out, err);
  }

  fs::path dir;
  std::ostringstream err;
};

TEST_F(PictureTest, BadPictureOptionsAreRefusedAndNothingIsDrawn) {
  const std::string model = Data("sim-beyond-the-canvas.KRL");
  const std::string png = Temp("m.png");
  const Args cases[] = {
      {model, "--size", "300x200"},
      {model, "--picture", Temp("m.bmp")},
      {model, "--picture", Temp("png")},
      {model, "--picture", png, "--size", "0x200"},
      {model, "--picture", png, "--size", "300x"},
      {model, "--picture", png, "--size", "x200"},
      {model, "--picture", png, "--size", "300X200"},
      {model, "--picture", png, "--size", "4097x200"},
      {model, "--picture", png, "--size", "300x200x1"},
      {model, "--picture", png, "--size", "300x200", "--size", "300x200"},
      {model, "--picture", png, "--picture", png},
      {model, "--picture"},
  };
  for (const Args& args : cases) {
    std::string shown;
    for (const std::string& a : args) shown += "[" + a + "] ";
    SCOPED_TRACE(shown);
    EXPECT_EQ(Run(args), 2);
    EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << err.str();
    EXPECT_TRUE(fs::is_empty(dir));
  }
}

TEST_F(PictureTest, AModelThatCantBeReadLeavesNoPicture) {
  EXPECT_EQ(Run({Data("index-out-of-bounds.KRL"), "--picture", Temp("m.png")}), 1);
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(PictureTest, EachFormatIsChosenByTheExtension) {
  const struct {
    const char* name;
    std::string magic;
  } cases[] = {
      {"m.png", "\x89PNG\r\n"},
      {"m.PNG", "\x89PNG\r\n"},
      {"m.svg", "<?xml"},
      {"m.pdf", "%PDF-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Run({Data("example-comma.KRL"), "--ticks", "3", "--picture", Temp(c.name)}), 0)
        << err.str();
    EXPECT_TRUE(Contents(Temp(c.name)).starts_with(c.magic));
  }
  EXPECT_NE(Contents(Temp("m.svg")).find("<svg"), std::string::npos);
  const std::string pdf = Contents(Temp("m.pdf"));
  EXPECT_NE(pdf.find("/FlateDecode"), std::string::npos);
  EXPECT_EQ(pdf.find("/DCTDecode"), std::string::npos) << "JPEG would blur the model's lines";
}

TEST_F(PictureTest, ThePictureIsTheCanvasTheSplitterAndTheGraph) {
  const struct {
    Args size;
    int width;
    int canvasHeight;
  } cases[] = {
      {{}, kPictureCanvasWidth, kPictureCanvasHeight},
      {{"--size", "300x200"}, 300, 200},
      {{"--size", "000210x0000150"}, 210, 150},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    const std::string png = Temp("m.png");
    Args args = {Data("sim-beyond-the-canvas.KRL"), "--ticks", "40", "--picture", png};
    args.insert(args.end(), c.size.begin(), c.size.end());
    ASSERT_EQ(Run(args), 0) << err.str();
    const QImage picture(QString::fromStdString(png));
    ASSERT_EQ(picture.width(), c.width);
    ASSERT_EQ(picture.height(), c.canvasHeight + 4 + 100);

    const QRgb silver = qRgb(192, 192, 192);
    for (int x = 0; x < c.width; ++x) {
      for (int y = c.canvasHeight; y < c.canvasHeight + 4; ++y) {
        ASSERT_EQ(picture.pixel(x, y), silver) << x << "," << y;
      }
    }
    // The graph's cursor stands at the column of the last tick, and the
    // plotted red variable has a curve left of it.
    const int graphTop = c.canvasHeight + 4;
    EXPECT_EQ(picture.pixel(40, graphTop), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(41, graphTop), qRgb(255, 255, 255));
    int red = 0;
    for (int y = graphTop; y < picture.height(); ++y) red += picture.pixel(20, y) == qRgb(255, 0, 0);
    EXPECT_GT(red, 0);
  }
}

TEST_F(PictureTest, AGaugeBeyondThePictureIsPulledInsideAsTheWindowDoes) {
  const std::string saved = Temp("m.KRL");
  ASSERT_EQ(Run({Data("sim-beyond-the-canvas.KRL"), "--ticks", "0", "--picture", Temp("m.png"),
                 "--size", "300x200", "--save", saved}),
            0)
      << err.str();
  const std::vector<std::string> lines = ReadModelFile(saved);
  ASSERT_GT(lines.size(), 6u);
  EXPECT_EQ(lines[5], "285");
  EXPECT_EQ(lines[6], "174");
}

}  // namespace
