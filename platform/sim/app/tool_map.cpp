#include "sim/app/tool_map.h"

#include <array>
#include <utility>

namespace quillon::sim {

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kStandIns = {{
    {"/bin/launchctl", "launchctl"},
    {"/usr/bin/tccutil", "tccutil"},
    {"/usr/bin/defaults", "defaults"},
    {"/usr/bin/open", "open"},
    {"/usr/bin/hdiutil", "hdiutil"},
    {"/bin/kill", "kill"},
}};

constexpr std::array<std::string_view, 5> kSystemFolders = {"/bin/", "/usr/bin/", "/sbin/",
                                                            "/usr/sbin/", "/System/"};

bool startsWord(const std::string& s, size_t at) {
  if (at == 0) return true;
  char c = s[at - 1];
  return std::string_view(" \t\n;&|(`").find(c) != std::string_view::npos;
}

bool endsWord(const std::string& s, size_t at) {
  if (at == s.size()) return true;
  return std::string_view(" \t\n;&|)`").find(s[at]) != std::string_view::npos;
}

}  // namespace

std::optional<std::string> standInName(std::string_view macPath) {
  for (const auto& [path, name] : kStandIns)
    if (macPath == path) return std::string(name);
  return std::nullopt;
}

std::string rewriteScript(const std::string& script) {
  std::string out;
  size_t i = 0;
  while (i < script.size()) {
    bool replaced = false;
    if (script[i] == '/' && startsWord(script, i)) {
      for (const auto& [path, name] : kStandIns) {
        if (script.compare(i, path.size(), path) == 0 && endsWord(script, i + path.size())) {
          out += "\"$QUILLON_SIM_TOOL\" ";
          out += name;
          i += path.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += script[i++];
  }
  return out;
}

MappedCommand mapCommand(const std::string& macPath, const std::vector<std::string>& args,
                         const MacFileSystem& files, const std::string& toolPath) {
  MappedCommand m;
  if (auto name = standInName(macPath)) {
    m.program = toolPath;
    m.argv = {toolPath, *name};
    m.argv.insert(m.argv.end(), args.begin(), args.end());
    return m;
  }
  if (macPath == "/bin/sh") {
    m.program = "/bin/sh";
    m.argv = {"sh"};
    for (size_t i = 0; i < args.size(); ++i) {
      bool script = i > 0 && args[i - 1] == "-c";
      m.argv.push_back(script ? rewriteScript(args[i]) : args[i]);
    }
    return m;
  }
  for (auto folder : kSystemFolders) {
    if (macPath.starts_with(folder)) {
      m.error = "couldn't run " + macPath + ": not on the simulated Mac";
      return m;
    }
  }
  m.program = files.hostPath(macPath).string();
  m.argv = {macPath};
  m.argv.insert(m.argv.end(), args.begin(), args.end());
  return m;
}

}  // namespace quillon::sim
