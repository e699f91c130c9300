#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

class QScrollBar;
class RasterCanvas;

/// Shows a RasterCanvas on the screen by blitting its pixel buffer; it never
/// draws the model itself. Whoever owns the canvas decides what a resize does
/// to it (the callbacks run inside the widget's event handlers), and calls
/// update() after changing its pixels.
///
/// A double click is reported as OnDoubleClick followed by OnMouseDown: its
/// second press comes after it, so that the document can end the dialog's
/// mode with it. Qt's own sequence is press, release, double-click, release.
///
/// The view may be zoomed for a projector: the canvas keeps the widget's size,
/// the picture grows, scroll bars show the rest, and the mouse reports canvas
/// pixels. Only what the screen shows changes.
class TCanvasView : public QWidget {
  Q_OBJECT

public:
  explicit TCanvasView(RasterCanvas& canvas, QWidget* parent = nullptr);

  RasterCanvas& Canvas() const { return canvas_; }
  /// Repaints only the boxes the canvas drew on since the last call.
  void ShowChanges();

  /// Screen pixels per 100 canvas pixels; 100 and up.
  int Zoom() const { return zoom_; }
  /// The canvas pixel under the widget point anchor stays under it.
  void SetZoom(int percent, QPoint anchor);
  /// Scrolls the canvas point to the top left of the picture, as far as it goes.
  void ScrollTo(QPoint canvasPoint);
  /// The canvas pixel shown at a point of the widget.
  QPoint CanvasPoint(QPoint at) const;
  /// The widget's area left to the picture at a zoom, beside its scroll bars.
  QSize PictureSize(int percent) const;

  /// The widget has its new size; the buffer is still the old one.
  std::function<void()> OnResize;
  std::function<void(std::int32_t x, std::int32_t y)> OnMouseDown;
  std::function<void(std::int32_t x, std::int32_t y)> OnMouseMove;
  std::function<void()> OnMouseUp;
  /// After every release.
  std::function<void()> OnClick;
  std::function<void()> OnDoubleClick;
  /// Ctrl+wheel: steps up (positive) or down, at a widget point.
  std::function<void(int steps, QPoint at)> OnZoomWheel;

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

private:
  QPoint Scroll() const;
  void LayOutScrollBars();
  /// The screen pixels of a canvas rectangle, in widget coordinates.
  QRect ShownRect(const QRect& canvasRect) const;
  /// Paints the canvas pixels behind the widget rectangle r, zoomed.
  void PaintZoomed(QPainter& painter, const QImage& image, const QRect& r) const;

  RasterCanvas& canvas_;
  int zoom_ = 100;
  /// Ctrl+wheel turns not yet a whole notch.
  int wheelTurned_ = 0;
  QScrollBar* horizontal_ = nullptr;
  QScrollBar* vertical_ = nullptr;
};
