#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <QList>
#include <QRect>
#include <QSize>

namespace velko {

// Screen coordinates a stored placement may hold; anything beyond is damage, not a place.
inline constexpr std::int32_t kPlacementCoordinateLimit = 32767;

// The normal rectangle a stored "NormPos" (left, top, right, bottom; right and bottom
// exclusive) gives back to a window: with the stored size when the window is
// `sizeable` and that size is not empty, else with `currentSize`. Nothing when a number
// lies beyond ±kPlacementCoordinateLimit, or when the window's top strip, where its
// title bar is taken hold of, would not lie on one of the `availableAreas` (a screen
// gone since the last run, or a damaged store): the window then opens as on a first
// start.
std::optional<QRect> restoredRectangle(const std::array<std::int32_t, 4>& normPos, bool sizeable,
                                       const QSize& currentSize, const QList<QRect>& availableAreas);

// The "NormPos" numbers of a window's normal rectangle, each kept within the range the
// reader accepts.
std::array<std::int32_t, 4> storedRectangle(const QRect& normal);

}  // namespace velko
