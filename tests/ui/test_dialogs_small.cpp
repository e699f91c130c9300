#include "tests/ui/test_dialogs_support.h"
#include "ui/Fconfirm.h"
#include "ui/Fveloc.h"
#include "ui/fSobre.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using dialog_test::WhenModalShown;

namespace {

struct SpeedRow {
  int position;
  std::int32_t interval;
};

// 50 is the tie: 1000 - 50 * 9.99 is exactly 500.5, which rounds to even.
constexpr SpeedRow kSpeedTable[] = {
    {0, 1000}, {1, 990}, {10, 900}, {50, 500}, {51, 491},
    {75, 251}, {90, 101}, {99, 11},  {100, 1},
};

TEST(SpeedMapping, PositionsGiveTheirIntervals) {
  for (const SpeedRow& row : kSpeedTable)
    EXPECT_EQ(IntervalForSpeedPosition(row.position), row.interval) << "position " << row.position;
}

TEST(SpeedMapping, IntervalsShowTheirPositions) {
  const struct {
    std::uint32_t interval;
    int position;
  } rows[] = {{1, 100}, {100, 90}, {500, 50}, {1000, 0}, {0, 100}, {999, 0}, {995, 1}};
  for (const auto& row : rows)
    EXPECT_EQ(SpeedPositionForInterval(row.interval), row.position) << "interval " << row.interval;
}

TEST(SpeedMapping, EveryIntervalTheBarProducesShowsItsPositionAgain) {
  for (int position = 0; position <= 100; ++position) {
    const std::int32_t interval = IntervalForSpeedPosition(position);
    ASSERT_GE(interval, 1);
    ASSERT_LE(interval, 1000);
    EXPECT_EQ(SpeedPositionForInterval(std::uint32_t(interval)), position)
        << "position " << position;
  }
}

TEST(SpeedMapping, IntervalsAboveOneSecondHaveNoPositionAndShowZero) {
  constexpr std::uint32_t kLargest = std::numeric_limits<std::uint32_t>::max();
  for (std::uint32_t interval : {1001u, 5000u, kLargest - 999u, kLargest})
    EXPECT_EQ(SpeedPositionForInterval(interval), 0) << "interval " << interval;
}

TEST(SpeedDialog, OpensCentredWithTheFocusOnOkAndKeepsThePositionOnOk) {
  TfVelocidade dialog;
  dialog.scrVelocidade->setValue(SpeedPositionForInterval(100));
  QWidget* focused = nullptr;
  WhenModalShown([&](QDialog&) {
    focused = QApplication::focusWidget();
    dialog.scrVelocidade->setValue(50);
    dialog.OKBtn->click();
  });
  ASSERT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(focused, dialog.OKBtn);
  EXPECT_EQ(IntervalForSpeedPosition(dialog.scrVelocidade->value()), 500);

  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(dialog.frameGeometry().left(), (screen.width() - dialog.frameGeometry().width()) / 2);
  EXPECT_EQ(dialog.frameGeometry().top(), (screen.height() - dialog.frameGeometry().height()) / 2);
}

TEST(SpeedDialog, CancelAndTheCloseButtonBothReject) {
  TfVelocidade dialog;
  WhenModalShown([&](QDialog&) { dialog.CancelBtn->click(); });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  WhenModalShown([](QDialog& shown) { shown.close(); });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

class ConfirmDialog : public ::testing::Test {
protected:
  TfConfirma dialog;
};

TEST_F(ConfirmDialog, OpensWithTheFocusOnCancelarSoEnterCancels) {
  QWidget* focused = nullptr;
  WhenModalShown([&](QDialog&) {
    focused = QApplication::focusWidget();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  });
  EXPECT_EQ(dialog.Ask(), TfConfirma::Cancelar);
  EXPECT_EQ(focused, dialog.btnCancelar);
}

TEST_F(ConfirmDialog, FocusReturnsToCancelarAtEveryOpening) {
  WhenModalShown([&](QDialog&) {
    dialog.btnSim->setFocus();
    dialog.btnSim->click();
  });
  ASSERT_EQ(dialog.Ask(), TfConfirma::Sim);
  QWidget* focused = nullptr;
  WhenModalShown([&](QDialog&) {
    focused = QApplication::focusWidget();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
  });
  EXPECT_EQ(dialog.Ask(), TfConfirma::Cancelar);
  EXPECT_EQ(focused, dialog.btnCancelar);
}

TEST_F(ConfirmDialog, EachButtonGivesItsAnswer) {
  const struct {
    const char* label;
    QPushButton* TfConfirma::*button;
    TfConfirma::Answer answer;
  } rows[] = {
      {"Sim", &TfConfirma::btnSim, TfConfirma::Sim},
      {"Não", &TfConfirma::btnNao, TfConfirma::Nao},
      {"Cancelar", &TfConfirma::btnCancelar, TfConfirma::Cancelar},
  };
  for (const auto& row : rows) {
    WhenModalShown([&](QDialog&) { (dialog.*row.button)->click(); });
    EXPECT_EQ(dialog.Ask(), row.answer) << row.label;
  }
}

TEST_F(ConfirmDialog, AcceleratorsAnswerSimAndNao) {
  // A mnemonic clicks its button with a short animation, after the key returns.
  const auto pressAndWait = [](Qt::Key key) {
    return [key](QDialog& shown) {
      QTest::keyClick(&shown, key, Qt::AltModifier);
      EXPECT_TRUE(QTest::qWaitFor([&] { return !shown.isVisible(); }, 2000));
    };
  };
  WhenModalShown(pressAndWait(Qt::Key_N));
  EXPECT_EQ(dialog.Ask(), TfConfirma::Nao);
  WhenModalShown(pressAndWait(Qt::Key_S));
  EXPECT_EQ(dialog.Ask(), TfConfirma::Sim);
}

TEST_F(ConfirmDialog, ClosingTheWindowOrEscapeAnswersCancelarEvenAfterSim) {
  WhenModalShown([&](QDialog&) { dialog.btnSim->click(); });
  ASSERT_EQ(dialog.Ask(), TfConfirma::Sim);
  WhenModalShown([](QDialog& shown) { shown.close(); });
  EXPECT_EQ(dialog.Ask(), TfConfirma::Cancelar);
  WhenModalShown([](QDialog& shown) { QTest::keyClick(&shown, Qt::Key_Escape); });
  EXPECT_EQ(dialog.Ask(), TfConfirma::Cancelar);
}

TEST(AboutBox, IconFileIsA32By32Picture) {
  QSvgRenderer renderer(QStringLiteral(KORVEL_SOURCE_DIR "/ui/resources/about-icon.svg"));
  ASSERT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.defaultSize(), QSize(32, 32));
}

TEST(AboutBox, ShowsItsIconFromTheResources) {
  ASSERT_TRUE(QFile::exists(QString::fromLatin1(TfrmSobre::IconPath)));
  TfrmSobre box;
  const QPixmap icon = box.Image1->pixmap();
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.size(), QSize(32, 32));
}

TEST(AboutBox, OkCloses) {
  TfrmSobre box;
  WhenModalShown([&](QDialog&) { box.BitBtn1->click(); });
  EXPECT_EQ(box.exec(), QDialog::Accepted);
}

}  // namespace
