// The delayed save on Qt's own event loop, in real time.
#include <sys/stat.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "core_fixture.h"

namespace quillon::app::test {
namespace {

using Debounce = CoreTest;

// Runs the event loop for `seconds`, calling `poll` every few milliseconds.
void runFor(double seconds, const std::function<void()>& poll = {}) {
  QElapsedTimer t;
  t.start();
  while (static_cast<double>(t.elapsed()) < seconds * 1000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    if (poll) poll();
    QThread::msleep(1);
  }
}

int savesIn(const Calls& calls) {
  int n = 0;
  // Every save pushes macOS's acceleration switch once.
  for (const auto& c : calls) n += c == "hid.parameter HIDUseLinearScalingMouseAcceleration 0";
  return n;
}

TEST_F(Debounce, ThreeEditsWithinAFifthOfASecondSaveOnceAfterTheLast) {
  auto model = makeModel();
  QElapsedTimer clock;
  clock.start();
  qint64 lastEdit = 0;
  qint64 savedAt = -1;
  for (int i = 0; i < 3; ++i) {
    model->binding (&DeviceConfig::speed)(11 + i);
    lastEdit = clock.elapsed();
    runFor(0.1);
  }
  ASSERT_LT(lastEdit, 400) << "the machine is too busy for this timing";
  runFor(1.0, [&] {
    if (savedAt < 0 && savesIn(mac.calls) > 0) savedAt = clock.elapsed();
  });
  EXPECT_EQ(savesIn(mac.calls), 1);
  ASSERT_GE(savedAt, 0);
  EXPECT_GE(savedAt - lastEdit, 295);
  EXPECT_LT(savedAt - lastEdit, 500);
  EXPECT_NE(readConfig().find("\"speed\": 13.0"), std::string::npos);
}

TEST_F(Debounce, ReopeningThePanelBeforeTheSaveKeepsTheEdit) {
  auto model = makeModel();
  model->binding (&DeviceConfig::speed)(17);
  model->refresh();  // the panel reopened at once
  EXPECT_EQ(model->cfg().speed, 17);
  EXPECT_NE(readConfig().find("\"speed\": 17.0"), std::string::npos);
  runFor(0.5);
  EXPECT_EQ(savesIn(mac.calls), 1) << "the edit is saved once, not again with the old value";
}

TEST_F(Debounce, APendingSaveDiesWithTheModel) {
  auto model = makeModel();
  model->binding (&DeviceConfig::speed)(12);
  model.reset();
  runFor(0.5);
  EXPECT_EQ(savesIn(mac.calls), 0);
}

}  // namespace
}  // namespace quillon::app::test
