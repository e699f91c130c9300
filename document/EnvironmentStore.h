#pragma once

#include "document/EditorHost.h"

#include <cstdint>
#include <string>

/// The environment values a model file stores, kept as plain values: the
/// method code, the clock's count, the time unit and the timer interval. A
/// host builds on it with what it shows; one that also shows a value in a
/// widget overrides that value's setter to show it there too.
class EnvironmentStore : public IEditorHost {
public:
  ::MethodCode MethodCode() const override { return methodCode; }
  void SetMethodCode(::MethodCode code) override { methodCode = code; }
  std::int32_t ElapsedTicks() const override { return elapsedTicks; }
  void SetElapsedTicks(std::int32_t ticks) override { elapsedTicks = ticks; }
  std::string UnitsText() const override { return unitsText; }
  void SetUnitsText(const std::string& text) override { unitsText = text; }
  std::int32_t TimerInterval() const override { return timerInterval; }
  void SetTimerInterval(std::int32_t ms) override { timerInterval = ms; }

protected:
  // Those of a program just started.
  ::MethodCode methodCode = MethodCode::NotChosen;
  std::int32_t elapsedTicks = 0;
  std::string unitsText = "segundos";
  std::int32_t timerInterval = 1;
};
