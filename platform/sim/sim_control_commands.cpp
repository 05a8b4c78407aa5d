#include <functional>
#include <map>
#include <string>

#include "sim/sim_control_server.h"
#include "sim/sim_events.h"
#include "sim/sim_multitouch.h"
#include "sim/sim_state.h"

namespace quillon::sim {

using nlohmann::json;

namespace {

json cursorJson(Point p) {
  return {p.x, p.y};
}

json ok(json body = json::object()) {
  body["ok"] = true;
  return body;
}

json event(Mac& mac, const json& r) {
  SimEvent e = eventFromJson(r, mac.cursor());
  bool passed = mac.postInPlace(e);
  return ok({{"event", eventJson(e)}, {"passed", passed}, {"cursor", cursorJson(mac.cursor())}});
}

json frame(Mac& mac, const json& r) {
  std::vector<SimFinger> fingers;
  for (const json& f : r.value("fingers", json::array())) {
    fingers.push_back({f.at("id").get<int32_t>(), f.value("state", platform::kMTFingerTouching),
                       f.at("x").get<float>(), f.at("y").get<float>()});
  }
  auto records = contactRecords(fingers);
  bool delivered = mac.contactFrameRaw(
      r.at("trackpad").get<uint64_t>(), records.empty() ? nullptr : records.data(),
      static_cast<int32_t>(fingers.size()), r.at("time").get<double>());
  return ok({{"delivered", delivered}});
}

json hid(Mac& mac, const json& r) {
  bool delivered = mac.hidValue(r.at("device").get<uint64_t>(), r.at("usage").get<uint32_t>(),
                                r.at("value").get<int64_t>());
  return ok({{"delivered", delivered}});
}

json records(Mac& mac, const json& r) {
  json list = json::array();
  std::string kind = r.value("kind", "");
  for (const Record& rec : kind.empty() ? mac.records() : mac.records(kind))
    list.push_back({{"kind", rec.kind}, {"detail", json::parse(rec.detail, nullptr, false)}});
  if (r.value("clear", false)) mac.clearRecords();
  return ok({{"records", list}});
}

json permissions(Mac& mac, const json& r) {
  if (r.contains("accessibility")) mac.setAccessibility(r.at("accessibility").get<bool>());
  if (r.contains("inputMonitoring")) mac.setInputMonitoring(r.at("inputMonitoring").get<bool>());
  return ok();
}

json preference(Mac& mac, const json& r) {
  const json& v = r.at("value");
  std::optional<platform::PrefValue> value;
  if (v.is_boolean())
    value = v.get<bool>();
  else if (v.is_number())
    value = v.get<double>();
  else if (v.is_string())
    value = v.get<std::string>();
  else if (!v.is_null())
    throw json::type_error::create(302, "value must be a bool, number, string or null", &v);
  mac.setGlobalPreference(r.at("key").get<std::string>(), value);
  return ok();
}

json disableTap(Mac& mac, const json& r) {
  std::string reason = r.value("reason", "timeout");
  if (reason != "timeout" && reason != "userInput")
    throw json::other_error::create(501, "reason must be timeout or userInput", &r);
  mac.disableTaps(reason == "timeout" ? platform::event_type::kTapDisabledByTimeout
                                      : platform::event_type::kTapDisabledByUserInput);
  return ok();
}

json advance(Mac& mac, const json& r) {
  if (!mac.manualClock()) throw json::other_error::create(501, "the clock is not manual", &r);
  mac.runLoop().advance(r.at("seconds").get<double>());
  return ok({{"uptime", mac.system().clock.uptime()}});
}

using Command = std::function<json(Mac&, const json&)>;

const std::map<std::string, Command>& commands() {
  static const std::map<std::string, Command> table = {
      {"ping", [](Mac&, const json&) { return ok(); }},
      {"uptime",
       [](Mac& m, const json&) {
         return ok({{"uptime", m.system().clock.uptime()}});
       }},
      {"cursor",
       [](Mac& m, const json& r) {
         if (r.contains("to"))
           m.moveCursor({r.at("to").at(0).get<double>(), r.at("to").at(1).get<double>()});
         return ok({{"cursor", cursorJson(m.cursor())}});
       }},
      {"event", event},
      {"frame", frame},
      {"hid", hid},
      {"connectTrackpad",
       [](Mac& m, const json& r) {
         m.connectTrackpad(trackpadFromJson(r));
         return ok();
       }},
      {"connectHid",
       [](Mac& m, const json& r) {
         m.connectHidDevice(hidDeviceFromJson(r));
         return ok();
       }},
      {"disconnect",
       [](Mac& m, const json& r) {
         m.disconnect(r.at("id").get<uint64_t>());
         return ok();
       }},
      {"displays",
       [](Mac& m, const json& r) {
         m.setDisplays(displaysFromJson(r));
         return ok();
       }},
      {"wake",
       [](Mac& m, const json&) {
         m.wake();
         return ok();
       }},
      {"permissions", permissions},
      {"preference", preference},
      {"disableTap", disableTap},
      {"launchApp",
       [](Mac& m, const json& r) {
         int pid = m.launchApp(r.at("bundleIdentifier").get<std::string>(),
                               r.value("ignoresTerminate", false));
         return ok({{"pid", pid}});
       }},
      {"advance", advance},
      {"records", records},
  };
  return table;
}

json error(const std::string& message) {
  return {{"ok", false}, {"error", message}};
}

}  // namespace

json runControlCommand(Mac& mac, const json& request) {
  if (!request.is_object() || !request.contains("cmd") || !request.at("cmd").is_string())
    return error("a request is a JSON object with a \"cmd\" string");
  std::string name = request.at("cmd").get<std::string>();
  auto it = commands().find(name);
  if (it == commands().end()) return error("unknown command: " + name);
  try {
    return it->second(mac, request);
  } catch (const json::exception& e) {
    return error(name + ": " + e.what());
  } catch (const std::exception& e) {
    return error(name + ": " + e.what());
  }
}

std::string controlReply(Mac& mac, const std::string& line) {
  json request = json::parse(line, nullptr, false);
  if (request.is_discarded()) return error("not JSON").dump();
  // Replies carry what the client sent, e.g. raw bytes in a string;
  // replace invalid UTF-8 rather than fail.
  return runControlCommand(mac, request).dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace quillon::sim
