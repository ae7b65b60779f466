#pragma once

#include <array>
#include <cstdint>

#include "model/network_model.h"

namespace velko {

// The upper cells that hold a work, listed once in the two orders the passes read them,
// so that a computation visits the works only instead of the whole triangle: the
// optimisation recomputes after every move of a matrix whose works stay where they are.
class WorkCells {
 public:
  explicit WorkCells(const TNetworkModel& model);

  struct Cell {
    std::int8_t I = 0;
    std::int8_t J = 0;
  };
  static constexpr int kCapacity = kMaxEvents * (kMaxEvents + 1) / 2;

  int eventCount() const { return eventCount_; }
  int count() const { return count_; }
  // Scan order: start event ascending, then end event ascending.
  const Cell& inScanOrder(int k) const { return byRow_[static_cast<std::size_t>(k)]; }
  // Positions [rowStart(i), rowStart(i + 1)) of the works starting at i in scan order,
  // and in byColumn order those ending at j, start event ascending.
  int rowStart(int i) const { return rowStart_[static_cast<std::size_t>(i)]; }
  int columnStart(int j) const { return columnStart_[static_cast<std::size_t>(j)]; }
  const Cell& inColumnOrder(int k) const { return byColumn_[static_cast<std::size_t>(k)]; }

 private:
  int eventCount_ = 0;
  int count_ = 0;
  std::array<Cell, kCapacity> byRow_{};
  std::array<Cell, kCapacity> byColumn_{};
  std::array<int, kMaxEvents + 2> rowStart_{};
  std::array<int, kMaxEvents + 2> columnStart_{};
};

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
// on it. Throws "Floating point overflow" for a value the format cannot hold, and
// "Критический путь длиннее 50 работ" should the chain outgrow CritWorks.
void ComputeTimeParameters(TNetworkModel& model);
// The same over works listed earlier; the matrix may have changed only in the durations
// and workers of those works, and EventCount not at all.
void ComputeTimeParameters(TNetworkModel& model, const WorkCells& works);

// Copies the current results into VariantResults[variant]: works and floats in scan
// order, events by number, the first `critCount` works of the critical path.
void RecordVariant(TNetworkModel& model, int variant, int critCount);

}  // namespace velko
