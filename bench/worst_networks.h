#pragma once

#include "data/works_table.h"

namespace velko::bench {

// The largest network the tables allow (50 events, 100 works), made so that the
// optimisation works as hard as it can: one identifier, the chain 1-2-...-50 (t = 3) is
// the critical path, and every bypass (i, i+2) (t = 2) and (i, i+3) (t = 4) has float.
// With one worker per work no donor ever runs out of workers, so each of the 49
// positions of the path processes each of the 51 bypasses: 2,499 moves, the most a
// legal network can make. With 9 workers per work the donors run dry sooner (543 moves).
WorksTable ladderNetwork(int workersPerWork);

inline constexpr int kLadderEvents = 50;

}  // namespace velko::bench
