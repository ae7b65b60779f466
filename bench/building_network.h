#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/works_table.h"

namespace velko::bench {

// A generated network of the shape of a building project: chains of works with
// branches and merges, about 0.6 events per work (at most 50,000), every event but the first reached and
// every event but the last left, whole-day durations, a few identifiers (trades) and
// some zero-duration dummies. The same seed gives the same network on every machine.
struct GeneratedWork {
  int I = 0;
  int J = 0;
  int days = 0;
  int workers = 0;
  int id = 0;
};
struct GeneratedNetwork {
  int events = 0;
  std::vector<GeneratedWork> works;
};
GeneratedNetwork buildingNetwork(int works, int identifiers, std::uint64_t seed);

// The data file text of the network (variant 1, CR LF line ends).
std::string dataFileText(const GeneratedNetwork& network);
// The works table of the network, rows in the order of `works`.
WorksTable worksTable(const GeneratedNetwork& network);

}  // namespace velko::bench
