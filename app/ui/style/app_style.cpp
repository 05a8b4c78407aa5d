#include "app/ui/style/app_style.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QPainterPath>
#include <QPalette>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOption>
#include <algorithm>

#include "app/ui/style/fonts.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

int g_toolTipDelayMs = 500;

// The widest a help text grows before it wraps onto another line.
constexpr int kToolTipTextWidth = 260;
constexpr double kToolTipRadius = 5;
constexpr double kMenuRadius = 6;

#ifndef __APPLE__
// A rounded window shape for a pop-up's rectangle. Without a compositor a
// see-through corner renders black, so pop-ups are cut to shape instead.
QRegion roundedRegion(const QRect& r, double radius) {
  QPainterPath path;
  path.addRoundedRect(QRectF(r), radius, radius);
  return QRegion(path.toFillPolygon().toPolygon());
}

// Qt wraps only rich help texts; a plain one longer than a line is wrapped
// here, each time the tip label takes a new text and size.
class WrapToolTip : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* tip = qobject_cast<QLabel*>(watched);
    if (tip && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
      const QMargins m = tip->contentsMargins();
      if (!tip->wordWrap() && tip->width() > kToolTipTextWidth + m.left() + m.right()) {
        tip->setWordWrap(true);
        const int w = kToolTipTextWidth + m.left() + m.right();
        tip->resize(w, tip->heightForWidth(w));
        // Qt placed the tip for its one long line, pulled left to stay on
        // screen; narrower now, it goes back beside the pointer.
        if (const QScreen* screen = tip->screen()) {
          const QRect area = screen->availableGeometry();
          const int x = std::min(QCursor::pos().x() + 2, area.right() + 1 - w);
          tip->move(std::max(area.left(), x), tip->y());
        }
      }
    }
    return false;
  }
};
#endif

class MacLookStyle : public QProxyStyle {
 public:
  MacLookStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

  void polish(QWidget* widget) override {
    QProxyStyle::polish(widget);
#ifndef __APPLE__
    if (widget->inherits("QTipLabel") && !widget->findChild<WrapToolTip*>()) {
      widget->installEventFilter(new WrapToolTip(widget));
    }
#endif
  }
  using QProxyStyle::polish;

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* ret) const override {
    switch (hint) {
      case SH_ToolTip_WakeUpDelay:
        return g_toolTipDelayMs;
      case SH_ToolTip_FallAsleepDelay:
        return 1500;
      case SH_Menu_SubMenuPopupDelay:
        return 200;
      case SH_Menu_FlashTriggeredItem:
        return 0;
#ifndef __APPLE__
      // Rounded tips and menus, as macOS draws them; a Mac's window server
      // rounds its own.
      case SH_ToolTip_Mask:
      case SH_Menu_Mask:
        if (auto* mask = qstyleoption_cast<QStyleHintReturnMask*>(ret); mask && option) {
          mask->region =
              roundedRegion(option->rect, hint == SH_ToolTip_Mask ? kToolTipRadius : kMenuRadius);
          return 1;
        }
        return 0;
#endif
      default:
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
  }
};

QString styleSheet(const Palette& p) {
  const QString family = fonts::body().family();
  const QColor tipBackground = p.dark ? QColor(0x3A3A3C) : QColor(0xF2F2F2);
  const QColor menuBackground = p.dark ? QColor(0x323234) : QColor(0xF4F4F4);
  const QColor menuBorder = p.dark ? QColor(255, 255, 255, 40) : QColor(0, 0, 0, 40);
  QString s;
  s += QStringLiteral(
           "QToolTip { color: %1; background-color: %2; border: 1px solid %3;"
           " border-radius: %6px; padding: 2px 4px; font-family: '%4'; font-size: %5px; }\n")
           .arg(cssColor(p.label), cssColor(tipBackground), cssColor(menuBorder), family)
           .arg(qRound(fonts::kCaption))
           .arg(kToolTipRadius);
  s += QStringLiteral(
           "QMenu { background-color: %1; border: 1px solid %2; border-radius: %10px;"
           " padding: 5px 0px; font-family: '%3'; font-size: %4px; }\n"
           "QMenu::item { color: %5; padding: 3px 22px 3px 18px; margin: 0px 5px;"
           " border-radius: 4px; }\n"
           "QMenu::item:selected { background-color: %6; color: white; }\n"
           "QMenu::item:disabled { color: %7; }\n"
           "QMenu::separator { height: 1px; background: %8; margin: 5px 10px; }\n"
           "QMenu#destructive::item { color: %9; }\n"
           "QMenu#destructive::item:selected { color: white; background-color: %9; }\n")
           .arg(cssColor(menuBackground), cssColor(menuBorder), family)
           .arg(qRound(fonts::kBody))
           .arg(cssColor(p.label), cssColor(p.accent), cssColor(p.tertiaryLabel),
                cssColor(p.separator), cssColor(p.red))
           .arg(kMenuRadius);
  return s;
}

}  // namespace

QString cssColor(const QColor& c) {
  return QStringLiteral("rgba(%1,%2,%3,%4)")
      .arg(c.red())
      .arg(c.green())
      .arg(c.blue())
      .arg(c.alpha());
}

void applyAppStyle(const Palette& p) {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (app == nullptr) return;
  if (dynamic_cast<MacLookStyle*>(QApplication::style()) == nullptr) {
    QApplication::setStyle(new MacLookStyle);
  }
  fonts::installApplicationFont();

  QPalette pal;
  const QColor white(255, 255, 255);
  pal.setColor(QPalette::Window, p.panelBackground);
  pal.setColor(QPalette::WindowText, p.label);
  pal.setColor(QPalette::Base, p.controlBackground);
  pal.setColor(QPalette::AlternateBase, p.windowBackground);
  pal.setColor(QPalette::Text, p.label);
  pal.setColor(QPalette::Button, p.buttonFace);
  pal.setColor(QPalette::ButtonText, p.label);
  pal.setColor(QPalette::Highlight, withAlpha(p.accent, 0.35));
  pal.setColor(QPalette::HighlightedText, p.label);
  pal.setColor(QPalette::ToolTipBase, p.dark ? QColor(0x3A3A3C) : QColor(0xF2F2F2));
  pal.setColor(QPalette::ToolTipText, p.label);
  pal.setColor(QPalette::PlaceholderText, p.tertiaryLabel);
  pal.setColor(QPalette::Link, p.accent);
  pal.setColor(QPalette::BrightText, white);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    pal.setColor(QPalette::Disabled, role, p.tertiaryLabel);
  }
  QApplication::setPalette(pal);
  app->setStyleSheet(styleSheet(p));
}

void setToolTipDelay(int ms) {
  g_toolTipDelayMs = std::max(0, ms);
}
int toolTipDelay() {
  return g_toolTipDelayMs;
}

}  // namespace quillon::ui
