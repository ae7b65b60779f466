#include "reallocation/reallocation.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "levelling/micro_days.h"
#include "model/command_error.h"
#include "model/optimisation.h"
#include "model/schedule_figures.h"
#include "model/time_parameters.h"
#include "reallocation/reallocation_problem.h"
#include "reallocation/reallocation_search.h"

namespace velko {

namespace {

// Search effort per second of the time limit: units of arcs and events visited, about
// what the development machine does in a second, so that the answer depends on the
// effort alone and the clock stays a safety net.
constexpr double kEffortPerSecond = 3e7;

// The one pass on a copy of variant 1, for a model that was only calculated.
std::vector<int> onePassOf(const ReallocationInput& input, Extended& length) {
  auto m = std::make_unique<TNetworkModel>();
  m->EventCount = input.events;
  m->WorkCount = static_cast<std::int32_t>(input.works.size());
  for (const ReallocationWork& w : input.works) {
    TWorkCell& cell = m->cell(w.I, w.J);
    cell.Duration = w.duration;
    cell.Workers = w.workers;
    cell.Id = w.id;
    m->cell(w.J, w.I) = cell;
  }
  ClearComputed(*m);
  ComputeTimeParameters(*m);
  m->Events.clear();
  OptimiseLabour(*m);
  ComputeTimeParameters(*m);
  length = m->CritPathLength;
  std::vector<int> workers;
  for (const ReallocationWork& w : input.works) workers.push_back(m->cell(w.I, w.J).Workers);
  return workers;
}

std::string daysText(long long micro) { return microDaysText(MicroDays(micro)); }

std::vector<ReallocationMove> movesOf(const ReallocationResult& r) {
  std::vector<ReallocationMove> moves;
  std::vector<int> ids;
  for (const ReallocatedWork& w : r.works) {
    if (w.movable && std::find(ids.begin(), ids.end(), w.id) == ids.end()) ids.push_back(w.id);
  }
  for (const int id : ids) {
    std::vector<std::pair<const ReallocatedWork*, long long>> givers, takers;
    for (const ReallocatedWork& w : r.works) {
      if (!w.movable || w.id != id) continue;
      if (w.newWorkers < w.workers) givers.emplace_back(&w, w.workers - w.newWorkers);
      if (w.newWorkers > w.workers) takers.emplace_back(&w, w.newWorkers - w.workers);
    }
    std::size_t t = 0;
    for (auto& [giver, left] : givers) {
      while (left > 0 && t < takers.size()) {
        const long long count = std::min(left, takers[t].second);
        moves.push_back({id, count, giver->I, giver->J, takers[t].first->I, takers[t].first->J});
        left -= count;
        takers[t].second -= count;
        if (takers[t].second == 0) ++t;
      }
      if (left > 0) moves.push_back({id, left, giver->I, giver->J, 0, 0});
    }
  }
  return moves;
}

}  // namespace

ReallocationInput reallocationInput(const TNetworkModel& model) {
  if (model.RunEventCount < 1 || model.VariantResults[1].WorkEntries < 1) throw CommandError("Расчет не выполнялся");
  ReallocationInput input;
  input.events = model.RunEventCount;
  for (const WorkTiming& w : workTimings(model, 1)) input.works.push_back({w.I, w.J, w.duration, w.workers, w.id});
  input.lengthBefore = model.LengthBefore;
  const ReallocationProblem problem = buildReallocationProblem(input);  // refuses what it cannot hold
  const bool movable = std::any_of(problem.groupWorks.begin(), problem.groupWorks.end(),
                                   [](const std::vector<int>& works) { return works.size() >= 2; });
  if (!movable) {
    throw CommandError("Перераспределять нечего: ни у одного идентификатора нет двух работ "
                       "с длительностью и рабочими");
  }
  if (model.Optimised == 1) {
    const std::vector<WorkTiming> after = workTimings(model, 2);
    if (after.size() == input.works.size()) {
      for (const WorkTiming& w : after) input.onePassWorkers.push_back(w.workers);
      input.lengthOnePass = model.LengthAfter;
      return input;
    }
  }
  input.onePassWorkers = onePassOf(input, input.lengthOnePass);
  return input;
}

std::string moveText(const ReallocationMove& move) {
  const long long last = move.count % 10, lastTwo = move.count % 100;
  const bool one = last == 1 && lastTwo != 11;
  std::string text = "Id " + std::to_string(move.id) + ": " + std::to_string(move.count) +
                     (one ? " рабочий" : " рабочих") + " с работы " + std::to_string(move.fromI) + "-" +
                     std::to_string(move.fromJ);
  if (move.toI == 0) return text + (one ? " остается свободным" : " остаются свободными");
  return text + " на работу " + std::to_string(move.toI) + "-" + std::to_string(move.toJ);
}

ReallocationResult reallocateWorkers(const ReallocationInput& input, const ReallocationOptions& options) {
  const auto started = std::chrono::steady_clock::now();
  const ReallocationProblem problem = buildReallocationProblem(input);
  std::vector<std::vector<long long>> starts(1);
  for (const MovableWork& w : problem.movable) starts[0].push_back(w.n);
  if (input.onePassWorkers.size() == input.works.size()) {
    std::vector<long long> onePass;
    for (const MovableWork& w : problem.movable) onePass.push_back(input.onePassWorkers[static_cast<std::size_t>(w.work)]);
    if (keepsCapacities(problem, onePass)) starts.push_back(onePass);
  }
  ReallocationLimits limits;
  const double seconds = std::max(0.0, options.timeLimitSeconds);
  limits.effort = static_cast<long long>(seconds * kEffortPerSecond);
  // The clock only as a safety net: twice the limit and a little.
  limits.deadline = started + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                  std::chrono::duration<double>(2 * seconds + 0.5));
  limits.cancel = options.cancel;
  const auto report = [&](const SearchReport& s) {
    if (!options.progress) return;
    options.progress({s.phase, microDaysValue(MicroDays(s.length)), microDaysValue(MicroDays(s.bound)), s.changed,
                      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count()});
  };
  SearchAnswer answer = searchReallocation(problem, starts, limits, report);
  // Workers no work needs go back to the works that gave them: those only get shorter,
  // and no other work changes.
  std::vector<long long> used(problem.capacity.size(), 0);
  for (std::size_t m = 0; m < problem.movable.size(); ++m) used[static_cast<std::size_t>(problem.movable[m].group)] += answer.workers[m];
  for (std::size_t m = 0; m < problem.movable.size(); ++m) {
    const MovableWork& w = problem.movable[m];
    long long& inUse = used[static_cast<std::size_t>(w.group)];
    const long long back = std::min(problem.capacity[static_cast<std::size_t>(w.group)] - inUse, w.n - answer.workers[m]);
    if (back <= 0) continue;
    answer.workers[m] += back;
    inUse += back;
  }
  answer.length = lengthOf(problem, answer.workers);

  ReallocationResult r;
  r.lengthBefore = input.lengthBefore;
  r.lengthOnePass = input.lengthOnePass;
  r.lengthAfter = microDaysValue(MicroDays(answer.length));
  r.lowerBound = microDaysValue(MicroDays(answer.bound));
  r.proven = answer.proven;
  r.changesProven = answer.changesProven;
  r.cancelled = options.cancel != nullptr && options.cancel->load();
  r.changedWorks = 0;
  for (std::size_t m = 0; m < problem.movable.size(); ++m) r.changedWorks += answer.workers[m] != problem.movable[m].n ? 1 : 0;
  r.nodes = answer.nodes;
  r.lengthBeforeText = microDaysText(toMicroDays(input.lengthBefore));
  r.lengthOnePassText = microDaysText(toMicroDays(input.lengthOnePass));
  r.lengthAfterText = daysText(answer.length);
  r.lowerBoundText = daysText(answer.bound);
  r.works.reserve(input.works.size());
  for (std::size_t k = 0; k < input.works.size(); ++k) {
    const ReallocationWork& in = input.works[k];
    ReallocatedWork out;
    out.I = in.I;
    out.J = in.J;
    out.id = in.id;
    out.workers = in.workers;
    out.newWorkers = in.workers;
    out.duration = in.duration;
    out.newDuration = in.duration;
    out.durationText = microDaysText(toMicroDays(in.duration));
    out.newDurationText = out.durationText;
    const int m = problem.movableOfWork[k];
    if (m >= 0) {
      const MovableWork& w = problem.movable[static_cast<std::size_t>(m)];
      const long long n = answer.workers[static_cast<std::size_t>(m)];
      out.movable = true;
      out.newWorkers = static_cast<int>(n);
      if (n != w.n) {
        const long long t = durationAt(w, n);
        out.newDuration = microDaysValue(MicroDays(t));
        out.newDurationText = daysText(t);
      }
    }
    r.works.push_back(std::move(out));
  }
  r.moves = movesOf(r);
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return r;
}

std::shared_ptr<const TNetworkModel> reallocatedModel(const TNetworkModel& run, const ReallocationResult& result) {
  auto m = std::make_shared<TNetworkModel>(run);
  for (const ReallocatedWork& w : result.works) {
    TWorkCell& cell = m->cell(w.I, w.J);
    cell.Duration = w.newDuration;
    cell.Workers = w.newWorkers;
    m->cell(w.J, w.I) = cell;
  }
  ClearComputed(*m);
  ClearVariants(*m);
  m->Reallocated = true;
  ComputeTimeParameters(*m);
  m->Optimised = 0;
  m->LengthBefore = m->CritPathLength;
  m->CritCountBefore = m->CritWorkCount;
  RecordVariant(*m, 1, m->CritCountBefore);
  return m;
}

}  // namespace velko
