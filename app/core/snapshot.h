#pragma once

#include <filesystem>

namespace quillon::app {

class Model;
class Windows;

// The developer's screenshot tool ("--snapshot FOLDER").
namespace Snapshot {

// How long each scene lets the main loop run, so that its Windows curve
// arrives.
inline constexpr double kSceneSettleSeconds = 2.0;

// Puts the model (preview-only from now on) into a fixed demonstration
// state, then for each scene sets its device and mode and lets the preview
// arrive, and has the panel written in both appearances.
void run(Model& model, Windows& windows, const std::filesystem::path& folder,
         double settleSeconds = kSceneSettleSeconds);

}  // namespace Snapshot

}  // namespace quillon::app
