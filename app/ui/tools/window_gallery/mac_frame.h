#pragma once

// A window's frame as macOS draws it, for pictures of windows taken without
// a window manager: the rounded window with its soft shadow, the 28-point
// title bar with the title centred in 13 semibold, and the three buttons
// (close red; minimise and zoom grey when the window has them disabled,
// absent when hidden).

#include <QImage>
#include <QString>

class QWidget;

namespace quillon::ui::gallery {

enum class TitleButtons { closeOnly, closeWithDisabledOthers };

// The widget's content, drawn at twice the resolution inside a frame.
// An empty title draws no title bar (alerts).
QImage framedWindow(QWidget* content, const QString& title, TitleButtons buttons);

}  // namespace quillon::ui::gallery
