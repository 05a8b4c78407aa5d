// Quillon.app's property lists as the build writes them from bundle/*.in:
// well-formed, with the keys macOS and ServiceManagement need, naming the
// files that are really in the bundle.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "common/bundle_ids.h"
#include "sim/app/launchd_state.h"
#include "sim/app/plist.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const fs::path kBundle = QUILLON_BUNDLE_DIR;
const fs::path kHelperApp = kBundle / "Contents/Helpers/Quillon Helper.app";
const fs::path kAppInfo = kBundle / "Contents/Info.plist";
const fs::path kHelperInfo = kHelperApp / "Contents/Info.plist";
const fs::path kAgent = kBundle / "Contents/Library/LaunchAgents/com.quillon.helper.plist";

json read(const fs::path& file) {
  std::string error;
  auto plist = sim::readPlist(file, error);
  EXPECT_TRUE(plist) << error;
  EXPECT_TRUE(plist && plist->is_object()) << file << ": not a dictionary";
  return plist && plist->is_object() ? *plist : json::object();
}

// A misspelt @VARIABLE@ in a template comes out empty or unreplaced.
void expectEveryStringFilledIn(const json& value, const std::string& where) {
  if (value.is_string()) {
    const auto text = value.get<std::string>();
    EXPECT_FALSE(text.empty()) << where << " is empty";
    EXPECT_EQ(text.find('@'), std::string::npos) << where << " = " << text;
  }
  if (!value.is_structured()) return;  // a scalar iterates over itself
  for (const auto& [key, item] : value.items()) {
    std::string path = where;
    path.append("/").append(key);
    expectEveryStringFilledIn(item, path);
  }
}

TEST(BundlePlists, EachListHasItsKeys) {
  const std::string version = QUILLON_VERSION;
  const json helperArgs = {"Contents/Helpers/Quillon Helper.app/Contents/MacOS/Quillon Helper",
                           "run"};
  struct Row {
    fs::path file;
    const char* key;
    json value;
  };
  const std::vector<Row> rows = {
      {kAppInfo, "CFBundleIdentifier", kAppBundleId},
      {kAppInfo, "CFBundleExecutable", "Quillon"},
      {kAppInfo, "CFBundleName", "Quillon"},
      {kAppInfo, "CFBundlePackageType", "APPL"},
      {kAppInfo, "CFBundleShortVersionString", version},
      {kAppInfo, "CFBundleVersion", version},
      {kAppInfo, "CFBundleInfoDictionaryVersion", "6.0"},
      {kAppInfo, "CFBundleIconFile", "Quillon"},
      {kAppInfo, "LSMinimumSystemVersion", "13.0"},
      {kAppInfo, "LSUIElement", true},  // a menu bar app: no Dock icon
      {kHelperInfo, "CFBundleIdentifier", kHelperBundleId},
      {kHelperInfo, "CFBundleExecutable", "Quillon Helper"},
      {kHelperInfo, "CFBundleName", "Quillon Helper"},
      {kHelperInfo, "CFBundlePackageType", "APPL"},
      {kHelperInfo, "CFBundleShortVersionString", version},
      {kHelperInfo, "CFBundleVersion", version},
      {kHelperInfo, "CFBundleIconFile", "Quillon"},
      {kHelperInfo, "LSMinimumSystemVersion", "13.0"},
      {kHelperInfo, "LSUIElement", true},
      {kAgent, "Label", kHelperBundleId},
      {kAgent, "BundleProgram", helperArgs[0]},
      {kAgent, "ProgramArguments", helperArgs},
      {kAgent, "AssociatedBundleIdentifiers", json::array({kAppBundleId})},
      {kAgent, "RunAtLoad", true},
      {kAgent, "KeepAlive", true},
  };
  std::map<fs::path, json> lists;
  for (const fs::path& file : {kAppInfo, kHelperInfo, kAgent}) {
    lists[file] = read(file);
    expectEveryStringFilledIn(lists[file], file.filename().string());
  }
  for (const Row& row : rows) {
    const json& list = lists[row.file];
    ASSERT_TRUE(list.contains(row.key)) << row.file << " has no " << row.key;
    EXPECT_EQ(list[row.key], row.value) << row.file << " " << row.key;
  }
}

TEST(BundlePlists, VersionsAreWhatLaunchServicesAccepts) {
  // Up to three non-negative integers separated by periods.
  const std::regex form(R"(\d+(\.\d+){0,2})");
  for (const fs::path& file : {kAppInfo, kHelperInfo}) {
    const json list = read(file);
    for (const char* key : {"CFBundleShortVersionString", "CFBundleVersion"}) {
      const std::string text = list.value(key, "");
      EXPECT_TRUE(std::regex_match(text, form)) << file << " " << key << " = " << text;
    }
  }
}

TEST(BundlePlists, EachExecutableNamedIsInTheBundle) {
  struct App {
    fs::path root;
    const char* identifier;
  };
  for (const App& app : {App{kBundle, kAppBundleId}, App{kHelperApp, kHelperBundleId}}) {
    const json info = read(app.root / "Contents/Info.plist");
    EXPECT_EQ(info.value("CFBundleIdentifier", ""), app.identifier);
    const fs::path exe = app.root / "Contents/MacOS" / info.value("CFBundleExecutable", "");
    ASSERT_TRUE(fs::is_regular_file(exe)) << exe;
    EXPECT_NE(fs::status(exe).permissions() & fs::perms::owner_exec, fs::perms::none) << exe;
    if (QUILLON_BUNDLE_HAS_ICON) {  // only the Mac build makes the .icns
      const fs::path icon = app.root / "Contents/Resources" / info.value("CFBundleIconFile", "");
      EXPECT_TRUE(fs::is_regular_file(icon.string() + ".icns")) << icon;
    }
  }
}

TEST(BundlePlists, TheAgentStartsTheBundledHelperWithRun) {
  const json agent = read(kAgent);
  std::string error;
  auto job = sim::jobFromPlist(agent, kBundle, error);
  ASSERT_TRUE(job) << error;
  // ServiceManagement finds the list by its file name, launchd the job by
  // its label: the two must agree.
  EXPECT_EQ(job->label + ".plist", kAgent.filename().string());
  EXPECT_EQ(fs::path(job->program), kHelperApp / "Contents/MacOS/Quillon Helper");
  EXPECT_TRUE(fs::is_regular_file(job->program)) << job->program;
  ASSERT_EQ(job->arguments.size(), 2u);
  EXPECT_EQ(job->arguments[1], "run");
  EXPECT_TRUE(job->keepAlive);
  EXPECT_TRUE(job->runAtLoad);
  EXPECT_GT(job->throttleInterval, 0);
}

}  // namespace
}  // namespace quillon
