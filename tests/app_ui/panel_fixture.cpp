#include "panel_fixture.h"

#include <stdlib.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTest>
#include <fstream>

#include "sim/app/process_table.h"

namespace quillon::ui::test {
namespace {

std::filesystem::path freshBase() {
  char tmpl[] = "/tmp/quillon-panel-test-XXXXXX";
  const char* made = mkdtemp(tmpl);
  return made ? std::filesystem::path(made) : std::filesystem::temp_directory_path();
}

}  // namespace

PanelTest::PanelTest()
    : base(freshBase()),
      root(base / "mac"),
      paths(Paths::forHome(base / "home")),
      oldHome(getenv("HOME") ? getenv("HOME") : ""),
      mac(root, sim::AppMac::Options{.bundle = base / "Quillon.app", .listAsRunning = false}),
      env{mac.system(), paths, loop, static_cast<uint32_t>(::getuid()), {}, {}} {
  std::filesystem::create_directories(paths.home);
  setenv("HOME", paths.home.c_str(), 1);
  mac.setMainQueue([](std::function<void()> work) {
    QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
  });
  // A built-in trackpad and a mouse.
  writeFile(root / "devices.json",
            R"({"trackpads":[{"id":1,"widthHundredthsMM":16000,"heightHundredthsMM":10000,)"
            R"("builtIn":true}],"hid":[{"id":2,"product":"USB Optical Mouse","builtIn":false}]})");
}

PanelTest::~PanelTest() {
  panel.reset();
  model.reset();
  spin();
  sim::shutdownMachine(root);
  setenv("HOME", oldHome.c_str(), 1);
  std::error_code ec;
  std::filesystem::remove_all(base, ec);
}

app::Model& PanelTest::makeModel() {
  model = std::make_unique<app::Model>(env, windows, preview);
  return *model;
}

MenuBarPanel& PanelTest::makePanel() {
  if (!model) makeModel();
  MenuBarPanel::Hooks hooks;
  hooks.actions.showSetup = [this] { actions.push_back("setup"); };
  hooks.actions.showFeedback = [this] { actions.push_back("feedback"); };
  hooks.actions.uninstall = [this] { actions.push_back("uninstall"); };
  hooks.actions.quit = [this] { actions.push_back("quit"); };
  hooks.activateApp = [this] { actions.push_back("activate"); };
  panel = std::make_unique<MenuBarPanel>(env, *model, std::move(hooks));
  auto fake = std::make_unique<FakeItem>();
  item = fake.get();
  panel->setUp(std::move(fake));
  spin();
  return *panel;
}

void PanelTest::writeFile(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

std::string PanelTest::readFile(const std::filesystem::path& file) const {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void PanelTest::setSetupDone(bool done) {
  mac.system().defaults.standard().setBool("setupDone", done);
}

void PanelTest::spin(int ms) {
  QTest::qWait(ms);
  QCoreApplication::processEvents();
}

}  // namespace quillon::ui::test
