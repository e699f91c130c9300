#pragma once

#include "document/EnvironmentStore.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/// A variable dialog that answers as the test tells it: the test sets the
/// kind code chosen and what ApplyToVariable does.
class FakeVariableDialog : public IVariableDialog {
public:
  void SetEditedVariable(TVariavel* v) override { edited = v; }
  TVariavel* EditedVariable() const override { return edited; }
  bool Execute() override {
    ++shown;
    if (onShow) onShow(*this);
    return answerOk;
  }
  void ComputeKindCode() override { ++kindCodeComputed; }
  KindCode KindCodeOnShow() const override { return kindOnShow; }
  KindCode KindCodeChosen() const override { return kindChosen; }
  void ApplyToVariable() override {
    ++applied;
    if (apply) apply(edited);
  }

  TVariavel* edited = nullptr;
  bool answerOk = true;
  KindCode kindOnShow = KindCode::ContinuousPositive;
  KindCode kindChosen = KindCode::ContinuousPositive;
  int shown = 0;
  int kindCodeComputed = 0;
  int applied = 0;
  std::function<void(FakeVariableDialog&)> onShow;
  std::function<void(TVariavel*)> apply;
};

class FakeRelationshipDialog : public IRelationshipDialog {
public:
  void SetEditedRelationship(TRelacionamento* r) override { edited = r; }
  bool Execute() override {
    ++shown;
    return answerOk;
  }
  void ApplyToRelationship() override {
    ++applied;
    if (apply) apply(edited);
  }

  TRelacionamento* edited = nullptr;
  bool answerOk = true;
  int shown = 0;
  int applied = 0;
  std::function<void(TRelacionamento*)> apply;
};

/// The main window as the document sees it, recording what it was told.
class FakeHost : public EnvironmentStore {
public:
  void PutSelectToolDown() override { ++selectToolPutDown; }
  void SetMethodChecks(::MethodCode code) override {
    eulerChecked = code == MethodCode::Euler;
    rungeKuttaChecked = code == MethodCode::RungeKutta;
  }
  void SetClockText(const std::string& text) override { clockText = text; }

  void ShowInformation(const std::string& text) override { messages.push_back(text); }

  IVariableDialog& VariableDialog() override { return variableDialog; }
  IRelationshipDialog& RelationshipDialog() override { return relationshipDialog; }

  using EnvironmentStore::methodCode;
  using EnvironmentStore::elapsedTicks;
  using EnvironmentStore::unitsText;
  using EnvironmentStore::timerInterval;
  int selectToolPutDown = 0;
  bool eulerChecked = false;
  bool rungeKuttaChecked = true;
  std::string clockText = "0";
  std::vector<std::string> messages;
  FakeVariableDialog variableDialog;
  FakeRelationshipDialog relationshipDialog;
};
