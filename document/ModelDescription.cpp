#include "document/ModelDescription.h"

#include "document/uEditor.h"
#include "model/uRel.h"
#include "model/uVar.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <cstdio>

std::string SpokenLevel(long double level, char decimalSeparator) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2Lf", level);
  std::string s = text;
  UseDecimalMark(s, decimalSeparator);
  // A level that rounds to zero from below is still zero to a listener.
  if (s == std::string("-0") + decimalSeparator + "00") s.erase(0, 1);
  return s;
}

std::string DescribeVariable(const TVariavel& v, char decimalSeparator) {
  std::string s = v.Name;
  s += v.IsOnOff() ? ", variável liga-desliga" : ", variável contínua";
  s += v.IsAnyValue() ? ", qualquer valor" : ", só positivos";
  if (!v.Awake) s += ", dormindo";
  return s + ", nível " + SpokenLevel(v.Level, decimalSeparator);
}

std::string DescribeRelationship(const TRelacionamento& r, char decimalSeparator) {
  std::string s = (r.Origin ? r.Origin->Name : std::string()) + " para " +
                  (r.Destination ? r.Destination->Name : std::string());
  s += r.Kind == RelationshipKind::Rate ? ", taxa" : ", proporção";
  s += r.SameDirection ? ", mesma direção" : ", direção oposta";
  if (r.Effect == 0.5)
    s += ", fraco";
  else if (r.Effect == 1.0)
    s += ", normal";
  else if (r.Effect == 2.0)
    s += ", forte";
  else
    s += ", efeito " + FormatGeneral(r.Effect, decimalSeparator);
  if (!r.Awake) s += ", dormindo";
  return s;
}

std::string DescribeGraph(const TEditor& e, char decimalSeparator) {
  std::string s;
  for (const auto& v : e.Variables) {
    const auto trace = std::find_if(e.GraphTraces.begin(), e.GraphTraces.end(),
                                    [&](const GraphTrace& t) { return t.variable == v.get(); });
    if (trace == e.GraphTraces.end()) continue;
    if (!s.empty()) s += "; ";
    s += v->Name + ": primeiro " + SpokenLevel(trace->first, decimalSeparator) + ", mínimo " +
         SpokenLevel(trace->lowest, decimalSeparator) + ", máximo " +
         SpokenLevel(trace->highest, decimalSeparator) + ", último " +
         SpokenLevel(trace->last, decimalSeparator);
  }
  return s.empty() ? "Nenhuma variável desenhada" : "Gráfico dos níveis. " + s;
}
