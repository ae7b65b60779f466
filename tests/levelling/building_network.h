#pragma once

#include "levelling/levelling.h"

namespace velko::testing {

// A network shaped like a building project, generated with its early and late times
// (no model, no file: any size): parallel lines of works with branches and merges
// between them, about 0.6 events per work, events numbered so that I < J, durations of
// 1 to 20 days, crews of 1 to 12, 2 to 6 Ids and some zero-length dummies. An event
// with no successor but the last has Late = 10000 days, as the program sets it, so
// the works into it have float up to the path length. `sevenths` gives durations in
// sevenths of a day, as an optimised variant has them. The same `seed` gives the same
// network.
LevellingInput buildingNetwork(int works, unsigned seed, bool sevenths = false);

}  // namespace velko::testing
