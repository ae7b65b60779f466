#include <algorithm>
#include <chrono>

#include "crews/crew_problem.h"

namespace velko {

// For now the priority rule alone, with the critical path and each trade's work over its
// capacity as the bound.
CrewResult solveCrews(const CrewProblem& problem, const CrewOptions&) {
  const auto began = std::chrono::steady_clock::now();
  CrewResult result;
  result.starts = latestFinishRuleSchedule(problem);
  result.makespan = crewMakespan(problem, result.starts);
  std::vector<long long> early(problem.activities.size(), 0);
  bool moved = true;
  while (moved) {  // longest paths by relaxation; the precedences are acyclic
    moved = false;
    for (const CrewPrecedence& p : problem.precedences) {
      const long long at = early[p.before] + problem.activities[p.before].duration;
      if (early[p.after] < at) early[p.after] = at, moved = true;
    }
  }
  result.bound = crewMakespan(problem, early);
  std::map<int, long long> work;
  for (const CrewActivity& a : problem.activities)
    for (const CrewDemand& d : a.demands) work[d.trade] += d.amount * a.duration;
  for (const auto& [trade, cap] : problem.capacity)
    if (work.count(trade)) result.bound = std::max(result.bound, (work[trade] + cap - 1) / cap);
  result.proven = result.makespan == result.bound;
  for (std::size_t a = 0; a < problem.activities.size(); ++a)
    if (result.starts[a] > problem.activities[a].dueStart) ++result.delays;
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  return result;
}

}  // namespace velko
