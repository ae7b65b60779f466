#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "calendar/production_calendar.h"
#include "model/data_set_extras.h"

namespace velko {

// Day numbers of the schedule turned into dates and back by a working calendar.
//
// The schedule counts working days: day 0 is the first working day on or after the start
// date, day k the k-th working day after it. A work that starts at day s (s may be
// fractional) and lasts t days
//   - begins on the working day with index floor(s);
//   - finishes on the last working day it uses: for t > 0 the working day with index
//     ceil(s + t) - 1; a zero-length work finishes on its start day.
// Values within 1e-9 of a whole number count as that number, so that sums of stored
// times do not step a day.
//
// The calendar kinds (WorkingCalendar): Production uses the ProductionCalendar and
// refuses a date of a year it has no data for, naming the year and how to add it;
// EveryDay makes every day working; Own uses the week mask, its days off and working days
// (a date listed in both is off). A calendar without a working day on or after the start
// is refused. Dates past the year 9999 are refused.
class WorkingDays {
 public:
  // Throws CommandError for a calendar without a working day or, for Production, a start
  // in a year without data.
  WorkingDays(Date start, const WorkingCalendar& calendar, const ProductionCalendar& production);

  Date startDate() const { return start_; }

  // Whether `date` is a working day (any date, also before the start).
  bool isWorking(Date date) const;

  // The working day with the index `day` (>= 0).
  Date dateOfDay(long long day) const;
  // The index of the first working day on or after `date`; 0 for dates before the start.
  long long dayOfDate(Date date) const;

  // The dates a work starting at day `start` and lasting `duration` days begins and ends on.
  Date beginOf(double start) const;
  Date finishOf(double start, double duration) const;

  // The working days from `from` to `to`, both included (at most kMaxRangeDays days).
  std::vector<Date> workingDaysIn(Date from, Date to) const;
  static constexpr long long kMaxRangeDays = 366LL * 200;

 private:
  bool ownWorking(Date date) const;
  [[noreturn]] void beyondData(Date date) const;

  Date start_;
  WorkingCalendar::Kind kind_;
  std::uint8_t weekMask_ = 0;
  std::set<Date> daysOff_, workingDays_;  // Own
  ProductionCalendar production_;  // a copy: a few hundred dates
  // The working days from the start up to (not including) `periodicFrom_`; from there on
  // the week alone decides (Own, EveryDay) or the data ends (Production).
  std::vector<Date> known_;
  Date periodicFrom_;
  int perWeek_ = 0;
};

// The data set's calendar with the user's production-calendar years, or nothing when it
// has no start date. Throws as WorkingDays does.
std::optional<WorkingDays> dataSetCalendar(const DataSetExtras& extras);

}  // namespace velko
