#include "document/uEditor.h"

#include "model/uVar.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

/// Inner values of ±5.8 reach the top and the bottom row.
constexpr double kGraphRange = 5.8;
constexpr int kCurveWidth = 2;

}  // namespace

std::int32_t TEditor::GraphY(long double value) const {
  // A value from a file may be anything; the product and the difference
  // saturate instead of overflowing.
  const std::int32_t offset = RoundHalfEven(value * static_cast<long double>(GraphScale));
  return SaturateToInt32(std::int64_t(GraphZeroY) - offset);
}

void TEditor::ResetGraph() {
  if (!GraphImage) return;
  GraphZeroY = GraphImage->Height() / 2;
  GraphScale = GraphZeroY / kGraphRange;
  GraphImage->SetPenColor(clWhite);
  GraphImage->SetBrushColor(clWhite);
  GraphImage->Rectangle(0, 0, GraphImage->Width(), GraphImage->Height());
  GraphCursor = 0;
  GraphTraces.clear();
  DrawGraphAxis();
}

void TEditor::DrawGraphAxis() {
  if (!GraphImage) return;
  GraphZeroY = GraphImage->Height() / 2;
  GraphImage->SetPenWidth(1);
  GraphImage->SetPenColor(clSilver);
  GraphImage->MoveTo(0, GraphZeroY);
  GraphImage->LineTo(GraphImage->Width(), GraphZeroY);
  GraphImage->SetPenWidth(kCurveWidth);
}

void TEditor::TraceLevel(const TVariavel& v, std::size_t& hint) {
  const auto isV = [&](const GraphTrace& t) { return t.variable == &v; };
  // The plot walks the list in the order the traces mostly began in, so the
  // entry is nearly always the one after the last: no search over every trace
  // for every variable at every tick.
  auto trace = hint < GraphTraces.size() && isV(GraphTraces[hint])
                   ? GraphTraces.begin() + std::ptrdiff_t(hint)
                   : std::find_if(GraphTraces.begin(), GraphTraces.end(), isV);
  if (trace == GraphTraces.end()) {
    GraphTraces.push_back({&v, v.Level, v.Level, v.Level, v.Level});
    hint = GraphTraces.size();
    return;
  }
  hint = std::size_t(trace - GraphTraces.begin()) + 1;
  trace->lowest = std::min(trace->lowest, v.Level);
  trace->highest = std::max(trace->highest, v.Level);
  trace->last = v.Level;
}

void TEditor::PlotStep() {
  if (!GraphImage) return;
  ::Canvas& g = *GraphImage;
  const std::int32_t height = g.Height();

  // The previous cursor line goes, and with it whatever that column held.
  g.SetPenWidth(1);
  g.SetPenColor(clWhite);
  g.MoveTo(GraphCursor, 0);
  g.LineTo(GraphCursor, height);
  g.SetPixel(GraphCursor, GraphZeroY, clSilver);

  // The column equal to the width is used once per sweep, off the image.
  const std::int64_t next = std::int64_t(GraphCursor) + 1;
  GraphCursor = next > g.Width() ? 0 : std::int32_t(next);

  g.SetPenColor(clBlack);
  g.MoveTo(GraphCursor, 0);
  g.LineTo(GraphCursor, height);

  g.SetPenWidth(kCurveWidth);
  const std::int32_t previous = SaturateToInt32(std::int64_t(GraphCursor) - 1);
  std::size_t traceHint = 0;
  for (const auto& v : Variables) {
    if (!v->PlotInGraph) continue;
    g.SetPenColor(v->Color);
    g.MoveTo(previous, GraphY(v->TickStartValue));
    g.LineTo(GraphCursor, GraphY(v->InnerValue));
    TraceLevel(*v, traceHint);
  }
}
