#include "document/ModelText.h"
#include "document/uEditor.h"
#include "model/uRel.h"
#include "model/uVar.h"
#include "platform/Numbers.h"
#include "platform/RasterCanvas.h"
#include "platform/RegionalSettings.h"
#include "tests/document/FakeHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

const std::string kRefusal = "Este arquivo não pode ser aberto nesta versão do Korvel";

std::string DataPath(const std::string& name) { return std::string(KORVEL_TEST_DATA) + "/" + name; }

std::string RawBytes(const std::string& name) {
  std::ifstream in(DataPath(name), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

long double Real(const char* text) { return *ParseReal(text); }

class ModelFileTest : public testing::Test {
protected:
  void SetUp() override {
    PinDecimalSeparator(',');
    editor.AttachCanvas(&canvas);
  }
  void TearDown() override { PinDecimalSeparator('\0'); }

  std::vector<std::string> Lines(const std::string& name) { return ReadModelFile(DataPath(name)); }

  template <class T>
  T& AddVariable(const std::string& name, std::int32_t x, std::int32_t y) {
    auto v = std::make_unique<T>();
    v->SetCanvas(&canvas);
    v->SetName(name);
    v->X = x;
    v->Y = y;
    T& added = *v;
    editor.Variables.push_back(std::move(v));
    return added;
  }

  TRelacionamento& AddRelationship(TVariavel& origin, TVariavel& destination, std::int32_t x,
                                   std::int32_t y) {
    auto r = std::make_unique<TRelacionamento>();
    r->SetCanvas(&canvas);
    r->Origin = &origin;
    r->Destination = &destination;
    origin.AddRelationship(r.get());
    destination.AddRelationship(r.get());
    r->X = x;
    r->Y = y;
    r->UpdateEndpoints();
    TRelacionamento& added = *r;
    editor.Relationships.push_back(std::move(r));
    return added;
  }

  void SetEnvironment(std::int32_t method, std::int32_t ticks, const std::string& units,
                      std::int32_t interval) {
    host.methodCode = static_cast<MethodCode>(method);
    host.elapsedTicks = ticks;
    host.unitsText = units;
    host.timerInterval = interval;
  }

  /// Writes the model and reads it into a fresh document on the same canvas.
  std::vector<std::string> SaveAndReloadInto(TEditor& other) {
    std::vector<std::string> lines;
    editor.SaveToLines(lines);
    EXPECT_EQ(other.LoadFromLines(lines), LoadOutcome::Loaded);
    return lines;
  }

  /// Every relationship a variable lists is one the model owns, and vice versa.
  void ExpectListsAgree(const TEditor& e) {
    for (const auto& v : e.Variables) {
      for (TRelacionamento* r : v->Relationships) {
        const bool owned = std::any_of(e.Relationships.begin(), e.Relationships.end(),
                                       [r](const auto& o) { return o.get() == r; });
        EXPECT_TRUE(owned) << v->Name << " lists a relationship the model no longer has";
        EXPECT_TRUE(r->Origin == v.get() || r->Destination == v.get());
      }
    }
    for (const auto& r : e.Relationships) {
      EXPECT_NE(std::count(r->Origin->Relationships.begin(), r->Origin->Relationships.end(),
                           r.get()),
                0);
      EXPECT_NE(std::count(r->Destination->Relationships.begin(),
                           r->Destination->Relationships.end(), r.get()),
                0);
    }
  }

  RasterCanvas canvas{800, 600};
  FakeHost host;
  TEditor editor{host};
};

TEST_F(ModelFileTest, TheExampleModelIsWrittenLetterForLetter) {
  auto& source = AddVariable<TVarContinua>("Nome", 120, 90);
  source.Level = 0.5L;
  source.Color = Color{255};
  source.PlotInGraph = true;
  auto& switched = AddVariable<TVarLigaDesliga>("Nome", 260, 90);
  switched.ThresholdLevel = Real("0.3");
  AddRelationship(source, switched, 190, 90);
  SetEnvironment(2, 0, "segundos", 100);
  editor.Modified = true;

  std::vector<std::string> lines{"whatever was there"};
  editor.SaveToLines(lines);

  EXPECT_EQ(FileBytesFromLines(lines), RawBytes("example-comma.KRL"));
  EXPECT_FALSE(editor.Modified);
}

TEST_F(ModelFileTest, TheExampleReadsBackAsTheModelItDescribes) {
  editor.Modified = true;
  ASSERT_EQ(editor.LoadFromLines(Lines("example-comma.KRL")), LoadOutcome::Loaded);
  EXPECT_FALSE(editor.Modified);

  ASSERT_EQ(editor.Variables.size(), 2u);
  ASSERT_EQ(editor.Relationships.size(), 1u);
  auto* source = dynamic_cast<TVarContinua*>(editor.Variables[0].get());
  auto* switched = dynamic_cast<TVarLigaDesliga*>(editor.Variables[1].get());
  ASSERT_NE(source, nullptr);
  ASSERT_NE(switched, nullptr);
  EXPECT_EQ(dynamic_cast<TVarContinuaQualquerValor*>(source), nullptr);
  EXPECT_EQ(source->Name, "Nome");
  EXPECT_EQ(source->HalfNameWidth, canvas.TextWidth("Nome") / 2);
  EXPECT_EQ(source->X, 120);
  EXPECT_EQ(source->Y, 90);
  EXPECT_EQ(source->Level, 0.5L);
  EXPECT_EQ(source->Color, Color{255});
  EXPECT_TRUE(source->PlotInGraph);
  EXPECT_EQ(switched->ThresholdLevel, Real("0.3"));
  EXPECT_FALSE(switched->OnBelow);
  EXPECT_EQ(switched->EffectWhenOn, EffectWhenOn::EqualToValue);

  TRelacionamento& r = *editor.Relationships[0];
  EXPECT_EQ(r.X, 190);
  EXPECT_EQ(r.Y, 90);
  EXPECT_EQ(r.Origin, source);
  EXPECT_EQ(r.Destination, switched);
  EXPECT_EQ(r.Canvas, &canvas);
  EXPECT_EQ(source->Relationships, std::vector<TRelacionamento*>{&r});
  EXPECT_EQ(switched->Relationships, std::vector<TRelacionamento*>{&r});
  EXPECT_EQ(CanvasPoint(r.StartX, r.StartY), AttachPoint(*source, 190, 90));
  EXPECT_EQ(CanvasPoint(r.EndX, r.EndY), AttachPoint(*switched, 190, 90));

  EXPECT_EQ(host.methodCode, MethodCode::RungeKutta);
  EXPECT_EQ(host.elapsedTicks, 0);
  EXPECT_EQ(host.clockText, "0");
  EXPECT_EQ(host.unitsText, "segundos");
  EXPECT_EQ(host.timerInterval, 100);

  std::vector<std::string> again;
  editor.SaveToLines(again);
  EXPECT_EQ(FileBytesFromLines(again), RawBytes("example-comma.KRL"));
}

/// Gives every stored field of a variable a value other than its default,
/// varied by seed so that neighbours in one file differ.
void Populate(TVariavel& v, int seed) {
  v.X = 100 + 90 * seed;
  v.Y = 150 + seed;
  v.Level = (seed % 2 ? -0.625L : 0.8125L);
  v.Color = RGBColor(10, 200, std::uint8_t(seed));
  v.PlotInGraph = true;
  v.InputKind = RelationshipKind::Rate;
  v.Awake = false;
  v.SelfChangeDecreases = false;
  v.SelfChangeRate = 0.07;
  v.CombineMode = static_cast<CombineMode>(2 + seed % 2);
  if (auto* onOff = dynamic_cast<TVarLigaDesliga*>(&v)) {
    onOff->ThresholdLevel = -0.375L;
    onOff->OnBelow = true;
    onOff->EffectWhenOn = static_cast<EffectWhenOn>(2 + seed % 2);
  }
}

void ExpectSameStoredFields(const TVariavel& a, const TVariavel& b) {
  EXPECT_EQ(typeid(a), typeid(b));
  EXPECT_EQ(a.Name, b.Name);
  EXPECT_EQ(a.X, b.X);
  EXPECT_EQ(a.Y, b.Y);
  EXPECT_EQ(a.Level, b.Level);
  EXPECT_EQ(a.Color, b.Color);
  EXPECT_EQ(a.PlotInGraph, b.PlotInGraph);
  EXPECT_EQ(a.InputKind, b.InputKind);
  EXPECT_EQ(a.Awake, b.Awake);
  EXPECT_EQ(a.SelfChangeDecreases, b.SelfChangeDecreases);
  EXPECT_EQ(a.SelfChangeRate, b.SelfChangeRate);
  EXPECT_EQ(a.CombineMode, b.CombineMode);
  const auto* x = dynamic_cast<const TVarLigaDesliga*>(&a);
  const auto* y = dynamic_cast<const TVarLigaDesliga*>(&b);
  ASSERT_EQ(x == nullptr, y == nullptr);
  if (x) {
    EXPECT_EQ(x->ThresholdLevel, y->ThresholdLevel);
    EXPECT_EQ(x->OnBelow, y->OnBelow);
    EXPECT_EQ(x->EffectWhenOn, y->EffectWhenOn);
  }
}

TEST_F(ModelFileTest, EveryFieldOfEveryClassSurvivesARoundTrip) {
  TVariavel* vars[] = {
      &AddVariable<TVarContinua>("Água", 0, 0),
      &AddVariable<TVarContinuaQualquerValor>("Temperatura", 0, 0),
      &AddVariable<TVarLigaDesliga>("Aquecedor", 0, 0),
      &AddVariable<TVarLigaDesligaQualquerValor>("Termostato", 0, 0),
  };
  for (int i = 0; i < 4; ++i) Populate(*vars[i], i);
  auto& rate = AddRelationship(*vars[0], *vars[1], 210, 180);
  rate.Kind = RelationshipKind::Rate;
  rate.SameDirection = false;
  rate.Awake = false;
  rate.Effect = 0.5;
  auto& strong = AddRelationship(*vars[3], *vars[2], 400, 330);
  strong.Effect = 2.0;
  SetEnvironment(1, 42, "mêses", 250);

  FakeHost otherHost;
  TEditor other(otherHost);
  other.AttachCanvas(&canvas);
  SaveAndReloadInto(other);

  ASSERT_EQ(other.Variables.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(vars[i]->Name);
    ExpectSameStoredFields(*vars[i], *other.Variables[i]);
    EXPECT_EQ(other.Variables[i]->InnerValue, 0.0L) << "inner values are not stored";
    EXPECT_EQ(other.Variables[i]->StartValue, 0.0L);
  }
  ASSERT_EQ(other.Relationships.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    const TRelacionamento& a = *editor.Relationships[i];
    const TRelacionamento& b = *other.Relationships[i];
    EXPECT_EQ(b.X, a.X);
    EXPECT_EQ(b.Y, a.Y);
    EXPECT_EQ(other.IndexOfVariable(b.Origin), editor.IndexOfVariable(a.Origin));
    EXPECT_EQ(other.IndexOfVariable(b.Destination), editor.IndexOfVariable(a.Destination));
    EXPECT_EQ(b.Kind, a.Kind);
    EXPECT_EQ(b.SameDirection, a.SameDirection);
    EXPECT_EQ(b.Awake, a.Awake);
    EXPECT_EQ(b.Effect, a.Effect);
  }
  // The reader doesn't re-derive kinds: the destination keeps the InputKind
  // of its own record even though the relationship into it says otherwise.
  EXPECT_EQ(other.Variables[2]->InputKind, RelationshipKind::Rate);
  EXPECT_EQ(other.Relationships[1]->Kind, RelationshipKind::Proportion);
  ExpectListsAgree(other);

  EXPECT_EQ(otherHost.methodCode, MethodCode::Euler);
  EXPECT_EQ(otherHost.elapsedTicks, 42);
  EXPECT_EQ(otherHost.unitsText, "mêses");
  EXPECT_EQ(otherHost.timerInterval, 250);
}

TEST_F(ModelFileTest, EveryClassLineAndKeywordIsSpelledAsTheFormatHasIt) {
  auto& temperature = AddVariable<TVarContinuaQualquerValor>("Temperatura", 100, 150);
  temperature.Level = -0.625L;
  temperature.Color = Color{255};
  temperature.InputKind = RelationshipKind::Rate;
  temperature.Awake = false;
  temperature.SelfChangeDecreases = false;
  temperature.SelfChangeRate = 0.07;
  temperature.CombineMode = CombineMode::Product;
  auto& thermostat = AddVariable<TVarLigaDesligaQualquerValor>("Termostato", 300, 150);
  thermostat.Level = 0.8125L;
  thermostat.Color = Color{65280};
  thermostat.PlotInGraph = true;
  thermostat.CombineMode = CombineMode::Mean;
  thermostat.ThresholdLevel = -0.375L;
  thermostat.OnBelow = true;
  thermostat.EffectWhenOn = EffectWhenOn::Weak;
  auto& heater = AddVariable<TVarLigaDesliga>("Aquecedor", 500, 150);
  heater.Level = 1;
  heater.Color = Color{16711680};
  heater.SelfChangeRate = 1e-6;
  heater.ThresholdLevel = 1;
  heater.EffectWhenOn = EffectWhenOn::Strong;
  auto& loss = AddVariable<TVarContinua>("Perda", 300, 400);
  auto& asleep = AddRelationship(temperature, thermostat, 200, 150);
  asleep.SameDirection = false;
  asleep.Awake = false;
  asleep.Effect = 0.5;
  auto& rate = AddRelationship(heater, temperature, 400, 275);
  rate.Kind = RelationshipKind::Rate;
  rate.Effect = 2.0;
  AddRelationship(temperature, loss, 300, 275);
  SetEnvironment(1, 12345, "semanas", 250);

  std::vector<std::string> lines;
  editor.SaveToLines(lines);
  EXPECT_EQ(FileBytesFromLines(lines), RawBytes("every-keyword.KRL"));

  // The reader, given the same text, must map each keyword back to its value.
  FakeHost otherHost;
  TEditor other(otherHost);
  other.AttachCanvas(&canvas);
  ASSERT_EQ(other.LoadFromLines(Lines("every-keyword.KRL")), LoadOutcome::Loaded);
  ASSERT_EQ(other.Variables.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(editor.Variables[i]->Name);
    ExpectSameStoredFields(*editor.Variables[i], *other.Variables[i]);
  }
  ASSERT_EQ(other.Relationships.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const TRelacionamento& a = *editor.Relationships[i];
    const TRelacionamento& b = *other.Relationships[i];
    EXPECT_EQ(other.IndexOfVariable(b.Origin), editor.IndexOfVariable(a.Origin));
    EXPECT_EQ(other.IndexOfVariable(b.Destination), editor.IndexOfVariable(a.Destination));
    EXPECT_EQ(b.Kind, a.Kind);
    EXPECT_EQ(b.SameDirection, a.SameDirection);
    EXPECT_EQ(b.Awake, a.Awake);
    EXPECT_EQ(b.Effect, a.Effect);
  }
  EXPECT_EQ(otherHost.methodCode, MethodCode::Euler);
  EXPECT_EQ(otherHost.elapsedTicks, 12345);
  EXPECT_EQ(otherHost.unitsText, "semanas");
  EXPECT_EQ(otherHost.timerInterval, 250);
}

TEST_F(ModelFileTest, AnEmptyModelIsTheHeaderAndTheEnvironment) {
  SetEnvironment(1, 7, "horas", 100);
  std::vector<std::string> lines;
  editor.SaveToLines(lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"KORVEL - VERSAO 1.0", "",
                                             "AMBIENTE------------------------------------------",
                                             "1", "7", "horas", "100", "", "FIM"}));

  AddVariable<TVarContinua>("Antigo", 100, 100);
  FakeHost fresh;
  host = fresh;
  ASSERT_EQ(editor.LoadFromLines(lines), LoadOutcome::Loaded);
  EXPECT_TRUE(editor.Variables.empty());
  EXPECT_EQ(host.methodCode, MethodCode::Euler);
  EXPECT_EQ(host.elapsedTicks, 7);
  EXPECT_EQ(host.unitsText, "horas");
}

struct ContentError {
  const char* file;
  const char* message;
  std::size_t variablesKept;
};

TEST_F(ModelFileTest, ContentErrorsKeepWhatWasCompletedAndSayWhatFailed) {
  const ContentError cases[] = {
      {"bad-integer-x.KRL", "'12a' is not a valid integer value", 0},
      {"integer-beyond-32-bits.KRL", "'2147483648' is not a valid integer value", 0},
      {"bad-real-level.KRL", "'0,5x' is not a valid floating point value", 0},
      {"real-overflow-level.KRL", "'1E5000' is not a valid floating point value", 0},
      {"cut-short-in-number.KRL", "'' is not a valid floating point value", 0},
      {"unknown-class.KRL", "'VARIAVEL DISCRETA' não é uma classe de variável válida", 1},
      {"index-out-of-bounds.KRL", "List index out of bounds (5)", 3},
      {"index-negative.KRL", "List index out of bounds (-1)", 3},
      {"index-largest-integer.KRL", "List index out of bounds (2147483647)", 3},
      {"bad-kind-after-attach.KRL", "'proporcao' is not a valid integer value", 2},
      {"effect-beyond-double.KRL", "'1E400' is not a valid floating point value", 2},
      {"nul-inside-a-number.KRL", "'12\u24003' is not a valid integer value", 0},
  };
  for (const ContentError& c : cases) {
    SCOPED_TRACE(c.file);
    FakeHost fresh;
    host = fresh;
    host.timerInterval = 77;
    editor.Clear();
    AddVariable<TVarContinua>("Antigo", 50, 50);
    editor.Modified = true;

    try {
      editor.LoadFromLines(Lines(c.file));
      ADD_FAILURE() << "no error";
    } catch (const ModelFileError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }

    EXPECT_FALSE(editor.Modified);
    ASSERT_EQ(editor.Variables.size(), c.variablesKept);
    EXPECT_TRUE(editor.Relationships.empty());
    ExpectListsAgree(editor);
    for (const auto& v : editor.Variables) EXPECT_TRUE(v->Relationships.empty());
    EXPECT_EQ(host.timerInterval, 77) << "the environment is not read";
    EXPECT_EQ(host.methodCode, MethodCode::NotChosen);
    if (c.variablesKept > 0) {
      // Drawn before the error left: the first gauge's left edge is on screen.
      const TVariavel& first = *editor.Variables[0];
      EXPECT_EQ(canvas.Pixel(first.X - first.HalfWidth, first.Y), clBlack);
    }
  }
}

TEST_F(ModelFileTest, DoublesWrittenRoundedAboveTheLargestReopenAsTheLargest) {
  constexpr double kLargest = std::numeric_limits<double>::max();
  ASSERT_EQ(editor.LoadFromLines(Lines("rate-and-effect-rounded-above-largest-double.KRL")),
            LoadOutcome::Loaded);
  ASSERT_EQ(editor.Relationships.size(), 1u) << "nothing after the record is lost";
  EXPECT_EQ(editor.Variables[0]->SelfChangeRate, -kLargest);
  EXPECT_EQ(editor.Relationships[0]->Effect, kLargest);
  EXPECT_EQ(host.timerInterval, 100);

  editor.Variables[0]->SelfChangeRate = std::nextafter(kLargest, 0.0);
  FakeHost otherHost;
  TEditor other(otherHost);
  other.AttachCanvas(&canvas);
  const std::vector<std::string> saved = SaveAndReloadInto(other);
  EXPECT_EQ(other.Variables[0]->SelfChangeRate, kLargest);
  std::vector<std::string> again;
  other.SaveToLines(again);
  EXPECT_EQ(again, saved);
}

TEST_F(ModelFileTest, AFileWithoutTheExactHeaderIsRefusedAndTheModelKept) {
  std::vector<std::string> example = Lines("example-comma.KRL");
  std::vector<std::string> otherVersion = example;
  otherVersion[0] = "KORVEL - VERSAO 2.0";
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"different case", Lines("header-lowercase.KRL")},
      {"trailing blank", Lines("header-trailing-blank.KRL")},
      {"other version", otherVersion},
      {"no lines at all", {}},
  };
  AddVariable<TVarContinua>("Mantido", 100, 100);
  for (const auto& [name, lines] : cases) {
    SCOPED_TRACE(name);
    host.messages.clear();
    editor.Modified = true;
    EXPECT_EQ(editor.LoadFromLines(lines), LoadOutcome::HeaderRefused);
    EXPECT_EQ(host.messages, std::vector<std::string>{kRefusal});
    EXPECT_FALSE(editor.Modified);
    ASSERT_EQ(editor.Variables.size(), 1u);
    EXPECT_EQ(editor.Variables[0]->Name, "Mantido");
    EXPECT_EQ(host.timerInterval, 1);
  }
}

TEST_F(ModelFileTest, BothDecimalSeparatorsReadUnderEitherSetting) {
  for (char separator : {',', '.'}) {
    PinDecimalSeparator(separator);
    for (const char* file : {"example-comma.KRL", "example-point.KRL"}) {
      SCOPED_TRACE(std::string(file) + " under '" + separator + "'");
      ASSERT_EQ(editor.LoadFromLines(Lines(file)), LoadOutcome::Loaded);
      ASSERT_EQ(editor.Variables.size(), 2u);
      EXPECT_EQ(editor.Variables[0]->Level, 0.5L);
      EXPECT_EQ(dynamic_cast<TVarLigaDesliga&>(*editor.Variables[1]).ThresholdLevel, Real("0.3"));
    }
  }
}

TEST_F(ModelFileTest, RealsAreWrittenWithTheRegionalSeparator) {
  auto& a = AddVariable<TVarContinua>("A", 100, 100);
  a.Level = 0.5L;
  a.SelfChangeRate = 0.07;
  auto& b = AddVariable<TVarLigaDesliga>("B", 300, 100);
  b.ThresholdLevel = Real("0.3");
  AddRelationship(a, b, 200, 100).Effect = 0.5;

  const struct {
    char separator;
    std::vector<std::string> reals;
  } cases[] = {{',', {"0,5", "0,07", "0,3", "0,5"}}, {'.', {"0.5", "0.07", "0.3", "0.5"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.separator);
    PinDecimalSeparator(c.separator);
    std::vector<std::string> lines;
    editor.SaveToLines(lines);
    // Level and rate of A, threshold of B, effect of the relationship.
    EXPECT_EQ((std::vector<std::string>{lines[7], lines[13], lines[29], lines[41]}), c.reals);
  }
}

TEST_F(ModelFileTest, NamesReadFromEitherEncoding) {
  ASSERT_EQ(editor.LoadFromLines(Lines("names-windows1252.KRL")), LoadOutcome::Loaded);
  ASSERT_EQ(editor.Variables.size(), 1u);
  EXPECT_EQ(editor.Variables[0]->Name, "Água");
  EXPECT_EQ(host.unitsText, "mêses");

  for (const char* file : {"names-utf8.KRL", "stray-byte-after-fim.KRL"}) {
    SCOPED_TRACE(file);
    ASSERT_EQ(editor.LoadFromLines(Lines(file)), LoadOutcome::Loaded);
    ASSERT_EQ(editor.Variables.size(), 2u);
    EXPECT_EQ(editor.Variables[0]->Name, "Água");
    EXPECT_EQ(editor.Variables[1]->Name, "Δ população");
  }
}

// A name whose Windows-1252 bytes are valid UTF-8 once came back changed.
TEST_F(ModelFileTest, ANameComesBackFromTheFileExactlyAsTyped) {
  for (const char* name : {"Ã©", "Ã‰gua", "Ã©\u0394"}) {
    editor.Clear();
    AddVariable<TVarContinua>(name, 100, 100);
    std::vector<std::string> lines;
    editor.SaveToLines(lines);
    ASSERT_EQ(editor.LoadFromLines(LinesFromFileBytes(FileBytesFromLines(lines))),
              LoadOutcome::Loaded);
    ASSERT_EQ(editor.Variables.size(), 1u);
    EXPECT_EQ(editor.Variables[0]->Name, name);
  }
}

TEST_F(ModelFileTest, OnlyMethodsOneAndTwoChangeTheIntegrationMethod) {
  std::vector<std::string> euler = Lines("example-comma.KRL");
  euler[44] = "1";
  const struct {
    const char* name;
    std::vector<std::string> lines;
    ::IntegrationMethod before;
    ::IntegrationMethod after;
    bool eulerChecked;
    bool rungeKuttaChecked;
  } cases[] = {
      {"1 after Runge-Kutta", euler, IntegrationMethod::RungeKutta, IntegrationMethod::Euler, true,
       false},
      {"2 after Euler", Lines("example-comma.KRL"), IntegrationMethod::Euler,
       IntegrationMethod::RungeKutta, false, true},
      {"0 after Euler", Lines("method-zero.KRL"), IntegrationMethod::Euler,
       IntegrationMethod::Euler, false, false},
      {"0 after Runge-Kutta", Lines("method-zero.KRL"), IntegrationMethod::RungeKutta,
       IntegrationMethod::RungeKutta, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    editor.IntegrationMethod = c.before;
    host.methodCode = static_cast<MethodCode>(9);
    ASSERT_EQ(editor.LoadFromLines(c.lines), LoadOutcome::Loaded);
    EXPECT_EQ(editor.IntegrationMethod, c.after);
    EXPECT_EQ(host.eulerChecked, c.eulerChecked);
    EXPECT_EQ(host.rungeKuttaChecked, c.rungeKuttaChecked);
    EXPECT_EQ(host.methodCode, static_cast<MethodCode>(std::stoi(c.lines[44])));
  }
}

TEST_F(ModelFileTest, TheClockShowsItsLineAsWritten) {
  std::vector<std::string> lines = Lines("example-comma.KRL");
  lines[45] = "007";
  ASSERT_EQ(editor.LoadFromLines(lines), LoadOutcome::Loaded);
  EXPECT_EQ(host.elapsedTicks, 7);
  EXPECT_EQ(host.clockText, "007");
}

TEST_F(ModelFileTest, LevelsAndThresholdsOutsideTheRangeLoadUnchanged) {
  ASSERT_EQ(editor.LoadFromLines(Lines("level-out-of-range.KRL")), LoadOutcome::Loaded);
  EXPECT_EQ(editor.Variables[0]->Level, 3.0L);
  ASSERT_EQ(editor.LoadFromLines(Lines("level-beyond-double.KRL")), LoadOutcome::Loaded);
  EXPECT_EQ(editor.Variables[0]->Level, Real("1E4000"));
  ASSERT_EQ(editor.LoadFromLines(Lines("threshold-out-of-range.KRL")), LoadOutcome::Loaded);
  EXPECT_EQ(dynamic_cast<TVarLigaDesliga&>(*editor.Variables[1]).ThresholdLevel, 3.0L);
}

TEST_F(ModelFileTest, AFileCutShortWhereAMarkerIsExpectedEndsQuietly) {
  host.timerInterval = 77;
  ASSERT_EQ(editor.LoadFromLines(Lines("cut-short-at-marker.KRL")), LoadOutcome::Loaded);
  ASSERT_EQ(editor.Variables.size(), 1u);
  EXPECT_EQ(editor.Variables[0]->Level, 0.5L);
  EXPECT_EQ(host.timerInterval, 77);
}

TEST_F(ModelFileTest, UnknownKeywordLinesFallBackWithoutAnError) {
  std::vector<std::string> lines = Lines("example-comma.KRL");
  lines[9] = "tracar grafico";
  lines[11] = "DORMINDO ";
  lines[28] = "COMBINACAO DE RELACIONAMENTOS: MEDIA";
  lines[31] = "";
  ASSERT_EQ(editor.LoadFromLines(lines), LoadOutcome::Loaded);
  EXPECT_FALSE(editor.Variables[0]->PlotInGraph);
  EXPECT_FALSE(editor.Variables[0]->Awake);
  EXPECT_EQ(editor.Variables[1]->CombineMode, CombineMode::Sum);
  EXPECT_EQ(dynamic_cast<TVarLigaDesliga&>(*editor.Variables[1]).EffectWhenOn,
            EffectWhenOn::EqualToValue);
}

TEST_F(ModelFileTest, ValuesNoEditorMakesStillWriteAFileThatReadsBack) {
  auto& v = AddVariable<TVarLigaDesliga>("Estranho", 100, 100);
  v.CombineMode = static_cast<CombineMode>(9);
  v.EffectWhenOn = static_cast<EffectWhenOn>(0);
  v.Color = Color{0xFF00FF80u};
  AddVariable<TVarContinua>("Depois", 300, 100);

  FakeHost otherHost;
  TEditor other(otherHost);
  other.AttachCanvas(&canvas);
  const std::vector<std::string> lines = SaveAndReloadInto(other);

  EXPECT_EQ(lines[8], "-16711808");
  EXPECT_EQ(lines[14], "") << "the combination keeps its line";
  EXPECT_EQ(lines[17], "") << "so does the effect when on";
  ASSERT_EQ(other.Variables.size(), 2u);
  EXPECT_EQ(other.Variables[0]->Color, Color{0xFF00FF80u});
  EXPECT_EQ(other.Variables[0]->CombineMode, CombineMode::Sum);
  EXPECT_EQ(dynamic_cast<TVarLigaDesliga&>(*other.Variables[0]).EffectWhenOn,
            EffectWhenOn::EqualToValue);
  EXPECT_EQ(other.Variables[1]->Name, "Depois");
}

TEST_F(ModelFileTest, HostileRecordsLoadAndCanBeDeleted) {
  ASSERT_EQ(editor.LoadFromLines(Lines("hostile-records.KRL")), LoadOutcome::Loaded);
  ASSERT_EQ(editor.Variables.size(), 3u);
  ASSERT_EQ(editor.Relationships.size(), 5u);
  const CanvasRect clip = canvas.ClipRect();
  for (const auto& v : editor.Variables) {
    SCOPED_TRACE(v->Name);
    EXPECT_GE(v->X - v->HalfWidth, clip.left);
    EXPECT_LE(v->X + v->HalfWidth, clip.right);
    EXPECT_GE(v->Y - v->HalfHeight - v->LabelHeight, clip.top);
    EXPECT_LT(v->Y + v->HalfHeight, clip.bottom);
  }
  const TRelacionamento& oddKind = *editor.Relationships[3];
  EXPECT_EQ(oddKind.Kind, static_cast<RelationshipKind>(7));
  EXPECT_LE(oddKind.X + oddKind.HalfWidth, clip.right);
  EXPECT_GE(oddKind.Y - oddKind.HalfHeight, clip.top);
  EXPECT_EQ(editor.Relationships[4]->Effect, 1e308);
  ExpectListsAgree(editor);

  // A few ticks over the odd records must not upset anything either.
  editor.StartAnimation();
  for (int i = 0; i < 3; ++i) editor.Tick();
  editor.StopAnimation();

  // "Meio" carries the self-relationship and two others.
  TVariavel* middle = editor.Variables[2].get();
  ASSERT_EQ(middle->Name, "Meio");
  editor.CurrentObject = middle;
  editor.DeleteSelected();
  ASSERT_EQ(editor.Variables.size(), 2u);
  EXPECT_EQ(editor.Relationships.size(), 2u);
  ExpectListsAgree(editor);

  editor.CurrentObject = editor.Relationships[0].get();
  editor.DeleteSelected();
  EXPECT_EQ(editor.Relationships.size(), 1u);
  ExpectListsAgree(editor);

  editor.CurrentObject = editor.Variables[0].get();
  editor.DeleteSelected();
  EXPECT_TRUE(editor.Relationships.empty());
  ASSERT_EQ(editor.Variables.size(), 1u);
  EXPECT_TRUE(editor.Variables[0]->Relationships.empty());
}

}  // namespace
