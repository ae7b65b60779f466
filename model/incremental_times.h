#pragma once

#include <functional>
#include <initializer_list>
#include <set>
#include <vector>

#include "model/time_parameters.h"

namespace velko {

// Keeps the time parameters of a computed network current while the durations of
// single works change, recomputing only what a change can reach: the early times after
// the changed works, the late times before them, the reserves of those events and the
// floats of the works that meet them. The critical path is walked again only when a
// work's total float has become 0 or stopped being 0. The model ends exactly as
// ClearComputed and ComputeTimeParameters would leave it.
// Precondition: the model holds the full computation of its current durations over
// `works`, with EventCount >= 2.
class IncrementalTimes {
 public:
  IncrementalTimes(TNetworkModel& model, const WorkCells& works);

  // The scan position of the work (i, j), or -1 when it is not among the works.
  int scanPosition(int i, int j) const;

  // After the durations of the works at these scan positions have changed.
  void durationsChanged(std::initializer_list<int> scanPositions);

  // Told of every work whose total float becomes 0 (true) or stops being 0 (false).
  void onZeroFloatChange(std::function<void(int scanPosition, bool zero)> listener) {
    listener_ = std::move(listener);
  }

 private:
  void updateEarlyTimes(std::initializer_list<int> changed);
  void updateLateTimes(std::initializer_list<int> changed);
  void updateFloats(std::initializer_list<int> changed);
  void touchWork(int k);
  void setZeroFloat(int k, bool zero);
  void walkCriticalPath();

  TNetworkModel& m_;
  const WorkCells& works_;
  std::vector<char> earlyChanged_;  // per event
  std::vector<char> lateChanged_;
  std::vector<int> changedEvents_;
  std::vector<char> queued_;        // per event: waiting in a pass's queue
  std::vector<char> touched_;       // per work, in scan order
  std::vector<int> touchedWorks_;
  std::vector<char> zeroFloat_;     // per work: stored total float exactly 0
  std::vector<int> zeroInRow_;      // per event: its outgoing works with total float 0
  std::set<int> rowsWithZero_;
  bool chainDirty_ = false;
  std::function<void(int, bool)> listener_;
};

}  // namespace velko
