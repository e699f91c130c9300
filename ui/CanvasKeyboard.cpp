#include "ui/CanvasKeyboard.h"

#include "document/uEditor.h"
#include "ui/CanvasAccessible.h"
#include "ui/DialogSupport.h"
#include "ui/Ieditor.h"
#include "ui/ModelCanvasWidget.h"
#include "ui/WindowKeys.h"
#include "platform/RasterCanvas.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QToolButton>

#include <cstdint>

/// A dotted line around the canvas while it has the keyboard focus and the
/// keyboard is in use: the receiver of the canvas's keys has no size, and
/// with nothing selected nothing else would show where the keys go. A mouse
/// press hides it, so the mouse user's picture stays as it was.
class TFocusFrame : public QWidget {
public:
  TFocusFrame(QWidget& canvas, QWidget& receiver) : QWidget(&canvas), receiver_(receiver) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    canvas.installEventFilter(this);
    receiver.installEventFilter(this);
  }

  void Show() {
    if (!receiver_.hasFocus()) return;
    setGeometry(parentWidget()->rect());
    show();
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (watched == parentWidget() && type == QEvent::Resize) {
      setGeometry(parentWidget()->rect());
    } else if ((watched == parentWidget() && type == QEvent::MouseButtonPress) ||
               (watched == &receiver_ && type == QEvent::FocusOut)) {
      hide();
    } else if (watched == &receiver_ && type == QEvent::FocusIn) {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) Show();
    }
    return false;
  }

  void paintEvent(QPaintEvent*) override { DrawFocusMark(*this); }

private:
  QWidget& receiver_;
};

TCanvasKeyboard::TCanvasKeyboard(TfEditor& window, QWidget& receiver)
    : window_(window),
      receiver_(receiver),
      frame_(new TFocusFrame(*window.ModelView(), receiver)) {}

bool TCanvasKeyboard::KeyDown(const QKeyEvent& event) {
  TEditor& doc = *window_.Document;
  Qt::KeyboardModifiers mods = event.modifiers();
  mods.setFlag(Qt::KeypadModifier, false);
  const int key = event.key();
  const bool control = mods.testFlag(Qt::ControlModifier);
  const bool shift = mods.testFlag(Qt::ShiftModifier);
  const std::int32_t step = shift ? 10 : 1;

  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    const bool forward = key == Qt::Key_Tab && !shift;
    if (control || (doc.Variables.empty() && doc.Relationships.empty())) {
      LeaveCanvas(forward);
      return true;
    }
    window_.RunCommand([&] { doc.SelectNextObject(forward); });
  } else if (control || mods.testFlag(Qt::AltModifier)) {
    return false;
  } else if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up ||
             key == Qt::Key_Down) {
    const std::int32_t dx = key == Qt::Key_Left ? -step : key == Qt::Key_Right ? step : 0;
    const std::int32_t dy = key == Qt::Key_Up ? -step : key == Qt::Key_Down ? step : 0;
    window_.RunCommand([&] { doc.MoveSelected(dx, dy); });
  } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    // Zoomed, the visible canvas is only the part the scroll bars show.
    const TCanvasView& view = *window_.ModelView();
    const QSize shown = view.PictureSize(view.Zoom());
    const QPoint first = view.CanvasPoint({0, 0});
    const QPoint last = view.CanvasPoint({shown.width() - 1, shown.height() - 1});
    const CanvasRect visible{first.x(), first.y(), last.x() + 1, last.y() + 1};
    window_.RunCommand([&] { doc.EnterKey(visible); });
  } else if (key == Qt::Key_Escape) {
    window_.RunCommand([&] { doc.EscapeKey(); });
  } else if (const char* tool = ToolButtonOfKey(key); tool && !mods) {
    auto* button = window_.findChild<QToolButton*>(QLatin1String(tool));
    if (button && button->isEnabled()) button->click();
  } else {
    return false;
  }
  window_.RefreshCanvases();
  AnnounceSelection(window_.ModelView());
  frame_->Show();
  return true;
}

void TCanvasKeyboard::LeaveCanvas(bool forward) {
  // The focus chain is a ring: walk it to the next control that takes Tab.
  QWidget* w = &receiver_;
  do {
    w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    if (w != &receiver_ && w->isVisibleTo(&window_) && w->isEnabled() &&
        (w->focusPolicy() & Qt::TabFocus) && w->window() == &window_) {
      w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return;
    }
  } while (w != &receiver_);
}
