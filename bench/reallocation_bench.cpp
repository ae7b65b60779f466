// The reallocation beside the one-pass optimisation on generated networks: chains,
// layered, wide, with dangling branches, building-shaped, the ladder; 1 to 4
// identifiers, whole durations. Each answer goes through the tests' checker.
//   reallocation_bench [SECONDS [LARGE_WORKS [only]]]
// prints one line per network and the totals against the goals, then the large
// building network (LARGE_WORKS, 0 for none; "only" for that one alone).
#include <atomic>
#include <chrono>
#include <thread>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/building_network.h"
#include "bench/worst_networks.h"
#include "model/commands.h"
#include "reallocation/reallocation.h"
#include "reallocation_checker.h"

namespace velko::bench {
namespace {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  int between(int low, int high) {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return low + static_cast<int>((z ^ (z >> 31)) % static_cast<std::uint64_t>(high - low + 1));
  }

 private:
  std::uint64_t state_;
};

GeneratedWork work(Random& r, int i, int j, int ids) { return {i, j, r.between(1, 20), r.between(1, 12), r.between(1, ids)}; }

// One chain 1-2-...-(n+1).
GeneratedNetwork chain(int works, int ids, std::uint64_t seed) {
  Random r(seed);
  GeneratedNetwork g{works + 1, {}};
  for (int i = 1; i <= works; ++i) g.works.push_back(work(r, i, i + 1, ids));
  return g;
}

// Layers of `width` events, every event linked to two of the next layer.
GeneratedNetwork layered(int works, int ids, std::uint64_t seed) {
  Random r(seed);
  const int width = 4;
  const int layers = std::max(2, works / (2 * width));
  GeneratedNetwork g{2 + layers * width, {}};
  const auto event = [&](int layer, int k) { return 2 + layer * width + k; };
  for (int k = 0; k < width; ++k) g.works.push_back(work(r, 1, event(0, k), ids));
  for (int layer = 0; layer + 1 < layers; ++layer) {
    for (int k = 0; k < width; ++k) {
      g.works.push_back(work(r, event(layer, k), event(layer + 1, k), ids));
      g.works.push_back(work(r, event(layer, k), event(layer + 1, (k + 1) % width), ids));
    }
  }
  for (int k = 0; k < width; ++k) g.works.push_back(work(r, event(layers - 1, k), g.events, ids));
  return g;
}

// Many parallel branches of two works from the start to the end.
GeneratedNetwork wide(int works, int ids, std::uint64_t seed) {
  Random r(seed);
  const int branches = works / 2;
  GeneratedNetwork g{branches + 2, {}};
  for (int b = 0; b < branches; ++b) {
    g.works.push_back(work(r, 1, 2 + b, ids));
    g.works.push_back(work(r, 2 + b, branches + 2, ids));
  }
  return g;
}

// A chain with branches that end in events of their own: their works delay nothing.
GeneratedNetwork dangling(int works, int ids, std::uint64_t seed) {
  Random r(seed);
  const int spine = works / 2;
  GeneratedNetwork g{2 * spine + 1, {}};
  for (int i = 1; i <= spine; ++i) g.works.push_back(work(r, i, i + 1, ids));
  for (int k = 0; k < works - spine; ++k) g.works.push_back(work(r, r.between(1, spine), spine + 2 + k, ids));
  g.events = spine + 1 + (works - spine);
  // The last event ends the project: number the spine's end last.
  for (GeneratedWork& w : g.works) {
    if (w.J == spine + 1) w.J = g.events; else if (w.J > spine + 1) --w.J;
  }
  return g;
}

struct Case {
  std::string name;
  WorksTable table;
  int events = 0;
  int works = 0;
};

Case fromGenerated(std::string name, const GeneratedNetwork& g) {
  return {std::move(name), worksTable(g), g.events, static_cast<int>(g.works.size())};
}

struct Figures {
  bool proven = false;
  bool notLonger = false;
  bool valid = false;
  double seconds = 0;
};

Figures runCase(const Case& c, double limit) {
  auto model = std::make_unique<TNetworkModel>();
  const TableInput input(std::to_string(c.events), std::to_string(c.works), c.table);
  const auto started = std::chrono::steady_clock::now();
  optimiseVariants(*model, input);
  const double onePass = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  Figures f;
  ReallocationInput in;
  try {
    in = reallocationInput(*model);
  } catch (const std::exception& e) {
    std::printf("%-22s %5d  %s\n", c.name.c_str(), c.works, e.what());
    f.proven = f.notLonger = f.valid = true;
    return f;
  }
  ReallocationOptions options;
  options.timeLimitSeconds = limit;
  const ReallocationResult r = reallocateWorkers(in, options);
  f.proven = r.proven;
  f.seconds = r.seconds;
  f.notLonger = r.lengthAfter <= r.lengthOnePass + 1e-6L;
  f.valid = testing::checkReallocation(in, r).empty();
  std::printf("%-22s %5d %9s %9s %9s %9s %-6s %4d %9lld %8.4f %7.2f%s\n", c.name.c_str(), c.works,
              r.lengthBeforeText.c_str(), r.lengthOnePassText.c_str(), r.lengthAfterText.c_str(),
              r.lowerBoundText.c_str(), r.proven ? "yes" : "no", r.changedWorks, r.nodes, onePass, r.seconds,
              f.valid ? "" : "  INVALID");
  return f;
}

// How long after the cancel flag is set (a second into a search of a minute) the
// reallocation returns.
void cancelLatency(const Case& c) {
  auto model = std::make_unique<TNetworkModel>();
  optimiseVariants(*model, TableInput(std::to_string(c.events), std::to_string(c.works), c.table));
  const ReallocationInput in = reallocationInput(*model);
  std::atomic<bool> cancel{false};
  ReallocationOptions options;
  options.timeLimitSeconds = 60;
  options.cancel = &cancel;
  std::chrono::steady_clock::time_point setAt;
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    setAt = std::chrono::steady_clock::now();
    cancel = true;
  });
  reallocateWorkers(in, options);
  const auto returned = std::chrono::steady_clock::now();
  stopper.join();
  std::printf("%s: returned %.3f s after the cancel flag\n", c.name.c_str(),
              std::chrono::duration<double>(returned - setAt).count());
}

}  // namespace
}  // namespace velko::bench

int main(int argc, char** argv) {
  using namespace velko::bench;
  const double limit = argc > 1 ? std::atof(argv[1]) : 10.0;
  const int large = argc > 2 ? std::atoi(argv[2]) : 2000;
  std::vector<Case> cases;
  for (int ids = 1; ids <= 4; ++ids) {
    for (std::uint64_t seed = 1; seed <= 2; ++seed) {
      const std::string tail = " i" + std::to_string(ids) + " s" + std::to_string(seed);
      cases.push_back(fromGenerated("chain" + tail, chain(ids == 1 ? 30 : 60, ids, seed)));
      cases.push_back(fromGenerated("layered" + tail, layered(100, ids, seed)));
      cases.push_back(fromGenerated("wide" + tail, wide(100, ids, seed)));
      cases.push_back(fromGenerated("dangling" + tail, dangling(80, ids, seed)));
      cases.push_back(fromGenerated("building" + tail, buildingNetwork(100, ids, seed)));
    }
  }
  cases.push_back({"ladder 1 worker", ladderNetwork(1), kLadderEvents, 0});
  cases.push_back({"ladder 9 workers", ladderNetwork(9), kLadderEvents, 0});
  for (Case& c : cases) {
    if (c.works == 0) c.works = c.table.rowCount();
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::printf("%-22s %5s %9s %9s %9s %9s %-6s %4s %9s %8s %7s\n", "network", "works", "before", "one pass", "realloc",
              "bound", "proven", "chg", "nodes", "pass s", "realloc s");
  int proven = 0, notLonger = 0, valid = 0;
  if (argc > 3) cases.clear();
  for (const Case& c : cases) {
    const Figures f = runCase(c, limit);
    proven += f.proven ? 1 : 0;
    notLonger += f.notLonger ? 1 : 0;
    valid += f.valid ? 1 : 0;
  }
  const int n = static_cast<int>(cases.size());
  if (n > 0) std::printf("proven optimal: %d of %d; never longer than the one pass: %d of %d; checked valid: %d of %d\n", proven, n,
              notLonger, n, valid, n);
  if (large > 0) {
    const Case big = fromGenerated("building " + std::to_string(large), buildingNetwork(large, 4, 1));
    runCase(big, limit);
    cancelLatency(big);
  }
  return 0;
}
