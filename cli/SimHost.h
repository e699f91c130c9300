#pragma once

#include "document/EnvironmentStore.h"

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
class SimHost final : public EnvironmentStore {
public:
  void PutSelectToolDown() override {}
  void SetMethodChecks(::MethodCode) override {}
  void SetClockText(const std::string& text) override { clockText_ = text; }

  void ShowInformation(const std::string& text) override { messages_.push_back(text); }

  IVariableDialog& VariableDialog() override { return variableDialog_; }
  IRelationshipDialog& RelationshipDialog() override { return relationshipDialog_; }

  /// One tick more on the clock; it stops at the largest count it can hold.
  void CountTick();

  const std::string& ClockText() const { return clockText_; }
  /// What the document asked to show, oldest first.
  const std::vector<std::string>& Messages() const { return messages_; }

private:
  std::string clockText_ = "0";
  std::vector<std::string> messages_;
  InertVariableDialog variableDialog_;
  InertRelationshipDialog relationshipDialog_;
};
