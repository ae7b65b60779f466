#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "exchange/mspdi_reader.h"
#include "exchange/mspdi_writer.h"
#include "exchange/network_from_project.h"
#include "exchange/network_install.h"
#include "model/time_parameters.h"
#include "tests/exchange/project_xml.h"

namespace velko {
namespace {

using testing::link;
using testing::projectXml;
using testing::task;

// What a user compares: each task's name, duration, workers, trade, early start and
// whether it is critical; the project's length; the calendar and the crew limits.
struct Schedule {
  std::set<std::tuple<std::string, double, int, std::string, double, bool>> tasks;
  double length = 0;
  DataSetExtras calendar;
  std::map<std::string, long long> limits;
};

Schedule computed(TNetworkModel& m, const ImportedNetwork& network) {
  WorksTable table;
  installNetwork(network, m, table);
  ClearComputed(m);
  ComputeTimeParameters(m);
  Schedule s;
  for (const auto& w : m.WorkMatrix.upperWorks(m.EventCount)) {
    const auto name = m.Extras.names.find({w.I, w.J});
    if (name == m.Extras.names.end()) continue;
    const auto trade = m.Extras.tradeNames.find(w.cell->Id);
    s.tasks.emplace(name->second, static_cast<double>(w.cell->Duration), w.cell->Workers,
                    trade == m.Extras.tradeNames.end() ? "" : trade->second, static_cast<double>(m.Events[w.I].Early),
                    static_cast<double>(w.cell->TotalFloat) == 0);
  }
  s.length = m.CritPathLength;
  s.calendar.startDate = m.Extras.startDate;
  s.calendar.calendar = m.Extras.calendar;
  for (const auto& [id, limit] : m.Extras.crewLimits) s.limits[m.Extras.tradeNames.at(id)] = limit;
  return s;
}

TEST(ProjectXmlRoundTrip, ImportingTheExportGivesTheSameSchedule) {
  const std::string xml = projectXml(
      "<Calendars><Calendar><UID>1</UID><Name>Base</Name><IsBaseCalendar>1</IsBaseCalendar><Exceptions>"
      "<Exception><TimePeriod><FromDate>2026-03-09T00:00:00</FromDate><ToDate>2026-03-09T23:59:00</ToDate>"
      "</TimePeriod><Type>1</Type><DayWorking>0</DayWorking></Exception></Exceptions></Calendar></Calendars><Tasks>" +
      task(1, "Котлован", 3) + task(2, "Фундамент", 4, link(1, 1, 1)) + task(3, "Стены", 5, link(2, 3, 2)) +
      task(4, "Кровля", 2.5, link(3, 0, 1)) + task(5, "Сети", 1, link(1, 3, 1.5)) +
      task(6, "Окна", 1.5, link(3) + link(5, 1, 2)) + task(7, "Сдача", 0, link(4) + link(6)) + "</Tasks><Resources>"
      "<Resource><UID>1</UID><Name>Бетонщик</Name><MaxUnits>6</MaxUnits></Resource>"
      "<Resource><UID>2</UID><Name>Каменщик</Name></Resource></Resources><Assignments>"
      "<Assignment><TaskUID>2</TaskUID><ResourceUID>1</ResourceUID><Units>5</Units></Assignment>"
      "<Assignment><TaskUID>3</TaskUID><ResourceUID>2</ResourceUID><Units>4</Units></Assignment>"
      "<Assignment><TaskUID>6</TaskUID><ResourceUID>2</ResourceUID><Units>2</Units></Assignment></Assignments>");
  TNetworkModel first, second;
  const Schedule before = computed(first, networkFromProject(parseProjectXml(xml, "a.xml"), "a.xml"));
  const std::string exported = projectXmlText(first, first.Extras, "a");
  const Schedule after = computed(second, networkFromProject(parseProjectXml(exported, "b.xml"), "b.xml"));
  EXPECT_EQ(before.tasks.size(), 6u);
  EXPECT_EQ(after.tasks, before.tasks);
  EXPECT_EQ(after.length, before.length);
  EXPECT_EQ(after.calendar, before.calendar);
  EXPECT_EQ(after.limits, (std::map<std::string, long long>{{"Бетонщик", 6}}));
  EXPECT_EQ(after.limits, before.limits);
  // The dates come from the calendar: the foundation, days 4 to 7, skips Monday the 9th.
  EXPECT_NE(exported.find("<EarlyFinish>2026-03-12T17:00:00</EarlyFinish>"), std::string::npos) << exported;
}

}  // namespace
}  // namespace velko
