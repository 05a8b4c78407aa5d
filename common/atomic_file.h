#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace quillon {

// Writes `content` to a temporary file in the target's folder, flushes it to
// disk and renames it over `target`, so that a reader sees the old file or
// the new one, never a part. Returns false (and leaves the target as it
// was, with no temporary file behind) on any failure. The folder must exist.
bool writeFileAtomically(const std::filesystem::path& target, std::string_view content);

// Removes what writers killed mid-write left in `folder`: temporary files
// ".<name>.<pid>.<n>.tmp" whose pid no longer runs, of the file `name`, or
// of every file when `name` is empty. A live writer's file is never
// touched. writeFileAtomically does it for its target before each write.
void removeStaleTemporaryFiles(const std::filesystem::path& folder, std::string_view name = {});

// The outcome of reading a whole file. Callers that treat a missing file as
// normal can tell it from one that is there but wrong.
struct FileRead {
  enum class Status {
    ok,
    missing,         // no such file (or a folder on the way is missing)
    unreadable,      // there, but it cannot be opened or read (permissions, I/O)
    notRegularFile,  // a directory, FIFO, socket or device: never read, never waited on
    tooLarge,        // more than the caller's byte limit; nothing past the limit is read
  };
  Status status = Status::missing;
  std::string content;  // the file's bytes when `status` is ok, else empty

  bool ok() const { return status == Status::ok; }
};

// Reads the regular file at `path` if it holds at most `maxBytes` bytes.
FileRead readFile(const std::filesystem::path& path, std::size_t maxBytes);

// A short English reason for a failed read, for log lines: "no such file",
// "cannot be read", "not a regular file", "larger than N bytes".
std::string describe(FileRead::Status status, std::size_t maxBytes);

}  // namespace quillon
