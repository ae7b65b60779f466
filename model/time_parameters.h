#pragma once

#include <cstdint>
#include <vector>

#include "model/network_model.h"

namespace velko {

// The upper cells that hold a work, listed once in the two orders the passes read them,
// so that a computation visits the works only: the optimisation recomputes after every
// move of a matrix whose works stay where they are. The cells are the matrix's own.
class WorkCells {
 public:
  explicit WorkCells(TNetworkModel& model);

  struct Cell {
    std::int32_t I = 0;
    std::int32_t J = 0;
    TWorkCell* cell = nullptr;
  };

  int eventCount() const { return eventCount_; }
  int count() const { return static_cast<int>(byRow_.size()); }
  // Scan order: start event ascending, then end event ascending.
  const Cell& inScanOrder(int k) const { return byRow_[static_cast<std::size_t>(k)]; }
  // Positions [rowStart(i), rowStart(i + 1)) of the works starting at i in scan order,
  // and in column order those ending at j, start event ascending.
  int rowStart(int i) const { return rowStart_[static_cast<std::size_t>(i)]; }
  int columnStart(int j) const { return columnStart_[static_cast<std::size_t>(j)]; }
  const Cell& inColumnOrder(int k) const { return byColumn_[static_cast<std::size_t>(k)]; }
  // The scan position of the k-th work in column order.
  int scanPositionInColumnOrder(int k) const { return columnToScan_[static_cast<std::size_t>(k)]; }

 private:
  int eventCount_ = 0;
  std::vector<Cell> byRow_;
  std::vector<Cell> byColumn_;
  std::vector<int> columnToScan_;
  std::vector<int> rowStart_;
  std::vector<int> columnStart_;
};

// The per-event and per-work formulas both the full and the incremental computation use.
// The largest Early(i) + t over the works ending at j, at least 0; the diagonal work
// (j, j) reads `ownEarly` as event j's own early time.
Extended latestArrival(const TNetworkModel& model, const WorkCells& works, int j, Extended ownEarly);
// The smallest Late(j) - t over the works leaving i (the diagonal is none), at most the
// starting value 10000.
Extended earliestDeparture(const TNetworkModel& model, const WorkCells& works, int i);
// TotalFloat and FreeFloat of one work from its events' times.
void computeWorkFloats(const TNetworkModel& model, const WorkCells::Cell& work);

// Computes from the upper cells of WorkMatrix (those with Id != 0):
//   Early   forward pass, the largest Early(i) + t over incoming works (0 when none);
//   Late    backward pass from Late(EventCount) = Early(EventCount), the smallest
//           Late(j) - t over outgoing works (10000 when none, a start value, not infinity);
//   Reserve Late - Early of each event;
//   TotalFloat = Late(j) - Early(i) - t and FreeFloat = Early(j) - Early(i) - t per work;
//   the critical path: the chain of works whose stored TotalFloat is exactly 0, begun by
//           the first such work in scan order (i, then j ascending) and extended by each
//           later one that starts where the chain ends;
//   CritPathLength = Early(EventCount).
// Precondition: Events and CritWorks are zero (ClearComputed); the forward pass relies
// on it. Events gets EventCount entries and CritWorks room for the longest chain.
// Throws "Floating point overflow" for a value the format cannot hold.
void ComputeTimeParameters(TNetworkModel& model);
// The same over works listed earlier; the matrix may have changed only in the durations
// and workers of those works, and EventCount not at all.
void ComputeTimeParameters(TNetworkModel& model, const WorkCells& works);

// Copies the current results into VariantResults[variant]: works and floats in scan
// order, events by number, the first `critCount` works of the critical path. The floats
// arrays get at least WorkCount entries, zero past the works found.
void RecordVariant(TNetworkModel& model, int variant, int critCount);

}  // namespace velko
