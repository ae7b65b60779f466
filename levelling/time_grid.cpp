#include "levelling/time_grid.h"

#include <algorithm>

namespace velko {

std::optional<TimeGrid> timeGrid(const LevellingProblem& p, int maxHorizon) {
  if (p.profileWorks.empty()) return std::nullopt;
  MicroDays first = p.works[static_cast<std::size_t>(p.profileWorks.front())].es;
  for (int w : p.profileWorks) first = std::min(first, p.works[static_cast<std::size_t>(w)].es);
  MicroDays unit = kMicroPerDay;
  for (int w : p.profileWorks) {
    const ProblemWork& work = p.works[static_cast<std::size_t>(w)];
    unit = boost::multiprecision::gcd(unit, work.es - first);
    unit = boost::multiprecision::gcd(unit, work.t);
  }
  TimeGrid grid;
  grid.unitsPerDay = static_cast<int>(MicroDays(kMicroPerDay) / unit);
  MicroDays horizon = 0;
  for (int w : p.profileWorks) {
    const ProblemWork& work = p.works[static_cast<std::size_t>(w)];
    const MicroDays finish = (work.es - first + work.t) / unit + MicroDays(work.maxShift) * grid.unitsPerDay;
    if (finish > maxHorizon) return std::nullopt;
    horizon = std::max(horizon, finish);
    grid.earlyStart.push_back(static_cast<int>((work.es - first) / unit));
    grid.duration.push_back(static_cast<int>(work.t / unit));
  }
  grid.horizon = static_cast<int>(horizon);
  return grid;
}

}  // namespace velko
