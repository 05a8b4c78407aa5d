#pragma once

// The panel's footer: "Default" (the current mode back to its defaults),
// the global shortcuts, the login item, feedback, setup, uninstall and
// quit. Not shown in a preview-only process.

#include <QWidget>

#include "app/ui/panel/panel_view.h"

namespace quillon::ui {

class BorderedButton;
class LinkButton;
class ShortcutRow;
class SwitchRow;

class PanelFooter : public QWidget {
  Q_OBJECT
 public:
  PanelFooter(app::Model& model, const PanelActions& actions, QWidget* parent = nullptr);

  void refresh();

  ShortcutRow* defaultRow() const { return default_; }
  SwitchRow* loginSwitch() const { return login_; }
  LinkButton* feedbackLink() const { return feedback_; }
  BorderedButton* setupButton() const { return setup_; }
  BorderedButton* uninstallButton() const { return uninstall_; }
  BorderedButton* quitButton() const { return quit_; }

 private:
  QLayout* shortcutList();

  app::Model& model_;
  ShortcutRow* default_;
  SwitchRow* login_;
  LinkButton* feedback_;
  BorderedButton* setup_;
  BorderedButton* uninstall_;
  BorderedButton* quit_;
};

}  // namespace quillon::ui
