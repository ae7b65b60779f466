#include "exchange/working_days.h"

#include <algorithm>

namespace velko {

WorkingDays::WorkingDays(const WorkingCalendar& calendar, Date start) : calendar_(calendar) {
  std::sort(calendar_.daysOff.begin(), calendar_.daysOff.end());
  std::sort(calendar_.workingDays.begin(), calendar_.workingDays.end());
  // A week with no working day and no working date would never end a search.
  if (calendar_.kind == WorkingCalendar::Kind::Own && calendar_.weekMask == 0 && calendar_.workingDays.empty())
    calendar_.weekMask = 0x1F;
  dates_.push_back(start - std::chrono::days(1));  // the search goes on from the day after
}

bool WorkingDays::working(Date day) const {
  const unsigned weekday = std::chrono::weekday(day).iso_encoding() - 1;
  switch (calendar_.kind) {
    case WorkingCalendar::Kind::EveryDay: return true;
    case WorkingCalendar::Kind::Production: return weekday < 5;
    case WorkingCalendar::Kind::Own: break;
  }
  if (std::binary_search(calendar_.workingDays.begin(), calendar_.workingDays.end(), day)) return true;
  if (std::binary_search(calendar_.daysOff.begin(), calendar_.daysOff.end(), day)) return false;
  if ((calendar_.weekMask >> weekday) & 1) return true;
  return false;
}

Date WorkingDays::dayDate(long n) {
  // dates_[0] is the day before the start; dates_[k] the (k-1)-th working day.
  while (static_cast<long>(dates_.size()) <= n + 1) {
    Date day = dates_.back() + std::chrono::days(1);
    // Past the last working date a week with no working day has none left.
    for (int guard = 0; !working(day) && guard < 4000; ++guard) day += std::chrono::days(1);
    dates_.push_back(day);
  }
  return dates_[static_cast<std::size_t>(n + 1)];
}

}  // namespace velko
