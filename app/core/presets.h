#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/core/model.h"

namespace quillon::app {

// "presets.trackpad", "presets.mouse".
std::string presetsKey(Device d);

// A JSON array of exactly three elements, each null or an object with the
// five numbers; none for anything else.
std::optional<PresetSlots> decodePresets(std::string_view text);
// None when a number cannot be written (NaN, infinity).
std::optional<std::string> encodePresets(const PresetSlots& list);

}  // namespace quillon::app
