#pragma once

#include <map>
#include <vector>

#include "crews/crew_network.h"

namespace velko::crews {

// How much of each trade is in use over time, for placing activities one by one. Short
// horizons (the benchmark instances, whole days) keep one cell per tick; long ones (fine
// time grids, large networks) keep only the instants where the usage changes.
class UsageProfile {
 public:
  UsageProfile(const Network& net, long long horizonHint);
  // The earliest start at or after `from` where the activity's demands fit throughout;
  // `steps` grows by the cells or changes looked at.
  long long earliestFit(int activity, long long from, long long& steps) const;
  void book(int activity, long long start);
  void clear();

 private:
  bool fitsCells(int activity, long long& at, long long& steps) const;
  bool fitsSteps(int activity, long long& at, long long& steps) const;

  const Network& net_;
  bool cells_ = false;
  std::vector<std::vector<long long>> used_;               // per trade, per tick
  long long touched_ = 0;                                  // cells in use up to here
  std::vector<std::map<long long, long long>> changes_;   // per trade: usage from each instant on
};

}  // namespace velko::crews
