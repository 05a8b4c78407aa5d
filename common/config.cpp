#include "common/config.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "common/utf8.h"

namespace quillon {

using nlohmann::json;

DeviceConfig DeviceConfig::trackpadDefault() {
  return DeviceConfig{};
}

DeviceConfig DeviceConfig::mouseDefault() {
  DeviceConfig c;
  c.speed = 30;
  c.accel = 0.8;
  c.winSpeed = 10;
  c.natural = false;
  c.dpi = kDefaultMouseDPI;
  return c;
}

ScrollPrefs scrollPrefs(const DeviceConfig& c) {
  ScrollPrefs p;
  p.natural = c.natural;
  p.accelOff = c.scrollAccelOff.value_or(false);
  // Written so that NaN, like zero and negatives, falls back to 1.
  p.speed = c.scrollSpeed && *c.scrollSpeed > 0 ? *c.scrollSpeed : 1;
  return p;
}

double mouseCPMM(const DeviceConfig& mouse) {
  // A DPI that is not a finite number (possible from a hand-typed preview
  // option, never from the file) would make every movement NaN or zero.
  if (!mouse.dpi || !std::isfinite(*mouse.dpi)) return kDefaultMouseDPI / kMMPerInch;
  return std::max(*mouse.dpi, 50.0) / kMMPerInch;
}

namespace {

// "an array", "a number", ...: the JSON type of a value, for messages.
std::string typeWithArticle(const json& v) {
  std::string name = v.type_name();
  if (v.is_null()) return name;
  return (v.is_array() || v.is_object() ? "an " : "a ") + name;
}

// Reads the members of one device object, naming the key and the device in
// every failure so that the log line says what to fix.
class DeviceReader {
 public:
  DeviceReader(const json& object, std::string_view device) : object_(object), device_(device) {}

  template <typename T>
  void required(const char* key, T& out) const {
    const json* v = find(key);
    if (v == nullptr || v->is_null()) reject(key, "is missing");
    read(key, *v, out);
  }

  template <typename T>
  void optional(const char* key, std::optional<T>& out) const {
    const json* v = find(key);
    if (v == nullptr || v->is_null()) {
      out.reset();
      return;
    }
    read(key, *v, out.emplace());
  }

 private:
  const json* find(const char* key) const {
    auto it = object_.find(key);
    return it == object_.end() ? nullptr : &*it;
  }

  void read(const char* key, const json& v, std::string& out) const {
    if (!v.is_string()) wrongType(key, "a string", v);
    out = v.get_ref<const std::string&>();
  }

  void read(const char* key, const json& v, bool& out) const {
    if (!v.is_boolean()) wrongType(key, "a boolean", v);
    out = v.get<bool>();
  }

  void read(const char* key, const json& v, double& out) const {
    if (!v.is_number()) wrongType(key, "a number", v);
    out = v.get<double>();
    // 1e999 parses as infinity, which could never be written back.
    if (!std::isfinite(out)) reject(key, "is out of range");
  }

  [[noreturn]] void wrongType(const char* key, const char* expected, const json& v) const {
    reject(key, std::string("must be ") + expected + ", not " + typeWithArticle(v));
  }

  [[noreturn]] void reject(const char* key, const std::string& problem) const {
    throw ConfigError{"key \"" + std::string(key) + "\" in \"" + std::string(device_) + "\" " +
                      problem};
  }

  const json& object_;
  std::string_view device_;
};

DeviceConfig decodeDevice(const json& root, Device device) {
  const std::string key(deviceKey(device));
  auto it = root.find(key);
  if (it == root.end() || it->is_null()) throw ConfigError{"key \"" + key + "\" is missing"};
  if (!it->is_object()) {
    throw ConfigError{"key \"" + key + "\" must be an object, not " + typeWithArticle(*it)};
  }
  DeviceReader r(*it, key);
  DeviceConfig c;
  r.required("mode", c.mode);
  r.required("speed", c.speed);
  r.required("accel", c.accel);
  r.required("winSpeed", c.winSpeed);
  r.required("scale", c.scale);
  r.required("natural", c.natural);
  r.optional("accelOff", c.accelOff);
  r.optional("dpi", c.dpi);
  r.optional("winDpi", c.winDpi);
  r.optional("match", c.match);
  r.optional("scrollAccelOff", c.scrollAccelOff);
  r.optional("scrollSpeed", c.scrollSpeed);
  r.optional("shape", c.shape);
  r.optional("threshold", c.threshold);
  r.optional("maxBoost", c.maxBoost);
  return c;
}

template <typename T>
void putOptional(json& object, const char* key, const std::optional<T>& value) {
  if (value) object[key] = *value;
}

json encodeDevice(const DeviceConfig& c) {
  json o = json::object();
  o["mode"] = c.mode;
  o["speed"] = c.speed;
  o["accel"] = c.accel;
  o["winSpeed"] = c.winSpeed;
  o["scale"] = c.scale;
  o["natural"] = c.natural;
  putOptional(o, "accelOff", c.accelOff);
  putOptional(o, "dpi", c.dpi);
  putOptional(o, "winDpi", c.winDpi);
  putOptional(o, "match", c.match);
  putOptional(o, "scrollAccelOff", c.scrollAccelOff);
  putOptional(o, "scrollSpeed", c.scrollSpeed);
  putOptional(o, "shape", c.shape);
  putOptional(o, "threshold", c.threshold);
  putOptional(o, "maxBoost", c.maxBoost);
  return o;
}

}  // namespace

Config decodeConfig(std::string_view text) {
  json root;
  try {
    root = json::parse(text);
  } catch (const json::exception& e) {
    // Drop the library's "[json.exception.parse_error.101] " tag.
    std::string_view what = e.what();
    if (auto end = what.find("] "); what.starts_with('[') && end != std::string_view::npos) {
      what.remove_prefix(end + 2);
    }
    // It quotes the bytes it stopped at, which may end inside a character.
    throw ConfigError{validUTF8(what)};
  }
  if (!root.is_object()) {
    throw ConfigError{"the configuration must be an object, not " + typeWithArticle(root)};
  }
  Config config;
  config.trackpad = decodeDevice(root, Device::trackpad);
  config.mouse = decodeDevice(root, Device::mouse);
  return config;
}

std::string encodeConfig(const Config& config) {
  // nlohmann's default object is a std::map, so every object comes out with
  // its keys sorted.
  json root = json::object();
  root[std::string(deviceKey(Device::trackpad))] = encodeDevice(config.trackpad);
  root[std::string(deviceKey(Device::mouse))] = encodeDevice(config.mouse);
  // A mode or match set in code with broken UTF-8 is written with U+FFFD
  // rather than failing the whole save.
  return root.dump(2, ' ', false, json::error_handler_t::replace);
}

}  // namespace quillon
