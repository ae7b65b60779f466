#include "layout/time_scaled_layout.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <queue>
#include <set>
#include <span>
#include <stdexcept>
#include <tuple>
#include <utility>

#include "model/command_error.h"

namespace velko {

namespace {

void require(bool condition, const char* what) {
  if (!condition) throw std::invalid_argument(what);
}

void validate(int eventCount, const std::vector<Extended>& early, const std::vector<WorkTiming>& works,
              const std::vector<double>& labelWidth, const TimeScaledOptions& o) {
  require(eventCount >= 0, "time-scaled layout: negative event count");
  if (eventCount > kMaxEvents) throw CommandError(tooManyEvents(eventCount));
  if (works.size() > static_cast<std::size_t>(kMaxWorks)) {
    throw CommandError(tooManyWorks(static_cast<std::int32_t>(std::min<std::size_t>(works.size(), INT32_MAX))));
  }
  require(early.size() == static_cast<std::size_t>(eventCount), "time-scaled layout: one early time per event");
  require(labelWidth.empty() || labelWidth.size() == works.size(), "time-scaled layout: one label width per work");
  auto finite = [](double v) { return std::isfinite(v); };
  require(finite(o.dayWidth) && o.dayWidth > 0, "time-scaled layout: day width");
  require(finite(o.eventDiameter) && o.eventDiameter >= 0, "time-scaled layout: event diameter");
  require(finite(o.laneHeight) && o.laneHeight > 0 && o.laneHeight >= o.eventDiameter,
          "time-scaled layout: lane height below the event diameter");
  require(finite(o.gap) && o.gap >= 0, "time-scaled layout: gap");
  require(o.laneReach >= 0, "time-scaled layout: lane reach");
  require(!o.margin || finite(*o.margin), "time-scaled layout: margin");
  for (Extended t : early) require(std::isfinite(static_cast<double>(t)), "time-scaled layout: early time");
  for (double w : labelWidth) require(finite(w) && w >= 0, "time-scaled layout: label width");
  for (const WorkTiming& w : works) {
    require(w.I >= 1 && w.I <= eventCount && w.J >= 1 && w.J <= eventCount, "time-scaled layout: work's event");
    require(std::isfinite(static_cast<double>(w.duration)) && w.duration >= 0, "time-scaled layout: duration");
  }
}

// Lists of indices grouped by a key 0..keys-1, in the order they were added.
struct Groups {
  std::vector<int> start;
  std::vector<int> items;
  template <typename KeyOf>
  Groups(int keys, int count, KeyOf keyOf) : start(static_cast<std::size_t>(keys) + 1, 0) {
    for (int k = 0; k < count; ++k) {
      const int key = keyOf(k);
      if (key >= 0) ++start[static_cast<std::size_t>(key) + 1];
    }
    for (int k = 0; k < keys; ++k) start[k + 1] += start[k];
    items.resize(static_cast<std::size_t>(start[keys]));
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (int k = 0; k < count; ++k) {
      const int key = keyOf(k);
      if (key >= 0) items[static_cast<std::size_t>(fill[key]++)] = k;
    }
  }
  std::span<int> of(int key) { return {items.data() + start[key], items.data() + start[key + 1]}; }
};

// The lanes while the events are swept by x. A lane is taken (held by an event whose
// outgoing works are not placed yet, waiting for the event its last work may end at, or
// the critical chain's) or busy up to an x. Lanes are kept in their order down the
// picture as a list, so a new lane can open next to the one it serves.
//
// With a reach, a work looks for a free lane only that many lanes either side and
// otherwise opens a new one below: a free lane far away would cost a long connector.
// Without one, it takes the nearest free lane anywhere (the fewest lanes): free lanes are
// then kept ordered, so the choice is O(log n), and busy ones in a heap by the x they
// are free from; new lanes open at the bottom.
class Lanes {
 public:
  Lanes(double gap, int reach, bool firstTaken) : gap_(gap), reach_(reach) {
    if (firstTaken) open(-1);
  }

  int take(int wanted, double key, int after) {
    if (count() == 0) return open(-1);
    if (reach_ == 0) {
      while (!busy_.empty() && busy_.top().first + gap_ <= key) {
        free_.insert(busy_.top().second);
        busy_.pop();
      }
      if (free_.empty()) return open(last_);
      auto below = free_.lower_bound(wanted);
      auto chosen = below;
      if (below == free_.end()) {
        chosen = std::prev(below);
      } else if (below != free_.begin()) {
        auto above = std::prev(below);
        if (wanted - *above <= *below - wanted) chosen = above;
      }
      const int lane = *chosen;
      free_.erase(chosen);
      taken_[lane] = 1;
      return lane;
    }
    if (isFree(wanted, key)) return claim(wanted);
    int up = wanted;
    int down = wanted;
    for (int step = 0; step < reach_; ++step) {
      if (up >= 0) up = previous_[up];
      if (down >= 0) down = next_[down];
      if (up >= 0 && isFree(up, key)) return claim(up);
      if (down >= 0 && isFree(down, key)) return claim(down);
    }
    return open(after);
  }
  void busyUpTo(int lane, double x) {
    taken_[lane] = 0;
    end_[lane] = x;
    if (reach_ == 0) busy_.emplace(x, lane);
  }
  int count() const { return static_cast<int>(end_.size()); }
  // Each lane's place from the top.
  std::vector<int> places() const {
    std::vector<int> place(end_.size());
    int k = 0;
    for (int lane = count() > 0 ? 0 : -1; lane >= 0; lane = next_[lane]) place[lane] = k++;
    return place;
  }

 private:
  bool isFree(int lane, double key) const { return !taken_[lane] && end_[lane] + gap_ <= key; }
  int claim(int lane) {
    taken_[lane] = 1;
    return lane;
  }
  // A new lane below `after` (on top when there is none yet).
  int open(int after) {
    const int lane = count();
    end_.push_back(0);
    taken_.push_back(1);
    previous_.push_back(after);
    next_.push_back(after >= 0 ? next_[after] : -1);
    if (after >= 0) {
      if (next_[after] >= 0) previous_[next_[after]] = lane;
      next_[after] = lane;
    }
    if (after == last_) last_ = lane;
    return lane;
  }

  double gap_;
  int reach_;
  std::vector<double> end_;
  std::vector<char> taken_;
  std::vector<int> previous_;
  std::vector<int> next_;
  int last_ = -1;
  std::set<int> free_;
  using Entry = std::pair<double, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> busy_;
};

int median(std::vector<int>& values) {
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>((values.size() - 1) / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

}  // namespace

TimeScaledLayout layoutTimeScaled(int eventCount, const std::vector<Extended>& early,
                                  const std::vector<WorkTiming>& works, const std::vector<double>& labelWidth,
                                  const TimeScaledOptions& options) {
  validate(eventCount, early, works, labelWidth, options);
  const int E = eventCount;
  const int W = static_cast<int>(works.size());
  const double r = options.eventDiameter / 2;
  const double g = options.gap;
  const double H = options.laneHeight;
  const double margin = options.margin.value_or(r + g);

  TimeScaledLayout out;
  out.eventRadius = r;
  out.laneHeight = H;
  out.events.resize(static_cast<std::size_t>(E));
  out.works.resize(static_cast<std::size_t>(W));
  auto ev = [&](int number) -> LayoutEvent& { return out.events[static_cast<std::size_t>(number - 1)]; };
  for (int e = 1; e <= E; ++e) ev(e).x = static_cast<double>(early[e - 1]) * options.dayWidth + margin;

  // Per work: where its line ends (the x of J, or its finish if that lies later) and
  // its label.
  std::vector<double> endX(static_cast<std::size_t>(W));
  std::vector<double> label(static_cast<std::size_t>(W), 0.0);
  for (int w = 0; w < W; ++w) {
    const WorkTiming& t = works[w];
    LayoutWork& lw = out.works[w];
    lw.segment.from = ev(t.I).x;
    lw.segment.to = lw.segment.from + static_cast<double>(t.duration) * options.dayWidth;
    lw.tail = {lw.segment.to, t.freeFloat > 0 ? std::max(lw.segment.to, ev(t.J).x) : lw.segment.to};
    endX[w] = std::max(ev(t.J).x, lw.segment.to);
    if (!labelWidth.empty() && t.duration > 0) label[w] = labelWidth[w];
  }

  // Outgoing works of each event by the number of their end event: planners number
  // events down the sheet, so a fan of works takes its lanes in that order.
  Groups outgoing(E + 1, W, [&](int w) { return works[w].I; });
  for (int e = 1; e <= E; ++e) {
    std::span<int> list = outgoing.of(e);
    std::sort(list.begin(), list.end(),
              [&](int a, int b) { return std::tie(works[a].J, a) < std::tie(works[b].J, b); });
  }
  Groups incoming(E + 1, W, [&](int w) { return works[w].J; });

  // One critical chain: from the latest event (the highest number of equals) back along
  // critical works, then forward from the earliest event that reaches it.
  std::vector<int> chainEvents;
  std::vector<char> onChain(static_cast<std::size_t>(W), 0);
  if (E > 0) {
    int last = 1;
    for (int e = 2; e <= E; ++e) {
      if (early[e - 1] >= early[last - 1]) last = e;
    }
    std::vector<char> reaches(static_cast<std::size_t>(E) + 1, 0);
    std::vector<int> queue{last};
    reaches[last] = 1;
    for (std::size_t k = 0; k < queue.size(); ++k) {
      for (int w : incoming.of(queue[k])) {
        const int i = works[w].I;
        if (works[w].critical && !reaches[i]) {
          reaches[i] = 1;
          queue.push_back(i);
        }
      }
    }
    int first = last;
    for (int e = 1; e <= E; ++e) {
      if (reaches[e] && early[e - 1] < early[first - 1]) first = e;
    }
    for (int e = 1; e < first; ++e) {
      if (reaches[e] && early[e - 1] == early[first - 1]) {
        first = e;
        break;
      }
    }
    std::vector<char> visited(static_cast<std::size_t>(E) + 1, 0);
    int at = first;
    visited[at] = 1;
    chainEvents.push_back(at);
    while (at != last) {
      int next = -1;
      for (int w : outgoing.of(at)) {
        const WorkTiming& t = works[w];
        if (t.critical && reaches[t.J] && !visited[t.J]) {
          next = w;
          break;
        }
      }
      if (next < 0) break;  // a loop in the data: the chain stops short
      onChain[next] = 1;
      out.criticalChain.push_back(next);
      at = works[next].J;
      visited[at] = 1;
      chainEvents.push_back(at);
    }
  }
  const bool chainLane = !out.criticalChain.empty();

  // Lane 0 belongs to the chain. Its events sit there while their circles leave room
  // for the works between; one too close to its neighbour moves to another lane, and the
  // chain's line runs on through its x.
  std::vector<char> inLaneZero(static_cast<std::size_t>(E) + 1, 0);
  if (chainLane) {
    double cursor = -std::numeric_limits<double>::infinity();
    for (std::size_t k = 0; k < chainEvents.size(); ++k) {
      const double x = ev(chainEvents[k]).x;
      const bool roomBefore = x - r - g >= cursor;
      const bool roomAfter = k + 1 == chainEvents.size() || ev(chainEvents[k + 1]).x >= x + r + g;
      inLaneZero[chainEvents[k]] = roomBefore && roomAfter;
      cursor = inLaneZero[chainEvents[k]] ? x + r + g : x;
    }
  }

  // The sweep: each event's circle at its left edge, then its outgoing works at its x.
  struct Step {
    double key;
    int kind;  // 0 circle, 1 outgoing works
    int event;
    bool operator<(const Step& o) const { return std::tie(key, kind, event) < std::tie(o.key, o.kind, o.event); }
  };
  std::vector<Step> steps;
  steps.reserve(2 * static_cast<std::size_t>(E));
  for (int e = 1; e <= E; ++e) {
    steps.push_back({ev(e).x - r, 0, e});
    steps.push_back({ev(e).x, 1, e});
  }
  std::sort(steps.begin(), steps.end());

  Lanes lanes(g, options.laneReach, chainLane);
  std::vector<char> eventPlaced(static_cast<std::size_t>(E) + 1, 0);
  std::vector<char> workPlaced(static_cast<std::size_t>(W), 0);
  std::vector<std::vector<int>> waiting(static_cast<std::size_t>(E) + 1);  // works that may end at the circle
  std::vector<int> around;

  auto placeRoom = [&](int w, int lane, double from) {
    LayoutWork& lw = out.works[w];
    const int j = works[w].J;
    lw.lane = lane;
    lw.room.from = from;
    workPlaced[w] = 1;
    const double beforeJ = ev(j).x - r - g;
    if (!eventPlaced[j] && !inLaneZero[j] && from + label[w] <= beforeJ) {
      lw.room.to = beforeJ;  // J may take this lane when its turn comes
      waiting[j].push_back(w);
    } else {
      lw.room.to = std::max(endX[w], from + label[w]);
      lanes.busyUpTo(lane, lw.room.to);
    }
  };

  for (const Step& step : steps) {
    const int e = step.event;
    LayoutEvent& event = ev(e);
    if (step.kind == 0) {
      std::vector<int>& wait = waiting[e];
      int chosen = -1;
      if (inLaneZero[e]) {
        event.lane = 0;
      } else if (!wait.empty()) {
        around.clear();
        for (int w : wait) around.push_back(out.works[w].lane);
        event.lane = median(around);
        for (int w : wait) {
          if (out.works[w].lane == event.lane) chosen = w;
        }
      } else {
        around.clear();
        for (int w : incoming.of(e)) {
          if (workPlaced[w]) {
            around.push_back(out.works[w].lane);
          } else if (eventPlaced[works[w].I]) {
            around.push_back(ev(works[w].I).lane);
          }
        }
        const int wanted = around.empty() ? 0 : median(around);
        event.lane = lanes.take(wanted, step.key, wanted);
      }
      for (int w : wait) {
        if (w == chosen) continue;
        LayoutWork& lw = out.works[w];
        lw.room.to = std::max(endX[w], lw.room.from + label[w]);
        lanes.busyUpTo(lw.lane, lw.room.to);
      }
      wait.clear();
      wait.shrink_to_fit();
      eventPlaced[e] = 1;
      continue;
    }

    // The work that continues the event's lane: the one ending soonest, which gives the
    // lane back first, of those that get out of the circle's way.
    const bool ownLane = !(chainLane && event.lane == 0);
    int continuing = -1;
    for (int w : outgoing.of(e)) {
      if (!ownLane || onChain[w] || endX[w] < event.x + r + g) continue;
      if (continuing < 0 || std::tie(endX[w], w) < std::tie(endX[continuing], continuing)) continuing = w;
    }
    const int previousCount = lanes.count();
    int below = event.lane;
    for (int w : outgoing.of(e)) {
      const WorkTiming& t = works[w];
      LayoutWork& lw = out.works[w];
      if (onChain[w]) {
        lw.lane = 0;
        lw.room.from = inLaneZero[e] ? event.x + r + g : event.x;
        lw.room.to = std::max(lw.room.from, inLaneZero[t.J] ? ev(t.J).x - r - g : ev(t.J).x);
        workPlaced[w] = 1;
      } else if (endX[w] <= event.x) {
        lw.lane = event.lane;  // a dummy without float: an arrow between the circles only
        lw.inLane = false;
        lw.room = {event.x, event.x};
        workPlaced[w] = 1;
      } else if (w == continuing) {
        placeRoom(w, event.lane, event.x + r + g);
      } else {
        const int lane = lanes.take(event.lane, step.key, below);
        if (lane >= previousCount) below = lane;  // a fan opens its new lanes in order
        placeRoom(w, lane, event.x);
      }
    }
    if (ownLane && continuing < 0) lanes.busyUpTo(event.lane, event.x + r);
  }
  out.lanes = lanes.count();
  const std::vector<int> place = lanes.places();
  for (LayoutEvent& event : out.events) event.lane = place[event.lane];
  for (LayoutWork& work : out.works) work.lane = place[work.lane];

  // Connectors, labels and the picture's size.
  auto laneY = [&](int lane) { return (lane + 0.5) * H; };
  auto edgeToward = [&](const LayoutEvent& from, double y) { return y > from.y ? from.y + r : from.y - r; };
  double right = 0;
  for (LayoutEvent& event : out.events) {
    event.y = laneY(event.lane);
    right = std::max(right, event.x + r);
  }
  for (int w = 0; w < W; ++w) {
    const WorkTiming& t = works[w];
    LayoutWork& lw = out.works[w];
    const LayoutEvent& i = ev(t.I);
    const LayoutEvent& j = ev(t.J);
    lw.y = laneY(lw.lane);
    if (!lw.inLane) {
      if (t.I != t.J) lw.end = Connector{i.x, edgeToward(i, j.y), edgeToward(j, i.y)};
      continue;
    }
    lw.startsAtEvent = lw.lane == i.lane;
    lw.endsAtEvent = lw.lane == j.lane;
    if (!lw.startsAtEvent) lw.start = Connector{i.x, edgeToward(i, lw.y), lw.y};
    if (!lw.endsAtEvent) lw.end = Connector{j.x, lw.y, edgeToward(j, lw.y)};
    const double room = lw.room.length();
    const double width = std::min(label[w], room);
    lw.labelFits = label[w] <= room;
    const double from = std::max(lw.segment.from, lw.room.from);
    const double to = std::min(lw.segment.to, lw.room.to);
    if (to - from >= width) {
      const double middle = (from + to) / 2;
      lw.label = {middle - width / 2, middle + width / 2};
    } else {
      lw.label = {lw.room.from, lw.room.from + width};
    }
    right = std::max({right, lw.room.to, lw.segment.to, lw.tail.to});
  }
  out.width = E > 0 ? right + margin : 0;
  out.height = out.lanes * H;
  out.buildIndex();
  out.workKeys_.reserve(static_cast<std::size_t>(W));
  for (int w = 0; w < W; ++w) {
    out.workKeys_.push_back((static_cast<long long>(works[w].I) << 16 | works[w].J) << 17 | w);
  }
  std::sort(out.workKeys_.begin(), out.workKeys_.end());
  return out;
}

namespace {

// A work's run in its lane: segment, tail and room.
double runLeft(const LayoutWork& w) { return std::min(w.segment.from, w.room.from); }
double runRight(const LayoutWork& w) { return std::max({w.room.to, w.segment.to, w.tail.to}); }

}  // namespace

Rect TimeScaledLayout::eventBox(int number) const {
  const LayoutEvent& e = events[static_cast<std::size_t>(number - 1)];
  return {e.x - eventRadius, e.y - eventRadius, e.x + eventRadius, e.y + eventRadius};
}

std::vector<Rect> TimeScaledLayout::pieces(int work) const {
  const LayoutWork& w = works[static_cast<std::size_t>(work)];
  std::vector<Rect> result;
  if (w.inLane) result.push_back({runLeft(w), w.lane * laneHeight, runRight(w), (w.lane + 1) * laneHeight});
  for (const std::optional<Connector>& c : {w.start, w.end}) {
    if (c) result.push_back({c->x, std::min(c->from, c->to), c->x, std::max(c->from, c->to)});
  }
  return result;
}

void TimeScaledLayout::buildIndex() {
  const int L = lanes;
  // Circles and runs by lane.
  std::vector<std::pair<int, Piece>> all;
  all.reserve(events.size() + works.size());
  for (std::size_t e = 0; e < events.size(); ++e) {
    const LayoutEvent& event = events[e];
    all.push_back({event.lane, {event.x - eventRadius, event.x + eventRadius, static_cast<int>(e) + 1}});
  }
  std::vector<Vertical> verticals;
  std::vector<std::pair<int, int>> spans;  // lanes of each vertical, top to bottom
  auto laneOf = [&](double y) { return std::clamp(static_cast<int>(std::floor(y / laneHeight)), 0, L - 1); };
  for (std::size_t w = 0; w < works.size(); ++w) {
    const LayoutWork& work = works[w];
    if (work.inLane) {
      all.push_back({work.lane, {runLeft(work), runRight(work), -static_cast<int>(w) - 1}});
    }
    for (const std::optional<Connector>& c : {work.start, work.end}) {
      if (!c) continue;
      const double top = std::min(c->from, c->to);
      const double bottom = std::max(c->from, c->to);
      verticals.push_back({c->x, top, bottom, static_cast<int>(w)});
      spans.emplace_back(laneOf(top), laneOf(bottom));
    }
  }
  std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
    return std::tie(a.first, a.second.left, a.second.right, a.second.item) <
           std::tie(b.first, b.second.left, b.second.right, b.second.item);
  });
  laneStart_.assign(static_cast<std::size_t>(L) + 1, 0);
  lanePieces_.clear();
  rightmost_.clear();
  for (const auto& [lane, piece] : all) {
    ++laneStart_[static_cast<std::size_t>(lane) + 1];
    const bool first = lanePieces_.empty() || all[lanePieces_.size() - 1].first != lane;
    rightmost_.push_back(first ? piece.right : std::max(rightmost_.back(), piece.right));
    lanePieces_.push_back(piece);
  }
  for (int k = 0; k < L; ++k) laneStart_[k + 1] += laneStart_[k];

  // Verticals: in the segment tree's nodes covering their lanes, and by their top lane.
  // Sorted by x once; the counting sorts into nodes and lanes keep that order.
  std::vector<int> order(verticals.size());
  for (std::size_t v = 0; v < order.size(); ++v) order[v] = static_cast<int>(v);
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    return std::tie(verticals[a].x, verticals[a].work, verticals[a].top) <
           std::tie(verticals[b].x, verticals[b].work, verticals[b].top);
  });
  treeSize_ = 1;
  while (treeSize_ < std::max(L, 1)) treeSize_ *= 2;
  auto nodesOf = [&](int v, auto&& visit) {
    int lo = spans[v].first + treeSize_;
    int hi = spans[v].second + treeSize_ + 1;
    while (lo < hi) {
      if (lo & 1) visit(lo++);
      if (hi & 1) visit(--hi);
      lo >>= 1;
      hi >>= 1;
    }
  };
  auto distribute = [&](int keys, auto&& keysOf, std::vector<int>& start, std::vector<int>& items) {
    start.assign(static_cast<std::size_t>(keys) + 1, 0);
    for (int v : order) keysOf(v, [&](int key) { ++start[static_cast<std::size_t>(key) + 1]; });
    for (int k = 0; k < keys; ++k) start[k + 1] += start[k];
    items.resize(static_cast<std::size_t>(start[keys]));
    std::vector<int> next(start.begin(), start.end() - 1);
    for (std::size_t k = 0; k < order.size(); ++k) {
      keysOf(order[k], [&](int key) { items[static_cast<std::size_t>(next[key]++)] = static_cast<int>(k); });
    }
  };
  distribute(2 * treeSize_, nodesOf, nodeStart_, nodeVerticals_);
  distribute(std::max(L, 1), [&](int v, auto&& visit) { visit(spans[v].first); }, topStart_, topVerticals_);
  verticals_.resize(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) verticals_[k] = verticals[static_cast<std::size_t>(order[k])];
}

namespace {

bool meets(double left, double top, double right, double bottom, const Rect& area) {
  return left <= area.right && right >= area.left && top <= area.bottom && bottom >= area.top;
}

}  // namespace

VisibleItems TimeScaledLayout::visible(const Rect& given) const {
  VisibleItems found;
  Rect area = given;
  if (area.left > area.right) std::swap(area.left, area.right);
  if (area.top > area.bottom) std::swap(area.top, area.bottom);
  // Also refuses a view with a NaN edge, which meets nothing.
  if (lanes == 0 || !(area.bottom >= 0 && area.top <= height && area.left <= area.right)) return found;
  // One lane more each side: a piece on a band's edge belongs to either neighbour.
  const double lastLane = lanes - 1;
  const int first = static_cast<int>(std::clamp(std::floor(area.top / laneHeight) - 1, 0.0, lastLane));
  const int last = static_cast<int>(std::clamp(std::floor(area.bottom / laneHeight) + 1, 0.0, lastLane));

  for (int lane = first; lane <= last; ++lane) {
    const auto begin = rightmost_.begin() + laneStart_[lane];
    const auto end = rightmost_.begin() + laneStart_[lane + 1];
    for (auto at = std::lower_bound(begin, end, area.left); at != end; ++at) {
      const Piece& p = lanePieces_[static_cast<std::size_t>(at - rightmost_.begin())];
      if (p.left > area.right) break;
      if (p.right < area.left) continue;
      if (p.item > 0) {
        const Rect box = eventBox(p.item);
        if (meets(box.left, box.top, box.right, box.bottom, area)) found.events.push_back(p.item);
      } else if (meets(p.left, lane * laneHeight, p.right, (lane + 1) * laneHeight, area)) {
        found.works.push_back(-p.item - 1);
      }
    }
  }
  auto collect = [&](const std::vector<int>& items, int from, int to) {
    auto end = items.begin() + to;
    auto at = std::lower_bound(items.begin() + from, end, area.left,
                               [&](int v, double x) { return verticals_[static_cast<std::size_t>(v)].x < x; });
    for (; at != end; ++at) {
      const Vertical& v = verticals_[static_cast<std::size_t>(*at)];
      if (v.x > area.right) break;
      if (v.top <= area.bottom && v.bottom >= area.top) found.works.push_back(v.work);
    }
  };
  for (int node = first + treeSize_; node >= 1; node >>= 1) {
    collect(nodeVerticals_, nodeStart_[node], nodeStart_[node + 1]);
  }
  for (int lane = first + 1; lane <= last; ++lane) collect(topVerticals_, topStart_[lane], topStart_[lane + 1]);

  std::sort(found.events.begin(), found.events.end());
  std::sort(found.works.begin(), found.works.end());
  found.works.erase(std::unique(found.works.begin(), found.works.end()), found.works.end());
  return found;
}

const LayoutEvent* TimeScaledLayout::findEvent(int number) const {
  if (number < 1 || number > static_cast<int>(events.size())) return nullptr;
  return &events[static_cast<std::size_t>(number - 1)];
}

std::optional<int> TimeScaledLayout::findWork(int i, int j) const {
  if (i < 1 || j < 1 || i > kMaxEvents || j > kMaxEvents) return std::nullopt;
  const long long pair = (static_cast<long long>(i) << 16 | j) << 17;
  const auto at = std::lower_bound(workKeys_.begin(), workKeys_.end(), pair);
  if (at == workKeys_.end() || (*at >> 17) != (pair >> 17)) return std::nullopt;
  return static_cast<int>(*at & ((1 << 17) - 1));
}

std::vector<Extended> eventEarlyTimes(const TNetworkModel& model, int variant) {
  const TVariantResult& v = model.VariantResults[variant];
  std::vector<Extended> early;
  early.reserve(static_cast<std::size_t>(std::max(model.RunEventCount, 0)));
  for (int e = 1; e <= model.RunEventCount; ++e) early.push_back(v.EventEarly[e]);
  return early;
}

}  // namespace velko
