#pragma once

class QWidget;

/// The toolbar's buttons as a screen reader and the keyboard reach them:
/// each gets its hint as its accessible name and its key in its accessible
/// description; the animation and clock keys work anywhere in the window,
/// the tool keys only while the canvas has the focus (plain letters must not
/// take over what is typed elsewhere). The hints themselves stay as they are.
void InstallWindowKeys(QWidget& window);

/// The tool button whose key is `key` (a Qt::Key), or null.
const char* ToolButtonOfKey(int key);
