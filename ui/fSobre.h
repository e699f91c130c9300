#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

/// The about box: icon, product name, version and credits.
class TfrmSobre : public QDialog {
  Q_OBJECT

public:
  explicit TfrmSobre(QWidget* parent = nullptr);

  /// Where the icon is looked for: the program's resources.
  static const char* const IconPath;

  /// The icon, the product's name and its version.
  QLabel* Image1;
  QLabel* Label6;
  QLabel* Label1;
  /// The rule under the version.
  QFrame* Bevel1;
  /// The credits: "Concepção e Modelagem" (design and modelling) and
  /// "Implementação" (implementation), each with its team.
  QLabel* Label2;
  QLabel* Label3;
  QLabel* label10;
  QLabel* Label4;
  /// OK.
  QPushButton* BitBtn1;

protected:
  void showEvent(QShowEvent* event) override;
};

extern TfrmSobre* frmSobre;
