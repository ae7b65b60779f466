#include "calendar/working_days.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "model/command_error.h"

namespace velko {

namespace {

using std::chrono::days;

constexpr double kWholeTolerance = 1e-9;
// Far enough for any schedule and safely inside a long long and the year 9999.
constexpr double kMaxDayNumber = 3e6;

Date firstOf(int year) { return Date(std::chrono::year(year) / 1 / 1); }
int weekBit(Date date) { return static_cast<int>(std::chrono::weekday(date).iso_encoding()) - 1; }

[[noreturn]] void tooFar() {
  throw CommandError("Дата позже " + std::to_string(kLastCalendarYear) + " года: сроки работ слишком велики для календаря");
}

}  // namespace

WorkingDays::WorkingDays(Date start, const WorkingCalendar& calendar, const ProductionCalendar& production)
    : start_(start), kind_(calendar.kind), production_(production) {
  const int startYear = yearOf(start);
  if (startYear < kFirstCalendarYear || startYear > kLastCalendarYear)
    throw CommandError("Дата начала должна быть между " + std::to_string(kFirstCalendarYear) + " и " +
                       std::to_string(kLastCalendarYear) + " годами");
  if (kind_ == WorkingCalendar::Kind::Production) {
    if (!production_.hasYear(startYear)) throw CommandError(production_.missingYearMessage(startYear));
    int year = startYear;
    while (production_.hasYear(year + 1)) ++year;
    periodicFrom_ = year < kLastCalendarYear ? firstOf(year + 1) : Date(std::chrono::year(kLastCalendarYear) / 12 / 31);
    for (Date day = start; day < periodicFrom_; day += days(1))
      if (production_.isWorking(day)) known_.push_back(day);
    return;
  }
  weekMask_ = kind_ == WorkingCalendar::Kind::EveryDay ? 0x7F : calendar.weekMask & 0x7F;
  if (kind_ == WorkingCalendar::Kind::Own) {
    daysOff_.insert(calendar.daysOff.begin(), calendar.daysOff.end());
    workingDays_.insert(calendar.workingDays.begin(), calendar.workingDays.end());
  }
  perWeek_ = std::popcount(static_cast<unsigned>(weekMask_));
  // Past the last listed date the week alone decides; before it the days are listed one by one.
  periodicFrom_ = start;
  for (const auto* list : {&daysOff_, &workingDays_})
    if (!list->empty() && *list->rbegin() >= periodicFrom_) periodicFrom_ = *list->rbegin() + days(1);
  if (yearOf(periodicFrom_) > kLastCalendarYear) tooFar();
  for (Date day = start; day < periodicFrom_; day += days(1))
    if (ownWorking(day)) known_.push_back(day);
  if (perWeek_ == 0 && known_.empty())
    throw CommandError("В календаре нет ни одного рабочего дня после даты начала: отметьте рабочие дни недели "
                       "или рабочие даты");
}

bool WorkingDays::ownWorking(Date date) const {
  if (daysOff_.count(date)) return false;
  if (workingDays_.count(date)) return true;
  return (weekMask_ >> weekBit(date)) & 1;
}

bool WorkingDays::isWorking(Date date) const {
  if (kind_ == WorkingCalendar::Kind::Production) return production_.isWorking(date);
  return ownWorking(date);
}

void WorkingDays::beyondData(Date date) const {
  if (yearOf(date) >= kLastCalendarYear) tooFar();
  throw CommandError(production_.missingYearMessage(yearOf(date)));
}

Date WorkingDays::dateOfDay(long long day) const {
  if (day < 0) day = 0;
  if (static_cast<unsigned long long>(day) < known_.size()) return known_[static_cast<std::size_t>(day)];
  if (kind_ == WorkingCalendar::Kind::Production) beyondData(periodicFrom_);
  if (perWeek_ == 0)
    throw CommandError("В календаре только " + std::to_string(known_.size()) +
                       " рабочих дней после даты начала, а работам нужно больше: отметьте рабочие дни недели");
  const long long past = day - static_cast<long long>(known_.size());
  const long long weeks = past / perWeek_;
  long long rest = past % perWeek_;
  if (weeks > kMaxDayNumber) tooFar();
  Date date = periodicFrom_ + days(7 * weeks);
  for (;; date += days(1)) {
    if (!((weekMask_ >> weekBit(date)) & 1)) continue;
    if (rest == 0) break;
    --rest;
  }
  if (yearOf(date) > kLastCalendarYear) tooFar();
  return date;
}

long long WorkingDays::dayOfDate(Date date) const {
  if (date <= start_) return 0;
  if (date < periodicFrom_)
    return std::lower_bound(known_.begin(), known_.end(), date) - known_.begin();
  const long long before = static_cast<long long>(known_.size());
  if (date == periodicFrom_) return before;
  if (kind_ == WorkingCalendar::Kind::Production) beyondData(date);
  const long long span = (date - periodicFrom_).count();
  long long count = before + span / 7 * perWeek_;
  for (Date day = periodicFrom_ + days(span / 7 * 7); day < date; day += days(1)) count += (weekMask_ >> weekBit(day)) & 1;
  return count;
}

Date WorkingDays::beginOf(double start) const {
  if (!(start < kMaxDayNumber)) tooFar();
  return dateOfDay(static_cast<long long>(std::floor(std::max(start, 0.0) + kWholeTolerance)));
}

Date WorkingDays::finishOf(double start, double duration) const {
  if (!(duration > kWholeTolerance)) return beginOf(start);
  const double end = std::max(start, 0.0) + duration;
  if (!(end < kMaxDayNumber)) tooFar();
  const long long last = static_cast<long long>(std::ceil(end - kWholeTolerance)) - 1;
  return dateOfDay(std::max(last, static_cast<long long>(std::floor(std::max(start, 0.0) + kWholeTolerance))));
}

std::vector<Date> WorkingDays::workingDaysIn(Date from, Date to) const {
  std::vector<Date> list;
  if (to < from) return list;
  if ((to - from).count() >= kMaxRangeDays)
    throw CommandError("Слишком длинный промежуток дат: больше " + std::to_string(kMaxRangeDays) + " дней");
  for (Date day = from; day <= to; day += days(1))
    if (isWorking(day)) list.push_back(day);
  return list;
}

std::optional<WorkingDays> dataSetCalendar(const DataSetExtras& extras) {
  if (!extras.startDate) return std::nullopt;
  return WorkingDays(*extras.startDate, extras.calendar, ProductionCalendar::withUserYears(userCalendarFolder()));
}

}  // namespace velko
