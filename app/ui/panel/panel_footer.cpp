#include "app/ui/panel/panel_footer.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/core/model.h"
#include "app/ui/controls/shortcut_row.h"
#include "app/ui/kit/bordered_button.h"
#include "app/ui/kit/divider.h"
#include "app/ui/kit/link_button.h"
#include "app/ui/kit/switch.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/style/fonts.h"

namespace quillon::ui {
namespace {

constexpr int kListSpacing = 2;
constexpr int kSmallButtonSpacing = 6;

// Runs the action when the button is clicked; a missing action does nothing.
void onClick(QAbstractButton* button, const std::function<void()>& action) {
  QObject::connect(button, &QAbstractButton::clicked, button, [action] {
    if (action) action();
  });
}

}  // namespace

PanelFooter::PanelFooter(app::Model& model, const PanelActions& actions, QWidget* parent)
    : QWidget(parent),
      model_(model),
      default_(new ShortcutRow(QStringLiteral("Default"), QStringLiteral("⌃⌥⌘R"),
                               [&model] { model.resetCurrent(); })),
      login_(new SwitchRow(QStringLiteral("Open Quillon at login"), fonts::caption(), false,
                           Switch::Size::mini)),
      feedback_(new LinkButton(QStringLiteral("Send Feedback…"), fonts::caption())),
      setup_(new BorderedButton(QStringLiteral("Setup…"), ControlSize::small)),
      uninstall_(new BorderedButton(QStringLiteral("Uninstall…"), ControlSize::small)),
      quit_(new BorderedButton(QStringLiteral("Quit"), ControlSize::small)) {
  auto* col = new QVBoxLayout(this);
  col->setContentsMargins(0, 0, 0, 0);
  col->setSpacing(PanelView::kSectionSpacing);
  col->addWidget(default_);
  col->addWidget(new Divider);
  col->addLayout(shortcutList());

  auto* loginRow = new QHBoxLayout;
  loginRow->setSpacing(8);
  loginRow->addWidget(login_, 0, Qt::AlignVCenter);
  loginRow->addStretch(1);
  feedback_->setToolTip(
      QStringLiteral("Ideas, problems or questions. Goes straight to the developer."));
  loginRow->addWidget(feedback_, 0, Qt::AlignVCenter);
  col->addLayout(loginRow);
  connect(login_, &SwitchRow::toggledByUser, this, [this](bool on) {
    model_.setOpenAtLogin(on);
    refresh();
  });
  onClick(feedback_, actions.showFeedback);

  auto* smallRow = new QHBoxLayout;
  smallRow->setSpacing(kSmallButtonSpacing);
  setup_->setToolTip(QStringLiteral("Permissions Quillon needs, and whether they're allowed."));
  uninstall_->setToolTip(QStringLiteral("Remove Quillon and everything it added."));
  smallRow->addWidget(setup_);
  smallRow->addWidget(uninstall_);
  smallRow->addStretch(1);
  smallRow->addWidget(quit_);
  col->addLayout(smallRow);
  onClick(setup_, actions.showSetup);
  onClick(uninstall_, actions.uninstall);
  onClick(quit_, actions.quit);
  refresh();
}

QLayout* PanelFooter::shortcutList() {
  auto* list = new QVBoxLayout;
  list->setSpacing(kListSpacing);
  const auto keysRow = [list](const QString& title, const QString& help, const QString& keys) {
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    auto* label = new ThemedLabel(title, fonts::caption(), TextRole::secondary);
    label->setToolTip(help);
    row->addWidget(label);
    row->addStretch(1);
    row->addWidget(makeKeysLabel(keys));
    list->addLayout(row);
  };
  keysRow(QStringLiteral("Reset to system default"),
          QStringLiteral("This device back to macOS's curve at default speed."),
          QStringLiteral("⌃⌥⌘M"));
  keysRow(QStringLiteral("Restart Quillon"),
          QStringLiteral("Restarts Quillon with both devices back to their defaults. Saved curves "
                         "and Mouse DPI are kept."),
          QStringLiteral("⌃⌥⌘0"));
  list->addWidget(new ThemedLabel(QStringLiteral("Shortcuts work anywhere while Quillon runs."),
                                  fonts::caption2(), TextRole::secondary));
  auto* stays = new ThemedLabel(QStringLiteral("Settings stay on after quitting."),
                                fonts::caption2(), TextRole::secondary);
  stays->setToolTip(
      QStringLiteral("Quillon Helper keeps running in the background. Only the shortcuts stop "
                     "until Quillon is opened again."));
  list->addWidget(stays);
  return list;
}

void PanelFooter::refresh() {
  login_->setChecked(model_.openAtLogin());
}

}  // namespace quillon::ui
