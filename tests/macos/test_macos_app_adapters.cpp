// The menu bar app's real adapters on a Mac, for what needs no permission
// and changes nothing outside the test: child processes, a user-defaults
// suite of the test's own, the bundle and machine queries, and the IOKit
// registry count. Built and run only on a Mac (the macOS CI workflow);
// compile-checked elsewhere.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/macos/app/app_services.h"

namespace quillon::platform::macos {
namespace {

using Clock = std::chrono::steady_clock;

struct RunCase {
  const char* name;
  std::string path;
  std::vector<std::string> args;
  int32_t status;
  std::string output;
};

TEST(MacProcesses, RunReportsStatusAndOneStreamOfOutput) {
  const RunCase cases[] = {
      {"both streams, in order",
       "/bin/sh",
       {"-c", "echo out; echo err >&2; exit 3"},
       3,
       "out\nerr\n"},
      {"arguments without a shell", "/bin/echo", {"a b", "$HOME"}, 0, "a b $HOME\n"},
      {"standard input is empty", "/bin/cat", {}, 0, ""},
      {"not UTF-8 reads as empty", "/bin/sh", {"-c", "printf 'ok\\377'"}, 0, ""},
      {"ended by a signal", "/bin/sh", {"-c", "kill -TERM $$"}, SIGTERM, ""},
  };
  PosixProcesses processes;
  for (const RunCase& c : cases) {
    const ProcessResult result = processes.run(c.path, c.args);
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_EQ(result.output, c.output) << c.name;
  }
}

TEST(MacProcesses, AProgramThatCannotStartGivesMinusOneAndTheReason) {
  PosixProcesses processes;
  const ProcessResult result = processes.run("/no/such/program", {});
  EXPECT_EQ(result.status, -1);
  EXPECT_FALSE(result.output.empty());
  EXPECT_TRUE(processes.startDetached("/no/such/program", {}).has_value());
}

// A child started by another thread while a run's pipe is open must not
// keep that pipe open: the run would then wait for that child too.
TEST(MacProcesses, ConcurrentRunsDoNotHoldEachOthersPipes) {
  PosixProcesses processes;
  std::thread other([&processes] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    processes.run("/bin/sleep", {"3"});
  });
  const Clock::time_point start = Clock::now();
  const ProcessResult result = processes.run("/bin/sh", {"-c", "sleep 0.6; echo done"});
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  other.join();
  EXPECT_EQ(result.output, "done\n");
  EXPECT_LT(seconds, 2.0);
}

// A detached child is reaped once it ends: kill(pid, 0) still finds a
// zombie, so ESRCH means nothing is left.
TEST(MacProcesses, ADetachedChildLeavesNoZombie) {
  const std::filesystem::path pidFile =
      std::filesystem::temp_directory_path() / ("quillon-detached-" + std::to_string(getpid()));
  PosixProcesses processes;
  ASSERT_FALSE(processes.startDetached("/bin/sh", {"-c", "echo $$ > \"$0\"", pidFile.string()}));
  pid_t pid = 0;
  bool gone = false;
  for (int i = 0; i < 100 && !gone; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (pid == 0) std::ifstream(pidFile) >> pid;
    gone = pid > 0 && kill(pid, 0) != 0 && errno == ESRCH;
  }
  std::filesystem::remove(pidFile);
  EXPECT_TRUE(gone) << "pid " << pid;
}

TEST(MacUserDefaults, ValuesReadBackOnlyAsTheirOwnType) {
  NSUserDefaultsStore store;
  const std::unique_ptr<UserDefaults> suite =
      store.suite("com.quillon.test-" + std::to_string(getpid()));
  ASSERT_NE(suite, nullptr);
  suite->setBool("b", true);
  suite->setInt("i", 500);
  suite->setString("s", "text");
  suite->setData("d", {1, 2, 0, 255});

  EXPECT_EQ(suite->boolValue("b"), true);
  EXPECT_EQ(suite->intValue("i"), 500);
  EXPECT_EQ(suite->stringValue("s"), "text");
  EXPECT_EQ(suite->dataValue("d"), (UserDefaults::Data{1, 2, 0, 255}));
  EXPECT_EQ(suite->intValue("b"), std::nullopt);
  EXPECT_EQ(suite->boolValue("i"), std::nullopt);
  EXPECT_EQ(suite->stringValue("d"), std::nullopt);
  EXPECT_EQ(suite->dataValue("s"), std::nullopt);
  EXPECT_EQ(suite->boolValue("missing"), std::nullopt);

  for (const char* key : {"b", "i", "s", "d"}) suite->remove(key);
  EXPECT_EQ(suite->boolValue("b"), std::nullopt);
  EXPECT_EQ(suite->dataValue("d"), std::nullopt);
}

TEST(MacBundleInfo, MachineAndVolumeQueries) {
  MainBundleInfo bundle;
  const std::string model = bundle.hardwareModel();
  ASSERT_FALSE(model.empty());
  EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(model[0]))) << model;
  EXPECT_EQ(model.find('\0'), std::string::npos);
  EXPECT_NE(bundle.osVersionText().find("Version"), std::string::npos);
  EXPECT_TRUE(bundle.volumeIsReadOnly("/").has_value());
  EXPECT_EQ(bundle.volumeIsReadOnly("/no/such/path"), std::nullopt);
  EXPECT_TRUE(bundle.isWritable(std::filesystem::temp_directory_path().string()));
  EXPECT_FALSE(bundle.isWritable("/System"));
  EXPECT_EQ(bundle.hostPath("/Applications/Quillon.app"), "/Applications/Quillon.app");
}

TEST(MacRegistry, CountsServicesOfAClass) {
  IOKitRegistry registry;
  EXPECT_EQ(registry.serviceCount("IOResources"), 1);
  EXPECT_EQ(registry.serviceCount("QuillonNoSuchClass"), 0);
}

}  // namespace
}  // namespace quillon::platform::macos
