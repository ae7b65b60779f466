#pragma once

#include "crews/crew_network.h"
#include "crews/search_effort.h"

namespace velko::crews {

// Whether energetic reasoning refutes a schedule of this makespan: in some interval
// between windows' ends, the work that must fall inside (each activity held within
// [head, makespan - tail + duration]) exceeds a trade's capacity over it. Networks of
// more than kMaxEnergeticActivities are not examined (the test grows with the cube).
bool energeticRefutes(const Network& net, long long makespan, SearchEffort& effort);

inline constexpr int kMaxEnergeticActivities = 400;

}  // namespace velko::crews
