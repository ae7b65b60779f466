#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/data_set_extras.h"

namespace velko {

// What the reader takes from a Project XML file, as the file says it, before any
// conversion: the converter decides what becomes of each part and reports it.

struct ProjectLink {
  int predecessorUid = 0;
  int type = 1;            // 0 finish-finish, 1 finish-start, 2 start-finish, 3 start-start
  double lagTenths = 0;    // tenths of a minute of working time
  int lagFormat = 7;       // the unit the lag is shown in; 19 and 20 are percentages
  bool crossProject = false;
};

struct ProjectTask {
  int uid = 0;
  std::string name;
  double minutes = 0;      // the duration in minutes of working time
  int durationFormat = 7;
  bool summary = false;
  bool milestone = false;
  bool isNull = false;
  int outlineLevel = 1;
  int constraintType = 0;  // 0 as soon as possible
  std::vector<ProjectLink> predecessors;
};

struct ProjectResource {
  int uid = 0;
  std::string name;
  int type = 1;            // 1 work, 0 material, 2 cost
  std::optional<double> maxUnits;  // 1 is one full-time worker; none, no limit
};

struct ProjectAssignment {
  int taskUid = 0;
  int resourceUid = 0;
  double units = 1;
};

struct ProjectException {
  Date from{};
  Date to{};
  bool working = false;
  bool recurring = false;  // a pattern (yearly, weekly ...) rather than the days from..to
  std::string name;
};

struct ProjectCalendar {
  int uid = 0;
  std::string name;
  int baseUid = -1;
  bool isBase = false;
  int dayWorking[7] = {-1, -1, -1, -1, -1, -1, -1};  // Monday .. Sunday; -1 as the base calendar
  std::vector<ProjectException> exceptions;
};

struct ProjectFile {
  std::optional<Date> start;
  double minutesPerDay = 480;
  int calendarUid = -1;
  std::vector<ProjectCalendar> calendars;
  std::vector<ProjectTask> tasks;
  std::vector<ProjectResource> resources;
  std::vector<ProjectAssignment> assignments;
};

}  // namespace velko
