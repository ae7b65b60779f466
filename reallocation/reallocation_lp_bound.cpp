#include "reallocation/reallocation_lp_bound.h"

#include <ClpEventHandler.hpp>
#include <ClpSimplex.hpp>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <utility>

#include "levelling/micro_days.h"

namespace velko {

namespace {

__extension__ typedef __int128 HullWide;

// Wider intervals get the secants of t x n / n' instead of a listed hull.
constexpr long long kMaxHullPoints = 1 << 16;
constexpr int kMaxCutRounds = 200;
constexpr int kIterationsPerPoll = 32;
constexpr long double kLpMicro = static_cast<long double>(kMicroPerDay);

// The lower convex hull of a work's durations at lo, lo + 1, ..., hi: a convex function
// no higher than the duration at any whole n', so each of its segments' lines is a cut.
struct DurationHull {
  std::vector<long long> x, y;  // vertices, y in millionths
  bool listed = false;
};

DurationHull hullOf(const MovableWork& w, long long lo, long long hi, bool list) {
  DurationHull h;
  if (!list || hi - lo + 1 > kMaxHullPoints) return h;
  h.listed = true;
  for (long long k = lo; k <= hi; ++k) {
    const long long d = durationAt(w, k);
    while (h.x.size() >= 2) {
      const std::size_t a = h.x.size() - 2, b = a + 1;
      // Drop b when it lies on or above the line from a to the new point.
      const HullWide cross = static_cast<HullWide>(h.x[b] - h.x[a]) * (d - h.y[a]) - static_cast<HullWide>(k - h.x[a]) * (h.y[b] - h.y[a]);
      if (cross > 0) break;
      h.x.pop_back();
      h.y.pop_back();
    }
    h.x.push_back(k);
    h.y.push_back(d);
  }
  return h;
}

// The cut at n' = `at`: duration >= slope x n' + base (millionths), and its key.
struct HullCut {
  long double slope = 0, base = 0;
  long long key = 0;
};

HullCut cutAt(const MovableWork& w, const DurationHull& h, long long lo, long long hi, long double at) {
  HullCut c;
  if (h.listed) {
    if (h.x.size() == 1) {
      c.base = static_cast<long double>(h.y[0]);
      return c;
    }
    std::size_t i = static_cast<std::size_t>(std::upper_bound(h.x.begin(), h.x.end(), static_cast<long long>(std::floor(at))) - h.x.begin());
    i = std::min(std::max<std::size_t>(i, 1), h.x.size() - 1) - 1;
    c.slope = static_cast<long double>(h.y[i + 1] - h.y[i]) / static_cast<long double>(h.x[i + 1] - h.x[i]);
    c.base = static_cast<long double>(h.y[i]) - c.slope * static_cast<long double>(h.x[i]);
    c.key = static_cast<long long>(i);
    return c;
  }
  // A giver's duration is rounded to the nearest millionth: half a millionth below.
  const long double volume = static_cast<long double>(w.t) * static_cast<long double>(w.n);
  const long long k = std::clamp(static_cast<long long>(std::floor(at)), lo, hi - 1);
  const long double kk = static_cast<long double>(k);
  c.slope = -volume / (kk * (kk + 1));
  c.base = volume / kk + volume / (kk + 1) - 0.5L;
  c.key = k;
  return c;
}

// Stops a solve when the caller's flag or clock says so.
class StopHandler : public ClpEventHandler {
 public:
  explicit StopHandler(const std::function<bool()>& stop) : stop_(&stop) {}
  ClpEventHandler* clone() const override { return new StopHandler(*this); }
  int event(Event which) override {
    if (which == endOfIteration && ++iterations_ % kIterationsPerPoll == 0 && (*stop_)()) return 0;
    return -1;
  }

 private:
  const std::function<bool()>* stop_;
  int iterations_ = 0;
};

// The rows as given to the solver, kept to compute a bound from any duals.
struct LpRows {
  std::vector<double> lower, upper, elements;
  std::vector<int> columns;
  std::vector<CoinBigIndex> starts{0};
  void add(std::initializer_list<std::pair<int, double>> entries, double lo, double up) {
    for (const auto& [column, value] : entries) {
      columns.push_back(column);
      elements.push_back(value);
    }
    starts.push_back(static_cast<CoinBigIndex>(columns.size()));
    lower.push_back(lo);
    upper.push_back(up);
  }
  int count() const { return static_cast<int>(lower.size()); }
};

}  // namespace

LpBound reallocationLpBound(const ReallocationProblem& p, const std::vector<long long>& lo,
                            const std::vector<long long>& hi, long long effortLimit,
                            const std::function<bool()>& stop) {
  LpBound result;
  if (p.events < 1) return result;
  const int events = p.events;
  const int columns = events + static_cast<int>(p.movable.size());
  const auto eventColumn = [](int v) { return v - 1; };
  const auto workColumn = [&](int m) { return events + m; };
  std::vector<DurationHull> hulls(p.movable.size());
  for (std::size_t m = 0; m < p.movable.size(); ++m) {
    if (lo[m] > hi[m]) return result;
    // The points listed count against the effort; past half of it, the secants.
    hulls[m] = hullOf(p.movable[m], lo[m], hi[m], result.effort + (hi[m] - lo[m] + 1) <= effortLimit / 2);
    result.effort += hulls[m].listed ? hi[m] - lo[m] + 1 : 1;
  }
  // No Early exceeds the sum of the longest durations: a finite bound for every column.
  long double most = 1;
  for (const Arc& a : p.arcs) {
    if (a.movable < 0) {
      most += static_cast<long double>(std::max(0LL, a.time));
      continue;
    }
    const MovableWork& w = p.movable[static_cast<std::size_t>(a.movable)];
    const long long l = lo[static_cast<std::size_t>(a.movable)], h = hi[static_cast<std::size_t>(a.movable)];
    long long longest = durationAt(w, l);
    if (std::max(l, w.n + 1) <= h) longest = std::max(longest, durationAt(w, std::max(l, w.n + 1)));
    most += static_cast<long double>(longest);
  }
  std::vector<double> columnLower(static_cast<std::size_t>(columns), 0.0);
  std::vector<double> columnUpper(static_cast<std::size_t>(columns), static_cast<double>(most / kLpMicro));
  std::vector<double> objective(static_cast<std::size_t>(columns), 0.0);
  objective[static_cast<std::size_t>(eventColumn(events))] = 1.0;
  for (std::size_t m = 0; m < p.movable.size(); ++m) {
    columnLower[static_cast<std::size_t>(workColumn(static_cast<int>(m)))] = static_cast<double>(lo[m]);
    columnUpper[static_cast<std::size_t>(workColumn(static_cast<int>(m)))] = static_cast<double>(hi[m]);
  }

  LpRows rows;
  constexpr double kInfinity = std::numeric_limits<double>::max();
  std::set<std::pair<int, long long>> made;
  const auto addCut = [&](const Arc& a, long double at) {
    const std::size_t m = static_cast<std::size_t>(a.movable);
    const HullCut c = cutAt(p.movable[m], hulls[m], lo[m], hi[m], at);
    if (!made.insert({a.movable, c.key}).second) return false;
    rows.add({{eventColumn(a.to), 1.0}, {eventColumn(a.from), -1.0}, {workColumn(a.movable), static_cast<double>(-c.slope / kLpMicro)}},
             static_cast<double>(c.base / kLpMicro), kInfinity);
    return true;
  };
  for (const Arc& a : p.arcs) {
    if (a.movable < 0) {
      rows.add({{eventColumn(a.to), 1.0}, {eventColumn(a.from), -1.0}}, static_cast<double>(a.time / kLpMicro), kInfinity);
    } else {
      const MovableWork& w = p.movable[static_cast<std::size_t>(a.movable)];
      addCut(a, static_cast<long double>(std::clamp(w.n, lo[static_cast<std::size_t>(a.movable)], hi[static_cast<std::size_t>(a.movable)])));
    }
  }
  for (std::size_t g = 0; g < p.capacity.size(); ++g) {
    for (const int m : p.groupWorks[g]) {
      rows.columns.push_back(workColumn(m));
      rows.elements.push_back(1.0);
    }
    rows.starts.push_back(static_cast<CoinBigIndex>(rows.columns.size()));
    rows.lower.push_back(-kInfinity);
    rows.upper.push_back(static_cast<double>(p.capacity[g]));
  }

  ClpSimplex model;
  model.setLogLevel(0);
  const StopHandler handler(stop);
  model.passInEventHandler(&handler);
  model.loadProblem(columns, 0, std::vector<CoinBigIndex>(static_cast<std::size_t>(columns) + 1, 0).data(), nullptr, nullptr,
                    columnLower.data(), columnUpper.data(), objective.data(), nullptr, nullptr);
  int given = 0;
  long double best = 0;
  for (int round = 0; round < kMaxCutRounds && !stop(); ++round) {
    const int fresh = rows.count() - given;
    if (fresh > 0) {
      std::vector<CoinBigIndex> starts(rows.starts.begin() + given, rows.starts.end());
      for (CoinBigIndex& s : starts) s -= rows.starts[static_cast<std::size_t>(given)];
      model.addRows(fresh, rows.lower.data() + given, rows.upper.data() + given, starts.data(),
                    rows.columns.data() + rows.starts[static_cast<std::size_t>(given)],
                    rows.elements.data() + rows.starts[static_cast<std::size_t>(given)]);
      given = rows.count();
    }
    const long long size = rows.count() + columns;
    const long long iterations = (effortLimit - result.effort) / size;
    if (iterations <= 0) break;
    model.setMaximumIterations(static_cast<int>(std::min<long long>(iterations, std::numeric_limits<int>::max())));
    model.dual();
    result.effort += (std::max(0, model.numberIterations()) + 1LL) * size;
    if (model.status() != 0) break;
    // A bound from the duals whatever the solver's tolerances: weak duality over the
    // column bounds, with each dual's sign forced to the one its row allows.
    const double* dual = model.dualRowSolution();
    std::vector<long double> reduced(objective.begin(), objective.end());
    long double bound = 0, scale = 0;
    for (int i = 0; i < rows.count(); ++i) {
      const bool atLeast = rows.upper[static_cast<std::size_t>(i)] == kInfinity;
      const long double y = atLeast ? std::max(0.0, dual[i]) : std::min(0.0, dual[i]);
      if (y == 0) continue;
      const long double rhs = atLeast ? rows.lower[static_cast<std::size_t>(i)] : rows.upper[static_cast<std::size_t>(i)];
      bound += y * rhs;
      scale += std::fabs(y * rhs);
      for (CoinBigIndex e = rows.starts[static_cast<std::size_t>(i)]; e < rows.starts[static_cast<std::size_t>(i) + 1]; ++e) {
        const std::size_t j = static_cast<std::size_t>(rows.columns[static_cast<std::size_t>(e)]);
        reduced[j] -= y * rows.elements[static_cast<std::size_t>(e)];
        scale += std::fabs(y * rows.elements[static_cast<std::size_t>(e)]) * columnUpper[j];
      }
    }
    for (std::size_t j = 0; j < reduced.size(); ++j) {
      bound += std::min(reduced[j] * columnLower[j], reduced[j] * columnUpper[j]);
    }
    // Against the rounding of the rows' coefficients to doubles.
    best = std::max(best, bound - scale * 1e-13L);
    result.effort += size;
    const double* x = model.primalColumnSolution();
    result.workers.assign(x + events, x + columns);
    int added = 0;
    for (const Arc& a : p.arcs) {
      if (a.movable < 0) continue;
      const std::size_t m = static_cast<std::size_t>(a.movable);
      const long double n = x[workColumn(a.movable)];
      const HullCut c = cutAt(p.movable[m], hulls[m], lo[m], hi[m], n);
      const long double span = (static_cast<long double>(x[eventColumn(a.to)]) - x[eventColumn(a.from)]) * kLpMicro;
      const long double needed = c.slope * n + c.base;
      if (span < needed - 1e-3L * std::max(1.0L, std::fabs(needed)) * 1e-3L && addCut(a, n)) ++added;
    }
    if (added == 0) break;
  }
  // Every length is a whole number of millionths; the tolerance covers the long double sums.
  result.bound = std::max(0LL, static_cast<long long>(std::ceil(best * kLpMicro - 1e-6L)));
  return result;
}

}  // namespace velko
