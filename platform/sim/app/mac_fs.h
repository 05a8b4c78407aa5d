#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "sim/sim_folder.h"

namespace quillon::sim {

// The Mac's fixed folders ("/Applications", "/Volumes/...", "/private/..."
// where translocated apps run, "/System", "/Library") live under
// <root>/fs; every other path (the user's home, the build folder) is the
// same on both sides. The Trash is <root>/Trash. A mount in volumes.json
// ({"mounts":[{"path":"/Volumes/Quillon","readOnly":true}]}) makes the
// folder at its Mac-side path a volume of its own.
class MacFileSystem {
 public:
  explicit MacFileSystem(const SystemFolder& folder) : folder_(folder) {}

  std::filesystem::path hostPath(const std::string& macPath) const;
  // The inverse: a path under <root>/fs becomes its Mac-side form.
  std::string macPath(const std::filesystem::path& hostPath) const;
  std::filesystem::path trash() const { return folder_.root() / "Trash"; }

  // The read-only flag of the volume that holds the path; nullopt when the
  // path does not exist (the query fails on a Mac too).
  std::optional<bool> volumeIsReadOnly(const std::string& macPath) const;
  // Exists, may be written by this user (as root too: the mode's owner
  // write bit counts) and is not on a read-only volume.
  bool isWritable(const std::string& macPath) const;

  // Whether a Mac-side path lies inside one of the fixed folders, which
  // live under <root>/fs ("/Volumes/Q" does; "/etc/x", "relative" do not).
  static bool inMacFolder(const std::string& macPath);
  static std::string folderList();  // "/Applications, /Volumes, ..."

  // Mounts a volume at a Mac-side path inside one of the fixed folders
  // (creating its folder); false, changing nothing, for any other path.
  bool mount(const std::string& macPath, bool readOnly) const;
  bool unmount(const std::string& macPath) const;  // false when not mounted

  // Moves an item into the Trash, under a free name ("Quillon 2.app").
  // The new path, or an error text.
  std::optional<std::filesystem::path> moveToTrash(const std::filesystem::path& item,
                                                   std::string& error) const;

 private:
  std::filesystem::path fsRoot() const { return folder_.root() / "fs"; }
  const SystemFolder& folder_;
};

}  // namespace quillon::sim
