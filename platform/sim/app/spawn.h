#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillon::sim {

// This process's environment with some variables set (an empty value
// removes the variable), as "NAME=value" texts.
std::vector<std::string> environmentWith(const std::map<std::string, std::string>& overrides);

struct CapturedRun {
  int32_t status = 0;      // exit status, or the signal number that ended it
  std::string output;      // standard output and error, as read
  std::string startError;  // set when the program could not be started
};
// Runs a program and waits for it, reading one pipe of standard output and
// error to its end. Safe from any thread (posix_spawn, no fork).
CapturedRun runCaptured(const std::string& program, const std::vector<std::string>& argv,
                        const std::vector<std::string>& env);

// Starts a program that is nobody's child (it outlives this process, and
// no one has to reap it), at the head of a process group of its own so
// that signalling the group stops what it started too. Standard input is
// /dev/null; output goes to `outputFile` (appended) or, when empty, where
// this process's goes. `started` gets the pid before the program runs (to
// record it): should this process die before that, the program never
// runs. The program's pid, or nullopt and the reason.
std::optional<pid_t> spawnDetached(const std::string& program, const std::vector<std::string>& argv,
                                   const std::vector<std::string>& env,
                                   const std::filesystem::path& outputFile,
                                   const std::function<void(pid_t)>& started, std::string& error);

// A child of this process in a process group of its own (so that killpg
// reaches what it starts), stdin and output on /dev/null or `outputFile`.
std::optional<pid_t> spawnChild(const std::string& program, const std::vector<std::string>& argv,
                                const std::vector<std::string>& env,
                                const std::filesystem::path& outputFile, std::string& error);

// The process's start time in clock ticks since boot (/proc/<pid>/stat),
// which tells a process from a later one that got the same pid.
std::optional<uint64_t> processStartTime(pid_t pid);

}  // namespace quillon::sim
