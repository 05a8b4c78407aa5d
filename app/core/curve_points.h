#pragma once

#include <QList>
#include <QPointF>

namespace quillon::app {

// A curve as the graph draws it: x = hand speed in mm/s, y = pointer points
// per hand millimetre.
using CurvePoints = QList<QPointF>;

}  // namespace quillon::app
