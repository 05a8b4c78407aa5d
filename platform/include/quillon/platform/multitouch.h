#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace quillon::platform {

// The private MultitouchSupport framework, loaded at run time. Each function
// may be missing from the loaded framework; `has` says whether it is there,
// and the core asks before each call, as it would look each up by name.
// The one exception is unregisterContactFrameCallback, which also undoes
// what the adapter did for registerContactFrameCallback.
using MTDeviceRef = void*;

// Called on the framework's own thread, one frame at a time. `fingers`
// points at `count` contact records of kMTFingerSize bytes (or is null).
using ContactFrameHandler = int32_t (*)(void* context, MTDeviceRef device, const void* fingers,
                                        int32_t count, double timestamp, int32_t frame);

constexpr int kMTFingerSize = 96;
// Byte offsets of the fields read from a contact record.
constexpr int kMTFingerIdentifierOffset = 16;  // int32
constexpr int kMTFingerStateOffset = 20;       // int32; 4 = touching
constexpr int kMTFingerXOffset = 32;           // float, 0 left .. 1 right
constexpr int kMTFingerYOffset = 36;           // float, 0 bottom .. 1 top
constexpr int32_t kMTFingerTouching = 4;

enum class MTFunction {
  createList,
  getDeviceID,
  getSensorSurfaceDimensions,
  registerContactFrameCallback,
  deviceStart,
  isBuiltIn,
  deviceStop,
  unregisterContactFrameCallback,
};

class Multitouch {
 public:
  virtual ~Multitouch() = default;
  // Loads the framework once; later calls return whether it is loaded.
  virtual bool load() = 0;
  virtual bool has(MTFunction function) const = 0;

  // MTDeviceCreateList: null when it gives no list. The devices stay valid
  // while one of them is registered or started: the macOS adapter owns the
  // list (the framework creates one per call) and releases it at a later
  // call once each of its devices is stopped and unregistered.
  virtual std::optional<std::vector<MTDeviceRef>> createList() = 0;
  virtual int32_t getDeviceID(MTDeviceRef device, uint64_t* id) = 0;
  // Width and height in hundredths of a millimetre.
  virtual int32_t getSensorSurfaceDimensions(MTDeviceRef device, int32_t* width,
                                             int32_t* height) = 0;
  // The macOS adapter routes the framework's context-free callback to
  // `handler` with `context`.
  virtual void registerContactFrameCallback(MTDeviceRef device, ContactFrameHandler handler,
                                            void* context) = 0;
  virtual int32_t deviceStart(MTDeviceRef device, int32_t mode) = 0;
  virtual bool isBuiltIn(MTDeviceRef device) = 0;

  // MTDeviceStop: the device stops sending frames. Nothing of its result is
  // relied on.
  virtual void deviceStop(MTDeviceRef device) = 0;
  // MTUnregisterContactFrameCallback where the framework has it; whether it
  // has or not, the handler registered for `device` is never called for it
  // again, and a call already under way has returned when this returns.
  // Called on the main thread, never from the handler.
  virtual void unregisterContactFrameCallback(MTDeviceRef device) = 0;

  // IOKit registry: services of class "AppleMultitouchDevice"; 0 on failure.
  virtual int registryDeviceCount() = 0;
};

}  // namespace quillon::platform
