#pragma once

#include "model/network_model.h"

namespace velko {

// x when x has no fractional part, otherwise its truncation toward zero plus 1
// (the ceiling for x >= 0; -1.5 gives 0).
Extended RoundUp(Extended x);

// The labour optimisation: one pass over the positions of the critical path the model
// holds, moving workers from works with float to the critical work of the same Id.
// A donor keeps its labour volume (t x n) and is stretched over its float R; its new
// worker number is m = RoundUp(V / (R + t)); the d = n - m freed workers join the
// critical work, whose duration becomes RoundUp(Vc / new n). Every change is made in
// the upper cell only and followed by a full recomputation.
// A donor with no volume or no room to stretch, a critical work with no volume, and a
// donor that would take workers (d < 0) are passed over.
// Precondition: the model holds the floats and critical path of a computation, and
// Events is zero.
void OptimiseLabour(TNetworkModel& model);

}  // namespace velko
