#include "core_fixture.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/core/helper_control.h"
#include "app/core/installer.h"

namespace quillon::app::test {

namespace {
std::filesystem::path freshRoot() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string("quillon-core-") + (info ? info->test_suite_name() : "x") + "-" +
                     (info ? info->name() : "y") + "-" + std::to_string(::getpid());
  std::replace(name.begin(), name.end(), '/', '_');
  auto root = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root);
  return root;
}
}  // namespace

InstallerHooks stubInstallerHooks(Windows& windows) {
  InstallerHooks hooks;
  hooks.runningFromInstaller = [] { return false; };
  hooks.offerMove = [&windows] { windows.terminateApp(0); };
  hooks.relaunchApp = [&windows] { windows.terminateApp(0); };
  return hooks;
}

void ManualRunLoop::after(double delaySeconds, std::function<void()> work) {
  items_.push_back({now_ + delaySeconds, order_++, std::move(work)});
}

void ManualRunLoop::advance(double seconds) {
  const double end = now_ + seconds;
  for (;;) {
    auto next = std::min_element(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
      return a.due < b.due || (a.due == b.due && a.order < b.order);
    });
    if (next == items_.end() || next->due > end + 1e-9) break;
    now_ = std::max(now_, next->due);
    auto work = std::move(next->work);
    items_.erase(next);
    work();
  }
  now_ = end;
}

std::vector<double> ManualRunLoop::delays() const {
  std::vector<double> out;
  for (const Item& i : items_) out.push_back(i.due - now_);
  return out;
}

CoreTest::CoreTest()
    : root(freshRoot()), paths(Paths::forHome(root / "home")), mac(root / "mac"), env{mac.system(),
                                                                                      paths,
                                                                                      loop,
                                                                                      501,
                                                                                      {},
                                                                                      {}} {
  std::filesystem::create_directories(paths.home);
  env.installer = stubInstallerHooks(windows);
}

CoreTest::~CoreTest() {
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
}

std::unique_ptr<Model> CoreTest::makeModel() {
  auto model = std::make_unique<Model>(env, windows, preview);
  mac.calls.clear();
  return model;
}

void CoreTest::writeConfig(const std::string& text) {
  std::filesystem::create_directories(paths.supportDir);
  std::ofstream(paths.configFile) << text;
}

std::string CoreTest::readConfig() const {
  std::ifstream in(paths.configFile);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> CoreTest::callsStartingWith(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const auto& c : mac.calls) {
    if (c.rfind(prefix, 0) == 0) out.push_back(c);
  }
  return out;
}

}  // namespace quillon::app::test
