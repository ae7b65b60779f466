#include "model/network_model.h"

#include <string>

namespace velko {

void refuseTableIndex(int index, int size) {
  throw CommandError("Обращение за пределы таблицы: индекс " + std::to_string(index) +
                     " вне 1.." + std::to_string(size));
}

void ClearComputed(TNetworkModel& model) {
  model.Events.clear();
  model.CritWorks.clear();
}

void ClearVariants(TNetworkModel& model) {
  model.VariantResults.clear();
  model.RunWorkCount = 0;
  model.RunEventCount = 0;
}

void ClearMatrix(TNetworkModel& model) { model.WorkMatrix.clear(); }

void ClearModel(TNetworkModel& model) {
  ClearMatrix(model);
  ClearComputed(model);
  ClearVariants(model);
}

TNetworkModel& theModel() {
  static TNetworkModel model;
  return model;
}

}  // namespace velko
