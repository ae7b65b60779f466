#pragma once

#include "model/network_model.h"
#include "ui/charts/chart_pictures.h"

namespace velko {

// The network drawn to a time scale: events at their early times on the day axis, works
// as arrows of their duration with the free float as a wavy tail, the critical path in
// the top lane, dummies as dashed verticals. Laid out by the program itself in
// O(n log n); only what is in view is painted, and when zoomed far out the texts are
// left out, so it scrolls at the same speed at any size.
ChartPicture timeScaledNetworkPicture(const TNetworkModel& model, int variant);

// Events at this diameter carry 9-pixel texts, readable at 100 %.
inline constexpr double kTimeScaledEventDiameter = 64;

}  // namespace velko
