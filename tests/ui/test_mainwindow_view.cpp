#include "test_mainwindow_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

void Key(int key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

}  // namespace

TEST_F(MainWindowTest, UndoKeysStopTheAnimationAndGoBackAndForthUntilNovo) {
  PlaceVariable(Part("bVarContinua"), 150, 150);
  PlaceVariable(Part("bVarContinua"), 300, 200);
  fEditor->bPlayClick();
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Doc().RunState, RunState::Stopped);
  EXPECT_FALSE(Part("bPause")->isEnabled()) << "as after Parar";
  EXPECT_EQ(Doc().Variables.size(), 1u);
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Doc().Variables.size(), 2u);
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Doc().Variables.size(), 1u);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(Doc().Variables.empty());
  EXPECT_FALSE(Doc().Modified) << "back at the text the program started with";

  // A unit typed letter by letter is one step.
  auto* units = Part<QComboBox>("cBoxUnidades");
  units->lineEdit()->setFocus();
  units->lineEdit()->selectAll();
  QTest::keyClicks(units->lineEdit(), "dias");
  Part<QPushButton>("bTeclado")->setFocus();
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(units->currentText(), QStringLiteral("segundos"));

  PlaceVariable(Part("bVarContinua"), 150, 150);
  DiscardModel();
  EXPECT_EQ(Doc().History().UndoSteps(), 0u) << "Novo forgets the steps";
}

TEST_F(MainWindowTest, AtEveryZoomTheMouseDragsTheObjectUnderItAndTheCanvasKeepsItsSize) {
  auto* view = Part<TCanvasView>("iModelo");
  const QSize canvas(fEditor->ModelCanvas.Width(), fEditor->ModelCanvas.Height());
  TVariavel* v = PlaceVariable(Part("bVarContinua"), 200, 200);
  for (const int percent : {125, 150, 200, 300}) {
    fEditor->SetZoom(percent);
    const QPoint origin(v->X - 60, v->Y - 60);
    view->ScrollTo(origin);
    const auto shown = [&](int x, int y) { return (QPoint(x, y) - origin) * percent / 100; };
    const QPoint from(v->X, v->Y);
    QTest::mousePress(view, Qt::LeftButton, {}, shown(from.x(), from.y()));
    QTest::mouseMove(view, shown(from.x() + 20, from.y()));
    QTest::mouseMove(view, shown(from.x() + 40, from.y() + 20));
    QTest::mouseRelease(view, Qt::LeftButton, {}, shown(from.x() + 40, from.y() + 20));
    EXPECT_EQ(QPoint(v->X, v->Y), from + QPoint(40, 20)) << percent;
    EXPECT_EQ(QSize(fEditor->ModelCanvas.Width(), fEditor->ModelCanvas.Height()), canvas) << percent;
    if (percent % 100 == 0) {
      const QImage screen = ShownModel();
      const RasterCanvas& c = fEditor->ModelCanvas;
      const QImage model(reinterpret_cast<const uchar*>(c.Bits()), c.Width(), c.Height(),
                         qsizetype(c.Width()) * 4, QImage::Format_RGB32);
      int differing = 0;
      for (int y = v->Y - 40; y < v->Y + 40; ++y)
        for (int x = v->X - 30; x < v->X + 30; ++x)
          differing += screen.pixel(shown(x, y)) != model.pixel(x, y);
      EXPECT_EQ(differing, 0) << percent << ": each pixel repeated exactly";
    }
  }
  fEditor->ZoomToActualSize();
  EXPECT_EQ(view->Zoom(), 100);
  EXPECT_EQ(view->CanvasPoint(QPoint(v->X, v->Y)), QPoint(v->X, v->Y));
}

TEST_F(MainWindowTest, FittingZoomsTheModelToTheWindowAndCentresIt) {
  auto* view = Part<TCanvasView>("iModelo");
  TVariavel* v = PlaceVariable(Part("bVarContinua"), 500, 200);
  fEditor->ZoomToFitModel();
  EXPECT_EQ(view->Zoom(), 300);
  const QPoint centre = view->CanvasPoint(QRect(QPoint(), view->PictureSize(300)).center());
  EXPECT_LE((centre - QPoint(v->X, v->Y)).manhattanLength(), 2);
  EXPECT_EQ(Part<TCanvasView>("iGrafico")->Zoom(), 300) << "the graph zooms too";
  Key(Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(view->Zoom(), 250);
  Key(Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(view->Zoom(), 100);
}
