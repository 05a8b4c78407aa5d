// The built app (build/Quillon.app/Contents/MacOS/Quillon) on a fresh
// simulated Mac: the screenshot command, and a preview-only start driven
// through its app channel. Neither may leave a setting behind.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "sim/app/process_table.h"

namespace quillon::ui::test {
namespace {

namespace fs = std::filesystem;

class AppE2eTest : public ::testing::Test {
 protected:
  AppE2eTest() {
    char tmpl[] = "/tmp/quillon-app-e2e-XXXXXX";
    base = mkdtemp(tmpl);
    home = base / "home";
    root = base / "mac";
    fs::create_directories(home);
    fs::create_directories(root);
  }
  ~AppE2eTest() override {
    sim::shutdownMachine(root);
    std::error_code ec;
    fs::remove_all(base, ec);
  }

  QProcessEnvironment environment() const {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("HOME", QString::fromStdString(home.string()));
    e.insert("QUILLON_SIM_ROOT", QString::fromStdString(root.string()));
    e.insert("QT_QPA_PLATFORM", "offscreen");
    return e;
  }
  void startApp(QProcess& app, const QStringList& args) const {
    app.setProcessEnvironment(environment());
    app.start(QStringLiteral(QUILLON_APP), args);
    ASSERT_TRUE(app.waitForStarted(60000));
  }
  // One request through the app channel; the reply line.
  std::string ask(const std::string& request) const {
    QProcess control;
    control.start(QStringLiteral(QUILLON_SIM_CONTROL),
                  {"--root", QString::fromStdString(root.string()), "--app",
                   QString::fromStdString(request)});
    control.waitForFinished(60000);
    return control.readAllStandardOutput().toStdString();
  }
  nlohmann::json readJson(const fs::path& file) const {
    std::ifstream in(file);
    return in ? nlohmann::json::parse(in, nullptr, false) : nlohmann::json();
  }
  // Every file under the home folder.
  std::vector<std::string> homeFiles() const {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(home)) {
      if (e.is_regular_file()) out.push_back(fs::relative(e.path(), home).string());
    }
    return out;
  }

  fs::path base, home, root;
};

TEST_F(AppE2eTest, SnapshotWritesTheEightPanelsAndNothingElse) {
  const fs::path out = base / "snaps";
  QProcess app;
  startApp(app, {"--snapshot", QString::fromStdString(out.string())});
  ASSERT_TRUE(app.waitForFinished(90000));
  EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(app.exitCode(), 0) << app.readAllStandardError().toStdString();

  const QStringList lines =
      QString::fromUtf8(app.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  std::vector<std::string> names;
  for (const char* scene : {"mac", "windows", "custom", "windows-mouse"}) {
    for (const char* appearance : {"light", "dark"}) {
      names.push_back(std::string("panel-") + scene + "-" + appearance + ".png");
    }
  }
  ASSERT_EQ(lines.size(), 8) << lines.join('\n').toStdString();
  for (size_t i = 0; i < names.size(); ++i) {
    const fs::path file = out / names[i];
    const QImage image(QString::fromStdString(file.string()));
    ASSERT_FALSE(image.isNull()) << file;
    EXPECT_EQ(image.width(), 600) << "300 points at twice the size";
    EXPECT_EQ(lines[static_cast<qsizetype>(i)].toStdString(),
              "wrote " + file.string() + " " + std::to_string(image.width()) + "x" +
                  std::to_string(image.height()));
  }
  EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(out), {})), 8u);

  EXPECT_EQ(homeFiles(), std::vector<std::string>{}) << "no config.json, no log";
  EXPECT_EQ(readJson(root / "defaults.json"),
            nlohmann::json::parse(R"({"com.quillon.app":{"NSInitialToolTipDelay":500}})"));
  const nlohmann::json launchd = readJson(root / "launchd.json");
  EXPECT_TRUE(launchd.is_null() || launchd.value("agents", nlohmann::json::object()).empty())
      << launchd.dump();
}

TEST_F(AppE2eTest, SnapshotAloneStartsPreviewOnlyWithTheMenuBarItem) {
  QProcess app;
  startApp(app, {"--snapshot"});
  std::string pong;
  for (int i = 0; i < 600 && pong.find("\"ok\":true") == std::string::npos; ++i) {
    QTest::qWait(100);
    pong = ask(R"({"cmd":"ping"})");
  }
  ASSERT_NE(pong.find("\"ok\":true"), std::string::npos) << pong;
  // Setup is done, so the item opens the panel: the app activates itself
  // and watches for clicks elsewhere.
  std::ofstream(root / "defaults.json") << R"({"com.quillon.app":{"setupDone":true}})";
  EXPECT_NE(ask(R"({"cmd":"click","type":1,"subtype":3})").find("\"delivered\":true"),
            std::string::npos);
  QTest::qWait(300);
  const std::string records = ask(R"({"cmd":"records"})");
  EXPECT_NE(records.find("activateSelf"), std::string::npos) << records;
  EXPECT_NE(records.find("mouseDownMonitor"), std::string::npos) << records;
  // A click in another app closes it, and with it the monitor.
  EXPECT_NE(ask(R"({"cmd":"mouseDown"})").find("\"monitors\":1"), std::string::npos);
  QTest::qWait(200);
  EXPECT_NE(ask(R"({"cmd":"mouseDown"})").find("\"monitors\":0"), std::string::npos);
  ask(R"({"cmd":"terminate"})");
  ASSERT_TRUE(app.waitForFinished(60000));
  EXPECT_EQ(homeFiles(), std::vector<std::string>{}) << "a preview-only process saves nothing";
}

}  // namespace
}  // namespace quillon::ui::test
