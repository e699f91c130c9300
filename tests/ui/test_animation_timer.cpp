#include "ui/AnimationTimer.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

namespace {

struct Counted {
  explicit Counted(TAnimationTimer& t) {
    QObject::connect(&t, &TAnimationTimer::timeout, [this] { ++events; });
  }
  int events = 0;
};

TEST(AnimationTimer, ALateEventIsOneTimeoutNeverABurst) {
  TAnimationTimer timer;
  timer.setInterval(1);
  Counted counted(timer);
  timer.start();
  // Fifty deadlines pass while the program is busy elsewhere.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  QCoreApplication::processEvents();
  EXPECT_EQ(counted.events, 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return counted.events >= 4; }, 2000))
      << "the deadlines go on";
}

TEST(AnimationTimer, IdleStaysEnabledButSendsNothingUntilWoken) {
  TAnimationTimer timer;
  timer.setInterval(1);
  Counted counted(timer);
  timer.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return counted.events >= 2; }, 2000));

  timer.SetIdle(true);
  const int idleFrom = counted.events;
  QTest::qWait(30);
  EXPECT_EQ(counted.events, idleFrom);
  EXPECT_TRUE(timer.isActive());

  timer.SetIdle(false);
  EXPECT_TRUE(QTest::qWaitFor([&] { return counted.events >= idleFrom + 2; }, 2000));

  timer.stop();
  const int stoppedAt = counted.events;
  QTest::qWait(30);
  EXPECT_EQ(counted.events, stoppedAt);
  EXPECT_FALSE(timer.isActive());
}

TEST(AnimationTimer, AnIdleTimerStartedLaterStaysQuiet) {
  TAnimationTimer timer;
  Counted counted(timer);
  timer.SetIdle(true);
  timer.setInterval(0);
  EXPECT_EQ(timer.interval(), 1) << "at least a millisecond";
  timer.start();
  QTest::qWait(20);
  EXPECT_EQ(counted.events, 0);
  EXPECT_TRUE(timer.isActive());
}

}  // namespace
