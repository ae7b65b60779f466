#pragma once

#include <vector>

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include "model/schedule_figures.h"

namespace velko {

// Diameter of an event circle in picture units (1 unit = 1 point = 1 pixel at 100 %).
// Wide enough for times of five digits and a decimal in the side sectors.
inline constexpr double kEventDiameter = 96.0;
// Pixel size of the works' labels. The layout reserves room for them at a larger size,
// which keeps a gap between a label and the arrows beside it.
inline constexpr int kWorkLabelPixels = 12;
inline constexpr int kWorkLabelRoomPixels = 17;

struct EventPlace {
  int number = 0;
  QPointF centre;
};

// Where one work is drawn: a cubic Bezier chain (first point, then three points per
// segment) ending at the base of the arrowhead, whose point is `arrowTip`.
struct WorkRoute {
  int I = 0;
  int J = 0;
  std::size_t work = 0;  // index into the works the layout was made from
  std::vector<QPointF> spline;
  QPointF arrowTip;
  QRectF bounds;  // of the curve and its arrowhead, with room for the stroke
  QPointF labelCentre;
  QSizeF labelSize;
};

struct NetworkLayout {
  QSizeF size;  // the picture's extent, margins included; y grows downward
  std::vector<EventPlace> events;  // events 1..eventCount in order
  std::vector<WorkRoute> works;
};

// The two lines of a work's label: "t / n" and its identifier.
QString workLabelFirstLine(const WorkTiming& work);
QString workLabelSecondLine(const WorkTiming& work);

// Left-to-right layout of the network by Graphviz dot: events 1..eventCount as
// circles, every work as an arrow with its label placed clear of circles and other
// labels. Refuses an event count beyond the tables or a work naming an event outside
// 1..eventCount.
NetworkLayout layoutNetwork(int eventCount, const std::vector<WorkTiming>& works);

}  // namespace velko
