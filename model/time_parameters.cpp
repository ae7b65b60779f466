#include "model/time_parameters.h"

#include "model/command_error.h"

namespace velko {

namespace {

constexpr Extended kNoSuccessorLate = 10000;

bool holdsWork(const TWorkCell& cell) { return cell.Id != 0; }

void computeEarlyTimes(TNetworkModel& m, const WorkCells& works) {
  m.Events[1].Early = 0;
  if (m.EventCount < 2) return;
  for (int j = 2; j <= m.EventCount; ++j) {
    Extended best = 0;
    // Start events ascending; the diagonal cell (j, j) is read too, with Early(j) still 0.
    for (int k = works.columnStart(j); k < works.columnStart(j + 1); ++k) {
      const int i = works.inColumnOrder(k).I;
      const Extended sum = m.Events[i].Early + m.cell(i, j).Duration;
      if (sum > best) best = sum;
    }
    m.Events[j].Early = best;
  }
}

void computeLateTimes(TNetworkModel& m, const WorkCells& works) {
  m.Events[m.EventCount].Late = m.Events[m.EventCount].Early;
  for (int i = m.EventCount - 1; i >= 1; --i) {
    Extended best = kNoSuccessorLate;
    for (int k = works.rowStart(i); k < works.rowStart(i + 1); ++k) {
      const int j = works.inScanOrder(k).J;
      if (j == i) continue;  // the diagonal is no outgoing work
      const Extended difference = m.Events[j].Late - m.cell(i, j).Duration;
      if (difference <= best) best = difference;
    }
    m.Events[i].Late = best;
  }
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
    TWorkCell& cell = m.cell(i, j);
    cell.TotalFloat = m.Events[j].Late - m.Events[i].Early - cell.Duration;
    cell.FreeFloat = m.Events[j].Early - m.Events[i].Early - cell.Duration;
    if (cell.TotalFloat != 0) continue;
    // The work is offered to the chain and kept only if it starts where the chain ends.
    const int previous = m.CritWorkCount;
    if (previous >= 1 && i != m.CritWorks[previous].J) {
      if (previous < kMaxCritWorks) m.CritWorks[previous + 1] = TCritWork{};
      continue;
    }
    if (previous >= kMaxCritWorks) throw CommandError("Критический путь длиннее 50 работ");
    ++m.CritWorkCount;
    m.CritWorks[m.CritWorkCount] = TCritWork{i, j};
  }
}

}  // namespace

WorkCells::WorkCells(const TNetworkModel& m) : eventCount_(m.EventCount) {
  // Counting sort by end event gives the column order from the scan order.
  std::array<int, kMaxEvents + 2> perColumn{};
  for (int i = 1; i <= m.EventCount; ++i) {
    rowStart_[static_cast<std::size_t>(i)] = count_;
    for (int j = i; j <= m.EventCount; ++j) {
      if (!holdsWork(m.cell(i, j))) continue;  // the cell access refuses an EventCount past the table
      byRow_[static_cast<std::size_t>(count_++)] = Cell{static_cast<std::int8_t>(i), static_cast<std::int8_t>(j)};
      ++perColumn[static_cast<std::size_t>(j)];
    }
  }
  const int last = eventCount_ < 0 ? 0 : eventCount_;
  rowStart_[static_cast<std::size_t>(last + 1)] = count_;
  for (int j = 1; j <= last; ++j) {
    columnStart_[static_cast<std::size_t>(j + 1)] =
        columnStart_[static_cast<std::size_t>(j)] + perColumn[static_cast<std::size_t>(j)];
  }
  std::array<int, kMaxEvents + 2> next = columnStart_;
  for (int k = 0; k < count_; ++k) {
    const Cell cell = byRow_[static_cast<std::size_t>(k)];
    byColumn_[static_cast<std::size_t>(next[static_cast<std::size_t>(cell.J)]++)] = cell;
  }
}

void ComputeTimeParameters(TNetworkModel& m) { ComputeTimeParameters(m, WorkCells(m)); }

void ComputeTimeParameters(TNetworkModel& m, const WorkCells& works) {
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
  int k = 1;
  for (int i = 1; i <= m.EventCount; ++i) {
    for (int j = i; j <= m.EventCount; ++j) {
      const TWorkCell& cell = m.cell(i, j);
      if (!holdsWork(cell)) continue;
      v.WorkI[k] = i;
      v.WorkJ[k] = j;
      v.WorkDuration[k] = cell.Duration;
      v.WorkWorkers[k] = cell.Workers;
      v.WorkId[k] = cell.Id;
      ++k;
    }
  }
  for (int e = 1; e <= m.EventCount; ++e) {
    const TEventRec& event = m.Events[e];
    v.EventNumber[e] = event.Number;
    v.EventEarly[e] = event.Early;
    v.EventLate[e] = event.Late;
    v.EventReserve[e] = event.Reserve;
  }
  for (int c = 1; c <= critCount; ++c) {
    const TCritWork& work = m.CritWorks[c];
    const TWorkCell& cell = m.cell(work.I, work.J);
    v.CritI[c] = work.I;
    v.CritJ[c] = work.J;
    v.CritDuration[c] = cell.Duration;
    v.CritWorkers[c] = cell.Workers;
    v.CritId[c] = cell.Id;
  }
  k = 1;
  for (int i = 1; i <= m.EventCount; ++i) {
    for (int j = i; j <= m.EventCount; ++j) {
      const TWorkCell& cell = m.cell(i, j);
      if (!holdsWork(cell)) continue;
      v.FloatI[k] = i;
      v.FloatJ[k] = j;
      v.WorkTotalFloat[k] = cell.TotalFloat;
      v.WorkFreeFloat[k] = cell.FreeFloat;
      ++k;
    }
  }
}

}  // namespace velko
