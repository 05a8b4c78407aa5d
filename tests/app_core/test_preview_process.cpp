// The helper's `preview` as a real child process: answers arrive on the
// main loop, which never waits; a child that hangs, floods or prints
// garbage counts as failed and is not cached.
#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdlib>
#include <fstream>
#include <string_view>

#include "app/core/preview.h"
#include "app/core/preview_runner.h"
#include "core_fixture.h"

namespace quillon::app::test {
namespace {

using PreviewProcess = CoreTest;

// Runs the event loop until `done` or `seconds` have passed.
bool waitFor(const std::function<bool()>& done, double seconds) {
  QElapsedTimer t;
  t.start();
  while (!done() && static_cast<double>(t.elapsed()) < seconds * 1000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return done();
}

QString script(const std::filesystem::path& dir, const std::string& name, const std::string& body) {
  const auto file = dir / name;
  std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
  ::chmod(file.c_str(), 0755);
  return QString::fromStdString(file.string());
}

struct Answer {
  bool arrived = false;
  std::optional<CurvePoints> points;
};

TEST_F(PreviewProcess, TheRealHelperAnswersOnTheMainLoop) {
  ::setenv("QUILLON_SIM_ROOT", root.c_str(), 1);
  ProcessPreviewRunner runner(QUILLON_HELPER_PATH);
  Answer answer;
  runner.start(windowsPreviewArgs(Device::mouse, DeviceConfig::mouseDefault()),
               [&](std::optional<CurvePoints> p) {
                 answer = {true, std::move(p)};
               });
  EXPECT_FALSE(answer.arrived) << "never inside start()";
  ASSERT_TRUE(waitFor([&] { return answer.arrived; }, 60));
  ASSERT_TRUE(answer.points);
  ASSERT_GE(answer.points->size(), 2);
  EXPECT_DOUBLE_EQ(answer.points->last().x(), 800);
  EXPECT_GT(answer.points->last().y(), answer.points->first().y());
  EXPECT_EQ(runner.running(), 0);
}

TEST_F(PreviewProcess, FailuresOfEveryKindGiveNothing) {
  struct Case {
    const char* name;
    QString program;
  };
  const Case cases[] = {
      {"hangs", script(root, "hang", "exec sleep 30")},
      {"garbage", script(root, "garbage", "echo garbage")},
      {"fails", script(root, "fails", R"(echo '{"points":[[0,1]]}'; exit 3)")},
      {"floods", script(root, "floods", "exec yes '[0,1],'")},
      {"missing", QString::fromStdString((root / "no-such-helper").string())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProcessPreviewRunner runner(c.program, 0.5);
    Answer answer;
    runner.start({"preview"}, [&](std::optional<CurvePoints> p) { answer = {true, std::move(p)}; });
    EXPECT_FALSE(answer.arrived) << "never inside start()";
    // The hanging child runs for 30 s: start() came back while it runs.
    if (std::string_view(c.name) == "hangs") {
      EXPECT_EQ(runner.running(), 1);
    }
    ASSERT_TRUE(waitFor([&] { return answer.arrived; }, 60));
    EXPECT_FALSE(answer.points);
    EXPECT_TRUE(waitFor([&] { return runner.running() == 0; }, 60)) << "no child left behind";
  }
}

TEST_F(PreviewProcess, TheModelCachesOnlyGoodAnswers) {
  ProcessPreviewRunner garbage(script(root, "garbage", "echo garbage"));
  Model model(env, windows, garbage);
  // A copy: the key asked for now, whatever the model wants later.
  // NOLINTNEXTLINE(performance-unnecessary-copy-initialization)
  const std::string key = model.windowsCurveWanted();
  QCoreApplication::processEvents();
  waitFor([&] { return garbage.running() == 0; }, 60);
  waitFor([] { return false; }, 0.1);
  EXPECT_FALSE(model.windowsCurveCached(key));
  EXPECT_FALSE(model.curves().contains(Mode::windows));
}

TEST_F(PreviewProcess, QuittingDoesNotWaitForAChild) {
  auto runner = std::make_unique<ProcessPreviewRunner>(script(root, "hang", "exec sleep 30"));
  bool called = false;
  runner->start({"preview"}, [&](const std::optional<CurvePoints>&) { called = true; });
  ASSERT_TRUE(waitFor([&] { return runner->running() == 1; }, 60));
  QElapsedTimer t;
  t.start();
  runner.reset();
  // Far less than the child's 30 s on any machine.
  EXPECT_LT(t.elapsed(), 10000);
  EXPECT_FALSE(called);
}

}  // namespace
}  // namespace quillon::app::test
