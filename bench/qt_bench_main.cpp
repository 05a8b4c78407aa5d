// The main of the benchmarks that draw widgets: Qt's offscreen platform
// unless another is asked for, and the app's appearance applied.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/ui/style/theme.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  quillon::ui::Appearance::instance().apply();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
