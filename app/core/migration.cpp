#include "app/core/migration.h"

#include <cstdio>
#include <string>
#include <system_error>

#include "app/core/helper_control.h"
#include "app/core/presets.h"

namespace quillon::app::Migration {

namespace fs = std::filesystem;

namespace {

// Whether `folder` lists an entry named exactly `name`. A plain exists()
// would also match "Quillon" for "quillon" on a case-insensitive disk.
bool listsExactly(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().filename() == name) return true;
  }
  return false;
}

void removeOldAgent(Env& env) {
  const fs::path plist = env.paths.home / "Library/LaunchAgents/local.quillon.plist";
  std::error_code ec;
  if (!fs::exists(plist, ec)) return;
  (void)run(env, "/bin/launchctl",
            {"bootout", "gui/" + std::to_string(env.uid) + "/local.quillon"});
  fs::remove(plist, ec);
}

void renameOldSupportFolder(Env& env) {
  const fs::path parent = env.paths.supportDir.parent_path();
  if (!listsExactly(parent, "quillon")) return;
  // Two renames, so that a change of case alone also works on a
  // case-insensitive file system.
  const fs::path old = parent / "quillon";
  const fs::path moving = parent / "Quillon-moving";
  if (std::rename(old.c_str(), moving.c_str()) != 0) return;
  if (std::rename(moving.c_str(), env.paths.supportDir.c_str()) != 0) {
    // Leave the old folder under its old name rather than a temporary one
    // that nothing would ever look at again.
    (void)std::rename(moving.c_str(), old.c_str());
  }
}

void removeStaleFiles(Env& env) {
  for (const char* name : {"quillon", ".asked"}) {
    const fs::path file = env.paths.supportDir / name;
    std::error_code ec;
    if (fs::exists(file, ec) && !fs::is_directory(file, ec)) fs::remove(file, ec);
  }
}

void removeOldLog(Env& env) {
  const fs::path logs = env.paths.home / "Library/Logs";
  if (!listsExactly(logs, "quillon.log")) return;
  std::error_code ec;
  fs::remove(logs / "quillon.log", ec);
}

void copyOldPresets(Env& env) {
  const std::unique_ptr<platform::UserDefaults> suite = env.sys.defaults.suite("local.quillon.ui");
  if (!suite) return;
  platform::UserDefaults& standard = env.sys.defaults.standard();
  for (Device d : kAllDevices) {
    const std::string key = presetsKey(d);
    if (standard.dataValue(key)) continue;
    if (const auto data = suite->dataValue(key)) standard.setData(key, *data);
  }
}

}  // namespace

void perform(Env& env) {
  removeOldAgent(env);
  renameOldSupportFolder(env);
  removeStaleFiles(env);
  removeOldLog(env);
  copyOldPresets(env);
}

}  // namespace quillon::app::Migration
