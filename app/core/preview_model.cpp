// The model's three preview curves. The custom and mac curves are computed
// here; the Windows curve comes from the helper's `preview`, cached by its
// exact arguments so that a slider moving back and forth starts no child.
#include <QPointer>

#include "app/core/model.h"
#include "app/core/preview.h"
#include "app/core/preview_runner.h"

namespace quillon::app {

void Model::updatePreview() {
  const Device d = device_;
  const DeviceConfig& c = cfg();
  const std::vector<std::string> args = windowsPreviewArgs(d, c);
  windowsCurveWanted_ = previewKey(args);

  std::map<Mode, CurvePoints> next;
  const auto cached = windowsCurveCache_.find(windowsCurveWanted_);
  const bool hit = cached != windowsCurveCache_.end();
  if (hit) {
    next[Mode::windows] = cached->second;
  } else if (auto old = curves_.find(Mode::windows); previewDevice_ == d && old != curves_.end()) {
    // The old curve stays on screen until the new one arrives.
    next[Mode::windows] = old->second;
  }
  previewDevice_ = d;
  next[Mode::custom] =
      customMemo_.get({d, c.speed, c.accel, c.accelOff, c.threshold, c.shape, c.maxBoost},
                      [&] { return customCurve(c, d); });
  const double macSpeed = macSpeedOf(d);
  next[Mode::mac] = macMemo_.get({d, macSpeed, c.dpi, mouseMacAccel_},
                                 [&] { return macCurveFor(d, c, macSpeed, mouseMacAccel_); });
  setCurves(std::move(next));

  if (!hit && inFlight_.insert(windowsCurveWanted_).second) {
    preview_.start(args, [self = QPointer<Model>(this),
                          key = windowsCurveWanted_](std::optional<CurvePoints> points) {
      // A result that arrives after the model has gone is dropped.
      if (self) self->windowsCurveArrived(key, std::move(points));
    });
  }
}

void Model::windowsCurveArrived(const std::string& key, std::optional<CurvePoints> points) {
  inFlight_.erase(key);
  // A failed run caches nothing, so the next preview with this key tries
  // again.
  if (!points) return;
  windowsCurveCache_[key] = *points;
  // A late answer for an older setting is kept for later but not shown.
  if (key != windowsCurveWanted_) return;
  curves_[Mode::windows] = std::move(*points);
  emit curvesChanged();
}

}  // namespace quillon::app
