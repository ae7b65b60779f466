#include <algorithm>
#include <map>
#include <string>

#include "crews/crew_problem.h"

namespace velko {

long long crewMakespan(const CrewProblem& problem, const std::vector<long long>& starts) {
  long long end = 0;
  for (std::size_t a = 0; a < problem.activities.size() && a < starts.size(); ++a)
    end = std::max(end, starts[a] + problem.activities[a].duration);
  return end;
}

int crewInfeasibility(const CrewProblem& problem) {
  for (std::size_t a = 0; a < problem.activities.size(); ++a) {
    if (problem.activities[a].duration <= 0) continue;
    for (const CrewDemand& d : problem.activities[a].demands) {
      auto cap = problem.capacity.find(d.trade);
      if (cap != problem.capacity.end() && d.amount > cap->second) return static_cast<int>(a);
    }
  }
  return -1;
}

std::string crewScheduleFault(const CrewProblem& problem, const std::vector<long long>& starts) {
  const auto& acts = problem.activities;
  if (starts.size() != acts.size()) return "starts: " + std::to_string(starts.size()) + " for " +
                                           std::to_string(acts.size()) + " activities";
  for (std::size_t a = 0; a < acts.size(); ++a)
    if (starts[a] < 0) return "activity " + std::to_string(a) + " starts before 0";
  for (const CrewPrecedence& p : problem.precedences)
    if (starts[p.after] < starts[p.before] + acts[p.before].duration)
      return "activity " + std::to_string(p.after) + " starts before " + std::to_string(p.before) + " ends";
  // Usage changes per trade; a finish and a start at one instant do not overlap.
  std::map<int, std::map<long long, long long>> change;
  for (std::size_t a = 0; a < acts.size(); ++a) {
    if (acts[a].duration <= 0) continue;
    for (const CrewDemand& d : acts[a].demands) {
      if (!problem.capacity.count(d.trade)) continue;
      change[d.trade][starts[a]] += d.amount;
      change[d.trade][starts[a] + acts[a].duration] -= d.amount;
    }
  }
  for (const auto& [trade, steps] : change) {
    long long used = 0;
    for (const auto& [at, delta] : steps) {
      used += delta;
      if (used > problem.capacity.at(trade))
        return "trade " + std::to_string(trade) + " uses " + std::to_string(used) + " at " + std::to_string(at);
    }
  }
  return {};
}

}  // namespace velko
