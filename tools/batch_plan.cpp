#include "tools/batch_plan.h"

#include "data/file_io.h"

namespace velko {

CalendarPlan batchPlan(const TNetworkModel& model, const std::map<std::pair<int, int>, Extended>* smoothedStarts) {
  if (!model.Extras.startDate) throw CommandError(kPlanNeedsStartDate);
  return calendarPlan(model, 0, ProductionCalendar::withUserYears(userCalendarFolder()), smoothedStarts);
}

void addPlanCsv(SafeFileSet& outputs, const std::string& path, const CalendarPlan& plan) {
  outputs.add(path, calendarPlanCsv(plan));
}

}  // namespace velko
