#include "app/ui/panel/panel_view.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "app/core/model.h"
#include "app/core/preview.h"
#include "app/ui/controls/dpi_field.h"
#include "app/ui/controls/labeled_slider.h"
#include "app/ui/graph/equation_view.h"
#include "app/ui/graph/zoomable_curve_view.h"
#include "app/ui/kit/divider.h"
#include "app/ui/kit/end_number_editing.h"
#include "app/ui/kit/overlay_scroll_area.h"
#include "app/ui/kit/segmented_control.h"
#include "app/ui/kit/switch.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/panel/panel_footer.h"
#include "app/ui/panel/panel_mode_section.h"
#include "app/ui/panel/panel_model.h"
#include "app/ui/panel/panel_platform.h"
#include "app/ui/panel/panel_warning.h"
#include "app/ui/panel/trackpad_note.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/symbols.h"

namespace quillon::ui {
namespace {

// The graph's starting view, in hand speed (mm/s).
double graphStart(Device d) {
  return d == Device::mouse ? 300.0 : 200.0;
}

QString text(const std::string& s) {
  return QString::fromStdString(s);
}

// The controls inside a section, in the window's Tab order (which need not
// keep them next to the section itself).
QList<QWidget*> tabChain(QWidget* section) {
  QList<QWidget*> chain;
  QWidget* start = section->window();
  for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain()) {
    if (w != section && section->isAncestorOf(w) && w->focusPolicy() != Qt::NoFocus) chain << w;
  }
  return chain;
}

// A section made after the ones below it joins the Tab order where it is
// read, not at its end. Returns its last control, or `after`.
QWidget* followInTabOrder(QWidget* after, QWidget* section) {
  for (QWidget* w : tabChain(section)) {
    QWidget::setTabOrder(after, w);
    after = w;
  }
  return after;
}

}  // namespace

PanelView::PanelView(app::Model& model, PanelActions actions, QWidget* parent)
    : QWidget(parent), model_(model), actions_(std::move(actions)) {
  setFixedWidth(kWidth);
  setFocusPolicy(Qt::NoFocus);
  // Everything but the footer scrolls when the screen is too short for it;
  // the footer stays below the scrolling part, always in reach.
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  body_ = new QWidget;
  column_ = new QVBoxLayout(body_);
  const bool withFooter = !model_.env().flags.previewOnly;
  column_->setContentsMargins(kPadding, kPadding, kPadding,
                              withFooter ? kSectionSpacing / 2 : kPadding);
  column_->setSpacing(kSectionSpacing);
  scroll_ = new OverlayScrollArea(body_);
  outer->addWidget(scroll_, 1);
  buildFixedSections();
  if (withFooter) {
    footerBox_ = new QWidget;
    auto* box = new QVBoxLayout(footerBox_);
    box->setContentsMargins(kPadding, kSectionSpacing - kSectionSpacing / 2, kPadding, kPadding);
    footer_ = new PanelFooter(model_, actions_);
    box->addWidget(footer_);
    outer->addWidget(footerBox_);
    // The edge between the two, only while the content scrolls. Drawn over
    // the footer's top margin, it takes no room: room it took would make
    // content that just fits scroll by a point.
    scrollEdge_ = new Divider(footerBox_);
    scrollEdge_->setGeometry(0, 0, kWidth, 1);
    scrollEdge_->setVisible(false);
    connect(scroll_, &OverlayScrollArea::scrollsChanged, scrollEdge_, &QWidget::setVisible);
  }

  qApp->installEventFilter(this);
  // changed() announces itself with configChanged too; the model redescribes
  // and redraws the curves of a new device itself.
  for (auto signal :
       {&app::Model::deviceChanged, &app::Model::configChanged, &app::Model::macSpeedChanged,
        &app::Model::mouseMacAccelChanged, &app::Model::hasTrackpadChanged,
        &app::Model::presetsChanged, &app::Model::openAtLoginChanged}) {
    connect(&model_, signal, this, &PanelView::reshape);
  }
  connect(&model_, &app::Model::curvesChanged, this, &PanelView::refreshCurves);
  connect(&model_, &app::Model::messageChanged, this, &PanelView::refreshMessage);
  reshape();
  refreshCurves();
  refreshMessage();
}

PanelView::~PanelView() = default;

void PanelView::buildFixedSections() {
  warning_ = new PanelWarning(model_);
  column_->addWidget(warning_);

  devicePicker_ = new SegmentedControl({QStringLiteral("Trackpad"), QStringLiteral("Mouse")});
  devicePicker_->setAccessibleName(QStringLiteral("Device"));
  connect(devicePicker_, &SegmentedControl::activated, this,
          [this](int i) { model_.setDevice(i == 1 ? Device::mouse : Device::trackpad); });
  column_->addWidget(devicePicker_);

  trackpadNote_ = makeTrackpadNote();
  column_->addWidget(trackpadNote_);

  auto* switches = new QWidget;
  auto* switchCol = new QVBoxLayout(switches);
  switchCol->setContentsMargins(0, 0, 0, 0);
  switchCol->setSpacing(kSwitchSpacing);
  accel_ = new SwitchRow(QString(), fonts::body());
  scrollAccel_ = new SwitchRow(QStringLiteral("Scroll Acceleration"), fonts::body());
  scrollAccel_->setToolTip(QStringLiteral(
      "Scrolling gets faster the faster you scroll. Off = fixed distance, like Windows."));
  natural_ = new SwitchRow(QStringLiteral("Natural Scrolling"), fonts::body());
  natural_->setToolTip(QStringLiteral("Content follows your fingers. Off = Windows direction."));
  for (SwitchRow* row : {accel_, scrollAccel_, natural_}) switchCol->addWidget(row);
  connect(accel_, &SwitchRow::toggledByUser, this, [this](bool on) { model_.accelBinding()(on); });
  connect(scrollAccel_, &SwitchRow::toggledByUser, this,
          [this](bool on) { model_.scrollAccelBinding()(on); });
  connect(natural_, &SwitchRow::toggledByUser, this,
          [this](bool on) { model_.naturalBinding()(on); });
  column_->addWidget(switches);

  scrollSpeed_ = new LabeledSlider(sliders::scrollSpeed(), model_.scrollSpeedBinding());
  holdGraphScaleWhileDragging(scrollSpeed_);
  column_->addWidget(scrollSpeed_);

  dpi_ = new DPIField(dpi_fields::mouseDpi(), model_.dpiBinding());
  column_->addWidget(dpi_);

  column_->addWidget(new Divider);

  modePicker_ = new SegmentedControl(
      {QStringLiteral("Mac"), QStringLiteral("Windows"), QStringLiteral("Custom")});
  modePicker_->setAccessibleName(QStringLiteral("Shape"));
  connect(modePicker_, &SegmentedControl::activated, this,
          [this](int i) { model_.setMode(app::kAllModes.at(static_cast<size_t>(i))); });
  column_->addWidget(modePicker_);

  // The mode section and the graph go here, rebuilt as the shape changes.
  equation_ = new EquationView;
  column_->addWidget(equation_);
  message_ = new ThemedLabel(QString(), fonts::caption(), TextRole::secondary);
  message_->setWordWrap(true);
  column_->addWidget(message_);
}

PanelView::Shape PanelView::currentShape() const {
  Shape s;
  s.device = model_.device();
  s.mode = model_.mode();
  s.winDpiShown = model_.config().mouse.winDpi.has_value() || showWinDpi_;
  s.accelOff = model_.cfg().accelOff.value_or(false);
  return s;
}

void PanelView::setShowWinDpi(bool on) {
  if (on == showWinDpi_) return;
  showWinDpi_ = on;
  reshape();
}

void PanelView::reshape() {
  // A rebuild refreshes too; the signals it causes are already handled.
  if (updating_) return;
  updating_ = true;
  const Shape shape = currentShape();
  if (!built_ || !(*built_ == shape)) {
    rebuildModeSection();
    built_ = shape;
  }
  if (graphDevice_ != shape.device) rebuildGraph();
  refreshValues();
  updating_ = false;
}

void PanelView::rebuildModeSection() {
  const int at = column_->indexOf(modePicker_) + 1;
  if (modeSection_) {
    // Deleted later: the click that changed the shape may come from inside.
    modeSection_->hide();
    column_->removeWidget(modeSection_);
    modeSection_->deleteLater();
  }
  modeSection_ = new PanelModeSection(model_, showWinDpi_, [this](bool on) { setShowWinDpi(on); });
  for (LabeledSlider* s : modeSection_->sliders()) holdGraphScaleWhileDragging(s);
  column_->insertWidget(at, modeSection_);
  followInTabOrder(modePicker_, modeSection_);
}

void PanelView::rebuildGraph() {
  const Device d = model_.device();
  const int at = column_->indexOf(modeSection_) + 1;
  if (graph_) {
    graph_->hide();
    column_->removeWidget(graph_);
    graph_->deleteLater();
  }
  graph_ = new ZoomableCurveView(app::graphFullRange(d), graphStart(d));
  graph_->setNaturalScrolling([this](Device device) {
    return device == Device::mouse ? model_.config().mouse.natural
                                   : model_.config().trackpad.natural;
  });
  column_->insertWidget(at, graph_);
  const QList<QWidget*> section = tabChain(modeSection_);
  followInTabOrder(section.isEmpty() ? modePicker_ : section.last(), graph_);
  graphDevice_ = d;
  refreshCurves();
}

void PanelView::holdGraphScaleWhileDragging(LabeledSlider* slider) {
  connect(slider, &LabeledSlider::dragStarted, this, [this] {
    if (graph_) graph_->holdScale();
  });
  connect(slider, &LabeledSlider::dragEnded, this, [this] {
    if (graph_) graph_->releaseScale();
  });
}

void PanelView::refreshValues() {
  const Device d = model_.device();
  const bool mouse = d == Device::mouse;
  const app::Mode mode = model_.mode();
  devicePicker_->setCurrentIndex(mouse ? 1 : 0);
  modePicker_->setCurrentIndex(static_cast<int>(mode));
  trackpadNote_->setVisible(!mouse && !model_.hasTrackpad());

  const bool accelAvailable = model_.accelSwitchAvailable();
  accel_->setTitle(mouse ? QStringLiteral("Mouse Acceleration")
                         : QStringLiteral("Trackpad Acceleration"));
  accel_->setEnabled(accelAvailable);
  accel_->setToolTip(accelAvailable ? QStringLiteral("Pointer gets faster the faster you move.")
                                    : QStringLiteral("Not available for trackpads in macOS."));
  accel_->setChecked(model_.accelBinding()());
  scrollAccel_->setChecked(model_.scrollAccelBinding()());
  natural_->setChecked(model_.naturalBinding()());
  scrollSpeed_->refresh();

  dpi_->setVisible(mouse);
  const bool dpiActive = mode != app::Mode::mac;
  // Disabled is dimmed enough: its colours are macOS's disabled ones.
  dpi_->setEnabled(dpiActive);
  dpi_->refresh();

  modeSection_->refresh();
  const bool custom = mode == app::Mode::custom;
  equation_->setVisible(custom);
  if (custom) equation_->setConfig(model_.cfg());
  message_->setVisible(!custom);
  if (footer_) footer_->refresh();
}

void PanelView::refreshCurves() {
  if (!graph_) return;
  graph_->setVisible(!model_.curves().empty());
  graph_->setCurves(graphCurves(model_), curveMode(model_.mode()));
}

void PanelView::refreshMessage() {
  // The label tells assistive tools its new name itself; a Mac's VoiceOver
  // also hears it said.
  message_->setText(text(model_.message()));
  announce(message_->text());
}

QSizeF PanelView::contentSize() const {
  // As the scroll area lays the content out: never below its minimum,
  // which a wrapped line may round up by a point.
  const auto natural = [](const QWidget* w) {
    const int h = w->hasHeightForWidth() ? w->heightForWidth(kWidth) : w->sizeHint().height();
    return std::max(h, w->minimumSizeHint().height());
  };
  const int h = natural(body_) + (footerBox_ ? natural(footerBox_) : 0);
  return {static_cast<double>(kWidth), static_cast<double>(h)};
}

void PanelView::reportSize() {
  const QSizeF size = contentSize();
  if (reported_ == size) return;
  reported_ = size;
  emit contentSizeChanged(size);
}

bool PanelView::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  // A child's size hint or visibility changed: the layout has run again.
  if (event->type() == QEvent::LayoutRequest) reportSize();
  return handled;
}

bool PanelView::eventFilter(QObject* watched, QEvent* event) {
  // The scrolling part's layout ran again: a section came, went or grew.
  if (watched == body_ && event->type() == QEvent::LayoutRequest) {
    reportSize();
  }
  if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
    auto* w = static_cast<QWidget*>(watched);
    if (w == this || isAncestorOf(w)) EndNumberEditing::post();
  }
  return QWidget::eventFilter(watched, event);
}

void PanelView::mousePressEvent(QMouseEvent* event) {
  // "endNumberEditing" is posted already (eventFilter); a click on the
  // background also ends typing.
  if (QWidget* focused = QApplication::focusWidget(); focused && window()->isAncestorOf(focused)) {
    focused->clearFocus();
  }
  event->accept();
}

}  // namespace quillon::ui
