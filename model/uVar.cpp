#include "model/uVar.h"

#include "model/uRel.h"
#include "platform/Numbers.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <cmath>

std::string OneLineName(std::string_view text) {
  std::string name(Utf8Prefix(text, kMaxNameLength));
  std::replace_if(name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return name;
}

TVariavel::TVariavel() : TVariavel(VariableType::Continuous, ValueRange::Positive) {}

TVariavel::TVariavel(VariableType type, ValueRange range) : type_(type), range_(range) {
  HalfWidth = 15;
  HalfHeight = 25;
}

void TVariavel::SetInnerValue(long double v) { InnerValue = (v < 0 || std::isnan(v)) ? 0 : v; }

long double TVariavel::PositiveLevel(double v) {
  if (!(v >= 0.0)) return 0;
  if (v > 1.0) return 1;
  return v;
}

void TVariavel::SetLevel(double v) { Level = PositiveLevel(v); }

long double TVariavel::OutputValue() { return InnerValue; }

std::int32_t TVariavel::YOfLevel(long double level) {
  const std::int64_t bottom = std::int64_t(Y) + HalfHeight - 2;
  return RoundHalfEven(static_cast<long double>(bottom) -
                       level * 2 * static_cast<long double>(HalfHeight - 2));
}

long double TVariavel::LevelAtY(std::int32_t y) {
  const std::int64_t top = std::int64_t(Y) - HalfHeight + 2;
  const std::int64_t bottom = std::int64_t(Y) + HalfHeight - 2;
  const std::int64_t bounded = std::clamp<std::int64_t>(y, top, bottom);
  return static_cast<long double>(bottom - bounded) /
         (2 * static_cast<long double>(HalfHeight - 2));
}

void TVariavel::PrepareForAnimation() {
  InnerValue = InnerValueOfLevel(Level);
  PendingValue = InnerValue;
}

void TVariavel::SetName(const std::string& s) {
  Name = s;
  HalfNameWidth = Surface().TextWidth(Name) / 2;
}

void TVariavel::SetInputKind(RelationshipKind k) {
  InputKind = k;
  for (TRelacionamento* r : Relationships)
    if (r->Destination == this) r->Kind = k;
}

void TVariavel::AddRelationship(TRelacionamento* r) { Relationships.push_back(r); }

bool TVariavel::RemoveRelationship(TRelacionamento* r) {
  const auto it = std::find(Relationships.begin(), Relationships.end(), r);
  if (it != Relationships.end()) Relationships.erase(it);
  const bool inputRemains = std::any_of(Relationships.begin(), Relationships.end(),
                                        [this](const TRelacionamento* q) {
                                          return q->Destination == this;
                                        });
  if (!inputRemains) InputKind = RelationshipKind::Proportion;
  return inputRemains;
}

long double TVariavel::InnerValueOfLevel(long double level) {
  if (1 - level < 1e-16L) return 6;
  if (1 + level < 1e-16L) return -6;
  return std::log((1 + level) / (1 - level));
}

std::unique_ptr<TVariavel> NewVariableOfKindCode(KindCode code) {
  switch (code) {
    case KindCode::ContinuousPositive: return std::make_unique<TVarContinua>();
    case KindCode::ContinuousAnyValue: return std::make_unique<TVarContinuaQualquerValor>();
    case KindCode::OnOffPositive: return std::make_unique<TVarLigaDesliga>();
    case KindCode::OnOffAnyValue: return std::make_unique<TVarLigaDesligaQualquerValor>();
  }
  return nullptr;
}
