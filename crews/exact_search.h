#pragma once

#include <functional>

#include "crews/serial_scheme.h"

namespace velko::crews {

// Whether the constraint model fits: every number within the solver's integers and a
// network small enough for a search tree.
bool exactSearchFits(const Network& net, long long makespan);

// Trial makespans from `bound` up, each handed to a constraint search (start times,
// precedences, a cumulative per trade with time-tabling and edge-finding): a trial
// proved to have no schedule raises the bound, one that has a schedule is the optimum
// and replaces `best`. Stops when the effort runs out or `bound` reaches `best`.
void exactSearch(const Network& net, const std::vector<long long>& dueStarts, long long& bound, Schedule& best,
                 SearchEffort& effort, const std::function<void()>& progress);

// The same search one tick below the best schedule, again after each shorter one found:
// finds what the lists miss; a trial proved empty makes the best the optimum.
void shortenFromAbove(const Network& net, const std::vector<long long>& dueStarts, long long& bound, Schedule& best,
                      SearchEffort& effort, const std::function<void()>& progress);

// With the makespan held at `best`'s, the fewest starts past their due start.
void fewestDelays(const Network& net, const std::vector<long long>& dueStarts, Schedule& best, SearchEffort& effort);

// Effort charged per node of the constraint search (the serial scheme's step is one).
inline constexpr long long kEffortPerNode = 3000;

}  // namespace velko::crews
