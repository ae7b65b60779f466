// Smoothing of the workers profile on random networks of the program's sizes (up to 50
// events and 100 works), after "Расчет" and after "Оптимизация": how long the solver
// takes and how often it proves the smallest peak within its time limit.
//   levelling_bench [NETWORKS] [SECONDS] [ONLY] [SEED]
// ONLY runs the one network of that number (the first column; -1 for all), with the
// solver's progress; SEED draws another set of networks.
//   levelling_bench large [SECONDS] [WORKS...]   (-WORKS: durations in sevenths of a day)
// The whole --smooth step on generated building networks of 1,000 to 100,000 works:
// its time beside the floor of building the problem and drawing the early-start
// profile, the time from a cancel to the result, the peaks against the bound, and the
// process's largest memory so far with the most the smoothing and its CSV added to
// what the process held before them.
//   levelling_bench hard [SEED] [SECONDS] [ONLY]
// Sixty harder networks of 30 to 100 works: every other one layered (works only from
// one layer of events to the next), the rest building-shaped, whole durations, one to
// four identifiers, every third after "Оптимизация": how many peaks are proven, the
// mean time, and the gap left on the others.
// Times depend on the machine and on what else runs on it.
#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstring>
#include <fstream>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bench/building_network.h"
#include "tests/levelling/building_network.h"
#include "data/works_table.h"
#include "levelling/levelling.h"
#include "levelling/levelling_problem.h"
#include "schedule_checker.h"
#include "tools/batch_smoothing.h"
#include "model/command_error.h"
#include "model/commands.h"

namespace {

struct Network {
  int events = 0;
  velko::WorksTable table;
};

// A random network in which every event has a work in and a work out, with the rest
// of the works between random pairs of events.
Network randomNetwork(std::mt19937& random, int events, int works) {
  const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  std::set<std::pair<int, int>> pairs;
  for (int j = 2; j <= events; ++j) pairs.insert({pick(std::max(1, j - 4), j - 1), j});
  for (int i = 1; i < events; ++i) pairs.insert({i, pick(i + 1, std::min(events, i + 5))});
  while (static_cast<int>(pairs.size()) < works) {
    const int i = pick(1, events - 1);
    pairs.insert({i, pick(i + 1, std::min(events, i + 8))});
  }
  Network n;
  n.events = events;
  int row = 0;
  for (const auto& [i, j] : pairs) {
    if (row == works) break;
    const int halves = pick(2, 24);
    const std::string t = std::to_string(halves / 2) + (halves % 2 != 0 ? ",5" : "");
    n.table.setRow(++row, {std::to_string(i), std::to_string(j), t, std::to_string(pick(1, 10)),
                           std::to_string(pick(1, 6))});
  }
  n.table.setRowCount(row);
  return n;
}

double percentile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The resident memory now and at its highest since the last reset (Linux: VmRSS and
// VmHWM, which writing 5 to clear_refs resets).
long statusMegabytes(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field)) / 1024;
  }
  return 0;
}

// Freed memory is handed back first, so that the smoothing cannot reuse what an earlier
// network left and look smaller than it is.
void resetHighestMemory() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

long megabytesSoFar() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

int large(int argc, char** argv) {
  const double limit = argc > 2 ? std::atof(argv[2]) : 2.0;
  std::vector<int> sizes;
  for (int k = 3; k < argc; ++k) sizes.push_back(std::atoi(argv[k]));
  if (sizes.empty()) sizes = {1000, 5000, 20000, 100000, -100000};
  const char* seedText = std::getenv("LEVELLING_SEED");  // another set of networks
  const unsigned seed = seedText != nullptr ? static_cast<unsigned>(std::atoi(seedText)) : 7U;
  std::printf("time limit %.1f s\n", limit);
  std::printf("     works   build  early  | smooth    csv  total  ratio | cancel | peak before -> after  bound  proven  rules | MB so far (of it the smoothing's)\n");
  for (int works : sizes) {
    const velko::LevellingInput input = velko::testing::buildingNetwork(std::abs(works), seed, works < 0);
    resetHighestMemory();
    const long megabytesBefore = statusMegabytes("VmRSS:");
    // The floor: what any smoothing must do before it searches.
    double build = 0;
    double early = 0;
    long long earlyPeak = 0;
    {
      auto start = std::chrono::steady_clock::now();
      const velko::LevellingProblem problem = velko::buildProblem(input);
      build = secondsSince(start);
      start = std::chrono::steady_clock::now();
      earlyPeak = velko::peakOf(velko::tickProfile(problem, std::vector<long long>(problem.works.size(), 0)));
      early = secondsSince(start);
    }

    auto start = std::chrono::steady_clock::now();
    velko::LevellingOptions options;
    options.effortSeconds = limit;
    if (std::getenv("LEVELLING_TRACE") != nullptr) {
      options.progress = [](const velko::LevellingProgress& p) {
        std::fprintf(stderr, "  phase %d: peak %lld, bound %lld at %.3f s\n", p.phase, p.bestPeak, p.bound, p.seconds);
      };
    }
    const velko::LevellingResult r = velko::levelWorkers(input, options);
    const double smooth = secondsSince(start);
    start = std::chrono::steady_clock::now();
    const std::string csv = velko::smoothingCsv(r);
    const double text = secondsSince(start);
    const double total = smooth + text;
    const long megabytes = megabytesSoFar();
    const long smoothingMegabytes = statusMegabytes("VmHWM:") - megabytesBefore;
    // "Отменить" pressed part way: the time from the flag to the result.
    double cancelLatency = 0;
    for (double after : {0.02, 0.1, 0.3}) {
      std::atomic<bool> cancel{false};
      velko::LevellingOptions cancelled;
      cancelled.cancel = &cancel;
      std::chrono::steady_clock::time_point pressed;
      std::thread user([&] {
        std::this_thread::sleep_for(std::chrono::duration<double>(after));
        pressed = std::chrono::steady_clock::now();
        cancel = true;
      });
      velko::levelWorkers(input, cancelled);
      const auto returned = std::chrono::steady_clock::now();
      user.join();
      if (pressed < returned) cancelLatency = std::max(cancelLatency, std::chrono::duration<double>(returned - pressed).count());
    }
    const bool valid = velko::testing::checkSchedule(input, r).empty() && earlyPeak == r.peakBefore;
    std::printf("%7zu%s  %6.3f %6.3f  | %6.3f %6.3f %6.3f %5.1fx | %6.3f | %11lld -> %-5lld  %5lld  %-6s  %-5s | %ld (%ld)\n",
                input.works.size(), works < 0 ? "/7" : "  ", build, early, smooth, text, total, total / (build + early), cancelLatency,
                r.peakBefore, r.peakAfter, r.bestBound, r.proven ? "yes" : "no", valid ? "kept" : "BROKEN", megabytes,
                smoothingMegabytes);
  }
  return 0;
}

// Layers of two to six events between the first and the last event; each event has a
// work from some event of the layer before and one to a event of the layer after, and
// the rest of the works join random events of neighbouring layers.
Network layeredNetwork(std::mt19937& random, int works, int identifiers) {
  const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const int width = pick(2, 6);
  const int layers = std::clamp(works / (2 * width), 2, 48 / width);
  const int last = layers * width + 2;
  const auto event = [&](int layer, int k) { return 2 + layer * width + k; };
  std::set<std::pair<int, int>> pairs;
  for (int k = 0; k < width; ++k) {
    pairs.insert({1, event(0, k)});
    pairs.insert({event(layers - 1, k), last});
    for (int l = 1; l < layers; ++l) {
      pairs.insert({event(l - 1, pick(0, width - 1)), event(l, k)});
      pairs.insert({event(l - 1, k), event(l, pick(0, width - 1))});
    }
  }
  for (int tries = 0; static_cast<int>(pairs.size()) < works && tries < 10000; ++tries) {
    const int l = pick(1, layers - 1);
    pairs.insert({event(l - 1, pick(0, width - 1)), event(l, pick(0, width - 1))});
  }
  Network n;
  n.events = last;
  int row = 0;
  for (const auto& [i, j] : pairs) {
    if (row == 100) break;
    n.table.setRow(++row, {std::to_string(i), std::to_string(j), std::to_string(pick(1, 10)),
                           std::to_string(pick(1, 10)), std::to_string(pick(1, identifiers))});
  }
  n.table.setRowCount(row);
  return n;
}

int hard(int argc, char** argv) {
  const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1U;
  const double limit = argc > 3 ? std::atof(argv[3]) : 2.0;
  const int only = argc > 4 ? std::atoi(argv[4]) : -1;
  std::mt19937 random(seed);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each network as it is done
  int proven = 0;
  int count = 0;
  double seconds = 0;
  double cpu = 0;  // the machine may be shared: its processor time as well
  std::vector<std::string> gaps;
  std::printf("  no  kind      works  variant  peak before -> after  bound  proven  seconds\n");
  for (int k = 0; k < 60; ++k) {
    const int works = std::uniform_int_distribution<int>(30, 100)(random);
    const int identifiers = std::uniform_int_distribution<int>(1, 4)(random);
    Network n;
    if (k % 2 == 0) {
      n = layeredNetwork(random, works, identifiers);
    } else {
      const velko::bench::GeneratedNetwork g = velko::bench::buildingNetwork(works, identifiers, random());
      n.events = g.events;
      n.table = velko::bench::worksTable(g);
    }
    const velko::TableInput input(std::to_string(n.events), std::to_string(n.table.rowCount()), n.table);
    static velko::TNetworkModel model;
    try {
      if (k % 3 == 2) {
        velko::optimiseVariants(model, input);
      } else {
        velko::calculateVariants(model, input);
      }
    } catch (const velko::CommandError&) {
      velko::calculateVariants(model, input);  // an optimisation that divides by zero: the calculation
    }
    if (only >= 0 && only != k) continue;
    velko::LevellingOptions options;
    options.effortSeconds = limit;
    if (only >= 0) {
      options.progress = [](const velko::LevellingProgress& p) {
        std::printf("  phase %d: peak %lld, bound %lld at %.3f s\n", p.phase, p.bestPeak, p.bound, p.seconds);
      };
    }
    const velko::LevellingInput levelling = velko::levellingInput(model);
    const std::clock_t cpuStart = std::clock();
    const velko::LevellingResult r = velko::levelWorkers(levelling, options);
    cpu += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const bool valid = velko::testing::checkSchedule(levelling, r).empty();
    ++count;
    proven += r.proven ? 1 : 0;
    seconds += r.seconds;
    if (!r.proven) gaps.push_back(std::to_string(k) + ": " + std::to_string(r.peakAfter) + " / " + std::to_string(r.bestBound));
    std::printf("%4d  %-8s  %5zu  %7d  %11lld -> %-5lld  %5lld  %-6s  %7.3f%s\n", k, k % 2 == 0 ? "layered" : "building",
                levelling.works.size(), r.variant, r.peakBefore, r.peakAfter, r.bestBound, r.proven ? "yes" : "no",
                r.seconds, valid ? "" : "  RULES BROKEN");
  }
  std::printf("\nseed %u, effort %.1f s: proven %d of %d, mean time %.3f s (processor %.3f s)\n", seed, limit, proven,
              count, seconds / count, cpu / count);
  if (!gaps.empty()) {
    std::printf("unproven (peak / bound):");
    for (const std::string& g : gaps) std::printf("  %s", g.c_str());
    std::printf("\n");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "large") == 0) return large(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "hard") == 0) return hard(argc, argv);
  const int networks = argc > 1 ? std::atoi(argv[1]) : 40;
  const double limit = argc > 2 ? std::atof(argv[2]) : 2.0;
  const int only = argc > 3 ? std::atoi(argv[3]) : -1;
  std::mt19937 random(argc > 4 ? static_cast<unsigned>(std::atoi(argv[4])) : 17U);
  std::vector<double> peakTimes;
  std::vector<double> totalTimes;
  int proven = 0;
  int even = 0;
  int searched = 0;       // the early starts did not already meet the stated bound
  int searchedProven = 0;
  std::vector<double> searchedTimes;
  long long lowered = 0;
  std::printf("   no events works  variant  peak before -> after  bound  proven  peak at  seconds\n");
  for (int k = 0; k < networks; ++k) {
    const int events = k % 4 == 0 ? 50 : std::uniform_int_distribution<int>(10, 50)(random);
    const int works = std::min(100, std::uniform_int_distribution<int>(events + 5, 2 * events)(random));
    const Network n = randomNetwork(random, events, works);
    const velko::TableInput input(std::to_string(n.events), std::to_string(n.table.rowCount()), n.table);
    static velko::TNetworkModel model;
    try {
      if (k % 2 == 0) {
        velko::calculateVariants(model, input);
      } else {
        velko::optimiseVariants(model, input);
      }
    } catch (const velko::CommandError&) {
      continue;  // an optimisation that divides by zero: nothing to smooth
    }
    if (only >= 0 && only != k) continue;
    double provenAt = -1;
    velko::LevellingOptions options;
    options.effortSeconds = limit;
    options.progress = [&](const velko::LevellingProgress& p) {
      if (provenAt < 0 && p.phase == 2) provenAt = p.seconds;
      if (only >= 0) std::printf("  phase %d: peak %lld, bound %lld at %.3f s\n", p.phase, p.bestPeak, p.bound, p.seconds);
    };
    const velko::LevellingResult r = velko::levelWorkers(velko::levellingInput(model), options);
    if (r.proven && provenAt < 0) provenAt = r.seconds;
    peakTimes.push_back(provenAt < 0 ? r.seconds : provenAt);
    totalTimes.push_back(r.seconds);
    proven += r.proven ? 1 : 0;
    if (r.peakBefore > r.lowerBound) {
      ++searched;
      searchedProven += r.proven ? 1 : 0;
      searchedTimes.push_back(peakTimes.back());
    }
    even += r.evennessProven ? 1 : 0;
    lowered += r.peakBefore - r.peakAfter;
    std::printf("%5d %6d %5zu  %7d  %11lld -> %-5lld  %5lld  %-6s  %7.3f  %7.3f\n", k, n.events, r.works.size(), r.variant,
                r.peakBefore, r.peakAfter, r.lowerBound, r.proven ? "yes" : "no", peakTimes.back(), r.seconds);
  }
  if (totalTimes.empty()) return 0;
  std::printf("\nnetworks %zu, time limit %.1f s\n", totalTimes.size(), limit);
  std::printf("smallest peak proven: %d; most even profile proven too: %d\n", proven, even);
  std::printf("time to the proven peak: median %.3f s, worst %.3f s\n", percentile(peakTimes, 0.5),
              percentile(peakTimes, 1.0));
  if (!searchedTimes.empty()) {
    std::printf("of them %d with the early-start peak above the stated bound: %d proven, median %.3f s, worst %.3f s\n",
                searched, searchedProven, percentile(searchedTimes, 0.5), percentile(searchedTimes, 1.0));
  }
  std::printf("whole solve (both phases): median %.3f s, worst %.3f s\n", percentile(totalTimes, 0.5),
              percentile(totalTimes, 1.0));
  std::printf("peak lowered by %.2f workers on average\n", static_cast<double>(lowered) / static_cast<double>(totalTimes.size()));
  return 0;
}
