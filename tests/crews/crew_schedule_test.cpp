#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "bench/psplib_reader.h"
#include "crews/crew_problem.h"

namespace velko {
namespace {

// The plain checker: the precedences, and each trade's usage at every start instant
// (where usage can only rise), recomputed here without the engine's code.
void expectKeepsRules(const CrewProblem& p, const CrewResult& r) {
  ASSERT_EQ(r.starts.size(), p.activities.size());
  EXPECT_EQ(crewScheduleFault(p, r.starts), "");
  long long end = 0;
  for (std::size_t a = 0; a < p.activities.size(); ++a) {
    EXPECT_GE(r.starts[a], 0);
    end = std::max(end, r.starts[a] + p.activities[a].duration);
  }
  EXPECT_EQ(r.makespan, end);
  for (const CrewPrecedence& q : p.precedences)
    EXPECT_GE(r.starts[q.after], r.starts[q.before] + p.activities[q.before].duration);
  for (std::size_t at = 0; at < p.activities.size(); ++at) {
    const long long t = r.starts[at];
    for (const auto& [trade, cap] : p.capacity) {
      long long used = 0;
      for (std::size_t a = 0; a < p.activities.size(); ++a)
        if (r.starts[a] <= t && t < r.starts[a] + p.activities[a].duration)
          for (const CrewDemand& d : p.activities[a].demands) used += d.trade == trade ? d.amount : 0;
      EXPECT_LE(used, cap) << "trade " << trade << " at " << t;
    }
  }
  EXPECT_LE(r.bound, r.makespan);
  EXPECT_EQ(r.proven, r.bound == r.makespan);
  EXPECT_LE(r.makespan, crewMakespan(p, latestFinishRuleSchedule(p)));
}

CrewResult solveChecked(const CrewProblem& p, long long effort = 2'000'000) {
  CrewOptions o;
  o.effort = effort;
  o.timeLimitSeconds = 60;  // the effort decides, so the answer is the same on any machine
  CrewResult r = solveCrews(p, o);
  expectKeepsRules(p, r);
  return r;
}

std::uint64_t step(std::uint64_t& s) {
  s = s * 6364136223846793005ULL + 1442695040888963407ULL;
  return s >> 33;
}

// A random instance: durations 1..4, two trades, precedences forward to the next few.
CrewProblem randomProblem(std::uint64_t seed, int n, long long scale) {
  CrewProblem p;
  p.capacity = {{0, 4}, {1, 3}};
  for (int a = 0; a < n; ++a) {
    CrewActivity act;
    act.duration = (1 + static_cast<long long>(step(seed) % 4)) * scale;
    for (int t = 0; t < 2; ++t)
      if (long long amount = static_cast<long long>(step(seed) % 4); amount > 0 && amount <= p.capacity[t])
        act.demands.push_back({t, amount});
    p.activities.push_back(act);
  }
  for (int a = 0; a < n; ++a)
    for (int b = a + 1; b < std::min(n, a + 10); ++b)
      if (step(seed) % 5 == 0) p.precedences.push_back({a, b});
  return p;
}

// The shortest schedule by enumeration: every order of the activities that keeps the
// precedences, each placed at its earliest start tick by tick (some order gives an optimum).
long long bruteForceOptimum(const CrewProblem& p) {
  const int n = static_cast<int>(p.activities.size());
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  long long best = std::numeric_limits<long long>::max();
  long long horizon = 0;
  for (const auto& a : p.activities) horizon += a.duration;
  do {
    std::vector<int> place(n);
    for (int k = 0; k < n; ++k) place[order[k]] = k;
    if (std::any_of(p.precedences.begin(), p.precedences.end(),
                    [&](const CrewPrecedence& q) { return place[q.before] > place[q.after]; }))
      continue;
    std::vector<std::vector<long long>> used(2, std::vector<long long>(horizon + 1, 0));
    std::vector<long long> start(n, 0);
    long long end = 0;
    for (int a : order) {
      long long t = 0;
      for (const CrewPrecedence& q : p.precedences)
        if (q.after == a) t = std::max(t, start[q.before] + p.activities[q.before].duration);
      auto fits = [&](long long s) {
        for (const CrewDemand& d : p.activities[a].demands)
          for (long long u = s; u < s + p.activities[a].duration; ++u)
            if (used[d.trade][u] + d.amount > p.capacity.at(d.trade)) return false;
        return true;
      };
      while (!fits(t)) ++t;
      start[a] = t;
      for (const CrewDemand& d : p.activities[a].demands)
        for (long long u = t; u < t + p.activities[a].duration; ++u) used[d.trade][u] += d.amount;
      end = std::max(end, t + p.activities[a].duration);
    }
    best = std::min(best, end);
  } while (std::next_permutation(order.begin(), order.end()));
  return best;
}

TEST(CrewEngine, FindsAndProvesTheOptimumOfSmallRandomInstances) {
  for (std::uint64_t seed = 1; seed <= 12; ++seed) {
    const CrewProblem p = randomProblem(seed, 7, 1);
    const CrewResult r = solveChecked(p);
    EXPECT_EQ(r.makespan, bruteForceOptimum(p)) << "seed " << seed;
    EXPECT_TRUE(r.proven) << "seed " << seed;
  }
}

TEST(CrewEngine, LongTicksGiveTheSameOptimumScaled) {
  // Durations on a fine time grid: the same instances with every duration times 100,000.
  for (std::uint64_t seed = 1; seed <= 4; ++seed) {
    const CrewResult r = solveChecked(randomProblem(seed, 7, 100'000));
    EXPECT_EQ(r.makespan, 100'000 * bruteForceOptimum(randomProblem(seed, 7, 1))) << "seed " << seed;
  }
}

TEST(CrewEngine, ProvesStandardInstancesOfKnownOptimum) {
  const std::filesystem::path folder = std::filesystem::path(VELKO_PSPLIB) / "j30";
  if (!std::filesystem::exists(folder)) GTEST_SKIP() << "no " << folder;
  const struct {
    const char* name;
    long long optimum;
  } cases[] = {{"j301_1.sm", 43}, {"j301_2.sm", 47}, {"j301_5.sm", 39}, {"j302_8.sm", 54}};
  for (const auto& c : cases) {
    const CrewProblem p = readPsplibInstance((folder / c.name).string());
    const CrewResult r = solveChecked(p, 100'000'000);
    EXPECT_EQ(r.makespan, c.optimum) << c.name;
    EXPECT_TRUE(r.proven) << c.name;
  }
}

TEST(CrewEngine, AmongShortestSchedulesPrefersFewerDelays) {
  // One worker, two equal jobs: the rule takes the first by index, the engine the one due at 0.
  CrewProblem p;
  p.capacity = {{7, 1}};
  p.activities = {{2, {{7, 1}}}, {2, {{7, 1}}, 0}};
  const CrewResult r = solveChecked(p);
  EXPECT_EQ(r.makespan, 4);
  EXPECT_EQ(r.delays, 0);
  EXPECT_EQ(r.starts[1], 0);
}

TEST(CrewEngine, RefusesAnActivityDemandingMoreThanItsCrew) {
  CrewProblem p;
  p.capacity = {{0, 2}};
  p.activities = {{3, {{0, 1}}}, {1, {{0, 3}}}};
  EXPECT_EQ(crewInfeasibility(p), 1);
  EXPECT_THROW(solveCrews(p), std::invalid_argument);
}

TEST(CrewEngine, CancelReturnsAValidScheduleAtOnce) {
  const CrewProblem p = randomProblem(3, 300, 7);
  std::atomic<bool> cancel{false};
  CrewOptions o;
  o.effort = 1'000'000'000'000LL;  // far beyond what the test waits for
  o.timeLimitSeconds = 600;
  o.cancel = &cancel;
  int reports = 0;
  o.progress = [&](const CrewProgress& progress) {
    EXPECT_LE(progress.bound, progress.bestMakespan);
    if (++reports == 2) cancel = true;
  };
  const CrewResult r = solveCrews(p, o);
  expectKeepsRules(p, r);
  EXPECT_TRUE(r.cancelled);
}

TEST(CrewEngine, LargeNetworksGetTheHeuristicAndItsBound) {
  // Past the size of a search tree: the lists and the bounds, in linear memory.
  CrewProblem p = randomProblem(5, 1500, 480);
  p.activities[0].duration += 1;  // no common unit: every tick counts
  const CrewResult r = solveChecked(p, 5'000'000);
  EXPECT_GE(r.bound, 1);
}

}  // namespace
}  // namespace velko
