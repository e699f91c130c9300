#pragma once

#include "document/uEditor.h"
#include "model/uRel.h"
#include "model/uVar.h"
#include "platform/RasterCanvas.h"
#include "tests/document/FakeHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace editor_test {

/// How many counted objects are alive: proves that every object the document
/// frees is freed exactly once, and that nothing it owned survives it.
struct Live {
  static inline int variables = 0;
  static inline int relationships = 0;
};

template <class Base>
class CountedVariable final : public Base {
public:
  CountedVariable() { ++Live::variables; }
  ~CountedVariable() override { --Live::variables; }
};

class CountedRelationship final : public TRelacionamento {
public:
  CountedRelationship() { ++Live::relationships; }
  ~CountedRelationship() override { --Live::relationships; }
};

/// A document on an 800 x 600 model canvas and a 300 x 100 graph image,
/// driven through the gestures the main window forwards.
class EditorFixture : public testing::Test {
protected:
  EditorFixture() {
    editor.AttachCanvas(&canvas);
    editor.GraphImage = &graph;
    editor.ResetGraph();
  }

  /// The variable's body centre: a press there grabs the whole gauge as long
  /// as the level mark is more than 3 pixels away.
  static void PressOn(TEditor& e, const TObjGrafico& o) { e.MouseDown(o.X, o.Y); }

  TVariavel& Place(std::int32_t x, std::int32_t y, VariableType type = VariableType::Continuous) {
    if (type == VariableType::OnOff)
      editor.UseOnOffTool();
    else
      editor.UseContinuousTool();
    editor.MouseDown(x, y);
    editor.MouseUp();
    return *editor.Variables.back();
  }

  /// Links with the rate or proportion tool in two presses; answers the
  /// newest relationship, or null when none was made.
  TRelacionamento* Link(const TVariavel& origin, const TVariavel& destination,
                        RelationshipKind kind = RelationshipKind::Proportion) {
    const std::size_t before = editor.Relationships.size();
    if (kind == RelationshipKind::Rate)
      editor.UseRateTool();
    else
      editor.UseProportionTool();
    PressOn(editor, origin);
    editor.MouseUp();
    PressOn(editor, destination);
    editor.MouseUp();
    if (editor.Relationships.size() == before) return nullptr;
    return editor.Relationships.back().get();
  }

  void Click(const TObjGrafico& o) {
    PressOn(editor, o);
    editor.MouseUp();
  }

  /// Press at (x, y) and release at (x + dx, y + dy): the first move only
  /// starts the drag, the second one moves.
  void Drag(std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy) {
    editor.MouseDown(x, y);
    editor.MouseMove(x + dx, y + dy);
    editor.MouseMove(x + dx, y + dy);
    editor.MouseUp();
  }

  /// Adds a variable the way the file reader does, bypassing every rule the
  /// tools keep.
  template <class T>
  T& AddRaw(std::int32_t x, std::int32_t y) {
    auto v = std::make_unique<CountedVariable<T>>();
    v->SetCanvas(&canvas);
    v->SetName("Nome");
    v->X = x;
    v->Y = y;
    v->KeepInside();
    T& added = *v;
    editor.Variables.push_back(std::move(v));
    return added;
  }

  /// A relationship as the file reader builds it, whatever its ends are.
  CountedRelationship& AddRawLink(TVariavel& origin, TVariavel& destination) {
    auto r = std::make_unique<CountedRelationship>();
    r->SetCanvas(&canvas);
    r->X = (origin.X + destination.X) / 2;
    r->Y = (origin.Y + destination.Y) / 2;
    r->Origin = &origin;
    r->Destination = &destination;
    origin.AddRelationship(r.get());
    destination.AddRelationship(r.get());
    r->UpdateEndpoints();
    r->KeepInside();
    CountedRelationship& added = *r;
    editor.Relationships.push_back(std::move(r));
    return added;
  }

  RasterCanvas canvas{800, 600};
  RasterCanvas graph{300, 100};
  FakeHost host;
  TEditor editor{host};
};

}  // namespace editor_test
