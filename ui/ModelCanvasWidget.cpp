#include "ui/ModelCanvasWidget.h"

#include "platform/RasterCanvas.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace {

std::int32_t EventX(const QMouseEvent* e) { return e->position().toPoint().x(); }
std::int32_t EventY(const QMouseEvent* e) { return e->position().toPoint().y(); }

}  // namespace

TCanvasView::TCanvasView(RasterCanvas& canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
  // The buffer covers every pixel, so Qt need not clear the widget first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

void TCanvasView::ShowChanges() {
  QRegion changed;
  for (const CanvasRect& r : canvas_.TakeChangedRects())
    changed += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
  if (!changed.isEmpty()) update(changed);
}

void TCanvasView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const int w = canvas_.Width();
  const int h = canvas_.Height();
  if (w > 0 && h > 0) {
    const QImage image(reinterpret_cast<const uchar*>(canvas_.Bits()), w, h,
                       qsizetype(w) * 4, QImage::Format_RGB32);
    // Box by box: a tick's level marks lie far apart, their bounding box is the canvas.
    for (const QRect& r : event->region()) {
      const QRect shown = r.intersected(QRect(0, 0, w, h));
      if (!shown.isEmpty()) painter.drawImage(shown.topLeft(), image, shown, Qt::NoFormatConversion);
    }
  }
  // Between a resize and the buffer's reallocation the widget may be larger.
  const QRegion outside = QRegion(event->rect()) - QRegion(0, 0, w, h);
  for (const QRect& r : outside) painter.fillRect(r, Qt::white);
}

void TCanvasView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (OnResize) OnResize();
}

void TCanvasView::mousePressEvent(QMouseEvent* event) {
  if (OnMouseDown) OnMouseDown(EventX(event), EventY(event));
}

void TCanvasView::mouseMoveEvent(QMouseEvent* event) {
  if (OnMouseMove) OnMouseMove(EventX(event), EventY(event));
}

void TCanvasView::mouseReleaseEvent(QMouseEvent*) {
  if (OnMouseUp) OnMouseUp();
  if (OnClick) OnClick();
}

void TCanvasView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (OnDoubleClick) OnDoubleClick();
  if (OnMouseDown) OnMouseDown(EventX(event), EventY(event));
}
