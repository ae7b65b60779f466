#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace velko {

// Where a window whose frame is `frame` large first opens so that it covers nothing of
// `occupied` (what the user works with in the main window): to its right when the
// screen's available area `screen` has room there, else to its left, else below it;
// the top edges level where the screen allows. With room nowhere it goes to the right
// and is pushed back onto the screen. Returns the frame's top-left corner.
QPoint placeBeside(const QRect& occupied, const QSize& frame, const QRect& screen);

}  // namespace velko
