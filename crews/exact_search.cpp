#include "crews/exact_search.h"

#include "crews/energetic_bound.h"

#include <algorithm>
#include <memory>

#include <gecode/int.hh>
#include <gecode/minimodel.hh>
#include <gecode/search.hh>

namespace velko::crews {

using namespace Gecode;

namespace {

constexpr long long kMaxValue = 1'000'000'000;  // below Gecode's integer limits
constexpr int kMaxActivities = 3000;

// Groups of activities no two of which can run at once (together they demand more than
// some crew): each group is one machine, whose own reasoning (edge-finding, not-first,
// detectable precedences) prunes more than the cumulatives see.
std::vector<std::vector<int>> exclusiveGroups(const Network& net) {
  const int n = net.size;
  std::vector<std::vector<int>> groups;
  if (n > 600) return groups;
  std::vector<char> clash(static_cast<std::size_t>(n) * n, 0);
  std::vector<std::vector<long long>> use(n, std::vector<long long>(net.capacity.size(), 0));
  for (int a = 0; a < n; ++a)
    for (const auto& [t, amount] : net.demand[a]) use[a][t] = amount;
  std::vector<int> busy;
  for (int a = 0; a < n; ++a)
    if (!net.demand[a].empty()) busy.push_back(a);
  for (int a : busy)
    for (int b : busy)
      for (std::size_t t = 0; t < net.capacity.size() && a != b; ++t)
        if (use[a][t] + use[b][t] > net.capacity[t]) {
          clash[static_cast<std::size_t>(a) * n + b] = 1;
          break;
        }
  std::stable_sort(busy.begin(), busy.end(), [&](int a, int b) { return net.duration[a] > net.duration[b]; });
  std::vector<char> covered(n, 0);
  for (int seed : busy) {
    if (covered[seed]) continue;
    std::vector<int> group{seed};
    for (int c : busy)
      if (c != seed && std::all_of(group.begin(), group.end(), [&](int g) { return clash[static_cast<std::size_t>(g) * n + c]; }))
        group.push_back(c);
    if (group.size() < 3) continue;
    for (int g : group) covered[g] = 1;
    groups.push_back(std::move(group));
  }
  return groups;
}

class CrewSpace : public IntMinimizeSpace {
 public:
  // Starts within [head, makespan - tail]; with due starts, the count of delays to minimise.
  CrewSpace(const Network& net, const std::vector<std::vector<int>>& groups, long long makespan,
            const std::vector<long long>* due)
      : start_(*this, net.size) {
    for (int a = 0; a < net.size; ++a)
      start_[a] = IntVar(*this, static_cast<int>(net.head[a]), static_cast<int>(makespan - net.tail[a]));
    for (int a = 0; a < net.size; ++a)
      for (int b : net.next[a]) rel(*this, start_[a] + static_cast<int>(net.duration[a]) <= start_[b]);
    for (std::size_t trade = 0; trade < net.capacity.size(); ++trade) {
      IntVarArgs s;
      IntArgs p, u;
      for (int a = 0; a < net.size; ++a)
        for (const auto& [t, amount] : net.demand[a])
          if (t == static_cast<int>(trade)) {
            s << start_[a];
            p << static_cast<int>(net.duration[a]);
            u << static_cast<int>(amount);
          }
      if (s.size() == 0) continue;
      long long total = 0;
      for (int k = 0; k < u.size(); ++k) total += u[k];
      if (total <= net.capacity[trade]) continue;  // never binds
      cumulative(*this, static_cast<int>(std::min(net.capacity[trade], kMaxValue)), s, p, u,
                 IPL_BASIC);
    }
    for (const auto& group : groups) {
      IntVarArgs s;
      IntArgs p;
      for (int a : group) s << start_[a], p << static_cast<int>(net.duration[a]);
      unary(*this, s, p, IPL_BASIC_ADVANCED);
    }
    if (due) {
      BoolVarArgs late;
      for (int a = 0; a < net.size; ++a)
        if ((*due)[a] < makespan) late << expr(*this, start_[a] > static_cast<int>(std::max(-1LL, (*due)[a])));
      cost_ = IntVar(*this, 0, late.size());
      linear(*this, late, IRT_EQ, cost_);
    } else {
      cost_ = IntVar(*this, 0, 0);
    }
    // The activity whose constraints failed most (over its window's size), at its earliest
    // start or later; with restarts and the no-goods they leave, a proof that a makespan
    // has no schedule takes a small part of the nodes that a fixed order takes.
    branch(*this, start_, tiebreak(INT_VAR_AFC_SIZE_MAX(0.99), INT_VAR_MIN_MIN()), INT_VAL_MIN());
  }
  CrewSpace(CrewSpace& other) : IntMinimizeSpace(other) {
    start_.update(*this, other.start_);
    cost_.update(*this, other.cost_);
  }
  Space* copy() override { return new CrewSpace(*this); }
  IntVar cost() const override { return cost_; }
  std::vector<long long> starts() const {
    std::vector<long long> s(start_.size());
    for (int a = 0; a < start_.size(); ++a) s[a] = start_[a].val();
    return s;
  }

 private:
  IntVarArray start_;
  IntVar cost_;
};

class EffortStop : public Search::Stop {
 public:
  EffortStop(SearchEffort& effort, const Network& net) : effort_(effort), perNode_(nodeCost(net)) {}
  bool stop(const Search::Statistics& s, const Search::Options&) override {
    if (effort_.used() + static_cast<long long>(s.node) * perNode_ >= effort_.limit()) return true;
    return effort_.interrupted();
  }
  // A node propagates the whole model: its cost grows with the activities.
  static long long nodeCost(const Network& net) { return kEffortPerNode * std::max(1, net.size / 32); }
  void charge(const Search::Statistics& s) { effort_.spend(static_cast<long long>(s.node + 1) * perNode_); }

 private:
  SearchEffort& effort_;
  long long perNode_;
};

Search::Options options(Search::Stop* stop) {
  Search::Options o;
  o.threads = 1;  // the answer must not depend on the machine
  o.stop = stop;
  return o;
}

long long delaysOf(const std::vector<long long>& starts, const std::vector<long long>& due) {
  long long d = 0;
  for (std::size_t a = 0; a < starts.size(); ++a) d += starts[a] > due[a];
  return d;
}

}  // namespace

bool exactSearchFits(const Network& net, long long makespan) {
  if (net.size == 0 || net.size > kMaxActivities || makespan >= kMaxValue) return false;
  for (int a = 0; a < net.size; ++a)
    for (const auto& [trade, amount] : net.demand[a])
      if (amount >= kMaxValue) return false;
  return true;
}

namespace {

// One trial makespan: a schedule of at most `makespan`, or none (proved), or the effort ran out.
enum class Trial { found, none, stopped };

Trial tryMakespan(const Network& net, const std::vector<std::vector<int>>& groups, const std::vector<long long>& dueStarts,
                  long long makespan, Schedule& best, SearchEffort& effort) {
  EffortStop stop(effort, net);
  auto root = std::make_unique<CrewSpace>(net, groups, makespan, nullptr);
  // Refuted at the root: settled here, since the restart engine built on a failed space
  // never frees its stop object and cutoff.
  if (root->status() == SS_FAILED) return Trial::none;
  Search::Options o = options(&stop);
  o.cutoff = Search::Cutoff::luby(100);
  o.nogoods_limit = 256;
  RBS<CrewSpace, DFS> engine(root.get(), o);
  std::unique_ptr<CrewSpace> found(engine.next());
  stop.charge(engine.statistics());
  if (found) {
    best.starts = found->starts();
    best.makespan = 0;
    for (int a = 0; a < net.size; ++a) best.makespan = std::max(best.makespan, best.starts[a] + net.duration[a]);
    best.delays = delaysOf(best.starts, dueStarts);
    return Trial::found;
  }
  return engine.stopped() ? Trial::stopped : Trial::none;
}

}  // namespace

void exactSearch(const Network& net, const std::vector<long long>& dueStarts, long long& bound, Schedule& best,
                 SearchEffort& effort, const std::function<void()>& progress) {
  try {
    if (!exactSearchFits(net, best.makespan)) return;
    const std::vector<std::vector<int>> groups = exclusiveGroups(net);
    // Steps that double while trials are refuted, so that long time scales (many ticks
    // between the bound and the best) take few trials; a schedule found above the bound
    // sends the steps back to one.
    long long step = 1;
    while (bound < best.makespan && !effort.over()) {
      const long long trial = std::min(bound + step - 1, best.makespan - 1);
      if (energeticRefutes(net, trial, effort)) {
        bound = trial + 1;
        step *= 2;
        progress();
        continue;
      }
      Schedule found;
      const Trial t = tryMakespan(net, groups, dueStarts, trial, found, effort);
      if (t == Trial::stopped) return;
      if (t == Trial::found) {
        best = std::move(found);
        step = 1;
      } else {
        bound = trial + 1;
        step *= 2;
      }
      progress();
    }
  } catch (const Gecode::Exception&) {
    // A model past the solver's limits: the schedules found so far stand.
  }
}

void shortenFromAbove(const Network& net, const std::vector<long long>& dueStarts, long long& bound, Schedule& best,
                      SearchEffort& effort, const std::function<void()>& progress) {
  try {
    if (!exactSearchFits(net, best.makespan)) return;
    const std::vector<std::vector<int>> groups = exclusiveGroups(net);
    while (bound < best.makespan && !effort.over()) {
      Schedule shorter;
      const Trial t = tryMakespan(net, groups, dueStarts, best.makespan - 1, shorter, effort);
      if (t == Trial::stopped) return;
      if (t == Trial::none) {
        bound = best.makespan;
      } else {
        best = std::move(shorter);
      }
      progress();
    }
  } catch (const Gecode::Exception&) {
    // A model past the solver's limits: the schedules found so far stand.
  }
}

void fewestDelays(const Network& net, const std::vector<long long>& dueStarts, Schedule& best, SearchEffort& effort) {
  try {
    if (best.delays == 0 || !exactSearchFits(net, best.makespan)) return;
    EffortStop stop(effort, net);
    auto root = std::make_unique<CrewSpace>(net, exclusiveGroups(net), best.makespan, &dueStarts);
    BAB<CrewSpace> engine(root.get(), options(&stop));
    while (std::unique_ptr<CrewSpace> next{engine.next()}) {
      Schedule s;
      s.starts = next->starts();
      s.makespan = 0;
      for (int a = 0; a < net.size; ++a) s.makespan = std::max(s.makespan, s.starts[a] + net.duration[a]);
      s.delays = delaysOf(s.starts, dueStarts);
      if (s.better(best)) best = std::move(s);
    }
    stop.charge(engine.statistics());
  } catch (const Gecode::Exception&) {
    // A model past the solver's limits: the schedules found so far stand.
  }
}

}  // namespace velko::crews
