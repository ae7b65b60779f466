#include "model/incremental_times.h"

#include <algorithm>
#include <functional>
#include <queue>

namespace velko {

namespace {

std::size_t at(int k) { return static_cast<std::size_t>(k); }

}  // namespace

IncrementalTimes::IncrementalTimes(TNetworkModel& m, const WorkCells& works)
    : m_(m),
      works_(works),
      earlyChanged_(at(m.EventCount) + 1, 0),
      lateChanged_(at(m.EventCount) + 1, 0),
      queued_(at(m.EventCount) + 1, 0),
      touched_(at(works.count()), 0),
      zeroFloat_(at(works.count()), 0),
      zeroInRow_(at(m.EventCount) + 1, 0) {
  for (int k = 0; k < works.count(); ++k) {
    if (works.inScanOrder(k).cell->TotalFloat == 0) setZeroFloat(k, true);
  }
}

int IncrementalTimes::scanPosition(int i, int j) const {
  if (i < 1 || i > works_.eventCount()) return -1;
  int low = works_.rowStart(i);
  int high = works_.rowStart(i + 1);
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (works_.inScanOrder(mid).J < j) low = mid + 1; else high = mid;
  }
  return low < works_.rowStart(i + 1) && works_.inScanOrder(low).J == j ? low : -1;
}

void IncrementalTimes::setZeroFloat(int k, bool zero) {
  if ((zeroFloat_[at(k)] != 0) == zero) return;
  zeroFloat_[at(k)] = zero ? 1 : 0;
  const int row = works_.inScanOrder(k).I;
  int& count = zeroInRow_[at(row)];
  count += zero ? 1 : -1;
  if (count == 1 && zero) rowsWithZero_.insert(row);
  if (count == 0) rowsWithZero_.erase(row);
  chainDirty_ = true;
  if (listener_) listener_(k, zero);
}

void IncrementalTimes::durationsChanged(std::initializer_list<int> changed) {
  updateEarlyTimes(changed);
  updateLateTimes(changed);
  for (const int e : changedEvents_) {
    TEventRec& event = m_.Events[e];
    event.Reserve = event.Late - event.Early;
  }
  m_.CritPathLength = m_.Events[m_.EventCount].Early;
  updateFloats(changed);
  if (chainDirty_) walkCriticalPath();
  chainDirty_ = false;
  for (const int e : changedEvents_) earlyChanged_[at(e)] = lateChanged_[at(e)] = 0;
  changedEvents_.clear();
}

void IncrementalTimes::updateEarlyTimes(std::initializer_list<int> changed) {
  // Event numbers ascending are a topological order: every work runs to a larger number.
  std::priority_queue<int, std::vector<int>, std::greater<>> pending;
  auto enqueue = [&](int e) {
    if (e < 2 || queued_[at(e)]) return;
    queued_[at(e)] = 1;
    pending.push(e);
  };
  for (const int k : changed) enqueue(works_.inScanOrder(k).J);
  while (!pending.empty()) {
    const int j = pending.top();
    pending.pop();
    queued_[at(j)] = 0;
    // The diagonal work reads the event's own early time as a cleared table holds it.
    const StoredReal early = latestArrival(m_, works_, j, 0);
    if (early.value() == m_.Events[j].Early.value()) continue;
    m_.Events[j].Early = early;
    if (!earlyChanged_[at(j)] && !lateChanged_[at(j)]) changedEvents_.push_back(j);
    earlyChanged_[at(j)] = 1;
    for (int k = works_.rowStart(j); k < works_.rowStart(j + 1); ++k) {
      if (works_.inScanOrder(k).J != j) enqueue(works_.inScanOrder(k).J);
    }
  }
}

void IncrementalTimes::updateLateTimes(std::initializer_list<int> changed) {
  const int last = m_.EventCount;
  std::priority_queue<int> pending;
  auto enqueue = [&](int e) {
    if (e < 1 || queued_[at(e)]) return;
    queued_[at(e)] = 1;
    pending.push(e);
  };
  auto markLate = [&](int e) {
    if (!earlyChanged_[at(e)] && !lateChanged_[at(e)]) changedEvents_.push_back(e);
    lateChanged_[at(e)] = 1;
    for (int k = works_.columnStart(e); k < works_.columnStart(e + 1); ++k) {
      if (works_.inColumnOrder(k).I != e) enqueue(works_.inColumnOrder(k).I);
    }
  };
  if (m_.Events[last].Late.value() != m_.Events[last].Early.value()) {
    m_.Events[last].Late = m_.Events[last].Early;
    markLate(last);
  }
  for (const int k : changed) enqueue(works_.inScanOrder(k).I);
  while (!pending.empty()) {
    const int i = pending.top();
    pending.pop();
    queued_[at(i)] = 0;
    if (i >= last) continue;
    const StoredReal late = earliestDeparture(m_, works_, i);
    if (late.value() == m_.Events[i].Late.value()) continue;
    m_.Events[i].Late = late;
    markLate(i);
  }
}

void IncrementalTimes::touchWork(int k) {
  if (touched_[at(k)]) return;
  touched_[at(k)] = 1;
  touchedWorks_.push_back(k);
}

void IncrementalTimes::updateFloats(std::initializer_list<int> changed) {
  for (const int k : changed) touchWork(k);
  for (const int e : changedEvents_) {
    // Works ending at e read its early and late time; those starting at e its early time.
    for (int k = works_.columnStart(e); k < works_.columnStart(e + 1); ++k) {
      touchWork(works_.scanPositionInColumnOrder(k));
    }
    if (earlyChanged_[at(e)]) {
      for (int k = works_.rowStart(e); k < works_.rowStart(e + 1); ++k) touchWork(k);
    }
  }
  for (const int k : touchedWorks_) {
    computeWorkFloats(m_, works_.inScanOrder(k));
    setZeroFloat(k, works_.inScanOrder(k).cell->TotalFloat == 0);
    touched_[at(k)] = 0;
  }
  touchedWorks_.clear();
}

void IncrementalTimes::walkCriticalPath() {
  // The chain the scan builds: the first work with total float 0 in scan order, then at
  // each end event the first such work that starts there (after the current one, when
  // that is the event's own diagonal work).
  for (int c = 1; c <= std::min(m_.CritWorkCount + 1, m_.CritWorks.size()); ++c) m_.CritWorks[c] = TCritWork{};
  m_.CritWorkCount = 0;
  if (rowsWithZero_.empty()) return;
  int row = *rowsWithZero_.begin();
  int from = works_.rowStart(row);
  while (zeroInRow_[at(row)] > 0) {
    int k = from;
    while (k < works_.rowStart(row + 1) && !zeroFloat_[at(k)]) ++k;
    if (k == works_.rowStart(row + 1)) break;
    const WorkCells::Cell& work = works_.inScanOrder(k);
    ++m_.CritWorkCount;
    m_.CritWorks[m_.CritWorkCount] = TCritWork{work.I, work.J};
    from = work.J == row ? k + 1 : works_.rowStart(work.J);
    row = work.J;
  }
}

}  // namespace velko
