#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace quillon::sim {

// An XML property list as JSON: dict -> object, array -> array, string and
// date -> string, integer -> integer, real -> number, true/false -> bool,
// data -> its base64 text. Nullopt, with the reason in `error`, when the
// file is missing or is not a well-formed property list, so that a mistake
// in a bundle's plist shows on the simulated Mac as it would on a Mac.
// Arrays and dictionaries nested more than 128 deep are refused.
std::optional<nlohmann::json> readPlist(const std::filesystem::path& file, std::string& error);
std::optional<nlohmann::json> parsePlist(const std::string& xml, std::string& error);

}  // namespace quillon::sim
