#include "sim/app/launchd_holds.h"

#include <filesystem>

namespace quillon::sim {

using nlohmann::json;

namespace {

std::set<std::string> decode(const std::optional<json>& file) {
  std::set<std::string> out;
  if (!file || !file->is_object() || !file->contains("start") || !(*file)["start"].is_array())
    return out;
  for (const json& label : (*file)["start"])
    if (label.is_string()) out.insert(label.get<std::string>());
  return out;
}

void change(const SystemFolder& folder, const std::string& label, bool hold) {
  std::set<std::string> held;
  folder.update(kHoldsFile, [&](std::optional<json>& file) {
    held = decode(file);
    if (hold)
      held.insert(label);
    else
      held.erase(label);
    file = json{{"start", held}};
  });
  if (held.empty()) {
    std::error_code ec;
    std::filesystem::remove(folder.file(kHoldsFile), ec);
  }
}

}  // namespace

std::set<std::string> heldStarts(const SystemFolder& folder) {
  return decode(folder.read(kHoldsFile));
}

void holdStart(const SystemFolder& folder, const std::string& label) {
  change(folder, label, true);
}

void releaseStart(const SystemFolder& folder, const std::string& label) {
  change(folder, label, false);
}

}  // namespace quillon::sim
