#pragma once

#include "model/network_model.h"

namespace velko {

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

// Copies the current results into VariantResults[variant]: works and floats in scan
// order, events by number, the first `critCount` works of the critical path.
void RecordVariant(TNetworkModel& model, int variant, int critCount);

}  // namespace velko
