#pragma once

#include <initializer_list>
#include <string>

#include "data/works_table.h"
#include "model/load_model.h"
#include "model/network_model.h"

namespace velko::testing {

// One row of the works table as the user types it.
struct Row {
  std::string i, j, t, n, id;
};

// A works table and its count texts, ready to feed the commands.
struct Network {
  std::string events;
  std::string works;
  WorksTable table;

  Network(int eventCount, std::initializer_list<Row> rows) : events(std::to_string(eventCount)) {
    int r = 0;
    for (const Row& row : rows) table.setRow(++r, {row.i, row.j, row.t, row.n, row.id});
    works = std::to_string(r);
    table.setRowCount(r);
  }
  TableInput input() const { return TableInput(events, works, table); }
};

// Loads `network` into `model` and computes it once, as Calculate does before it
// records anything.
void loadAndCompute(TNetworkModel& model, const Network& network);

}  // namespace velko::testing
