#include "document/uEditor.h"

#include "model/uVar.h"

#include <algorithm>

std::span<const long double> TEditor::LevelsNow() {
  levelsNow_.resize(Variables.size());
  for (std::size_t i = 0; i < Variables.size(); ++i) levelsNow_[i] = Variables[i]->Level;
  return levelsNow_;
}

void TEditor::RestartRunData() {
  RunData.Restart(Variables.size());
  RunData.Append(host_.ElapsedTicks(), LevelsNow());
}

void TEditor::CatchUpRunData() {
  // A clock set back (an undo, a model reopened) starts another run, as "Zerar relógio" does.
  if (RunData.Rows() == 0 || RunData.Columns() != Variables.size() ||
      host_.ElapsedTicks() < RunData.Clock(RunData.Rows() - 1)) {
    RestartRunData();
    return;
  }
  const std::span<const long double> last = RunData.Levels(RunData.Rows() - 1);
  const std::span<const long double> now = LevelsNow();
  // A jump the graph shows as a gap between two columns.
  if (!std::equal(now.begin(), now.end(), last.begin())) RunData.Append(host_.ElapsedTicks(), now);
}

std::vector<std::string> TEditor::VariableNames() const {
  std::vector<std::string> names;
  names.reserve(Variables.size());
  for (const auto& v : Variables) names.push_back(v->Name);
  return names;
}

std::string TEditor::RunDataText(TableStyle style) {
  CatchUpRunData();
  const std::string unit = host_.UnitsText();
  const LevelCsv table(VariableNames(), unit.empty() ? "tempo" : unit, style);
  std::string text = table.HeaderLine();
  for (std::size_t row = 0; row < RunData.Rows(); ++row)
    text += table.RowLine(RunData.Clock(row), RunData.Levels(row));
  return text;
}
