// The reference for the program's start-up: a bare maximized Qt window that
// says on standard error when it is first painted (CLOCK_MONOTONIC seconds),
// as the program does with KORVEL_PRINT_CLOCK, and quits.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {

class BareWindow : public QWidget {
protected:
  void paintEvent(QPaintEvent*) override {
    if (painted_) return;
    painted_ = true;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "korvel: first paint %ld.%09ld\n", long(now.tv_sec), now.tv_nsec);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
  }

private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  BareWindow window;
  window.showMaximized();
  return QApplication::exec();
}
