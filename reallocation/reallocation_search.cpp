#include "reallocation/reallocation_search.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "reallocation/reallocation_lp_bound.h"

namespace velko {

namespace {

constexpr long long kNoLimit = std::numeric_limits<long long>::max() / 4;
// Rounds of propagation per node; stopping early leaves wider intervals, never a wrong one.
constexpr int kMaxRounds = 16;
// Steps of the dynamic programme over a path's workers: at the root and for answers,
// and, smaller, at every node.
// Ten million steps (additions) take some hundredths of a second: a cancel waits no longer.
constexpr long long kMaxPathTable = 10000000;
constexpr long long kMaxNodeTable = 200000;
// A step of those tables is a few instructions; a unit of effort visits an arc.
constexpr long long kTableStepsPerUnit = 4;

struct Choice {
  int m = 0;
  long long lo = 0;
  long long hi = 0;
};

struct Frame {
  std::size_t mark = 0;
  Choice choices[3];
  int count = 0;
  int next = 0;
};

class Search {
 public:
  Search(const ReallocationProblem& p, const ReallocationLimits& limits,
         const std::function<void(const SearchReport&)>& report)
      : p_(p), limits_(limits), report_(report) {
    const std::size_t count = p.movable.size();
    lo_.assign(count, 1);
    hi_.resize(count);
    for (std::size_t m = 0; m < count; ++m) hi_[m] = p.movable[m].cap;
    dmin_.resize(count);
    assigned_.resize(count);
    early_.resize(static_cast<std::size_t>(p.events) + 1);
    late_.resize(early_.size());
    pred_.resize(early_.size());
    backward_.resize(p.arcs.size());
    std::iota(backward_.begin(), backward_.end(), 0);
    std::stable_sort(backward_.begin(), backward_.end(), [&](int a, int b) {
      return p.arcs[static_cast<std::size_t>(a)].from > p.arcs[static_cast<std::size_t>(b)].from;
    });
    onPath_.assign(count, 0);
    decompose();
  }

  SearchAnswer run(const std::vector<std::vector<long long>>& starts) {
    for (const auto& start : starts) {
      const long long length = lengthOf(p_, start);
      const int changed = changes(start);
      if (best_.workers.empty() || length < best_.length || (length == best_.length && changed < best_.changed)) {
        best_.workers = start;
        best_.length = length;
        best_.changed = changed;
      }
    }
    const std::vector<long long> initialLo = lo_, initialHi = hi_;
    {
      std::vector<long long> improved = best_.workers;
      long long length = best_.length;
      improveAlongPaths(improved, length);
      if (length < best_.length) {
        best_.workers = improved;
        best_.length = length;
        best_.changed = changes(improved);
      }
    }
    best_.bound = rootBound();
    {
      // The linear relaxation: far stronger on layered networks, and cheap beside the
      // propagation's bisection.
      const LpBound lp = reallocationLpBound(p_, lo_, hi_, (limits_.effort - effort_) / 4, [this] {
        return (limits_.cancel != nullptr && limits_.cancel->load()) || std::chrono::steady_clock::now() >= limits_.deadline;
      });
      effort_ += lp.effort;
      best_.bound = std::max(best_.bound, std::min(best_.length, lp.bound));
      if (lp.workers.size() == p_.movable.size()) startFromRelaxation(lp.workers);
    }
    best_.bound = std::max(best_.bound, std::min(best_.length, pathBound(best_.workers)));
    for (const auto& start : starts) {
      lo_ = initialLo;
      hi_ = initialHi;
      best_.bound = std::max(best_.bound, std::min(best_.length, pathBound(start)));
    }
    lo_ = initialLo;
    hi_ = initialHi;
    tell(1);
    bool exhausted = best_.bound >= best_.length;
    if (!exhausted && !stopped_) {
      lo_ = initialLo;
      hi_ = initialHi;
      phase_ = 1;
      reference_ = best_.workers;
      target_ = best_.length - 1;
      exhausted = depthFirst();
    }
    if (exhausted) best_.bound = best_.length;
    best_.proven = best_.bound >= best_.length;
    if (!stopped_) {
      lo_ = initialLo;
      hi_ = initialHi;
      phase_ = 2;
      reference_.clear();
      for (const MovableWork& w : p_.movable) reference_.push_back(w.n);
      target_ = best_.length;
      tell(2);
      best_.changesProven = best_.changed == 0 || depthFirst();
    }
    best_.stopped = stopped_;
    best_.nodes = nodes_;
    return best_;
  }

 private:
  const MovableWork& work(int m) const { return p_.movable[static_cast<std::size_t>(m)]; }
  std::size_t at(int m) const { return static_cast<std::size_t>(m); }

  int changes(const std::vector<long long>& workers) const {
    int changed = 0;
    for (std::size_t m = 0; m < workers.size(); ++m) changed += workers[m] != p_.movable[m].n ? 1 : 0;
    return changed;
  }

  void tell(int phase) {
    if (report_) report_({phase, best_.length, best_.bound, best_.changed});
  }

  bool limitReached() {
    if (stopped_) return true;
    if (effort_ >= limits_.effort || (limits_.cancel != nullptr && limits_.cancel->load()) ||
        std::chrono::steady_clock::now() >= limits_.deadline) {
      stopped_ = true;
    }
    return stopped_;
  }

  // The shortest duration within [lo, hi]: durations fall with n' below n and above n,
  // but a receiver rounded up to whole days may take longer than the work at n.
  long long minDuration(int m) const {
    const MovableWork& w = work(m);
    const long long lo = lo_[at(m)], hi = hi_[at(m)];
    long long best = kNoLimit;
    if (lo <= w.n) best = durationAt(w, std::min(hi, w.n));
    if (hi > w.n) best = std::min(best, durationAt(w, hi));
    return best;
  }

  // The fewest workers in [lo, hi] with a duration of at most x, or -1.
  long long need(int m, long long x) const {
    const MovableWork& w = work(m);
    const long long lo = lo_[at(m)], hi = hi_[at(m)];
    const auto smallest = [&](long long a, long long b) -> long long {
      if (a > b || durationAt(w, b) > x) return -1;
      while (a < b) {
        const long long mid = a + (b - a) / 2;
        if (durationAt(w, mid) <= x) b = mid; else a = mid + 1;
      }
      return a;
    };
    const long long below = smallest(lo, std::min(hi, w.n));
    return below >= 0 ? below : smallest(std::max(lo, w.n + 1), hi);
  }

  void setDomain(int m, long long lo, long long hi) {
    trail_.push_back({m, lo_[at(m)], hi_[at(m)]});
    lo_[at(m)] = lo;
    hi_[at(m)] = hi;
  }
  void undo(std::size_t mark) {
    while (trail_.size() > mark) {
      const Choice& c = trail_.back();
      lo_[at(c.m)] = c.lo;
      hi_[at(c.m)] = c.hi;
      trail_.pop_back();
    }
  }

  long long arcTime(const Arc& a, const std::vector<long long>& durations) const {
    return a.movable < 0 ? a.time : durations[at(a.movable)];
  }

  int forcedChanges() const {
    int forced = 0;
    for (std::size_t m = 0; m < lo_.size(); ++m) {
      forced += (p_.movable[m].n < lo_[m] || p_.movable[m].n > hi_[m]) ? 1 : 0;
    }
    return forced;
  }

  // Narrows the intervals for length `target`; false when no assignment within them fits.
  bool propagate(long long target) {
    for (std::size_t m = 0; m < lo_.size(); ++m) {
      if (lo_[m] > hi_[m]) return false;
    }
    for (int round = 0; round < kMaxRounds; ++round) {
      effort_ += static_cast<long long>(p_.arcs.size() + early_.size() + lo_.size());
      for (std::size_t m = 0; m < lo_.size(); ++m) dmin_[m] = minDuration(static_cast<int>(m));
      std::fill(early_.begin(), early_.end(), 0);
      for (const Arc& a : p_.arcs) {
        long long& e = early_[static_cast<std::size_t>(a.to)];
        e = std::max(e, early_[static_cast<std::size_t>(a.from)] + arcTime(a, dmin_));
      }
      if (early_.back() > target) return false;
      std::fill(late_.begin(), late_.end(), kNoLimit);
      late_.back() = target;
      for (const int k : backward_) {
        const Arc& a = p_.arcs[static_cast<std::size_t>(k)];
        const long long after = late_[static_cast<std::size_t>(a.to)];
        if (after == kNoLimit) continue;
        long long& l = late_[static_cast<std::size_t>(a.from)];
        l = std::min(l, after - arcTime(a, dmin_));
      }
      for (std::size_t v = 1; v < early_.size(); ++v) {
        if (late_[v] < early_[v]) return false;
      }
      bool changed = false;
      for (const Arc& a : p_.arcs) {
        if (a.movable < 0) continue;
        const long long after = late_[static_cast<std::size_t>(a.to)];
        if (after == kNoLimit) continue;
        const long long needed = need(a.movable, after - early_[static_cast<std::size_t>(a.from)]);
        if (needed < 0) return false;
        if (needed > lo_[at(a.movable)]) {
          setDomain(a.movable, needed, hi_[at(a.movable)]);
          changed = true;
        }
      }
      for (std::size_t g = 0; g < p_.capacity.size(); ++g) {
        long long used = 0;
        for (const int m : p_.groupWorks[g]) used += lo_[at(m)];
        if (used > p_.capacity[g]) return false;
        const long long spare = p_.capacity[g] - used;
        for (const int m : p_.groupWorks[g]) {
          if (lo_[at(m)] + spare < hi_[at(m)]) {
            setDomain(m, lo_[at(m)], lo_[at(m)] + spare);
            changed = true;
          }
        }
      }
      if (phase_ == 2 && forcedChanges() >= best_.changed) return false;
      if (!changed) return true;
    }
    return true;
  }

  // Paths that together hold every movable work on a path to the last event, each work
  // owned by the first path through it: the longest path by the durations of the works
  // not yet owned, again and again.
  void decompose() {
    std::vector<char> owned(p_.movable.size(), 0);
    for (int round = 0; round < 200; ++round) {
      std::vector<long long> early(early_.size(), 0);
      std::vector<int> pred(early_.size(), -1);
      for (std::size_t k = 0; k < p_.arcs.size(); ++k) {
        const Arc& a = p_.arcs[k];
        const long long t = a.movable >= 0 && owned[at(a.movable)] == 0 ? work(a.movable).t : 0;
        const long long reach = early[static_cast<std::size_t>(a.from)] + t;
        if (pred[static_cast<std::size_t>(a.to)] < 0 || reach > early[static_cast<std::size_t>(a.to)]) {
          early[static_cast<std::size_t>(a.to)] = reach;
          pred[static_cast<std::size_t>(a.to)] = static_cast<int>(k);
        }
      }
      if (early.back() == 0) return;
      OwnedPath path;
      for (int v = p_.events; v >= 1 && pred[static_cast<std::size_t>(v)] >= 0;) {
        const Arc& a = p_.arcs[static_cast<std::size_t>(pred[static_cast<std::size_t>(v)])];
        v = a.from;
        if (a.movable < 0) {
          path.fixedTime += a.time;
        } else if (owned[at(a.movable)] == 0) {
          owned[at(a.movable)] = 1;
          path.own.push_back(a.movable);
        } else {
          path.shared.push_back(a.movable);
        }
      }
      paths_.push_back(std::move(path));
    }
  }

  // Whether the paths can all fit `target` with each identifier's workers: a path's own
  // works of one identifier need at least the fewest workers that bring the path within
  // the target with every other work on it at its shortest; the needs of the paths and
  // the fewest workers of the works no path owns must fit each identifier's sum. True
  // also when the tables would take more than `limit` steps.
  bool pathsFit(long long target, long long limit) {
    std::vector<long long> needs(p_.capacity.size(), 0);
    std::vector<char> ownedNow(p_.movable.size(), 0);
    for (const OwnedPath& path : paths_) {
      if (limitReached()) return true;  // the caller stops at once
      long long shortest = path.fixedTime;
      for (const int m : path.shared) shortest += minDuration(m);
      std::vector<std::vector<int>> mine(p_.capacity.size());
      std::vector<long long> groupShortest(p_.capacity.size(), 0);
      for (const int m : path.own) {
        ownedNow[at(m)] = 1;
        mine[static_cast<std::size_t>(work(m).group)].push_back(m);
        const long long d = minDuration(m);
        shortest += d;
        groupShortest[static_cast<std::size_t>(work(m).group)] += d;
      }
      effort_ += static_cast<long long>(path.own.size() + path.shared.size());
      if (shortest > target) return false;
      for (std::size_t g = 0; g < p_.capacity.size(); ++g) {
        if (mine[g].empty()) continue;
        // The time this identifier's works may take: the target less the rest at its shortest.
        const long long allowed = target - (shortest - groupShortest[g]);
        const long long need = fewestWorkers(mine[g], allowed, limit);
        if (need < 0) return false;
        needs[g] += need;
      }
    }
    for (std::size_t m = 0; m < p_.movable.size(); ++m) {
      if (ownedNow[m] == 0) needs[static_cast<std::size_t>(p_.movable[m].group)] += lo_[m];
    }
    for (std::size_t g = 0; g < needs.size(); ++g) {
      if (needs[g] > p_.capacity[g]) return false;
    }
    return true;
  }

  // At most as many workers as the works `works` need to take no more than `allowed` in
  // all, or -1 when they cannot: exact for one work and for small tables, otherwise from
  // t' >= t x n / n' - half a millionth, whose real-valued minimum shares the workers in
  // proportion to the square roots of the volumes.
  long long fewestWorkers(const std::vector<int>& works, long long allowed, long long limit) {
    if (works.size() == 1) return need(works[0], allowed);
    if (works.size() == 2 && hi_[at(works[0])] - lo_[at(works[0])] < limit / 64) {
      // Each crew of the first work with the fewest the second then needs.
      const int first = works[0], second = works[1];
      long long fewest = -1;
      for (long long n = lo_[at(first)]; n <= hi_[at(first)]; ++n) {
        const long long rest = need(second, allowed - durationAt(work(first), n));
        if (rest >= 0 && (fewest < 0 || n + rest < fewest)) fewest = n + rest;
      }
      effort_ += (hi_[at(first)] - lo_[at(first)] + 1) * 8;
      return fewest;
    }
    // Workers above the fewest, so that the table spans what the intervals leave open.
    long long width = 0, fewest = 0;
    for (const int m : works) {
      width += hi_[at(m)] - lo_[at(m)];
      fewest += lo_[at(m)];
    }
    long long cost = 0;
    for (const int m : works) cost += (width + 1) * (hi_[at(m)] - lo_[at(m)] + 1);
    if (cost <= limit && cost / kTableStepsPerUnit <= limits_.effort - effort_) {
      effort_ += cost / kTableStepsPerUnit;
      std::vector<long long> least(static_cast<std::size_t>(width) + 1, kNoLimit), next(least.size());
      least[0] = 0;
      for (const int m : works) {
        std::fill(next.begin(), next.end(), kNoLimit);
        const std::vector<long long> times = durationsOf(m, least.size());
        for (std::size_t b = 0; b < least.size(); ++b) {
          if (least[b] == kNoLimit) continue;
          for (std::size_t extra = 0; extra < times.size() && b + extra < least.size(); ++extra) {
            long long& cell = next[b + extra];
            cell = std::min(cell, least[b] + times[extra]);
          }
        }
        least.swap(next);
      }
      for (std::size_t b = 0; b < least.size(); ++b) {
        if (least[b] <= allowed) return fewest + static_cast<long long>(b);
      }
      return -1;
    }
    long double roots = 0;
    for (const int m : works) roots += std::sqrt(static_cast<long double>(work(m).t) * work(m).n);
    const long double time = static_cast<long double>(allowed) + 0.5L * static_cast<long double>(works.size()) + 1;
    if (time <= 0) return -1;
    const long double relaxed = roots * roots / time * (1 - 1e-12L);
    return std::max(fewest, static_cast<long long>(std::floor(relaxed)));
  }

  // The durations of work m at lo, lo + 1, ... up to hi, at most `count` of them: the
  // tables add them up without dividing.
  std::vector<long long> durationsOf(int m, std::size_t count) const {
    const long long range = hi_[at(m)] - lo_[at(m)];
    std::vector<long long> times(static_cast<std::size_t>(std::min<long long>(range + 1, static_cast<long long>(count))));
    for (std::size_t k = 0; k < times.size(); ++k) times[k] = durationAt(work(m), lo_[at(m)] + static_cast<long long>(k));
    return times;
  }

  // The longest path with the movable works at `workers`: its movable works, and the
  // time of the others on it.
  long long longestPath(const std::vector<long long>& workers, std::vector<int>& path, long long& fixedTime) {
    std::vector<long long> early(early_.size(), 0);
    std::vector<int> pred(early_.size(), -1);
    for (std::size_t k = 0; k < p_.arcs.size(); ++k) {
      const Arc& a = p_.arcs[k];
      const long long t = a.movable < 0 ? a.time : durationAt(work(a.movable), workers[at(a.movable)]);
      const long long reach = early[static_cast<std::size_t>(a.from)] + t;
      if (reach > early[static_cast<std::size_t>(a.to)]) {
        early[static_cast<std::size_t>(a.to)] = reach;
        pred[static_cast<std::size_t>(a.to)] = static_cast<int>(k);
      }
    }
    effort_ += static_cast<long long>(p_.arcs.size() + early.size());
    path.clear();
    fixedTime = 0;
    for (int v = p_.events; v >= 1 && pred[static_cast<std::size_t>(v)] >= 0;) {
      const Arc& a = p_.arcs[static_cast<std::size_t>(pred[static_cast<std::size_t>(v)])];
      v = a.from;
      if (a.movable < 0) fixedTime += a.time; else path.push_back(a.movable);
    }
    return early.back();
  }

  // A length no assignment within the intervals goes below: the path that is longest
  // with the movable works at `workers`, on its own.
  long long pathBound(const std::vector<long long>& workers) {
    std::vector<int> path;
    long long fixedTime = 0;
    longestPath(workers, path, fixedTime);
    if (const long long exact = pathMinimum(path, fixedTime, lo_, kMaxPathTable, nullptr); exact >= 0) return exact;
    const long double relaxed = pathRelaxation(path, fixedTime);
    const long double slack = static_cast<long double>(path.size()) + 2 + std::fabs(relaxed) * 1e-15L;
    return std::max(0LL, static_cast<long long>(std::ceil(relaxed - slack)));
  }

  // The relaxation's workers rounded down keep every sum; polished along the paths they
  // are a far better start than the one pass on layered networks.
  void startFromRelaxation(const std::vector<double>& relaxed) {
    std::vector<long long> workers(relaxed.size());
    for (std::size_t m = 0; m < workers.size(); ++m) {
      workers[m] = std::clamp(static_cast<long long>(std::floor(relaxed[m] + 1e-9)), lo_[m], hi_[m]);
    }
    if (!keepsCapacities(p_, workers)) return;
    long long length = lengthOf(p_, workers);
    effort_ += static_cast<long long>(p_.arcs.size() + early_.size());
    improveAlongPaths(workers, length);
    if (length < best_.length) {
      best_.workers = workers;
      best_.length = length;
      best_.changed = changes(workers);
    }
  }

  // Answers near `workers`: the works of its longest path get the best share of what
  // the other works of their identifiers leave, as long as that shortens the network.
  void improveAlongPaths(std::vector<long long>& workers, long long& length) {
    const std::vector<long long> saveLo = lo_, saveHi = hi_;
    for (std::size_t m = 0; m < lo_.size(); ++m) {
      lo_[m] = 1;
      hi_[m] = p_.movable[m].cap;
    }
    std::vector<int> path;
    long long fixedTime = 0;
    for (int round = 0; round < 100 && !limitReached(); ++round) {
      longestPath(workers, path, fixedTime);
      std::vector<long long> shares;
      // The whole intervals where the table is small enough, else a window around the
      // current crews of the path's works.
      bool made = false;
      for (const long long reach : {0LL, 256LL, 64LL, 16LL, 4LL, 1LL}) {
        for (const int m : path) {
          lo_[at(m)] = reach == 0 ? 1 : std::max(1LL, workers[at(m)] - reach);
          hi_[at(m)] = reach == 0 ? work(m).cap : std::min(work(m).cap, workers[at(m)] + reach);
        }
        if (pathMinimum(path, fixedTime, workers, kMaxPathTable, &shares) >= 0) {
          made = true;
          break;
        }
      }
      if (!made) break;
      std::vector<long long> next = workers;
      for (std::size_t k = 0; k < path.size(); ++k) next[at(path[k])] = shares[k];
      const long long nextLength = lengthOf(p_, next);
      if (nextLength >= length) break;
      workers = next;
      length = nextLength;
    }
    lo_ = saveLo;
    hi_ = saveHi;
  }

  // The shortest the path can be on its own: each identifier's workers, less those
  // `others` gives its works elsewhere, shared among its works on the path within their
  // intervals by dynamic programming over the number of workers. -1 when the table would
  // take more than `limit` steps. `shares` receives the workers of the path's works.
  long long pathMinimum(const std::vector<int>& path, long long fixedTime, const std::vector<long long>& others,
                        long long limit, std::vector<long long>* shares) {
    long long total = fixedTime;
    for (const int m : path) onPath_[at(m)] = 1;
    std::vector<std::vector<int>> mine(p_.capacity.size());
    std::vector<long long> spare = p_.capacity;  // workers above the fewest of the path's works
    long long cost = 0;
    for (std::size_t g = 0; g < p_.capacity.size(); ++g) {
      long long open = 0;
      for (const int m : p_.groupWorks[g]) {
        if (onPath_[at(m)] != 0) {
          mine[g].push_back(m);
          spare[g] -= lo_[at(m)];
          open += hi_[at(m)] - lo_[at(m)];
        } else {
          spare[g] -= others[at(m)];
        }
      }
      spare[g] = std::min(spare[g], open);
      for (const int m : mine[g]) cost += (std::max(0LL, spare[g]) + 1) * (hi_[at(m)] - lo_[at(m)] + 1);
    }
    for (const int m : path) onPath_[at(m)] = 0;
    if (cost > limit || cost / kTableStepsPerUnit > limits_.effort - effort_) return -1;
    effort_ += cost / kTableStepsPerUnit;
    std::vector<long long> chosen(p_.movable.size(), 0);
    for (std::size_t g = 0; g < p_.capacity.size(); ++g) {
      if (mine[g].empty()) continue;
      if (spare[g] < 0) return kNoLimit;
      const std::size_t width = static_cast<std::size_t>(spare[g]) + 1;
      std::vector<long long> shortest(width, kNoLimit), next(width);
      std::vector<std::vector<long long>> took;
      shortest[0] = 0;
      for (const int m : mine[g]) {
        std::fill(next.begin(), next.end(), kNoLimit);
        std::vector<long long> pick(shares != nullptr ? width : 0, 0);
        const std::vector<long long> times = durationsOf(m, width);
        for (std::size_t b = 0; b < width; ++b) {
          if (shortest[b] == kNoLimit) continue;
          for (std::size_t extra = 0; extra < times.size() && b + extra < width; ++extra) {
            const std::size_t to = b + extra;
            const long long reach = shortest[b] + times[extra];
            if (reach < next[to]) {
              next[to] = reach;
              if (shares != nullptr) pick[to] = static_cast<long long>(extra);
            }
          }
        }
        shortest.swap(next);
        if (shares != nullptr) took.push_back(std::move(pick));
      }
      const auto least = std::min_element(shortest.begin(), shortest.end());
      if (*least == kNoLimit) return kNoLimit;
      total += *least;
      if (shares != nullptr) {
        std::size_t b = static_cast<std::size_t>(least - shortest.begin());
        for (std::size_t k = mine[g].size(); k-- > 0;) {
          const long long extra = took[k][b];
          chosen[at(mine[g][k])] = lo_[at(mine[g][k])] + extra;
          b -= static_cast<std::size_t>(extra);
        }
      }
    }
    if (shares != nullptr) {
      shares->clear();
      for (const int m : path) shares->push_back(chosen[at(m)]);
    }
    return total;
  }

  bool pathCanFit(const std::vector<int>& path, long long fixedTime, long long target) {
    const long double total = pathRelaxation(path, fixedTime);
    const long double slack = static_cast<long double>(path.size()) + 2 + std::fabs(total) * 1e-15L;
    return total <= static_cast<long double>(target) + slack;
  }

  // The shortest a path can be with each identifier's workers spread over its works on
  // it as a real-valued share: t' >= t x n / n' - half a millionth for every n'.
  long double pathRelaxation(const std::vector<int>& path, long long fixedTime) {
    long double total = static_cast<long double>(fixedTime);
    for (const int m : path) onPath_[at(m)] = 1;
    for (std::size_t g = 0; g < p_.capacity.size(); ++g) {
      long long budget = p_.capacity[g];
      std::vector<int> mine;
      for (const int m : p_.groupWorks[g]) {
        if (onPath_[at(m)] != 0) mine.push_back(m); else budget -= lo_[at(m)];
      }
      if (mine.empty()) continue;
      long long most = 0;
      for (const int m : mine) most += hi_[at(m)];
      const auto share = [&](int m, long double lambda) {
        const long double v = static_cast<long double>(work(m).t) * work(m).n;
        const long double n = lambda <= 0 ? static_cast<long double>(hi_[at(m)]) : std::sqrt(v / lambda);
        return std::clamp(n, static_cast<long double>(lo_[at(m)]), static_cast<long double>(hi_[at(m)]));
      };
      long double lambda = 0;
      if (most > budget) {
        long double a = 1e-30L, b = 1e40L;  // sum of shares falls as lambda grows
        for (int k = 0; k < 100; ++k) {
          const long double mid = std::sqrt(a * b);
          long double sum = 0;
          for (const int m : mine) sum += share(m, mid);
          if (sum > static_cast<long double>(budget)) a = mid; else b = mid;
        }
        lambda = b;
      }
      for (const int m : mine) {
        total += static_cast<long double>(work(m).t) * work(m).n / share(m, lambda);
      }
      effort_ += static_cast<long long>(mine.size()) * 100;
    }
    for (const int m : path) onPath_[at(m)] = 0;
    return total;
  }

  // The node's assignment: each work at its fewest workers (phase 2: at n when allowed).
  // Returns 1 for an answer, 0 when the node is to be split (into `frame`), -1 when no
  // answer lies below it.
  int evaluate(Frame& frame) {
    for (std::size_t m = 0; m < lo_.size(); ++m) {
      const long long n = reference_[m];
      assigned_[m] = lo_[m] <= n && n <= hi_[m] ? n : lo_[m];
    }
    for (std::size_t g = 0; g < p_.capacity.size(); ++g) {
      long long used = 0;
      for (const int m : p_.groupWorks[g]) used += assigned_[at(m)];
      if (used <= p_.capacity[g]) continue;
      // Some work is at its reference above lo: keep it, take fewer, or take more.
      int pick = -1;
      for (const int m : p_.groupWorks[g]) {
        if (assigned_[at(m)] > lo_[at(m)] && (pick < 0 || assigned_[at(m)] - lo_[at(m)] > assigned_[at(pick)] - lo_[at(pick)])) {
          pick = m;
        }
      }
      if (pick < 0) return -1;
      const long long n = assigned_[at(pick)];
      frame.choices[0] = {pick, n, n};
      frame.choices[1] = {pick, lo_[at(pick)], n - 1};
      frame.count = 2;
      if (n < hi_[at(pick)]) frame.choices[frame.count++] = {pick, n + 1, hi_[at(pick)]};
      return 0;
    }
    std::vector<long long>& durations = dmin_;
    for (std::size_t m = 0; m < lo_.size(); ++m) durations[m] = durationAt(p_.movable[m], assigned_[m]);
    std::fill(early_.begin(), early_.end(), 0);
    std::fill(pred_.begin(), pred_.end(), -1);
    for (std::size_t k = 0; k < p_.arcs.size(); ++k) {
      const Arc& a = p_.arcs[k];
      const long long reach = early_[static_cast<std::size_t>(a.from)] + arcTime(a, durations);
      if (reach > early_[static_cast<std::size_t>(a.to)]) {
        early_[static_cast<std::size_t>(a.to)] = reach;
        pred_[static_cast<std::size_t>(a.to)] = static_cast<int>(k);
      }
    }
    effort_ += static_cast<long long>(p_.arcs.size() + early_.size());
    const long long length = early_.back();
    if (length <= target_) {
      record(length);
      return 1;
    }
    // The longest path, and on it the work whose split shortens it most.
    std::vector<int> path;
    long long fixedTime = 0;
    int pick = -1;
    long long pickGain = 0;
    bool pickFree = false;
    for (int v = p_.events; v >= 1 && pred_[static_cast<std::size_t>(v)] >= 0;) {
      const Arc& a = p_.arcs[static_cast<std::size_t>(pred_[static_cast<std::size_t>(v)])];
      v = a.from;
      if (a.movable < 0) {
        fixedTime += a.time;
        continue;
      }
      const int m = a.movable;
      path.push_back(m);
      const long long gain = durations[at(m)] - minDuration(m);
      if (gain <= 0) continue;
      const long long n = work(m).n;
      // Phase 2 splits a work that has changed already before one still at n.
      const bool free = phase_ == 2 && (n < lo_[at(m)] || n > hi_[at(m)]);
      if (pick < 0 || (free && !pickFree) || (free == pickFree && gain > pickGain)) {
        pick = m;
        pickGain = gain;
        pickFree = free;
      }
    }
    if (pick < 0) return -1;
    const long long exact = pathMinimum(path, fixedTime, lo_, kMaxNodeTable, nullptr);
    if (exact > target_ || (exact < 0 && !pathCanFit(path, fixedTime, target_))) return -1;
    const long long excess = length - target_;
    const long long x = std::max(minDuration(pick), durations[at(pick)] - excess);
    const long long split = need(pick, x);
    if (split <= lo_[at(pick)]) return -1;  // cannot happen: the interval holds a shorter duration
    frame.choices[0] = {pick, split, hi_[at(pick)]};
    frame.choices[1] = {pick, lo_[at(pick)], split - 1};
    frame.count = 2;
    return 0;
  }

  void record(long long length) {
    std::vector<long long> found = assigned_;
    if (phase_ == 1) improveAlongPaths(found, length);
    const int changed = changes(found);
    if (phase_ == 1 || changed < best_.changed) {
      best_.workers = found;
      best_.length = length;
      best_.changed = changed;
      tell(phase_);
    }
  }

  // The smallest length whose root propagation succeeds; every shorter one has no answer.
  long long rootBound() {
    long long low = 0, high = best_.length;  // propagate(high) holds: an answer is there
    const std::vector<long long> initialLo = lo_, initialHi = hi_;
    while (low < high && !limitReached()) {
      const long long mid = low + (high - low) / 2;
      lo_ = initialLo;
      hi_ = initialHi;
      trail_.clear();
      if (propagate(mid) && pathsFit(mid, kMaxNodeTable)) high = mid; else low = mid + 1;
    }
    lo_ = initialLo;
    hi_ = initialHi;
    trail_.clear();
    return low;
  }

  // Returns true when the whole tree was searched.
  bool depthFirst() {
    std::vector<Frame> frames;
    trail_.clear();
    for (;;) {
      if (limitReached()) return false;
      ++nodes_;
      Frame frame;
      int outcome = propagate(target_) && pathsFit(target_, kMaxNodeTable) ? evaluate(frame) : -1;
      if (outcome == 1) {
        if (phase_ == 1) {
          target_ = best_.length - 1;
          if (best_.length <= best_.bound) return true;
        } else if (best_.changed == 0) {
          return true;
        }
        continue;  // the same node again, against the better answer
      }
      if (outcome == 0) {
        frame.mark = trail_.size();
        frames.push_back(frame);
        apply(frames.back().choices[0]);
        continue;
      }
      for (;;) {
        if (frames.empty()) return true;
        Frame& top = frames.back();
        undo(top.mark);
        if (++top.next < top.count) {
          apply(top.choices[top.next]);
          break;
        }
        frames.pop_back();
      }
    }
  }

  void apply(const Choice& c) {
    setDomain(c.m, std::max(lo_[at(c.m)], c.lo), std::min(hi_[at(c.m)], c.hi));
  }

  const ReallocationProblem& p_;
  const ReallocationLimits& limits_;
  const std::function<void(const SearchReport&)>& report_;
  std::vector<long long> lo_, hi_, dmin_, assigned_, early_, late_;
  // What a node's assignment keeps where its intervals allow: the best answer in phase
  // 1, so that the search looks near it first; n in phase 2.
  std::vector<long long> reference_;
  std::vector<int> pred_, backward_;
  std::vector<char> onPath_;
  std::vector<Choice> trail_;
  SearchAnswer best_;
  struct OwnedPath {
    std::vector<int> own;     // movable works first reached by this path
    std::vector<int> shared;  // movable works owned by an earlier path
    long long fixedTime = 0;
  };
  std::vector<OwnedPath> paths_;
  int phase_ = 1;
  long long target_ = 0;
  long long effort_ = 0;
  long long nodes_ = 0;
  bool stopped_ = false;
};

}  // namespace

bool keepsCapacities(const ReallocationProblem& p, const std::vector<long long>& workers) {
  if (workers.size() != p.movable.size()) return false;
  std::vector<long long> used(p.capacity.size(), 0);
  for (std::size_t m = 0; m < workers.size(); ++m) {
    if (workers[m] < 1) return false;
    used[static_cast<std::size_t>(p.movable[m].group)] += workers[m];
  }
  for (std::size_t g = 0; g < used.size(); ++g) {
    if (used[g] > p.capacity[g]) return false;
  }
  return true;
}

SearchAnswer searchReallocation(const ReallocationProblem& problem, const std::vector<std::vector<long long>>& starts,
                                const ReallocationLimits& limits, const std::function<void(const SearchReport&)>& report) {
  Search search(problem, limits, report);
  return search.run(starts);
}

}  // namespace velko
