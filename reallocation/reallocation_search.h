#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <vector>

#include "reallocation/reallocation_problem.h"

namespace velko {

// A branch and bound over the intervals of workers [lo, hi] of the movable works.
// For a target length L each node is propagated to a fixed point:
//  - Early from 0 with every work at its shortest duration within its interval, Late
//    back from L; a work must fit between Early of its start and Late of its end, which
//    gives the fewest workers it needs (durations do not grow with n' inside each of
//    the two ranges n' <= n and n' > n);
//  - the needs of an identifier's works must fit its workers; what is left over bounds
//    how many more any one of them can take.
// A node whose works all at their fewest workers (phase 2: at n where allowed) make a
// path of at most L is an answer; otherwise the search splits a work on the longest path
// at the workers that would bring that path down to L.
// Phase 1 lowers L below each answer found until no answer is left (the minimum is
// proven); phase 2 keeps the best L and lowers the number of works whose n' differs from n.

struct ReallocationLimits {
  long long effort = 0;  // units of work (arcs and events visited) the search may spend
  std::chrono::steady_clock::time_point deadline;
  const std::atomic<bool>* cancel = nullptr;
};

struct SearchAnswer {
  std::vector<long long> workers;  // per movable work
  long long length = 0;
  int changed = 0;
  long long bound = 0;      // no assignment has a shorter length
  bool proven = false;      // length == bound
  bool changesProven = false;
  bool stopped = false;     // by the effort, the clock or the cancel flag
  long long nodes = 0;
};

struct SearchReport {
  int phase = 1;
  long long length = 0;
  long long bound = 0;
  int changed = 0;
};

// `starts` are assignments that keep the rules (the network as it is, the one pass's);
// the best of them is the first incumbent.
SearchAnswer searchReallocation(const ReallocationProblem& problem, const std::vector<std::vector<long long>>& starts,
                                const ReallocationLimits& limits, const std::function<void(const SearchReport&)>& report);

// Whether `workers` keeps the sums and n' >= 1.
bool keepsCapacities(const ReallocationProblem& problem, const std::vector<long long>& workers);

}  // namespace velko
