#pragma once

#include <vector>

#include "model/network_model.h"

namespace velko {

class OptimisationObserver;

// x when x has no fractional part, otherwise its truncation toward zero plus 1
// (the ceiling for x >= 0; -1.5 gives 0).
Extended RoundUp(Extended x);

// The labour optimisation: one pass over the positions of the critical path the model
// holds, moving workers from works with float to the critical work of the same Id.
// A donor keeps its labour volume (t x n) and is stretched over its float R; its new
// worker number is m = RoundUp(V / (R + t)); the d = n - m freed workers join the
// critical work, whose duration becomes RoundUp(Vc / new n). Every change is made in
// the upper cell only and followed by a recomputation of what it reaches, which leaves
// the model exactly as a full one would.
// A donor with no volume or no room to stretch, a critical work with no volume, and a
// donor that would take workers (d < 0) are passed over.
// Precondition: the model holds the floats and critical path of a computation, and
// Events is zero.
void OptimiseLabour(TNetworkModel& model, OptimisationObserver* observer = nullptr);

// One donor the optimisation processed: who gave, who took, and the figures of the move.
struct OptimisationMove {
  int position = 0;          // position of the critical work on the path
  TCritWork critical;        // the critical work that took the workers
  std::int32_t id = 0;       // their common identifier
  TCritWork donor;
  Extended stretch = 0;      // R
  StoredReal volume;         // V = t x n of the donor
  std::int32_t newWorkers = 0;    // m
  std::int32_t freedWorkers = 0;  // d
  StoredReal donorDurationBefore, donorDurationAfter;
  std::int32_t donorWorkersBefore = 0, donorWorkersAfter = 0;
  StoredReal criticalDurationBefore, criticalDurationAfter;
  std::int32_t criticalWorkersBefore = 0, criticalWorkersAfter = 0;
  StoredReal lengthAfter;    // critical path length after the recomputation
};

// Told of every processed donor, after the recomputation that follows it, and of each
// position of the critical path as the pass reaches it. The optimisation runs the same
// with or without one; an observer may stop it by throwing from either call.
class OptimisationObserver {
 public:
  virtual ~OptimisationObserver() = default;
  virtual void donorProcessed(const OptimisationMove& move) = 0;
  virtual void positionReached(int /*position*/, int /*positions*/) {}
};

// Keeps every move the optimisation reports, in order.
class OptimisationLogRecorder : public OptimisationObserver {
 public:
  void donorProcessed(const OptimisationMove& move) override { moves.push_back(move); }
  std::vector<OptimisationMove> moves;
};

}  // namespace velko
