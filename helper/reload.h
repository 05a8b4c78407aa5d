#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>

#include "helper/state.h"

namespace quillon {

// The largest config.json read; anything bigger is refused unread.
constexpr std::size_t kMaxConfigBytes = 1 << 20;

// Applies config.json when it has changed since it was last applied (or
// always, with `force`): reads it, builds both curves outside `lock`, swaps
// everything in under `lock` in one step and logs one "settings: " line.
// Reads macOS's natural-scrolling setting on every call. Main thread only.
void reloadConfig(HelperState& state, bool force = false);

// The same with another curve maker, so that a build failure can be forced.
using CurveBuilder = std::function<std::optional<Curve>(const DeviceConfig&, Device)>;
void reloadConfig(HelperState& state, bool force, const CurveBuilder& build);

// Follows symbolic links (a loop gives the link's own stamp); nullopt when
// the file or its attributes cannot be read.
std::optional<FileStamp> fileStamp(const std::filesystem::path& path);

}  // namespace quillon
