#include "levelling/levelling_search.h"

#include <algorithm>
#include <cmath>

#include "levelling/cp_search.h"
#include "levelling/list_search.h"
#include "levelling/mip_search.h"

namespace velko {

namespace {

using Clock = std::chrono::steady_clock;

// The effort, as nodes per second of effort (measured on the development machine),
// and the shares of it each search has: the constraint search first, to find and
// perhaps prove the smallest peak, the integer program for what it left open, the
// constraint search again, then the most even profile.
constexpr double kCpNodesPerSecond = 40000;
constexpr double kMipNodesPerSecond = 100;
constexpr double kFirstScheduleShare = 0.5;
constexpr double kMipShare = 0.5;
constexpr double kSecondScheduleShare = 0.25;
constexpr double kEvennessShare = 0.5;
constexpr long long kMaxMipWorkers = 1000000;

long long nodes(double perSecond, double share, double effortSeconds) {
  return std::max<long long>(1, std::llround(std::min(perSecond * share * std::max(0.0, effortSeconds), 1e15)));
}

Clock::time_point after(Clock::time_point start, double seconds) {
  return start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// Runs one search; a solver that gives up (out of memory, a limit of its own; the
// integer-programming library's errors are not standard exceptions) leaves the best
// schedule found so far, unproven.
template <typename Search>
bool guarded(Search&& search) {
  try {
    return search();
  } catch (...) {
    return false;
  }
}

}  // namespace

SearchOutcome searchSchedule(const LevellingProblem& p, const LevellingOptions& options, Clock::time_point started,
                             long long earlyPeak) {
  SearchOutcome out;
  out.shifts.assign(p.works.size(), 0);
  out.peak = earlyPeak;
  out.bound = std::min(p.staticBound, out.peak);
  const auto report = [&](int phase) {
    if (options.progress) {
      options.progress({phase, out.peak, out.bound, std::chrono::duration<double>(Clock::now() - started).count()});
    }
  };
  const bool movable = std::any_of(p.profileWorks.begin(), p.profileWorks.end(),
                                   [&](int w) { return p.works[static_cast<std::size_t>(w)].maxShift > 0; });
  report(1);
  // Crews beyond the solvers' integers (a billion workers in all) stay where they are.
  if (!movable || p.workerSum >= (1LL << 30)) {
    out.peakProven = out.peak == out.bound || (!movable && !p.cut);
    out.evennessProven = !movable && !p.cut;
    return out;
  }
  const double safety =
      options.timeLimitSeconds > 0 ? options.timeLimitSeconds : 20 * std::max(0.0, options.effortSeconds) + 20;
  const Clock::time_point deadline = after(started, std::min(safety, 1e9));
  const auto limits = [&](double perSecond, double share) {
    return SearchLimits{deadline, options.cancel, nodes(perSecond, share, options.effortSeconds)};
  };
  // Every schedule a solver hands back is measured again in exact arithmetic.
  const auto take = [&](const std::vector<long long>& shifts, long long) {
    out.shifts = shifts;
    settleDummies(p, out.shifts);
    out.peak = peakOf(tickProfile(p, out.shifts));
    report(1);
  };
  std::vector<long long> listed = out.shifts;
  long long listedPeak = out.peak;
  if (SearchLimits{deadline, options.cancel}.reached()) return out;
  if (guarded([&] { return listSchedule(p, out.bound, {deadline, options.cancel}, listed, listedPeak); })) {
    std::vector<long long> early = std::move(out.shifts);
    take(listed, listedPeak);
    if (out.peak > earlyPeak) {  // the grid never counts fewer workers than there are; a guard all the same
      out.shifts = std::move(early);
      out.peak = earlyPeak;
    }
  }
  if (!p.exact) {
    // Too large for the exact solvers: the list schedule is the answer, proven only
    // where it meets the bound. The most even profile is not searched: its model
    // pairs every two works that may overlap.
    out.peakProven = out.peak == out.bound;
    return out;
  }
  const InstantTables tables = instantTables(p);

  // The smallest peak: a quick schedule from the constraint search, then the integer
  // program for anything smaller or the proof that nothing is. With floats cut to the
  // search limit, an exhausted search proves nothing beyond the floats it searched.
  bool decided = out.peak == out.bound;
  if (!decided) {
    const SearchLimits quick = limits(kCpNodesPerSecond, kFirstScheduleShare);
    decided = guarded([&] { return searchPeak(p, tables, out.bound, out.peak, quick, take); }) && !p.cut;
    if (decided) out.bound = out.peak;
  }
  // Crews of more than a million workers in all are left to the constraint search:
  // the linear solver's tolerances would no longer tell one worker from none.
  if (!decided && out.peak > out.bound && p.workerSum <= kMaxMipWorkers) {
    guarded([&] {
      const MipOutcome mip = solvePeakMip(p, tables, out.bound, out.peak - 1, limits(kMipNodesPerSecond, kMipShare));
      if (mip.found) take(mip.shifts, mip.peak);
      if (!p.cut) out.bound = std::max(out.bound, std::min(mip.bound, out.peak));
      return true;
    });
    decided = out.peak == out.bound;
    report(1);
  }
  out.peakProven = out.peak == out.bound;
  if (!decided && !SearchLimits{deadline, options.cancel}.reached()) {
    // What the integer program could not decide may still fall to the constraint search.
    const SearchLimits again = limits(kCpNodesPerSecond, kSecondScheduleShare);
    decided = guarded([&] { return searchPeak(p, tables, out.bound, out.peak, again, take); }) && !p.cut;
    if (decided) out.bound = out.peak;
    out.peakProven = out.peak == out.bound;
  }
  if (!decided || SearchLimits{deadline, options.cancel}.reached()) return out;

  // The most even profile with that peak.
  report(2);
  std::vector<long long> even = out.shifts;
  out.evennessProven = guarded([&] {
                         return searchEvenness(p, tables, out.peak, even, limits(kCpNodesPerSecond, kEvennessShare), [&] {
                           out.shifts = even;
                           settleDummies(p, out.shifts);
                           report(2);
                         });
                       }) && !p.cut;
  settleDummies(p, out.shifts);
  return out;
}

}  // namespace velko
