#pragma once

// The developer's screenshots of the panel: its view on the model, in the
// light and then the dark appearance, over the window background, written
// as folder/"panel-<scene>-<appearance>.png" at twice the point size (as a
// Retina Mac would).

#include <QImage>
#include <filesystem>
#include <iosfwd>
#include <string>

namespace quillon::app {
class Model;
}

namespace quillon::ui {

inline constexpr double kSnapshotScale = 2;
// How long the view is left to settle before it is drawn.
inline constexpr double kSnapshotSettleSeconds = 0.6;

// The panel's view in one appearance; a null image when none could be made.
QImage renderPanel(app::Model& model, bool dark, double settleSeconds = kSnapshotSettleSeconds);

// Both appearances of one scene. Each written file gets the line
// "wrote <file> <width>x<height>" on `out`; a file that could not be
// written gets "couldn't write <file>" on `err` instead.
void snapshotPanel(app::Model& model, const std::string& scene, const std::filesystem::path& folder,
                   std::ostream& out, std::ostream& err,
                   double settleSeconds = kSnapshotSettleSeconds);

}  // namespace quillon::ui
