#include "levelling/mip_search.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <map>
#include <mutex>
#include <string>

#include <coin/CbcEventHandler.hpp>
#include <coin/CbcModel.hpp>
#include <coin/CbcSolver.hpp>
#include <coin/CoinPackedMatrix.hpp>
#include <coin/OsiClpSolverInterface.hpp>

// The solver driver's command reader keeps its place in a global; it must start afresh
// for every solve.
extern int CbcOrClpRead_mode;

namespace velko {

namespace {

// The driver's globals allow one solve at a time in the process.
std::mutex driverMutex;

// Stops the branch and bound at the time limit or when the user cancels. The root
// node's rounds of cuts ignore the answer, but they do check the solver's own time
// limit, which is therefore brought forward to now.
class LimitHandler : public CbcEventHandler {
 public:
  explicit LimitHandler(const SearchLimits& limits) : limits_(limits) {}
  CbcAction event(CbcEvent) override {
    if (!limits_.reached()) return noAction;
    if (model_ != nullptr) model_->setMaximumSeconds(0);
    return stop;
  }
  CbcEventHandler* clone() const override { return new LimitHandler(*this); }

 private:
  SearchLimits limits_;
};

// The model in step variables: z(w, m) = 1 when work w is shifted by at least m days
// (m = 1 .. maxShift), so that both a precedence and "w covers instant i" take two
// coefficients each. Column 0 is the peak.
class StepModel {
 public:
  StepModel(const LevellingProblem& p, const InstantTables& tables) : p_(p), tables_(tables) {
    int column = 1;
    for (int w : p.profileWorks) {
      first_.push_back(column);
      column += p.works[static_cast<std::size_t>(w)].maxShift;
    }
    columns_ = column;
  }

  int columns() const { return columns_; }

  // The coefficients the instant rows would hold, counted before any is built: a long
  // work over a fine grid of instants covers thousands of them at every shift.
  long long loadEntries() const {
    long long entries = 0;
    for (std::size_t x = 0; x < p_.profileWorks.size(); ++x) {
      entries += tables_.endIndex[x].back() - tables_.startIndex[x].front();
    }
    return entries;
  }

  // The column of z(x, m) for the x-th profile work; -1 for m = 0 (always 1) and for
  // m beyond its float (always 0).
  int step(std::size_t x, int m) const {
    const int last = p_.works[static_cast<std::size_t>(p_.profileWorks[x])].maxShift;
    return m >= 1 && m <= last ? first_[x] + m - 1 : -1;
  }

  void build(CoinPackedMatrix& matrix, std::vector<double>& rowLow, std::vector<double>& rowHigh,
             double& fixedPeak) const {
    // The rows are gathered first and handed over at once: appended one by one, each
    // would copy the whole matrix so far.
    std::vector<CoinBigIndex> starts;
    std::vector<int> lengths;
    std::vector<int> indices;
    std::vector<double> values;
    const auto add = [&](const std::vector<int>& cols, const std::vector<double>& coefs, double low, double high) {
      starts.push_back(static_cast<CoinBigIndex>(indices.size()));
      lengths.push_back(static_cast<int>(cols.size()));
      indices.insert(indices.end(), cols.begin(), cols.end());
      values.insert(values.end(), coefs.begin(), coefs.end());
      rowLow.push_back(low);
      rowHigh.push_back(high);
    };
    std::map<int, std::size_t> index;  // profile work -> position in profileWorks
    for (std::size_t x = 0; x < p_.profileWorks.size(); ++x) index[p_.profileWorks[x]] = x;
    // A shift of at least m + 1 days is a shift of at least m.
    for (std::size_t x = 0; x < p_.profileWorks.size(); ++x) {
      const int last = p_.works[static_cast<std::size_t>(p_.profileWorks[x])].maxShift;
      for (int m = 1; m < last; ++m) add({step(x, m + 1), step(x, m)}, {1, -1}, -COIN_DBL_MAX, 0);
    }
    // shift(after) >= shift(before) - slack: a shift of m by the predecessor takes the
    // successor to at least m - slack.
    for (const Precedence& link : profilePrecedences(p_)) {
      const std::size_t a = index.at(link.before);
      const std::size_t b = index.at(link.after);
      const int last = p_.works[static_cast<std::size_t>(link.before)].maxShift;
      for (int m = link.slack + 1; m <= last; ++m) {
        const int successor = step(b, m - link.slack);
        if (successor < 0) {
          add({step(a, m)}, {1}, -COIN_DBL_MAX, 0);
        } else {
          add({step(a, m), successor}, {1, -1}, -COIN_DBL_MAX, 0);
        }
      }
    }
    // The workers at every instant, at most the peak. Work x covers instant i at the
    // shifts k1 .. k2, which is z(k1) - z(k2 + 1).
    std::vector<std::map<int, double>> load(static_cast<std::size_t>(tables_.count));
    std::vector<double> constant(static_cast<std::size_t>(tables_.count), 0);
    for (std::size_t x = 0; x < p_.profileWorks.size(); ++x) {
      const std::vector<int>& starts = tables_.startIndex[x];
      const std::vector<int>& ends = tables_.endIndex[x];
      const double crew = p_.works[static_cast<std::size_t>(p_.profileWorks[x])].workers;
      for (int i = starts.front(); i < ends.back(); ++i) {
        const int k1 = static_cast<int>(std::upper_bound(ends.begin(), ends.end(), i) - ends.begin());
        const int k2 = static_cast<int>(std::upper_bound(starts.begin(), starts.end(), i) - starts.begin()) - 1;
        if (k1 > k2) continue;
        const auto at = static_cast<std::size_t>(i);
        if (k1 == 0) {
          constant[at] += crew;
        } else {
          load[at][step(x, k1)] += crew;
        }
        if (const int off = step(x, k2 + 1); off >= 0) load[at][off] -= crew;
      }
    }
    fixedPeak = 0;
    for (std::size_t i = 0; i < load.size(); ++i) {
      std::vector<int> cols = {0};
      std::vector<double> coefs = {-1};
      for (const auto& [col, coef] : load[i]) {
        if (coef == 0) continue;
        cols.push_back(col);
        coefs.push_back(coef);
      }
      if (cols.size() == 1) {
        fixedPeak = std::max(fixedPeak, constant[i]);
      } else {
        add(cols, coefs, -COIN_DBL_MAX, -constant[i]);
      }
    }
    matrix = CoinPackedMatrix(false, columns_, static_cast<int>(lengths.size()), static_cast<CoinBigIndex>(indices.size()),
                              values.data(), indices.data(), starts.data(), lengths.data());
  }

  std::vector<long long> shifts(const double* solution) const {
    std::vector<long long> out(p_.works.size(), 0);
    for (std::size_t x = 0; x < p_.profileWorks.size(); ++x) {
      const int last = p_.works[static_cast<std::size_t>(p_.profileWorks[x])].maxShift;
      long long k = 0;
      while (k < last && solution[step(x, static_cast<int>(k) + 1)] > 0.5) ++k;
      out[static_cast<std::size_t>(p_.profileWorks[x])] = k;
    }
    settleDummies(p_, out);
    return out;
  }

 private:
  const LevellingProblem& p_;
  const InstantTables& tables_;
  std::vector<int> first_;
  int columns_ = 1;
};

}  // namespace

MipOutcome solvePeakMip(const LevellingProblem& p, const InstantTables& tables, long long low, long long high,
                        const SearchLimits& limits) {
  MipOutcome out;
  out.bound = low;
  if (limits.reached()) return out;
  const StepModel steps(p, tables);
  if (steps.columns() - 1 > kMaxMipShifts || steps.loadEntries() > kMaxMipEntries) return out;

  CoinPackedMatrix matrix;
  std::vector<double> rowLow;
  std::vector<double> rowHigh;
  double fixedPeak = 0;
  steps.build(matrix, rowLow, rowHigh, fixedPeak);
  std::vector<double> columnLow(static_cast<std::size_t>(steps.columns()), 0);
  std::vector<double> columnHigh(static_cast<std::size_t>(steps.columns()), 1);
  std::vector<double> objective(static_cast<std::size_t>(steps.columns()), 0);
  columnLow[0] = std::max<double>(static_cast<double>(low), fixedPeak);
  columnHigh[0] = static_cast<double>(high);
  objective[0] = 1;
  if (columnLow[0] > columnHigh[0]) {
    out.finished = true;
    out.bound = high + 1;
    return out;
  }

  OsiClpSolverInterface solver;
  solver.messageHandler()->setLogLevel(0);
  solver.loadProblem(matrix, columnLow.data(), columnHigh.data(), objective.data(), rowLow.data(), rowHigh.data());
  for (int c = 0; c < steps.columns(); ++c) solver.setInteger(c);
  CbcModel model(solver);
  model.setLogLevel(0);
  model.messageHandler()->setLogLevel(0);
  LimitHandler handler(limits);
  model.passInEventHandler(&handler);

  const double seconds =
      std::chrono::duration<double>(limits.deadline - std::chrono::steady_clock::now()).count();
  if (seconds <= 0) return out;
  // The driver reads numbers with the C library, which follows the user's locale (a
  // decimal comma here): whole seconds read the same everywhere, and the event handler
  // stops the search at the deadline itself.
  char secondsText[24];
  *std::to_chars(secondsText, secondsText + sizeof secondsText - 1, static_cast<long long>(std::ceil(seconds))).ptr = '\0';
  // The effort: nodes of the branch and bound, the same on every machine.
  char nodesText[24];
  const long long nodes = std::clamp<long long>(limits.effort, 0, 1LL << 30);
  *std::to_chars(nodesText, nodesText + sizeof nodesText - 1, nodes).ptr = '\0';
  // The solver's own driver, with its preprocessing and heuristics; quiet.
  const std::lock_guard<std::mutex> lock(driverMutex);
  CbcSolverUsefulData data;
  CbcMain0(model, data);
  data.noPrinting_ = true;
  data.useSignalHandler_ = false;
  CbcOrClpRead_mode = 1;
  // Wall-clock seconds for the safety net only. Of the cuts only probing: the others
  // cost seconds at the root and barely move this model's bound.
  const char* arguments[] = {"velko", "-log", "0", "-slog", "0", "-timeMode", "elapsed", "-sec", secondsText,
                             "-maxNodes", nodesText, "-cuts", "off", "-probing", "on", "-solve", "-quit"};
  CbcMain1(17, arguments, model, [](CbcModel*, int) { return 0; }, data);

  const double best = model.getBestPossibleObjValue();
  if (model.isProvenInfeasible()) {
    out.finished = true;
    out.bound = high + 1;
    return out;
  }
  if (model.bestSolution() != nullptr && model.getSolutionCount() > 0) {
    std::vector<long long> shifts = steps.shifts(model.bestSolution());
    const long long peak = peakOf(tickProfile(p, shifts));
    // A schedule is taken only once checked in exact arithmetic.
    if (peak <= high && keepsRules(p, shifts)) {
      out.found = true;
      out.shifts = std::move(shifts);
      out.peak = peak;
    }
  }
  out.finished = model.isProvenOptimal() && out.found;
  if (out.finished) {
    out.bound = out.peak;
  } else if (best >= static_cast<double>(low) && best <= static_cast<double>(high)) {
    // A search stopped early leaves its bound; one stopped before it had any leaves
    // nothing to trust.
    out.bound = static_cast<long long>(std::ceil(best - 1e-6));
  }
  return out;
}

}  // namespace velko
