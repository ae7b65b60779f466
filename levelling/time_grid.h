#pragma once

#include <optional>
#include <vector>

#include "levelling/levelling_problem.h"

namespace velko {

// The profile works on a common grid of time units in which every early start, every
// duration and a day are whole numbers of units (half days for durations such as 2.5).
// On it each duration is a constant, which the constraint solver's resource reasoning
// needs to be strong; the instant tables give every shift its own length instead.
struct TimeGrid {
  int unitsPerDay = 1;
  std::vector<int> earlyStart;  // per profile work (as in profileWorks), from the first early start
  std::vector<int> duration;
  int horizon = 0;              // the latest finish of any shift
};

// The grid, unless it would be finer than `maxHorizon` units over the whole schedule.
std::optional<TimeGrid> timeGrid(const LevellingProblem& problem, int maxHorizon);

}  // namespace velko
