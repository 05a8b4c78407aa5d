#pragma once

#include "quillon/platform/app_system.h"
#include "sim/sim_services.h"

namespace quillon::sim {

// Global preferences as the app writes them (any application, current
// user, any host): preferences.json, the same domain the helper reads.
// Writes are recorded as "preference", synchronize as "synchronize".
class SimPreferencesWriter : public platform::GlobalPreferencesWriter {
 public:
  SimPreferencesWriter(platform::Preferences& preferences, Recorder& recorder)
      : preferences_(preferences), recorder_(recorder) {}
  void setAnyHost(const std::string& key, const std::optional<platform::PrefValue>& value) override;
  void synchronize() override;

 private:
  platform::Preferences& preferences_;
  Recorder& recorder_;
};

// Dark when the global "AppleInterfaceStyle" is "Dark", as macOS keeps it.
class SimAppearance : public platform::Appearance {
 public:
  explicit SimAppearance(SimPreferences& preferences) : preferences_(preferences) {}
  bool isDark() override;

 private:
  SimPreferences& preferences_;
};

}  // namespace quillon::sim
