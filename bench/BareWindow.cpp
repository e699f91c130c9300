// The references for the program's start-up, each maximized, saying on
// standard error when it is first painted (CLOCK_MONOTONIC seconds), as the
// program does with KORVEL_PRINT_CLOCK, and quitting:
//   korvel-bare-window               a bare Qt window;
//   korvel-bare-window --furnished   the least the program's window can cost:
//       the same three menus and ten items, fourteen tool buttons and one
//       line of text, and nothing else (no canvas, no dialogs, no model).

#include <QApplication>
#include <QFont>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

/// A widget that reports its first paint; in the furnished window it is the
/// central widget, painted in the same frame as the menu and tool bars.
class ReportingWidget : public QWidget {
public:
  explicit ReportingWidget(const char* text = "") : text_(QString::fromUtf8(text)) {}

protected:
  void paintEvent(QPaintEvent*) override {
    if (!text_.isEmpty()) {
      QPainter painter(this);
      painter.drawText(rect(), Qt::AlignCenter, text_);
    }
    if (painted_) return;
    painted_ = true;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "korvel: first paint %ld.%09ld\n", long(now.tv_sec), now.tv_nsec);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
  }

private:
  QString text_;
  bool painted_ = false;
};

void Furnish(QMainWindow& window) {
  const struct {
    const char* title;
    int items;
  } menus[] = {{"&Arquivo", 6}, {"&Configurações", 3}, {"A&juda", 1}};
  for (const auto& m : menus) {
    QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(m.title));
    for (int i = 0; i < m.items; ++i) menu->addAction(QStringLiteral("Item %1").arg(i));
  }
  QToolBar* tools = window.addToolBar(QStringLiteral("Ferramentas"));
  for (int i = 0; i < 14; ++i)
    tools->addAction(window.style()->standardIcon(QStyle::StandardPixmap(QStyle::SP_FileIcon + i)),
                     QStringLiteral("Botão %1").arg(i));
  auto* text = new ReportingWidget("Korvel - SemNome.KRL");
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  text->setFont(font);
  window.setCentralWidget(text);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--furnished") == 0) {
    QMainWindow window;
    Furnish(window);
    window.showMaximized();
    return QApplication::exec();
  }
  ReportingWidget window;
  window.showMaximized();
  return QApplication::exec();
}
