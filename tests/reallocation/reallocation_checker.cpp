#include "reallocation_checker.h"

#include <cmath>
#include <map>

namespace velko::testing {

namespace {

long long micro(long double days) { return std::llround(std::nearbyint(days * 1000000.0L)); }

}  // namespace

long long recomputedLength(const ReallocationInput& input, const std::vector<long double>& durations) {
  // Early(1) = 0; Early(j) is at least 0 and at least Early(i) + t of every work into
  // it; a work (j, j) starts at 0.
  std::vector<long long> early(static_cast<std::size_t>(input.events) + 1, 0);
  for (int j = 2; j <= input.events; ++j) {
    for (std::size_t k = 0; k < input.works.size(); ++k) {
      const ReallocationWork& w = input.works[k];
      if (w.J != j) continue;
      const long long from = w.I == j ? 0 : early[static_cast<std::size_t>(w.I)];
      early[static_cast<std::size_t>(j)] = std::max(early[static_cast<std::size_t>(j)], from + micro(durations[k]));
    }
  }
  return early.back();
}

std::vector<std::string> checkReallocation(const ReallocationInput& input, const ReallocationResult& result) {
  std::vector<std::string> faults;
  if (result.works.size() != input.works.size()) return {"the answer has another number of works"};
  std::map<int, long long> before, after;
  std::vector<long double> durations;
  int changed = 0;
  for (std::size_t k = 0; k < input.works.size(); ++k) {
    const ReallocationWork& w = input.works[k];
    const ReallocatedWork& a = result.works[k];
    const std::string name = std::to_string(w.I) + "-" + std::to_string(w.J);
    if (a.I != w.I || a.J != w.J || a.workers != w.workers || a.id != w.id) faults.push_back(name + ": not the input's work");
    const bool movable = w.id != 0 && micro(w.duration) > 0 && w.workers > 0;
    long double expected = w.duration;
    if (!movable) {
      if (a.newWorkers != w.workers) faults.push_back(name + ": an unmovable work changed its workers");
    } else {
      before[w.id] += w.workers;
      after[w.id] += a.newWorkers;
      if (a.newWorkers < 1) faults.push_back(name + ": fewer than one worker");
      const long double t = static_cast<long double>(micro(w.duration)) / 1000000.0L;
      if (a.newWorkers < w.workers) expected = t * w.workers / a.newWorkers;
      if (a.newWorkers > w.workers) expected = std::ceil(t * w.workers / a.newWorkers - 1e-12L);
      if (a.newWorkers != w.workers) ++changed;
    }
    if (micro(a.newDuration) != micro(expected)) {
      faults.push_back(name + ": t' " + std::to_string(static_cast<double>(a.newDuration)) + " instead of " +
                       std::to_string(static_cast<double>(expected)));
    }
    durations.push_back(expected);
  }
  for (const auto& [id, sum] : after) {
    if (sum > before[id]) faults.push_back("Id " + std::to_string(id) + ": more workers than it has");
  }
  if (changed != result.changedWorks) faults.push_back("the count of changed works is wrong");
  if (recomputedLength(input, durations) != micro(result.lengthAfter)) faults.push_back("the length is not the network's");
  if (micro(result.lowerBound) > micro(result.lengthAfter)) faults.push_back("the bound is above the length");
  if (result.proven && micro(result.lowerBound) != micro(result.lengthAfter)) faults.push_back("proven but not at the bound");
  return faults;
}

}  // namespace velko::testing
