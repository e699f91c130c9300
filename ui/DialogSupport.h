#pragma once

#include <QFont>
#include <QString>
#include <Qt>

class QButtonGroup;
class QGroupBox;
class QRadioButton;
class QWidget;

/// What the program's dialogs share: their font, window border, placement and
/// the pixel-positioned group boxes and radio buttons they are made of.

/// A dialog border with only the system menu (and its close button).
inline constexpr Qt::WindowFlags kDialogWindowFlags = Qt::Dialog | Qt::WindowTitleHint |
                                                     Qt::WindowSystemMenuHint |
                                                     Qt::WindowCloseButtonHint;

/// The sans font the dialogs were designed with, at a character height in pixels.
QFont SansFont(int pixelSize, bool bold);

/// The dialogs' 8-point font (11 pixels high).
QFont DialogFont(bool bold);

/// Moves the window so that its frame is centred on the primary screen, also
/// before its first showing, when the window manager has not framed it yet.
void CentreOnScreen(QWidget& w);

QGroupBox* MakeGroup(QWidget* parent, const QString& title, int left, int top, int width,
                     int height);

/// A radio button in a group, captioned in the normal weight, made exclusive
/// with the other buttons of `exclusive`.
QRadioButton* MakeRadio(QGroupBox* group, QButtonGroup* exclusive, const QString& text, int left,
                        int top, int width);
