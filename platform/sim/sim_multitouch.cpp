#include "sim/sim_multitouch.h"

#include <algorithm>
#include <cstring>
#include <vector>

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

void SimMultitouch::deviceStop(MTDeviceRef ref) {
  uint64_t id = 0;
  {
    std::lock_guard g(mutex_);
    Device* d = device(ref);
    if (!d) return;
    d->started = false;
    id = d->pad.id;
  }
  recorder_.add("deviceStop", {{"id", id}});
}

void SimMultitouch::unregisterContactFrameCallback(MTDeviceRef ref) {
  uint64_t id = 0;
  {
    std::lock_guard g(mutex_);
    Device* d = device(ref);
    if (!d) return;
    d->handler = nullptr;
    d->context = nullptr;
    id = d->pad.id;
  }
  // A frame that took the callback before it was cleared is still running
  // on the framework's thread, which holds callMutex_ until it returns.
  { std::lock_guard wait(callMutex_); }
  recorder_.add("unregisterContactFrameCallback", {{"id", id}});
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

std::optional<SimMultitouch::Job> SimMultitouch::job(uint64_t id, const void* records,
                                                     int32_t count, double timestamp) {
  std::lock_guard g(mutex_);
  auto it = devices_.find(id);
  if (it == devices_.end()) return std::nullopt;
  Device& d = *it->second;
  return Job{&d, records, count, timestamp, d.frame++};
}

bool SimMultitouch::call(const Job& job) {
  std::lock_guard calling(callMutex_);
  platform::ContactFrameHandler handler = nullptr;
  void* context = nullptr;
  {
    std::lock_guard g(mutex_);
    if (!job.device->handler || !job.device->started) return false;
    handler = job.device->handler;
    context = job.device->context;
  }
  handler(context, job.device, job.records, job.count, job.timestamp, job.frame);
  return true;
}

bool SimMultitouch::deliver(uint64_t id, const void* records, int32_t count, double timestamp) {
  {
    std::lock_guard g(mutex_);
    auto it = devices_.find(id);
    if (it == devices_.end() || !it->second->handler || !it->second->started) return false;
  }
  std::optional<Job> j = job(id, records, count, timestamp);
  if (!j) return false;
  std::lock_guard one(deliverMutex_);
  std::unique_lock lk(jobMutex_);
  job_ = j;
  jobDone_ = false;
  jobCv_.notify_all();
  jobCv_.wait(lk, [this] { return jobDone_; });
  return jobDelivered_;
}

void SimMultitouch::startStream(uint64_t id, double intervalSeconds) {
  {
    std::lock_guard lk(jobMutex_);
    Stream stream;
    stream.id = id;
    stream.interval = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(std::max(intervalSeconds, 1e-4)));
    stream.next = std::chrono::steady_clock::now();
    stream.timestamp = 1;
    stream_ = stream;
  }
  jobCv_.notify_all();
}

void SimMultitouch::stopStream() {
  std::unique_lock lk(jobMutex_);
  stream_.reset();
  jobCv_.notify_all();
  // A callback that stops the stream itself must not wait for its own frame.
  if (std::this_thread::get_id() != thread_.get_id())
    jobCv_.wait(lk, [this] { return !streamFrameUnderWay_; });
}

SimMultitouch::StreamCounts SimMultitouch::streamCounts() const {
  std::lock_guard lk(jobMutex_);
  return streamCounts_;
}

void SimMultitouch::sendStreamFrame(std::unique_lock<std::mutex>& jobLock) {
  Stream& stream = *stream_;
  const uint64_t id = stream.id;
  const double timestamp = stream.timestamp;
  const float x = stream.right ? 0.41f : 0.40f;
  stream.timestamp += std::chrono::duration<double>(stream.interval).count();
  stream.right = !stream.right;
  // A thread that fell behind (a sanitizer, a busy machine) goes on from
  // now rather than catching up with a burst.
  stream.next = std::max(stream.next + stream.interval, std::chrono::steady_clock::now());
  ++streamCounts_.sent;
  streamFrameUnderWay_ = true;
  jobLock.unlock();

  // One touching finger, in a record of the framework's layout.
  std::array<unsigned char, platform::kMTFingerSize> record{};
  const int32_t finger = 1;
  const int32_t touching = platform::kMTFingerTouching;
  const float y = 0.5f;
  std::memcpy(record.data() + platform::kMTFingerIdentifierOffset, &finger, sizeof finger);
  std::memcpy(record.data() + platform::kMTFingerStateOffset, &touching, sizeof touching);
  std::memcpy(record.data() + platform::kMTFingerXOffset, &x, sizeof x);
  std::memcpy(record.data() + platform::kMTFingerYOffset, &y, sizeof y);
  std::optional<Job> j = job(id, record.data(), 1, timestamp);
  const bool delivered = j && call(*j);

  jobLock.lock();
  if (delivered) ++streamCounts_.delivered;
  streamFrameUnderWay_ = false;
  jobCv_.notify_all();
}

void SimMultitouch::threadMain() {
  std::unique_lock lk(jobMutex_);
  for (;;) {
    auto woken = [this] { return quit_ || job_.has_value(); };
    if (stream_) {
      const auto next = stream_->next;
      jobCv_.wait_until(lk, next, [&] { return woken() || !stream_ || stream_->next != next; });
    } else {
      jobCv_.wait(lk, [&] { return woken() || stream_.has_value(); });
    }
    if (quit_) return;
    if (job_) {
      Job job = *job_;
      job_.reset();
      lk.unlock();
      const bool delivered = call(job);
      lk.lock();
      jobDelivered_ = delivered;
      jobDone_ = true;
      jobCv_.notify_all();
    } else if (stream_ && std::chrono::steady_clock::now() >= stream_->next) {
      sendStreamFrame(lk);
    }
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
