#include "crews/crew_network.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace velko::crews {

namespace {

void orderAndPaths(Network& net) {
  const int n = net.size;
  std::vector<int> waiting(n, 0);
  for (int a = 0; a < n; ++a)
    for (int b : net.next[a]) ++waiting[b];
  net.order.clear();
  for (int a = 0; a < n; ++a)
    if (waiting[a] == 0) net.order.push_back(a);
  for (std::size_t k = 0; k < net.order.size(); ++k)
    for (int b : net.next[net.order[k]])
      if (--waiting[b] == 0) net.order.push_back(b);
  if (static_cast<int>(net.order.size()) != n) throw std::invalid_argument("crew problem: a cycle of precedences");
  net.rank.assign(n, 0);
  for (int k = 0; k < n; ++k) net.rank[net.order[k]] = k;
  net.head.assign(n, 0);
  for (int a : net.order)
    for (int b : net.next[a]) net.head[b] = std::max(net.head[b], net.head[a] + net.duration[a]);
  net.tail.assign(n, 0);
  for (auto it = net.order.rbegin(); it != net.order.rend(); ++it) {
    long long after = 0;
    for (int b : net.next[*it]) after = std::max(after, net.tail[b]);
    net.tail[*it] = after + net.duration[*it];
  }
  net.criticalPath = 0;
  for (int a = 0; a < n; ++a) net.criticalPath = std::max(net.criticalPath, net.head[a] + net.duration[a]);
}

}  // namespace

long long durationUnit(const CrewProblem& problem) {
  long long unit = 0;
  for (const CrewActivity& a : problem.activities)
    if (a.duration > 0) unit = std::gcd(unit, a.duration);
  return unit > 0 ? unit : 1;
}

Network makeNetwork(const CrewProblem& problem, long long unit) {
  Network net;
  net.size = static_cast<int>(problem.activities.size());
  const int n = net.size;
  std::map<int, int> tradeIndex;
  for (const auto& [trade, cap] : problem.capacity) {
    tradeIndex[trade] = static_cast<int>(net.capacity.size());
    net.capacity.push_back(cap);
  }
  net.duration.resize(n);
  net.demand.resize(n);
  for (int a = 0; a < n; ++a) {
    const CrewActivity& act = problem.activities[a];
    net.duration[a] = act.duration / unit;
    if (act.duration <= 0) continue;
    for (const CrewDemand& d : act.demands) {
      auto it = tradeIndex.find(d.trade);
      if (it == tradeIndex.end() || d.amount <= 0) continue;
      auto same = std::find_if(net.demand[a].begin(), net.demand[a].end(),
                               [&](const auto& u) { return u.first == it->second; });
      if (same != net.demand[a].end()) same->second += d.amount;  // one trade named twice
      else net.demand[a].push_back({it->second, d.amount});
    }
  }
  net.next.resize(n);
  net.prev.resize(n);
  for (const CrewPrecedence& p : problem.precedences) {
    if (p.before < 0 || p.after < 0 || p.before >= n || p.after >= n)
      throw std::invalid_argument("crew problem: a precedence names no activity");
    net.next[p.before].push_back(p.after);
    net.prev[p.after].push_back(p.before);
  }
  for (int a = 0; a < n; ++a) {  // sorted and unique, for directlyPrecedes
    std::sort(net.next[a].begin(), net.next[a].end());
    net.next[a].erase(std::unique(net.next[a].begin(), net.next[a].end()), net.next[a].end());
    std::sort(net.prev[a].begin(), net.prev[a].end());
    net.prev[a].erase(std::unique(net.prev[a].begin(), net.prev[a].end()), net.prev[a].end());
  }
  orderAndPaths(net);
  return net;
}

Network reversedNetwork(const Network& net) {
  Network r;
  r.size = net.size;
  r.duration = net.duration;
  r.capacity = net.capacity;
  r.demand = net.demand;
  r.next = net.prev;
  r.prev = net.next;
  orderAndPaths(r);
  return r;
}

bool directlyPrecedes(const Network& net, int a, int b) {
  return std::binary_search(net.next[a].begin(), net.next[a].end(), b);
}

}  // namespace velko::crews
