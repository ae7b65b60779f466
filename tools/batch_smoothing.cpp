#include "tools/batch_smoothing.h"

#include "data/file_io.h"

namespace velko {

std::string smoothingCsv(const LevellingResult& result) {
  std::string csv = "I,J,t,n,Id,ES,LS,S\r\n";
  for (const LevelledWork& w : result.works) {
    csv += std::to_string(w.I) + ',' + std::to_string(w.J) + ',' + w.durationText + ',' + std::to_string(w.workers) +
           ',' + std::to_string(w.id) + ',' + w.earlyStartText + ',' + w.lateStartText + ',' + w.startText + "\r\n";
  }
  return csv;
}

std::string smoothingSummary(const LevellingResult& result) {
  return "Выравнивание: пик " + std::to_string(result.peakBefore) + " -> " + std::to_string(result.peakAfter) +
         ", нижняя граница " + std::to_string(result.lowerBound) +
         (result.proven ? ", минимум доказан" : ", минимум не доказан");
}

LevellingResult writeSmoothing(const TNetworkModel& model, const std::string& csvPath) {
  LevellingResult result = levelWorkers(levellingInput(model));
  writeFileSafely(csvPath, smoothingCsv(result));
  return result;
}

}  // namespace velko
