#include "ui/window_placement.h"

#include <algorithm>

namespace velko {

namespace {

int clampInto(int start, int length, int areaStart, int areaLength) {
  return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

}  // namespace

QPoint placeBeside(const QRect& occupied, const QSize& frame, const QRect& screen) {
  const int top = clampInto(occupied.top(), frame.height(), screen.top(), screen.height());
  const QPoint right(occupied.right() + 1, top);
  if (right.x() + frame.width() <= screen.right() + 1) return right;
  const QPoint left(occupied.left() - frame.width(), top);
  if (left.x() >= screen.left()) return left;
  const QPoint below(clampInto(occupied.left(), frame.width(), screen.left(), screen.width()), occupied.bottom() + 1);
  if (below.y() + frame.height() <= screen.bottom() + 1) return below;
  return {clampInto(right.x(), frame.width(), screen.left(), screen.width()), top};
}

}  // namespace velko
