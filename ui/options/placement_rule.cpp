#include "ui/options/placement_rule.h"

#include <algorithm>

namespace velko {

namespace {

// Enough of the top strip to take hold of the window.
constexpr int kGripWidth = 50;
constexpr int kGripHeight = 20;

bool reachable(const QRect& rect, const QList<QRect>& availableAreas) {
  const QRect strip(rect.topLeft(), QSize(rect.width(), std::min(rect.height(), kGripHeight)));
  return std::any_of(availableAreas.begin(), availableAreas.end(), [&strip](const QRect& area) {
    const QRect seen = area.intersected(strip);
    return seen.height() == strip.height() && seen.width() >= std::min(strip.width(), kGripWidth);
  });
}

std::int32_t clampCoordinate(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, -kPlacementCoordinateLimit, kPlacementCoordinateLimit));
}

}  // namespace

std::optional<QRect> restoredRectangle(const std::array<std::int32_t, 4>& normPos, bool sizeable,
                                       const QSize& currentSize, const QList<QRect>& availableAreas) {
  for (const std::int32_t value : normPos) {
    if (value < -kPlacementCoordinateLimit || value > kPlacementCoordinateLimit) return std::nullopt;
  }
  // Within the limits neither difference nor the rectangle's edges can overflow.
  const QSize stored(normPos[2] - normPos[0], normPos[3] - normPos[1]);
  const QSize size = sizeable && !stored.isEmpty() ? stored : currentSize;
  const QRect rect(QPoint(normPos[0], normPos[1]), size);
  if (rect.isEmpty() || !reachable(rect, availableAreas)) return std::nullopt;
  return rect;
}

std::array<std::int32_t, 4> storedRectangle(const QRect& normal) {
  const std::int64_t left = normal.left();
  const std::int64_t top = normal.top();
  return {clampCoordinate(left), clampCoordinate(top), clampCoordinate(left + normal.width()),
          clampCoordinate(top + normal.height())};
}

}  // namespace velko
