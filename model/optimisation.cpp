#include "model/optimisation.h"

#include <cmath>
#include <limits>

#include "model/command_error.h"
#include "model/time_parameters.h"

namespace velko {

namespace {

void recompute(TNetworkModel& m, const WorkCells& works) {
  ClearComputed(m);
  ComputeTimeParameters(m, works);
}

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

// `computed` is true once the model holds the computation of its current matrix: the
// recomputation before a donor then yields exactly what the model holds, and is skipped.
void processDonor(TNetworkModel& m, const WorkCells& works, int c, int i, int j, OptimisationObserver* observer,
                  bool& computed) {
  if (!computed) recompute(m, works);
  computed = true;
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
  recompute(m, works);
  move.lengthAfter = m.CritPathLength;
  if (observer != nullptr) observer->donorProcessed(move);
}

}  // namespace

Extended RoundUp(Extended x) {
  const Extended whole = std::trunc(x);
  return x - whole != 0 ? whole + 1 : x;
}

void OptimiseLabour(TNetworkModel& m, OptimisationObserver* observer) {
  // The command clears Events before the optimisation, so the first donor recomputes.
  bool computed = false;
  // Only durations and workers change from here on: the works stay in their cells.
  const WorkCells works(m);
  const int positions = m.CritWorkCount;
  for (int c = 1; c <= positions; ++c) {
    // Cells without a work are never candidates; the rest in matrix order.
    for (int k = 0; k < works.count(); ++k) {
      const int i = works.inScanOrder(k).I;
      const int j = works.inScanOrder(k).J;
      if (isCandidate(m, c, i, j)) processDonor(m, works, c, i, j, observer, computed);
    }
  }
}

}  // namespace velko
