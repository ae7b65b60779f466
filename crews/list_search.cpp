#include "crews/list_search.h"

#include <algorithm>
#include <cstdint>
#include <queue>
#include <unordered_set>

namespace velko::crews {

namespace {

// A small generator of our own: the standard distributions differ between libraries.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
  double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

 private:
  std::uint64_t state_;
};

std::uint64_t fingerprint(const std::vector<long long>& starts) {
  std::uint64_t h = 1469598103934665603ULL;
  for (long long s : starts) h = (h ^ static_cast<std::uint64_t>(s)) * 1099511628211ULL;
  return h;
}

struct Member {
  std::vector<int> list;
  Schedule schedule;
};

std::vector<std::vector<double>> rulePriorities(const Network& net) {
  const int n = net.size;
  std::vector<std::vector<double>> rules;
  std::vector<double> lft(n), lst(n), grpw(n), succ(n), work(n);
  for (int a = 0; a < n; ++a) {
    lst[a] = static_cast<double>(net.criticalPath - net.tail[a]);
    lft[a] = lst[a] + static_cast<double>(net.duration[a]);
    double g = static_cast<double>(net.duration[a]);
    for (int b : net.next[a]) g += static_cast<double>(net.duration[b]);
    grpw[a] = -g;
    double w = 0;
    for (const auto& [trade, amount] : net.demand[a])
      w += static_cast<double>(amount) / static_cast<double>(net.capacity[trade]);
    work[a] = lst[a] - w * static_cast<double>(net.duration[a]) * 0.5;
  }
  // Most successors, all of them (reachable) on small networks, the direct ones on large.
  if (n <= 3000) {
    std::vector<std::vector<std::uint64_t>> reach(n, std::vector<std::uint64_t>((n + 63) / 64, 0));
    for (auto it = net.order.rbegin(); it != net.order.rend(); ++it)
      for (int b : net.next[*it]) {
        reach[*it][b / 64] |= 1ULL << (b % 64);
        for (std::size_t w = 0; w < reach[b].size(); ++w) reach[*it][w] |= reach[b][w];
      }
    for (int a = 0; a < n; ++a) {
      int c = 0;
      for (std::uint64_t w : reach[a]) c += __builtin_popcountll(w);
      succ[a] = -c;
    }
  } else {
    for (int a = 0; a < n; ++a) succ[a] = -static_cast<double>(net.next[a].size());
  }
  rules = {lft, lst, succ, grpw, work};
  return rules;
}

std::vector<int> crossover(const std::vector<int>& mother, const std::vector<int>& father, int q1, int q2,
                           std::vector<char>& taken) {
  const int n = static_cast<int>(mother.size());
  std::vector<int> child;
  child.reserve(n);
  std::fill(taken.begin(), taken.end(), 0);
  for (int k = 0; k < q1; ++k) child.push_back(mother[k]), taken[mother[k]] = 1;
  for (int k = 0; k < n && static_cast<int>(child.size()) < q2; ++k)
    if (!taken[father[k]]) child.push_back(father[k]), taken[father[k]] = 1;
  for (int k = 0; k < n; ++k)
    if (!taken[mother[k]]) child.push_back(mother[k]), taken[mother[k]] = 1;
  return child;
}

// Moves one activity to a random place between its last predecessor and its first
// successor in the list: a larger step than a swap of neighbours, still a valid list.
void shift(const Network& net, std::vector<int>& list, std::vector<int>& place, Random& random) {
  const int n = static_cast<int>(list.size());
  for (int k = 0; k < n; ++k) place[list[k]] = k;
  const int k = random.below(n), a = list[k];
  int low = 0, high = n - 1;
  for (int p : net.prev[a]) low = std::max(low, place[p] + 1);
  for (int s : net.next[a]) high = std::min(high, place[s] - 1);
  const int to = low + random.below(high - low + 1);
  if (to < k) std::rotate(list.begin() + to, list.begin() + k, list.begin() + k + 1);
  else if (to > k) std::rotate(list.begin() + k, list.begin() + k + 1, list.begin() + to + 1);
}

}  // namespace

std::vector<int> priorityList(const Network& net, const std::vector<double>& priority) {
  std::vector<int> waiting(net.size, 0);
  for (int a = 0; a < net.size; ++a) waiting[a] = static_cast<int>(net.prev[a].size());
  using Entry = std::pair<double, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> eligible;
  for (int a = 0; a < net.size; ++a)
    if (waiting[a] == 0) eligible.push({priority[a], a});
  std::vector<int> list;
  list.reserve(net.size);
  while (!eligible.empty()) {
    const int a = eligible.top().second;
    eligible.pop();
    list.push_back(a);
    for (int b : net.next[a])
      if (--waiting[b] == 0) eligible.push({priority[b], b});
  }
  return list;
}

void listSearch(SerialScheme& scheme, long long lowerBound, long long rounds, SearchEffort& effort,
                Schedule& best, const std::function<void(const Schedule&)>& better) {
  const Network& net = scheme.network();
  const int n = net.size;
  if (n == 0) return;
  auto offer = [&](const Schedule& s) {
    if (s.better(best)) {
      best = s;
      better(best);
    }
  };
  auto done = [&] { return best.makespan <= lowerBound || effort.over(); };
  std::vector<Member> population;
  std::unordered_set<std::uint64_t> seen;
  auto add = [&](std::vector<int> list) {
    Member m;
    if (!scheme.improve(list, m.schedule, effort)) return;
    m.list = std::move(list);
    offer(m.schedule);
    if (seen.insert(fingerprint(m.schedule.starts)).second) population.push_back(std::move(m));
  };
  const std::vector<std::vector<double>> rules = rulePriorities(net);
  for (const auto& rule : rules) {
    if (done()) return;
    add(priorityList(net, rule));
  }
  // Then biased random sampling around the latest finish rule fills the population.
  Random random(20240611);
  const int size = n <= 2000 ? 40 : 8;
  const double spread = static_cast<double>(std::max<long long>(1, net.criticalPath));
  std::vector<double> noisy(n);
  for (int tries = 0; static_cast<int>(population.size()) < size && tries < 2 * size; ++tries) {
    if (done()) return;
    const double width = spread * (0.05 + 0.3 * random.unit());
    for (int a = 0; a < n; ++a) noisy[a] = rules[0][a] + width * random.unit();
    add(priorityList(net, noisy));
  }
  if (population.size() < 2) return;
  auto byQuality = [](const Member& a, const Member& b) { return a.schedule.better(b.schedule); };
  std::sort(population.begin(), population.end(), byQuality);
  std::vector<char> taken(n);
  std::vector<int> place(n);
  const double mutation = std::min(0.05, 4.0 / n);
  // A population that has bred nothing better for a while starts again from shaken
  // copies of its best few.
  const long long stall = 50LL * size;
  long long sinceBetter = 0;
  long long bestSeen = best.makespan;
  for (long long round = 0; round < rounds && !done(); ++round) {
    if (best.makespan < bestSeen) bestSeen = best.makespan, sinceBetter = 0;
    if (++sinceBetter > stall && population.size() > 4) {
      sinceBetter = 0;
      population.resize(4);
      seen.clear();
      for (const Member& m : population) seen.insert(fingerprint(m.schedule.starts));
      for (int k = 0; static_cast<int>(population.size()) < size && k < 2 * size && !done(); ++k) {
        std::vector<int> list = population[k % 4].list;
        for (int moves = 0; moves < std::max(2, n / 8); ++moves) shift(net, list, place, random);
        add(std::move(list));
      }
      std::sort(population.begin(), population.end(), byQuality);
      continue;
    }
    const int m = static_cast<int>(population.size());
    auto pick = [&] {  // the better of two at random
      const int x = random.below(m), y = random.below(m);
      return std::min(x, y);
    };
    const int mother = pick();
    int father = pick();
    if (father == mother) father = (mother + 1) % m;
    const int q1 = random.below(n), q2 = q1 + random.below(n - q1 + 1);
    std::vector<int> child = crossover(population[mother].list, population[father].list, q1, q2, taken);
    for (int k = 0; k + 1 < n; ++k)
      if (random.unit() < mutation && !directlyPrecedes(net, child[k], child[k + 1])) std::swap(child[k], child[k + 1]);
    Member c;
    if (!scheme.improve(child, c.schedule, effort)) return;
    c.list = std::move(child);
    offer(c.schedule);
    if (population.back().schedule.better(c.schedule)) continue;  // an equal one keeps the search moving
    if (!seen.insert(fingerprint(c.schedule.starts)).second) continue;
    population.back() = std::move(c);
    std::sort(population.begin(), population.end(), byQuality);  // small: a few dozen
  }
}

}  // namespace velko::crews
