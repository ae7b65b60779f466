#include "schedule_checker.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <utility>

#include "model/schedule_figures.h"

namespace velko::testing {

namespace {

constexpr long double kTolerance = 1e-6L;

long double length(const TNetworkModel& m, int variant) { return variant == 2 ? m.LengthAfter : m.LengthBefore; }

struct Plain {
  std::vector<WorkTiming> works;
  long double length = 0;
  std::vector<long long> maxShift;
};

// The rules from the variant as written: LS = min(Late(J), L) - t; a work with total
// float 0 or LS < ES stays; otherwise whole days up to LS.
Plain plainRules(std::vector<WorkTiming> works, long double pathLength) {
  Plain p;
  p.works = std::move(works);
  p.length = pathLength;
  for (const WorkTiming& w : p.works) {
    const long double ls = std::min<long double>(w.lateFinish, p.length) - w.duration;
    const long double room = ls - w.earlyStart;
    const long double days = std::min<long double>(std::floor(room + kTolerance), 1e15L);
    p.maxShift.push_back(w.critical || room < 0 ? 0 : static_cast<long long>(days));
  }
  return p;
}

Plain plainRules(const TNetworkModel& m, int variant) { return plainRules(workTimings(m, variant), length(m, variant)); }

Plain plainRules(const LevellingInput& input) {
  std::vector<WorkTiming> works;
  for (const LevellingWork& w : input.works) {
    WorkTiming t;
    t.I = w.I;
    t.J = w.J;
    t.duration = w.duration;
    t.workers = w.workers;
    t.id = w.id;
    t.earlyStart = w.earlyStart;
    t.lateFinish = w.lateJ;
    t.critical = w.zeroFloat;
    works.push_back(t);
  }
  return plainRules(std::move(works), input.length);
}

bool inProfile(const WorkTiming& w) { return w.duration >= kTolerance && w.workers > 0; }

// Precedence between a work ending at event j and one starting there. Where the
// network's own early starts already break it (a work from an event to itself), the
// gap between the two may not shrink.
bool keepsPrecedence(const WorkTiming& a, long double startA, const WorkTiming& b, long double startB) {
  const long double scale = 1 + std::fabs(startA) + std::fabs(a.duration);
  if (b.earlyStart + kTolerance * scale >= a.earlyStart + a.duration) {
    return startB + kTolerance * scale >= startA + a.duration;
  }
  return startB - b.earlyStart + kTolerance * scale >= startA - a.earlyStart;
}

struct Figures {
  long long peak = 0;
  long double squares = 0;
};

// Busy workers over time, times taken to the nearest millionth of a day.
Figures profile(const std::vector<WorkTiming>& works, const std::vector<long double>& starts,
                const std::function<bool(const WorkTiming&)>& include) {
  std::map<long long, long long> changes;
  for (std::size_t k = 0; k < works.size(); ++k) {
    if (!inProfile(works[k]) || !include(works[k])) continue;
    const long long from = std::llround(starts[k] * 1e6L);
    const long long to = std::llround((starts[k] + works[k].duration) * 1e6L);
    if (to <= from) continue;
    changes[from] += works[k].workers;
    changes[to] -= works[k].workers;
  }
  Figures f;
  long long busy = 0;
  long long previous = 0;
  for (const auto& [time, change] : changes) {
    f.squares += static_cast<long double>(busy) * busy * static_cast<long double>(time - previous) / 1e6L;
    busy += change;
    previous = time;
    f.peak = std::max(f.peak, busy);
  }
  return f;
}

bool scheduleAllowed(const Plain& p, const std::vector<long double>& starts) {
  std::multimap<int, std::size_t> endingAt;  // event -> works into it
  for (std::size_t a = 0; a < p.works.size(); ++a) endingAt.emplace(p.works[a].J, a);
  for (std::size_t b = 0; b < p.works.size(); ++b) {
    const auto [first, last] = endingAt.equal_range(p.works[b].I);
    for (auto it = first; it != last; ++it) {
      const std::size_t a = it->second;
      if (a != b && !keepsPrecedence(p.works[a], starts[a], p.works[b], starts[b])) return false;
    }
  }
  return true;
}

}  // namespace

namespace {

std::vector<std::string> checkAgainst(const Plain& p, const LevellingResult& r) {
  std::vector<std::string> faults;
  const auto fault = [&](const std::string& text) { faults.push_back(text); };
  if (r.works.size() != p.works.size()) {
    fault("works: " + std::to_string(r.works.size()) + " instead of " + std::to_string(p.works.size()));
    return faults;
  }
  const bool huge = std::any_of(p.works.begin(), p.works.end(), [](const WorkTiming& w) {
    return std::fabs(w.earlyStart) > 1e9L || std::fabs(w.duration) > 1e9L;
  });
  std::vector<long double> starts;
  for (std::size_t k = 0; k < p.works.size(); ++k) {
    const WorkTiming& w = p.works[k];
    const LevelledWork& s = r.works[k];
    const std::string name = "work " + std::to_string(w.I) + "-" + std::to_string(w.J) + ": ";
    if (s.I != w.I || s.J != w.J) fault(name + "listed out of order");
    if (s.shift < 0 || s.shift > p.maxShift[k]) {
      fault(name + "shift " + std::to_string(s.shift) + " outside 0.." + std::to_string(p.maxShift[k]));
    }
    const long double start = w.earlyStart + static_cast<long double>(s.shift);
    if (std::fabs(s.start - start) > kTolerance * (1 + std::fabs(start))) fault(name + "start is not ES + shift");
    if (s.shift > 0 && start + w.duration > std::min<long double>(w.lateFinish, p.length) + kTolerance) {
      fault(name + "finishes after its late finish or the path length");
    }
    starts.push_back(start);
  }
  if (!scheduleAllowed(p, starts)) fault("a precedence is broken");
  if (huge) return faults;  // no day-by-day profile at such magnitudes

  std::vector<long double> early;
  for (const WorkTiming& w : p.works) early.push_back(w.earlyStart);
  const auto all = [](const WorkTiming&) { return true; };
  const Figures before = profile(p.works, early, all);
  const Figures after = profile(p.works, starts, all);
  if (before.peak != r.peakBefore) fault("peak before " + std::to_string(r.peakBefore) + ", recomputed " + std::to_string(before.peak));
  if (after.peak != r.peakAfter) fault("peak after " + std::to_string(r.peakAfter) + ", recomputed " + std::to_string(after.peak));
  if (r.peakAfter > r.peakBefore) fault("peak above the early-start peak");
  if (r.lowerBound > r.peakAfter) fault("lower bound above the peak found");
  if (r.bestBound > r.peakAfter) fault("best bound above the peak found");
  if (std::fabs(after.squares - r.squaresAfter) > 1e-6L * (1 + after.squares)) fault("squares after differ");
  long long perIdPeak = 0;
  for (const auto& [id, steps] : r.profileAfterById) {
    const Figures f = profile(p.works, starts, [id = id](const WorkTiming& w) { return w.id == id; });
    long long peak = 0;
    for (const ProfileStep& s : steps) peak = std::max(peak, s.workers);
    if (f.peak != peak) fault("profile of Id " + std::to_string(id) + " differs");
    perIdPeak = std::max(perIdPeak, peak);
  }
  if (perIdPeak > r.peakAfter) fault("an Id's peak above the total");
  return faults;
}

}  // namespace

std::vector<std::string> checkSchedule(const TNetworkModel& m, const LevellingResult& r) {
  return checkAgainst(plainRules(m, r.variant), r);
}

std::vector<std::string> checkSchedule(const LevellingInput& input, const LevellingResult& r) {
  return checkAgainst(plainRules(input), r);
}

Enumerated enumerateSchedules(const TNetworkModel& m, int variant) {
  const Plain p = plainRules(m, variant);
  Enumerated best;
  best.peak = -1;
  std::vector<long long> shift(p.works.size(), 0);
  const std::function<void(std::size_t)> visit = [&](std::size_t k) {
    if (k == p.works.size()) {
      std::vector<long double> starts;
      for (std::size_t w = 0; w < p.works.size(); ++w) starts.push_back(p.works[w].earlyStart + static_cast<long double>(shift[w]));
      if (!scheduleAllowed(p, starts)) return;
      ++best.schedules;
      const Figures f = profile(p.works, starts, [](const WorkTiming&) { return true; });
      if (best.peak < 0 || f.peak < best.peak || (f.peak == best.peak && f.squares < best.squares)) {
        best.peak = f.peak;
        best.squares = f.squares;
      }
      return;
    }
    for (shift[k] = 0; shift[k] <= p.maxShift[k]; ++shift[k]) visit(k + 1);
    shift[k] = 0;
  };
  visit(0);
  return best;
}

}  // namespace velko::testing
