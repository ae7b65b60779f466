#pragma once

#include <vector>

#include "model/network_model.h"

namespace velko {

// Timing of one work of a recorded variant, every work at its early start.
struct WorkTiming {
  int I = 0;
  int J = 0;
  Extended duration = 0;
  int workers = 0;
  int id = 0;
  Extended earlyStart = 0;   // Early(I)
  Extended earlyFinish = 0;  // Early(I) + t
  Extended lateStart = 0;    // Late(J) - t
  Extended lateFinish = 0;   // Late(J)
  Extended totalFloat = 0;
  Extended freeFloat = 0;
  // Float left whatever its neighbours do: Early(J) - Late(I) - t, never below 0.
  Extended independentFloat = 0;
  bool critical = false;     // stored total float exactly 0
};

// The works of variant record `variant` (1 or 2) in the order the record holds them.
// Their number is that of the works the run's scan found, as the results file lists them.
std::vector<WorkTiming> workTimings(const TNetworkModel& model, int variant);

// Workers busy over time with every work at its early start: a step function given as
// the intervals where the number changes, from day 0 to the last finish.
struct ProfileStep {
  Extended from = 0;
  Extended to = 0;
  long long workers = 0;
};
std::vector<ProfileStep> workersProfile(const std::vector<WorkTiming>& works);

// Figures of a profile: labour volume (worker-days, the sum of t x n), the peak, the
// mean over the critical path length, and the unevenness peak / mean (0 when there is
// no labour).
struct ProfileFigures {
  Extended length = 0;
  Extended volume = 0;
  long long peak = 0;
  Extended mean = 0;
  Extended unevenness = 0;
};
ProfileFigures profileFigures(const std::vector<WorkTiming>& works, const std::vector<ProfileStep>& profile,
                              Extended length);

}  // namespace velko
