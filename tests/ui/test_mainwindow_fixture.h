#pragma once

#include "document/uEditor.h"
#include "model/uRel.h"
#include "model/uVar.h"
#include "ui/Ieditor.h"
#include "ui/ModelCanvasWidget.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

/// A control of the main window, found by its object name: the window keeps
/// its controls to itself.
template <class T = QToolButton>
T* Part(const char* name) {
  T* part = fEditor->findChild<T*>(QLatin1String(name));
  if (!part) ADD_FAILURE() << "the main window has no " << name;
  return part;
}

/// Every test gets the six windows fresh, built as the program start builds
/// them, with the main window shown (maximized) and active.
class MainWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    CreateForms();
    fEditor->showMaximized();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fEditor));
    ASSERT_TRUE(QTest::qWaitForWindowActive(fEditor));
  }
  void TearDown() override { DestroyForms(); }

  static TEditor& Doc() { return *fEditor->Document; }

  static void ClickCanvas(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(Part<TCanvasView>("iModelo"), button, {}, QPoint(x, y));
  }

  /// Qt's sequence for a double click: press, release, double-click, release.
  static void DoubleClickCanvas(int x, int y) {
    QTest::mouseClick(Part<TCanvasView>("iModelo"), Qt::LeftButton, {}, QPoint(x, y));
    QTest::mouseDClick(Part<TCanvasView>("iModelo"), Qt::LeftButton, {}, QPoint(x, y));
    QTest::mouseRelease(Part<TCanvasView>("iModelo"), Qt::LeftButton, {}, QPoint(x, y));
  }

  static TVariavel* PlaceVariable(QToolButton* tool, int x, int y) {
    QTest::mouseClick(tool, Qt::LeftButton);
    ClickCanvas(x, y);
    return Doc().Variables.empty() ? nullptr : Doc().Variables.back().get();
  }

  static void Link(QToolButton* tool, int x1, int y1, int x2, int y2) {
    QTest::mouseClick(tool, Qt::LeftButton);
    ClickCanvas(x1, y1);
    ClickCanvas(x2, y2);
  }

  /// What the screen shows of the model canvas: the widget rendered through
  /// its paint event.
  static QImage ShownModel() { return Part<TCanvasView>("iModelo")->grab().toImage(); }

  /// Number of pixels darker than mid-grey in the rectangle.
  static int DarkPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 128) ++count;
    return count;
  }

  /// New without the save question: the test's changes are thrown away.
  static void DiscardModel() {
    Doc().Modified = false;
    fEditor->bNovoClick();
  }

  /// Cancels the next modal window (a file or print dialog).
  static void CancelNextModal() {
    WhenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
  }

  /// Runs answer on the next modal window as soon as it is open; the modal
  /// loop that the test then starts calls it.
  static void WhenModalOpens(std::function<void(QWidget*)> answer, int triesLeft = 300) {
    QTimer::singleShot(triesLeft == 300 ? 0 : 10, [answer, triesLeft] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        answer(modal);
      } else if (triesLeft > 0) {
        WhenModalOpens(answer, triesLeft - 1);
      } else {
        ADD_FAILURE() << "no modal window opened";
      }
    });
  }
};
