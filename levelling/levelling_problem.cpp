#include "levelling/levelling_problem.h"

#include <algorithm>
#include <cmath>
#include <queue>
#include <utility>

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

// The precedences (indices into p.precedences) grouped by their first work, or by
// their second with `byAfter`: group w is links[first[w] .. first[w + 1]).
struct LinkGroups {
  std::vector<int> first;
  std::vector<int> links;
};
LinkGroups groupLinks(const LevellingProblem& p, bool byAfter) {
  const auto key = [&](const Precedence& link) { return static_cast<std::size_t>(byAfter ? link.after : link.before); };
  LinkGroups g;
  g.first.assign(p.works.size() + 1, 0);
  for (const Precedence& link : p.precedences) ++g.first[key(link) + 1];
  for (std::size_t w = 0; w < p.works.size(); ++w) g.first[w + 1] += g.first[w];
  g.links.resize(p.precedences.size());
  std::vector<int> fill(g.first.begin(), g.first.end() - 1);
  for (std::size_t l = 0; l < p.precedences.size(); ++l) {
    g.links[static_cast<std::size_t>(fill[key(p.precedences[l])]++)] = static_cast<int>(l);
  }
  return g;
}

// Orders the works so that each comes after its predecessors (from a stack of the
// ready works: a fixed rule, so the same order on every run).
void orderWorks(LevellingProblem& p) {
  const LinkGroups out = groupLinks(p, false);
  std::vector<int> waiting(p.works.size(), 0);
  for (const Precedence& link : p.precedences) ++waiting[static_cast<std::size_t>(link.after)];
  std::vector<int> ready;
  for (std::size_t w = p.works.size(); w-- > 0;) {
    if (waiting[w] == 0) ready.push_back(static_cast<int>(w));
  }
  while (!ready.empty()) {
    const int w = ready.back();
    ready.pop_back();
    p.order.push_back(w);
    for (int k = out.first[static_cast<std::size_t>(w)]; k < out.first[static_cast<std::size_t>(w) + 1]; ++k) {
      const int after = p.precedences[static_cast<std::size_t>(out.links[static_cast<std::size_t>(k)])].after;
      if (--waiting[static_cast<std::size_t>(after)] == 0) ready.push_back(after);
    }
  }
  if (p.order.size() != p.works.size()) {
    p.order.clear();
    return;
  }
  LinkGroups in = groupLinks(p, true);
  p.firstLinkOf = std::move(in.first);
  p.linksByAfter = std::move(in.links);
}

// A work can shift no further than its successor's shift plus the slack between them:
// one pass from the last works back, or rounds to the fixed point when there is no order.
void tightenShifts(LevellingProblem& p) {
  const auto tighten = [&](int l) {
    const Precedence& link = p.precedences[static_cast<std::size_t>(l)];
    int& before = p.works[static_cast<std::size_t>(link.before)].maxShift;
    const long long reach = static_cast<long long>(p.works[static_cast<std::size_t>(link.after)].maxShift) + link.slack;
    if (before <= reach) return false;
    before = static_cast<int>(reach);
    return true;
  };
  if (!p.order.empty()) {
    // Walking back, every successor of a work has been reached before it, so the
    // work's own float is final when it limits its predecessors.
    for (std::size_t k = p.order.size(); k-- > 0;) {
      const auto w = static_cast<std::size_t>(p.order[k]);
      for (int l = p.firstLinkOf[w]; l < p.firstLinkOf[w + 1]; ++l) tighten(p.linksByAfter[static_cast<std::size_t>(l)]);
    }
  } else {
    for (bool changed = true; changed;) {
      changed = false;
      for (std::size_t l = 0; l < p.precedences.size(); ++l) changed = tighten(static_cast<int>(l)) || changed;
    }
  }
  for (ProblemWork& w : p.works) w.fixed = w.fixed || w.maxShift == 0;
}

// Times in millionths of a day such that two times equal in exact arithmetic are equal
// here too. The model's times carry rounding residues (a 40-bit significand: some
// hundredths of a millionth at ten thousand days), so a finish ES + t and the start of
// a successor that equals it exactly may fall either side of a half millionth and,
// rounded each alone, land a millionth apart: a phantom overlap that raises the peak.
// So the fractions of a day of all times are gathered, those within the residues of
// each other taken as one, and each group rounded once.
class TimeSnap {
 public:
  void add(Extended x) { times_.push_back(x); }
  void settle() {
    std::vector<std::pair<Extended, Extended>> fractions;  // (fraction of a day, tolerance)
    for (Extended x : times_) {
      if (!std::isfinite(x) || std::fabs(x) >= kExact) continue;
      fractions.emplace_back(x - std::floor(x), tolerance(x));
    }
    std::sort(fractions.begin(), fractions.end());
    for (std::size_t k = 0; k < fractions.size(); ++k) {
      const auto& [f, tol] = fractions[k];
      if (groups_.empty() || f - groups_.back().last > std::max(tol, groups_.back().tolerance)) {
        groups_.push_back({f, f, tol, toMicroDays(f)});
      } else {
        groups_.back().last = f;
        groups_.back().tolerance = std::max(groups_.back().tolerance, tol);
      }
    }
  }
  // x in millionths: its whole days exactly, its fraction that of its group (a
  // fraction just below a whole day belongs with the whole day above).
  MicroDays micro(Extended x) const {
    if (!std::isfinite(x) || std::fabs(x) >= kExact || groups_.empty()) return toMicroDays(x);
    Extended whole = std::floor(x);
    const Extended f = x - whole;
    const Extended tol = tolerance(x);
    if (1 - f <= std::max(tol, groups_.front().tolerance) && groups_.front().first <= tol) {
      return toMicroDays(whole + 1) + groups_.front().micro;
    }
    auto at = std::upper_bound(groups_.begin(), groups_.end(), f,
                               [](Extended v, const Group& g) { return v < g.first; });
    if (at == groups_.begin()) return toMicroDays(x);
    --at;
    if (f > at->last + std::max(tol, at->tolerance)) return toMicroDays(x);
    return toMicroDays(whole) + at->micro;
  }

 private:
  // Beyond 2^40 days the fractions no longer matter; below, a few units of the model's
  // 40-bit significand, and never less than a billionth of a day.
  static constexpr Extended kExact = 1099511627776.0L;
  static Extended tolerance(Extended x) { return std::max(1e-9L, std::fabs(x) * 0x1p-36L); }
  struct Group {
    Extended first, last, tolerance;
    MicroDays micro;
  };
  std::vector<Extended> times_;
  std::vector<Group> groups_;
};

}  // namespace

LevellingProblem buildProblem(const LevellingInput& input) {
  LevellingProblem p;
  TimeSnap snap;
  snap.add(input.length);
  for (const LevellingWork& in : input.works) {
    snap.add(in.earlyStart);
    snap.add(in.earlyStart + in.duration);
    snap.add(in.lateJ);
  }
  snap.settle();
  const MicroDays length = snap.micro(input.length);
  const std::size_t count = input.works.size();
  std::vector<long long> fullShift(count, 0);
  p.works.reserve(count);
  for (std::size_t w = 0; w < count; ++w) {
    const LevellingWork& in = input.works[w];
    ProblemWork work;
    work.es = snap.micro(in.earlyStart);
    // The span from the start to the finish, each snapped, not the rounded duration:
    // a successor starts at its event's early time, which is this finish, and the two
    // rounded apart would overlap by a millionth of a day and raise the peak.
    work.t = snap.micro(in.earlyStart + in.duration) - work.es;
    work.ls = minOf(snap.micro(in.lateJ), length) - work.t;
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
  // A list schedule searches any float in one pass over the works, the exact solvers
  // only a bounded number of shifts in all.
  p.exact = p.profileWorks.size() <= kMaxExactWorks && count <= kMaxExactAllWorks;
  if (p.exact) p.cut = cutToSearchLimit(p) || p.cut;

  // The works ending at each event, in input order, so that the precedences come out
  // in the order of the works after and then before them.
  std::vector<int> endingAt(count);
  for (std::size_t a = 0; a < count; ++a) endingAt[a] = static_cast<int>(a);
  std::stable_sort(endingAt.begin(), endingAt.end(), [&](int x, int y) {
    return input.works[static_cast<std::size_t>(x)].J < input.works[static_cast<std::size_t>(y)].J;
  });
  const auto endingAtStartOf = [&](std::size_t b) {
    const int event = input.works[b].I;
    const auto first = std::lower_bound(endingAt.begin(), endingAt.end(), event,
                                        [&](int w, int e) { return input.works[static_cast<std::size_t>(w)].J < e; });
    auto last = first;
    while (last != endingAt.end() && input.works[static_cast<std::size_t>(*last)].J == event) ++last;
    return std::pair(first, last);
  };
  // An event with thousands of works in and out makes millions of pairs; past
  // kMaxPrecedences the works stay at their early starts rather than fill the memory.
  long long pairs = 0;
  for (std::size_t b = 0; b < count; ++b) {
    const auto [first, last] = endingAtStartOf(b);
    pairs += last - first;
  }
  if (pairs > kMaxPrecedences) {
    for (ProblemWork& w : p.works) w.maxShift = 0;
    p.cut = true;
  }
  for (std::size_t b = 0; b < count && pairs <= kMaxPrecedences; ++b) {
    const auto [first, last] = endingAtStartOf(b);
    for (auto a = first; a != last; ++a) {
      if (static_cast<std::size_t>(*a) == b) continue;
      const ProblemWork& before = p.works[static_cast<std::size_t>(*a)];
      const MicroDays gap = p.works[b].es - before.es - before.t;
      // The early starts keep every precedence; a negative gap is a rounding residue
      // of the forward pass, and no shift may be forced by it.
      const long long slack = std::max(0LL, floorDays(gap, kDayLimit));
      if (slack >= before.maxShift) continue;  // the predecessor can never reach it
      p.precedences.push_back({*a, static_cast<int>(b), static_cast<int>(slack)});
    }
  }
  orderWorks(p);
  tightenShifts(p);

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
  const auto raise = [&](const Precedence& link) {
    const auto after = static_cast<std::size_t>(link.after);
    if (p.works[after].inProfile) return false;
    const long long needed = shifts[static_cast<std::size_t>(link.before)] - link.slack;
    if (shifts[after] >= needed) return false;
    shifts[after] = needed;
    return true;
  };
  if (!p.order.empty()) {
    for (int w : p.order) {
      const auto at = static_cast<std::size_t>(w);
      for (int l = p.firstLinkOf[at]; l < p.firstLinkOf[at + 1]; ++l) {
        raise(p.precedences[static_cast<std::size_t>(p.linksByAfter[static_cast<std::size_t>(l)])]);
      }
    }
    return;
  }
  // Difference constraints: raising each dummy to what its predecessors demand reaches
  // the least solution within as many rounds as there are works.
  for (std::size_t round = 0; round <= p.works.size(); ++round) {
    bool changed = false;
    for (const Precedence& link : p.precedences) changed = raise(link) || changed;
    if (!changed) break;
  }
}

std::vector<Precedence> profilePrecedences(const LevellingProblem& p) {
  const std::size_t count = p.works.size();
  const LinkGroups out = groupLinks(p, false);
  constexpr long long kNone = 1LL << 50;
  std::vector<long long> slack(count, kNone);
  std::vector<int> touched;
  std::vector<Precedence> links;
  for (int a : p.profileWorks) {
    // The smallest slack to every work reached through dummies only (slacks are not
    // negative, so the nearest first is final when taken).
    using Entry = std::pair<long long, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    const auto reach = [&](int w, long long s) {
      long long& best = slack[static_cast<std::size_t>(w)];
      if (s >= best) return;
      if (best == kNone) touched.push_back(w);
      best = s;
      if (!p.works[static_cast<std::size_t>(w)].inProfile) queue.push({s, w});
    };
    const auto follow = [&](int from, long long base) {
      for (int k = out.first[static_cast<std::size_t>(from)]; k < out.first[static_cast<std::size_t>(from) + 1]; ++k) {
        const Precedence& link = p.precedences[static_cast<std::size_t>(out.links[static_cast<std::size_t>(k)])];
        reach(link.after, base + link.slack);
      }
    };
    follow(a, 0);
    while (!queue.empty()) {
      const auto [s, d] = queue.top();
      queue.pop();
      if (s == slack[static_cast<std::size_t>(d)]) follow(d, s);
    }
    std::sort(touched.begin(), touched.end());
    for (int b : touched) {
      const long long s = slack[static_cast<std::size_t>(b)];
      if (b != a && p.works[static_cast<std::size_t>(b)].inProfile && s < p.works[static_cast<std::size_t>(a)].maxShift) {
        links.push_back({a, b, static_cast<int>(s)});
      }
      slack[static_cast<std::size_t>(b)] = kNone;
    }
    touched.clear();
  }
  return links;
}

namespace {

// The steps of sorted changes, equal neighbours merged.
template <typename Time>
std::vector<TickStep> stepsOf(std::vector<std::pair<Time, long long>>& changes) {
  std::sort(changes.begin(), changes.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
  std::vector<TickStep> steps;
  long long busy = 0;
  for (std::size_t k = 0; k < changes.size();) {
    const Time at = changes[k].first;
    for (; k < changes.size() && changes[k].first == at; ++k) busy += changes[k].second;
    if (k == changes.size()) break;
    if (!steps.empty() && steps.back().workers == busy) {
      steps.back().to = changes[k].first;
    } else {
      steps.push_back({at, changes[k].first, busy});
    }
  }
  return steps;
}

// The profile from the starts and finishes of the chosen works: sorted changes, not a
// map, and in 64 bits whenever every time fits, since a hundred thousand works make
// two hundred thousand changes to sort.
std::vector<TickStep> profileOf(const LevellingProblem& p, const std::vector<long long>& shifts,
                                const std::function<bool(int)>& include, const std::vector<int>& works) {
  const MicroDays limit = MicroDays(1) << 62;
  std::vector<std::pair<long long, long long>> quick;
  quick.reserve(2 * works.size());
  bool fits = true;
  for (int w : works) {
    if (include && !include(w)) continue;
    const ProblemWork& work = p.works[static_cast<std::size_t>(w)];
    const MicroDays start = work.es + MicroDays(shifts[static_cast<std::size_t>(w)]) * kMicroPerDay;
    const MicroDays finish = start + work.t;
    if (start <= -limit || start >= limit || finish <= -limit || finish >= limit) {
      fits = false;
      break;
    }
    quick.emplace_back(static_cast<long long>(start), work.workers);
    quick.emplace_back(static_cast<long long>(finish), -static_cast<long long>(work.workers));
  }
  if (fits) return stepsOf(quick);
  std::vector<std::pair<MicroDays, long long>> changes;
  for (int w : works) {
    if (include && !include(w)) continue;
    const ProblemWork& work = p.works[static_cast<std::size_t>(w)];
    const MicroDays start = work.es + MicroDays(shifts[static_cast<std::size_t>(w)]) * kMicroPerDay;
    changes.emplace_back(start, work.workers);
    changes.emplace_back(start + work.t, -static_cast<long long>(work.workers));
  }
  return stepsOf(changes);
}

}  // namespace

std::vector<TickStep> tickProfile(const LevellingProblem& p, const std::vector<long long>& shifts,
                                  const std::function<bool(int)>& include) {
  return profileOf(p, shifts, include, p.profileWorks);
}

std::vector<TickStep> tickProfile(const LevellingProblem& p, const std::vector<long long>& shifts,
                                  const std::vector<int>& works) {
  return profileOf(p, shifts, {}, works);
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

