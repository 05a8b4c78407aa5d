// A whole `preview` process, as the app runs it for every uncached Windows
// curve: start, build, print 41 rows, exit. Wall time per run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::string helperPath;

void BM_PreviewProcess(benchmark::State& state, std::vector<std::string> args) {
  if (helperPath.empty() || !std::filesystem::exists(helperPath)) {
    state.SkipWithError("quillon-helper not found (set QUILLON_HELPER)");
    return;
  }
  args.insert(args.begin(), {helperPath, "preview"});
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, helperPath.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("posix_spawn failed");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("preview failed");
      break;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}

BENCHMARK_CAPTURE(BM_PreviewProcess, windows_mouse,
                  {"--device", "mouse", "--mode", "windows", "--win-speed", "7.5", "--scale", "1.0",
                   "--dpi", "1600.0"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK_CAPTURE(BM_PreviewProcess, custom_trackpad, {"--device", "trackpad", "--mode", "custom"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
  // The helper sits beside this binary in the build's bin/ folder.
  const char* env = std::getenv("QUILLON_HELPER");
  helperPath = env != nullptr
                   ? env
                   : (std::filesystem::absolute(argv[0]).parent_path() / "quillon-helper").string();
  // A simulated Mac of its own, with no displays: the run measures the
  // helper, not whatever machine state a developer has lying around.
  std::string simRoot = (std::filesystem::temp_directory_path() / "quillon-bench-XXXXXX").string();
  if (std::getenv("QUILLON_SIM_ROOT") == nullptr && ::mkdtemp(simRoot.data()) != nullptr) {
    ::setenv("QUILLON_SIM_ROOT", simRoot.c_str(), 1);
  } else {
    simRoot.clear();
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!simRoot.empty()) std::filesystem::remove_all(simRoot);
  return 0;
}
