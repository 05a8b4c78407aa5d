#include "sim/sim_mac.h"

#include <cstdlib>

#include "sim/sim_control_server.h"
#include "sim/sim_mac_impl.h"
#include "sim/sim_state.h"

namespace quillon::sim {

using nlohmann::json;

Mac::Impl::Impl(std::filesystem::path root, Options opts)
    : options(opts),
      folder(std::move(root)),
      recorder(opts.recordWarps),
      manual(opts.manualClock ? std::make_unique<ManualClock>() : nullptr),
      clock(manual ? static_cast<platform::Clock&>(*manual) : realClock),
      runLoop(clock, manual.get()),
      displays(folder),
      taps(folder, recorder),
      cursor(recorder),
      multitouch(folder, recorder),
      hid(folder, recorder),
      preferences(folder, recorder),
      accessibility(folder, recorder),
      workspace(folder, recorder),
      folders(runLoop),
      system{displays,    taps,          cursor,    clock,   multitouch, hid,
             preferences, accessibility, workspace, runLoop, folders},
      notifier(folder, displays, multitouch, hid) {}

Mac::Impl::~Impl() = default;

void Mac::Impl::onMain(std::function<void()> work) {
  if (runLoop.onLoopThread())
    work();
  else
    runLoop.perform(std::move(work));
}

Mac::Mac(std::filesystem::path root) : Mac(std::move(root), Options{}) {}
Mac::Mac(std::filesystem::path root, Options options)
    : impl_(std::make_unique<Impl>(std::move(root), options)) {}
Mac::~Mac() = default;

platform::System& Mac::system() {
  return impl_->system;
}
const std::filesystem::path& Mac::root() const {
  return impl_->folder.root();
}

std::filesystem::path Mac::defaultRoot() {
  if (const char* r = std::getenv("QUILLON_SIM_ROOT"); r && *r) return r;
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : "/tmp") / ".quillon-sim";
}

void Mac::setDisplays(const std::vector<platform::DisplayDescription>& displays) {
  impl_->folder.write(files::kDisplays, displaysJson(displays));
  impl_->notifier.noteCurrent();
  impl_->recorder.add("displays", displaysJson(displays));
  impl_->onMain([this] { impl_->displays.reconfigured(); });
}

void Mac::setAccessibility(bool granted) {
  impl_->folder.update(files::kPermissions, [&](std::optional<json>& file) {
    Permissions p = readPermissions(impl_->folder);
    p.accessibility = granted;
    file = permissionsJson(p);
  });
}

void Mac::setInputMonitoring(bool granted) {
  impl_->folder.update(files::kPermissions, [&](std::optional<json>& file) {
    Permissions p = readPermissions(impl_->folder);
    p.inputMonitoring = granted;
    file = permissionsJson(p);
  });
}

void Mac::setGlobalPreference(const std::string& key, const std::optional<platform::PrefValue>& v) {
  impl_->preferences.setGlobalValue(key, v);
}

void Mac::connectTrackpad(const SimTrackpad& pad) {
  impl_->folder.update(files::kDevices, [&](std::optional<json>& file) {
    Devices d = readDevices(impl_->folder);
    std::erase_if(d.trackpads, [&](const SimTrackpad& t) { return t.id == pad.id; });
    d.trackpads.push_back(pad);
    file = devicesJson(d);
  });
  impl_->notifier.noteCurrent();
}

void Mac::connectHidDevice(const SimHidDevice& device) {
  impl_->folder.update(files::kDevices, [&](std::optional<json>& file) {
    Devices d = readDevices(impl_->folder);
    std::erase_if(d.hid, [&](const SimHidDevice& h) { return h.id == device.id; });
    d.hid.push_back(device);
    file = devicesJson(d);
  });
  impl_->notifier.noteCurrent();
}

void Mac::disconnect(uint64_t deviceId) {
  impl_->folder.update(files::kDevices, [&](std::optional<json>& file) {
    Devices d = readDevices(impl_->folder);
    std::erase_if(d.trackpads, [&](const SimTrackpad& t) { return t.id == deviceId; });
    std::erase_if(d.hid, [&](const SimHidDevice& h) { return h.id == deviceId; });
    file = devicesJson(d);
  });
  impl_->notifier.noteCurrent();
  impl_->multitouch.disconnected(deviceId);
  impl_->onMain([this, deviceId] { impl_->hid.disconnected(deviceId); });
}

int Mac::launchApp(const std::string& bundleIdentifier, bool ignoresTerminate) {
  return impl_->workspace.launch(bundleIdentifier, ignoresTerminate);
}

SimEvent Mac::post(const SimEvent& event) {
  SimEvent e = event;
  postInPlace(e);
  return e;
}

bool Mac::postInPlace(SimEvent& e) {
  bool passed = impl_->taps.post(e);
  if (passed && isMotionType(e.type)) impl_->cursor.set(e.location);  // the system moves it
  if (impl_->options.recordEvents) impl_->recorder.add(passed ? "passed" : "dropped", eventJson(e));
  return passed;
}

Point Mac::cursor() const {
  return impl_->cursor.position();
}
void Mac::moveCursor(Point p) {
  impl_->cursor.set(p);
}

void Mac::contactFrame(uint64_t trackpadId, const std::vector<SimFinger>& fingers,
                       double timestamp) {
  auto records = contactRecords(fingers);
  impl_->multitouch.deliver(trackpadId, records.empty() ? nullptr : records.data(),
                            static_cast<int32_t>(fingers.size()), timestamp);
}

bool Mac::contactFrameRaw(uint64_t trackpadId, const void* records, int32_t count,
                          double timestamp) {
  return impl_->multitouch.deliver(trackpadId, records, count, timestamp);
}

void Mac::startFrameStream(uint64_t trackpadId, double intervalSeconds) {
  impl_->multitouch.startStream(trackpadId, intervalSeconds);
}

void Mac::stopFrameStream() {
  impl_->multitouch.stopStream();
}

Mac::FrameStreamCounts Mac::frameStreamCounts() const {
  const SimMultitouch::StreamCounts counts = impl_->multitouch.streamCounts();
  return {counts.sent, counts.delivered};
}

bool Mac::hidValue(uint64_t deviceId, uint32_t usage, int64_t value) {
  return impl_->hid.deliver(deviceId, usage, value);
}

void Mac::wake() {
  impl_->recorder.add("wake", {});
  impl_->onMain([this] {
    if (auto observer = impl_->workspace.wakeObserver()) observer();
  });
}

void Mac::disableTaps(uint32_t reason) {
  impl_->onMain([this, reason] { impl_->taps.disableAll(reason); });
}

void Mac::setMissingFunction(platform::MTFunction function, bool missing) {
  impl_->multitouch.setMissing(function, missing);
}
void Mac::setStartResult(uint64_t trackpadId, int32_t result) {
  impl_->multitouch.setStartResult(trackpadId, result);
}
void Mac::setMultitouchLoadable(bool loadable) {
  impl_->multitouch.setLoadable(loadable);
}
void Mac::setDeviceListAvailable(bool available) {
  impl_->multitouch.setListAvailable(available);
}

ManualClock* Mac::manualClock() {
  return impl_->manual.get();
}
SimRunLoop& Mac::runLoop() {
  return impl_->runLoop;
}

std::vector<Record> Mac::records() const {
  return impl_->recorder.all();
}

std::vector<Record> Mac::records(const std::string& kind) const {
  auto all = impl_->recorder.all();
  std::erase_if(all, [&](const Record& r) { return r.kind != kind; });
  return all;
}

void Mac::clearRecords() {
  impl_->recorder.clear();
}
uint64_t Mac::warpCount() const {
  return impl_->recorder.warps();
}
uint64_t Mac::associateCount() const {
  return impl_->recorder.associations();
}

bool Mac::serveControlSocket() {
  if (impl_->control) return true;
  auto server = std::make_unique<ControlServer>(*this, impl_->runLoop, controlSocketPath());
  if (!server->listening()) return false;
  impl_->control = std::move(server);
  impl_->notifier.start(impl_->folders);
  return true;
}

std::filesystem::path Mac::controlSocketPath() const {
  return impl_->folder.file(files::kControlSocket);
}

}  // namespace quillon::sim
