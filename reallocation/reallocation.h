#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/network_model.h"

namespace velko {

// The reallocation of workers ("Перераспределение"): the same workers of each
// identifier spread over its works so that the critical path is as short as it can be,
// and among the shortest the fewest works change.
//
// The rules an answer keeps, for every work with Id != 0, t > 0 and n > 0 (a movable
// work; all others keep t and n):
//  - n' >= 1, and for each Id the sum of n' over its movable works is at most the sum
//    of their n (the same people);
//  - n' = n: t' = t; n' < n (the work gives workers): t' = t x n / n', the labour volume
//    kept; n' > n (it receives): t' = ceil(t x n / n') whole days, as the one-pass
//    optimisation rounds a critical work up.
// Times are whole millionths of a day, as the smoothing counts them (micro_days.h): t is
// taken to the nearest millionth first, a giver's t' is rounded to the nearest one.
// The length is that of the calculation: Early of the last event.

struct ReallocationWork {
  int I = 0;
  int J = 0;
  Extended duration = 0;
  int workers = 0;
  int id = 0;
  bool operator==(const ReallocationWork&) const = default;
};

// A plain copy of what the reallocation reads: the works of variant 1 in the order of
// the results file, and the workers the one-pass optimisation leaves on each.
struct ReallocationInput {
  int events = 0;
  std::vector<ReallocationWork> works;
  std::vector<int> onePassWorkers;  // same order; the one pass's n
  Extended lengthBefore = 0;   // as calculated
  Extended lengthOnePass = 0;  // after the one pass
  bool operator==(const ReallocationInput&) const = default;
};
// From the model after "Расчет" or "Оптимизация" (the one pass is run on a copy when
// it was not). Refuses, with a CommandError, a model with no run and a network with
// nothing to move (no identifier with two movable works).
ReallocationInput reallocationInput(const TNetworkModel& model);

struct ReallocationProgress {
  int phase = 1;           // 1: the shortest length; 2: the fewest changed works
  Extended bestLength = 0;
  Extended bound = 0;      // proven lower bound of the length
  int changedWorks = 0;    // of the best answer
  double seconds = 0;
};

struct ReallocationOptions {
  double timeLimitSeconds = 10.0;
  const std::atomic<bool>* cancel = nullptr;  // set from any thread to stop early
  // Called on the solving thread at each better answer and each change of phase.
  std::function<void(const ReallocationProgress&)> progress;
};

struct ReallocatedWork {
  int I = 0;
  int J = 0;
  int id = 0;
  int workers = 0;      // n
  int newWorkers = 0;   // n'
  Extended duration = 0;
  Extended newDuration = 0;
  bool movable = false;
  // The values as the CSV writes them: millionths of a day, decimal point.
  std::string durationText, newDurationText;
};

// `count` workers of identifier `id` go from work `from` to work `to`; a move with
// no `to` (toI = 0) leaves them free.
struct ReallocationMove {
  int id = 0;
  long long count = 0;
  int fromI = 0, fromJ = 0;
  int toI = 0, toJ = 0;
};

struct ReallocationResult {
  Extended lengthBefore = 0;   // as calculated
  Extended lengthOnePass = 0;  // after the one-pass optimisation
  Extended lengthAfter = 0;    // of the answer
  Extended lowerBound = 0;     // no assignment is shorter
  bool proven = false;         // lengthAfter is the minimum (lowerBound equals it)
  bool changesProven = false;  // and no answer of that length changes fewer works
  bool cancelled = false;
  int changedWorks = 0;
  long long nodes = 0;         // search effort, for the benchmark
  double seconds = 0;
  std::string lengthBeforeText, lengthOnePassText, lengthAfterText, lowerBoundText;
  std::vector<ReallocatedWork> works;  // in the order of the input
  std::vector<ReallocationMove> moves;
};

// Solves; never throws for an input reallocationInput gives. Stopped by the effort or
// time limit or the cancel flag, the result holds the best answer found, never longer
// than the one pass nor than the network as it is.
ReallocationResult reallocateWorkers(const ReallocationInput& input, const ReallocationOptions& options = {});

// The run's model with every work's n' and t' in its matrix, calculated again and
// recorded as its one variant (Reallocated), so that the pictures draw it as any run.
std::shared_ptr<const TNetworkModel> reallocatedModel(const TNetworkModel& run, const ReallocationResult& result);

// "Id 3: 4 рабочих с работы 2-5 на работу 5-9" (or "... остаются свободными").
std::string moveText(const ReallocationMove& move);

}  // namespace velko
