#pragma once

#include <string>

#include "model/network_model.h"
#include "reallocation/reallocation.h"

namespace velko {

// velko-batch --reallocate FILE.csv: the reallocation of the run's workers, its answer
// as CSV and the line the tool prints after the results.

// The header I,J,t,n,Id,t_new,n_new and one line per work in the order of the results
// file; UTF-8, decimal point, CR LF lines.
std::string reallocationCsv(const ReallocationResult& result);

// "Перераспределение: длина L0 -> L1 (одним проходом: L2), нижняя граница B, минимум
// доказан" (or "не доказан").
std::string reallocationSummary(const ReallocationResult& result);

// Reallocates the run's workers with the default time limit.
ReallocationResult reallocateRun(const TNetworkModel& model);

}  // namespace velko
