#include "app/ui/kit/themed_label.h"

#include <QEvent>

#include "app/ui/style/theme.h"

namespace quillon::ui {

ThemedLabel::ThemedLabel(const QString& text, const QFont& font, TextRole role, QWidget* parent)
    : QLabel(text, parent), role_(role) {
  setFont(font);
  applyColour();
  connect(&Appearance::instance(), &Appearance::changed, this, &ThemedLabel::applyColour);
}

bool ThemedLabel::event(QEvent* event) {
  const bool handled = QLabel::event(event);
  // The application's style sheet puts back the palette it saw at the first
  // polish when it is set again: a label made just before the appearance
  // changed would keep the old colour.
  if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange) applyColour();
  return handled;
}

void ThemedLabel::applyColour() {
  const Palette& c = colors();
  QPalette pal = palette();
  const QColor colour = role_ == TextRole::primary     ? c.label
                        : role_ == TextRole::secondary ? c.secondaryLabel
                                                       : c.tertiaryLabel;
  pal.setColor(QPalette::Active, QPalette::WindowText, colour);
  pal.setColor(QPalette::Inactive, QPalette::WindowText, colour);
  pal.setColor(QPalette::Disabled, QPalette::WindowText, c.tertiaryLabel);
  setPalette(pal);
}

}  // namespace quillon::ui
