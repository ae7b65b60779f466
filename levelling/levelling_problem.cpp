#include "levelling/levelling_problem.h"

#include <algorithm>
#include <map>

namespace velko {

namespace {

constexpr long long kDayLimit = 1LL << 40;     // far beyond any shift searched
constexpr int kMaxShiftOfAnyWork = 1 << 29;    // within the solver's integer range

MicroDays maxOf(const MicroDays& a, const MicroDays& b) { return a < b ? b : a; }
MicroDays minOf(const MicroDays& a, const MicroDays& b) { return a < b ? a : b; }

// Cuts the floats of the profile works to a common largest shift so that no more than
// kMaxSearchedShifts shifts are searched in all.
bool cutToSearchLimit(LevellingProblem& p) {
  const auto total = [&](long long cap) {
    long long sum = 0;
    for (int w : p.profileWorks) sum += std::min<long long>(p.works[static_cast<std::size_t>(w)].maxShift, cap) + 1;
    return sum;
  };
  if (total(kMaxShiftOfAnyWork) <= kMaxSearchedShifts) return false;
  long long low = 0;
  long long high = kMaxShiftOfAnyWork;
  while (low < high) {
    const long long mid = (low + high + 1) / 2;
    if (total(mid) <= kMaxSearchedShifts) low = mid; else high = mid - 1;
  }
  for (ProblemWork& w : p.works) w.maxShift = static_cast<int>(std::min<long long>(w.maxShift, low));
  return true;
}

// A work can shift no further than its successor's shift plus the slack between them.
void tightenShifts(LevellingProblem& p) {
  for (bool changed = true; changed;) {
    changed = false;
    for (const Precedence& link : p.precedences) {
      int& before = p.works[static_cast<std::size_t>(link.before)].maxShift;
      const long long reach = static_cast<long long>(p.works[static_cast<std::size_t>(link.after)].maxShift) + link.slack;
      if (before > reach) {
        before = static_cast<int>(reach);
        changed = true;
      }
    }
  }
  for (ProblemWork& w : p.works) w.fixed = w.fixed || w.maxShift == 0;
}

// The precedences among profile works once the dummies between them are taken out:
// the smallest total slack over the paths whose inner works are all dummies.
void linkProfileWorks(LevellingProblem& p) {
  const std::size_t count = p.works.size();
  constexpr long long kNone = 1LL << 50;
  std::vector<std::vector<long long>> slack(count, std::vector<long long>(count, kNone));
  for (const Precedence& link : p.precedences) {
    long long& s = slack[static_cast<std::size_t>(link.before)][static_cast<std::size_t>(link.after)];
    s = std::min<long long>(s, link.slack);
  }
  for (std::size_t d = 0; d < count; ++d) {
    if (p.works[d].inProfile) continue;
    for (std::size_t a = 0; a < count; ++a) {
      if (slack[a][d] >= kNone) continue;
      for (std::size_t b = 0; b < count; ++b) {
        if (slack[d][b] < kNone) slack[a][b] = std::min(slack[a][b], slack[a][d] + slack[d][b]);
      }
    }
  }
  for (int a : p.profileWorks) {
    for (int b : p.profileWorks) {
      const long long s = slack[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)];
      if (a != b && s < p.works[static_cast<std::size_t>(a)].maxShift) p.profilePrecedences.push_back({a, b, static_cast<int>(s)});
    }
  }
}

}  // namespace

LevellingProblem buildProblem(const LevellingInput& input) {
  LevellingProblem p;
  const MicroDays length = toMicroDays(input.length);
  const std::size_t count = input.works.size();
  std::vector<long long> fullShift(count, 0);
  for (std::size_t w = 0; w < count; ++w) {
    const LevellingWork& in = input.works[w];
    ProblemWork work;
    work.es = toMicroDays(in.earlyStart);
    work.t = toMicroDays(in.duration);
    work.ls = minOf(toMicroDays(in.lateJ), length) - work.t;
    work.workers = in.workers;
    work.inProfile = work.t > 0 && in.workers > 0;
    if (!in.zeroFloat && work.ls >= work.es) fullShift[w] = floorDays(work.ls - work.es, kDayLimit);
    work.fixed = fullShift[w] == 0;
    if (work.inProfile) {
      p.profileWorks.push_back(static_cast<int>(w));
      p.workerSum += in.workers;
    }
    p.works.push_back(work);
  }

  // A schedule with a work shifted further than every other work's early start plus
  // all durations and a day per work can be pulled back without changing any overlap,
  // so no shift beyond that is ever needed.
  MicroDays latestEarly = 0;
  MicroDays allDurations = 0;
  for (const ProblemWork& w : p.works) {
    latestEarly = maxOf(latestEarly, w.es);
    allDurations += maxOf(w.t, 0);
  }
  for (std::size_t w = 0; w < count; ++w) {
    ProblemWork& work = p.works[w];
    const long long needed =
        ceilDays(latestEarly - work.es + allDurations, kDayLimit) + static_cast<long long>(count);
    long long shift = std::min(fullShift[w], needed);
    if (shift > kMaxShiftOfAnyWork) {
      shift = kMaxShiftOfAnyWork;
      p.cut = true;
    }
    work.maxShift = static_cast<int>(shift);
  }
  p.cut = cutToSearchLimit(p) || p.cut;

  for (std::size_t b = 0; b < count; ++b) {
    for (std::size_t a = 0; a < count; ++a) {
      if (a == b || input.works[a].J != input.works[b].I) continue;
      const ProblemWork& before = p.works[a];
      const MicroDays gap = p.works[b].es - before.es - before.t;
      // The early starts keep every precedence; a negative gap is a rounding residue
      // of the forward pass, and no shift may be forced by it.
      const long long slack = std::max(0LL, floorDays(gap, kDayLimit));
      if (slack >= before.maxShift) continue;  // the predecessor can never reach it
      p.precedences.push_back({static_cast<int>(a), static_cast<int>(b), static_cast<int>(slack)});
    }
  }
  tightenShifts(p);
  linkProfileWorks(p);

  // The lower bound: the peak of the works the rules keep in place, the largest crew,
  // and the labour volume spread evenly over the path length. Where a work may finish
  // after the path length (an event with no path to the last one, negative durations)
  // the volume is spread up to that finish instead, so that the bound stays a bound.
  const std::vector<long long> early(count, 0);
  long long bound = peakOf(tickProfile(p, early, [&](int w) { return fullShift[static_cast<std::size_t>(w)] == 0; }));
  MicroDays volume = 0;
  MicroDays spanEnd = length;
  for (int w : p.profileWorks) {
    const ProblemWork& work = p.works[static_cast<std::size_t>(w)];
    bound = std::max<long long>(bound, work.workers);
    volume += work.t * work.workers;
    spanEnd = maxOf(spanEnd, (work.fixed ? work.es : work.ls) + work.t);
  }
  if (spanEnd > 0) {
    const MicroDays spread = (volume + spanEnd - 1) / spanEnd;
    if (spread > bound) bound = static_cast<long long>(spread);
  }
  p.staticBound = bound;
  return p;
}

namespace {

// The instant tables in an integer type that holds every start (64 bits for any
// ordinary network, which sorts a million instants far faster); `time` saturates, so a
// finish beyond the largest start is simply after every instant.
template <typename Time>
InstantTables tablesIn(const LevellingProblem& p, const std::function<Time(const MicroDays&)>& time) {
  std::vector<Time> instants;
  for (int w : p.profileWorks) {
    const ProblemWork& work = p.works[static_cast<std::size_t>(w)];
    const Time first = time(work.es);
    for (int k = 0; k <= work.maxShift; ++k) instants.push_back(first + Time(k) * kMicroPerDay);
  }
  std::sort(instants.begin(), instants.end());
  instants.erase(std::unique(instants.begin(), instants.end()), instants.end());
  const auto index = [&](const Time& at) {
    return static_cast<int>(std::lower_bound(instants.begin(), instants.end(), at) - instants.begin());
  };
  InstantTables tables;
  tables.count = static_cast<int>(instants.size());
  for (int w : p.profileWorks) {
    const ProblemWork& work = p.works[static_cast<std::size_t>(w)];
    const Time first = time(work.es);
    const Time length = time(work.t);
    std::vector<int> starts;
    std::vector<int> ends;
    for (int k = 0; k <= work.maxShift; ++k) {
      const Time start = first + Time(k) * kMicroPerDay;
      starts.push_back(index(start));
      ends.push_back(index(start + length));
    }
    tables.startIndex.push_back(std::move(starts));
    tables.endIndex.push_back(std::move(ends));
  }
  return tables;
}

}  // namespace

InstantTables instantTables(const LevellingProblem& p) {
  const MicroDays limit = MicroDays(1) << 61;
  bool small = true;
  for (int w : p.profileWorks) {
    const ProblemWork& work = p.works[static_cast<std::size_t>(w)];
    small = small && work.es > -limit && work.es + MicroDays(work.maxShift) * kMicroPerDay < limit;
  }
  if (small) {
    return tablesIn<long long>(p, [&](const MicroDays& m) { return static_cast<long long>(m < limit ? m : limit); });
  }
  return tablesIn<MicroDays>(p, [](const MicroDays& m) { return m; });
}

bool keepsRules(const LevellingProblem& p, const std::vector<long long>& shifts) {
  for (std::size_t w = 0; w < p.works.size(); ++w) {
    if (shifts[w] < 0 || shifts[w] > p.works[w].maxShift) return false;
  }
  return std::all_of(p.precedences.begin(), p.precedences.end(), [&](const Precedence& link) {
    return shifts[static_cast<std::size_t>(link.after)] >= shifts[static_cast<std::size_t>(link.before)] - link.slack;
  });
}

void settleDummies(const LevellingProblem& p, std::vector<long long>& shifts) {
  for (std::size_t w = 0; w < p.works.size(); ++w) {
    if (!p.works[w].inProfile) shifts[w] = 0;
  }
  // Difference constraints: raising each dummy to what its predecessors demand reaches
  // the least solution within as many rounds as there are works.
  for (std::size_t round = 0; round <= p.works.size(); ++round) {
    bool changed = false;
    for (const Precedence& link : p.precedences) {
      const auto after = static_cast<std::size_t>(link.after);
      if (p.works[after].inProfile) continue;
      const long long needed = shifts[static_cast<std::size_t>(link.before)] - link.slack;
      if (shifts[after] < needed) {
        shifts[after] = needed;
        changed = true;
      }
    }
    if (!changed) break;
  }
}

std::vector<TickStep> tickProfile(const LevellingProblem& p, const std::vector<long long>& shifts,
                                  const std::function<bool(int)>& include) {
  std::map<MicroDays, long long> changes;
  for (int w : p.profileWorks) {
    if (include && !include(w)) continue;
    const ProblemWork& work = p.works[static_cast<std::size_t>(w)];
    const MicroDays start = work.es + MicroDays(shifts[static_cast<std::size_t>(w)]) * kMicroPerDay;
    changes[start] += work.workers;
    changes[start + work.t] -= work.workers;
  }
  std::vector<TickStep> steps;
  long long busy = 0;
  for (auto it = changes.begin(); it != changes.end(); ++it) {
    busy += it->second;
    const auto next = std::next(it);
    if (next == changes.end()) break;
    if (!steps.empty() && steps.back().workers == busy) {
      steps.back().to = next->first;
    } else {
      steps.push_back({it->first, next->first, busy});
    }
  }
  return steps;
}

long long peakOf(const std::vector<TickStep>& steps) {
  long long peak = 0;
  for (const TickStep& s : steps) peak = std::max(peak, s.workers);
  return peak;
}

MicroDays squaresOf(const std::vector<TickStep>& steps) {
  MicroDays sum = 0;
  for (const TickStep& s : steps) sum += MicroDays(s.workers) * s.workers * (s.to - s.from);
  return sum;
}

}  // namespace velko

