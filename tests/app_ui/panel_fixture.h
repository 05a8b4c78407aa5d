#pragma once

// The panel on a real Model over a fresh simulated Mac (its own system and
// home folders), with a stand-in menu bar item whose frame the test sets.
// Whatever the machine starts is stopped when the test ends.

#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <memory>
#include <string>

#include "app/core/env.h"
#include "app/core/model.h"
#include "app/core/qt_run_loop.h"
#include "app/ui/menubar/status_item.h"
#include "app/ui/panel/menu_bar_panel.h"
#include "core_fixture.h"
#include "sim/app/app_mac.h"

namespace quillon::ui::test {

// A menu bar item that is only its frame, its highlight and its action.
class FakeItem final : public StatusItem {
 public:
  void setSymbol(const QString& name, const QString&) override { symbol = name; }
  void setAction(std::function<void()> a) override { action = std::move(a); }
  void setHighlighted(bool on) override { lit = on; }
  bool highlighted() const override { return lit; }
  QRectF buttonFrame() const override { return button; }
  QRectF visibleFrame() const override { return visible; }
  void click() const { action(); }

  // A 1440 x 900 screen below a 24-point menu bar.
  QRectF button{1000, 0, 26, 24};
  QRectF visible{0, 24, 1440, 876};
  QString symbol;
  std::function<void()> action;
  bool lit = false;
};

class PanelTest : public ::testing::Test {
 public:
  PanelTest();
  ~PanelTest() override;

  // The model on the machine as it is now; then the panel around it.
  app::Model& makeModel();
  MenuBarPanel& makePanel();

  void writeFile(const std::filesystem::path& file, const std::string& text);
  std::string readFile(const std::filesystem::path& file) const;
  void writeConfig(const std::string& json) { writeFile(paths.configFile, json); }
  bool configExists() const { return std::filesystem::exists(paths.configFile); }
  void setSetupDone(bool done);
  // Runs Qt's event loop for a while (the main queue, the delayed save).
  static void spin(int ms = 10);

  std::filesystem::path base;
  std::filesystem::path root;  // the simulated Mac's system folder
  Paths paths;
  std::string oldHome;
  sim::AppMac mac;
  app::QtRunLoop loop;
  app::Env env;
  app::test::Calls calls;
  app::test::RecordingWindows windows{calls};
  app::test::FakePreviewRunner preview;
  std::unique_ptr<app::Model> model;
  std::unique_ptr<MenuBarPanel> panel;
  FakeItem* item = nullptr;
  std::vector<std::string> actions;  // the footer's actions, as called
};

}  // namespace quillon::ui::test
