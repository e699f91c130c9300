#include "document/uEditor.h"

#include "document/ModelText.h"
#include "model/uRel.h"
#include "model/uVar.h"
#include "platform/Numbers.h"
#include "platform/RegionalSettings.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// Every name a file can hold is a name the model allows, and back.
static_assert(kMaxNameLength == kMaxLineLength, "a name is one whole line of the model file");

constexpr std::string_view kHeader = "KORVEL - VERSAO 1.0";
constexpr std::string_view kEnd = "FIM";
constexpr std::string_view kVariableMarker = "VARIAVEL------------------------------------------";
constexpr std::string_view kRelationshipMarker =
    "RELACIONAMENTO------------------------------------";
constexpr std::string_view kEnvironmentMarker =
    "AMBIENTE------------------------------------------";

/// The class line of each variable class.
constexpr struct {
  KindCode kind;
  std::string_view line;
} kClassLines[] = {
    {KindCode::ContinuousPositive, "VARIAVEL CONTINUA"},
    {KindCode::ContinuousAnyValue, "VARIAVEL CONTINUA QUALQUER VALOR"},
    {KindCode::OnOffPositive, "VARIAVEL LIGA-DESLIGA"},
    {KindCode::OnOffAnyValue, "VARIAVEL LIGA-DESLIGA QUALQUER VALOR"},
};

constexpr std::string_view kPlot = "TRACAR GRAFICO";
constexpr std::string_view kNoPlot = "NAO TRACAR GRAFICO";
constexpr std::string_view kVariableAwake = "ACORDADA";
constexpr std::string_view kRelationshipAwake = "ACORDADO";
constexpr std::string_view kAsleep = "DORMINDO";
constexpr std::string_view kDecreases = "AUTOMUDANCA: DIMINUI";
constexpr std::string_view kIncreases = "AUTOMUDANCA: AUMENTA";
constexpr std::string_view kOnBelow = "LIGAR ABAIXO";
constexpr std::string_view kOnAbove = "LIGAR ACIMA";
constexpr std::string_view kSameDirection = "DIRECAO: MESMA";
constexpr std::string_view kOppositeDirection = "DIRECAO: OPOSTA";

/// Keyword lines of the enumerations, indexed by value - 1.
constexpr std::string_view kCombineModes[] = {
    "COMBINACAO DE RELACIONAMENTOS: SOMA",
    "COMBINACAO DE RELACIONAMENTOS: MULTIPLICACAO",
    "COMBINACAO DE RELACIONAMENTOS: MEDIA ARITIMETICA",
};
constexpr std::string_view kEffectsWhenOn[] = {
    "QUANDO LIGADA: IGUAL A",
    "QUANDO LIGADA: FRACO",
    "QUANDO LIGADA: FORTE",
};

template <class Mode, std::size_t N>
std::string KeywordOf(const std::string_view (&keywords)[N], Mode mode) {
  const auto value = static_cast<std::int32_t>(mode);
  // A value no editor produces still takes its line, so the record keeps its
  // length; the reader leaves the initial value for an empty line.
  if (value < 1 || value > std::int32_t(N)) return {};
  return std::string(keywords[value - 1]);
}

/// The mode whose keyword the line is, or fallback when it is none of them.
template <class Mode, std::size_t N>
Mode ModeOf(const std::string_view (&keywords)[N], std::string_view line, Mode fallback) {
  for (std::size_t i = 0; i < N; ++i) {
    if (line == keywords[i]) return static_cast<Mode>(i + 1);
  }
  return fallback;
}

/// A kind as the file writes it: a number.
std::string NumberOf(RelationshipKind kind) {
  return std::to_string(static_cast<std::int32_t>(kind));
}

/// A line quoted for an error message; a NUL is shown as a mark, since the
/// message's text would end there.
std::string Quoted(std::string_view line) {
  std::string quoted = "'";
  for (char c : line) {
    if (c == '\0')
      quoted += "\u2400";
    else
      quoted += c;
  }
  quoted += '\'';
  return quoted;
}

/// The model file's lines taken one after the other; beyond the last every
/// line reads as empty.
class LineReader {
public:
  explicit LineReader(const ModelLines& lines) : lines_(lines) {}

  std::string_view Next() { return lines_[pos_++]; }

  std::int32_t NextInt() { return IntFrom(Next()); }

  static std::int32_t IntFrom(std::string_view line) {
    const auto value = ParseInt32(line);
    if (!value) throw ModelFileError(Quoted(line) + " is not a valid integer value");
    return *value;
  }

  long double NextReal() {
    const std::string_view line = Next();
    const auto value = ParseReal(line);
    if (!value) throw RealError(line);
    return *value;
  }

  double NextDouble() {
    const std::string_view line = Next();
    const auto value = ParseDouble(line);
    if (!value) throw RealError(line);
    return *value;
  }

  /// Whether the next line is the keyword; any other line means false.
  bool NextIs(std::string_view keyword) { return Next() == keyword; }

  /// Passes over the empty line that ends a record; the line after it.
  std::string_view NextRecord() {
    Next();
    return Next();
  }

  /// The 0-based position in count items that the next line names.
  std::size_t NextIndex(std::size_t count) {
    const std::int32_t index = NextInt();
    if (index < 0 || std::size_t(index) >= count) {
      throw ModelFileError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return std::size_t(index);
  }

private:
  static ModelFileError RealError(std::string_view line) {
    return ModelFileError(Quoted(line) + " is not a valid floating point value");
  }

  const ModelLines& lines_;
  std::size_t pos_ = 0;
};

std::unique_ptr<TVariavel> NewVariableOfClass(std::string_view classLine) {
  for (const auto& c : kClassLines)
    if (classLine == c.line) return NewVariableOfKindCode(c.kind);
  return nullptr;
}

std::string_view ClassLineOf(const TVariavel& v) {
  for (const auto& c : kClassLines)
    if (v.KindCode() == c.kind) return c.line;
  assert(false && "every variable class has its class line");
  return {};
}

/// A relationship being read: already listed by its variables, which must
/// forget it again if the record fails before the model takes it.
class PendingRelationship {
public:
  PendingRelationship() : r_(std::make_unique<TRelacionamento>()) {}
  PendingRelationship(const PendingRelationship&) = delete;
  PendingRelationship& operator=(const PendingRelationship&) = delete;
  ~PendingRelationship() {
    if (!r_) return;
    for (TVariavel* v : {r_->Origin, r_->Destination}) {
      if (v) std::erase(v->Relationships, r_.get());
    }
  }

  TRelacionamento* operator->() const { return r_.get(); }
  TRelacionamento* get() const { return r_.get(); }
  std::unique_ptr<TRelacionamento> Release() { return std::move(r_); }

private:
  std::unique_ptr<TRelacionamento> r_;
};

void WriteVariable(ModelLines& lines, const TVariavel& v, char separator) {
  lines.emplace_back(kVariableMarker);
  lines.emplace_back(ClassLineOf(v));
  lines.push_back(v.Name);
  lines.push_back(std::to_string(v.X));
  lines.push_back(std::to_string(v.Y));
  lines.push_back(FormatGeneral(v.Level, separator));
  // Signed, as the reader takes it back: a colour from a file keeps all 32 bits.
  lines.push_back(std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(v.Color))));
  lines.emplace_back(v.PlotInGraph ? kPlot : kNoPlot);
  lines.push_back(NumberOf(v.InputKind));
  lines.emplace_back(v.Awake ? kVariableAwake : kAsleep);
  lines.emplace_back(v.SelfChangeDecreases ? kDecreases : kIncreases);
  lines.push_back(FormatGeneral(v.SelfChangeRate, separator));
  lines.push_back(KeywordOf(kCombineModes, v.CombineMode));
  if (v.IsOnOff()) {
    const auto& onOff = static_cast<const TVarLigaDesliga&>(v);
    lines.push_back(FormatGeneral(onOff.ThresholdLevel, separator));
    lines.emplace_back(onOff.OnBelow ? kOnBelow : kOnAbove);
    lines.push_back(KeywordOf(kEffectsWhenOn, onOff.EffectWhenOn));
  }
  lines.emplace_back();
}

/// origin and destination are the positions of its ends in the variable list.
void WriteRelationship(ModelLines& lines, const TRelacionamento& r, int origin, int destination,
                       char separator) {
  lines.emplace_back(kRelationshipMarker);
  lines.push_back(std::to_string(r.X));
  lines.push_back(std::to_string(r.Y));
  lines.push_back(std::to_string(origin));
  lines.push_back(std::to_string(destination));
  lines.push_back(NumberOf(r.Kind));
  lines.emplace_back(r.SameDirection ? kSameDirection : kOppositeDirection);
  lines.emplace_back(r.Awake ? kRelationshipAwake : kAsleep);
  lines.push_back(FormatGeneral(r.Effect, separator));
  lines.emplace_back();
}

void WriteEnvironment(ModelLines& lines, const IEditorHost& host) {
  lines.emplace_back(kEnvironmentMarker);
  lines.push_back(std::to_string(static_cast<std::int32_t>(host.MethodCode())));
  lines.push_back(std::to_string(host.ElapsedTicks()));
  lines.push_back(host.UnitsText());
  lines.push_back(std::to_string(host.TimerInterval()));
  lines.emplace_back();
}

/// A variable record from its class line to the line before its empty one,
/// pulled inside the canvas when keepInside.
std::unique_ptr<TVariavel> ReadVariable(LineReader& in, ::Canvas* canvas, bool keepInside) {
  const std::string_view classLine = in.Next();
  std::unique_ptr<TVariavel> v = NewVariableOfClass(classLine);
  if (!v) throw ModelFileError(Quoted(classLine) + " não é uma classe de variável válida");
  v->SetCanvas(canvas);
  v->SetName(std::string(in.Next()));
  v->X = in.NextInt();
  v->Y = in.NextInt();
  v->Level = in.NextReal();
  v->Color = static_cast<::Color>(static_cast<std::uint32_t>(in.NextInt()));
  v->PlotInGraph = in.NextIs(kPlot);
  v->InputKind = static_cast<RelationshipKind>(in.NextInt());
  v->Awake = in.NextIs(kVariableAwake);
  v->SelfChangeDecreases = in.NextIs(kDecreases);
  v->SelfChangeRate = in.NextDouble();
  v->CombineMode = ModeOf(kCombineModes, in.Next(), v->CombineMode);
  if (auto* onOff = dynamic_cast<TVarLigaDesliga*>(v.get())) {
    onOff->ThresholdLevel = in.NextReal();
    onOff->OnBelow = in.NextIs(kOnBelow);
    onOff->EffectWhenOn = ModeOf(kEffectsWhenOn, in.Next(), onOff->EffectWhenOn);
  }
  if (keepInside) v->KeepInside();
  return v;
}

/// A relationship record from its box position to the line before its empty
/// one, attached to its ends among variables.
std::unique_ptr<TRelacionamento> ReadRelationship(
    LineReader& in, ::Canvas* canvas, const std::vector<std::unique_ptr<TVariavel>>& variables,
    bool keepInside) {
  PendingRelationship r;
  r->SetCanvas(canvas);
  r->X = in.NextInt();
  r->Y = in.NextInt();
  TVariavel* origin = variables[in.NextIndex(variables.size())].get();
  TVariavel* destination = variables[in.NextIndex(variables.size())].get();
  r->Origin = origin;
  r->Destination = destination;
  origin->AddRelationship(r.get());
  destination->AddRelationship(r.get());
  r->UpdateEndpoints();
  r->Kind = static_cast<RelationshipKind>(in.NextInt());
  r->SameDirection = in.NextIs(kSameDirection);
  r->Awake = in.NextIs(kRelationshipAwake);
  r->Effect = in.NextDouble();
  if (keepInside) r->KeepInside();
  return r.Release();
}

/// The environment record after its marker line, each value handed over as
/// soon as it is read.
void ReadEnvironment(LineReader& in, TEditor& editor, IEditorHost& host) {
  editor.ChooseMethod(static_cast<MethodCode>(in.NextInt()));
  const std::string_view clockLine = in.Next();
  host.SetElapsedTicks(LineReader::IntFrom(clockLine));
  host.SetClockText(std::string(clockLine));
  host.SetUnitsText(std::string(in.Next()));
  host.SetTimerInterval(in.NextInt());
}

}  // namespace

int TEditor::IndexOfVariable(const TVariavel* v) const {
  for (std::size_t i = 0; i < Variables.size(); ++i) {
    if (Variables[i].get() == v) return int(i);
  }
  return -1;
}

void TEditor::SaveToLines(std::vector<std::string>& lines) {
  ModelLines compact;
  SaveToLines(compact);
  lines = compact;
}

void TEditor::SaveToLines(ModelLines& lines) {
  Modified = false;
  WriteText(lines);
  if (commandDepth_ > 0) commandStart_ = lines;
}

void TEditor::WriteText(ModelLines& lines) const {
  const char separator = DecimalSeparator();
  lines.clear();
  lines.emplace_back(kHeader);
  lines.emplace_back();
  for (const auto& v : Variables) WriteVariable(lines, *v, separator);

  // Found once: a search per relationship end would make saving quadratic.
  std::unordered_map<const TVariavel*, int> indexOf;
  indexOf.reserve(Variables.size());
  for (std::size_t i = 0; i < Variables.size(); ++i) indexOf.emplace(Variables[i].get(), int(i));
  const auto index = [&indexOf](const TVariavel* v) {
    const auto found = indexOf.find(v);
    return found == indexOf.end() ? -1 : found->second;
  };
  for (const auto& r : Relationships)
    WriteRelationship(lines, *r, index(r->Origin), index(r->Destination), separator);

  WriteEnvironment(lines, host_);
  lines.emplace_back(kEnd);
}

LoadOutcome TEditor::LoadFromLines(const ModelLines& lines) { return LoadText(lines, true); }

LoadOutcome TEditor::LoadText(const ModelLines& lines, bool keepInside) {
  Modified = false;
  LineReader in(lines);
  if (in.Next() != kHeader) {
    host_.ShowInformation("Este arquivo não pode ser aberto nesta versão do Korvel");
    return LoadOutcome::HeaderRefused;
  }
  Clear();

  // Whatever was completed stays and is shown, also when a record fails.
  try {
    in.Next();
    std::string_view current = in.Next();
    for (; current == kVariableMarker; current = in.NextRecord()) {
      Variables.push_back(ReadVariable(in, Canvas, keepInside));
      // Once more now that it is listed, as every reader of the format does.
      // One pass settles a gauge, so today this moves nothing; it stays so
      // that positions keep matching theirs should KeepInside ever change.
      if (keepInside) Variables.back()->KeepInside();
    }
    for (; current == kRelationshipMarker; current = in.NextRecord())
      Relationships.push_back(ReadRelationship(in, Canvas, Variables, keepInside));
    if (current == kEnvironmentMarker) ReadEnvironment(in, *this, host_);
  } catch (...) {
    DrawAll();
    TakeCommandStart();
    throw;
  }
  DrawAll();
  TakeCommandStart();
  return LoadOutcome::Loaded;
}
