#pragma once

#include <string>
#include <vector>

#include "levelling/levelling.h"
#include "model/network_model.h"

namespace velko::testing {

// An independent check of a smoothed schedule against the recorded variant, in plain
// long double arithmetic with a tolerance of a millionth of a day: every bound, whole
// day shift and precedence, the path length, and the profile, its peak and its
// squares recomputed from the starts. Returns the faults found, empty when none.
std::vector<std::string> checkSchedule(const TNetworkModel& model, const LevellingResult& result);
// The same against the copy the smoothing was given (networks beyond the model's tables).
std::vector<std::string> checkSchedule(const LevellingInput& input, const LevellingResult& result);

// The smallest peak, and the smallest integral of the profile squared at that peak,
// over every schedule the rules allow, by enumeration (small networks only).
struct Enumerated {
  long long peak = 0;
  long double squares = 0;
  long long schedules = 0;
};
Enumerated enumerateSchedules(const TNetworkModel& model, int variant);

}  // namespace velko::testing
