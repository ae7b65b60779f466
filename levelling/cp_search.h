#pragma once

#include <functional>
#include <vector>

#include "levelling/levelling_problem.h"

namespace velko {

// The constraint-programming side of the smoothing (Gecode): quick good schedules for
// the peak, and the search for the most even profile under a given peak.

// Schedules with a peak in [low, high], each better than the last, in time order of
// their starts; `found` sees every one. Returns true when the search was exhausted,
// so that the last schedule found (or `high` itself when none was) is the smallest.
bool searchPeak(const LevellingProblem& problem, const InstantTables& tables, long long low, long long high,
                const SearchLimits& limits, const std::function<void(const std::vector<long long>&, long long)>& found);

// Schedules with the peak at most `peak` and a profile more even than `shifts`, each
// more even than the last; the best replaces `shifts`. Returns true when the search
// was exhausted, so that `shifts` is the most even.
bool searchEvenness(const LevellingProblem& problem, const InstantTables& tables, long long peak,
                    std::vector<long long>& shifts, const SearchLimits& limits, const std::function<void()>& found);

}  // namespace velko
