#pragma once

#include <string>

#include "calendar/working_days.h"

#include "levelling/levelling.h"
#include "model/network_model.h"

namespace velko {

// velko-batch --smooth FILE.csv: the smoothing of the run's last variant, its schedule
// as CSV and the line the tool prints after the results.

// The header I,J,t,n,Id,ES,LS,S and one line per work in the order of the results
// file; UTF-8, decimal point, CR LF lines. With a calendar (the data set has a start
// date) two more columns, StartDate and FinishDate, the dates of the smoothed start and
// of the finish (ISO 8601).
std::string smoothingCsv(const LevellingResult& result, const WorkingDays* calendar = nullptr);

// "Выравнивание: пик P0 -> P1, нижняя граница B, минимум доказан" (or "не доказан").
std::string smoothingSummary(const LevellingResult& result);

// Smooths the run's last variant with the default time limit.
LevellingResult smoothLastVariant(const TNetworkModel& model);

}  // namespace velko
