#include "bench/building_network.h"

#include <algorithm>
#include <unordered_set>

#include "model/network_model.h"

namespace velko::bench {

namespace {

// splitmix64: the same numbers from every standard library, unlike its distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int between(int low, int high) { return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1)); }
  bool chance(int percent) { return between(1, 100) <= percent; }

 private:
  std::uint64_t state_;
};

}  // namespace

GeneratedNetwork buildingNetwork(int works, int identifiers, std::uint64_t seed) {
  Random random(seed);
  GeneratedNetwork network;
  network.events = std::clamp(works * 3 / 5, 2, kMaxEvents);
  const int events = network.events;
  std::unordered_set<std::uint64_t> pairs;
  std::vector<char> leaves(static_cast<std::size_t>(events) + 1, 0);
  auto add = [&](int i, int j) {
    if (static_cast<int>(network.works.size()) >= works) return;
    if (!pairs.insert((std::uint64_t(i) << 32) | std::uint32_t(j)).second) return;
    GeneratedWork w{i, j, random.between(1, 20), random.between(1, 12), random.between(1, identifiers)};
    if (random.chance(8)) w.days = w.workers = 0;  // a dummy: a bare precedence
    network.works.push_back(w);
    leaves[static_cast<std::size_t>(i)] = 1;
  };
  // Parallel chains (lanes) of about sixty events each, as the sections and floors of a
  // building run side by side; the project then lasts some hundreds of days whatever
  // its size. Event 1 starts every lane, the last event ends them.
  const int lanes = std::max(1, (events - 2) / 60);
  auto towards = [&](int i, int step) { return std::clamp(i + step, i + 1, events); };
  for (int j = 2; j < events; ++j) {
    const int position = (j - 2) / lanes;
    if (position == 0) {
      add(1, j);
    } else if (random.chance(80)) {
      add(j - lanes, j);
    } else {
      add(std::clamp(j - lanes + random.between(-3, 3), 1, j - 1), j);  // a branch merging from a neighbour
    }
  }
  // Every event but the last leads on, so the project has one end.
  for (int i = 1; i < events; ++i) {
    if (!leaves[static_cast<std::size_t>(i)]) add(i, i + lanes >= events ? events : towards(i, lanes));
  }
  if (events == 2) add(1, 2);
  // Parallel works and cross links up to the count.
  for (int tries = 0; static_cast<int>(network.works.size()) < works && tries < works * 20; ++tries) {
    const int i = random.between(1, events - 1);
    add(i, towards(i, lanes * random.between(1, 2) + random.between(-3, 3)));
  }
  // Rows in the order a planner might type them, not sorted by events.
  for (std::size_t k = network.works.size(); k > 1; --k) {
    std::swap(network.works[k - 1], network.works[static_cast<std::size_t>(random.next() % k)]);
  }
  return network;
}

std::string dataFileText(const GeneratedNetwork& network) {
  std::string text = "1\r\n" + std::to_string(network.works.size()) + "\r\n" + std::to_string(network.events) + "\r\n";
  for (const GeneratedWork& w : network.works) {
    text += std::to_string(w.I) + ',' + std::to_string(w.J) + ',' + std::to_string(w.days) + ',' +
            std::to_string(w.workers) + ',' + std::to_string(w.id) + "\r\n";
  }
  return text;
}

WorksTable worksTable(const GeneratedNetwork& network) {
  WorksTable table;
  int r = 0;
  for (const GeneratedWork& w : network.works) {
    table.setRow(++r, {std::to_string(w.I), std::to_string(w.J), std::to_string(w.days), std::to_string(w.workers),
                       std::to_string(w.id)});
  }
  table.setRowCount(r);
  return table;
}

}  // namespace velko::bench
