#include "cli/KorvelSim.h"
#include "cli/SimHost.h"
#include "document/ModelText.h"
#include "document/uEditor.h"
#include "model/uRel.h"
#include "model/uVar.h"
#include "platform/RasterCanvas.h"
#include "platform/RegionalSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Series = std::vector<double>;
/// A run's levels, one series per variable name, tick 0 first.
using Columns = std::map<std::string, Series>;

const fs::path kExamples = fs::path(KORVEL_SOURCE_DIR) / "examples";

std::string Contents(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Columns Parse(const std::string& csv) {
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  std::vector<std::string> names;
  std::istringstream header(line);
  for (std::string name; std::getline(header, name, ',');) names.push_back(name);
  Columns columns;
  while (std::getline(lines, line)) {
    std::istringstream cells(line);
    std::string cell;
    for (std::size_t i = 0; std::getline(cells, cell, ','); ++i) {
      if (i > 0) columns[names.at(i)].push_back(std::stod(cell));
    }
  }
  return columns;
}

bool NeverFalls(const Series& s) { return std::is_sorted(s.begin(), s.end()); }
bool NeverRises(const Series& s) { return std::is_sorted(s.rbegin(), s.rend()); }

std::vector<std::size_t> Peaks(const Series& s) {
  std::vector<std::size_t> peaks;
  for (std::size_t t = 1; t + 1 < s.size(); ++t)
    if (s[t] > s[t - 1] && s[t] >= s[t + 1]) peaks.push_back(t);
  return peaks;
}

std::size_t FirstTickAtLeast(const Series& s, double level) {
  return std::size_t(std::find_if(s.begin(), s.end(), [&](double v) { return v >= level; }) -
                     s.begin());
}

/// The inner value behind a gauge's level.
double Inner(double level) { return std::log((1 + level) / (1 - level)); }

struct Lesson {
  const char* file;
  std::function<void(const Columns&)> teaches;
};

const Lesson kLessons[] = {
    {"crescimento.KRL",
     [](const Columns& c) {
       for (const char* name : {"Bactérias", "Fungos"}) {
         EXPECT_TRUE(NeverFalls(c.at(name))) << name;
         EXPECT_GT(c.at(name).back(), 0.99) << name;
       }
       EXPECT_LT(FirstTickAtLeast(c.at("Fungos"), 0.9), FirstTickAtLeast(c.at("Bactérias"), 0.9))
           << "twice the self-change grows faster";
     }},
    {"resfriamento.KRL",
     [](const Columns& c) {
       EXPECT_TRUE(NeverRises(c.at("Chá quente")));
       EXPECT_TRUE(NeverFalls(c.at("Suco gelado")));
       EXPECT_LT(std::abs(c.at("Chá quente").back()), 0.01) << "down to the room's temperature";
       EXPECT_LT(std::abs(c.at("Suco gelado").back()), 0.01);
     }},
    {"caixa-dagua.KRL",
     [](const Columns& c) {
       const Series& tank = c.at("Caixa d'água");
       EXPECT_TRUE(NeverFalls(tank));
       EXPECT_LT(tank[10], 0.4) << "it fills gradually";
       EXPECT_NEAR(tank.back(), c.at("Torneira").back(), 1e-3) << "until outflow matches inflow";
     }},
    {"coelhos-e-linces.KRL",
     [](const Columns& c) {
       const Series& prey = c.at("Coelhos");
       const Series& predators = c.at("Linces");
       ASSERT_GE(Peaks(prey).size(), 10u);
       ASSERT_GE(Peaks(predators).size(), 10u);
       EXPECT_LT(Peaks(prey)[0], Peaks(predators)[0]) << "the lynxes peak after the rabbits";
       const auto [low, high] = std::minmax_element(prey.end() - 300, prey.end());
       EXPECT_GT(*high - *low, 0.4) << "the swings don't die out";
     }},
    {"geladeira.KRL",
     [](const Columns& c) {
       const Series& motor = c.at("Motor");
       int switches = 0;
       for (std::size_t t = 1; t < motor.size(); ++t)
         switches += (motor[t] >= 0.4) != (motor[t - 1] >= 0.4);
       EXPECT_GE(switches, 100) << "the motor keeps switching on and off";
       const auto [low, high] =
           std::minmax_element(c.at("Temperatura").begin() + 100, c.at("Temperatura").end());
       EXPECT_GT(*low, 0.3);
       EXPECT_LT(*high, 0.5) << "the temperature stays near the threshold";
     }},
    {"boato.KRL",
     [](const Columns& c) {
       const Series& know = c.at("Sabem");
       EXPECT_TRUE(NeverFalls(know));
       EXPECT_TRUE(NeverRises(c.at("Não sabem")));
       EXPECT_GT(know.back(), 0.9);
       EXPECT_LT(c.at("Não sabem").back(), 0.01);
       std::size_t fastest = 1;
       for (std::size_t t = 1; t < know.size(); ++t)
         if (know[t] - know[t - 1] > know[fastest] - know[fastest - 1]) fastest = t;
       EXPECT_GT(fastest, 20u) << "slow at first: few know, so few tell";
       EXPECT_LT(fastest, 200u) << "slow at the end: few are left to hear it";
     }},
    {"media-das-notas.KRL",
     [](const Columns& c) {
       const double weighted = (2 * Inner(c.at("Prova")[0]) + Inner(c.at("Trabalhos")[0]) +
                                0.5 * Inner(c.at("Participação")[0])) / 3.5;
       const Series& mean = c.at("Média");
       for (std::size_t t = 1; t < mean.size(); ++t)
         ASSERT_NEAR(mean[t], std::tanh(weighted / 2), 1e-9) << "tick " << t;
       const double plain =
           (c.at("Prova")[0] + c.at("Trabalhos")[0] + c.at("Participação")[0]) / 3;
       EXPECT_GT(mean.back(), plain) << "the strong test pulls the mean up";
     }},
    {"oferta-e-procura.KRL",
     [](const Columns& c) {
       EXPECT_TRUE(NeverFalls(c.at("Preço")));
       EXPECT_TRUE(NeverFalls(std::vector(c.at("Oferta").begin() + 1, c.at("Oferta").end())));
       EXPECT_TRUE(NeverRises(std::vector(c.at("Procura").begin() + 1, c.at("Procura").end())));
       EXPECT_LT(c.at("Preço").front(), 0);
       EXPECT_GT(c.at("Preço").back(), 0);
       EXPECT_NEAR(c.at("Procura").back(), c.at("Oferta").back(), 1e-6)
           << "the price settles where supply meets demand";
     }},
};

class LessonTest : public testing::TestWithParam<Lesson> {
protected:
  void SetUp() override { PinDecimalSeparator(','); }
  void TearDown() override { PinDecimalSeparator('\0'); }
};

TEST_P(LessonTest, OpensRoundTripsRunsAThousandTicksAndShowsWhatItTeaches) {
  const fs::path lesson = kExamples / GetParam().file;
  std::string folder = (fs::temp_directory_path() / "korvel-lesson-XXXXXX").string();
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  const std::string saved = folder + "/salvo.KRL";

  std::ostringstream out, err;
  ASSERT_EQ(RunKorvelSim({lesson.string(), "--ticks", "0", "--save", saved}, out, err), 0)
      << err.str();
  EXPECT_EQ(Contents(saved), Contents(lesson)) << "saved as the program writes it";

  std::ostringstream table, measured;
  ASSERT_EQ(RunKorvelSim({lesson.string(), "--ticks", "1000"}, table, err), 0) << err.str();
  // Saving measures the names, a plain run doesn't: the levels must not tell.
  ASSERT_EQ(RunKorvelSim({lesson.string(), "--ticks", "1000", "--save", saved}, measured, err), 0);
  EXPECT_EQ(table.str(), measured.str());
  fs::remove_all(folder);
  const Columns columns = Parse(table.str());
  for (const auto& [name, series] : columns) {
    ASSERT_EQ(series.size(), 1001u) << name;
    EXPECT_TRUE(std::all_of(series.begin(), series.end(), [](double v) { return std::isfinite(v); }))
        << name;
  }
  GetParam().teaches(columns);
  EXPECT_NE(Contents(kExamples / "LEIAME.md").find(GetParam().file), std::string::npos)
      << "every lesson has its paragraph";
}

TEST_P(LessonTest, EveryColourIsOneTheVariableDialogOffers) {
  // A colour without a button would be lost the first time the dialog is confirmed.
  const std::set<Color> buttons = {
      Color{0x000000}, Color{0x808080}, Color{0x000080}, Color{0x0000FF}, Color{0x008080},
      Color{0x00FFFF}, Color{0x008000}, Color{0x00FF00}, Color{0x808000}, Color{0xFFFF00},
      Color{0x800000}, Color{0xFF0000}, Color{0x800080}, Color{0xFF00FF}};
  SimHost host;
  TEditor editor(host);
  RasterCanvas canvas(1366, 594);
  editor.AttachCanvas(&canvas);
  ASSERT_EQ(editor.LoadFromLines(ReadModelFile((kExamples / GetParam().file).string())),
            LoadOutcome::Loaded);
  for (const auto& v : editor.Variables) EXPECT_TRUE(buttons.contains(v->Color)) << v->Name;
}

// Maximized on a classroom laptop's 1024x600 screen (openbox), the window
// leaves the model a 1024x427 canvas; a model that fits is never pulled inside.
TEST(ExampleLayout, EveryModelFitsTheCanvasOfASmallScreen) {
  constexpr int kWidth = 1024;
  constexpr int kHeight = 427;
  const auto positions = [](const fs::path& model, int width, int height) {
    SimHost host;
    TEditor editor(host);
    RasterCanvas canvas(width, height);
    editor.AttachCanvas(&canvas);
    EXPECT_EQ(editor.LoadFromLines(ReadModelFile(model.string())), LoadOutcome::Loaded);
    std::vector<std::pair<int, int>> at;
    for (const auto& v : editor.Variables) at.emplace_back(v->X, v->Y);
    for (const auto& r : editor.Relationships) {
      EXPECT_TRUE(r->X - r->HalfWidth >= 0 && r->X + r->HalfWidth <= width &&
                  r->Y - r->HalfHeight >= 0 && r->Y + r->HalfHeight <= height)
          << "a relationship box at " << r->X << ", " << r->Y;
    }
    return at;
  };
  for (const auto& entry : fs::directory_iterator(kExamples)) {
    if (entry.path().extension() != ".KRL") continue;
    SCOPED_TRACE(entry.path().filename().string());
    EXPECT_EQ(positions(entry.path(), kWidth, kHeight), positions(entry.path(), 4096, 4096));
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, LessonTest, testing::ValuesIn(kLessons),
                         [](const testing::TestParamInfo<Lesson>& info) {
                           std::string name = info.param.file;
                           name = name.substr(0, name.find('.'));
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
