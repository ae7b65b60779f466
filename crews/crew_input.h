#pragma once

#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "crews/crew_problem.h"
#include "levelling/levelling.h"
#include "levelling/micro_days.h"

namespace velko {

// The crew limits of a computed variant as a schedule problem: every work with t > 0 and
// n > 0 holds n workers of its trade (its Id) for its whole duration; the others keep
// their place in the precedence and hold no one. A work starts at or after the finish of
// every work that ends at its start event; starts are free of the floats.

inline constexpr long long kMaxCrewLimit = 2147483647;
// The sum of all durations on the grid: far beyond any building schedule (a million days
// in millionths), and small enough that the engine's sums of demand x time never overflow.
inline constexpr long long kMaxCrewTicks = 1LL << 40;

// The limit typed for trade `id`: nullopt for a blank (no limit); a CommandError for
// anything but a whole number from 1 to kMaxCrewLimit.
std::optional<long long> parseCrewLimit(int id, std::string_view text);

// "2=10,5=3" as the batch tool takes it; a CommandError for anything else.
std::map<int, long long> parseCrewLimitList(std::string_view text);

// Refuses (CommandError) a limit out of range, for an Id with no works, or below the
// workers of one work of its trade: what a limit must be before any run.
void checkCrewLimit(const LevellingInput& input, int id, long long limit);

struct CrewPlanProblem {
  CrewProblem problem;    // activities 0 .. works - 1 are the works, in input order
  long long tick = 1;     // millionths of a day per tick: every duration is whole on it
  std::vector<long long> earlyStart;  // per work, in ticks, with no limits
  std::vector<long long> lateStart;   // min(Late(J), length) - t on the grid
  std::vector<bool> inProfile;        // t > 0 and n > 0
  std::vector<std::vector<int>> endingAtStart;  // per work: the works ending at its start event
  long long length = 0;   // the critical path length in ticks
};

// Refuses with a CommandError (the user's message): an empty network, a limit for an Id
// with no works, a limit out of range, a limit below the workers of one work of its trade,
// a grid finer than kMaxCrewTicks allows.
CrewPlanProblem crewPlanProblem(const LevellingInput& input, const std::map<int, long long>& limits);

// A number of ticks as days.
MicroDays tickDays(const CrewPlanProblem& plan, long long ticks);

}  // namespace velko
