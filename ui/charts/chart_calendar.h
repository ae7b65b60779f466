#pragma once

#include <optional>

#include <QString>

#include "calendar/working_days.h"
#include "model/network_model.h"

namespace velko {

// The data set's calendar for what the window shows in dates, or nothing when the data
// set has no start date. A calendar that cannot be made (a production-calendar year the
// program has no data for) gives nothing too, and its message in `problem`: the pictures
// then stay in days rather than fail.
std::optional<WorkingDays> chartCalendar(const TNetworkModel& model, QString* problem = nullptr);

// "dd.MM.yyyy", as dates are shown on screen.
QString screenDate(Date date);

}  // namespace velko
