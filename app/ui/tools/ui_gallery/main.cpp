// quillon-ui-gallery: every control and the graph on demo values.
//   quillon-ui-gallery            shows them in a window
//   quillon-ui-gallery --png DIR  writes light and dark PNGs of each part
//   quillon-ui-gallery --desktop  the simulated menu bar; its item opens a
//                                 stand-in panel below it (--dark, --open)
#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QTimer>
#include <QToolTip>
#include <cstdio>

#include "app/ui/kit/placement.h"
#include "app/ui/menubar/sim_menu_bar.h"
#include "app/ui/panel/panel_chrome.h"
#include "app/ui/style/app_style.h"
#include "app/ui/style/symbols.h"
#include "app/ui/style/theme.h"
#include "controls_sheet.h"
#include "mock_panel.h"

using namespace quillon;
using namespace quillon::ui;

namespace {

struct Scenes {
  demo::DemoState trackpad;
  demo::DemoState mouse;
  Scenes() {
    trackpad.device = Device::trackpad;
    trackpad.cfg = DeviceConfig::trackpadDefault();
    trackpad.cfg.mode = "windows";
    mouse.device = Device::mouse;
    mouse.cfg = DeviceConfig::mouseDefault();
    mouse.cfg.mode = "custom";
    mouse.cfg.speed = 30;
    mouse.cfg.accel = 0.8;
    mouse.cfg.shape = 1.4;
    mouse.cfg.threshold = 20;
    mouse.cfg.maxBoost = 3;
    mouse.presets[0] = PresetValues{30, 0.8, 1.4, 20, 3};
    mouse.presets[1] = PresetValues{45, 1.2, 1.0, 0, 4};
  }
};

// The whole gallery: the two panels side by side, then the sheet.
QWidget* gallery(Scenes& s) {
  auto* w = new QWidget;
  auto* row = new QHBoxLayout(w);
  row->setContentsMargins(24, 24, 24, 24);
  row->setSpacing(24);
  row->addWidget(demo::mockPanel(s.trackpad), 0, Qt::AlignTop);
  row->addWidget(demo::mockPanel(s.mouse), 0, Qt::AlignTop);
  row->addWidget(demo::controlsSheet(), 0, Qt::AlignTop);
  return w;
}

// Every symbol large, to judge its drawing.
void writeSymbols(const QString& path) {
  const QStringList names = {"hand.point.up.left",
                             "rectangle.and.hand.point.up.left",
                             "minus.magnifyingglass",
                             "plus.magnifyingglass",
                             "checkmark.circle.fill",
                             "1.circle",
                             "2.circle",
                             "3.circle",
                             "4.circle",
                             "chevron.down",
                             "chevron.up"};
  const double side = 64;
  QImage img(QSize(qRound(side * 1.25 * names.size()), qRound(side * 1.25)) * 2,
             QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(2);
  img.fill(colors().panelBackground);
  QPainter p(&img);
  for (qsizetype i = 0; i < names.size(); ++i) {
    symbols::paint(p, QRectF(side * 1.25 * i + side * 0.125, side * 0.125, side, side), names[i],
                   colors().label);
  }
  p.end();
  img.save(path);
}

void writePng(QWidget* w, const QString& path) {
  w->adjustSize();
  // Wrapped text needs the height for the actual width.
  if (w->hasHeightForWidth()) w->resize(w->width(), w->heightForWidth(w->width()));
  const double scale = 2;
  QImage img(w->size() * scale, QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(scale);
  img.fill(colors().windowBackground);
  w->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
  img.save(path);
  std::printf("wrote %s %dx%d\n", qPrintable(QFileInfo(path).fileName()), img.width(),
              img.height());
}

// The Save menu with its second item under the pointer, and a help text.
void writePopups(const QString& dir, const QString& suffix) {
  QMenu menu;
  for (const char* t : {"Slot 1 (replace)", "Slot 2 (replace)", "Slot 3"}) menu.addAction(t);
  menu.popup(QPoint(100, 100));
  menu.setActiveAction(menu.actions()[1]);
  QCoreApplication::processEvents();
  menu.grab().save(dir + QStringLiteral("/menu") + suffix);
  menu.close();

  QMenu destructive;
  destructive.setObjectName(QStringLiteral("destructive"));
  destructive.addAction(QStringLiteral("Delete Slot 2"));
  destructive.popup(QPoint(100, 100));
  QCoreApplication::processEvents();
  destructive.grab().save(dir + QStringLiteral("/menu-delete") + suffix);
  destructive.close();

  QToolTip::showText(QPoint(100, 100), QStringLiteral("Points per mm of hand movement."));
  QCoreApplication::processEvents();
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->inherits("QTipLabel") && w->isVisible()) {
      w->grab().save(dir + QStringLiteral("/tooltip") + suffix);
    }
  }
  QToolTip::hideText();
}

int writeAll(const QString& dir) {
  QDir().mkpath(dir);
  for (const bool dark : {false, true}) {
    Appearance::instance().setDark(dark);
    const QString suffix = dark ? QStringLiteral("-dark.png") : QStringLiteral("-light.png");
    Scenes s;
    struct Part {
      const char* name;
      QWidget* widget;
    };
    auto* bar = new SimMenuBar;
    bar->setSymbol(QStringLiteral("hand.point.up.left"), QStringLiteral("Quillon"));
    bar->setItemHighlighted(true);
    bar->resize(520, SimMenuBar::kHeight);
    const Part parts[] = {{"gallery", gallery(s)},
                          {"panel-windows-trackpad", demo::mockPanel(s.trackpad)},
                          {"panel-custom-mouse", demo::mockPanel(s.mouse)},
                          {"controls", demo::controlsSheet()},
                          {"menubar", bar}};
    for (const Part& part : parts) {
      part.widget->setAttribute(Qt::WA_DontShowOnScreen);
      part.widget->show();
      QCoreApplication::processEvents();
      writePng(part.widget, dir + QLatin1Char('/') + QLatin1String(part.name) + suffix);
      delete part.widget;
    }
    writeSymbols(dir + QStringLiteral("/symbols") + suffix);
    writePopups(dir, suffix);
  }
  return 0;
}

// The simulated menu bar with its item toggling a frameless panel placed
// under it, as the app will.
int desktop(bool dark, bool open) {
  Appearance::instance().setDark(dark);
  Scenes s;
  auto item = makeStatusItem();
  item->setSymbol(QStringLiteral("hand.point.up.left"), QStringLiteral("Quillon"));
  auto* panel = static_cast<PanelChrome*>(demo::mockPanel(s.mouse));
  panel->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  panel->setCompositedCorners(false);
  StatusItem* it = item.get();
  const auto toggle = [panel, it] {
    if (panel->isVisible()) {
      panel->hide();
      it->setHighlighted(false);
      return;
    }
    panel->adjustSize();
    const QPointF tl =
        placement::panelTopLeft(it->buttonFrame(), it->visibleFrame(), panel->size());
    panel->move(tl.toPoint());
    panel->show();
    it->setHighlighted(true);
  };
  item->setAction(toggle);
  if (open) QTimer::singleShot(300, toggle);
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Appearance::instance().apply();
  const QStringList args = QCoreApplication::arguments();
  if (const auto i = args.indexOf(QStringLiteral("--png")); i >= 0 && i + 1 < args.size()) {
    return writeAll(args[i + 1]);
  }
  if (args.contains(QStringLiteral("--desktop"))) {
    return desktop(args.contains(QStringLiteral("--dark")),
                   args.contains(QStringLiteral("--open")));
  }
  Appearance::instance().setDark(args.contains(QStringLiteral("--dark")));
  Scenes s;
  QScrollArea area;
  area.setWidget(gallery(s));
  area.resize(1100, 900);
  area.show();
  return QApplication::exec();
}
