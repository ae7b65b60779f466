#include "crews/energetic_bound.h"

#include <algorithm>

namespace velko::crews {

namespace {
__extension__ using Wide = __int128;  // work over a long interval of ticks may pass 2^63
}

bool energeticRefutes(const Network& net, long long makespan, SearchEffort& effort) {
  const int n = net.size;
  if (n > kMaxEnergeticActivities) return false;
  std::vector<long long> es(n), ef(n), ls(n), lf(n);
  for (int a = 0; a < n; ++a) {
    es[a] = net.head[a];
    ef[a] = es[a] + net.duration[a];
    ls[a] = makespan - net.tail[a];
    lf[a] = ls[a] + net.duration[a];
    if (ls[a] < es[a]) return true;
  }
  // Small networks look at every window's ends, larger ones at the earliest starts and
  // the latest finishes only.
  std::vector<long long> from, to;
  for (int a = 0; a < n; ++a) {
    if (net.duration[a] <= 0 || net.demand[a].empty()) continue;
    from.push_back(es[a]);
    to.push_back(lf[a]);
    if (n <= 60) {
      from.push_back(ef[a]), from.push_back(ls[a]);
      to.push_back(ls[a]), to.push_back(ef[a]);
    }
  }
  for (auto* v : {&from, &to}) {
    std::sort(v->begin(), v->end());
    v->erase(std::unique(v->begin(), v->end()), v->end());
  }
  const std::size_t trades = net.capacity.size();
  std::vector<Wide> need(trades);
  long long steps = 0;
  for (long long t1 : from) {
    for (long long t2 : to) {
      if (t2 <= t1) continue;
      std::fill(need.begin(), need.end(), 0);
      for (int a = 0; a < n; ++a) {
        if (net.demand[a].empty()) continue;
        const long long inside =
            std::min({t2 - t1, net.duration[a], ef[a] - t1, t2 - ls[a]});
        if (inside <= 0) continue;
        for (const auto& [trade, amount] : net.demand[a]) need[trade] += static_cast<Wide>(inside) * amount;
      }
      steps += n;
      for (std::size_t t = 0; t < trades; ++t)
        if (need[t] > static_cast<Wide>(net.capacity[t]) * (t2 - t1)) {
          effort.spend(steps);
          return true;
        }
    }
    if (steps > 100000) {
      effort.spend(steps);
      steps = 0;
      if (effort.over()) return false;
    }
  }
  effort.spend(steps);
  return false;
}

}  // namespace velko::crews
