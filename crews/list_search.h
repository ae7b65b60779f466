#pragma once

#include <functional>
#include <vector>

#include "crews/serial_scheme.h"

namespace velko::crews {

// Several priority rules, then a genetic search over activity lists with fixed seed,
// each list improved forward and backward. Stops at `lowerBound`, when the effort runs
// out, or after `rounds` children; calls `better` at each better schedule.
void listSearch(SerialScheme& scheme, long long lowerBound, long long rounds, SearchEffort& effort,
                Schedule& best, const std::function<void(const Schedule&)>& better);

// The activity list a priority gives: at each step the eligible activity of the smallest
// priority, ties to the smaller index.
std::vector<int> priorityList(const Network& net, const std::vector<double>& priority);

}  // namespace velko::crews
