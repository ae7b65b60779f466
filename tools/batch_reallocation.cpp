#include "tools/batch_reallocation.h"

namespace velko {

std::string reallocationCsv(const ReallocationResult& result) {
  std::string csv = "I,J,t,n,Id,t_new,n_new\r\n";
  for (const ReallocatedWork& w : result.works) {
    csv += std::to_string(w.I) + ',' + std::to_string(w.J) + ',' + w.durationText + ',' + std::to_string(w.workers) +
           ',' + std::to_string(w.id) + ',' + w.newDurationText + ',' + std::to_string(w.newWorkers) + "\r\n";
  }
  return csv;
}

std::string reallocationSummary(const ReallocationResult& result) {
  return "Перераспределение: длина " + result.lengthBeforeText + " -> " + result.lengthAfterText + " (одним проходом: " +
         result.lengthOnePassText + "), нижняя граница " + result.lowerBoundText +
         (result.proven ? ", минимум доказан" : ", минимум не доказан");
}

ReallocationResult reallocateRun(const TNetworkModel& model) { return reallocateWorkers(reallocationInput(model)); }

}  // namespace velko
