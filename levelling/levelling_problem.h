#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <limits>
#include <vector>

#include "levelling/levelling.h"
#include "levelling/micro_days.h"

namespace velko {

// The smoothing as a problem over whole-day shifts k of the works (S = ES + k days).
struct ProblemWork {
  MicroDays es;
  MicroDays ls;  // min(Late(J), length) - t
  MicroDays t;   // from ES to ES + t, each rounded
  int workers = 0;
  bool inProfile = false;  // t and n above zero at a millionth of a day
  bool fixed = false;      // total float 0, LS < ES or less than a day of float
  int maxShift = 0;        // k <= maxShift, after the limits below
};

// k(after) >= k(before) - slack: the successor moves only once the predecessor has
// used up the slack between its finish and the successor's early start.
struct Precedence {
  int before = 0;
  int after = 0;
  int slack = 0;
};

struct LevellingProblem {
  std::vector<ProblemWork> works;
  std::vector<Precedence> precedences;
  std::vector<int> profileWorks;  // indices of the works that put workers on the profile
  long long staticBound = 0;      // the lower bound of the peak before any search
  long long workerSum = 0;        // of the profile works
  // Every work once, each after all works that precede it; empty when the precedences
  // form a cycle, which a computed network never has.
  std::vector<int> order;
  // With `order`: the precedences (indices into `precedences`) into each work w are
  // linksByAfter[firstLinkOf[w] .. firstLinkOf[w + 1]), so that a walk along `order`
  // settles each work from its predecessors in one pass.
  std::vector<int> linksByAfter;
  std::vector<int> firstLinkOf;
  // True when some float was cut to keep the search finite (floats of more than about
  // a quarter of a million days in all): the minimum is then only proven if it meets the bound.
  bool cut = false;
  // The exact solvers take this problem on (see kMaxExactWorks); when false the floats
  // are not cut, and only the list schedule searches them.
  bool exact = true;
};

// Shifts of more than this many days in all (over the profile works) are not searched.
inline constexpr long long kMaxSearchedShifts = 1 << 18;
// Pairs of works meeting at an event beyond which nothing is shifted (see buildProblem):
// some ten times those of a building network of 100000 works, about 50 MB with the
// order built on them.
inline constexpr long long kMaxPrecedences = 2000000;
// Beyond this many profile works the constraint and integer programs are not built: their
// models outgrow the time limit (a single propagation of the cumulative constraint over
// thousands of tasks takes milliseconds, and a first schedule needs one per work).
inline constexpr std::size_t kMaxExactWorks = 2000;
// Nor beyond this many works with the dummies: each is a variable of the constraint
// model, and the integer program follows every path of dummies from every profile work.
inline constexpr std::size_t kMaxExactAllWorks = 8000;

LevellingProblem buildProblem(const LevellingInput& input);

// The precedences between profile works, direct or through dummies, with the
// smallest slack of any such path. Up to profile works x reachable works: for the
// integer program's sizes only.
std::vector<Precedence> profilePrecedences(const LevellingProblem& problem);

// The profile at the start of every work decides the peak, and every start is one of
// the instants ES + k days. Numbered in time order, the instants make the schedule an
// integer one: a work at shift k covers the instants startIndex[k] .. endIndex[k] - 1,
// so a bound on the workers at every instant index is exactly a bound on the peak.
struct InstantTables {
  int count = 0;
  std::vector<std::vector<int>> startIndex;  // per profile work (as in profileWorks), per shift
  std::vector<std::vector<int>> endIndex;
};
InstantTables instantTables(const LevellingProblem& problem);

// Whether `shifts` keeps every bound and precedence.
bool keepsRules(const LevellingProblem& problem, const std::vector<long long>& shifts);

// When a search must stop: at its own effort, counted in steps the same on every
// machine (nodes of a search tree), so that the same input gives the same answer; the
// deadline is only a safety net against a machine many times slower than intended.
struct SearchLimits {
  std::chrono::steady_clock::time_point deadline;
  const std::atomic<bool>* cancel = nullptr;
  long long effort = std::numeric_limits<long long>::max();
  bool reached() const {
    return (cancel != nullptr && cancel->load()) || std::chrono::steady_clock::now() >= deadline;
  }
};

// The smallest shifts of the dummies that keep every precedence, the other works
// staying where `shifts` puts them.
void settleDummies(const LevellingProblem& problem, std::vector<long long>& shifts);

// A step of a profile in millionths of a day.
struct TickStep {
  MicroDays from;
  MicroDays to;
  long long workers = 0;
};

// The profile of the profile works accepted by `include` (all when empty) at `shifts`:
// the steps from the first start to the last finish, equal neighbours merged.
std::vector<TickStep> tickProfile(const LevellingProblem& problem, const std::vector<long long>& shifts,
                                  const std::function<bool(int)>& include = {});
// The same over the listed works only.
std::vector<TickStep> tickProfile(const LevellingProblem& problem, const std::vector<long long>& shifts,
                                  const std::vector<int>& works);
long long peakOf(const std::vector<TickStep>& steps);
MicroDays squaresOf(const std::vector<TickStep>& steps);  // workers^2 x millionths

}  // namespace velko
