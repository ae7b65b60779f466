#include "levelling/levelling.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "levelling/levelling_problem.h"
#include "levelling/levelling_search.h"
#include "model/command_error.h"

namespace velko {

namespace {

std::vector<ProfileStep> daySteps(const std::vector<TickStep>& steps) {
  std::vector<ProfileStep> out;
  for (const TickStep& s : steps) out.push_back({microDaysValue(s.from), microDaysValue(s.to), s.workers});
  return out;
}

Extended squaresInDays(const MicroDays& squares) {
  return microDaysValue(squares);  // worker^2 x millionths of a day, read as days
}

}  // namespace

LevellingInput levellingInput(const TNetworkModel& model, int variant) {
  if (variant == 0) variant = model.Optimised == 1 ? 2 : 1;
  if (variant != 1 && variant != 2) {
    throw CommandError("Варианта " + std::to_string(variant) + " нет: есть только 1 и 2");
  }
  if (variant == 2 && model.Optimised != 1) throw CommandError("Оптимизация не выполнялась");
  LevellingInput input;
  input.variant = variant;
  input.length = variant == 2 ? model.LengthAfter : model.LengthBefore;
  for (const WorkTiming& w : workTimings(model, variant)) {
    input.works.push_back({w.I, w.J, w.duration, w.workers, w.id, w.earlyStart, w.lateFinish, w.critical});
  }
  return input;
}

int LevellingResult::shiftedCount() const {
  return static_cast<int>(std::count_if(works.begin(), works.end(), [](const LevelledWork& w) { return w.shift > 0; }));
}

LevellingResult levelWorkers(const LevellingInput& input, const LevellingOptions& options) {
  const auto started = std::chrono::steady_clock::now();
  const LevellingProblem problem = buildProblem(input);
  const std::vector<long long> early(problem.works.size(), 0);
  const std::vector<TickStep> before = tickProfile(problem, early);
  const SearchOutcome outcome = searchSchedule(problem, options, started, peakOf(before));
  // Stopped at once (a cancel, a network that cannot move), the works are where they
  // started, and the profiles need not be drawn twice.
  const bool unmoved = std::all_of(outcome.shifts.begin(), outcome.shifts.end(), [](long long k) { return k == 0; });

  LevellingResult r;
  r.variant = input.variant;
  r.length = input.length;
  r.peakAfter = outcome.peak;
  r.lowerBound = problem.staticBound;
  r.proven = outcome.peakProven;
  // A proven minimum is its own bound, whatever bound the search had reached.
  r.bestBound = r.proven ? outcome.peak : std::max(outcome.bound, std::min(problem.staticBound, outcome.peak));
  r.evennessProven = outcome.evennessProven;
  r.cancelled = options.cancel != nullptr && options.cancel->load();
  r.peakBefore = peakOf(before);
  r.squaresBefore = squaresInDays(squaresOf(before));
  r.profileBefore = daySteps(before);
  if (unmoved) {
    r.squaresAfter = r.squaresBefore;
    r.profileAfter = r.profileBefore;
  } else {
    const std::vector<TickStep> after = tickProfile(problem, outcome.shifts);
    r.squaresAfter = squaresInDays(squaresOf(after));
    r.profileAfter = daySteps(after);
  }
  std::map<int, std::vector<int>> byId;  // the profile works of each Id
  r.works.reserve(input.works.size());
  for (std::size_t w = 0; w < input.works.size(); ++w) {
    const LevellingWork& in = input.works[w];
    const ProblemWork& work = problem.works[w];
    LevelledWork out;
    out.I = in.I;
    out.J = in.J;
    out.workers = in.workers;
    out.id = in.id;
    out.duration = in.duration;
    out.shift = outcome.shifts[w];
    const MicroDays start = work.es + MicroDays(out.shift) * kMicroPerDay;
    out.earlyStart = microDaysValue(work.es);
    out.lateStart = microDaysValue(work.ls);
    out.start = microDaysValue(start);
    out.inProfile = work.inProfile;
    // The span the profile counts, so that S + t in the CSV is the finish it counted
    // and never passes the start of a successor that follows at once.
    out.durationText = microDaysText(work.t);
    out.earlyStartText = microDaysText(work.es);
    out.lateStartText = microDaysText(work.ls);
    out.startText = microDaysText(start);
    r.works.push_back(std::move(out));
    if (work.inProfile) byId[in.id].push_back(static_cast<int>(w));
  }
  for (const auto& [id, works] : byId) {
    r.profileBeforeById[id] = daySteps(tickProfile(problem, early, works));
    r.profileAfterById[id] = unmoved ? r.profileBeforeById[id] : daySteps(tickProfile(problem, outcome.shifts, works));
  }
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return r;
}

}  // namespace velko
