#include "ui/DialogSupport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QWidget>

QFont PixelFont(Face face, int pixelHeight, bool bold) {
  QFont font(face == Face::Arial ? QStringLiteral("Arial") : QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}

QFont DialogFont(bool bold) { return PixelFont(Face::Sans, 11, bold); }

void SetUpDialog(QDialog& dialog, const QString& caption, const QFont& font, int width,
                 int height) {
  dialog.setWindowTitle(caption);
  dialog.setFont(font);
  dialog.setFixedSize(width, height);
}

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
  // Until the window manager has framed a window Qt can only guess its frame;
  // the frame of a window that is shown, made by the same manager, is known.
  QMargins frame;
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (other != &w && other->isVisible()) frame = FrameMargins(*other);
    if (!frame.isNull()) break;
  }
  if (frame.isNull()) frame = FrameMargins(w);
  const QRect area = screen->geometry();
  const QSize size = w.size().grownBy(frame);
  // Placed by its client area, so that Qt's guess plays no part.
  const QPoint client(area.x() + (area.width() - size.width()) / 2 + frame.left(),
                      area.y() + (area.height() - size.height()) / 2 + frame.top());
  w.setGeometry(QRect(client, w.size()));
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

QPushButton* MakeButton(QDialog* dialog, const QString& text, int left, int top) {
  auto* button = new QPushButton(text, dialog);
  button->setGeometry(left, top, 77, 27);
  return button;
}

OkCancelButtons MakeOkCancel(QDialog* dialog, int okLeft, int cancelLeft, int top) {
  QPushButton* ok = MakeButton(dialog, QStringLiteral("OK"), okLeft, top);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QPushButton* cancel = MakeButton(dialog, QStringLiteral("Cancelar"), cancelLeft, top);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return {ok, cancel};
}

namespace {

/// Page Up/Down by a number of steps of its own.
class PageKeys : public QObject {
public:
  PageKeys(QScrollBar* bar, int step) : QObject(bar), bar_(bar), step_(step) {}

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_PageUp && key != Qt::Key_PageDown) return false;
    bar_->setValue(bar_->value() + (key == Qt::Key_PageUp ? step_ : -step_));
    return true;
  }

private:
  QScrollBar* bar_;
  int step_;
};

class TFocusMarkedButton : public QToolButton {
public:
  using QToolButton::QToolButton;

protected:
  void paintEvent(QPaintEvent* event) override {
    QToolButton::paintEvent(event);
    if (hasFocus()) DrawFocusMark(*this);
  }
};

}  // namespace

void DrawFocusMark(QWidget& w) {
  QPainter p(&w);
  p.setPen(QPen(Qt::black, 1, Qt::DotLine));
  p.drawRect(w.rect().adjusted(0, 0, -1, -1));
}

void LetKeyboardMove(QScrollBar* bar, const QString& accessibleName, int pageKeyStep) {
  bar->setFocusPolicy(Qt::StrongFocus);
  bar->setAccessibleName(accessibleName);
  bar->installEventFilter(new PageKeys(bar, pageKeyStep));
}

QToolButton* MakeFocusMarkedButton(QWidget* parent) {
  auto* button = new TFocusMarkedButton(parent);
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
}
