// What older builds left behind.
#include <fstream>

#include "app/core/migration.h"
#include "core_fixture.h"

namespace quillon::app::test {
namespace {

using Migration_ = CoreTest;
namespace fs = std::filesystem;

void touch(const fs::path& file, const std::string& text = "") {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

TEST_F(Migration_, AnOldLayoutIsMovedAndCleanedUp) {
  const fs::path appSupport = paths.supportDir.parent_path();
  touch(paths.home / "Library/LaunchAgents/local.quillon.plist");
  touch(appSupport / "quillon/config.json", "old settings");
  touch(appSupport / "quillon/quillon", "stale");
  fs::create_directories(appSupport / "quillon/.asked");  // a folder: kept
  touch(paths.home / "Library/Logs/quillon.log");
  touch(paths.home / "Library/Logs/Quillon.log");
  mac.suites["local.quillon.ui"].setText("presets.trackpad", "old trackpad");
  mac.suites["local.quillon.ui"].setText("presets.mouse", "old mouse");
  mac.standard.setText("presets.mouse", "current mouse");

  Migration::perform(env);

  EXPECT_EQ(mac.calls, (Calls{"run /bin/launchctl bootout gui/501/local.quillon"}));
  EXPECT_FALSE(fs::exists(paths.home / "Library/LaunchAgents/local.quillon.plist"));
  EXPECT_FALSE(fs::exists(appSupport / "quillon"));
  EXPECT_FALSE(fs::exists(appSupport / "Quillon-moving"));
  EXPECT_TRUE(fs::exists(paths.supportDir / "config.json"));
  EXPECT_FALSE(fs::exists(paths.supportDir / "quillon"));
  EXPECT_TRUE(fs::is_directory(paths.supportDir / ".asked"));
  EXPECT_FALSE(fs::exists(paths.home / "Library/Logs/quillon.log"));
  EXPECT_TRUE(fs::exists(paths.home / "Library/Logs/Quillon.log"));
  EXPECT_EQ(mac.standard.text("presets.trackpad"), "old trackpad");
  EXPECT_EQ(mac.standard.text("presets.mouse"), "current mouse") << "the standard ones win";
}

TEST_F(Migration_, AFailedMoveLeavesTheOldFolderAsItWas) {
  const fs::path appSupport = paths.supportDir.parent_path();
  touch(appSupport / "quillon/config.json", "old");
  touch(paths.supportDir / "config.json", "new");  // the target is taken
  Migration::perform(env);
  EXPECT_TRUE(fs::exists(appSupport / "quillon/config.json"));
  EXPECT_FALSE(fs::exists(appSupport / "Quillon-moving"));

  Migration::perform(env);  // nothing at all to migrate: every step is quiet
  EXPECT_TRUE(mac.calls.empty());
}

TEST_F(Migration_, AMoveThatCannotStartLeavesBothFoldersAlone) {
  const fs::path appSupport = paths.supportDir.parent_path();
  touch(appSupport / "quillon/config.json", "old");
  touch(appSupport / "Quillon-moving/left", "someone else's");  // the first rename fails
  Migration::perform(env);
  EXPECT_TRUE(fs::exists(appSupport / "quillon/config.json"));
  EXPECT_TRUE(fs::exists(appSupport / "Quillon-moving/left"));
  EXPECT_FALSE(fs::exists(paths.supportDir / "config.json"));
}

TEST_F(Migration_, NotRunForAPreviewOnlyModel) {
  touch(paths.home / "Library/Logs/quillon.log");
  env.flags.previewOnly = true;
  auto model = makeModel();
  EXPECT_TRUE(fs::exists(paths.home / "Library/Logs/quillon.log"));
  env.flags.previewOnly = false;
  model = makeModel();
  EXPECT_FALSE(fs::exists(paths.home / "Library/Logs/quillon.log"));
}

}  // namespace
}  // namespace quillon::app::test
