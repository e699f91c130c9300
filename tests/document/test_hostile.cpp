#include "document/ModelText.h"
#include "document/uEditor.h"
#include "model/uRel.h"
#include "model/uVar.h"
#include "platform/RasterCanvas.h"
#include "platform/RegionalSettings.h"
#include "tests/document/FakeHost.h"
#include "tests/document/ModelChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

const char* const kRefused = "refused";
const char* const kLoaded = "";

ModelLines Hostile(const char* file) {
  return ReadModelFile(std::string(KORVEL_TEST_DATA) + "/hostile/" + file);
}

/// What opening a file did: "refused" for the version message, "" when it
/// loaded, otherwise the error's message; and what stayed in the model.
struct Opened {
  std::string outcome;
  std::size_t variables;
  std::size_t relationships;
};

class HostileFile : public testing::Test {
protected:
  void SetUp() override {
    PinDecimalSeparator(',');
    editor.AttachCanvas(&canvas);
  }
  void TearDown() override { PinDecimalSeparator('\0'); }

  /// Opens the lines over a model of one variable, which a file replaces or,
  /// when refused, leaves in place.
  Opened Open(const ModelLines& lines) {
    editor.Clear();
    editor.UseContinuousTool();
    editor.MouseDown(60, 60);
    editor.MouseUp();
    std::string outcome = kLoaded;
    try {
      if (editor.LoadFromLines(lines) == LoadOutcome::HeaderRefused) outcome = kRefused;
    } catch (const ModelFileError& e) {
      outcome = e.what();
    }
    return {outcome, editor.Variables.size(), editor.Relationships.size()};
  }

  /// Whatever a file left in the model can be shown, animated, saved and
  /// reopened, and taken apart by the Delete key.
  void ExpectUsable() {
    EXPECT_EQ(model_checks::BrokenLinks(editor), "");
    editor.Paint();
    editor.StartAnimation();
    editor.SaveStatesBeforeAnimation();
    for (int tick = 0; tick < 3; ++tick) editor.Tick();
    editor.StopAnimation();
    EXPECT_EQ(model_checks::NonFiniteValue(editor), "");
    EXPECT_EQ(model_checks::RoundTripBreak(editor), "");
    while (!editor.Variables.empty()) {
      editor.CurrentObject = editor.Variables.front().get();
      editor.DeleteSelected();
      ASSERT_EQ(model_checks::BrokenLinks(editor), "");
    }
    EXPECT_TRUE(editor.Relationships.empty());
  }

  RasterCanvas canvas{800, 600};
  FakeHost host;
  TEditor editor{host};
};

TEST_F(HostileFile, EveryCraftedFileOpensAsFarAsItCanAndLeavesAUsableModel) {
  const struct {
    const char* file;
    Opened opened;
  } cases[] = {
      {"empty.KRL", {kRefused, 1, 0}},
      {"utf16-little-endian.KRL", {kRefused, 1, 0}},
      {"header-without-line-break.KRL", {kLoaded, 0, 0}},
      {"doubled-cr-before-lf.KRL", {kLoaded, 0, 0}},
      {"cr-only-line-ends.KRL", {kLoaded, 2, 1}},
      {"mixed-line-ends.KRL", {kLoaded, 2, 1}},
      {"garbage-after-fim.KRL", {kLoaded, 2, 1}},
      {"name-of-100000-characters.KRL", {kLoaded, 2, 1}},
      {"level-of-100000-digits.KRL", {kLoaded, 2, 1}},
      {"nul-in-name.KRL", {kLoaded, 2, 1}},
      {"invalid-utf8-in-name.KRL", {kLoaded, 2, 1}},
      {"overlong-utf8-in-name.KRL", {kLoaded, 2, 1}},
      {"utf8-bom-and-windows1252-name.KRL", {kLoaded, 2, 1}},
      {"level-with-point.KRL", {kLoaded, 2, 1}},
      {"blanks-and-signs-around-numbers.KRL", {kLoaded, 2, 1}},
      {"level-1e300.KRL", {kLoaded, 2, 1}},
      {"threshold-minus-1e300.KRL", {kLoaded, 2, 1}},
      {"effect-zero-and-rate-huge.KRL", {kLoaded, 2, 1}},
      {"x-and-y-at-the-integer-limits.KRL", {kLoaded, 2, 1}},
      {"color-minus-one.KRL", {kLoaded, 2, 1}},
      {"unknown-keywords.KRL", {kLoaded, 2, 1}},
      {"input-kind-huge.KRL", {kLoaded, 2, 1}},
      {"relationship-kind-3.KRL", {kLoaded, 2, 1}},
      {"relationship-to-itself.KRL", {kLoaded, 2, 1}},
      {"duplicate-pair.KRL", {kLoaded, 2, 2}},
      {"pair-both-ways.KRL", {kLoaded, 2, 2}},
      {"timer-interval-negative.KRL", {kLoaded, 2, 1}},
      {"timer-interval-zero.KRL", {kLoaded, 2, 1}},
      {"clock-negative.KRL", {kLoaded, 2, 1}},
      {"method-99.KRL", {kLoaded, 2, 1}},
      {"nul-in-level.KRL", {"'0\u2400,5' is not a valid floating point value", 0, 0}},
      {"level-with-both-separators.KRL", {"'1.000,5' is not a valid floating point value", 0, 0}},
      {"level-nan.KRL", {"'nan' is not a valid floating point value", 0, 0}},
      {"level-inf.KRL", {"'-INF' is not a valid floating point value", 0, 0}},
      {"level-1e5000.KRL", {"'1E5000' is not a valid floating point value", 0, 0}},
      {"x-2147483648.KRL", {"'2147483648' is not a valid integer value", 0, 0}},
      {"unknown-class-line.KRL", {"'VARIAVEL ESTRANHA' não é uma classe de variável válida", 1, 0}},
      {"origin-minus-one.KRL", {"List index out of bounds (-1)", 2, 0}},
      {"destination-huge-index.KRL", {"List index out of bounds (99999)", 2, 0}},
      {"relationship-before-variables.KRL", {"List index out of bounds (0)", 0, 0}},
      {"environment-cut-at-fim.KRL", {"'FIM' is not a valid integer value", 2, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const Opened opened = Open(Hostile(c.file));
    EXPECT_EQ(opened.outcome, c.opened.outcome);
    EXPECT_EQ(opened.variables, c.opened.variables);
    EXPECT_EQ(opened.relationships, c.opened.relationships);
    ExpectUsable();
  }
}

TEST_F(HostileFile, OddTextsInNamesArriveAsTheirCharacters) {
  const struct {
    const char* file;
    std::string name;
  } cases[] = {
      {"nul-in-name.KRL", std::string("No\0me", 5)},
      {"invalid-utf8-in-name.KRL", "Ã(gua"},
      {"overlong-utf8-in-name.KRL", "À¯N"},
      {"utf8-bom-and-windows1252-name.KRL", "Água"},
      {"name-of-100000-characters.KRL", std::string(kMaxLineLength, 'N')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ASSERT_EQ(Open(Hostile(c.file)).outcome,
              kLoaded);
    EXPECT_EQ(editor.Variables[0]->Name, c.name);
  }
}

// Cut after line n, the example reads up to the first number it lacks; a
// missing marker, name or keyword ends a loop or reads as false instead.
TEST_F(HostileFile, TheExampleCutShortAtEveryLineKeepsWhatWasComplete) {
  const std::string kInteger = "'' is not a valid integer value";
  const std::string kReal = "'' is not a valid floating point value";
  const std::string kClass = "'' não é uma classe de variável válida";
  const struct {
    std::size_t fromLine;
    std::size_t toLine;
    Opened opened;
  } cases[] = {
      {0, 0, {kRefused, 1, 0}},  {1, 2, {kLoaded, 0, 0}},    {3, 3, {kClass, 0, 0}},
      {4, 6, {kInteger, 0, 0}},  {7, 7, {kReal, 0, 0}},      {8, 10, {kInteger, 0, 0}},
      {11, 13, {kReal, 0, 0}},   {14, 16, {kLoaded, 1, 0}},  {17, 17, {kClass, 1, 0}},
      {18, 20, {kInteger, 1, 0}}, {21, 21, {kReal, 1, 0}},   {22, 24, {kInteger, 1, 0}},
      {25, 29, {kReal, 1, 0}},   {30, 33, {kLoaded, 2, 0}},  {34, 38, {kInteger, 2, 0}},
      {39, 41, {kReal, 2, 0}},   {42, 43, {kLoaded, 2, 1}},  {44, 47, {kInteger, 2, 1}},
      {48, 50, {kLoaded, 2, 1}},
  };
  const ModelLines example = ReadModelFile(std::string(KORVEL_TEST_DATA) + "/example-comma.KRL");
  ASSERT_EQ(example.size(), 50u);
  for (const auto& c : cases) {
    for (std::size_t kept = c.fromLine; kept <= c.toLine; ++kept) {
      SCOPED_TRACE("first " + std::to_string(kept) + " lines");
      ModelLines cut;
      for (std::size_t i = 0; i < kept; ++i) cut.push_back(example[i]);
      const Opened opened = Open(cut);
      EXPECT_EQ(opened.outcome, c.opened.outcome);
      EXPECT_EQ(opened.variables, c.opened.variables);
      EXPECT_EQ(opened.relationships, c.opened.relationships);
      ExpectUsable();
    }
  }
}

// Also every input the fuzzer once broke the open path with, kept in tests/data.
TEST(OpenPath, EveryTestFileAndExampleSurvivesOpeningAnimatingSavingAndReopening) {
  int files = 0;
  for (const char* folder : {KORVEL_TEST_DATA, KORVEL_TEST_DATA "/hostile", KORVEL_SOURCE_DIR "/examples"}) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (!entry.is_regular_file()) continue;
      ++files;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      EXPECT_EQ(model_checks::OpenPathBreak(bytes), "") << entry.path();
    }
  }
  EXPECT_GE(files, 70) << "the folders were found";
}

TEST_F(HostileFile, AHundredThousandVariablesOpen) {
  const ModelLines example = ReadModelFile(std::string(KORVEL_TEST_DATA) + "/example-comma.KRL");
  ModelLines big;
  big.push_back(example[0]);
  big.push_back(example[1]);
  for (int i = 0; i < 100000; ++i)
    for (std::size_t line = 2; line < 16; ++line) big.push_back(example[line]);
  for (std::size_t line = 43; line < example.size(); ++line) big.push_back(example[line]);

  const Opened opened = Open(LinesFromFileBytes(FileBytesFromLines(big)));
  EXPECT_EQ(opened.outcome, kLoaded);
  EXPECT_EQ(opened.variables, 100000u);
  EXPECT_EQ(host.timerInterval, 100) << "the environment after them is read";
}

}  // namespace
