#pragma once

#include <vector>

#include "levelling/levelling_problem.h"

namespace velko {

// The list schedule of the smoothing: works taken one by one, each after its
// predecessors and the least float first, each at its earliest shift that keeps the
// profile within a cap; the cap is halved towards `low` while a schedule is found. Near
// linear in the works, so it is what smooths networks far beyond the exact solvers'
// reach, and a quick first schedule for them below it.
//
// The work is bounded by a count of steps, not by the clock, so that the same input
// gives the same schedule however busy the machine; `limits` only cuts it short.
// Returns true and replaces `shifts` (dummies settled) and `peak` when a schedule with
// a peak below `peak` was found.
bool listSchedule(const LevellingProblem& problem, long long low, const SearchLimits& limits,
                  std::vector<long long>& shifts, long long& peak);

}  // namespace velko
