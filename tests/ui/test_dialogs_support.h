#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace dialog_test {

/// Runs `answer` on the modal dialog once it is shown and active (polling,
/// since activation arrives through the event loop). A dialog that `answer`
/// leaves open is rejected and the test fails, so no test can hang in exec().
inline void WhenModalShown(std::function<void(QDialog&)> answer, int attemptsLeft = 300) {
  QTimer::singleShot(10, [answer = std::move(answer), attemptsLeft]() mutable {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    const bool ready = dialog && dialog->isActiveWindow() && QApplication::focusWidget();
    if (!ready && attemptsLeft > 0) {
      WhenModalShown(std::move(answer), attemptsLeft - 1);
      return;
    }
    if (!dialog) {
      ADD_FAILURE() << "no modal dialog was shown";
      return;
    }
    answer(*dialog);
    if (dialog->isVisible()) {
      ADD_FAILURE() << "the answer left the dialog open";
      dialog->reject();
    }
  });
}

/// Every radio button and check box of the dialog has room for its whole
/// caption beside its indicator.
inline void ExpectCaptionsFit(QWidget& dialog) {
  for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    if (!radio && !qobject_cast<QCheckBox*>(button)) continue;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect contents = button->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, button);
    EXPECT_GE(contents.width(), button->fontMetrics().horizontalAdvance(button->text()))
        << button->text().toStdString();
  }
}

}  // namespace dialog_test
