#include "crews/serial_scheme.h"

#include <algorithm>

namespace velko::crews {

SerialScheme::SerialScheme(const Network& net, const std::vector<long long>& dueStarts, long long horizonHint)
    : net_(net), back_(reversedNetwork(net)), due_(dueStarts), profile_(net, horizonHint),
      backProfile_(back_, horizonHint) {}

long long SerialScheme::delaysOf(const std::vector<long long>& starts) const {
  long long d = 0;
  for (std::size_t a = 0; a < starts.size(); ++a) d += starts[a] > due_[a];
  return d;
}

bool SerialScheme::run(const Network& net, UsageProfile& profile, const std::vector<int>& list,
                       std::vector<long long>& starts, SearchEffort& effort) {
  profile.clear();
  starts.assign(net.size, 0);
  ready_.assign(net.size, 0);
  long long steps = 0;
  for (std::size_t k = 0; k < list.size(); ++k) {
    const int a = list[k];
    const long long at = profile.earliestFit(a, ready_[a], steps);
    starts[a] = at;
    profile.book(a, at);
    for (int b : net.next[a]) ready_[b] = std::max(ready_[b], at + net.duration[a]);
    if ((k & 1023) == 1023) {
      effort.spend(steps + 1024);
      steps = 0;
      if (effort.interrupted()) return false;
    }
  }
  effort.spend(steps + static_cast<long long>(list.size() % 1024));
  return true;
}

bool SerialScheme::forward(const std::vector<int>& list, Schedule& out, SearchEffort& effort) {
  if (!run(net_, profile_, list, out.starts, effort)) return false;
  out.makespan = 0;
  for (int a = 0; a < net_.size; ++a) out.makespan = std::max(out.makespan, out.starts[a] + net_.duration[a]);
  out.delays = delaysOf(out.starts);
  return true;
}

bool SerialScheme::improve(std::vector<int>& list, Schedule& out, SearchEffort& effort) {
  if (!forward(list, out, effort)) return false;
  const int n = net_.size;
  std::vector<long long> back;
  Schedule left;
  for (int round = 0; round < 8; ++round) {
    // Backward: latest finishes first; on a tie, successors first (zero durations).
    std::sort(list.begin(), list.end(), [&](int a, int b) {
      const long long fa = out.starts[a] + net_.duration[a], fb = out.starts[b] + net_.duration[b];
      return fa != fb ? fa > fb : net_.rank[a] > net_.rank[b];
    });
    if (!run(back_, backProfile_, list, back, effort)) return false;
    long long end = 0;
    for (int a = 0; a < n; ++a) end = std::max(end, back[a] + net_.duration[a]);
    for (int a = 0; a < n; ++a) back[a] = end - back[a] - net_.duration[a];  // right-justified starts
    std::sort(list.begin(), list.end(), [&](int a, int b) {
      return back[a] != back[b] ? back[a] < back[b] : net_.rank[a] < net_.rank[b];
    });
    if (!forward(list, left, effort)) return false;
    const bool shorter = left.makespan < out.makespan;
    if (left.better(out)) out = left;
    if (!shorter) break;
  }
  std::sort(list.begin(), list.end(), [&](int a, int b) {
    return out.starts[a] != out.starts[b] ? out.starts[a] < out.starts[b] : net_.rank[a] < net_.rank[b];
  });
  return true;
}

}  // namespace velko::crews
