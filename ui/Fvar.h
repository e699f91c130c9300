#pragma once

#include "document/EditorHost.h"
#include "platform/Color.h"

#include <QDialog>
#include <QString>

#include <string>

class QButtonGroup;
class QCheckBox;
class QColor;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolButton;

/// A model colour (0x00BBGGRR) as Qt's colour.
QColor QColorOfModelColor(Color c);

/// The variable properties dialog: name, type, range, situation, combination,
/// self-change, the on-off settings, colour and plotting.
class TfVariavel : public QDialog, public IVariableDialog {
  Q_OBJECT

public:
  explicit TfVariavel(QWidget* parent = nullptr);

  void SetEditedVariable(TVariavel* v) override;
  TVariavel* EditedVariable() const override;
  /// FormShow, then modal; true when closed with OK.
  bool Execute() override;
  void ComputeKindCode() override;
  KindCode KindCodeOnShow() const override;
  KindCode KindCodeChosen() const override;
  void ApplyToVariable() override;

  /// Centres the dialog, fills every control from the edited variable and
  /// records KindCodeOnShow. The colour buttons stay as they were when no
  /// button has the variable's colour.
  void FormShow();
  /// Hides the on-off groups; runs whenever "Contínua" becomes checked.
  void bContinuaClick();
  /// Shows the on-off groups; runs whenever "Liga-Desliga" becomes checked.
  void bLigaDesligaClick();

  /// The value of the colour button that is down.
  Color ChosenColor() const;

  /// "Nome" and the name's edit box.
  QLabel* Label2;
  QLineEdit* edtNome;
  /// The type ("tipo"): continuous or on-off.
  QGroupBox* grpTipo;
  QRadioButton* bContinua;
  QRadioButton* bLigaDesliga;
  /// The range ("faixa"): positive values only or any value.
  QGroupBox* grpFaixa;
  QRadioButton* bValoresPositivos;
  QRadioButton* bQualquerValor;
  /// The situation: awake ("acordada") or asleep ("dormindo").
  QGroupBox* grpSituacao;
  QRadioButton* bAcordada;
  QRadioButton* bDormindo;
  /// How the relationships combine: sum, product or mean ("média").
  QGroupBox* grpCombinacao;
  QRadioButton* bSoma;
  QRadioButton* bMultiplicacao;
  QRadioButton* bMedia;
  /// Self-change ("auto-mudança"): decreases or increases, and its rate's bar.
  QGroupBox* grpAutomudanca;
  QRadioButton* bDiminui;
  QRadioButton* bAumenta;
  QScrollBar* scrAutoMudanca;
  /// On-off only: switched on for values above ("acima") or below ("abaixo").
  QGroupBox* grpLigar;
  QRadioButton* bValoresAcima;
  QRadioButton* bValoresAbaixo;
  /// On-off only, the effect when on: equal to the value, weak or strong.
  QGroupBox* grpEfeito;
  QRadioButton* bIgualA;
  QRadioButton* bFraco;
  QRadioButton* bForte;
  /// The colour ("cor"): black, grey, and dark ("escuro") and light ("claro")
  /// red, yellow, green, cyan, blue and magenta.
  QGroupBox* GroupBox1;
  QToolButton* bPreto;
  QToolButton* bCinza;
  QToolButton* bVermelhoEscuro;
  QToolButton* bVermelhoClaro;
  QToolButton* bAmareloEscuro;
  QToolButton* bAmareloClaro;
  QToolButton* bVerdeEscuro;
  QToolButton* bVerdeClaro;
  QToolButton* bCianoEscuro;
  QToolButton* bCianoClaro;
  QToolButton* bAzulEscuro;
  QToolButton* bAzulClaro;
  QToolButton* bMagentaEscuro;
  QToolButton* bMagentaClaro;
  /// "Gráfico": whether the variable is plotted in the graph.
  QGroupBox* GroupBox2;
  QCheckBox* bGrafico;
  QPushButton* bOk;
  QPushButton* bCancelar;

private:
  void CreateNameBox();
  /// scrAutoMudanca, in grpAutomudanca under its radio buttons.
  void CreateSelfChangeBar();
  /// GroupBox1 with the colour buttons, black down.
  void CreateColourButtons();
  /// Tab goes down each column of groups, then to the colours and the buttons.
  void SetTabOrder();
  /// Kind code of the type and range radio buttons as they stand.
  KindCode KindCodeOfControls() const;

  /// Null until the caller sets it.
  TVariavel* edited_ = nullptr;
  KindCode kindCodeOnShow_ = KindCode::ContinuousPositive;
  KindCode kindCodeChosen_ = KindCode::ContinuousPositive;
  /// The colour buttons; a button's id is its row in the colour table.
  QButtonGroup* colours_ = nullptr;
  /// The name as FormShow found it and as it put it in edtNome.
  std::string shownNameBytes_;
  QString shownName_;
  /// The self-change rate as FormShow found it.
  double shownRate_ = 0.0;
};

extern TfVariavel* fVariavel;
