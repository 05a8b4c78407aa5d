#include "sim/sim_multitouch.h"

#include <cstring>

#include "sim/sim_state.h"

namespace quillon::sim {

using platform::MTDeviceRef;
using platform::MTFunction;

SimMultitouch::SimMultitouch(const SystemFolder& folder, Recorder& recorder)
    : folder_(folder), recorder_(recorder), thread_([this] { threadMain(); }) {}

SimMultitouch::~SimMultitouch() {
  {
    std::lock_guard g(jobMutex_);
    quit_ = true;
  }
  jobCv_.notify_all();
  thread_.join();
}

bool SimMultitouch::load() {
  std::lock_guard g(mutex_);
  if (loadable_) loaded_ = true;
  return loaded_;
}

bool SimMultitouch::has(MTFunction function) const {
  std::lock_guard g(mutex_);
  return loaded_ && !missing_.contains(function);
}

SimMultitouch::Device* SimMultitouch::device(MTDeviceRef ref) {
  for (auto& [id, d] : devices_)
    if (d.get() == ref) return d.get();
  return nullptr;
}

std::optional<std::vector<MTDeviceRef>> SimMultitouch::createList() {
  Devices listed = readDevices(folder_);
  std::lock_guard g(mutex_);
  if (!listAvailable_ || missing_.contains(MTFunction::createList)) return std::nullopt;
  std::vector<MTDeviceRef> list;
  for (const auto& pad : listed.trackpads) {
    auto& d = devices_[pad.id];
    if (!d) d = std::make_unique<Device>();
    d->pad = pad;  // the size and kind as the file says now
    list.push_back(d.get());
  }
  return list;
}

int32_t SimMultitouch::getDeviceID(MTDeviceRef ref, uint64_t* id) {
  std::lock_guard g(mutex_);
  Device* d = device(ref);
  if (!d || !id) return -1;
  *id = d->pad.id;
  return 0;
}

int32_t SimMultitouch::getSensorSurfaceDimensions(MTDeviceRef ref, int32_t* width,
                                                  int32_t* height) {
  std::lock_guard g(mutex_);
  Device* d = device(ref);
  if (!d || !width || !height) return -1;
  *width = d->pad.widthHundredthsMM;
  *height = d->pad.heightHundredthsMM;
  return 0;
}

void SimMultitouch::registerContactFrameCallback(MTDeviceRef ref,
                                                 platform::ContactFrameHandler handler,
                                                 void* context) {
  std::lock_guard g(mutex_);
  if (Device* d = device(ref)) {
    d->handler = handler;
    d->context = context;
  }
}

int32_t SimMultitouch::deviceStart(MTDeviceRef ref, int32_t mode) {
  int32_t result = -1;
  uint64_t id = 0;
  {
    std::lock_guard g(mutex_);
    if (Device* d = device(ref)) {
      id = d->pad.id;
      auto knob = startResults_.find(id);
      result = knob == startResults_.end() ? 0 : knob->second;
      if (result == 0) d->started = true;
    }
  }
  recorder_.add("deviceStart", {{"id", id}, {"mode", mode}, {"result", result}});
  return result;
}

bool SimMultitouch::isBuiltIn(MTDeviceRef ref) {
  std::lock_guard g(mutex_);
  Device* d = device(ref);
  return d && d->pad.builtIn;
}

int SimMultitouch::registryDeviceCount() {
  return static_cast<int>(readDevices(folder_).trackpads.size());
}

void SimMultitouch::disconnected(uint64_t id) {
  std::lock_guard g(mutex_);
  auto it = devices_.find(id);
  if (it != devices_.end()) it->second->started = false;
}

void SimMultitouch::setMissing(MTFunction function, bool missing) {
  std::lock_guard g(mutex_);
  if (missing)
    missing_.insert(function);
  else
    missing_.erase(function);
}

void SimMultitouch::setStartResult(uint64_t id, int32_t result) {
  std::lock_guard g(mutex_);
  startResults_[id] = result;
}

void SimMultitouch::setLoadable(bool loadable) {
  std::lock_guard g(mutex_);
  loadable_ = loadable;
}

void SimMultitouch::setListAvailable(bool available) {
  std::lock_guard g(mutex_);
  listAvailable_ = available;
}

bool SimMultitouch::deliver(uint64_t id, const void* records, int32_t count, double timestamp) {
  Job job;
  {
    std::lock_guard g(mutex_);
    auto it = devices_.find(id);
    if (it == devices_.end() || !it->second->handler || !it->second->started) return false;
    Device& d = *it->second;
    job = {d.handler, d.context, &d, records, count, timestamp, d.frame++};
  }
  std::lock_guard one(deliverMutex_);
  std::unique_lock lk(jobMutex_);
  job_ = job;
  jobDone_ = false;
  jobCv_.notify_all();
  jobCv_.wait(lk, [this] { return jobDone_; });
  return true;
}

void SimMultitouch::threadMain() {
  std::unique_lock lk(jobMutex_);
  for (;;) {
    jobCv_.wait(lk, [this] { return quit_ || job_.has_value(); });
    if (quit_) return;
    Job job = *job_;
    job_.reset();
    lk.unlock();
    job.handler(job.context, job.device, job.records, job.count, job.timestamp, job.frame);
    lk.lock();
    jobDone_ = true;
    jobCv_.notify_all();
  }
}

std::vector<unsigned char> contactRecords(const std::vector<SimFinger>& fingers) {
  std::vector<unsigned char> bytes(fingers.size() * platform::kMTFingerSize, 0);
  for (size_t i = 0; i < fingers.size(); ++i) {
    unsigned char* r = bytes.data() + i * platform::kMTFingerSize;
    std::memcpy(r + platform::kMTFingerIdentifierOffset, &fingers[i].id, sizeof(int32_t));
    std::memcpy(r + platform::kMTFingerStateOffset, &fingers[i].state, sizeof(int32_t));
    std::memcpy(r + platform::kMTFingerXOffset, &fingers[i].x, sizeof(float));
    std::memcpy(r + platform::kMTFingerYOffset, &fingers[i].y, sizeof(float));
  }
  return bytes;
}

}  // namespace quillon::sim
