// Quillon Helper: picks this build's backend and hands the command line to
// the core, where everything else lives.
#include <string>
#include <vector>

#include "helper/command.h"

int main(int argc, char** argv) {
  auto backend = quillon::platform::makeBackend();
  std::vector<std::string> args(argv, argv + argc);
  return quillon::runCommand(args, *backend);
}
