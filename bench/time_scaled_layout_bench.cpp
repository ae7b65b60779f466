// The time-scaled layout of building-shaped networks against a floor in the same run:
// the works' indices sorted by early start, the least any layout by time has to do.
// Reports times only; the counters give the picture's lanes and size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "bench/building_network.h"
#include "layout/time_scaled_layout.h"
#include "model/commands.h"
#include "model/schedule_figures.h"

namespace {

struct Computed {
  std::vector<velko::Extended> early;
  std::vector<velko::WorkTiming> works;
  std::vector<double> labels;
};

// Computed once per size: the benchmarks time the layout, not the calculation.
const Computed& computed(int works) {
  static std::map<int, Computed> cache;
  auto [at, added] = cache.try_emplace(works);
  if (added) {
    const auto network = velko::bench::buildingNetwork(works, 4, 1);
    const velko::WorksTable table = velko::bench::worksTable(network);
    auto model = std::make_unique<velko::TNetworkModel>();
    velko::calculateVariants(
        *model, velko::TableInput(std::to_string(network.events), std::to_string(network.works.size()), table));
    at->second.early = velko::eventEarlyTimes(*model, 1);
    at->second.works = velko::workTimings(*model, 1);
    at->second.labels.assign(at->second.works.size(), 70);
  }
  return at->second;
}

velko::TimeScaledOptions options(int laneReach = 0) {
  velko::TimeScaledOptions o;
  o.laneReach = laneReach;
  o.dayWidth = 24;
  o.eventDiameter = 44;
  o.laneHeight = 64;
  return o;
}

void BM_SortWorksByStart(benchmark::State& state) {
  const Computed& c = computed(static_cast<int>(state.range(0)));
  std::vector<int> order(c.works.size());
  for (auto _ : state) {
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
      return c.works[a].earlyStart != c.works[b].earlyStart ? c.works[a].earlyStart < c.works[b].earlyStart : a < b;
    });
    benchmark::DoNotOptimize(order.data());
  }
}

// Argument 2 is the lane reach (0: a free lane anywhere). The counters give the
// picture's size and the mean number of lanes a connector spans.
void BM_TimeScaledLayout(benchmark::State& state) {
  const Computed& c = computed(static_cast<int>(state.range(0)));
  const velko::TimeScaledOptions o = options(static_cast<int>(state.range(1)));
  velko::TimeScaledLayout layout;
  for (auto _ : state) {
    layout = velko::layoutTimeScaled(static_cast<int>(c.early.size()), c.early, c.works, c.labels, o);
    benchmark::DoNotOptimize(layout.works.data());
  }
  double spans = 0;
  int connectors = 0;
  for (const velko::LayoutWork& w : layout.works) {
    for (const auto& connector : {w.start, w.end}) {
      if (!connector) continue;
      spans += std::abs(connector->to - connector->from) / o.laneHeight;
      ++connectors;
    }
  }
  state.counters["events"] = static_cast<double>(c.early.size());
  state.counters["lanes"] = layout.lanes;
  state.counters["width"] = layout.width;
  state.counters["height"] = layout.height;
  state.counters["connector_lanes"] = connectors > 0 ? spans / connectors : 0;
}

// A screen's view (1920 x 1080 units) in the middle of the picture.
void BM_VisibleInScreen(benchmark::State& state) {
  const Computed& c = computed(static_cast<int>(state.range(0)));
  const velko::TimeScaledLayout layout =
      velko::layoutTimeScaled(static_cast<int>(c.early.size()), c.early, c.works, c.labels, options());
  const double x = layout.width / 2;
  const double y = layout.height / 2;
  std::size_t found = 0;
  for (auto _ : state) {
    const velko::VisibleItems items = layout.visible({x - 960, y - 540, x + 960, y + 540});
    found = items.events.size() + items.works.size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["items"] = static_cast<double>(found);
}

BENCHMARK(BM_SortWorksByStart)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TimeScaledLayout)
    ->Args({100, 0})
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({1000, 16})
    ->Args({10000, 16})
    ->Args({100000, 16})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VisibleInScreen)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
