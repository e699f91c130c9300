#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

/// Asks whether to save a modified model before it is closed.
class TfConfirma : public QDialog {
  Q_OBJECT

public:
  /// Yes, no, cancel.
  enum Answer { Sim, Nao, Cancelar };

  explicit TfConfirma(QWidget* parent = nullptr);

  /// Shows the question modally. Closing the window answers Cancelar.
  Answer Ask();
  /// Centres the dialog and gives the focus to btnCancelar, so that Enter
  /// pressed at once abandons the pending command.
  void FormShow();

  /// The question.
  QLabel* Label1;
  QPushButton* btnSim;
  QPushButton* btnNao;
  QPushButton* btnCancelar;

private:
  /// What the last button pressed answered; Cancelar before any.
  Answer answer_ = Cancelar;
};

extern TfConfirma* fConfirma;
