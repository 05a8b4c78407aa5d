#include "sim/app/app_mac.h"

#include <unistd.h>

#include <QCoreApplication>

#include "common/atomic_file.h"
#include "sim/app/app_channel.h"
#include "sim/app/launchd_state.h"
#include "sim/app/mac_fs.h"
#include "sim/app/main_queue.h"
#include "sim/app/sim_app_events.h"
#include "sim/app/sim_app_preferences.h"
#include "sim/app/sim_app_workspace.h"
#include "sim/app/sim_bundle_info.h"
#include "sim/app/sim_hid_system.h"
#include "sim/app/sim_processes.h"
#include "sim/app/sim_service_management.h"
#include "sim/app/sim_user_defaults.h"
#include "sim/sim_services.h"
#include "sim/sim_state.h"

namespace quillon::sim {

using nlohmann::json;

struct AppMac::Impl {
  Impl(std::filesystem::path root, Options options);

  json handle(const json& request);
  void quit();

  SystemFolder folder;
  Recorder recorder{true};
  MainPoster mainQueue;
  MacFileSystem files{folder};
  SimBundleInfo bundle;
  SimPreferences preferences{folder, recorder};
  SimAccessibility accessibility{folder, recorder};
  SimWorkspace apps{folder, recorder};
  SimAppWorkspace workspace;
  SimServiceManagement services;
  SimUserDefaultsStore defaults;
  SimPreferencesWriter preferencesWriter{preferences, recorder};
  SimHidSystem hid{folder, recorder};
  SimRegistry registry{folder};
  SimHotKeys hotKeys{recorder, mainQueue};
  SimEventSource events{recorder, mainQueue};
  SimProcesses processes{folder, files, recorder};
  SimAppearance appearance{preferences};
  platform::AppSystem system;
  std::mutex terminateMutex;
  std::function<void()> onTerminate;
  bool listed = false;
  std::unique_ptr<AppChannel> channel;
};

AppMac::Impl::Impl(std::filesystem::path root, Options options)
    : folder(std::move(root)),
      bundle(folder, files, options.bundle.empty() ? runningBundle() : std::move(options.bundle)),
      workspace(folder, recorder, apps, files, mainQueue, [this] { quit(); }),
      services(
          folder, recorder,
          BundleRef{[this] { return bundle.host(); }, [this] { return bundle.bundleIdentifier(); }},
          workspace, mainQueue),
      defaults(folder, recorder,
               [this] {
                 // A bundle without an identifier keeps its defaults under
                 // its executable's name, as NSUserDefaults does.
                 std::string id = bundle.bundleIdentifier();
                 return id.empty() ? bundle.host().stem().string() : id;
               }),
      system{services,  defaults,  preferences, preferencesWriter, hid,    registry,
             hotKeys,   workspace, apps,        accessibility,     events, bundle,
             processes, appearance} {
  // A Mac has these from the start.
  std::error_code ec;
  for (const char* f : {"/Applications", "/Volumes"})
    std::filesystem::create_directories(files.hostPath(f), ec);
  std::string id = bundle.bundleIdentifier();
  if (!options.listAsRunning || id.empty()) return;
  updateApps(folder, [&](AppList& list) {
    std::erase_if(list.apps, [](const SimApp& a) { return a.pid == getpid(); });
    SimApp self;
    self.pid = getpid();
    self.bundleIdentifier = id;
    self.process = true;
    self.path = bundle.bundlePath();
    list.apps.push_back(self);
  });
  listed = true;
}

void AppMac::Impl::quit() {
  std::function<void()> handler;
  {
    std::lock_guard g(terminateMutex);
    handler = onTerminate;
  }
  if (handler) {
    handler();
  } else if (auto* app = QCoreApplication::instance()) {
    // Queued, so that a request made before the event loop runs still ends it.
    QMetaObject::invokeMethod(
        app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  }
}

// The app channel's requests, on the channel's thread.
json AppMac::Impl::handle(const json& r) {
  std::string cmd = r.value("cmd", "");
  auto ok = [](json body = json::object()) {
    body["ok"] = true;
    return body;
  };
  if (cmd == "ping") return ok({{"pid", getpid()}, {"bundlePath", bundle.bundlePath()}});
  if (cmd == "hotKey") return ok({{"delivered", hotKeys.press(r.at("id").get<uint32_t>())}});
  if (cmd == "click")
    return ok({{"delivered", events.click(r.value("type", 1), r.value("subtype", 0))}});
  if (cmd == "reopen") return ok({{"delivered", events.reopen()}});
  if (cmd == "mouseDown") return ok({{"monitors", events.mouseDown()}});
  if (cmd == "terminate") {
    recorder.add("terminateRequest", {});
    mainQueue.post([this] { workspace.terminateSelf(); });
    return ok();
  }
  if (cmd == "records") {
    std::string kind = r.value("kind", "");
    json list = json::array();
    for (const Record& rec : recorder.all())
      if (kind.empty() || rec.kind == kind)
        list.push_back({{"kind", rec.kind}, {"detail", json::parse(rec.detail, nullptr, false)}});
    if (r.value("clear", false)) recorder.clear();
    return ok({{"records", list}});
  }
  return {{"ok", false}, {"error", "unknown command \"" + cmd + "\""}};
}

AppMac::AppMac(std::filesystem::path root) : AppMac(std::move(root), Options{}) {}
AppMac::AppMac(std::filesystem::path root, Options options)
    : impl_(std::make_unique<Impl>(std::move(root), std::move(options))) {}

AppMac::~AppMac() {
  impl_->channel.reset();
  if (!impl_->listed) return;
  updateApps(impl_->folder, [&](AppList& list) {
    std::erase_if(list.apps, [](const SimApp& a) { return a.pid == getpid() && a.process; });
  });
}

platform::AppSystem& AppMac::system() {
  return impl_->system;
}
void AppMac::setMainQueue(MainQueue post) {
  impl_->mainQueue.set(std::move(post));
}
const std::filesystem::path& AppMac::root() const {
  return impl_->folder.root();
}
std::filesystem::path AppMac::bundleHostPath() const {
  return impl_->bundle.host();
}

void AppMac::setStatusItemClickHandler(std::function<void()> onClick) {
  impl_->events.setStatusItemClickHandler(std::move(onClick));
}
bool AppMac::clickStatusItem(int type, int subtype) {
  return impl_->events.click(type, subtype);
}
bool AppMac::pressHotKey(uint32_t id) {
  return impl_->hotKeys.press(id);
}
bool AppMac::reopen() {
  return impl_->events.reopen();
}
int AppMac::globalMouseDown() {
  return impl_->events.mouseDown();
}
void AppMac::requestTerminate() {
  impl_->handle({{"cmd", "terminate"}});
}
void AppMac::setTerminateHandler(std::function<void()> onTerminate) {
  std::lock_guard g(impl_->terminateMutex);
  impl_->onTerminate = std::move(onTerminate);
}

void AppMac::forceServiceStatus(const std::string& name,
                                std::optional<platform::ServiceStatus> status) {
  updateLaunchd(impl_->folder, [&](LaunchdState& state) {
    if (status)
      state.forced[name] = static_cast<int>(*status);
    else
      state.forced.erase(name);
  });
}
void AppMac::holdAgentUnregister(bool hold) {
  impl_->services.holdUnregister(hold);
}
void AppMac::setRegistryFails(bool fails) {
  impl_->registry.setFails(fails);
}

std::vector<Record> AppMac::records() const {
  return impl_->recorder.all();
}
std::vector<Record> AppMac::records(const std::string& kind) const {
  auto all = impl_->recorder.all();
  std::erase_if(all, [&](const Record& r) { return r.kind != kind; });
  return all;
}
void AppMac::clearRecords() {
  impl_->recorder.clear();
}

bool AppMac::serveChannel() {
  if (impl_->channel) return true;
  // An app starting clears what killed apps and writers left behind.
  removeStaleAppChannels(root());
  removeStaleTemporaryFiles(root());
  auto channel = std::make_unique<AppChannel>(appChannelPath(root(), getpid()),
                                              [this](const json& r) { return impl_->handle(r); });
  if (!channel->listening()) return false;
  impl_->channel = std::move(channel);
  return true;
}

std::filesystem::path appChannelPath(const std::filesystem::path& root, pid_t pid) {
  return root / ("app-" + std::to_string(pid) + ".sock");
}

}  // namespace quillon::sim
