// On the simulated Mac a click on the item goes through the machine, as on
// a Mac through AppKit: the machine runs the item's action with the click
// as its current event, which LastDevice reads. So a pointer click on the
// simulated menu bar and a click sent through the app channel
// ({"cmd":"click","type":1,"subtype":3}) take the same path.
#include "app/ui/menubar/menu_bar_item.h"
#include "app/ui/menubar/sim_menu_bar.h"
#include "sim/app/app_mac.h"

namespace quillon::ui {
namespace {

// A left mouse-down made with a mouse (NSEvent type 1, subtype 0): all a
// pointer on this display can tell.
constexpr int kLeftMouseDown = 1;
constexpr int kMouseSubtype = 0;

class SimMachineItem final : public StatusItem {
 public:
  explicit SimMachineItem(sim::AppMac& mac) : mac_(mac) {}
  ~SimMachineItem() override { mac_.setStatusItemClickHandler({}); }

  void setSymbol(const QString& name, const QString& description) override {
    bar_.setSymbol(name, description);
  }
  void setAction(std::function<void()> action) override {
    mac_.setStatusItemClickHandler(std::move(action));
    bar_.setAction([&mac = mac_] { mac.clickStatusItem(kLeftMouseDown, kMouseSubtype); });
  }
  void setHighlighted(bool on) override { bar_.setHighlighted(on); }
  bool highlighted() const override { return bar_.highlighted(); }
  QRectF buttonFrame() const override { return bar_.buttonFrame(); }
  QRectF visibleFrame() const override { return bar_.visibleFrame(); }

 private:
  sim::AppMac& mac_;
  SimStatusItem bar_;
};

}  // namespace

std::unique_ptr<StatusItem> makeMenuBarItem(platform::AppBackend& backend) {
  if (auto* mac = dynamic_cast<sim::AppMac*>(&backend))
    return std::make_unique<SimMachineItem>(*mac);
  return std::make_unique<SimStatusItem>();
}

}  // namespace quillon::ui
