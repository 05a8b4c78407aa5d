#include "app/ui/panel/panel_snapshot.h"

#include <QEventLoop>
#include <QTimer>
#include <ostream>
#include <system_error>

#include "app/core/qt_run_loop.h"
#include "app/ui/panel/panel_view.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {

QImage renderPanel(app::Model& model, bool dark, double settleSeconds) {
  Appearance::instance().setDark(dark);
  // Never on screen: laid out and drawn all the same.
  QWidget host(nullptr, Qt::Window | Qt::FramelessWindowHint);
  host.setAttribute(Qt::WA_DontShowOnScreen);
  host.setAttribute(Qt::WA_ShowWithoutActivating);
  host.move(-5000, -5000);
  auto* view = new PanelView(model, {}, &host);
  host.resize(view->contentSize().toSize());
  host.show();
  QEventLoop settle;
  QTimer::singleShot(app::delayMs(settleSeconds), &settle, &QEventLoop::quit);
  settle.exec();

  const QSize size = view->contentSize().toSize();
  host.resize(size);
  view->resize(size);
  if (size.isEmpty()) return {};
  QImage image(size * kSnapshotScale, QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return {};
  image.setDevicePixelRatio(kSnapshotScale);
  image.fill(colors().windowBackground);
  view->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  host.hide();
  return image;
}

void snapshotPanel(app::Model& model, const std::string& scene, const std::filesystem::path& folder,
                   std::ostream& out, std::ostream& err, double settleSeconds) {
  const bool wasDark = Appearance::instance().isDark();
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  for (const bool dark : {false, true}) {
    const QImage image = renderPanel(model, dark, settleSeconds);
    if (image.isNull()) continue;
    const std::filesystem::path file =
        folder / ("panel-" + scene + "-" + (dark ? "dark" : "light") + ".png");
    // A failed write is said as such, never reported as written.
    if (image.save(QString::fromStdString(file.string()), "PNG")) {
      out << "wrote " << file.string() << " " << image.width() << "x" << image.height() << "\n";
    } else {
      err << "couldn't write " << file.string() << "\n";
    }
  }
  out.flush();
  Appearance::instance().setDark(wasDark);
}

}  // namespace quillon::ui
