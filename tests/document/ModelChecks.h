#pragma once

// What must hold of any document, whatever file or gestures made it. Shared by
// the tests and the fuzzers: each check answers what is wrong, or "" when
// nothing is.

#include "document/ModelText.h"
#include "document/uEditor.h"
#include "model/uRel.h"
#include "model/uVar.h"
#include "platform/RasterCanvas.h"
#include "tests/document/FakeHost.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>
#include <string_view>

namespace model_checks {

template <class List>
bool Holds(const List& list, const void* object) {
  return std::any_of(list.begin(), list.end(), [object](const auto& p) { return p.get() == object; });
}

/// Each relationship is listed by its two variables, once each (twice by a
/// variable that is both ends) and by no other; the current object and the
/// link ends are in the model or null.
inline std::string BrokenLinks(const TEditor& e) {
  for (const auto& r : e.Relationships) {
    if (!Holds(e.Variables, r->Origin) || !Holds(e.Variables, r->Destination))
      return "a relationship names a variable the model doesn't hold";
    const auto times = [&r](const TVariavel* v) {
      return std::count(v->Relationships.begin(), v->Relationships.end(), r.get());
    };
    if (r->Origin == r->Destination ? times(r->Origin) != 2
                                    : times(r->Origin) != 1 || times(r->Destination) != 1)
      return "a relationship is not listed exactly once by each of its variables";
  }
  for (const auto& v : e.Variables) {
    for (const TRelacionamento* r : v->Relationships) {
      if (!Holds(e.Relationships, r) || (r->Origin != v.get() && r->Destination != v.get()))
        return "variable '" + v->Name + "' lists a relationship that is not its own";
    }
  }
  const TObjGrafico* current = e.CurrentObject;
  if (current && !Holds(e.Variables, current) && !Holds(e.Relationships, current))
    return "the current object is not in the model";
  if (e.LinkOrigin && !Holds(e.Variables, e.LinkOrigin)) return "the link origin is gone";
  if (e.LinkDestination && !Holds(e.Variables, e.LinkDestination))
    return "the link destination is gone";
  return "";
}

/// What the editor keeps of the relationships it makes: no pair twice in one
/// direction, and every kind equal to its destination's InputKind. (A file may
/// hold either; only a model made by gestures is bound by them.)
inline std::string BrokenEditingRules(const TEditor& e) {
  for (std::size_t i = 0; i < e.Relationships.size(); ++i) {
    const TRelacionamento& r = *e.Relationships[i];
    if (r.Kind != r.Destination->InputKind) return "a kind differs from its destination's";
    for (std::size_t j = 0; j < i; ++j) {
      const TRelacionamento& q = *e.Relationships[j];
      if (q.Origin == r.Origin && q.Destination == r.Destination) return "a pair is linked twice";
    }
  }
  return "";
}

/// Every value a variable holds or shows is a finite number.
inline std::string NonFiniteValue(const TEditor& e) {
  for (const auto& v : e.Variables) {
    for (long double x : {v->Level, v->InnerValue, v->PendingValue, v->StartValue})
      if (!std::isfinite(x)) return "variable '" + v->Name + "' holds a value that is not finite";
  }
  return "";
}

/// Whether the model is as it was drawn on a canvas of the same size, or
/// may lie beyond a canvas that has since shrunk; the reader pulls such
/// gauges inside, so their first reload moves them.
enum class Placement { InsideTheCanvas, MaybeOutside };

/// The model's file read back into a fresh document on a canvas of the same size.
inline std::string Reload(const std::string& bytes, std::int32_t width, std::int32_t height,
                          ModelLines& saved) {
  RasterCanvas canvas(width, height);
  FakeHost host;
  TEditor reloaded(host);
  reloaded.AttachCanvas(&canvas);
  try {
    if (reloaded.LoadFromLines(LinesFromFileBytes(bytes)) != LoadOutcome::Loaded)
      return "a saved model was refused";
  } catch (const std::exception& error) {
    return std::string("a saved model does not load: ") + error.what();
  }
  reloaded.SaveToLines(saved);
  return "";
}

/// Saves the model and reads the file's bytes back, twice over: a saved
/// model always loads, its bytes read back as the lines saved, and save,
/// load, save gives the same lines and bytes (from the first save on when
/// the model lies inside the canvas, from the second otherwise).
inline std::string RoundTripBreak(TEditor& e, Placement placement = Placement::InsideTheCanvas) {
  const std::int32_t width = e.Canvas ? e.Canvas->Width() : 800;
  const std::int32_t height = e.Canvas ? e.Canvas->Height() : 600;
  ModelLines saved[3];
  e.SaveToLines(saved[0]);
  for (int i = 0; i < 2; ++i) {
    const std::string bytes = FileBytesFromLines(saved[i]);
    if (LinesFromFileBytes(bytes) != saved[i]) return "the saved bytes read back as other lines";
    if (std::string broken = Reload(bytes, width, height, saved[i + 1]); !broken.empty())
      return broken;
  }
  const int from = placement == Placement::InsideTheCanvas ? 0 : 1;
  if (saved[2] != saved[from] || (from == 0 && saved[1] != saved[0]))
    return "save, load, save changed the lines";
  if (FileBytesFromLines(saved[2]) != FileBytesFromLines(saved[from]))
    return "save, load, save changed the bytes";
  return "";
}

/// The whole open path for a file's bytes: read as far as they go, drawn,
/// animated for a few ticks, saved and reopened; what is wrong, or "".
inline std::string OpenPathBreak(std::string_view bytes, std::int32_t width = 800,
                                 std::int32_t height = 600) {
  RasterCanvas canvas(width, height);
  RasterCanvas graph(width / 2, height / 4);
  FakeHost host;
  TEditor editor(host);
  editor.AttachCanvas(&canvas);
  editor.GraphImage = &graph;
  editor.ResetGraph();
  try {
    if (editor.LoadFromLines(LinesFromFileBytes(bytes)) == LoadOutcome::HeaderRefused) return "";
  } catch (const ModelFileError&) {
    // What was read before the error stays, and must be as usable.
  }
  if (std::string broken = BrokenLinks(editor); !broken.empty()) return broken;
  if (std::string broken = RoundTripBreak(editor); !broken.empty()) return "as read: " + broken;
  editor.Paint();
  editor.StartAnimation();
  editor.SaveStatesBeforeAnimation();
  for (int tick = 0; tick < 3; ++tick) editor.Tick();
  editor.StopAnimation();
  if (std::string broken = NonFiniteValue(editor); !broken.empty()) return broken;
  if (std::string broken = RoundTripBreak(editor); !broken.empty()) return "animated: " + broken;
  return "";
}

}  // namespace model_checks
