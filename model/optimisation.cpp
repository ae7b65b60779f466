#include "model/optimisation.h"

#include <cmath>
#include <limits>

#include <algorithm>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include "model/command_error.h"
#include "model/incremental_times.h"
#include "model/time_parameters.h"

namespace velko {

namespace {

void recompute(TNetworkModel& m, const WorkCells& works) {
  ClearComputed(m);
  ComputeTimeParameters(m, works);
}

// The works that may give workers: those with a total float other than 0, by
// identifier, in scan order. The pass looks at these alone, and they change only as
// floats become 0 or stop being 0.
class DonorCandidates {
 public:
  explicit DonorCandidates(const WorkCells& works) : works_(works) { rebuild(); }
  void rebuild() {
    byId_.clear();
    for (int k = 0; k < works_.count(); ++k) update(k, works_.inScanOrder(k).cell->TotalFloat == 0);
  }
  void update(int k, bool zeroFloat) {
    std::set<int>& same = byId_[works_.inScanOrder(k).cell->Id];
    if (zeroFloat) same.erase(k); else same.insert(k);
  }
  // The first candidate of identifier `id` at scan position `from` or later, or -1.
  int next(std::int32_t id, int from) const {
    const auto same = byId_.find(id);
    if (same == byId_.end()) return -1;
    const auto k = same->second.lower_bound(from);
    return k == same->second.end() ? -1 : *k;
  }

 private:
  const WorkCells& works_;
  std::unordered_map<std::int32_t, std::set<int>> byId_;
};

// The recomputations of one pass: a full one first, then only what each move reaches.
class Recomputation {
 public:
  Recomputation(TNetworkModel& m, const WorkCells& works, DonorCandidates& candidates)
      : m_(m), works_(works), candidates_(candidates) {}

  bool done() const { return done_; }
  void full() {
    recompute(m_, works_);
    done_ = true;
    candidates_.rebuild();
    if (m_.EventCount >= 2) {
      incremental_.emplace(m_, works_);
      incremental_->onZeroFloatChange([this](int k, bool zero) { candidates_.update(k, zero); });
    }
  }
  // After the durations of the donor (scan position `donor`) and of the critical work
  // (i, j) changed.
  void afterMove(int donor, int i, int j) {
    const int critical = incremental_ ? incremental_->scanPosition(i, j) : -1;
    if (critical < 0) {
      full();
      return;
    }
    incremental_->durationsChanged({donor, critical});
  }

 private:
  TNetworkModel& m_;
  const WorkCells& works_;
  DonorCandidates& candidates_;
  bool done_ = false;
  std::optional<IncrementalTimes> incremental_;
};

// The critical work at position c as the model holds it now, or nullptr when the
// critical path has become shorter than c.
TWorkCell* criticalWorkAt(TNetworkModel& m, int c) {
  if (c > m.CritWorkCount) return nullptr;
  const TCritWork& work = m.CritWorks[c];
  return &m.cell(work.I, work.J);
}

bool isCandidate(TNetworkModel& m, int c, int i, int j) {
  const TWorkCell* critical = criticalWorkAt(m, c);
  if (critical == nullptr) return false;
  const TWorkCell& cell = m.cell(i, j);
  if (cell.Id == 0 || cell.Id != critical->Id) return false;
  const Extended reserveGap = std::fabs(m.Events[i].Reserve - m.Events[j].Reserve);
  if (cell.Duration + reserveGap == 0) return false;
  return cell.TotalFloat != 0;
}

std::int32_t toWorkers(Extended m) {
  const Extended rounded = std::nearbyint(m);  // halfway to even; m is whole anyway
  if (!(std::fabs(rounded) <= std::numeric_limits<std::int32_t>::max())) {
    throw CommandError(kFloatInvalid);
  }
  return static_cast<std::int32_t>(rounded);
}

// Integer arithmetic wraps at 32 bits, as the counts of workers always have.
std::int32_t wrapping(std::int64_t value) { return static_cast<std::int32_t>(value); }

// Once the model holds the computation of its current matrix, the recomputation before a
// donor yields exactly what the model holds, and is skipped.
void processDonor(TNetworkModel& m, Recomputation& times, int c, int k, int i, int j,
                  OptimisationObserver* observer) {
  if (!times.done()) times.full();
  TWorkCell& donor = m.cell(i, j);
  const Extended reserveI = m.Events[i].Reserve;
  const Extended reserveJ = m.Events[j].Reserve;

  Extended stretch = 0;
  if (donor.FreeFloat != 0) stretch = donor.FreeFloat;
  if (donor.FreeFloat == 0 && donor.TotalFloat != 0) stretch = donor.TotalFloat;
  if (donor.FreeFloat == 0 && reserveI != reserveJ) stretch = std::fabs(reserveI - reserveJ);

  const StoredReal volume = donor.Duration * donor.Workers;
  TWorkCell* critical = criticalWorkAt(m, c);
  if (critical == nullptr) return;
  const StoredReal criticalVolume = critical->Duration * critical->Workers;
  if (volume <= 0 || stretch <= 0 || criticalVolume <= 0) return;

  const StoredReal quotient = checkedDivide(volume, stretch + donor.Duration);
  const StoredReal newWorkers = RoundUp(quotient);
  const std::int32_t m32 = toWorkers(newWorkers);
  const std::int32_t freed = wrapping(std::int64_t{donor.Workers} - m32);
  if (freed < 0) return;

  OptimisationMove move;
  move.position = c;
  move.critical = m.CritWorks[c];
  move.id = critical->Id;
  move.donor = TCritWork{i, j};
  move.stretch = stretch;
  move.volume = volume;
  move.newWorkers = m32;
  move.freedWorkers = freed;
  move.donorDurationBefore = donor.Duration;
  move.donorWorkersBefore = donor.Workers;
  move.criticalDurationBefore = critical->Duration;
  move.criticalWorkersBefore = critical->Workers;

  donor.Duration = checkedDivide(volume, newWorkers);
  donor.Workers = m32;

  critical->Workers = wrapping(std::int64_t{critical->Workers} + freed);
  const StoredReal criticalQuotient = checkedDivide(criticalVolume, critical->Workers);
  critical->Duration = RoundUp(criticalQuotient);

  move.donorDurationAfter = donor.Duration;
  move.donorWorkersAfter = donor.Workers;
  move.criticalDurationAfter = critical->Duration;
  move.criticalWorkersAfter = critical->Workers;
  times.afterMove(k, move.critical.I, move.critical.J);
  move.lengthAfter = m.CritPathLength;
  if (observer != nullptr) observer->donorProcessed(move);
}

}  // namespace

Extended RoundUp(Extended x) {
  const Extended whole = std::trunc(x);
  return x - whole != 0 ? whole + 1 : x;
}

void OptimiseLabour(TNetworkModel& m, OptimisationObserver* observer) {
  // Only durations and workers change from here on: the works stay in their cells.
  const WorkCells works(m);
  // A cell is a candidate only with the identifier of the critical work and a total
  // float other than 0: the scan visits those works alone, in matrix order.
  DonorCandidates candidates(works);
  // The command clears Events before the optimisation, so the first donor recomputes.
  Recomputation times(m, works, candidates);
  const int positions = m.CritWorkCount;
  for (int c = 1; c <= positions; ++c) {
    if (observer != nullptr) observer->positionReached(c, positions);
    int next = 0;  // the scan position to test next
    for (;;) {
      // The critical work at c is read afresh: each move may have changed the path.
      const TWorkCell* critical = criticalWorkAt(m, c);
      if (critical == nullptr) break;
      const int k = candidates.next(critical->Id, next);
      if (k < 0) break;
      const WorkCells::Cell& cell = works.inScanOrder(k);
      if (isCandidate(m, c, cell.I, cell.J)) processDonor(m, times, c, k, cell.I, cell.J, observer);
      next = k + 1;
    }
  }
}

}  // namespace velko
