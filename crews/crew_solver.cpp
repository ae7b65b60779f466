#include <algorithm>
#include <stdexcept>

#include "crews/crew_network.h"
#include "crews/crew_problem.h"
#include "crews/exact_search.h"
#include "crews/list_search.h"
#include "crews/search_effort.h"
#include "crews/serial_scheme.h"

namespace velko {

using namespace crews;

namespace {

__extension__ using Wide = __int128;  // a trade's work in ticks may pass 2^63

// The effort that fits a second on an idle development machine (measured on the
// benchmark instances: see bench/psplib_run.sh).
constexpr long long kEffortPerSecond = 100'000'000;

// No schedule is shorter than the longest path, nor than any trade's work over its crew.
long long simpleBound(const Network& net) {
  long long bound = net.criticalPath;
  std::vector<Wide> work(net.capacity.size(), 0);
  for (int a = 0; a < net.size; ++a)
    for (const auto& [trade, amount] : net.demand[a]) work[trade] += static_cast<Wide>(amount) * net.duration[a];
  for (std::size_t t = 0; t < work.size(); ++t) {
    const Wide cap = net.capacity[t];
    bound = std::max(bound, static_cast<long long>((work[t] + cap - 1) / cap));
  }
  return bound;
}

long long countDelays(const CrewProblem& problem, const std::vector<long long>& starts) {
  long long d = 0;
  for (std::size_t a = 0; a < starts.size(); ++a) d += starts[a] > problem.activities[a].dueStart;
  return d;
}

}  // namespace

// The priority rule first (never worse than it), the critical path and the trades' work
// as the bound, then the list search for shorter schedules, the constraint search from
// the bound up for the proof, and with the makespan held, the fewest delays.
CrewResult solveCrews(const CrewProblem& problem, const CrewOptions& options) {
  const int bad = crewInfeasibility(problem);
  if (bad >= 0)
    throw std::invalid_argument("crew problem: activity " + std::to_string(bad) + " demands more than its crew");
  const long long limit = options.effort > 0 ? options.effort
                                             : static_cast<long long>(std::max(0.01, options.timeLimitSeconds) *
                                                                      static_cast<double>(kEffortPerSecond));
  // When the effort comes from the time limit, the clock must not bind before it on a
  // busy machine, or the answer would depend on the load.
  const double safetyNet =
      options.effort > 0 ? options.timeLimitSeconds : 3 * std::max(0.01, options.timeLimitSeconds) + 5;
  SearchEffort effort(limit, safetyNet, options.cancel);
  CrewResult result;
  Schedule rule;
  rule.starts = latestFinishRuleSchedule(problem);
  rule.makespan = crewMakespan(problem, rule.starts);
  rule.delays = countDelays(problem, rule.starts);
  // The searches count in units of the durations' common divisor (a time grid's ticks
  // per step): the rule's starts are sums of durations, so they divide too.
  long long unit = durationUnit(problem);
  if (std::any_of(rule.starts.begin(), rule.starts.end(), [&](long long s) { return s % unit != 0; })) unit = 1;
  const Network net = makeNetwork(problem, unit);
  std::vector<long long> due(net.size);
  for (int a = 0; a < net.size; ++a) {  // a start k units in is late when k * unit > due
    const long long d = problem.activities[a].dueStart;
    due[a] = d == kNoDueStart ? d : d >= 0 ? d / unit : -((-d + unit - 1) / unit);
  }
  Schedule best = rule;
  for (long long& s : best.starts) s /= unit;
  best.makespan /= unit;
  long long bound = std::min(simpleBound(net), best.makespan);
  auto report = [&] {
    if (options.progress)
      options.progress({best.makespan * unit, std::min(bound, best.makespan) * unit, effort.seconds()});
  };
  report();

  if (best.makespan > bound && net.size > 0) {
    SerialScheme scheme(net, due, best.makespan + 1);
    // Small networks are proved rather than searched; large ones gain most from the lists.
    const double listShare = net.size <= 60 ? 0.15 : exactSearchFits(net, best.makespan) ? 0.6 : 1.0;
    effort.capAt(static_cast<long long>(static_cast<double>(limit) * listShare));
    listSearch(scheme, bound, std::numeric_limits<long long>::max(), effort, best, [&](const Schedule&) { report(); });
    // The proof from below gets half of what is left, the search from above the rest.
    const long long reserve = limit / 10;
    effort.capAt(effort.used() + (limit - reserve - effort.used()) / 2);
    if (!effort.interrupted()) exactSearch(net, due, bound, best, effort, report);
    effort.capAt(limit - reserve);
    if (!effort.interrupted()) shortenFromAbove(net, due, bound, best, effort, report);
    effort.capAt(limit);
    if (!effort.interrupted() && best.makespan > bound) exactSearch(net, due, bound, best, effort, report);
  }
  // Fewer delays are a preference, not the question asked: a twentieth of the effort at
  // most, so that a length proven early is answered early.
  effort.capAt(std::min(limit, effort.used() + limit / 20));
  if (best.delays > 0 && !effort.interrupted()) fewestDelays(net, due, best, effort);

  for (long long& s : best.starts) s *= unit;
  if (!crewScheduleFault(problem, best.starts).empty()) best = rule;  // never a schedule that breaks a rule
  result.starts = std::move(best.starts);
  result.makespan = crewMakespan(problem, result.starts);
  result.delays = countDelays(problem, result.starts);
  result.bound = std::min(bound * unit, result.makespan);
  result.proven = result.makespan == result.bound;
  result.cancelled = effort.cancelled();
  result.seconds = effort.seconds();
  result.effort = effort.used();
  return result;
}

}  // namespace velko
