#include "bench/worst_networks.h"

#include <string>

namespace velko::bench {

WorksTable ladderNetwork(int workersPerWork) {
  WorksTable table;
  int row = 0;
  const std::string workers = std::to_string(workersPerWork);
  auto add = [&](int i, int j, const char* t) {
    table.setRow(++row, {std::to_string(i), std::to_string(j), t, workers, "1"});
  };
  for (int i = 1; i < kLadderEvents; ++i) add(i, i + 1, "3");
  for (int i = 1; row < 100 && i + 2 <= kLadderEvents; ++i) add(i, i + 2, "2");
  for (int i = 1; row < 100 && i + 3 <= kLadderEvents; ++i) add(i, i + 3, "4");
  table.setRowCount(row);
  return table;
}

}  // namespace velko::bench
