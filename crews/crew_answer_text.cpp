#include "crews/crew_answer_text.h"

namespace velko {

namespace {

std::string names(const CrewAnswer& answer, const std::vector<int>& works) {
  std::string out;
  for (int w : works) {
    const CrewWorkAnswer& work = answer.works[static_cast<std::size_t>(w)];
    if (!out.empty()) out += ", ";
    out += std::to_string(work.I) + "-" + std::to_string(work.J);
  }
  return out;
}

}  // namespace

std::string crewSummary(const CrewAnswer& answer) {
  return "Ограничение бригад: длина " + answer.lengthText + " -> " + answer.newLengthText + ", нижняя граница " +
         answer.boundText + (answer.proven ? ", минимум доказан" : ", минимум не доказан");
}

std::string crewScheduleCsv(const CrewAnswer& answer) {
  std::string csv = "I,J,t,n,Id,ES,LS,S,F,delay\r\n";
  for (const CrewWorkAnswer& w : answer.works) {
    csv += std::to_string(w.I) + ',' + std::to_string(w.J) + ',' + w.durationText + ',' + std::to_string(w.workers) +
           ',' + std::to_string(w.id) + ',' + w.earlyStartText + ',' + w.lateStartText + ',' + w.startText + ',' +
           w.finishText + ',' + w.delayText + "\r\n";
  }
  return csv;
}

std::string crewDelayReason(const CrewAnswer& answer, std::size_t w) {
  const CrewWorkAnswer& work = answer.works[w];
  std::string out;
  if (!work.waitsForCrew.empty()) {
    out = "ждет бригаду Id " + std::to_string(work.id) + " (работы " + names(answer, work.waitsForCrew) + ")";
  }
  if (!work.waitsForPredecessors.empty()) {
    if (!out.empty()) out += "; ";
    out += "ждет окончания работ " + names(answer, work.waitsForPredecessors);
  }
  return out;
}

}  // namespace velko
