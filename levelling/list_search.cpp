#include "levelling/list_search.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <queue>
#include <utility>

#include "levelling/time_grid.h"

namespace velko {

namespace {

// The longest grid in units (two thousand years of half days): the profile tree holds
// two numbers per unit.
constexpr int kMaxListHorizon = 1 << 21;
constexpr int kMostCoarseUnitsPerDay = 96;
// Steps a cap may take before it counts as not met: a step is one look at the profile
// over a work's span, and a work that must skip past many busy stretches takes many.
constexpr long long kStepsPerWork = 64;
constexpr long long kStepsPerCap = 200000;

// Busy workers per grid unit: add over a span, the largest over a span, and the last
// unit of a span above a level. Each node's `add` applies to its whole range and is
// never pushed down, so a read adds up the adds on its way from the root.
class ProfileTree {
 public:
  explicit ProfileTree(int units) {
    while (size_ < units) size_ *= 2;
    top_.assign(2 * static_cast<std::size_t>(size_), 0);
    add_.assign(2 * static_cast<std::size_t>(size_), 0);
  }
  void clear() {
    std::fill(top_.begin(), top_.end(), 0);
    std::fill(add_.begin(), add_.end(), 0);
  }
  void add(int from, int to, std::int32_t value) { add(1, 0, size_, from, to, value); }
  std::int32_t peak() const { return top_[1]; }
  // The last unit in [from, to) with more than `level` workers, or -1.
  int lastAbove(int from, int to, std::int32_t level) const { return lastAbove(1, 0, size_, from, to, level, 0); }

 private:
  void add(int node, int low, int high, int from, int to, std::int32_t value) {
    if (to <= low || high <= from) return;
    const auto n = static_cast<std::size_t>(node);
    if (from <= low && high <= to) {
      top_[n] += value;
      add_[n] += value;
      return;
    }
    const int middle = (low + high) / 2;
    add(2 * node, low, middle, from, to, value);
    add(2 * node + 1, middle, high, from, to, value);
    top_[n] = std::max(top_[2 * n], top_[2 * n + 1]) + add_[n];
  }
  int lastAbove(int node, int low, int high, int from, int to, std::int32_t level, std::int32_t above) const {
    const auto n = static_cast<std::size_t>(node);
    if (to <= low || high <= from || top_[n] + above <= level) return -1;
    if (high - low == 1) return low;
    const int middle = (low + high) / 2;
    const int right = lastAbove(2 * node + 1, middle, high, from, to, level, above + add_[n]);
    return right >= 0 ? right : lastAbove(2 * node, low, middle, from, to, level, above + add_[n]);
  }

  int size_ = 1;
  std::vector<std::int32_t> top_;
  std::vector<std::int32_t> add_;
};

// The works in the order they are placed: each after its predecessors, among those
// ready the one with the earliest late start first (the least room to give way).
std::vector<int> placingOrder(const LevellingProblem& p) {
  const std::size_t count = p.works.size();
  std::vector<int> waiting(count, 0);
  std::vector<std::vector<int>> next(count);
  for (const Precedence& link : p.precedences) {
    ++waiting[static_cast<std::size_t>(link.after)];
    next[static_cast<std::size_t>(link.before)].push_back(link.after);
  }
  // In days: an order, not a schedule, so the rounding of far times does no harm.
  std::vector<Extended> latestStart(count);
  for (std::size_t w = 0; w < count; ++w) latestStart[w] = microDaysValue(p.works[w].es) + p.works[w].maxShift;
  const auto latest = [&](int w) { return latestStart[static_cast<std::size_t>(w)]; };
  using Entry = std::pair<Extended, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> ready;
  for (std::size_t w = 0; w < count; ++w) {
    if (waiting[w] == 0) ready.push({latest(static_cast<int>(w)), static_cast<int>(w)});
  }
  std::vector<int> order;
  order.reserve(count);
  while (!ready.empty()) {
    const int w = ready.top().second;
    ready.pop();
    order.push_back(w);
    for (int after : next[static_cast<std::size_t>(w)]) {
      if (--waiting[static_cast<std::size_t>(after)] == 0) ready.push({latest(after), after});
    }
  }
  return order;
}

enum class Placed { all, capExceeded, stopped };

// The profile works on a grid of whole units, a day being `perDay` of them: the common
// grid of the times where it is short enough, else a coarser one on which each work
// is widened to whole units. A widened work only ever counts more workers than it
// has, so a cap met on the coarse grid is met exactly too.
struct Units {
  int perDay = 1;
  std::vector<int> from;    // per profile work, at shift 0
  std::vector<int> length;
  int horizon = 0;
};

std::optional<Units> unitsFor(const LevellingProblem& p) {
  Units u;
  if (const std::optional<TimeGrid> grid = timeGrid(p, kMaxListHorizon)) {
    u.perDay = grid->unitsPerDay;
    u.from = grid->earlyStart;
    u.length = grid->duration;
    u.horizon = grid->horizon;
    return u;
  }
  if (p.profileWorks.empty()) return std::nullopt;
  MicroDays origin = p.works[static_cast<std::size_t>(p.profileWorks.front())].es;
  MicroDays end = origin;
  for (int w : p.profileWorks) {
    const ProblemWork& work = p.works[static_cast<std::size_t>(w)];
    origin = origin < work.es ? origin : work.es;
    const MicroDays latest = work.es + work.t + MicroDays(work.maxShift) * kMicroPerDay;
    end = end < latest ? latest : end;
  }
  const MicroDays span = end - origin;
  // The finest whole number of units a day that keeps the span within the limit, and
  // no finer than a quarter of an hour: a finer one only slows every pass down.
  const MicroDays perDay = MicroDays(kMaxListHorizon - 2) * kMicroPerDay / (span + 1);
  if (perDay < 1) return std::nullopt;
  u.perDay = static_cast<int>(std::min<MicroDays>(perDay, kMostCoarseUnitsPerDay));
  for (int w : p.profileWorks) {
    const ProblemWork& work = p.works[static_cast<std::size_t>(w)];
    const MicroDays first = (work.es - origin) * u.perDay / kMicroPerDay;  // down: not negative
    const MicroDays last = ((work.es - origin + work.t) * u.perDay + kMicroPerDay - 1) / kMicroPerDay;  // up
    u.from.push_back(static_cast<int>(first));
    u.length.push_back(static_cast<int>(last - first));
    u.horizon = std::max(u.horizon, static_cast<int>(last) + work.maxShift * u.perDay);
  }
  return u;
}

}  // namespace

bool listSchedule(const LevellingProblem& p, long long low, const SearchLimits& limits,
                  std::vector<long long>& shifts, long long& peak) {
  if (p.order.empty() || peak <= low) return false;
  const std::optional<Units> grid = unitsFor(p);
  if (!grid) return false;
  std::vector<int> slot(p.works.size(), -1);  // position in profileWorks, -1 for dummies
  for (std::size_t x = 0; x < p.profileWorks.size(); ++x) slot[static_cast<std::size_t>(p.profileWorks[x])] = static_cast<int>(x);
  const std::vector<int> order = placingOrder(p);
  ProfileTree tree(std::max(1, grid->horizon));
  const int unit = grid->perDay;
  std::vector<long long> trial(p.works.size(), 0);
  const long long stepsAllowed = kStepsPerCap + kStepsPerWork * static_cast<long long>(p.profileWorks.size());

  // Places every work within `cap`, fixed works first since nothing moves them.
  const auto place = [&](long long cap) {
    tree.clear();
    for (std::size_t x = 0; x < p.profileWorks.size(); ++x) {
      const ProblemWork& work = p.works[static_cast<std::size_t>(p.profileWorks[x])];
      if (work.maxShift == 0) tree.add(grid->from[x], grid->from[x] + grid->length[x], work.workers);
    }
    long long steps = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
      if (k % 1024 == 0 && limits.reached()) return Placed::stopped;
      const auto w = static_cast<std::size_t>(order[k]);
      const ProblemWork& work = p.works[w];
      long long shift = 0;
      for (int l = p.firstLinkOf[w]; l < p.firstLinkOf[w + 1]; ++l) {
        const Precedence& link = p.precedences[static_cast<std::size_t>(p.linksByAfter[static_cast<std::size_t>(l)])];
        shift = std::max(shift, trial[static_cast<std::size_t>(link.before)] - link.slack);
      }
      if (shift > work.maxShift) return Placed::capExceeded;  // not after tightening; kept safe
      const int x = slot[w];
      if (x >= 0 && work.maxShift > 0) {
        const int first = grid->from[static_cast<std::size_t>(x)];
        const int length = grid->length[static_cast<std::size_t>(x)];
        const auto level = static_cast<std::int32_t>(cap - work.workers);
        for (;;) {
          if (shift > work.maxShift || level < 0 || ++steps > stepsAllowed) return Placed::capExceeded;
          const int start = first + static_cast<int>(shift) * unit;
          const int busy = tree.lastAbove(start, start + length, level);
          if (busy < 0) break;
          shift = (busy - first) / unit + 1;  // the first start past the busy unit
        }
        const int start = first + static_cast<int>(shift) * unit;
        tree.add(start, start + length, work.workers);
      }
      trial[w] = shift;
    }
    return Placed::all;
  };

  bool better = false;
  long long high = peak - 1;  // the best cap not yet known to be met
  while (low <= high) {
    const long long cap = low + (high - low) / 2;
    const Placed placed = place(cap);
    if (placed == Placed::stopped) break;
    if (placed == Placed::all) {
      shifts = trial;
      peak = tree.peak();
      better = true;
      // The works that cannot move may stand above the cap on a coarse grid, where they
      // are widened: the next cap is below this one all the same, or the halving
      // would never end.
      high = std::min<long long>(peak, cap) - 1;
    } else {
      low = cap + 1;
    }
  }
  return better;
}

}  // namespace velko
