#pragma once

#include "document/EditorHost.h"

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
class FakeHost : public IEditorHost {
public:
  void PutSelectToolDown() override { ++selectToolPutDown; }

  ::MethodCode MethodCode() const override { return methodCode; }
  void SetMethodCode(::MethodCode code) override { methodCode = code; }
  void SetMethodChecks(::MethodCode code) override {
    eulerChecked = code == MethodCode::Euler;
    rungeKuttaChecked = code == MethodCode::RungeKutta;
  }
  std::int32_t ElapsedTicks() const override { return elapsedTicks; }
  void SetElapsedTicks(std::int32_t ticks) override { elapsedTicks = ticks; }
  void SetClockText(const std::string& text) override { clockText = text; }
  std::string UnitsText() const override { return unitsText; }
  void SetUnitsText(const std::string& text) override { unitsText = text; }
  std::int32_t TimerInterval() const override { return timerInterval; }
  void SetTimerInterval(std::int32_t ms) override { timerInterval = ms; }

  void ShowInformation(const std::string& text) override { messages.push_back(text); }

  IVariableDialog& VariableDialog() override { return variableDialog; }
  IRelationshipDialog& RelationshipDialog() override { return relationshipDialog; }

  int selectToolPutDown = 0;
  ::MethodCode methodCode = MethodCode::NotChosen;
  bool eulerChecked = false;
  bool rungeKuttaChecked = true;
  std::int32_t elapsedTicks = 0;
  std::string clockText = "0";
  std::string unitsText = "segundos";
  std::int32_t timerInterval = 1;
  std::vector<std::string> messages;
  FakeVariableDialog variableDialog;
  FakeRelationshipDialog relationshipDialog;
};
