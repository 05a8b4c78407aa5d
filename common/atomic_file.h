#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// Writes `content` to a temporary file in the target's folder, flushes it to
// disk and renames it over `target`, so that a reader sees the old file or
// the new one, never a part. Returns false (and leaves the target as it
// was) on any failure.
bool writeFileAtomically(const std::filesystem::path& target, std::string_view content);

// Reads a whole regular file; nullopt if it is missing, not a regular file,
// unreadable or larger than `maxBytes`.
std::optional<std::string> readFile(const std::filesystem::path& path, size_t maxBytes);

}  // namespace quillon
