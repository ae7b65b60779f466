#pragma once

#include <atomic>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace velko {

// The schedule a fixed crew of each trade allows: activities of fixed durations in whole
// time units (ticks), finish-to-start precedences, and trades of limited capacity. An
// activity may demand several trades, so that the standard benchmark instances run on
// the same engine as the program's networks (one demand per work).

inline constexpr long long kNoDueStart = std::numeric_limits<long long>::max();

struct CrewDemand {
  int trade = 0;
  long long amount = 0;  // > 0
};

struct CrewActivity {
  long long duration = 0;  // ticks, >= 0
  std::vector<CrewDemand> demands;
  // A start past this one is a delay; among the shortest schedules the one with the
  // fewest delays is preferred.
  long long dueStart = kNoDueStart;
};

// start(after) >= start(before) + duration(before).
struct CrewPrecedence {
  int before = 0;
  int after = 0;
};

struct CrewProblem {
  std::vector<CrewActivity> activities;
  std::vector<CrewPrecedence> precedences;
  std::map<int, long long> capacity;  // per trade; a trade not listed is unlimited
};

struct CrewProgress {
  long long bestMakespan = 0;  // of the best schedule found so far
  long long bound = 0;         // no schedule is shorter
  double seconds = 0;
};

struct CrewOptions {
  // The search stops after this much of its own effort (a count of its steps), so that the
  // same input gives the same answer on a busy machine or an idle one; 0 takes the effort
  // that fits `timeLimitSeconds` on an idle development machine.
  long long effort = 0;
  // A safety net only: on an idle machine the effort runs out first. With `effort` 0 the
  // clock stops the search only at three times this plus 5 s, so that a busy machine
  // gives the same answer, later.
  double timeLimitSeconds = 10.0;
  const std::atomic<bool>* cancel = nullptr;  // set from any thread; stops within 0.2 s
  // Called on the solving thread at each better schedule or bound.
  std::function<void(const CrewProgress&)> progress;
};

struct CrewResult {
  std::vector<long long> starts;  // per activity; always a schedule that keeps every rule
  long long makespan = 0;
  long long bound = 0;     // the best lower bound of the makespan
  bool proven = false;     // makespan == bound
  bool cancelled = false;
  long long delays = 0;    // activities started after their dueStart
  double seconds = 0;
  long long effort = 0;    // the steps spent (CrewOptions::effort)
};

// Refuses nothing that keeps the rules of crew_problem.h (an activity demanding more
// than its trade's capacity has no schedule: check with crewInfeasibility first).
// Throws std::invalid_argument for such an activity, a cycle of precedences or a
// precedence naming no activity.
CrewResult solveCrews(const CrewProblem& problem, const CrewOptions& options = {});

// The index of an activity whose demand alone exceeds its trade's capacity, or -1.
int crewInfeasibility(const CrewProblem& problem);

// The first rule `starts` breaks ("" when none): a negative start, a precedence, a
// trade's capacity at some instant.
std::string crewScheduleFault(const CrewProblem& problem, const std::vector<long long>& starts);

// The plain priority rule: the serial schedule-generation scheme, taking among the
// activities whose predecessors are all scheduled the one with the earliest latest
// finish time (of the network without capacities), each at its earliest feasible start.
std::vector<long long> latestFinishRuleSchedule(const CrewProblem& problem);

long long crewMakespan(const CrewProblem& problem, const std::vector<long long>& starts);

}  // namespace velko
