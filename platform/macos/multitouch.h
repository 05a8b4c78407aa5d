#pragma once

#include <vector>

#include "quillon/platform/multitouch.h"

namespace quillon::platform::macos {

// MultitouchSupport, loaded at run time; each function looked up by name
// before each use, since the framework is private and may change.
class MTFramework final : public Multitouch {
 public:
  MTFramework() = default;
  // Releases the device lists whose devices are all stopped and
  // unregistered.
  ~MTFramework() override;
  MTFramework(const MTFramework&) = delete;
  MTFramework& operator=(const MTFramework&) = delete;

  bool load() override;
  bool has(MTFunction function) const override;
  std::optional<std::vector<MTDeviceRef>> createList() override;
  int32_t getDeviceID(MTDeviceRef device, uint64_t* id) override;
  int32_t getSensorSurfaceDimensions(MTDeviceRef device, int32_t* width, int32_t* height) override;
  void registerContactFrameCallback(MTDeviceRef device, ContactFrameHandler handler,
                                    void* context) override;
  int32_t deviceStart(MTDeviceRef device, int32_t mode) override;
  bool isBuiltIn(MTDeviceRef device) override;
  void deviceStop(MTDeviceRef device) override;
  void unregisterContactFrameCallback(MTDeviceRef device) override;
  int registryDeviceCount() override;

 private:
  // A CFArrayRef from MTDeviceCreateList, which this object releases, and
  // the devices in it.
  struct DeviceList {
    const void* array;
    std::vector<MTDeviceRef> devices;
  };

  void* symbol(MTFunction function) const;
  // Releases the lists (but the newest, unless `all`) whose devices are all
  // stopped and unregistered.
  void releaseIdleLists(bool all = false);
  void* handle_ = nullptr;
  std::vector<DeviceList> lists_;
  std::vector<MTDeviceRef> started_;
};

}  // namespace quillon::platform::macos
