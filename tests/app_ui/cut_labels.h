#pragma once

// Finds the labels of a laid-out window whose text does not fit them: a
// wrapping label shorter than its height at its width, or a one-line label
// narrower or lower than its text.

#include <QLabel>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace quillon::ui::test {

inline QStringList cutLabels(const QWidget* window) {
  QStringList cut;
  for (const QLabel* label : window->findChildren<QLabel*>()) {
    if (!label->isVisibleTo(window) || label->text().isEmpty()) continue;
    const QSize hint = label->sizeHint();
    const int needHeight =
        label->wordWrap() ? label->heightForWidth(label->width()) : hint.height();
    const bool cutWidth = !label->wordWrap() && hint.width() > label->width();
    if (needHeight > label->height() || cutWidth) {
      cut << QStringLiteral("\"%1\": %2x%3, needs %4x%5")
                 .arg(label->text().left(40))
                 .arg(label->width())
                 .arg(label->height())
                 .arg(label->wordWrap() ? label->width() : hint.width())
                 .arg(needHeight);
    }
  }
  return cut;
}

}  // namespace quillon::ui::test
