#pragma once

#include "model/Modes.h"

#include <cstdint>
#include <string>

class TVariavel;
class TRelacionamento;

/// The integration method as the model file and the method menu keep it.
enum class MethodCode : std::int32_t {
  /// A model file may name no method (or a number that names none): the menu
  /// then checks neither item.
  NotChosen = 0,
  Euler = 1,
  RungeKutta = 2,
};

/// The variable properties dialog as the document uses it.
class IVariableDialog {
public:
  virtual ~IVariableDialog() = default;

  virtual void SetEditedVariable(TVariavel* v) = 0;
  virtual TVariavel* EditedVariable() const = 0;
  /// Shows the dialog modally; true when it closed with OK.
  virtual bool Execute() = 0;
  /// Sets KindCodeChosen from the type and range choices.
  virtual void ComputeKindCode() = 0;
  /// The edited variable's class when the dialog opened.
  virtual KindCode KindCodeOnShow() const = 0;
  /// The class ComputeKindCode found in the type and range controls.
  virtual KindCode KindCodeChosen() const = 0;
  /// Copies the controls into EditedVariable.
  virtual void ApplyToVariable() = 0;
};

/// The relationship properties dialog as the document uses it.
class IRelationshipDialog {
public:
  virtual ~IRelationshipDialog() = default;

  virtual void SetEditedRelationship(TRelacionamento* r) = 0;
  /// Shows the dialog modally; true when it closed with OK.
  virtual bool Execute() = 0;
  /// Copies the controls into the edited relationship.
  virtual void ApplyToRelationship() = 0;
};

/// What the document needs of the window that hosts it: the selection tool
/// button, the environment values stored with every model, the two property
/// dialogs and the information message box.
class IEditorHost {
public:
  virtual ~IEditorHost() = default;

  /// Shows the selection tool as the chosen one, without performing its command.
  virtual void PutSelectToolDown() = 0;

  virtual ::MethodCode MethodCode() const = 0;
  virtual void SetMethodCode(::MethodCode code) = 0;
  /// Checks the method menu item the code names, and only that one.
  virtual void SetMethodChecks(::MethodCode code) = 0;
  virtual std::int32_t ElapsedTicks() const = 0;
  virtual void SetElapsedTicks(std::int32_t ticks) = 0;
  /// The clock display's text.
  virtual void SetClockText(const std::string& text) = 0;
  /// The time unit's text (UTF-8).
  virtual std::string UnitsText() const = 0;
  virtual void SetUnitsText(const std::string& text) = 0;
  /// The animation timer's interval, milliseconds.
  virtual std::int32_t TimerInterval() const = 0;
  virtual void SetTimerInterval(std::int32_t ms) = 0;

  /// A message box with the information icon and one OK button.
  virtual void ShowInformation(const std::string& text) = 0;

  virtual IVariableDialog& VariableDialog() = 0;
  virtual IRelationshipDialog& RelationshipDialog() = 0;
};
