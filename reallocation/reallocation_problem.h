#pragma once

#include <vector>

#include "reallocation/reallocation.h"

namespace velko {

// The reallocation in whole millionths of a day, over the movable works only.

// Durations beyond this many days are refused: a path of every work then still fits in
// 64 bits of millionths.
inline constexpr long long kMaxReallocationDays = 10000000;

struct MovableWork {
  int work = 0;        // index into the input's works
  long long t = 0;     // millionths of a day, > 0
  long long n = 0;     // workers, > 0
  int group = 0;       // index of its identifier in ReallocationProblem::capacity
  long long cap = 0;   // the most workers it can take: its Id's sum less 1 per other work
};

// Works as arcs between events; a diagonal work (j, j) counts from time 0 as an arc
// from event 1 does, as the calculation reads it.
struct Arc {
  int from = 0;
  int to = 0;
  long long time = 0;  // millionths of a day, for a work that is not movable
  int movable = -1;    // index into movable, or -1
};

struct ReallocationProblem {
  int events = 0;
  std::vector<Arc> arcs;           // by `to` ascending, so a walk settles Early in one pass
  std::vector<MovableWork> movable;
  std::vector<long long> capacity;     // per group: the sum of n of its movable works
  std::vector<int> groupId;            // the Id of each group
  std::vector<std::vector<int>> groupWorks;  // the movable works of each group
  std::vector<int> movableOfWork;      // per input work: its index in movable, or -1
};

// Refuses durations over kMaxReallocationDays and identifiers of more than 2^31 - 1
// workers with a CommandError; the caller has checked that something can move.
ReallocationProblem buildReallocationProblem(const ReallocationInput& input);

// t' of a movable work at n' workers, by the rules of reallocation.h.
long long durationAt(const MovableWork& work, long long workers);

// The length (Early of the last event) with the movable works at `workers`.
long long lengthOf(const ReallocationProblem& problem, const std::vector<long long>& workers);

}  // namespace velko
