#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/core/curve_points.h"

namespace quillon::app {

// Runs the helper's `preview` for one Windows curve without the main loop
// ever waiting for it. `done` is called on the main thread with the points,
// or with none when the helper failed, timed out or printed something else;
// it is not called at all when the runner is destroyed first.
class PreviewRunner {
 public:
  using Done = std::function<void(std::optional<CurvePoints>)>;
  virtual ~PreviewRunner() = default;
  virtual void start(const std::vector<std::string>& args, Done done) = 0;
};

// The helper as a child process (QProcess, asynchronous). A child still
// running after kPreviewTimeLimitSeconds, or printing more than
// kPreviewMaxOutputBytes, is killed and counts as failed.
class ProcessPreviewRunner final : public QObject, public PreviewRunner {
  Q_OBJECT
 public:
  static constexpr double kPreviewTimeLimitSeconds = 5.0;
  static constexpr qint64 kPreviewMaxOutputBytes = 1 << 20;

  // `program` is the helper executable as this process opens it.
  explicit ProcessPreviewRunner(QString program,
                                double timeLimitSeconds = kPreviewTimeLimitSeconds);
  ~ProcessPreviewRunner() override;

  void start(const std::vector<std::string>& args, Done done) override;
  // Children started and not yet finished.
  int running() const;

 private:
  static constexpr int kReapMs = 200;
  QString program_;
  int timeLimitMs_;
};

}  // namespace quillon::app
