#pragma once

#include <functional>
#include <vector>

#include "reallocation/reallocation_problem.h"

namespace velko {

// A lower bound of the length from a linear relaxation: Early of each event and the
// workers of each movable work as real numbers, the workers' sums per identifier kept,
// and each work's duration at least the lower convex hull of its durations at whole
// workers within [lo, hi] (t x n / n' less half a millionth where the interval is too
// wide to list). Cuts of that hull are added as the solution breaks them.
struct LpBound {
  long long bound = 0;   // millionths; no assignment within the intervals is shorter
  long long effort = 0;  // simplex iterations times the size of the programme, and the hull's points
  std::vector<double> workers;  // n' of the last solved round, per movable work; empty when none was solved
};

// Spends at most about `effortLimit`; when `stop` answers true (polled every few simplex
// iterations) or the effort runs out, the bound of the last solved round.
LpBound reallocationLpBound(const ReallocationProblem& problem, const std::vector<long long>& lo,
                            const std::vector<long long>& hi, long long effortLimit,
                            const std::function<bool()>& stop = [] { return false; });

}  // namespace velko
