#include "levelling/cp_search.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include <gecode/int.hh>
#include <gecode/minimodel.hh>
#include <gecode/search.hh>

#include "levelling/time_grid.h"

namespace velko {

namespace {

using namespace Gecode;

// The most even profile is searched only while the pairs of works that may overlap,
// times the works, stay below this (every pair of a hundred works): each pair is a
// table in the model, the search keeps a copy of the model every few levels, and the
// levels grow with the works, so that beyond it the search eats hundreds of megabytes.
constexpr std::size_t kMaxPairsTimesWorks = 500000;
// Grids finer than this many units over the schedule are left to the instant tables.
constexpr int kMaxGridHorizon = 1 << 28;
// Failures before the first restart, scaled by the Luby sequence after it.
constexpr unsigned long kRestartScale = 100;
// How deep in each failed run's search tree no-goods are taken.
constexpr unsigned kNoGoodsDepth = 128;

// The overlap of two profile works as a function of the difference of their shifts,
// weighted by n x n' and scaled to whole units of the evenness objective; zero
// outside [low, low + size - 1].
struct PairTerm {
  int first = 0;   // indices into the problem's works
  int second = 0;
  int low = 0;     // shift(second) - shift(first) of the table's first entry
  std::vector<int> units;
};

MicroDays overlap(const ProblemWork& a, const ProblemWork& b, long long difference) {
  const MicroDays x = b.es - a.es + MicroDays(difference) * kMicroPerDay;  // start of b after a's
  MicroDays o = a.t < b.t ? a.t : b.t;
  if (a.t - x < o) o = a.t - x;
  if (b.t + x < o) o = b.t + x;
  return o > 0 ? o : MicroDays(0);
}

// The pairs of profile works that may overlap at some shifts, or nullopt when there are
// more than `most` of them.
std::optional<std::vector<PairTerm>> pairTerms(const LevellingProblem& p, std::size_t most) {
  struct Candidate {
    int first, second;
    long long low, high;
  };
  const auto& works = p.works;
  // Only works whose reaches (early start to latest finish) meet can overlap: a sweep
  // over the reaches in time order finds them without looking at every pair.
  std::vector<std::size_t> byReach(p.profileWorks.size());
  std::vector<Extended> reachFrom(p.profileWorks.size());
  std::vector<Extended> reachTo(p.profileWorks.size());
  for (std::size_t x = 0; x < p.profileWorks.size(); ++x) {
    const ProblemWork& w = works[static_cast<std::size_t>(p.profileWorks[x])];
    byReach[x] = x;
    reachFrom[x] = microDaysValue(w.es) - 1;  // a day's margin for the rounding to days
    reachTo[x] = microDaysValue(w.es + w.t) + w.maxShift + 1;
  }
  std::sort(byReach.begin(), byReach.end(), [&](std::size_t x, std::size_t y) {
    return reachFrom[x] < reachFrom[y] || (reachFrom[x] == reachFrom[y] && x < y);
  });
  std::vector<std::pair<std::size_t, std::size_t>> meeting;
  for (std::size_t k = 0; k < byReach.size(); ++k) {
    for (std::size_t m = k + 1; m < byReach.size() && reachFrom[byReach[m]] <= reachTo[byReach[k]]; ++m) {
      if (meeting.size() == most) return std::nullopt;
      meeting.push_back(std::minmax(byReach[k], byReach[m]));
    }
  }
  std::sort(meeting.begin(), meeting.end());  // the pairs in the order of the works
  std::vector<Candidate> candidates;
  long double largest = 0;
  for (const auto& [x, y] : meeting) {
    const int a = p.profileWorks[x];
    const int b = p.profileWorks[y];
    const ProblemWork& wa = works[static_cast<std::size_t>(a)];
    const ProblemWork& wb = works[static_cast<std::size_t>(b)];
    if (wa.maxShift == 0 && wb.maxShift == 0) continue;  // a constant of the objective
    const MicroDays offset = wb.es - wa.es;
    const long long low = std::max<long long>(floorDays(-wb.t - offset, 1LL << 40) + 1, -wa.maxShift);
    const long long high = std::min<long long>(ceilDays(wa.t - offset, 1LL << 40) - 1, wb.maxShift);
    if (low > high) continue;
    candidates.push_back({a, b, low, high});
    const MicroDays shorter = wa.t < wb.t ? wa.t : wb.t;
    largest += static_cast<long double>(wa.workers) * wb.workers * microDaysValue(shorter);
  }
  std::vector<PairTerm> terms;
  if (candidates.empty() || largest <= 0) return terms;
  // The objective's unit: as fine as a 1/65536 worker^2-day while the sum stays in the
  // solver's integer range.
  const long double scale = std::min<long double>(65536.0L, static_cast<long double>(1 << 30) / largest);
  for (const Candidate& c : candidates) {
    PairTerm term;
    term.first = c.first;
    term.second = c.second;
    term.low = static_cast<int>(c.low - 1);
    const ProblemWork& wa = works[static_cast<std::size_t>(c.first)];
    const ProblemWork& wb = works[static_cast<std::size_t>(c.second)];
    const long double weight = static_cast<long double>(wa.workers) * wb.workers * scale;
    for (long long d = c.low - 1; d <= c.high + 1; ++d) {
      term.units.push_back(static_cast<int>(std::llround(weight * microDaysValue(overlap(wa, wb, d)))));
    }
    terms.push_back(std::move(term));
  }
  return terms;
}

int unitsAt(const PairTerm& term, const std::vector<long long>& shifts) {
  const long long d = shifts[static_cast<std::size_t>(term.second)] - shifts[static_cast<std::size_t>(term.first)];
  const long long k = std::clamp<long long>(d - term.low, 0, static_cast<long long>(term.units.size()) - 1);
  return term.units[static_cast<std::size_t>(k)];
}

// One model for both phases: the shifts, the instants they start and end at, the
// precedences and the cumulative bound on the peak; in the second phase also the
// evenness objective.
class LevellingSpace : public IntMinimizeSpace {
 public:
  LevellingSpace(const LevellingProblem& p, const InstantTables& tables, const std::optional<TimeGrid>& grid,
                 long long lowPeak, long long highPeak)
      : shift_(*this, static_cast<int>(p.works.size())), start_(*this, static_cast<int>(p.profileWorks.size())) {
    for (std::size_t w = 0; w < p.works.size(); ++w) shift_[static_cast<int>(w)] = IntVar(*this, 0, p.works[w].maxShift);
    peak_ = IntVar(*this, static_cast<int>(lowPeak), static_cast<int>(highPeak));
    objective_ = peak_;
    if (grid) {
      onGrid(p, *grid);
    } else {
      onInstants(p, tables);
    }
    for (const Precedence& link : p.precedences) rel(*this, shift_[link.after] >= shift_[link.before] - link.slack);
    if (grid) {
      // The starts that fail most are decided first; with the restarts of searchPeak
      // this proves in a tenth of a second what time order leaves open for minutes.
      branch(*this, start_, INT_VAR_CHB_SIZE_MAX(), INT_VAL_MIN());
    } else {
      // Time order, as a planner fills a schedule: the work that can start first starts
      // as early as it can, or is pushed on.
      branch(*this, start_, INT_VAR_MIN_MIN(), INT_VAL_MIN());
    }
    branch(*this, shift_, INT_VAR_NONE(), INT_VAL_MIN());
    branch(*this, peak_, INT_VAL_MIN());
  }

  // The second phase: the peak held, the sum of the weighted overlaps below `below`.
  void minimiseOverlaps(const std::vector<PairTerm>& terms, long long below) {
    IntVarArgs parts;
    for (const PairTerm& term : terms) {
      const int last = static_cast<int>(term.units.size()) - 1;
      IntVar index = expr(*this, min(max(shift_[term.second] - shift_[term.first] - term.low, 0), last));
      const auto [low, high] = std::minmax_element(term.units.begin(), term.units.end());
      IntVar part(*this, *low, *high);
      element(*this, IntSharedArray(term.units), index, part);
      parts << part;
    }
    objective_ = IntVar(*this, 0, static_cast<int>(std::max<long long>(0, below - 1)));
    linear(*this, parts, IRT_EQ, objective_);
  }

  LevellingSpace(LevellingSpace& other) : IntMinimizeSpace(other) {
    shift_.update(*this, other.shift_);
    start_.update(*this, other.start_);
    peak_.update(*this, other.peak_);
    objective_.update(*this, other.objective_);
  }
  Space* copy() override { return new LevellingSpace(*this); }
  IntVar cost() const override { return objective_; }

  std::vector<long long> shifts() const {
    std::vector<long long> out;
    for (int w = 0; w < shift_.size(); ++w) out.push_back(shift_[w].val());
    return out;
  }
  long long peak() const { return peak_.val(); }
  long long objective() const { return objective_.val(); }

 private:
  // Starts on the time grid, every duration a constant. Time-tabling alone: edge
  // finding costs more per node than it saves here.
  void onGrid(const LevellingProblem& p, const TimeGrid& grid) {
    IntArgs crews;
    for (std::size_t x = 0; x < p.profileWorks.size(); ++x) {
      const int w = p.profileWorks[x];
      const int first = grid.earlyStart[x];
      IntArgs starts;
      for (int k = 0; k <= p.works[static_cast<std::size_t>(w)].maxShift; ++k) starts << first + k * grid.unitsPerDay;
      start_[static_cast<int>(x)] = IntVar(*this, IntSet(starts));
      rel(*this, start_[static_cast<int>(x)] == first + grid.unitsPerDay * shift_[w]);
      crews << p.works[static_cast<std::size_t>(w)].workers;
    }
    cumulative(*this, peak_, start_, IntArgs(grid.duration), crews, IPL_BASIC);
  }

  // Starts and ends as instant indices, the length of a work depending on its shift.
  void onInstants(const LevellingProblem& p, const InstantTables& tables) {
    IntVarArgs ends(static_cast<int>(p.profileWorks.size()));
    IntVarArgs lengths(static_cast<int>(p.profileWorks.size()));
    IntArgs crews(static_cast<int>(p.profileWorks.size()));
    for (std::size_t x = 0; x < p.profileWorks.size(); ++x) {
      const int w = p.profileWorks[x];
      const int i = static_cast<int>(x);
      const std::vector<int>& starts = tables.startIndex[x];
      const std::vector<int>& finishes = tables.endIndex[x];
      start_[i] = IntVar(*this, starts.front(), starts.back());
      ends[i] = IntVar(*this, finishes.front(), finishes.back());
      element(*this, IntSharedArray(starts), shift_[w], start_[i]);
      element(*this, IntSharedArray(finishes), shift_[w], ends[i]);
      lengths[i] = IntVar(*this, 1, std::max(1, finishes.back() - starts.front()));
      rel(*this, start_[i] + lengths[i] == ends[i]);
      crews[i] = p.works[static_cast<std::size_t>(w)].workers;
    }
    cumulative(*this, peak_, start_, lengths, ends, crews);
  }

  IntVarArray shift_;
  IntVarArray start_;
  IntVar peak_;
  IntVar objective_;
};

// Stops at the effort (the nodes the engine looked at, which it asks about one by
// one), or at the safety net and the cancel.
class EffortStop : public Search::Stop {
 public:
  explicit EffortStop(const SearchLimits& limits) : limits_(limits) {}
  bool stop(const Search::Statistics&, const Search::Options&) override {
    return ++nodes_ > limits_.effort || limits_.reached();
  }

 private:
  SearchLimits limits_;
  long long nodes_ = 0;
};

Search::Options searchOptions(Search::Stop* stop, std::size_t works) {
  Search::Options o;
  o.threads = 1;  // the answer must not depend on the machine
  o.stop = stop;
  // The search keeps a copy of the model every c_d levels and the levels grow with the
  // works: past some hundreds of works copies are kept further apart (and recomputed
  // more), so that the memory stays within tens of megabytes.
  // Recomputing from the last copy also makes copies on the way (adaptive
  // recomputation); those go as far apart.
  if (works / 32 > o.c_d) {
    o.c_d = static_cast<unsigned>(works / 32);
    o.a_d = o.c_d;
  }
  return o;
}

}  // namespace

bool searchPeak(const LevellingProblem& p, const InstantTables& tables, long long low, long long high,
                const SearchLimits& limits, const std::function<void(const std::vector<long long>&, long long)>& found) {
  EffortStop stop(limits);
  const std::optional<TimeGrid> grid = timeGrid(p, kMaxGridHorizon);
  auto root = std::make_unique<LevellingSpace>(p, tables, grid, low, high);
  Search::Options options = searchOptions(&stop, p.profileWorks.size());
  if (!grid) {
    BAB<LevellingSpace> engine(root.get(), options);
    while (std::unique_ptr<LevellingSpace> next{engine.next()}) found(next->shifts(), next->peak());
    return !engine.stopped();
  }
  // Restarts keep what each failed run learnt (its no-goods and the failure counts the
  // branching follows), so the proof of the smallest peak does not start over each time.
  options.cutoff = Search::Cutoff::luby(kRestartScale);
  options.nogoods_limit = kNoGoodsDepth;
  RBS<LevellingSpace, BAB> engine(root.get(), options);
  while (std::unique_ptr<LevellingSpace> next{engine.next()}) found(next->shifts(), next->peak());
  return !engine.stopped();
}

bool searchEvenness(const LevellingProblem& p, const InstantTables& tables, long long peak,
                    std::vector<long long>& shifts, const SearchLimits& limits, const std::function<void()>& found) {
  const std::optional<std::vector<PairTerm>> pairs =
      pairTerms(p, kMaxPairsTimesWorks / std::max<std::size_t>(1, p.profileWorks.size()));
  if (!pairs) return false;  // too many to search; the schedule stays as the peak search left it
  const std::vector<PairTerm>& terms = *pairs;
  long long current = 0;
  for (const PairTerm& term : terms) current += unitsAt(term, shifts);
  if (current == 0) return true;  // no two works overlap: nothing is more even
  EffortStop stop(limits);
  auto root = std::make_unique<LevellingSpace>(p, tables, timeGrid(p, kMaxGridHorizon), 0, peak);
  root->minimiseOverlaps(terms, current);
  BAB<LevellingSpace> engine(root.get(), searchOptions(&stop, p.profileWorks.size()));
  while (std::unique_ptr<LevellingSpace> next{engine.next()}) {
    shifts = next->shifts();
    found();
  }
  return !engine.stopped();
}

}  // namespace velko
