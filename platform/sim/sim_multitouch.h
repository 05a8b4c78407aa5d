#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "sim/sim_folder.h"
#include "sim/sim_mac.h"
#include "sim/sim_records.h"

namespace quillon::sim {

// The multitouch framework. Its devices are the "trackpads" of
// devices.json; a device's handle stays the same for the Mac's life, also
// across disconnection, as the program keeps its lists for good. Contact
// frames are delivered on the framework's own thread, one at a time, and
// only to devices that have a callback and are started; whether they do is
// looked at when the frame is handed to the callback, so that a device
// stopped or unregistered gets no frame after that call has returned.
class SimMultitouch : public platform::Multitouch {
 public:
  SimMultitouch(const SystemFolder& folder, Recorder& recorder);
  ~SimMultitouch() override;

  bool load() override;
  bool has(platform::MTFunction function) const override;
  std::optional<std::vector<platform::MTDeviceRef>> createList() override;
  int32_t getDeviceID(platform::MTDeviceRef device, uint64_t* id) override;
  int32_t getSensorSurfaceDimensions(platform::MTDeviceRef device, int32_t* width,
                                     int32_t* height) override;
  void registerContactFrameCallback(platform::MTDeviceRef device,
                                    platform::ContactFrameHandler handler, void* context) override;
  int32_t deviceStart(platform::MTDeviceRef device, int32_t mode) override;
  bool isBuiltIn(platform::MTDeviceRef device) override;
  void deviceStop(platform::MTDeviceRef device) override;
  void unregisterContactFrameCallback(platform::MTDeviceRef device) override;
  int registryDeviceCount() override;

  // Waits until the callback has returned; false if nothing was delivered.
  bool deliver(uint64_t id, const void* records, int32_t count, double timestamp);
  // Test hook: the framework's thread sends trackpad `id` a frame every
  // `intervalSeconds` of real time by itself, one finger moving back and
  // forth, until stopStream(); a new stream replaces the previous one.
  // Each frame goes where deliver() would take it. stopStream() returns once
  // a frame under way has been counted, so the counts then hold still.
  void startStream(uint64_t id, double intervalSeconds);
  void stopStream();
  struct StreamCounts {
    uint64_t sent = 0;       // frames the stream made
    uint64_t delivered = 0;  // of them, the frames a callback received
  };
  StreamCounts streamCounts() const;
  // The device stops sending frames until it is listed and started again.
  void disconnected(uint64_t id);

  void setMissing(platform::MTFunction function, bool missing);
  void setStartResult(uint64_t id, int32_t result);
  void setLoadable(bool loadable);
  void setListAvailable(bool available);

 private:
  struct Device {
    SimTrackpad pad;
    platform::ContactFrameHandler handler = nullptr;
    void* context = nullptr;
    bool started = false;
    int32_t frame = 0;
  };
  struct Job {
    Device* device = nullptr;
    const void* records = nullptr;
    int32_t count = 0;
    double timestamp = 0;
    int32_t frame = 0;
  };
  struct Stream {
    uint64_t id = 0;
    std::chrono::steady_clock::duration interval{};
    std::chrono::steady_clock::time_point next;
    double timestamp = 0;  // of the next frame
    bool right = false;    // where the finger is in the next frame
  };
  Device* device(platform::MTDeviceRef ref);  // under mutex_
  // A job for the device of `id`, numbered; none for an unknown device.
  std::optional<Job> job(uint64_t id, const void* records, int32_t count, double timestamp);
  // On the framework's thread: hands the frame to the device's callback if
  // it has one and is started; false if not.
  bool call(const Job& job);
  void sendStreamFrame(std::unique_lock<std::mutex>& jobLock);
  void threadMain();

  const SystemFolder& folder_;
  Recorder& recorder_;

  mutable std::mutex mutex_;  // the devices and knobs
  std::map<uint64_t, std::unique_ptr<Device>> devices_;
  std::set<platform::MTFunction> missing_;
  std::map<uint64_t, int32_t> startResults_;
  bool loadable_ = true;
  bool loaded_ = false;
  bool listAvailable_ = true;

  // Held by the framework's thread while a callback runs, so that
  // unregistering waits for a frame under way. Taken before mutex_.
  std::mutex callMutex_;

  // The framework's thread, its one-frame mailbox and its stream.
  std::mutex deliverMutex_;  // one submitter at a time
  mutable std::mutex jobMutex_;
  std::condition_variable jobCv_;
  std::optional<Job> job_;
  bool jobDone_ = false;
  bool jobDelivered_ = false;
  std::optional<Stream> stream_;
  StreamCounts streamCounts_;
  bool streamFrameUnderWay_ = false;
  bool quit_ = false;
  std::thread thread_;
};

// The 96-byte contact records of `fingers`, in the framework's layout.
std::vector<unsigned char> contactRecords(const std::vector<SimFinger>& fingers);

}  // namespace quillon::sim
