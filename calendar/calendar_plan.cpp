#include "calendar/calendar_plan.h"

#include <algorithm>

#include "calendar/working_days.h"
#include "model/command_error.h"
#include "model/schedule_figures.h"
#include "results/cell_format.h"

namespace velko {

namespace {

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string russianDate(Date date) {
  const std::string iso = isoDate(date);
  return iso.substr(8, 2) + "." + iso.substr(5, 2) + "." + iso.substr(0, 4);
}

}  // namespace

std::string planNumber(Extended value) {
  std::string text = fixedText(value, 6);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

CalendarPlan calendarPlan(const TNetworkModel& model, int variant, const ProductionCalendar& production,
                          const std::map<std::pair<int, int>, Extended>* smoothedStarts) {
  if (!model.Extras.startDate) throw CommandError(kPlanNeedsStartDate);
  if (variant == 0) variant = model.Optimised == 1 ? 2 : 1;
  if (variant == 2 && model.Optimised != 1) throw CommandError("Оптимизация не выполнялась");
  CalendarPlan plan;
  plan.variant = variant;
  plan.reallocated = model.Reallocated;
  plan.smoothed = smoothedStarts != nullptr;
  plan.startDate = *model.Extras.startDate;
  const WorkingDays calendar(plan.startDate, model.Extras.calendar, production);
  for (const WorkTiming& w : workTimings(model, variant)) {
    PlanRow row;
    if (const auto name = model.Extras.names.find({w.I, w.J}); name != model.Extras.names.end()) row.name = name->second;
    row.I = w.I;
    row.J = w.J;
    row.id = w.id;
    row.workers = w.workers;
    row.duration = w.duration;
    row.start = w.earlyStart;
    row.totalFloat = w.totalFloat;
    if (smoothedStarts) {
      if (const auto moved = smoothedStarts->find({w.I, w.J}); moved != smoothedStarts->end()) {
        row.totalFloat = std::max<Extended>(0, w.totalFloat - (moved->second - w.earlyStart));
        row.start = moved->second;
      }
    }
    row.begin = calendar.beginOf(static_cast<double>(row.start));
    row.finish = calendar.finishOf(static_cast<double>(row.start), static_cast<double>(row.duration));
    plan.rows.push_back(std::move(row));
  }
  return plan;
}

const std::vector<std::string>& calendarPlanHeadings() {
  static const std::vector<std::string> headings = {"Наименование", "I",      "J",         "Профессия",   "Рабочих",
                                                    "Длительность, дн", "Начало", "Окончание", "Общий резерв, дн"};
  return headings;
}

std::vector<std::string> calendarPlanCells(const PlanRow& row) {
  auto comma = [](std::string text) {
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
  };
  return {row.name,
          std::to_string(row.I),
          std::to_string(row.J),
          std::to_string(row.id),
          std::to_string(row.workers),
          comma(planNumber(row.duration)),
          russianDate(row.begin),
          russianDate(row.finish),
          comma(planNumber(row.totalFloat))};
}

std::string calendarPlanCsv(const CalendarPlan& plan) {
  std::string csv = "\xEF\xBB\xBF";
  const auto& headings = calendarPlanHeadings();
  for (std::size_t k = 0; k < headings.size(); ++k) csv += (k ? "," : "") + csvField(headings[k]);
  csv += "\r\n";
  for (const PlanRow& row : plan.rows) {
    csv += csvField(row.name) + ',' + std::to_string(row.I) + ',' + std::to_string(row.J) + ',' + std::to_string(row.id) +
           ',' + std::to_string(row.workers) + ',' + planNumber(row.duration) + ',' + isoDate(row.begin) + ',' +
           isoDate(row.finish) + ',' + planNumber(row.totalFloat) + "\r\n";
  }
  return csv;
}

}  // namespace velko
