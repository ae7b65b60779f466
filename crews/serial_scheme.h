#pragma once

#include <vector>

#include "crews/crew_network.h"
#include "crews/search_effort.h"
#include "crews/usage_profile.h"

namespace velko::crews {

// A schedule as the searches keep it: the starts, the makespan and the delays (starts
// past their due start), compared by makespan first.
struct Schedule {
  std::vector<long long> starts;
  long long makespan = std::numeric_limits<long long>::max();
  long long delays = 0;
  bool better(const Schedule& o) const {
    return makespan != o.makespan ? makespan < o.makespan : delays < o.delays;
  }
};

// The serial schedule-generation scheme and forward-backward improvement on one network
// and its reverse, each with its own usage profile.
class SerialScheme {
 public:
  SerialScheme(const Network& net, const std::vector<long long>& dueStarts, long long horizonHint);
  // Each activity in list order at its earliest start that keeps the precedences and the
  // capacities; the list must put predecessors first. False when the effort ran out.
  bool forward(const std::vector<int>& list, Schedule& out, SearchEffort& effort);
  // Forward, then right-justified from the end and left-justified again while it
  // shortens; `list` becomes the order of the final starts (the improved list).
  bool improve(std::vector<int>& list, Schedule& out, SearchEffort& effort);
  const Network& network() const { return net_; }

 private:
  bool run(const Network& net, UsageProfile& profile, const std::vector<int>& list,
           std::vector<long long>& starts, SearchEffort& effort);
  long long delaysOf(const std::vector<long long>& starts) const;

  const Network& net_;
  Network back_;
  std::vector<long long> due_;
  UsageProfile profile_, backProfile_;
  std::vector<long long> ready_;
};

}  // namespace velko::crews
