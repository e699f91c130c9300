#pragma once

#include "document/EditorHost.h"

#include <cstdint>
#include <string>
#include <vector>

/// A properties dialog nobody can answer: a batch run never edits.
class InertVariableDialog final : public IVariableDialog {
public:
  void SetEditedVariable(TVariavel* v) override { edited_ = v; }
  TVariavel* EditedVariable() const override { return edited_; }
  bool Execute() override { return false; }
  void ComputeKindCode() override {}
  KindCode KindCodeOnShow() const override { return KindCode::ContinuousPositive; }
  KindCode KindCodeChosen() const override { return KindCode::ContinuousPositive; }
  void ApplyToVariable() override {}

private:
  TVariavel* edited_ = nullptr;
};

class InertRelationshipDialog final : public IRelationshipDialog {
public:
  void SetEditedRelationship(TRelacionamento*) override {}
  bool Execute() override { return false; }
  void ApplyToRelationship() override {}
};

/// The main window as a batch run needs it: keeps the environment values that
/// a model file carries, starting from those of a freshly started program,
/// and collects the messages instead of showing them.
class SimHost final : public IEditorHost {
public:
  void PutSelectToolDown() override {}

  ::MethodCode MethodCode() const override { return methodCode_; }
  void SetMethodCode(::MethodCode code) override { methodCode_ = code; }
  void SetMethodChecks(::MethodCode) override {}
  std::int32_t ElapsedTicks() const override { return elapsedTicks_; }
  void SetElapsedTicks(std::int32_t ticks) override { elapsedTicks_ = ticks; }
  void SetClockText(const std::string& text) override { clockText_ = text; }
  std::string UnitsText() const override { return unitsText_; }
  void SetUnitsText(const std::string& text) override { unitsText_ = text; }
  std::int32_t TimerInterval() const override { return timerInterval_; }
  void SetTimerInterval(std::int32_t ms) override { timerInterval_ = ms; }

  void ShowInformation(const std::string& text) override { messages_.push_back(text); }

  IVariableDialog& VariableDialog() override { return variableDialog_; }
  IRelationshipDialog& RelationshipDialog() override { return relationshipDialog_; }

  /// One tick more on the clock; it stops at the largest count it can hold.
  void CountTick();

  const std::string& ClockText() const { return clockText_; }
  /// What the document asked to show, oldest first.
  const std::vector<std::string>& Messages() const { return messages_; }

private:
  ::MethodCode methodCode_ = MethodCode::NotChosen;
  std::int32_t elapsedTicks_ = 0;
  std::string clockText_ = "0";
  std::string unitsText_ = "segundos";
  std::int32_t timerInterval_ = 1;
  std::vector<std::string> messages_;
  InertVariableDialog variableDialog_;
  InertRelationshipDialog relationshipDialog_;
};
