#include "ui/DialogSupport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QScreen>
#include <QWidget>

QFont SansFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

QFont DialogFont(bool bold) { return SansFont(11, bold); }

namespace {

/// How much the window manager's frame adds around a window's client area.
QMargins FrameMargins(const QWidget& w) {
  const QRect frame = w.frameGeometry();
  const QRect client = w.geometry();
  return {client.left() - frame.left(), client.top() - frame.top(),
          frame.right() - client.right(), frame.bottom() - client.bottom()};
}

}  // namespace

void CentreOnScreen(QWidget& w) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  // A window that was never shown has no frame yet; the frame of a window
  // that is shown, made by the same window manager, stands in for its own.
  QMargins frame = FrameMargins(w);
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (!frame.isNull()) break;
    if (other != &w && other->isVisible()) frame = FrameMargins(*other);
  }
  const QRect area = screen->geometry();
  const QSize size = w.size().grownBy(frame);
  w.move(area.x() + (area.width() - size.width()) / 2,
         area.y() + (area.height() - size.height()) / 2);
}

QGroupBox* MakeGroup(QWidget* parent, const QString& title, int left, int top, int width,
                     int height) {
  auto* group = new QGroupBox(title, parent);
  group->setGeometry(left, top, width, height);
  return group;
}

QRadioButton* MakeRadio(QGroupBox* group, QButtonGroup* exclusive, const QString& text, int left,
                        int top, int width) {
  auto* radio = new QRadioButton(text, group);
  radio->setFont(DialogFont(false));
  // The designed widths leave a caption about as much room as a classic
  // 13-pixel indicator with a narrow gap did; the style's wider gap would cut it.
  radio->setStyleSheet(QStringLiteral("QRadioButton { spacing: 3px; }"));
  radio->setGeometry(left, top, width, 17);
  exclusive->addButton(radio);
  return radio;
}
