#pragma once

#include <string>
#include <vector>

#include "reallocation/reallocation.h"

namespace velko::testing {

// Checks an answer against the rules from the input alone, with arithmetic of its own:
// each identifier's sum of workers, n' >= 1, unmovable works unchanged, every t' by the
// rules, and the length recomputed from the events. Returns the faults found.
std::vector<std::string> checkReallocation(const ReallocationInput& input, const ReallocationResult& result);

// The length of the network with the given durations, in millionths of a day.
long long recomputedLength(const ReallocationInput& input, const std::vector<long double>& durations);

}  // namespace velko::testing
