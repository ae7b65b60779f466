#pragma once

#include <vector>

#include "model/data_set_extras.h"

namespace velko {

// Day numbers of the network (working days from the start, 0 the first) to dates by a
// working calendar. The production calendar is taken as Monday to Friday here, without
// the official holidays.
class WorkingDays {
 public:
  WorkingDays(const WorkingCalendar& calendar, Date start);
  bool working(Date day) const;
  // The date of working day `n`, n >= 0.
  Date dayDate(long n);

 private:
  WorkingCalendar calendar_;
  std::vector<Date> dates_;  // the working days found so far, from the start on
};

}  // namespace velko
