#pragma once

#include "document/EditorHost.h"

#include <QDialog>
#include <QLabel>
#include <QString>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

/// A label that reports a mouse click, for the second half of a sentence
/// whose first half is a radio button.
class TClickLabel : public QLabel {
  Q_OBJECT

public:
  using QLabel::QLabel;

signals:
  void clicked();

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  bool pressed_ = false;
};

/// A variable's name as the kind sentences show it: names longer than 9
/// characters become their first 6 followed by "...".
QString ShortVariableName(const QString& name);

/// The relationship properties dialog: kind (as two sentences built from the
/// variables' names), direction, situation and effect.
class TfRelacionamento : public QDialog, public IRelationshipDialog {
  Q_OBJECT

public:
  explicit TfRelacionamento(QWidget* parent = nullptr);

  void SetEditedRelationship(TRelacionamento* r) override;
  TRelacionamento* EditedRelationship() const;
  /// FormShow, then modal; true when closed with OK.
  bool Execute() override;
  void ApplyToRelationship() override;

  /// Centres the dialog, builds the sentences and sets every group from the
  /// edited relationship; the effect group keeps its choice when the effect
  /// is none of the three values.
  void FormShow();
  /// A click on a kind sentence's second line checks the sentence's button.
  void lTipo1Click();
  void lTipo2Click();

  /// The kind ("tipo"): the rate sentence, bTipo1 and lTipo1, or the
  /// proportion sentence, bTipo2 and lTipo2.
  QGroupBox* grpTipo;
  QRadioButton* bTipo1;
  TClickLabel* lTipo1;
  QRadioButton* bTipo2;
  TClickLabel* lTipo2;
  /// The direction ("direção"): the same ("mesma") or the opposite ("oposta").
  QGroupBox* grpDirecao;
  QRadioButton* bMesma;
  QRadioButton* bOposta;
  /// The situation: awake ("acordado") or asleep ("dormindo").
  QGroupBox* grpSituacao;
  QRadioButton* bAcordado;
  QRadioButton* bDormindo;
  /// The effect ("efeito"): weak, normal or strong, as kOfferedEffects.
  QGroupBox* grpEfeito;
  QRadioButton* bFraco;
  QRadioButton* bNormal;
  QRadioButton* bForte;
  QPushButton* bOk;
  QPushButton* bCancelar;

private:
  /// Null until the caller sets it.
  TRelacionamento* edited_ = nullptr;
};

extern TfRelacionamento* fRelacionamento;
