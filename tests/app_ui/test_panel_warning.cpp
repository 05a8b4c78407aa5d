// The panel's warning line: what the model decides, drawn at the top of the
// panel with its one button, which the keyboard reaches and which does what
// it says.
#include <unistd.h>

#include <QAbstractButton>
#include <QTest>

#include "app/ui/kit/bordered_button.h"
#include "app/ui/kit/segmented_control.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/panel/panel_view.h"
#include "app/ui/panel/panel_warning.h"
#include "config_text.h"
#include "panel_fixture.h"

namespace quillon::ui::test {
namespace {

class PanelWarningTest : public PanelTest {
 protected:
  // The trackpad custom: the helper has work to do.
  void needHelper() {
    std::string text = app::test::configText();
    text.replace(text.find("\"mac\""), 5, "\"custom\"");
    writeConfig(text);
  }
  void writeStatus(bool accessibility, bool inputMonitoring) {
    writeFile(paths.statusFile,
              std::string(R"({"accessibility":)") + (accessibility ? "true" : "false") +
                  R"(,"inputMonitoring":)" + (inputMonitoring ? "true" : "false") +
                  R"(,"trackpad":true,"pid":)" + std::to_string(::getpid()) + "}");
  }
  PanelView& makeView() {
    if (!model) makeModel();
    view = std::make_unique<PanelView>(*model, PanelActions{});
    view->resize(view->contentSize().toSize());
    view->show();
    spin();
    return *view;
  }
  std::unique_ptr<PanelView> view;
};

TEST_F(PanelWarningTest, EachStateShowsItsLineAndButtonAtTheTop) {
  struct Case {
    const char* name;
    bool written, accessibility, inputMonitoring;
    QString text, button;
  };
  const Case cases[] = {
      {"not running", false, false, false, "Quillon Helper isn't running.", "Restart"},
      {"no Accessibility", true, false, true, "Quillon Helper needs Accessibility again.",
       "Open Setup…"},
      {"no Input Monitoring", true, true, false, "Quillon Helper needs Input Monitoring again.",
       "Open Setup…"},
      {"good", true, true, true, "", ""},
  };
  needHelper();
  PanelView& v = makeView();
  PanelWarning* line = v.warning();
  ASSERT_TRUE(line);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(paths.statusFile);
    if (c.written) writeStatus(c.accessibility, c.inputMonitoring);
    model->updateWarning();
    spin();
    if (c.text.isEmpty()) {
      EXPECT_FALSE(line->isVisible());
      continue;
    }
    ASSERT_TRUE(line->isVisible());
    EXPECT_EQ(line->label()->text(), c.text);
    EXPECT_EQ(line->button()->text(), c.button);
    EXPECT_TRUE(line->button()->isVisible());
    EXPECT_EQ(line->button()->accessibleName(), c.button);
    EXPECT_EQ(line->button()->focusPolicy(), Qt::TabFocus) << "Tab reaches it, a click does not";
    EXPECT_LT(line->geometry().top(), v.devicePicker()->geometry().top()) << "at the top";
  }
}

TEST_F(PanelWarningTest, OpenSetupOpensTheSetupWindowAndTheLineStepsAside) {
  needHelper();
  writeStatus(false, true);
  PanelView& v = makeView();
  model->updateWarning();
  spin();
  ASSERT_TRUE(v.warning()->isVisible());
  QTest::mouseClick(v.warning()->button(), Qt::LeftButton);
  EXPECT_EQ(calls, (app::test::Calls{"window.showSetup"}));
  windows.setupIsVisible = true;
  model->updateWarning();
  spin();
  EXPECT_FALSE(v.warning()->isVisible()) << "the setup window says it itself";
}

TEST_F(PanelWarningTest, ABrokenSettingsFileIsSaidWithoutAButton) {
  writeConfig("{\"trackpad\": 1");
  PanelView& v = makeView();
  spin();
  ASSERT_TRUE(v.warning()->isVisible());
  EXPECT_TRUE(v.warning()->label()->text().startsWith("Couldn't read settings: "));
  EXPECT_FALSE(v.warning()->button()->isVisible());
}

TEST_F(PanelWarningTest, NoLineWhenMacOSMovesThePointer) {
  // Both devices in mode mac, natural scrolling as macOS has it.
  std::string text = app::test::configText();
  text.replace(text.find("\"natural\":false"), 15, "\"natural\":true");
  writeConfig(text);
  PanelView& v = makeView();
  model->updateWarning();
  spin();
  EXPECT_FALSE(v.warning()->isVisible());
}

}  // namespace
}  // namespace quillon::ui::test
