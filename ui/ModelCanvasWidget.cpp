#include "ui/ModelCanvasWidget.h"

#include "platform/RasterCanvas.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>

namespace {

/// Division rounding toward minus infinity, for points left of or above the widget.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

}  // namespace

TCanvasView::TCanvasView(RasterCanvas& canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
  // The buffer covers every pixel, so Qt need not clear the widget first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  horizontal_ = new QScrollBar(Qt::Horizontal, this);
  vertical_ = new QScrollBar(Qt::Vertical, this);
  for (QScrollBar* bar : {horizontal_, vertical_}) {
    bar->setFocusPolicy(Qt::NoFocus);
    bar->hide();
    connect(bar, &QScrollBar::valueChanged, this, [this] { update(); });
  }
}

QPoint TCanvasView::Scroll() const { return {horizontal_->value(), vertical_->value()}; }

QSize TCanvasView::PictureSize(int percent) const {
  if (percent <= 100) return size();
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const auto zoomed = [percent](int n) { return std::int64_t(n) * percent / 100; };
  // Each bar takes room from the other direction, which may then need its own.
  bool across = false;
  bool down = false;
  for (int pass = 0; pass < 2; ++pass) {
    across = zoomed(width()) > width() - (down ? extent : 0);
    down = zoomed(height()) > height() - (across ? extent : 0);
  }
  return {std::max(width() - (down ? extent : 0), 0), std::max(height() - (across ? extent : 0), 0)};
}

void TCanvasView::LayOutScrollBars() {
  const QSize picture = PictureSize(zoom_);
  const auto lay = [this](QScrollBar* bar, int length, int shown, const QRect& place) {
    const int zoomed = int(std::int64_t(length) * zoom_ / 100);
    bar->setVisible(zoomed > shown);
    bar->setGeometry(place);
    bar->setRange(0, std::max(zoomed - shown, 0));
    bar->setPageStep(std::max(shown, 1));
    bar->setSingleStep(20);
  };
  lay(horizontal_, width(), picture.width(),
      QRect(0, picture.height(), picture.width(), height() - picture.height()));
  lay(vertical_, height(), picture.height(),
      QRect(picture.width(), 0, width() - picture.width(), picture.height()));
}

void TCanvasView::SetZoom(int percent, QPoint anchor) {
  percent = std::max(percent, 100);
  // The anchor's canvas point in hundredths of a pixel, so steps don't drift.
  const std::int64_t x = (std::int64_t(anchor.x()) + Scroll().x()) * 10000 / zoom_;
  const std::int64_t y = (std::int64_t(anchor.y()) + Scroll().y()) * 10000 / zoom_;
  zoom_ = percent;
  LayOutScrollBars();
  horizontal_->setValue(int(x * percent / 10000 - anchor.x()));
  vertical_->setValue(int(y * percent / 10000 - anchor.y()));
  update();
}

void TCanvasView::ScrollTo(QPoint canvasPoint) {
  horizontal_->setValue(int(std::int64_t(canvasPoint.x()) * zoom_ / 100));
  vertical_->setValue(int(std::int64_t(canvasPoint.y()) * zoom_ / 100));
}

QPoint TCanvasView::CanvasPoint(QPoint at) const {
  const auto back = [this](int shown, int scrolled) {
    return int(FloorDiv((std::int64_t(shown) + scrolled) * 100, zoom_));
  };
  return {back(at.x(), Scroll().x()), back(at.y(), Scroll().y())};
}

QRect TCanvasView::ShownRect(const QRect& c) const {
  const QPoint s = Scroll();
  const std::int64_t left = FloorDiv(std::int64_t(c.left()) * zoom_, 100) - s.x();
  const std::int64_t top = FloorDiv(std::int64_t(c.top()) * zoom_, 100) - s.y();
  const std::int64_t right = CeilDiv((std::int64_t(c.right()) + 1) * zoom_, 100) - s.x();
  const std::int64_t bottom = CeilDiv((std::int64_t(c.bottom()) + 1) * zoom_, 100) - s.y();
  return QRect(QPoint(int(left), int(top)), QPoint(int(right) - 1, int(bottom) - 1));
}

void TCanvasView::ShowChanges() {
  QRegion changed;
  // A smoothed zoom blends each pixel into its neighbours' screen pixels.
  const int blend = zoom_ % 100 == 0 ? 0 : 1;
  for (const CanvasRect& r : canvas_.TakeChangedRects()) {
    const QRect c(r.left, r.top, r.right - r.left, r.bottom - r.top);
    changed += zoom_ == 100 ? c : ShownRect(c).adjusted(-blend, -blend, blend, blend);
  }
  if (!changed.isEmpty()) update(changed);
}

void TCanvasView::PaintZoomed(QPainter& painter, const QImage& image, const QRect& r) const {
  const QPoint s = Scroll();
  const QPoint first = CanvasPoint(r.topLeft());
  const QPoint last = CanvasPoint(r.bottomRight());
  // One pixel more around, so smoothing reads the neighbours a whole picture would.
  const QRect source = QRect(first - QPoint(1, 1), last + QPoint(1, 1)).intersected(image.rect());
  if (source.isEmpty()) return;
  // Whole zooms repeat each pixel. Others repeat it by the next whole number
  // and shrink that smoothly: edges stay sharp, and no line comes out one
  // pixel wide in one place and two in the next.
  const int whole = (zoom_ + 99) / 100;
  const QImage repeated =
      image.copy(source).scaled(source.size() * whole, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  if (zoom_ % 100 == 0) {
    painter.drawImage(source.topLeft() * whole - s, repeated);
    return;
  }
  const QRectF target(source.left() * zoom_ / 100.0 - s.x(), source.top() * zoom_ / 100.0 - s.y(),
                      source.width() * zoom_ / 100.0, source.height() * zoom_ / 100.0);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter.drawImage(target, repeated);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

void TCanvasView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const int w = canvas_.Width();
  const int h = canvas_.Height();
  const QSize picture = PictureSize(zoom_);
  const QRect pictureRect(QPoint(0, 0), picture);
  const QRect shown = zoom_ == 100 ? QRect(0, 0, w, h) : ShownRect(QRect(0, 0, w, h)) & pictureRect;
  if (w > 0 && h > 0) {
    const QImage image(reinterpret_cast<const uchar*>(canvas_.Bits()), w, h,
                       qsizetype(w) * 4, QImage::Format_RGB32);
    // Box by box: a tick's level marks lie far apart, their bounding box is the canvas.
    for (const QRect& r : event->region()) {
      const QRect part = r.intersected(shown);
      if (part.isEmpty()) continue;
      if (zoom_ == 100)
        painter.drawImage(part.topLeft(), image, part, Qt::NoFormatConversion);
      else
        PaintZoomed(painter, image, part);
    }
  }
  // Between a resize and the buffer's reallocation the widget may be larger.
  const QRegion outside = (QRegion(event->rect()) & pictureRect) - QRegion(shown);
  for (const QRect& r : outside) painter.fillRect(r, Qt::white);
  // The corner between the two scroll bars.
  const QRegion corner = QRegion(event->rect()) - QRegion(pictureRect) -
                         QRegion(horizontal_->isVisible() ? horizontal_->geometry() : QRect()) -
                         QRegion(vertical_->isVisible() ? vertical_->geometry() : QRect());
  for (const QRect& r : corner) painter.fillRect(r, palette().window());
}

void TCanvasView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOutScrollBars();
  if (OnResize) OnResize();
}

void TCanvasView::mousePressEvent(QMouseEvent* event) {
  const QPoint at = CanvasPoint(event->position().toPoint());
  if (OnMouseDown) OnMouseDown(at.x(), at.y());
}

void TCanvasView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = CanvasPoint(event->position().toPoint());
  if (OnMouseMove) OnMouseMove(at.x(), at.y());
}

void TCanvasView::mouseReleaseEvent(QMouseEvent*) {
  if (OnMouseUp) OnMouseUp();
  if (OnClick) OnClick();
}

void TCanvasView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (OnDoubleClick) OnDoubleClick();
  const QPoint at = CanvasPoint(event->position().toPoint());
  if (OnMouseDown) OnMouseDown(at.x(), at.y());
}

void TCanvasView::wheelEvent(QWheelEvent* event) {
  const QPoint turned = event->angleDelta();
  if (event->modifiers() & Qt::ControlModifier) {
    // A notch is 120; a touchpad sends less at a time and gets a step per notch's worth.
    wheelTurned_ += turned.y();
    const int steps = wheelTurned_ / 120;
    wheelTurned_ -= steps * 120;
    if (steps != 0 && OnZoomWheel) OnZoomWheel(steps, event->position().toPoint());
    event->accept();
    return;
  }
  QScrollBar* bar = turned.y() == 0 || (event->modifiers() & Qt::ShiftModifier) ? horizontal_ : vertical_;
  if (!bar->isVisible()) {
    event->ignore();
    return;
  }
  const int delta = turned.y() != 0 ? turned.y() : turned.x();
  bar->setValue(bar->value() - delta * bar->singleStep() * 3 / 120);
  event->accept();
}
