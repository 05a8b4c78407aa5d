#include "sim/app/sim_app_preferences.h"

namespace quillon::sim {

void SimPreferencesWriter::setAnyHost(const std::string& key,
                                      const std::optional<platform::PrefValue>& value) {
  preferences_.setGlobalValue(key, value);  // recorded there as "preference"
}

void SimPreferencesWriter::synchronize() {
  recorder_.add("synchronize", {});
}

bool SimAppearance::isDark() {
  auto style = preferences_.globalValue("AppleInterfaceStyle");
  return style && std::holds_alternative<std::string>(*style) &&
         std::get<std::string>(*style) == "Dark";
}

}  // namespace quillon::sim
