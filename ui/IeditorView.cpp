#include "document/uEditor.h"
#include "model/uObjGrf.h"
#include "ui/Ieditor.h"
#include "ui/ModelCanvasWidget.h"

#include <QKeySequence>
#include <QList>
#include <QShortcut>
#include <QToolButton>

#include <algorithm>
#include <iterator>

namespace {

/// The projector view's zooms, in percent.
constexpr int kZoomSteps[] = {100, 125, 150, 200, 250, 300};
/// Room left around the model by Ctrl+9, for names and marks beside the boxes.
constexpr int kFitMargin = 8;

}  // namespace

void TfEditor::CreateShortcuts() {
  struct Key {
    QList<QKeySequence> keys;
    void (TfEditor::*handler)();
  };
  const Key keys[] = {
      {{QKeySequence(Qt::CTRL | Qt::Key_Z)}, &TfEditor::UndoChange},
      {{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
       &TfEditor::RedoChange},
      // Ctrl+= is Ctrl+plus without Shift on most layouts.
      {{QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
        QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus)},
       &TfEditor::ZoomIn},
      {{QKeySequence(Qt::CTRL | Qt::Key_Minus),
        QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Minus)},
       &TfEditor::ZoomOut},
      {{QKeySequence(Qt::CTRL | Qt::Key_0), QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_0)},
       &TfEditor::ZoomToActualSize},
      {{QKeySequence(Qt::CTRL | Qt::Key_9), QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_9)},
       &TfEditor::ZoomToFitModel},
  };
  for (const Key& key : keys) {
    auto* shortcut = new QShortcut(this);
    shortcut->setKeys(key.keys);
    connect(shortcut, &QShortcut::activated, this,
            [this, handler = key.handler] { RunShowingErrors([this, handler] { (this->*handler)(); }); });
  }
}

void TfEditor::FinishUnitsEdit() {
  if (!unitsEditOpen_) return;
  unitsEditOpen_ = false;
  Document->EndCommand();
}

void TfEditor::UndoChange() { TakeHistoryStep(&TEditor::Undo); }

void TfEditor::RedoChange() { TakeHistoryStep(&TEditor::Redo); }

void TfEditor::TakeHistoryStep(bool (TEditor::*step)()) {
  RunShowingErrors([this] {
    Document->FinishGesture();
    RefreshCanvases();
  });
  RunCommand([this, step] {
    if (Document->RunState != RunState::Stopped) SpeedButton2Click();
    if (!((*Document).*step)()) return;
    // As after opening: the values from before an animation were other objects'.
    bReinicializar->setEnabled(false);
    RefreshCanvases();
  });
}

void TfEditor::SetZoom(int percent, const TCanvasView* view, QPoint at) {
  for (TCanvasView* shown : {iModelo, iGrafico}) {
    const QPoint centre = QRect(QPoint(0, 0), shown->PictureSize(shown->Zoom())).center();
    shown->SetZoom(percent, shown == view ? at : centre);
  }
}

void TfEditor::ZoomBySteps(int steps, const TCanvasView* view, QPoint at) {
  const int now = iModelo->Zoom();
  const auto current = std::upper_bound(std::begin(kZoomSteps), std::end(kZoomSteps), now) - 1;
  const std::ptrdiff_t last = std::size(kZoomSteps) - 1;
  std::ptrdiff_t index = std::clamp<std::ptrdiff_t>(current - std::begin(kZoomSteps) + steps, 0, last);
  // Down from a zoom between two steps lands on the lower one.
  if (steps < 0 && kZoomSteps[current - std::begin(kZoomSteps)] != now) ++index;
  SetZoom(kZoomSteps[std::min(index, last)], view, at);
}

void TfEditor::ZoomIn() { ZoomBySteps(1); }

void TfEditor::ZoomOut() { ZoomBySteps(-1); }

void TfEditor::ZoomToActualSize() { SetZoom(100); }

void TfEditor::ZoomToFitModel() {
  const CanvasRect box = Document->DrawnBox();
  const QRect model = QRect(QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1))
                          .adjusted(-kFitMargin, -kFitMargin, kFitMargin, kFitMargin) &
                      QRect(0, 0, ModelCanvas.Width(), ModelCanvas.Height());
  int percent = 100;
  if (box.right > box.left && !model.isEmpty()) {
    for (int step : kZoomSteps) {
      const QSize room = iModelo->PictureSize(step);
      if (std::int64_t(model.width()) * step <= std::int64_t(room.width()) * 100 &&
          std::int64_t(model.height()) * step <= std::int64_t(room.height()) * 100)
        percent = step;
    }
  }
  SetZoom(percent);
  const QSize room = iModelo->PictureSize(percent);
  iModelo->ScrollTo(model.center() - QPoint(room.width() * 50 / percent, room.height() * 50 / percent));
}
