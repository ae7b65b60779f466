#include "layout/time_scaled_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/building_network.h"
#include "model/command_error.h"
#include "model/commands.h"
#include "network_builder.h"

namespace velko {
namespace {

using testing::Network;

struct Laid {
  std::vector<Extended> early;
  std::vector<WorkTiming> works;
  TimeScaledLayout layout;
};

Laid layOut(const WorksInput& input, const TimeScaledOptions& options, double labelWidth) {
  auto model = std::make_unique<TNetworkModel>();
  calculateVariants(*model, input);
  Laid laid;
  laid.early = eventEarlyTimes(*model, 1);
  laid.works = workTimings(*model, 1);
  laid.layout = layoutTimeScaled(static_cast<int>(laid.early.size()), laid.early, laid.works,
                                 std::vector<double>(laid.works.size(), labelWidth), options);
  return laid;
}

Laid layOut(const bench::GeneratedNetwork& network, const TimeScaledOptions& options, double labelWidth) {
  const WorksTable table = bench::worksTable(network);
  return layOut(TableInput(std::to_string(network.events), std::to_string(network.works.size()), table), options,
                labelWidth);
}

constexpr double kTolerance = 1e-7;

// What every layout keeps: events at their early times, works of their true length,
// nothing overlapping in a lane, the chain in lane 0, connectors where lanes differ.
void expectSound(const Laid& laid, const TimeScaledOptions& o, double labelWidth) {
  const TimeScaledLayout& l = laid.layout;
  const double r = o.eventDiameter / 2;
  const double margin = o.margin.value_or(r + o.gap);
  ASSERT_EQ(l.events.size(), laid.early.size());
  ASSERT_EQ(l.works.size(), laid.works.size());
  for (std::size_t e = 0; e < l.events.size(); ++e) {
    ASSERT_NEAR(l.events[e].x, static_cast<double>(laid.early[e]) * o.dayWidth + margin, kTolerance) << e + 1;
    ASSERT_EQ(l.events[e].y, (l.events[e].lane + 0.5) * o.laneHeight);
    ASSERT_EQ(l.findEvent(static_cast<int>(e) + 1), &l.events[e]);
  }

  // Each lane's circles and rooms by x: a gap between neighbours, except two chain
  // works meeting at an event moved off lane 0.
  struct Held {
    double from, to;
    bool chain;
  };
  std::vector<std::vector<Held>> lanes(static_cast<std::size_t>(l.lanes));
  for (const LayoutEvent& e : l.events) lanes.at(static_cast<std::size_t>(e.lane)).push_back({e.x - r, e.x + r, false});
  std::vector<char> chain(l.works.size(), 0);
  for (int w : l.criticalChain) chain[static_cast<std::size_t>(w)] = 1;

  for (std::size_t k = 0; k < l.works.size(); ++k) {
    const WorkTiming& t = laid.works[k];
    const LayoutWork& w = l.works[k];
    const LayoutEvent& i = l.events[static_cast<std::size_t>(t.I - 1)];
    const LayoutEvent& j = l.events[static_cast<std::size_t>(t.J - 1)];
    ASSERT_EQ(w.segment.from, i.x) << k;
    ASSERT_NEAR(w.segment.length(), static_cast<double>(t.duration) * o.dayWidth, kTolerance) << k;
    ASSERT_EQ(w.tail.from, w.segment.to);
    ASSERT_NEAR(w.tail.to, t.freeFloat > 0 ? j.x : w.segment.to, kTolerance) << k;
    const std::optional<int> found = l.findWork(t.I, t.J);
    ASSERT_TRUE(found && laid.works[static_cast<std::size_t>(*found)].I == t.I &&
                laid.works[static_cast<std::size_t>(*found)].J == t.J);
    if (!w.inLane) {
      ASSERT_TRUE(t.duration == 0 && !w.start && w.end && w.end->x == i.x) << k;
      continue;
    }
    lanes.at(static_cast<std::size_t>(w.lane)).push_back({w.room.from, w.room.to, chain[k] != 0});
    ASSERT_EQ(w.startsAtEvent, w.lane == i.lane);
    ASSERT_EQ(w.start.has_value(), !w.startsAtEvent);
    ASSERT_EQ(w.end.has_value(), !w.endsAtEvent);
    ASSERT_EQ(w.endsAtEvent, w.lane == j.lane);
    if (w.start) {
      ASSERT_TRUE(w.start->x == i.x && w.start->to == w.y);
    }
    if (w.end) {
      ASSERT_TRUE(w.end->x == j.x && w.end->from == w.y);
    }
    ASSERT_TRUE(w.label.from >= w.room.from - kTolerance && w.label.to <= w.room.to + kTolerance) << k;
    const double asked = t.duration > 0 ? labelWidth : 0;
    ASSERT_TRUE(chain[k] || w.labelFits) << k;
    if (w.labelFits) {
      ASSERT_NEAR(w.label.length(), asked, kTolerance) << k;
    }
  }
  for (std::vector<Held>& lane : lanes) {
    std::sort(lane.begin(), lane.end(), [](const Held& a, const Held& b) { return a.from < b.from; });
    for (std::size_t k = 1; k < lane.size(); ++k) {
      const double room = lane[k].chain && lane[k - 1].chain ? 0 : o.gap;
      ASSERT_GE(lane[k].from - lane[k - 1].to, room - kTolerance) << &lane - lanes.data() << " at " << lane[k].from;
    }
  }

  // The chain: critical works in lane 0, one after another, earliest event to latest.
  if (laid.works.empty()) return;
  ASSERT_FALSE(l.criticalChain.empty());
  const Extended latest = *std::max_element(laid.early.begin(), laid.early.end());
  EXPECT_EQ(laid.early[static_cast<std::size_t>(laid.works[l.criticalChain.front()].I - 1)], 0);
  EXPECT_EQ(laid.early[static_cast<std::size_t>(laid.works[l.criticalChain.back()].J - 1)], latest);
  for (std::size_t k = 0; k < l.criticalChain.size(); ++k) {
    const std::size_t w = static_cast<std::size_t>(l.criticalChain[k]);
    ASSERT_TRUE(laid.works[w].critical && l.works[w].lane == 0) << w;
    if (k > 0) {
      ASSERT_EQ(laid.works[w].I, laid.works[static_cast<std::size_t>(l.criticalChain[k - 1])].J);
    }
  }
}

// The query against every item's pieces, on views of several sizes over the picture.
void expectQueryExact(const TimeScaledLayout& l, int views) {
  std::mt19937_64 random(5);
  std::uniform_real_distribution<double> unit(0, 1);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<Rect> areas{{0, 0, l.width, l.height}, {-5, -5, -1, -1}, {0, nan, l.width, 1e300}};
  for (int k = 0; k < views; ++k) {
    const double w = l.width * std::pow(unit(random), 3);
    const double h = l.height * std::pow(unit(random), 2);
    const double x = unit(random) * l.width;
    const double y = unit(random) * l.height;
    areas.push_back({x, y, x + w, y + h});
  }
  for (const Rect& a : areas) {
    auto meets = [&](const Rect& b) {
      return b.left <= a.right && b.right >= a.left && b.top <= a.bottom && b.bottom >= a.top;
    };
    VisibleItems expected;
    for (int e = 1; e <= static_cast<int>(l.events.size()); ++e) {
      if (meets(l.eventBox(e))) expected.events.push_back(e);
    }
    for (int w = 0; w < static_cast<int>(l.works.size()); ++w) {
      const std::vector<Rect> pieces = l.pieces(w);
      if (std::any_of(pieces.begin(), pieces.end(), meets)) expected.works.push_back(w);
    }
    const VisibleItems found = l.visible(a);
    ASSERT_EQ(found.events, expected.events) << a.left << ' ' << a.top << ' ' << a.right << ' ' << a.bottom;
    ASSERT_EQ(found.works, expected.works) << a.left << ' ' << a.top << ' ' << a.right << ' ' << a.bottom;
  }
}

struct HandCase {
  const char* name;
  Network network;
  double dayWidth;
};

// Small networks with the awkward cases: two critical chains, dummies with and without
// float, a critical path of works shorter than a circle, a fan of close events.
TEST(TimeScaledLayout, HandNetworksAreSound) {
  const std::vector<HandCase> cases{
      {"two chains and a float",
       Network(5, {{"1", "2", "3", "1", "1"}, {"2", "5", "4", "1", "1"}, {"1", "3", "2", "1", "1"},
                   {"3", "5", "1", "1", "1"}, {"1", "4", "6", "1", "1"}, {"4", "5", "1", "1", "1"}}),
       24},
      {"dummies",
       Network(4, {{"1", "2", "2", "1", "1"}, {"1", "3", "2", "1", "1"}, {"2", "3", "0", "0", "0"},
                   {"3", "4", "3", "1", "1"}, {"2", "4", "0", "0", "0"}}),
       24},
      {"short critical works",
       Network(6, {{"1", "2", "1", "1", "1"}, {"2", "3", "1", "1", "1"}, {"3", "4", "3", "1", "1"},
                   {"4", "5", "1", "1", "1"}, {"5", "6", "0,5", "1", "1"}, {"1", "6", "2", "1", "1"},
                   {"2", "4", "1", "1", "1"}}),
       24},
      {"fan of close events",
       Network(6, {{"1", "2", "0,5", "1", "1"}, {"1", "3", "0,7", "1", "1"}, {"1", "4", "1", "1", "1"},
                   {"2", "5", "1", "1", "1"}, {"3", "5", "1", "1", "1"}, {"4", "5", "2", "1", "1"},
                   {"2", "6", "4", "1", "1"}, {"5", "6", "1", "1", "1"}}),
       10},
  };
  for (const HandCase& c : cases) {
    SCOPED_TRACE(c.name);
    TimeScaledOptions o;
    o.dayWidth = c.dayWidth;
    const Laid laid = layOut(c.network.input(), o, 30);
    expectSound(laid, o, 30);
    expectQueryExact(laid.layout, 50);
  }
}

// A branch off the critical work 1-5 runs 2-3-4 in one lane of its own, its events on
// the line; it leaves and rejoins lane 0 by connectors, its last work with its float.
TEST(TimeScaledLayout, BranchKeepsItsLane) {
  const Network branch(5, {{"1", "5", "10", "1", "1"}, {"1", "2", "2", "1", "1"}, {"2", "3", "2", "1", "1"},
                           {"3", "4", "2", "1", "1"}, {"4", "5", "1", "1", "1"}});
  TimeScaledOptions o;
  o.dayWidth = 40;
  const Laid laid = layOut(branch.input(), o, 20);
  const TimeScaledLayout& l = laid.layout;
  expectSound(laid, o, 20);
  const int lane = l.findEvent(2)->lane;
  EXPECT_NE(lane, 0);
  EXPECT_EQ(l.findEvent(3)->lane, lane);
  EXPECT_EQ(l.findEvent(4)->lane, lane);
  EXPECT_EQ(l.lanes, 2);
  for (auto [i, j] : {std::pair{2, 3}, std::pair{3, 4}}) {
    const LayoutWork& w = l.works[static_cast<std::size_t>(*l.findWork(i, j))];
    EXPECT_TRUE(w.startsAtEvent && w.endsAtEvent) << i << '-' << j;
  }
  const LayoutWork& into = l.works[static_cast<std::size_t>(*l.findWork(1, 2))];
  EXPECT_TRUE(into.start && into.endsAtEvent);
  const LayoutWork& out = l.works[static_cast<std::size_t>(*l.findWork(4, 5))];
  EXPECT_TRUE(out.startsAtEvent && out.end);
  EXPECT_DOUBLE_EQ(out.tail.length(), 3 * o.dayWidth);
  EXPECT_FALSE(l.findWork(2, 5));
}

TEST(TimeScaledLayout, RefusesInconsistentInput) {
  const std::vector<Extended> early{0, 1};
  const std::vector<WorkTiming> works{{.I = 1, .J = 2, .duration = 1}};
  const TimeScaledOptions o;
  TimeScaledOptions narrowLanes;
  narrowLanes.laneHeight = narrowLanes.eventDiameter - 1;
  EXPECT_THROW(layoutTimeScaled(3, early, works, {}, o), std::invalid_argument);
  EXPECT_THROW(layoutTimeScaled(2, early, works, {1, 2}, o), std::invalid_argument);
  EXPECT_THROW(layoutTimeScaled(1, {0}, works, {}, o), std::invalid_argument);
  EXPECT_THROW(layoutTimeScaled(2, early, works, {}, narrowLanes), std::invalid_argument);
  EXPECT_THROW(layoutTimeScaled(kMaxEvents + 1, std::vector<Extended>(kMaxEvents + 1), {}, {}, o), CommandError);
  EXPECT_THROW(layoutTimeScaled(2, early, std::vector<WorkTiming>(kMaxWorks + 1, works[0]), {}, o), CommandError);
}

// Generated building networks, free lanes taken anywhere and only near: the same layout
// twice, sound, and the query exact.
TEST(TimeScaledLayout, GeneratedNetworkIsSoundAndStable) {
  for (int reach : {0, 3}) {
    SCOPED_TRACE(reach);
    TimeScaledOptions o;
    o.laneReach = reach;
    const Laid laid = layOut(bench::buildingNetwork(3000, 4, 11), o, 70);
    expectSound(laid, o, 70);
    expectQueryExact(laid.layout, 60);
    const TimeScaledLayout again = layoutTimeScaled(static_cast<int>(laid.early.size()), laid.early, laid.works,
                                                    std::vector<double>(laid.works.size(), 70), o);
    ASSERT_EQ(again.lanes, laid.layout.lanes);
    for (std::size_t w = 0; w < again.works.size(); ++w) {
      ASSERT_EQ(again.works[w].lane, laid.layout.works[w].lane);
      ASSERT_EQ(again.works[w].room.to, laid.layout.works[w].room.to);
    }
  }
}

// The sanitizers' build runs several times slower: a fifth of the limit there.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kLargestNetwork = kMaxWorks / 5;
#else
constexpr int kLargestNetwork = kMaxWorks;
#endif

TEST(TimeScaledLayout, NetworkAtTheLimitsIsLaidOut) {
  TimeScaledOptions o;
  const Laid laid = layOut(bench::buildingNetwork(kLargestNetwork, 4, 7), o, 70);
  expectSound(laid, o, 70);
  expectQueryExact(laid.layout, 5);
}

}  // namespace
}  // namespace velko
