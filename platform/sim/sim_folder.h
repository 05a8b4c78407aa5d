#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>

namespace quillon::sim {

// The simulated machine's system folder. Every file is JSON, written whole
// through a temporary file and a rename, so that a reader in another
// process sees the old content or the new, never a mixture. Nothing is
// cached: each read sees what another process wrote last.
class SystemFolder {
 public:
  explicit SystemFolder(std::filesystem::path root);
  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path file(std::string_view name) const { return root_ / name; }

  // Nullopt when the file is missing or is not JSON.
  std::optional<nlohmann::json> read(std::string_view name) const;
  bool write(std::string_view name, const nlohmann::json& value) const;
  // Read, change and write under an advisory lock on <root>/.lock, so that
  // two processes changing one file at once do not lose an update.
  bool update(std::string_view name,
              const std::function<void(std::optional<nlohmann::json>&)>& change) const;

 private:
  std::filesystem::path root_;
};

}  // namespace quillon::sim
