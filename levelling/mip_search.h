#pragma once

#include <vector>

#include "levelling/levelling_problem.h"

namespace velko {

// The integer-programming side of the smoothing (COIN-OR CBC): the smallest peak as a
// time-indexed model whose linear relaxation bounds the peak from below, which proves
// the minimum where the constraint search alone cannot.
struct MipOutcome {
  bool finished = false;  // the peak in [low, high] is decided
  bool found = false;     // a schedule with a peak of at most `high` was found
  std::vector<long long> shifts;
  long long peak = 0;
  long long bound = 0;    // no schedule has a smaller peak than this
};

// Models with more shift variables or instant coefficients than this are left to the
// constraint search: building them alone would take much of the time limit, and the
// coefficients, gathered per instant, some hundred megabytes.
inline constexpr long long kMaxMipShifts = 20000;
inline constexpr long long kMaxMipEntries = 500000;

// The smallest peak in [low, high], or proof that none is that small.
MipOutcome solvePeakMip(const LevellingProblem& problem, const InstantTables& tables, long long low, long long high,
                        const SearchLimits& limits);

}  // namespace velko
