#pragma once

#include <string>

#include "crews/crew_answer.h"

namespace velko {

// "Ограничение бригад: длина L0 -> L1, нижняя граница B, минимум доказан" (or "не доказан").
std::string crewSummary(const CrewAnswer& answer);

// The header I,J,t,n,Id,ES,LS,S,F,delay and one line per work in the order of the input;
// UTF-8, decimal point, CR LF lines.
std::string crewScheduleCsv(const CrewAnswer& answer);

// Why work `w` starts past its late start: "ждет бригаду Id 2 (работы 1-3, 2-4)",
// "ждет окончания работ 3-5" or both joined by "; "; "" for a work on time.
std::string crewDelayReason(const CrewAnswer& answer, std::size_t w);

}  // namespace velko
