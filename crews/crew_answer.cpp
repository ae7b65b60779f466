#include "crews/crew_answer.h"

#include <algorithm>

namespace velko {

namespace {

// The number of workers over [0, end) from the changes at each instant, as steps.
std::vector<ProfileStep> steps(const std::map<long long, long long>& change, long long end, const CrewPlanProblem& plan) {
  std::vector<ProfileStep> out;
  long long at = 0;
  long long workers = 0;
  for (const auto& [when, delta] : change) {
    if (when > at) out.push_back({microDaysValue(tickDays(plan, at)), microDaysValue(tickDays(plan, when)), workers});
    workers += delta;
    at = std::max(at, when);
  }
  if (end > at) out.push_back({microDaysValue(tickDays(plan, at)), microDaysValue(tickDays(plan, end)), workers});
  return out;
}

long long peakOf(const std::map<long long, long long>& change) {
  long long workers = 0, peak = 0;
  for (const auto& [when, delta] : change) peak = std::max(peak, workers += delta);
  return peak;
}

std::string text(const CrewPlanProblem& plan, long long ticks) { return microDaysText(tickDays(plan, ticks)); }
Extended value(const CrewPlanProblem& plan, long long ticks) { return microDaysValue(tickDays(plan, ticks)); }

}  // namespace

CrewAnswer crewAnswer(const LevellingInput& input, const CrewPlanProblem& plan, const CrewResult& result) {
  CrewAnswer a;
  a.variant = input.variant;
  a.length = value(plan, plan.length);
  a.newLength = value(plan, result.makespan);
  a.bound = value(plan, result.bound);
  a.proven = result.proven;
  a.cancelled = result.cancelled;
  a.lengthText = text(plan, plan.length);
  a.newLengthText = text(plan, result.makespan);
  a.boundText = text(plan, result.bound);
  a.seconds = result.seconds;
  const std::size_t count = input.works.size();
  std::map<int, std::map<long long, long long>> early, after;  // per Id
  std::map<int, std::vector<int>> byId;
  for (std::size_t w = 0; w < count; ++w) {
    const LevellingWork& in = input.works[w];
    const CrewActivity& act = plan.problem.activities[w];
    const long long s = result.starts[w];
    CrewWorkAnswer out;
    out.I = in.I;
    out.J = in.J;
    out.duration = in.duration;
    out.workers = in.workers;
    out.id = in.id;
    out.inProfile = plan.inProfile[w];
    out.earlyStart = value(plan, plan.earlyStart[w]);
    out.lateStart = value(plan, plan.lateStart[w]);
    out.start = value(plan, s);
    out.finish = value(plan, s + act.duration);
    const long long delay = std::max(0LL, s - plan.lateStart[w]);
    out.delay = value(plan, delay);
    out.durationText = text(plan, act.duration);
    out.earlyStartText = text(plan, plan.earlyStart[w]);
    out.lateStartText = text(plan, plan.lateStart[w]);
    out.startText = text(plan, s);
    out.finishText = text(plan, s + act.duration);
    out.delayText = text(plan, delay);
    if (delay > 0) ++a.delayed;
    if (out.inProfile) {
      byId[in.id].push_back(static_cast<int>(w));
      early[in.id][plan.earlyStart[w]] += in.workers;
      early[in.id][plan.earlyStart[w] + act.duration] -= in.workers;
      after[in.id][s] += in.workers;
      after[in.id][s + act.duration] -= in.workers;
    }
    a.works.push_back(std::move(out));
  }
  // A delayed work would start earlier without the crews busy just before its start, or
  // without the works before it that end just then.
  for (std::size_t w = 0; w < count; ++w) {
    CrewWorkAnswer& out = a.works[w];
    const long long s = result.starts[w];
    if (s <= plan.lateStart[w]) continue;
    if (out.inProfile) {
      for (int o : byId[out.id]) {
        const auto k = static_cast<std::size_t>(o);
        if (k != w && result.starts[k] < s && result.starts[k] + plan.problem.activities[k].duration >= s)
          out.waitsForCrew.push_back(o);
      }
    }
    for (int b : plan.endingAtStart[w]) {
      const auto k = static_cast<std::size_t>(b);
      if (result.starts[k] + plan.problem.activities[k].duration == s) out.waitsForPredecessors.push_back(b);
    }
  }
  for (const auto& [id, works] : byId) {
    CrewTradeAnswer& t = a.trades[id];
    t.id = id;
    const auto limit = plan.problem.capacity.find(id);
    t.limit = limit == plan.problem.capacity.end() ? 0 : limit->second;
    t.works = static_cast<int>(works.size());
    t.earlyPeak = peakOf(early[id]);
    t.profile = steps(after[id], result.makespan, plan);
    t.figures.length = a.newLength;
    for (int w : works) t.figures.volume += input.works[static_cast<std::size_t>(w)].duration * input.works[static_cast<std::size_t>(w)].workers;
    t.figures.peak = peakOf(after[id]);
    if (a.newLength > 0) t.figures.mean = t.figures.volume / a.newLength;
    if (t.figures.mean > 0) t.figures.unevenness = static_cast<Extended>(t.figures.peak) / t.figures.mean;
  }
  return a;
}

CrewAnswer limitCrews(const LevellingInput& input, const std::map<int, long long>& limits, const CrewOptions& options) {
  const CrewPlanProblem plan = crewPlanProblem(input, limits);
  return crewAnswer(input, plan, solveCrews(plan.problem, options));
}

std::vector<CrewTradeSummary> crewTradeSummaries(const LevellingInput& input) {
  std::map<int, CrewTradeSummary> byId;
  std::map<int, std::map<MicroDays, long long>> change;
  for (const LevellingWork& w : input.works) {
    const MicroDays t = toMicroDays(w.duration);
    if (t <= 0 || w.workers <= 0) continue;
    CrewTradeSummary& s = byId[w.id];
    s.id = w.id;
    ++s.works;
    const MicroDays es = toMicroDays(w.earlyStart);
    change[w.id][es] += w.workers;
    change[w.id][es + t] -= w.workers;
  }
  std::vector<CrewTradeSummary> out;
  for (auto& [id, s] : byId) {
    long long workers = 0;
    for (const auto& [when, delta] : change[id]) s.earlyPeak = std::max(s.earlyPeak, workers += delta);
    out.push_back(s);
  }
  return out;
}

}  // namespace velko
