#pragma once

#include "data/works_table.h"
#include "exchange/network_from_project.h"
#include "model/network_model.h"

namespace velko {

// Puts a converted network into the model and the works table as opening a data file
// does: the matrix, the counts and the extras are replaced, the table rows rebuilt in
// order of their events. The network must be within the limits (the converter checks).
void installNetwork(const ImportedNetwork& network, TNetworkModel& model, WorksTable& table);

}  // namespace velko
