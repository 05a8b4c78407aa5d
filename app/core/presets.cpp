// Saved curves: three lists of the custom formula per device, kept in the
// app's user defaults under "presets." + the device key.
#include <cmath>
#include <nlohmann/json.hpp>

#include "app/core/defaults.h"
#include "app/core/model.h"
#include "app/core/presets.h"

namespace quillon::app {

using nlohmann::json;

std::string presetsKey(Device d) {
  return "presets." + std::string(deviceKey(d));
}

namespace {
constexpr const char* kFields[] = {"speed", "accel", "shape", "threshold", "maxBoost"};

double Preset::*member(int i) {
  static constexpr double Preset::*members[] = {&Preset::speed, &Preset::accel, &Preset::shape,
                                                &Preset::threshold, &Preset::maxBoost};
  return members[i];
}

bool validSlot(int slot) {
  return slot >= 0 && slot < kPresetSlots;
}
}  // namespace

std::optional<PresetSlots> decodePresets(std::string_view text) {
  const json root = json::parse(text, nullptr, false);
  if (!root.is_array() || root.size() != kPresetSlots) return std::nullopt;
  PresetSlots list;
  for (int i = 0; i < kPresetSlots; ++i) {
    const json& element = root[static_cast<size_t>(i)];
    if (element.is_null()) continue;
    if (!element.is_object()) return std::nullopt;
    Preset p;
    for (int f = 0; f < 5; ++f) {
      auto it = element.find(kFields[f]);
      if (it == element.end() || !it->is_number()) return std::nullopt;
      // The parser reads 1e999 as infinity; loaded into the settings it
      // would make the next config.json unreadable.
      p.*member(f) = it->get<double>();
      if (!std::isfinite(p.*member(f))) return std::nullopt;
    }
    list[static_cast<size_t>(i)] = p;
  }
  return list;
}

std::optional<std::string> encodePresets(const PresetSlots& list) {
  json root = json::array();
  for (const std::optional<Preset>& slot : list) {
    if (!slot) {
      root.push_back(nullptr);
      continue;
    }
    json o = json::object();
    for (int f = 0; f < 5; ++f) {
      const double v = (*slot).*member(f);
      // JSON has no NaN or infinity; writing null would lose the whole list.
      if (!std::isfinite(v)) return std::nullopt;
      o[kFields[f]] = v;
    }
    root.push_back(std::move(o));
  }
  return root.dump();
}

void Model::setPresets(Device d, const PresetSlots& list) {
  presets_[d] = list;
  emit presetsChanged();
}

void Model::loadPresets() {
  platform::UserDefaults& defaults = env_.sys.defaults.standard();
  for (Device d : kAllDevices) {
    std::optional<PresetSlots> list;
    if (const auto data = defaults.dataValue(presetsKey(d))) {
      list = decodePresets(
          std::string_view(reinterpret_cast<const char*>(data->data()), data->size()));
    }
    presets_[d] = list.value_or(PresetSlots{});
  }
  emit presetsChanged();
}

std::optional<Preset> Model::preset(int slot) const {
  if (!validSlot(slot)) return std::nullopt;
  auto it = presets_.find(device_);
  return it == presets_.end() ? std::nullopt : it->second[static_cast<size_t>(slot)];
}

Preset Model::currentPreset() const {
  const DeviceConfig& c = cfg();
  return {c.speed, c.accel, c.shape.value_or(1.0), c.threshold.value_or(0.0),
          c.maxBoost.value_or(Defaults::maxBoost)};
}

namespace {
void store(platform::UserDefaults& defaults, Device d, const PresetSlots& list) {
  if (const auto text = encodePresets(list)) {
    defaults.setData(presetsKey(d), platform::UserDefaults::Data(text->begin(), text->end()));
  }
}
}  // namespace

void Model::savePreset(int slot) {
  if (!validSlot(slot)) return;
  PresetSlots list = presets_[device_];
  list[static_cast<size_t>(slot)] = currentPreset();
  setPresets(device_, list);
  store(env_.sys.defaults.standard(), device_, list);
  // Not an edit of the configuration: nothing is saved to config.json.
  setMessage("Saved to slot " + std::to_string(slot + 1) + ".");
}

void Model::deletePreset(int slot) {
  if (!validSlot(slot)) return;
  PresetSlots list = presets_[device_];
  list[static_cast<size_t>(slot)].reset();
  setPresets(device_, list);
  store(env_.sys.defaults.standard(), device_, list);
}

void Model::loadPreset(int slot) {
  const std::optional<Preset> p = preset(slot);
  if (!p) return;
  DeviceConfig& c = cfg();
  c.speed = p->speed;
  c.accel = p->accel;
  c.shape = p->shape;
  c.threshold = p->threshold;
  c.maxBoost = p->maxBoost;
  changed();
}

}  // namespace quillon::app
