// Calculate and Optimise end to end (texts to results file) on the largest networks
// the tables allow. Reports times only; nothing here asserts a time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/building_network.h"
#include "bench/worst_networks.h"
#include "data/works_table.h"
#include "model/commands.h"
#include "model/optimisation.h"

namespace {

using velko::WorksTable;

// 50 events, 100 works: a chain 1-2-...-50 (49 works) of duration 3 carrying
// identifiers 1..7, and 51 bypass works (i, i+2) and (i, i+3) with float that share
// those identifiers, so the optimisation finds many donors along a long critical path.
WorksTable largestNetwork() {
  WorksTable table;
  int row = 0;
  auto add = [&](int i, int j, const std::string& t, int n, int id) {
    ++row;
    table.setRow(row, {std::to_string(i), std::to_string(j), t, std::to_string(n), std::to_string(id)});
  };
  for (int i = 1; i < 50; ++i) add(i, i + 1, "3", 2 + i % 3, 1 + i % 7);
  for (int i = 1; row < 100 && i + 2 <= 50; ++i) add(i, i + 2, "2,5", 4 + i % 5, 1 + i % 7);
  for (int i = 1; row < 100 && i + 3 <= 50; ++i) add(i, i + 3, "4", 3 + i % 4, 1 + (i + 3) % 7);
  table.setRowCount(row);
  return table;
}

std::string resultsPath() {
  return (std::filesystem::temp_directory_path() / "velko_bench.rez").string();
}

void BM_Calculate(benchmark::State& state) {
  const WorksTable table = largestNetwork();
  const velko::TableInput input("50", std::to_string(table.rowCount()), table);
  static velko::TNetworkModel model;
  const std::string path = resultsPath();
  for (auto _ : state) velko::runCalculate(model, input, path);
}
BENCHMARK(BM_Calculate)->Unit(benchmark::kMicrosecond);

void BM_Optimise(benchmark::State& state) {
  const WorksTable table = largestNetwork();
  const velko::TableInput input("50", std::to_string(table.rowCount()), table);
  static velko::TNetworkModel model;
  const std::string path = resultsPath();
  for (auto _ : state) velko::runOptimise(model, input, path);
}
BENCHMARK(BM_Optimise)->Unit(benchmark::kMicrosecond);

// The optimisation's worst cases in process, without the results file: argument 1 is the
// ladder with one worker per work (2,499 moves), 9 the one with nine (543 moves).
void BM_OptimiseLadder(benchmark::State& state) {
  const WorksTable table = velko::bench::ladderNetwork(static_cast<int>(state.range(0)));
  const velko::TableInput input(std::to_string(velko::bench::kLadderEvents), std::to_string(table.rowCount()), table);
  static velko::TNetworkModel model;
  struct Counter : velko::OptimisationObserver {
    void donorProcessed(const velko::OptimisationMove&) override { ++moves; }
    int moves = 0;
  } counter;
  for (auto _ : state) {
    counter.moves = 0;
    velko::optimiseVariants(model, input, &counter);
  }
  state.counters["moves"] = counter.moves;
}
BENCHMARK(BM_OptimiseLadder)->Arg(1)->Arg(9)->Unit(benchmark::kMillisecond);

// Building-shaped networks of 1,000 to 100,000 works (4 identifiers): Calculate and
// Optimise in process, from the table's texts to the recorded variants. The counters
// give the time per work and the moves per second, whose growth with the size shows
// how the cost scales.
struct CountingObserver : velko::OptimisationObserver {
  void donorProcessed(const velko::OptimisationMove&) override { ++moves; }
  long long moves = 0;
};

void BM_CalculateBuilding(benchmark::State& state) {
  const auto network = velko::bench::buildingNetwork(static_cast<int>(state.range(0)), 4, 1);
  const WorksTable table = velko::bench::worksTable(network);
  const velko::TableInput input(std::to_string(network.events), std::to_string(network.works.size()), table);
  for (auto _ : state) {
    velko::TNetworkModel model;
    velko::calculateVariants(model, input);
  }
  state.counters["works_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(state.range(0)),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CalculateBuilding)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_OptimiseBuilding(benchmark::State& state) {
  const auto network = velko::bench::buildingNetwork(static_cast<int>(state.range(0)), 4, 1);
  const WorksTable table = velko::bench::worksTable(network);
  const velko::TableInput input(std::to_string(network.events), std::to_string(network.works.size()), table);
  CountingObserver counter;
  for (auto _ : state) {
    counter.moves = 0;
    velko::TNetworkModel model;
    velko::optimiseVariants(model, input, &counter);
  }
  state.counters["moves"] = static_cast<double>(counter.moves);
  state.counters["moves_per_s"] =
      benchmark::Counter(static_cast<double>(counter.moves) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OptimiseBuilding)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
