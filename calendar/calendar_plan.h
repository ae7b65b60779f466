#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calendar/production_calendar.h"
#include "model/network_model.h"

namespace velko {

// "Календарный план": the works of one variant with their dates. A plan is a schedule in
// dates, so it needs the data set's start date: without one it is refused
// (kPlanNeedsStartDate) rather than written with blank dates.
struct PlanRow {
  std::string name;  // Extras.names by (I, J); "" when the work has none
  int I = 0;
  int J = 0;
  int id = 0;        // trade
  int workers = 0;
  Extended duration = 0;
  Extended start = 0;       // day number: the early start, or the smoothed start
  Extended totalFloat = 0;  // days; what is left of it after a smoothing shift
  Date begin{};
  Date finish{};
};

struct CalendarPlan {
  int variant = 0;  // 1 before the optimisation, 2 after
  bool reallocated = false;  // of a reallocated copy (its one variant)
  bool smoothed = false;
  Date startDate{};
  std::vector<PlanRow> rows;  // in the order the results file lists the works
};

inline constexpr const char* kPlanNeedsStartDate =
    "Для календарного плана нужна дата начала проекта: задайте её в окне «Календарь проекта»";

// The plan of `variant` (0: the last computed one), every work at its early start or, with
// `smoothedStarts` (day numbers by (I, J)), at its smoothed start. Throws CommandError
// without a start date, for a variant the model does not hold, or for a date the
// calendar cannot give (a production-calendar year without data).
CalendarPlan calendarPlan(const TNetworkModel& model, int variant, const ProductionCalendar& production,
                          const std::map<std::pair<int, int>, Extended>* smoothedStarts = nullptr);

// The plan as CSV: UTF-8 with a byte order mark (so that spreadsheets take it as UTF-8),
// CR LF lines, a decimal point, ISO 8601 dates, names quoted when they need it.
std::string calendarPlanCsv(const CalendarPlan& plan);

// The column headings, shared by the CSV and the printed plan.
const std::vector<std::string>& calendarPlanHeadings();
// The cells of one row as the printed plan shows them (dates dd.MM.yyyy, decimal comma).
std::vector<std::string> calendarPlanCells(const PlanRow& row);

// Numbers as the plan writes them: up to six decimals, no trailing zeros, "." as the point.
std::string planNumber(Extended value);

}  // namespace velko
