#pragma once

#include <utility>
#include <vector>

#include "crews/crew_problem.h"

namespace velko::crews {

// The problem in the shape the searches read: trades numbered from 0, only the demands
// that a capacity limits (and only of activities that take time), both directions of
// each precedence, a topological order, and the network's own heads and tails.
struct Network {
  int size = 0;
  std::vector<long long> duration;
  std::vector<long long> capacity;                             // per trade
  std::vector<std::vector<std::pair<int, long long>>> demand;  // per activity: trade, amount
  std::vector<std::vector<int>> next, prev;
  std::vector<int> order;         // predecessors first
  std::vector<int> rank;          // place in `order`
  std::vector<long long> head;    // earliest start without capacities
  std::vector<long long> tail;    // longest path from the start to the end, the activity included
  long long criticalPath = 0;
};

// Durations divided by `unit` (a divisor of them all: the searches then step by whole
// units, as every start of a left-justified schedule is a sum of durations). Throws
// std::invalid_argument on a cycle of precedences (no schedule keeps them).
Network makeNetwork(const CrewProblem& problem, long long unit = 1);
// The greatest common divisor of the positive durations (1 when none).
long long durationUnit(const CrewProblem& problem);
// Precedences turned round, so that the forward scheme schedules backwards from the end.
Network reversedNetwork(const Network& net);
bool directlyPrecedes(const Network& net, int a, int b);

}  // namespace velko::crews
