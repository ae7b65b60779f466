#include "model/network_model.h"

#include <algorithm>
#include <string>

namespace velko {

void refuseTableIndex(int index, int size) {
  throw CommandError("Обращение за пределы таблицы: индекс " + std::to_string(index) +
                     " вне 1.." + std::to_string(size));
}

std::string tooManyEvents(std::int32_t events) {
  return "Количество событий " + std::to_string(events) + " больше допустимого (" + std::to_string(kMaxEvents) + ")";
}

std::string tooManyWorks(std::int32_t works) {
  return "Количество работ " + std::to_string(works) + " больше допустимого (" + std::to_string(kMaxWorks) + ")";
}

const TWorkCell& TWorkMatrix::at(int row, int column) const {
  static const TWorkCell empty;
  const auto found = cells_.find(key(row, column));
  return found == cells_.end() ? empty : found->second;
}

template <typename Cell, typename Map>
std::vector<TWorkMatrix::Placed<Cell>> TWorkMatrix::upper(Map& cells, int eventCount) {
  std::vector<Placed<Cell>> works;
  for (auto& [place, cell] : cells) {
    const int row = static_cast<int>(static_cast<std::uint32_t>(place >> 32));
    const int column = static_cast<int>(static_cast<std::uint32_t>(place));
    if (cell.Id == 0 || row < 1 || row > column || column > eventCount) continue;
    works.push_back({row, column, &cell});
  }
  std::sort(works.begin(), works.end(),
            [](const auto& a, const auto& b) { return a.I != b.I ? a.I < b.I : a.J < b.J; });
  return works;
}

std::vector<TWorkMatrix::Placed<TWorkCell>> TWorkMatrix::upperWorks(int eventCount) {
  return upper<TWorkCell>(cells_, eventCount);
}

std::vector<TWorkMatrix::Placed<const TWorkCell>> TWorkMatrix::upperWorks(int eventCount) const {
  return upper<const TWorkCell>(cells_, eventCount);
}

void ClearComputed(TNetworkModel& model) {
  model.Events.clear();
  model.CritWorks.clear();
}

void ClearVariants(TNetworkModel& model) {
  model.VariantResults.reset(2);
  model.RunWorkCount = 0;
  model.RunEventCount = 0;
  model.Reallocated = false;
}

void ClearMatrix(TNetworkModel& model) { model.WorkMatrix.clear(); }

void ClearModel(TNetworkModel& model) {
  ClearMatrix(model);
  ClearComputed(model);
  ClearVariants(model);
  model.Extras = {};
}

TNetworkModel& theModel() {
  static TNetworkModel model;
  return model;
}

}  // namespace velko
