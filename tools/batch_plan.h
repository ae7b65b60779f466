#pragma once

#include <string>

#include "calendar/calendar_plan.h"

namespace velko {

class SafeFileSet;

// velko-batch --plan FILE.csv: the plan of the run's last variant, with the production
// calendar and the user's years from the user's calendar folder.
CalendarPlan batchPlan(const TNetworkModel& model, const std::map<std::pair<int, int>, Extended>* smoothedStarts);
void addPlanCsv(SafeFileSet& outputs, const std::string& path, const CalendarPlan& plan);

}  // namespace velko
