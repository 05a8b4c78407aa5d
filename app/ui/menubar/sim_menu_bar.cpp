#include "app/ui/menubar/sim_menu_bar.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "app/ui/kit/placement.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/symbols.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {
constexpr int kClockMargin = 12;
constexpr int kItemGap = 8;
constexpr double kSymbolSize = 16;
}  // namespace

SimMenuBar::SimMenuBar(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus | Qt::BypassWindowManagerHint) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  setWindowTitle(QStringLiteral("Menu Bar"));
  setFixedHeight(kHeight);
  connect(&clock_, &QTimer::timeout, this, [this] { update(); });
  clock_.start(10 * 1000);
  connect(&Appearance::instance(), &Appearance::changed, this, [this] { update(); });
}

void SimMenuBar::placeOnScreen(QScreen* screen) {
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect g = screen->geometry();
  setGeometry(g.x(), g.y(), g.width(), kHeight);
}

void SimMenuBar::setSymbol(const QString& name, const QString& description) {
  symbol_ = name;
  setAccessibleDescription(description);
  update();
}

void SimMenuBar::setItemHighlighted(bool on) {
  highlighted_ = on;
  update();
}

QString SimMenuBar::clockText() const {
  return QLocale::c().toString(QDateTime::currentDateTime(), QStringLiteral("ddd d MMM  HH:mm"));
}

QRect SimMenuBar::itemRect() const {
  const int clockW = qCeil(QFontMetricsF(fonts::body()).horizontalAdvance(clockText()));
  const int right = width() - kClockMargin - clockW - kItemGap;
  return {right - kItemWidth, 0, kItemWidth, kHeight};
}

void SimMenuBar::clickItem() {
  if (action_) action_();
}

void SimMenuBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && itemRect().contains(event->position().toPoint())) {
    clickItem();
  }
}

void SimMenuBar::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), pal.menuBar);
  p.fillRect(QRectF(0, height() - 0.5, width(), 0.5), pal.separator);

  const QColor ink = pal.dark ? QColor(255, 255, 255, 235) : QColor(0, 0, 0, 220);
  p.setFont(fonts::body());
  p.setPen(ink);
  const QString clock = clockText();
  const QFontMetricsF fm(fonts::body());
  p.drawText(QPointF(width() - kClockMargin - fm.horizontalAdvance(clock),
                     (height() - fm.height()) / 2 + fm.ascent()),
             clock);

  const QRectF item = itemRect();
  if (highlighted_) {
    p.setPen(Qt::NoPen);
    p.setBrush(pal.statusHighlight);
    const QRectF h(item.left(), (height() - 22) / 2.0, item.width(), 22);
    p.drawRoundedRect(h, 5, 5);
  }
  if (!symbol_.isEmpty()) {
    const QRectF icon(item.center().x() - kSymbolSize / 2, item.center().y() - kSymbolSize / 2,
                      kSymbolSize, kSymbolSize);
    symbols::paint(p, icon, symbol_, ink);
  }
}

SimStatusItem::SimStatusItem() : bar_(new SimMenuBar) {
  bar_->placeOnScreen();
  bar_->show();
}

SimStatusItem::~SimStatusItem() {
  delete bar_;
}

void SimStatusItem::setSymbol(const QString& name, const QString& accessibilityDescription) {
  bar_->setSymbol(name, accessibilityDescription);
}

void SimStatusItem::setAction(std::function<void()> action) {
  bar_->setAction(std::move(action));
}

void SimStatusItem::setHighlighted(bool on) {
  bar_->setItemHighlighted(on);
}
bool SimStatusItem::highlighted() const {
  return bar_->itemHighlighted();
}

QRectF SimStatusItem::buttonFrame() const {
  const QRect r = bar_->itemRect();
  return QRectF(bar_->mapToGlobal(r.topLeft()), QSizeF(r.size()));
}

QRectF SimStatusItem::visibleFrame() const {
  QScreen* screen = bar_->screen();
  if (screen == nullptr) return {};
  const bool primary = screen == QGuiApplication::primaryScreen();
  return placement::visibleFrame(QRectF(screen->geometry()), primary ? SimMenuBar::kHeight : 0);
}

#ifndef __APPLE__
std::unique_ptr<StatusItem> makeStatusItem() {
  return std::make_unique<SimStatusItem>();
}
#endif

}  // namespace quillon::ui
