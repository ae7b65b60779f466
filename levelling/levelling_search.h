#pragma once

#include <chrono>
#include <vector>

#include "levelling/levelling.h"
#include "levelling/levelling_problem.h"

namespace velko {

// What the search found: a shift for every work (dummies included), its peak and the
// best bound, and how far it got within the time limit.
struct SearchOutcome {
  std::vector<long long> shifts;
  long long peak = 0;
  long long bound = 0;
  bool peakProven = false;
  bool evennessProven = false;
};

// Runs the constraint solver in two phases: the smallest peak, then the most even
// profile with that peak. `started` is when the caller's time limit began; `earlyPeak`
// is the peak with every work at its early start.
SearchOutcome searchSchedule(const LevellingProblem& problem, const LevellingOptions& options,
                             std::chrono::steady_clock::time_point started, long long earlyPeak);

}  // namespace velko
