#include <algorithm>
#include <map>
#include <queue>
#include <vector>

#include "crews/crew_problem.h"

namespace velko {

namespace {

// Latest finish times of the network without capacities, with its critical path as the end.
std::vector<long long> latestFinishes(const CrewProblem& problem, const std::vector<int>& order) {
  const auto& acts = problem.activities;
  std::vector<long long> early(acts.size(), 0);
  std::vector<std::vector<int>> next(acts.size());
  for (const CrewPrecedence& p : problem.precedences) next[p.before].push_back(p.after);
  for (int a : order)
    for (int b : next[a]) early[b] = std::max(early[b], early[a] + acts[a].duration);
  long long end = 0;
  for (std::size_t a = 0; a < acts.size(); ++a) end = std::max(end, early[a] + acts[a].duration);
  std::vector<long long> late(acts.size(), end);
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    for (int b : next[*it]) late[*it] = std::min(late[*it], late[b] - acts[b].duration);
  return late;
}

}  // namespace

std::vector<long long> latestFinishRuleSchedule(const CrewProblem& problem) {
  const auto& acts = problem.activities;
  const int n = static_cast<int>(acts.size());
  std::vector<int> waiting(n, 0);
  std::vector<std::vector<int>> next(n);
  for (const CrewPrecedence& p : problem.precedences) {
    next[p.before].push_back(p.after);
    ++waiting[p.after];
  }
  std::vector<int> order;
  {
    std::vector<int> left = waiting;
    for (int a = 0; a < n; ++a)
      if (left[a] == 0) order.push_back(a);
    for (std::size_t k = 0; k < order.size(); ++k)
      for (int b : next[order[k]])
        if (--left[b] == 0) order.push_back(b);
  }
  const std::vector<long long> late = latestFinishes(problem, order);
  using Entry = std::pair<long long, int>;  // latest finish, index: ties to the smaller index
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> eligible;
  for (int a = 0; a < n; ++a)
    if (waiting[a] == 0) eligible.push({late[a], a});
  std::vector<long long> start(n, 0), ready(n, 0);
  std::map<int, std::map<long long, long long>> used;  // per trade: usage from each instant on
  auto fits = [&](int a, long long t) {
    for (const CrewDemand& d : acts[a].demands) {
      auto cap = problem.capacity.find(d.trade);
      if (cap == problem.capacity.end()) continue;
      const auto& steps = used[d.trade];
      auto it = steps.upper_bound(t);
      long long level = it == steps.begin() ? 0 : std::prev(it)->second;
      if (level + d.amount > cap->second) return false;
      for (; it != steps.end() && it->first < t + acts[a].duration; ++it)
        if (it->second + d.amount > cap->second) return false;
    }
    return true;
  };
  auto nextTry = [&](int a, long long t) {  // the next instant some usage drops after t
    long long best = std::numeric_limits<long long>::max();
    for (const CrewDemand& d : acts[a].demands) {
      const auto& steps = used[d.trade];
      auto it = steps.upper_bound(t);
      if (it != steps.end()) best = std::min(best, it->first);
    }
    return best;
  };
  auto book = [&](int a) {
    for (const CrewDemand& d : acts[a].demands) {
      if (!problem.capacity.count(d.trade)) continue;
      auto& steps = used[d.trade];
      const long long from = start[a], to = start[a] + acts[a].duration;
      for (long long at : {from, to}) {
        auto it = steps.upper_bound(at);
        long long level = it == steps.begin() ? 0 : std::prev(it)->second;
        steps.emplace(at, level);
      }
      for (auto it = steps.find(from); it != steps.end() && it->first < to; ++it) it->second += d.amount;
    }
  };
  while (!eligible.empty()) {
    const int a = eligible.top().second;
    eligible.pop();
    long long t = ready[a];
    if (acts[a].duration > 0)
      while (!fits(a, t)) t = nextTry(a, t);
    start[a] = t;
    if (acts[a].duration > 0) book(a);
    for (int b : next[a]) {
      ready[b] = std::max(ready[b], t + acts[a].duration);
      if (--waiting[b] == 0) eligible.push({late[b], b});
    }
  }
  return start;
}

}  // namespace velko
