#include "tools/batch_smoothing.h"

#include <charconv>

#include "data/file_io.h"

namespace velko {

namespace {

std::string number(long long value) {
  char text[24];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

}  // namespace

std::string smoothingCsv(const LevellingResult& result, const WorkingDays* calendar) {
  std::string csv = calendar ? "I,J,t,n,Id,ES,LS,S,StartDate,FinishDate\r\n" : "I,J,t,n,Id,ES,LS,S\r\n";
  for (const LevelledWork& w : result.works) {
    csv += number(w.I) + ',' + number(w.J) + ',' + w.durationText + ',' + number(w.workers) + ',' + number(w.id) +
           ',' + w.earlyStartText + ',' + w.lateStartText + ',' + w.startText;
    if (calendar) {
      const double start = static_cast<double>(w.start), duration = static_cast<double>(w.duration);
      csv += ',' + isoDate(calendar->beginOf(start)) + ',' + isoDate(calendar->finishOf(start, duration));
    }
    csv += "\r\n";
  }
  return csv;
}

std::string smoothingSummary(const LevellingResult& result) {
  return "Выравнивание: пик " + number(result.peakBefore) + " -> " + number(result.peakAfter) + ", нижняя граница " +
         number(result.bestBound) + (result.proven ? ", минимум доказан" : ", минимум не доказан");
}

LevellingResult smoothLastVariant(const TNetworkModel& model) { return levelWorkers(levellingInput(model)); }

}  // namespace velko
