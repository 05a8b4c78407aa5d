#include "app/core/preview_runner.h"

#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <memory>

#include "app/core/preview.h"
#include "app/core/qt_run_loop.h"

namespace quillon::app {

ProcessPreviewRunner::ProcessPreviewRunner(QString program, double timeLimitSeconds)
    : program_(std::move(program)), timeLimitMs_(delayMs(timeLimitSeconds)) {}

ProcessPreviewRunner::~ProcessPreviewRunner() {
  // Quitting must not wait for a preview: kill what still runs and only
  // reap it, which takes a moment after SIGKILL.
  for (QProcess* p : findChildren<QProcess*>()) {
    p->disconnect();
    p->kill();
    p->waitForFinished(kReapMs);
  }
}

int ProcessPreviewRunner::running() const {
  int n = 0;
  for (const QProcess* p : findChildren<QProcess*>()) {
    if (p->state() != QProcess::NotRunning) ++n;
  }
  return n;
}

void ProcessPreviewRunner::start(const std::vector<std::string>& args, Done done) {
  QStringList arguments;
  for (const std::string& a : args) arguments << QString::fromStdString(a);

  auto* process = new QProcess(this);
  process->setProgram(program_);
  process->setArguments(arguments);
  // The helper's stderr is not part of its answer.
  process->setStandardErrorFile(QProcess::nullDevice());
  auto* limit = new QTimer(process);
  limit->setSingleShot(true);

  // Called once per child, whichever way it ends.
  auto finish = std::make_shared<Done>(std::move(done));
  auto end = [process, finish](bool ok) {
    if (!*finish) return;
    Done callback = std::move(*finish);
    *finish = nullptr;
    std::optional<CurvePoints> points;
    if (ok) points = parsePreviewPoints(process->readAllStandardOutput().toStdString());
    process->deleteLater();
    callback(std::move(points));
  };

  connect(process, &QProcess::readyReadStandardOutput, process, [process] {
    if (process->bytesAvailable() > kPreviewMaxOutputBytes) process->kill();
  });
  connect(limit, &QTimer::timeout, process, [process] { process->kill(); });
  connect(process, &QProcess::finished, process, [process, end](int code, QProcess::ExitStatus st) {
    const bool ok = st == QProcess::NormalExit && code == 0 &&
                    process->bytesAvailable() <= kPreviewMaxOutputBytes;
    end(ok);
  });
  connect(process, &QProcess::errorOccurred, process, [end](QProcess::ProcessError e) {
    // A crash or kill also ends in finished(); only a failed start does not.
    if (e == QProcess::FailedToStart) end(false);
  });

  limit->start(timeLimitMs_);
  process->start(QIODevice::ReadOnly);
}

}  // namespace quillon::app
