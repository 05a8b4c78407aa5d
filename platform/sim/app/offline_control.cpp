#include "sim/app/offline_control.h"

#include <fstream>
#include <set>

#include "sim/app/launchd_state.h"
#include "sim/app/mac_fs.h"
#include "sim/app/process_table.h"
#include "sim/sim_control_server.h"
#include "sim/sim_mac.h"

namespace quillon::sim {

using nlohmann::json;

namespace {

// The helper's requests that only change files.
const std::set<std::string> kFileCommands = {"permissions", "preference", "connectTrackpad",
                                             "connectHid",  "disconnect", "displays",
                                             "launchApp"};

json ok(json body = json::object()) {
  body["ok"] = true;
  return body;
}

json fail(const std::string& error) {
  return {{"ok", false}, {"error", error}};
}

json agents(const SystemFolder& folder) {
  json out = json::object();
  auto status = readJobStatus(folder);
  for (const auto& [label, job] : readLaunchd(folder).agents) {
    const JobStatus& s = status[label];
    out[label] = {{"program", job.program}, {"pid", s.pid}, {"starts", s.starts}};
  }
  return ok({{"agents", out}, {"supervisor", supervisorPid(folder)}});
}

json toolCalls(const SystemFolder& folder) {
  json calls = json::array();
  std::ifstream in(folder.file("tools.jsonl"));
  for (std::string line; std::getline(in, line);) {
    json call = json::parse(line, nullptr, false);
    if (!call.is_discarded()) calls.push_back(call);
  }
  return ok({{"calls", calls}});
}

json run(const std::filesystem::path& root, const json& r) {
  std::string cmd = r.at("cmd").get<std::string>();
  SystemFolder folder(root);
  if (kFileCommands.count(cmd)) {
    Mac mac(root);
    return runControlCommand(mac, r);
  }
  if (cmd == "forceService") {
    const json& status = r.at("status");
    std::string name = r.at("name").get<std::string>();
    if (!status.is_null() &&
        (!status.is_number_integer() || status.get<int64_t>() < 0 || status.get<int64_t>() > 3))
      return fail(
          "status must be 0 (not registered), 1 (enabled), 2 (requires approval), "
          "3 (not found) or null");
    updateLaunchd(folder, [&](LaunchdState& state) {
      if (status.is_null())
        state.forced.erase(name);
      else
        state.forced[name] = status.get<int>();
    });
    return ok();
  }
  if (cmd == "mount") {
    std::string path = r.at("path").get<std::string>();
    if (!MacFileSystem(folder).mount(path, r.value("readOnly", false)))
      return fail("\"" + path + "\" is not in one of the Mac's folders (" +
                  MacFileSystem::folderList() + ")");
    return ok();
  }
  if (cmd == "unmount") {
    bool found = MacFileSystem(folder).unmount(r.at("path").get<std::string>());
    return ok({{"found", found}});
  }
  if (cmd == "machine") {
    folder.update("machine.json", [&](std::optional<json>& file) {
      if (!file || !file->is_object()) file = json::object();
      for (const char* key : {"model", "osVersion"})
        if (r.contains(key)) (*file)[key] = r[key].get<std::string>();
    });
    return ok();
  }
  if (cmd == "agents") return agents(folder);
  if (cmd == "tools") return toolCalls(folder);
  if (cmd == "shutdown") return ok({{"stopped", shutdownMachine(root)}});
  return fail("unknown offline command \"" + cmd + "\"");
}

}  // namespace

json runOfflineCommand(const std::filesystem::path& root, const json& request) {
  try {
    if (!request.is_object()) return fail("not a JSON object");
    return run(root, request);
  } catch (const std::exception& e) {
    return fail(e.what());
  }
}

}  // namespace quillon::sim
