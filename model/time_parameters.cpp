#include "model/time_parameters.h"

#include <algorithm>
#include <string>

#include "model/command_error.h"

namespace velko {

namespace {

constexpr Extended kNoSuccessorLate = 10000;

void computeEarlyTimes(TNetworkModel& m, const WorkCells& works) {
  m.Events[1].Early = 0;
  if (m.EventCount < 2) return;
  // The diagonal cell (j, j) reads Early(j) as the table holds it: 0 after ClearComputed.
  for (int j = 2; j <= m.EventCount; ++j) m.Events[j].Early = latestArrival(m, works, j, m.Events[j].Early);
}

void computeLateTimes(TNetworkModel& m, const WorkCells& works) {
  m.Events[m.EventCount].Late = m.Events[m.EventCount].Early;
  for (int i = m.EventCount - 1; i >= 1; --i) m.Events[i].Late = earliestDeparture(m, works, i);
}

void computeReserves(TNetworkModel& m) {
  for (int k = 1; k <= m.EventCount; ++k) {
    m.Events[k].Reserve = m.Events[k].Late - m.Events[k].Early;
    m.Events[k].Number = k;
  }
}

void computeFloatsAndCriticalPath(TNetworkModel& m, const WorkCells& works) {
  m.CritWorkCount = 0;
  for (int k = 0; k < works.count(); ++k) {
    const int i = works.inScanOrder(k).I;
    const int j = works.inScanOrder(k).J;
    computeWorkFloats(m, works.inScanOrder(k));
    if (works.inScanOrder(k).cell->TotalFloat != 0) continue;
    // The work is offered to the chain and kept only if it starts where the chain ends.
    const int previous = m.CritWorkCount;
    if (previous >= 1 && i != m.CritWorks[previous].J) {
      m.CritWorks[previous + 1] = TCritWork{};
      continue;
    }
    ++m.CritWorkCount;
    m.CritWorks[m.CritWorkCount] = TCritWork{i, j};
  }
}

}  // namespace

Extended latestArrival(const TNetworkModel& m, const WorkCells& works, int j, Extended ownEarly) {
  Extended best = 0;
  for (int k = works.columnStart(j); k < works.columnStart(j + 1); ++k) {
    const WorkCells::Cell& work = works.inColumnOrder(k);
    const Extended early = work.I == j ? ownEarly : Extended{m.Events[work.I].Early};
    const Extended sum = early + work.cell->Duration;
    if (sum > best) best = sum;
  }
  return best;
}

Extended earliestDeparture(const TNetworkModel& m, const WorkCells& works, int i) {
  Extended best = kNoSuccessorLate;
  for (int k = works.rowStart(i); k < works.rowStart(i + 1); ++k) {
    const WorkCells::Cell& work = works.inScanOrder(k);
    if (work.J == i) continue;  // the diagonal is no outgoing work
    const Extended difference = m.Events[work.J].Late - work.cell->Duration;
    if (difference <= best) best = difference;
  }
  return best;
}

void computeWorkFloats(const TNetworkModel& m, const WorkCells::Cell& work) {
  TWorkCell& cell = *work.cell;
  cell.TotalFloat = m.Events[work.J].Late - m.Events[work.I].Early - cell.Duration;
  cell.FreeFloat = m.Events[work.J].Early - m.Events[work.I].Early - cell.Duration;
}

WorkCells::WorkCells(TNetworkModel& m) : eventCount_(m.EventCount) {
  if (eventCount_ > kMaxEvents) {
    throw CommandError(tooManyEvents(eventCount_));
  }
  const int last = eventCount_ < 0 ? 0 : eventCount_;
  const std::vector<TWorkMatrix::Placed<TWorkCell>> upper = m.WorkMatrix.upperWorks(last);
  byRow_.reserve(upper.size());
  rowStart_.assign(static_cast<std::size_t>(last) + 2, 0);
  columnStart_.assign(static_cast<std::size_t>(last) + 2, 0);
  // Counting sorts by start and by end event give both orders from the scan order.
  std::vector<int> perColumn(static_cast<std::size_t>(last) + 2, 0);
  for (const auto& work : upper) {
    byRow_.push_back(Cell{work.I, work.J, work.cell});
    ++rowStart_[static_cast<std::size_t>(work.I) + 1];
    ++perColumn[static_cast<std::size_t>(work.J)];
  }
  for (int i = 1; i <= last + 1; ++i) {
    rowStart_[static_cast<std::size_t>(i)] += rowStart_[static_cast<std::size_t>(i) - 1];
  }
  for (int j = 1; j <= last; ++j) {
    columnStart_[static_cast<std::size_t>(j) + 1] =
        columnStart_[static_cast<std::size_t>(j)] + perColumn[static_cast<std::size_t>(j)];
  }
  byColumn_.resize(byRow_.size());
  columnToScan_.resize(byRow_.size());
  std::vector<int> next = columnStart_;
  for (int k = 0; k < count(); ++k) {
    const Cell& cell = byRow_[static_cast<std::size_t>(k)];
    const int place = next[static_cast<std::size_t>(cell.J)]++;
    byColumn_[static_cast<std::size_t>(place)] = cell;
    columnToScan_[static_cast<std::size_t>(place)] = k;
  }
}

namespace {

void prepareComputedTables(TNetworkModel& m) {
  // Event 1 is always written, even in a network of no events.
  const int events = std::max(m.EventCount, 1);
  if (m.Events.size() != events) m.Events.resize(events);
  // The longest chain: every event, each with a work to the next and a diagonal work,
  // and the entry after the chain that a refused offer clears.
  const int chain = 2 * events + 1;
  if (m.CritWorks.size() != chain) m.CritWorks.resize(chain);
}

}  // namespace

void ComputeTimeParameters(TNetworkModel& m) { ComputeTimeParameters(m, WorkCells(m)); }

void ComputeTimeParameters(TNetworkModel& m, const WorkCells& works) {
  prepareComputedTables(m);
  computeEarlyTimes(m, works);
  if (m.EventCount < 1) {
    m.CritPathLength = 0;
    m.CritWorkCount = 0;
    return;
  }
  computeLateTimes(m, works);
  m.CritPathLength = m.Events[m.EventCount].Early;
  computeReserves(m);
  computeFloatsAndCriticalPath(m, works);
}

}  // namespace velko

namespace velko {

void RecordVariant(TNetworkModel& m, int variant, int critCount) {
  TVariantResult& v = m.VariantResults[variant];
  m.RunWorkCount = m.WorkCount;
  m.RunEventCount = m.EventCount;
  const WorkCells works(m);
  const int found = works.count();
  v.WorkEntries = found;
  // Rows of the works count that found no work (a pair repeated) read as zero.
  const int floats = std::max(found, m.WorkCount);
  for (auto* table : {&v.WorkWorkers, &v.WorkId, &v.WorkI, &v.WorkJ}) table->reset(floats);
  v.WorkDuration.reset(floats);
  v.FloatI.reset(floats);
  v.FloatJ.reset(floats);
  v.WorkTotalFloat.reset(floats);
  v.WorkFreeFloat.reset(floats);
  for (int k = 1; k <= found; ++k) {
    const WorkCells::Cell& work = works.inScanOrder(k - 1);
    const TWorkCell& cell = *work.cell;
    v.WorkI[k] = work.I;
    v.WorkJ[k] = work.J;
    v.WorkDuration[k] = cell.Duration;
    v.WorkWorkers[k] = cell.Workers;
    v.WorkId[k] = cell.Id;
    v.FloatI[k] = work.I;
    v.FloatJ[k] = work.J;
    v.WorkTotalFloat[k] = cell.TotalFloat;
    v.WorkFreeFloat[k] = cell.FreeFloat;
  }
  const int events = std::max(m.EventCount, 0);
  for (auto* table : {&v.EventNumber}) table->reset(events);
  for (auto* table : {&v.EventEarly, &v.EventLate, &v.EventReserve}) table->reset(events);
  for (int e = 1; e <= events; ++e) {
    const TEventRec& event = m.Events[e];
    v.EventNumber[e] = event.Number;
    v.EventEarly[e] = event.Early;
    v.EventLate[e] = event.Late;
    v.EventReserve[e] = event.Reserve;
  }
  const int critical = std::max(critCount, 0);
  for (auto* table : {&v.CritI, &v.CritJ, &v.CritWorkers, &v.CritId}) table->reset(critical);
  v.CritDuration.reset(critical);
  for (int c = 1; c <= critical; ++c) {
    const TCritWork& work = m.CritWorks[c];
    const TWorkCell& cell = m.cell(work.I, work.J);
    v.CritI[c] = work.I;
    v.CritJ[c] = work.J;
    v.CritDuration[c] = cell.Duration;
    v.CritWorkers[c] = cell.Workers;
    v.CritId[c] = cell.Id;
  }
}

}  // namespace velko
