#include "app/ui/kit/menu_button.h"

#include "app/ui/kit/focus_ring.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "app/ui/style/fonts.h"
#include "app/ui/style/symbols.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {
constexpr double kChevron = 9;
constexpr double kGap = 4;
}  // namespace

MenuButton::MenuButton(const QString& title, QMenu* menu, QWidget* parent)
    : QAbstractButton(parent), menu_(menu) {
  setText(title);
  setFont(fonts::body());
  takeFocusByTab(this);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  menu_->setParent(this, menu_->windowFlags());
  // Space with the focus and an assistive tool's press click the button;
  // the mouse opens the menu on its press.
  connect(this, &QAbstractButton::clicked, this, &MenuButton::open);
}

QSize MenuButton::sizeHint() const {
  const QFontMetricsF fm(font());
  return {qCeil(fm.horizontalAdvance(text()) + kGap + kChevron) + 2, 22};
}

void MenuButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  open();
}

void MenuButton::mouseReleaseEvent(QMouseEvent* event) {
  // The press opened the menu already: no click.
  event->accept();
}

void MenuButton::open() {
  if (!isEnabled() || menu_->isVisible()) return;
  setDown(true);
  emit aboutToOpen();
  menu_->popup(mapToGlobal(QPoint(0, height() + 2)));
  connect(
      menu_, &QMenu::aboutToHide, this, [this] { setDown(false); }, Qt::SingleShotConnection);
}

void MenuButton::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QColor c = isEnabled() ? pal.label : pal.tertiaryLabel;
  if (isDown()) c = pal.secondaryLabel;
  const QFontMetricsF fm(font());
  const double textW = fm.horizontalAdvance(text());
  p.setFont(font());
  p.setPen(c);
  p.drawText(QRectF(0, 0, textW + 1, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
  const QRectF chevron(textW + kGap, (height() - kChevron) / 2 + 0.5, kChevron, kChevron);
  symbols::paint(p, chevron, QStringLiteral("chevron.down"),
                 isEnabled() ? pal.secondaryLabel : pal.tertiaryLabel);
}

}  // namespace quillon::ui
