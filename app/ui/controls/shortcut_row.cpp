#include "app/ui/controls/shortcut_row.h"

#include <QHBoxLayout>
#include <QLabel>

#include "app/ui/kit/bordered_button.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/style/fonts.h"

namespace quillon::ui {

QLabel* makeKeysLabel(const QString& keys, QWidget* parent) {
  return new ThemedLabel(keys, fonts::keys(fonts::kCaption), TextRole::secondary, parent);
}

ShortcutRow::ShortcutRow(const QString& title, const QString& keys, std::function<void()> action,
                         QWidget* parent)
    : QWidget(parent), button_(new BorderedButton(title)), keys_(makeKeysLabel(keys)) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(8);
  row->addWidget(button_, 0, Qt::AlignVCenter);
  row->addStretch(1);
  row->addWidget(keys_, 0, Qt::AlignVCenter);
  connect(button_, &QAbstractButton::clicked, this, [action = std::move(action)] {
    if (action) action();
  });
}

}  // namespace quillon::ui
