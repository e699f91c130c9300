#include "bench/BenchModels.h"

#include "document/uEditor.h"
#include "model/uRel.h"
#include "model/uVar.h"

#include <memory>
#include <random>
#include <string>

namespace {

constexpr std::int32_t kCellWidth = 60;
constexpr std::int32_t kCellHeight = 130;
constexpr int kColumns = 20;

/// The four classes, picked by number: continuous ones first.
std::unique_ptr<TVariavel> NewVariable(int classNumber) {
  constexpr KindCode kClasses[] = {KindCode::ContinuousPositive, KindCode::ContinuousAnyValue,
                                   KindCode::OnOffPositive, KindCode::OnOffAnyValue};
  return NewVariableOfKindCode(kClasses[classNumber]);
}

void Link(TEditor& e, int from, int to, RelationshipKind kind, double effect, bool same) {
  TVariavel* origin = e.Variables[std::size_t(from)].get();
  TVariavel* destination = e.Variables[std::size_t(to)].get();
  auto r = std::make_unique<TRelacionamento>();
  r->SetCanvas(e.Canvas);
  r->Origin = origin;
  r->Destination = destination;
  r->X = (origin->X + destination->X) / 2;
  r->Y = (origin->Y + destination->Y) / 2;
  origin->AddRelationship(r.get());
  destination->AddRelationship(r.get());
  r->UpdateEndpoints();
  r->Kind = kind;
  r->Effect = effect;
  r->SameDirection = same;
  r->KeepInside();
  e.Relationships.push_back(std::move(r));
}

}  // namespace

CanvasSize CanvasFor(ModelShape shape, int n) {
  if (shape == ModelShape::Sparse) return {1600, 1000};
  const int columns = n < kColumns ? n : kColumns;
  const int rows = (n + kColumns - 1) / kColumns;
  return {columns * kCellWidth + kCellWidth, rows * kCellHeight + kCellHeight};
}

const char* ShapeName(ModelShape shape) {
  switch (shape) {
    case ModelShape::Chain: return "chain";
    case ModelShape::FanIn: return "fanin";
    case ModelShape::Sparse: return "sparse";
  }
  return "?";
}

void BuildModel(TEditor& e, ModelShape shape, int n) {
  std::mt19937 random(12345u + unsigned(n) * 7u + unsigned(shape));
  const auto pick = [&random](int count) {
    return int(std::uniform_int_distribution<int>(0, count - 1)(random));
  };
  const CanvasSize size = CanvasFor(shape, n);

  for (int i = 0; i < n; ++i) {
    int classNumber = pick(2);
    if (shape == ModelShape::FanIn && i % 10 == 0) classNumber = 2 + pick(2);
    if (shape == ModelShape::Sparse) classNumber = pick(4);
    std::unique_ptr<TVariavel> v = NewVariable(classNumber);
    v->SetCanvas(e.Canvas);
    v->SetName(std::string(1, 'V').append(std::to_string(i)));
    if (shape == ModelShape::Sparse) {
      v->X = 40 + pick(size.width - 80);
      v->Y = 80 + pick(size.height - 160);
    } else {
      v->X = kCellWidth * (1 + i % kColumns);
      v->Y = kCellHeight / 2 + 30 + kCellHeight * (i / kColumns);
    }
    v->Level = v->IsAnyValue() ? pick(2001) / 1000.0 - 1 : pick(1001) / 1000.0;
    v->Color = static_cast<Color>(pick(0x1000000));
    v->PlotInGraph = i < 8;
    v->SelfChangeRate = pick(5) / 100.0;
    v->SelfChangeDecreases = pick(2) == 0;
    if (shape == ModelShape::FanIn) {
      v->InputKind = i % 3 == 0 ? RelationshipKind::Proportion : RelationshipKind::Rate;
      v->CombineMode = static_cast<CombineMode>(1 + pick(3));
    } else {
      v->InputKind = RelationshipKind::Rate;
    }
    if (v->IsOnOff()) {
      auto& onOff = static_cast<TVarLigaDesliga&>(*v);
      onOff.ThresholdLevel = v->IsAnyValue() ? pick(1001) / 1000.0 - 0.5 : pick(1001) / 1000.0;
      onOff.OnBelow = pick(2) == 0;
      onOff.EffectWhenOn = static_cast<EffectWhenOn>(1 + pick(3));
    }
    v->KeepInside();
    e.Variables.push_back(std::move(v));
  }

  for (int i = 0; i < n; ++i) {
    const RelationshipKind kind = e.Variables[std::size_t(i)]->InputKind;
    switch (shape) {
      case ModelShape::Chain:
        if (i > 0) Link(e, i - 1, i, RelationshipKind::Rate, 1.0, true);
        break;
      case ModelShape::FanIn:
        for (int k = 0; k < 8; ++k) {
          int from = pick(n - 1);
          if (from >= i) ++from;
          Link(e, from, i, kind, kOfferedEffects[pick(3)].effect, pick(2) == 0);
        }
        break;
      case ModelShape::Sparse: {
        int from = pick(n - 1);
        if (from >= i) ++from;
        Link(e, from, i, kind, kOfferedEffects[pick(3)].effect, pick(2) == 0);
        break;
      }
    }
  }
}
