#pragma once

class QKeyEvent;
class QWidget;
class TfEditor;
class TFocusFrame;

/// The model canvas's keys, as the key receiver gets them:
///  Tab / Shift+Tab   walk the selection (past either end: nothing selected);
///  arrows            move the selected object 1 pixel, with Shift 10;
///  Enter             open its dialog, place a variable, or take a
///                    relationship's end, by the tool;
///  Escape            clear the selection, drop a tool;
///  S C L T P         the five tools;
///  Ctrl+Tab          leave the canvas (also Tab on an empty model).
/// Each key is one command of the window, as the mouse gesture it stands for.
class TCanvasKeyboard {
public:
  TCanvasKeyboard(TfEditor& window, QWidget& receiver);

  /// True when the key was the canvas's and has been carried out.
  bool KeyDown(const QKeyEvent& event);

private:
  /// The focus to the next (previous) control that takes it by Tab.
  void LeaveCanvas(bool forward);

  TfEditor& window_;
  QWidget& receiver_;
  /// Shows that the canvas has the keyboard; owned by the canvas view.
  TFocusFrame* frame_;
};
