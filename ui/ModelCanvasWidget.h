#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

class RasterCanvas;

/// Shows a RasterCanvas on the screen by blitting its pixel buffer; it never
/// draws the model itself. Whoever owns the canvas decides what a resize does
/// to it (the callbacks run inside the widget's event handlers), and calls
/// update() after changing its pixels.
///
/// A double click is reported as OnDoubleClick followed by OnMouseDown: its
/// second press comes after it, so that the document can end the dialog's
/// mode with it. Qt's own sequence is press, release, double-click, release.
class TCanvasView : public QWidget {
  Q_OBJECT

public:
  explicit TCanvasView(RasterCanvas& canvas, QWidget* parent = nullptr);

  RasterCanvas& Canvas() const { return canvas_; }
  /// Repaints only the boxes the canvas drew on since the last call.
  void ShowChanges();

  /// The widget has its new size; the buffer is still the old one.
  std::function<void()> OnResize;
  std::function<void(std::int32_t x, std::int32_t y)> OnMouseDown;
  std::function<void(std::int32_t x, std::int32_t y)> OnMouseMove;
  std::function<void()> OnMouseUp;
  /// After every release.
  std::function<void()> OnClick;
  std::function<void()> OnDoubleClick;

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  RasterCanvas& canvas_;
};
