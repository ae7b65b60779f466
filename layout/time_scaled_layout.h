#pragma once

#include <optional>
#include <vector>

#include "model/network_model.h"
#include "model/schedule_figures.h"

namespace velko {

// The network drawn to a time scale: every event at the x of its early time, every work
// a horizontal segment of its true duration followed by its free float, in horizontal
// lanes. Picture units throughout; y grows downward from the top-left corner.
struct TimeScaledOptions {
  double dayWidth = 24;
  double eventDiameter = 44;
  double laneHeight = 64;   // at least eventDiameter: a circle stays within its lane
  double gap = 8;           // free room between neighbours in a lane
  // How many lanes either side a work or event looks for a free lane before a new lane
  // opens next to it: shorter connectors, more lanes. 0: the nearest free lane anywhere,
  // the fewest lanes.
  int laneReach = 0;
  // The x of day 0; by default room for the first circle and a gap.
  std::optional<double> margin;
};

struct Span {
  double from = 0;
  double to = 0;
  double length() const { return to - from; }
};

// A vertical line at x from y `from` to y `to`, both on circle edges or lane centres.
struct Connector {
  double x = 0;
  double from = 0;
  double to = 0;
};

struct LayoutEvent {
  int lane = 0;
  double x = 0;  // centre
  double y = 0;
};

struct LayoutWork {
  int lane = 0;
  double y = 0;
  Span segment;     // early start to early finish
  Span tail;        // early finish to the x of J: the free float (empty without one)
  // The x-range the work holds in its lane, its label included. When the work shares
  // the lane with its start (end) event, the room begins (ends) a gap away from the
  // circle and the segment is drawn from (to) the circle's edge.
  Span room;
  // Where the label goes, inside room: centred on the segment where it is long enough,
  // from the room's left edge otherwise.
  Span label;
  // False only on the critical chain, whose lane has no room to spare between its
  // events: the label is then cut to the room.
  bool labelFits = true;
  bool startsAtEvent = false;  // in the lane of I: no start connector
  bool endsAtEvent = false;    // in the lane of J: no end connector
  bool inLane = true;          // false for a dummy with no float: only its end connector
  std::optional<Connector> start;  // from I's circle down or up to the work's lane
  std::optional<Connector> end;    // from the work's lane to J's circle (for a dummy, I to J)
};

// Axis-aligned rectangle, edges included.
struct Rect {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

struct VisibleItems {
  std::vector<int> events;  // event numbers, ascending
  std::vector<int> works;   // indices into the input works, ascending
};

// The layout and its query's index, built once: changing the members does not change
// what visible() finds.
class TimeScaledLayout {
 public:
  std::vector<LayoutEvent> events;  // event e at [e - 1]
  std::vector<LayoutWork> works;    // in the order of the input works
  // The works of lane 0, first event to last. Its events sit there too, but for those
  // closer to a neighbour on the chain than a circle and two gaps: they move to another
  // lane, and the chain's line runs on through their x.
  std::vector<int> criticalChain;
  int lanes = 0;
  double width = 0;
  double height = 0;
  double eventRadius = 0;
  double laneHeight = 0;

  // The pieces an item is drawn with: a circle's square; a work's lane band over its
  // run (segment, tail and room) and its connectors. Items with a piece meeting `area`
  // are returned: a binary search per lane in view and per level of a tree over the
  // lanes, then only what lies in the view (and the few pieces that end just before it).
  VisibleItems visible(const Rect& area) const;
  std::vector<Rect> pieces(int work) const;  // the work's pieces, as visible() tests them
  Rect eventBox(int number) const;

  const LayoutEvent* findEvent(int number) const;
  // The first work I-J of the input, or none.
  std::optional<int> findWork(int i, int j) const;

 private:
  friend TimeScaledLayout layoutTimeScaled(int, const std::vector<Extended>&, const std::vector<WorkTiming>&,
                                           const std::vector<double>&, const TimeScaledOptions&);
  void buildIndex();

  // Circles and work runs of each lane, sorted by left edge; rightmost_[k] is the greatest
  // right edge up to k, so a search skips everything left of the view at once.
  struct Piece {
    double left = 0;
    double right = 0;
    int item = 0;  // event number when positive, -(work index + 1) otherwise
  };
  std::vector<int> laneStart_;
  std::vector<Piece> lanePieces_;
  std::vector<double> rightmost_;
  // Connectors sorted by x, listed (by their place in that order, so each list is by x
  // too) in the nodes of a segment tree over the lanes they span and by their top lane:
  // a view finds those crossing its top lane and those starting below it.
  struct Vertical {
    double x = 0;
    double top = 0;
    double bottom = 0;
    int work = 0;
  };
  std::vector<Vertical> verticals_;
  int treeSize_ = 0;
  std::vector<int> nodeStart_;
  std::vector<int> nodeVerticals_;
  std::vector<int> topStart_;
  std::vector<int> topVerticals_;
  std::vector<long long> workKeys_;  // (I, J, index) for findWork
};

// The layout of a computed network: `early` holds event e's early time at [e - 1],
// `labelWidth` each work's label width (empty: no labels; a dummy has none). Throws
// CommandError above the network's limits and std::invalid_argument on inconsistent
// input.
TimeScaledLayout layoutTimeScaled(int eventCount, const std::vector<Extended>& early,
                                  const std::vector<WorkTiming>& works, const std::vector<double>& labelWidth,
                                  const TimeScaledOptions& options);

// The early times of variant record `variant` as layoutTimeScaled takes them.
std::vector<Extended> eventEarlyTimes(const TNetworkModel& model, int variant);

}  // namespace velko
