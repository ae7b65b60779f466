// The reallocation of workers: every answer goes through the independent checker; the
// minimum is compared with enumeration on small networks.
#include "reallocation/reallocation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/building_network.h"
#include "model/command_error.h"
#include "model/commands.h"
#include "network_builder.h"
#include "reallocation_checker.h"
#include "reallocation/reallocation_lp_bound.h"
#include "reallocation/reallocation_problem.h"

namespace velko {
namespace {

using testing::Network;
using testing::Row;

struct Reallocated {
  ReallocationInput input;
  ReallocationResult result;
};

Reallocated reallocate(const Network& network, bool optimise, double seconds = 10.0) {
  auto model = std::make_unique<TNetworkModel>();
  if (optimise) optimiseVariants(*model, network.input()); else calculateVariants(*model, network.input());
  Reallocated r;
  r.input = reallocationInput(*model);
  ReallocationOptions options;
  options.timeLimitSeconds = seconds;
  r.result = reallocateWorkers(r.input, options);
  for (const std::string& fault : testing::checkReallocation(r.input, r.result)) ADD_FAILURE() << fault;
  return r;
}

// A generated network computed as "Расчет" or "Оптимизация" leaves it.
std::unique_ptr<TNetworkModel> generated(int works, int identifiers, unsigned seed, bool optimise) {
  auto model = std::make_unique<TNetworkModel>();
  const bench::GeneratedNetwork network = bench::buildingNetwork(works, identifiers, seed);
  const WorksTable table = bench::worksTable(network);
  const TableInput input(std::to_string(network.events), std::to_string(network.works.size()), table);
  if (optimise) optimiseVariants(*model, input); else calculateVariants(*model, input);
  return model;
}

long long micro(Extended days) { return std::llround(days * 1000000.0L); }

// Two branches of Id 1 to event 3: 1-3 (8 days, 2 workers) and 1-2 (2 days, 6 workers)
// with the dummy 2-3. Two workers to 1-3 make it ceil(16 / 4) = 4 days and 1-2 with 4
// takes 12 / 4 = 3: length 4. Nothing is shorter: 3 days of 1-3 take 6 workers and
// leave 1-2 two (6 days).
//   1 --8d,2w--> 3      1 --2d,6w--> 2 --0--> 3
TEST(Reallocation, WorkersMoveFromTheShortBranchToTheLongOne) {
  const Reallocated r = reallocate(
      Network(3, {{"1", "2", "2", "6", "1"}, {"1", "3", "8", "2", "1"}, {"2", "3", "0", "0", "1"}}), false);
  EXPECT_EQ(r.result.lengthBeforeText, "8");
  EXPECT_EQ(r.result.lengthAfterText, "4");
  EXPECT_TRUE(r.result.proven);
  EXPECT_EQ(r.result.lowerBoundText, "4");
  // A worker no work needs goes back to 1-2: 3 days rather than 2 x 6 / 3 = 4.
  ASSERT_EQ(r.result.moves.size(), 1u);
  EXPECT_EQ(moveText(r.result.moves[0]), "Id 1: 2 рабочих с работы 1-2 на работу 1-3");
  EXPECT_EQ(r.result.works[0].newDurationText, "3");
}

TEST(Reallocation, RefusesANetworkWithNothingToMove) {
  auto model = std::make_unique<TNetworkModel>();
  calculateVariants(*model, Network(3, {{"1", "2", "2", "6", "1"}, {"2", "3", "8", "2", "2"}}).input());
  try {
    reallocationInput(*model);
    FAIL() << "no refusal";
  } catch (const CommandError& e) {
    EXPECT_STREQ(e.what(), "Перераспределять нечего: ни у одного идентификатора нет двух работ с длительностью и рабочими");
  }
}

TEST(Reallocation, MoveTexts) {
  EXPECT_EQ(moveText({3, 4, 2, 5, 5, 9}), "Id 3: 4 рабочих с работы 2-5 на работу 5-9");
  EXPECT_EQ(moveText({3, 21, 2, 5, 5, 9}), "Id 3: 21 рабочий с работы 2-5 на работу 5-9");
  EXPECT_EQ(moveText({3, 11, 2, 5, 0, 0}), "Id 3: 11 рабочих с работы 2-5 остаются свободными");
}

// Every assignment of workers on small random networks (whole and fractional durations,
// dummies, Id 0 works): the shortest length, and the fewest changes at it.
TEST(Reallocation, MinimumMatchesEnumeration) {
  std::mt19937 random(7);
  const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  int improved = 0;
  for (int round = 0; round < 40; ++round) {
    const int events = pick(3, 5);
    std::vector<Row> rows;
    std::map<std::pair<int, int>, bool> used;
    for (int i = 1; i < events; ++i) {
      const int j = i + 1;
      used[{i, j}] = true;
      rows.push_back({std::to_string(i), std::to_string(j), std::to_string(pick(1, 6)) + (pick(0, 3) == 0 ? ",5" : ""),
                      std::to_string(pick(1, 4)), std::to_string(pick(0, 5) == 0 ? 0 : pick(1, 2))});
    }
    for (int extra = pick(1, 3); extra > 0; --extra) {
      const int i = pick(1, events - 1), j = pick(i + 1, events);
      if (used[{i, j}]) continue;
      used[{i, j}] = true;
      rows.push_back({std::to_string(i), std::to_string(j), std::to_string(pick(0, 6)), std::to_string(pick(0, 4)),
                      std::to_string(pick(1, 2))});
    }
    auto model = std::make_unique<TNetworkModel>();
    Network network(events, {});
    int r = 0;
    for (const Row& row : rows) network.table.setRow(++r, {row.i, row.j, row.t, row.n, row.id});
    network.works = std::to_string(r);
    network.table.setRowCount(r);
    calculateVariants(*model, network.input());
    ReallocationInput input;
    try {
      input = reallocationInput(*model);
    } catch (const CommandError&) {
      continue;
    }
    // Enumerate n' of the movable works, each up to its Id's sum.
    std::vector<int> movable;
    std::map<int, long long> sums;
    for (std::size_t k = 0; k < input.works.size(); ++k) {
      const ReallocationWork& w = input.works[k];
      if (w.id != 0 && w.duration > 0 && w.workers > 0) {
        movable.push_back(static_cast<int>(k));
        sums[w.id] += w.workers;
      }
    }
    long long assignments = 1;
    for (const int k : movable) assignments *= sums[input.works[static_cast<std::size_t>(k)].id];
    if (assignments > 20000) continue;  // the sanitizer runs stay short
    const ReallocationResult result = reallocateWorkers(input);
    for (const std::string& fault : testing::checkReallocation(input, result)) ADD_FAILURE() << fault;
    std::vector<int> n(movable.size(), 1);
    long long bestLength = -1;
    int bestChanged = 0;
    for (;;) {
      std::map<int, long long> usedWorkers;
      std::vector<long double> durations;
      for (const ReallocationWork& w : input.works) durations.push_back(w.duration);
      int changed = 0;
      for (std::size_t m = 0; m < movable.size(); ++m) {
        const ReallocationWork& w = input.works[static_cast<std::size_t>(movable[m])];
        usedWorkers[w.id] += n[m];
        const long double volume = static_cast<long double>(w.duration) * w.workers;
        if (n[m] < w.workers) durations[static_cast<std::size_t>(movable[m])] = volume / n[m];
        if (n[m] > w.workers) durations[static_cast<std::size_t>(movable[m])] = std::ceil(volume / n[m] - 1e-12L);
        changed += n[m] != w.workers ? 1 : 0;
      }
      bool fits = true;
      for (const auto& [id, sum] : usedWorkers) fits = fits && sum <= sums[id];
      if (fits) {
        const long long length = testing::recomputedLength(input, durations);
        if (bestLength < 0 || length < bestLength || (length == bestLength && changed < bestChanged)) {
          bestLength = length;
          bestChanged = changed;
        }
      }
      std::size_t m = 0;
      while (m < n.size() && n[m] == sums[input.works[static_cast<std::size_t>(movable[m])].id]) n[m++] = 1;
      if (m == n.size()) break;
      ++n[m];
    }
    EXPECT_EQ(micro(result.lengthAfter), bestLength) << "round " << round;
    // The linear relaxation never above the minimum, and exact with every n' fixed.
    const ReallocationProblem problem = buildReallocationProblem(input);
    std::vector<long long> lo(problem.movable.size(), 1), hi, fixed;
    for (const MovableWork& w : problem.movable) hi.push_back(w.cap);
    EXPECT_LE(reallocationLpBound(problem, lo, hi, 1LL << 40).bound, bestLength) << "round " << round;
    // One worker of each identifier moved, so that a giver's and a receiver's rounding count.
    for (const MovableWork& w : problem.movable) fixed.push_back(w.n);
    for (const std::vector<int>& works : problem.groupWorks) {
      if (works.size() > 1 && fixed[static_cast<std::size_t>(works[0])] > 1) {
        --fixed[static_cast<std::size_t>(works[0])];
        ++fixed[static_cast<std::size_t>(works[1])];
      }
    }
    EXPECT_EQ(reallocationLpBound(problem, fixed, fixed, 1LL << 40).bound, lengthOf(problem, fixed)) << "round " << round;
    EXPECT_EQ(result.changedWorks, bestChanged) << "round " << round;
    EXPECT_TRUE(result.proven);
    EXPECT_TRUE(result.changesProven);
    EXPECT_LE(micro(result.lengthAfter), micro(input.lengthOnePass)) << "round " << round;
    improved += micro(result.lengthAfter) < micro(input.lengthBefore) ? 1 : 0;
  }
  EXPECT_GT(improved, 6);
}

// A generated building network of 100 works as the benchmark runs it, after the one
// pass, with a small effort: whatever the search reaches keeps the rules.
TEST(Reallocation, BuildingNetworkIsNeverLongerThanTheOnePass) {
  const auto model = generated(100, 3, 5, true);
  const ReallocationInput input = reallocationInput(*model);
  ReallocationOptions options;
  options.timeLimitSeconds = 0.05;
  std::vector<ReallocationProgress> reports;
  options.progress = [&](const ReallocationProgress& p) { reports.push_back(p); };
  const ReallocationResult result = reallocateWorkers(input, options);
  // Each report's answer is no longer than the one before, and never below the bound.
  ASSERT_FALSE(reports.empty());
  for (std::size_t k = 0; k < reports.size(); ++k) {
    EXPECT_LE(reports[k].bound, reports[k].bestLength);
    if (k > 0) {
      EXPECT_LE(reports[k].bestLength, reports[k - 1].bestLength);
    }
  }
  EXPECT_LE(micro(result.lengthAfter), micro(reports.back().bestLength));
  for (const std::string& fault : testing::checkReallocation(input, result)) ADD_FAILURE() << fault;
  EXPECT_LE(micro(result.lengthAfter), micro(model->LengthAfter));
}

TEST(Reallocation, ACancelBeforeTheStartStillAnswersWithTheBestStart) {
  const auto model = generated(100, 2, 9, true);
  const ReallocationInput input = reallocationInput(*model);
  std::atomic<bool> cancel{true};
  ReallocationOptions options;
  options.cancel = &cancel;
  const ReallocationResult result = reallocateWorkers(input, options);
  for (const std::string& fault : testing::checkReallocation(input, result)) ADD_FAILURE() << fault;
  EXPECT_TRUE(result.cancelled);
  EXPECT_LE(micro(result.lengthAfter), micro(model->LengthAfter));
}

// Layers of `width` events, each linked to two of the next, all works of Id 1.
ReallocationInput layeredInput(int width, int layers, unsigned seed) {
  std::mt19937 random(seed);
  const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  ReallocationInput in;
  in.events = 2 + width * layers;
  const auto event = [&](int layer, int k) { return 2 + layer * width + k; };
  const auto add = [&](int i, int j) { in.works.push_back({i, j, static_cast<Extended>(pick(1, 20)), pick(1, 12), 1}); };
  for (int k = 0; k < width; ++k) add(1, event(0, k));
  for (int layer = 0; layer + 1 < layers; ++layer) {
    for (int k = 0; k < width; ++k) {
      add(event(layer, k), event(layer + 1, k));
      add(event(layer, k), event(layer + 1, (k + 1) % width));
    }
  }
  for (int k = 0; k < width; ++k) add(event(layers - 1, k), in.events);
  return in;
}

// The linear relaxation on a layered network: above what the propagation alone proves
// (48 days), never above the answer.
TEST(Reallocation, LinearBoundIsStrongerOnALayeredNetwork) {
  const ReallocationInput in = layeredInput(2, 4, 4);
  const ReallocationProblem problem = buildReallocationProblem(in);
  std::vector<long long> lo(problem.movable.size(), 1), hi;
  for (const MovableWork& w : problem.movable) hi.push_back(w.cap);
  const long long bound = reallocationLpBound(problem, lo, hi, 1LL << 40).bound;
  ReallocationOptions options;
  options.timeLimitSeconds = 0.1;
  const ReallocationResult r = reallocateWorkers(in, options);
  EXPECT_GT(bound, micro(48));
  EXPECT_LE(bound, micro(r.lengthAfter));
  EXPECT_GE(micro(r.lowerBound), bound);
}

}  // namespace
}  // namespace velko
