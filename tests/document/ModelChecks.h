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

/// Saves the model, reads the file's bytes back into a fresh document on a
/// canvas of the same size and saves that: the second save must give the
/// same lines and bytes, and a saved model must always load.
inline std::string RoundTripBreak(TEditor& e) {
  ModelLines first;
  e.SaveToLines(first);
  const std::string bytes = FileBytesFromLines(first);
  if (LinesFromFileBytes(bytes) != first) return "the saved bytes read back as other lines";

  RasterCanvas canvas(e.Canvas ? e.Canvas->Width() : 800, e.Canvas ? e.Canvas->Height() : 600);
  FakeHost host;
  TEditor reloaded(host);
  reloaded.AttachCanvas(&canvas);
  try {
    if (reloaded.LoadFromLines(LinesFromFileBytes(bytes)) != LoadOutcome::Loaded)
      return "a saved model was refused";
  } catch (const std::exception& error) {
    return std::string("a saved model does not load: ") + error.what();
  }
  ModelLines second;
  reloaded.SaveToLines(second);
  if (second != first) return "save, load, save changed the lines";
  if (FileBytesFromLines(second) != bytes) return "save, load, save changed the bytes";
  return "";
}

}  // namespace model_checks
