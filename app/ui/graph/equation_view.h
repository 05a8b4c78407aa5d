#pragma once

// The custom formula with the device's current numbers, each number in its
// term's colour:
//   pointer = 10 × min(1 + 0.60 · x^1.00, 3.0×)
//   x = (v − 20) / 100,  v = hand speed (mm/s)

#include <QWidget>
#include <optional>
#include <vector>

#include "app/ui/style/theme.h"
#include "common/config.h"

namespace quillon::ui {

struct EquationRun {
  QString text;
  std::optional<Term> term = std::nullopt;  // none: the line's own colour
};
struct EquationLine {
  std::vector<EquationRun> runs;
  bool secondary = false;  // drawn in the secondary colour
  QString text() const;
};

// The value written with decimals places ("%.2f" for 2).
QString equationNumber(double v, int decimals);
std::vector<EquationLine> equationLines(const DeviceConfig& c);

class EquationView : public QWidget {
  Q_OBJECT
 public:
  explicit EquationView(const DeviceConfig& c = {}, QWidget* parent = nullptr);
  void setConfig(const DeviceConfig& c);
  const std::vector<EquationLine>& lines() const { return lines_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<EquationLine> lines_;
};

}  // namespace quillon::ui
