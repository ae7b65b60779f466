#include "crews/usage_profile.h"

#include <algorithm>
#include <limits>

namespace velko::crews {

namespace {
constexpr long long kMaxCells = 1 << 22;  // over all trades: 32 MB a profile at most
}

UsageProfile::UsageProfile(const Network& net, long long horizonHint) : net_(net) {
  const long long trades = static_cast<long long>(net.capacity.size());
  cells_ = horizonHint > 0 && trades * horizonHint <= kMaxCells;
  if (cells_) used_.assign(trades, std::vector<long long>(horizonHint + 1, 0));
  else changes_.resize(trades);
}

void UsageProfile::clear() {
  if (cells_) {
    for (auto& row : used_) std::fill(row.begin(), row.begin() + std::min<long long>(touched_, row.size()), 0);
    touched_ = 0;
  } else {
    for (auto& c : changes_) c.clear();
  }
}

bool UsageProfile::fitsCells(int a, long long& at, long long& steps) const {
  const long long end = at + net_.duration[a];
  for (const auto& [trade, amount] : net_.demand[a]) {
    const auto& row = used_[trade];
    const long long cap = net_.capacity[trade] - amount;
    const long long stop = std::min<long long>(end, touched_);
    for (long long t = stop - 1; t >= at; --t) {  // from the end: the later the clash, the further the jump
      ++steps;
      if (row[t] > cap) {
        at = t + 1;
        return false;
      }
    }
  }
  return true;
}

bool UsageProfile::fitsSteps(int a, long long& at, long long& steps) const {
  const long long end = at + net_.duration[a];
  for (const auto& [trade, amount] : net_.demand[a]) {
    const auto& c = changes_[trade];
    const long long cap = net_.capacity[trade] - amount;
    auto it = c.upper_bound(at);
    if (it != c.begin()) --it;
    for (; it != c.end() && it->first < end; ++it) {
      steps += 3;  // a tree node costs about three cells
      if (it->second > cap) {
        // Past the clash, to the first change where this trade has room again.
        auto more = std::next(it);
        while (more != c.end() && more->second > cap) ++more, ++steps;
        at = more == c.end() ? std::max(at, std::prev(more)->first) : more->first;
        return false;
      }
    }
  }
  return true;
}

long long UsageProfile::earliestFit(int a, long long from, long long& steps) const {
  long long at = from;
  if (net_.duration[a] <= 0 || net_.demand[a].empty()) return at;
  ++steps;
  if (cells_) {
    while (!fitsCells(a, at, steps)) {}
  } else {
    while (!fitsSteps(a, at, steps)) {}
  }
  return at;
}

void UsageProfile::book(int a, long long start) {
  const long long end = start + net_.duration[a];
  if (net_.duration[a] <= 0) return;
  for (const auto& [trade, amount] : net_.demand[a]) {
    if (cells_) {
      auto& row = used_[trade];
      if (end + 1 > static_cast<long long>(row.size())) {
        // Past the hint (which is only a guess of the makespan): every trade grows alike.
        const long long size = std::max<long long>(end + 1, 2 * static_cast<long long>(row.size()));
        for (auto& r : used_) r.resize(size, 0);
      }
      for (long long t = start; t < end; ++t) used_[trade][t] += amount;
    } else {
      auto& c = changes_[trade];
      for (long long at : {start, end}) {
        auto it = c.upper_bound(at);
        const long long level = it == c.begin() ? 0 : std::prev(it)->second;
        c.emplace(at, level);
      }
      for (auto it = c.find(start); it != c.end() && it->first < end; ++it) it->second += amount;
    }
  }
  touched_ = std::max(touched_, end);
}

}  // namespace velko::crews
