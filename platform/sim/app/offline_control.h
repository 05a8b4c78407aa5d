#pragma once

#include <filesystem>

#include <nlohmann/json.hpp>

namespace quillon::sim {

// quillon-sim-control --offline: the requests that change the machine's
// files, applied directly under the folder lock, with no helper running
// (docs/simulated-mac.md). Never throws: errors become
// {"ok":false,"error":...}.
nlohmann::json runOfflineCommand(const std::filesystem::path& root, const nlohmann::json& request);

}  // namespace quillon::sim
