// The menu bar panel on a real Model over a simulated Mac (offscreen):
//  - a slider step: a drag move on the panel's slider, through its binding
//    and the model's change, until the panel has repainted;
//  - opening: a click on the menu bar item until the panel has painted,
//    including the model's fresh read of the settings that follows it.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QMouseEvent>
#include <filesystem>

#include "app/core/model.h"
#include "app/core/no_windows.h"
#include "app/core/preview_runner.h"
#include "app/core/qt_run_loop.h"
#include "app/ui/controls/labeled_slider.h"
#include "app/ui/kit/plain_slider.h"
#include "app/ui/panel/menu_bar_panel.h"
#include "app/ui/panel/panel_view.h"
#include "app/ui/panel/panel_window.h"
#include "app/ui/style/theme.h"
#include "sim/app/app_mac.h"
#include "sim/app/process_table.h"

namespace quillon::ui {
namespace {

// The Windows curve never arrives: only the app's own curves are drawn.
class NoPreview final : public app::PreviewRunner {
 public:
  void start(const std::vector<std::string>&, Done) override {}
};

class Item final : public StatusItem {
 public:
  void setSymbol(const QString&, const QString&) override {}
  void setAction(std::function<void()> a) override { action = std::move(a); }
  void setHighlighted(bool) override {}
  bool highlighted() const override { return false; }
  QRectF buttonFrame() const override { return {1000, 0, 26, 24}; }
  QRectF visibleFrame() const override { return {0, 24, 1440, 876}; }
  std::function<void()> action;
};

// Counts the panel view's paint events.
class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(o, e);
  }
  int paints = 0;
};

struct World {
  char tmpl[32] = "/tmp/quillon-bench-XXXXXX";
  World()
      : base(mkdtemp(tmpl)),
        mac(base / "mac",
            sim::AppMac::Options{.bundle = base / "Quillon.app", .listAsRunning = false}),
        env{mac.system(), Paths::forHome(base / "home"), loop, 501, {}, {}} {
    mac.system().defaults.standard().setBool("setupDone", true);
    model = std::make_unique<app::Model>(env, windows, preview);
    panel = std::make_unique<MenuBarPanel>(env, *model, MenuBarPanel::Hooks{});
    auto owned = std::make_unique<Item>();
    item = owned.get();
    panel->setUp(std::move(owned));
    panel->view()->installEventFilter(&counter);
  }
  ~World() {
    panel.reset();
    model.reset();
    sim::shutdownMachine(base / "mac");
    std::error_code ec;
    std::filesystem::remove_all(base, ec);
  }

  std::filesystem::path base;
  sim::AppMac mac;
  app::QtRunLoop loop;
  app::Env env;
  app::NoWindows windows;
  NoPreview preview;
  std::unique_ptr<app::Model> model;
  std::unique_ptr<MenuBarPanel> panel;
  Item* item = nullptr;
  PaintCounter counter;
};

void settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

void BM_SliderStepToRepaintedPanel(benchmark::State& state) {
  World w;
  w.item->action();
  settle();
  PlainSlider* slider = w.panel->view()->scrollSpeedSlider()->slider();
  const double travel = slider->width() - slider->knob();
  int step = 0;
  for (auto _ : state) {
    // One snap step of Scroll Speed (0.05) further along, and back.
    const double x = slider->knob() / 2 + travel * ((step++ % 40) + 5) / 55.0;
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 10), slider->mapToGlobal(QPointF(x, 10)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &move);
    const int before = w.counter.paints;
    QCoreApplication::processEvents();
    if (w.counter.paints == before) state.SkipWithError("the panel did not repaint");
  }
}

void BM_ClickToPanelDrawn(benchmark::State& state) {
  World w;
  for (auto _ : state) {
    state.PauseTiming();
    w.panel->close();
    settle();
    const int before = w.counter.paints;
    state.ResumeTiming();
    w.item->action();
    while (w.counter.paints == before) QCoreApplication::processEvents();
    // The fresh read of the settings that opening queues.
    QCoreApplication::processEvents();
  }
}

BENCHMARK(BM_SliderStepToRepaintedPanel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickToPanelDrawn)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::ui
