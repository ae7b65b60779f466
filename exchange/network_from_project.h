#pragma once

#include <string>
#include <vector>

#include "exchange/project_file.h"
#include "model/data_set_extras.h"

namespace velko {

struct ImportedWork {
  int I = 0;
  int J = 0;
  double days = 0;
  int workers = 0;
  int id = 0;
};

// A network converted from a project: works between events numbered so that I < J,
// event 1 the only start and eventCount the only finish, with the extras (names of the
// works from the tasks', trades from the work resources, the start date and calendar).
struct ImportedNetwork {
  int eventCount = 0;
  std::vector<ImportedWork> works;
  DataSetExtras extras;
  // What was converted and, a line each with the task's UID, everything approximated
  // or left out.
  std::string report;
};

// Converts a project read from `fileName`. Each task that is not a summary becomes a
// work from its start event to its finish event (a task of no duration becomes one
// event); each link becomes a dummy work carrying the least time from the start of its
// predecessor to the start of its successor, so the early dates are exact for every
// kind of link and lag. A link whose time is negative (a lead longer than the
// predecessor) is carried back to the predecessor's own predecessors with their times
// added, which keeps the early dates exact; only the late dates of that predecessor
// may then be later than the other program's. Dummy works of no time are merged away
// where that adds no dependency. Refuses (CommandError) a link to a task that is not in
// the file, a cycle of links (naming its tasks), a calendar with no working day, a
// project with no task, and a network beyond kMaxEvents or kMaxWorks.
ImportedNetwork networkFromProject(const ProjectFile& project, const std::string& fileName);

}  // namespace velko
