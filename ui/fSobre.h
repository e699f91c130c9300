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

  QLabel* Image1;
  QLabel* Label6;
  QLabel* Label1;
  QFrame* Bevel1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* label10;
  QLabel* Label4;
  QPushButton* BitBtn1;

protected:
  void showEvent(QShowEvent* event) override;
};

extern TfrmSobre* frmSobre;
