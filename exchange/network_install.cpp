#include "exchange/network_install.h"

#include "model/number_text.h"

namespace velko {

void installNetwork(const ImportedNetwork& network, TNetworkModel& model, WorksTable& table) {
  ClearMatrix(model);
  model.WorkMatrix.reserve(2 * network.works.size());
  for (const ImportedWork& work : network.works) {
    for (TWorkCell* cell : {&model.cell(work.I, work.J), &model.cell(work.J, work.I)}) {
      cell->Duration = work.days;
      cell->Workers = work.workers;
      cell->Id = work.id;
    }
  }
  model.EventCount = network.eventCount;
  model.WorkCount = static_cast<int>(network.works.size());
  model.Extras = network.extras;
  int r = 0;
  for (const ImportedWork& work : network.works)  // ordered by I, then J
    table.setRow(++r, {std::to_string(work.I), std::to_string(work.J), shortestRealText(StoredReal(work.days)),
                       std::to_string(work.workers), std::to_string(work.id)});
  table.clearRowsAfter(r);
  table.setRowCount(r);
}

}  // namespace velko
