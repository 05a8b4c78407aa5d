#include "app/ui/kit/alert.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>
#include <utility>

#include "app/ui/kit/placement.h"
#include "app/ui/kit/push_button.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/symbols.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

constexpr int kWidth = 260;
constexpr int kSide = 16;
constexpr int kIcon = 64;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 8;
constexpr double kRadius = 10;

AlertResponder& responder() {
  static AlertResponder r;
  return r;
}

QPointer<QWidget>& shown() {
  static QPointer<QWidget> w;
  return w;
}

// The app's icon: the hand on a blue squircle.
void paintAppIcon(QPainter& p, const QRectF& r) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, QColor(0x4FA3FF));
  g.setColorAt(1, QColor(0x0A63D8));
  const double radius = r.width() * 0.225;
  const QRectF tile =
      r.adjusted(r.width() * 0.08, r.width() * 0.08, -r.width() * 0.08, -r.width() * 0.08);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawRoundedRect(tile.translated(0, r.width() * 0.02), radius, radius);
  p.setBrush(g);
  p.drawRoundedRect(tile, radius, radius);
  const double inset = tile.width() * 0.2;
  symbols::paint(p, tile.adjusted(inset, inset, -inset, -inset),
                 QStringLiteral("hand.point.up.left"), QColor(255, 255, 255));
}

// A critical alert shows the caution sign with the app's icon as a badge.
void paintCaution(QPainter& p, const QRectF& r) {
  QPainterPath triangle;
  const QRectF t = r.adjusted(2, 4, -2, -2);
  triangle.moveTo(t.center().x(), t.top());
  triangle.lineTo(t.right(), t.bottom());
  triangle.lineTo(t.left(), t.bottom());
  triangle.closeSubpath();
  p.setPen(QPen(QColor(0xE0A000), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(0xFFCC00));
  p.drawPath(triangle);
  p.setPen(QPen(QColor(0x1E1E1E), 5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(t.center().x(), t.top() + t.height() * 0.35),
             QPointF(t.center().x(), t.top() + t.height() * 0.68));
  p.drawPoint(QPointF(t.center().x(), t.top() + t.height() * 0.84));
  paintAppIcon(p, QRectF(r.right() - r.width() * 0.5, r.bottom() - r.height() * 0.5,
                         r.width() * 0.5, r.height() * 0.5));
}

class AlertIcon : public QWidget {
 public:
  AlertIcon(AlertStyle style, QWidget* parent) : QWidget(parent), style_(style) {
    setFixedSize(kIcon, kIcon);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (style_ == AlertStyle::critical) {
      paintCaution(p, rect());
    } else {
      paintAppIcon(p, rect());
    }
  }

 private:
  AlertStyle style_;
};

class AlertDialog : public QDialog {
 public:
  explicit AlertDialog(const AlertSpec& spec)
      : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
        spec_(spec) {
    setObjectName(QStringLiteral("alert"));
    setWindowTitle(spec.message);
    setFixedWidth(kWidth);
    if (spec_.buttons.isEmpty()) spec_.buttons = QStringList{QStringLiteral("OK")};

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kSide, 20, kSide, 16);
    column->setSpacing(0);
    column->addWidget(new AlertIcon(spec.style, this), 0, Qt::AlignHCenter);
    column->addSpacing(10);
    column->addWidget(label(spec.message, fonts::ui(fonts::kBody, QFont::DemiBold)));
    if (!spec.informativeText.isEmpty()) {
      column->addSpacing(6);
      column->addWidget(label(spec.informativeText, fonts::ui(11)));
    }
    column->addSpacing(18);
    addButtons(column);

    // A window takes no height from its width by itself: without a fixed
    // height a window manager may keep it at its minimum, and the wrapped
    // text loses its last lines.
    setFixedHeight(heightForWidth(kWidth));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      const QPointF at = placement::sideWindowTopLeft(QRectF(screen->availableGeometry()),
                                                      QSizeF(size()), true, std::nullopt);
      move(at.toPoint());
    }
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const Palette& pal = colors();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(pal.dark ? QColor(255, 255, 255, 40) : QColor(0, 0, 0, 50), 0.5));
    p.setBrush(pal.windowBackground);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25), kRadius, kRadius);
  }

  void resizeEvent(QResizeEvent*) override {
    // No compositor draws see-through corners on every desktop: cut them.
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), kRadius, kRadius);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
  }

  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        press(0);
        return;
      case Qt::Key_Escape:
        if (const auto cancel = static_cast<int>(spec_.buttons.indexOf(QStringLiteral("Cancel")));
            cancel >= 0) {
          press(cancel);
        }
        return;
      default:
        // Not QDialog's: it has its own idea of Escape.
        QWidget::keyPressEvent(event);  // NOLINT(bugprone-parent-virtual-call)
    }
  }

  // Closing the window by any other way than a button.
  void reject() override { done(-1); }

 private:
  QLabel* label(const QString& text, const QFont& font) {
    auto* l = new ThemedLabel(text, font, TextRole::primary, this);
    l->setWordWrap(true);
    // As on a Mac, the text can be selected and copied (an address in it,
    // say); the buttons keep the keyboard.
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return l;
  }

  void press(int index) {
    if (index >= 0 && index < static_cast<int>(buttons_.size()) && buttons_[index]->isEnabled()) {
      buttons_[index]->click();
    }
  }

  void addButtons(QVBoxLayout* column) {
    for (int i = 0; i < spec_.buttons.size(); ++i) {
      const ButtonLook look = i == spec_.destructive ? ButtonLook::destructive
                              : i == 0               ? ButtonLook::primary
                                                     : ButtonLook::plain;
      auto* b = new PushButton(spec_.buttons[i], look, this);
      b->setObjectName(QStringLiteral("alertButton%1").arg(i));
      b->setFaceHeight(kButtonHeight);
      b->setPadding(8);
      b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
      connect(b, &QAbstractButton::clicked, this, [this, i] { done(i); });
      buttons_.push_back(b);
    }
    const int half = (kWidth - 2 * kSide - kButtonGap) / 2;
    bool sideBySide = buttons_.size() == 2;
    for (PushButton* b : buttons_) sideBySide = sideBySide && b->sizeHint().width() <= half;
    if (sideBySide) {
      auto* row = new QHBoxLayout;
      row->setSpacing(kButtonGap);
      row->addWidget(buttons_[1], 1);
      row->addWidget(buttons_[0], 1);
      column->addLayout(row);
      return;
    }
    for (size_t i = 0; i < buttons_.size(); ++i) {
      if (i > 0) column->addSpacing(kButtonGap);
      column->addWidget(buttons_[i]);
    }
  }

  AlertSpec spec_;
  std::vector<PushButton*> buttons_;
};

}  // namespace

int runAlert(const AlertSpec& spec) {
  if (responder()) return responder()(spec);
  AlertDialog dialog(spec);
  shown() = &dialog;
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
  const int answer = dialog.exec();
  shown() = nullptr;
  return answer;
}

QWidget* currentAlert() {
  return shown();
}

void setAlertResponder(AlertResponder r) {
  responder() = std::move(r);
}

}  // namespace quillon::ui
