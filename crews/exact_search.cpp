#include "crews/exact_search.h"

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

class CrewSpace : public IntMinimizeSpace {
 public:
  // Starts within [head, makespan - tail]; with due starts, the count of delays to minimise.
  CrewSpace(const Network& net, long long makespan, const std::vector<long long>* due)
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
                 IPL_BASIC_ADVANCED);
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
    // Set times: the activity that can start first, at its earliest start, or later.
    branch(*this, start_, tiebreak(INT_VAR_MIN_MIN(), INT_VAR_MAX_MIN()), INT_VAL_MIN());
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
  explicit EffortStop(SearchEffort& effort) : effort_(effort) {}
  bool stop(const Search::Statistics& s, const Search::Options&) override {
    if (effort_.used() + static_cast<long long>(s.node) * kEffortPerNode >= effort_.limit()) return true;
    return effort_.interrupted();
  }

 private:
  SearchEffort& effort_;
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

void exactSearch(const Network& net, const std::vector<long long>& dueStarts, long long& bound, Schedule& best,
                 SearchEffort& effort, const std::function<void()>& progress) {
  if (!exactSearchFits(net, best.makespan)) return;
  EffortStop stop(effort);
  while (bound < best.makespan && !effort.over()) {
    auto root = std::make_unique<CrewSpace>(net, bound, nullptr);
    DFS<CrewSpace> engine(root.get(), options(&stop));
    std::unique_ptr<CrewSpace> found(engine.next());
    effort.spend(static_cast<long long>(engine.statistics().node + 1) * kEffortPerNode);
    if (found) {
      best.starts = found->starts();
      best.makespan = 0;
      for (int a = 0; a < net.size; ++a) best.makespan = std::max(best.makespan, best.starts[a] + net.duration[a]);
      best.delays = delaysOf(best.starts, dueStarts);
      progress();
      return;
    }
    if (engine.stopped()) return;
    ++bound;
    progress();
  }
}

void fewestDelays(const Network& net, const std::vector<long long>& dueStarts, Schedule& best, SearchEffort& effort) {
  if (best.delays == 0 || !exactSearchFits(net, best.makespan)) return;
  EffortStop stop(effort);
  auto root = std::make_unique<CrewSpace>(net, best.makespan, &dueStarts);
  BAB<CrewSpace> engine(root.get(), options(&stop));
  while (std::unique_ptr<CrewSpace> next{engine.next()}) {
    Schedule s;
    s.starts = next->starts();
    s.makespan = 0;
    for (int a = 0; a < net.size; ++a) s.makespan = std::max(s.makespan, s.starts[a] + net.duration[a]);
    s.delays = delaysOf(s.starts, dueStarts);
    if (s.better(best)) best = std::move(s);
  }
  effort.spend(static_cast<long long>(engine.statistics().node + 1) * kEffortPerNode);
}

}  // namespace velko::crews
