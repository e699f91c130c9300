#pragma once

#include <QFont>
#include <QString>
#include <Qt>

class QButtonGroup;
class QDialog;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolButton;
class QWidget;

/// What the program's windows share: their fonts, and the dialogs' window
/// border, placement and the pixel-positioned controls they are made of.

/// A dialog border with only the system menu (and its close button).
inline constexpr Qt::WindowFlags kDialogWindowFlags = Qt::Dialog | Qt::WindowTitleHint |
                                                     Qt::WindowSystemMenuHint |
                                                     Qt::WindowCloseButtonHint;

/// The faces the windows were designed with.
enum class Face {
  /// The main window's, and the variable dialog's name box.
  Arial,
  /// The dialogs' sans serif, which Liberation Sans stands in for.
  Sans,
};

/// A face at a character height in pixels.
QFont PixelFont(Face face, int pixelHeight, bool bold = false);

/// The dialogs' 8-point font (11 pixels high).
QFont DialogFont(bool bold);

/// What every dialog is given first: its caption, its font and its fixed size.
void SetUpDialog(QDialog& dialog, const QString& caption, const QFont& font, int width,
                 int height);

/// Moves the window so that its frame is centred on the primary screen, also
/// before its first showing, when the window manager has not framed it yet.
void CentreOnScreen(QWidget& w);

QGroupBox* MakeGroup(QWidget* parent, const QString& title, int left, int top, int width,
                     int height);

/// A radio button in a group, captioned in the normal weight, made exclusive
/// with the other buttons of `exclusive`.
QRadioButton* MakeRadio(QGroupBox* group, QButtonGroup* exclusive, const QString& text, int left,
                        int top, int width);

/// A push button of the dialogs' size, 77 x 27.
QPushButton* MakeButton(QDialog* dialog, const QString& text, int left, int top);

struct OkCancelButtons {
  QPushButton* ok;
  QPushButton* cancel;
};

/// "OK" and "Cancelar" side by side: OK is the default button and accepts
/// the dialog, "Cancelar" rejects it.
OkCancelButtons MakeOkCancel(QDialog* dialog, int okLeft, int cancelLeft, int top);

/// A scroll bar the keyboard moves: it takes the focus by Tab or click, the
/// arrows move it one step and Page Up/Down pageKeyStep steps (its page step,
/// which a click in its trough uses, stays as it is).
void LetKeyboardMove(QScrollBar* bar, const QString& accessibleName, int pageKeyStep);

/// The dotted focus mark, drawn on w just inside its edge; from w's paintEvent.
void DrawFocusMark(QWidget& w);

/// A flat tool button that draws a dotted focus mark inside its edge while it
/// has the keyboard focus; otherwise it looks as a tool button does.
QToolButton* MakeFocusMarkedButton(QWidget* parent);
