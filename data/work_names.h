#pragma once

#include "data/works_table.h"
#include "model/data_set_extras.h"

namespace velko {

// The names of the works live in the table rows, where the user edits, inserts, deletes
// and pastes them; the data file keeps them by the work's events (DataSetExtras::names).

// Each of rows 1..rows takes the name kept for its events (I, J), or for (J, I), or none.
void namesIntoTable(const DataSetExtras& extras, WorksTable& table, int rows);

// `extras` with its names made from rows 1..rows of the table: the rows whose I and J
// are whole numbers and whose name is not empty; of two named rows of the same events
// the later one's name is kept, as the later row is the work a run takes.
DataSetExtras extrasWithTableNames(const DataSetExtras& extras, const WorksTable& table, int rows);

}  // namespace velko
