#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "exchange/mspdi_reader.h"
#include "exchange/network_from_project.h"
#include "exchange/network_install.h"
#include "model/command_error.h"
#include "model/time_parameters.h"
#include "tests/core/scratch_dir.h"
#include "tests/exchange/project_xml.h"

namespace velko {
namespace {

using testing::link;
using testing::projectXml;
using testing::task;

ImportedNetwork import(const std::string& body) {
  return networkFromProject(parseProjectXml(projectXml(body), "p.xml"), "p.xml");
}

// Installs and computes the network; the early start of the work named `name`.
double earlyStart(TNetworkModel& m, const ImportedNetwork& network, const std::string& name) {
  WorksTable table;
  installNetwork(network, m, table);
  ClearComputed(m);
  ComputeTimeParameters(m);
  for (const auto& [work, text] : m.Extras.names)
    if (text == name) return m.Events[work.first].Early;
  ADD_FAILURE() << "no work " << name;
  return -1;
}

struct LinkCase {
  const char* what;
  int type;
  double lagDays;
  double expectedStart;  // of B, after C (2 days) -> A (4 days) -> B (3 days)
};

class ImportedLinks : public ::testing::TestWithParam<LinkCase> {};

TEST_P(ImportedLinks, GiveTheOtherProgramsEarlyStart) {
  const LinkCase& c = GetParam();
  const ImportedNetwork network =
      import("<Tasks>" + task(1, "C", 2) + task(2, "A", 4, link(1)) + task(3, "B", 3, link(2, c.type, c.lagDays)) +
             "</Tasks>");
  TNetworkModel m;
  EXPECT_DOUBLE_EQ(earlyStart(m, network, "B"), c.expectedStart) << c.what;
  for (const ImportedWork& w : network.works) EXPECT_LT(w.I, w.J);
  EXPECT_EQ(network.works.front().I, 1);
  EXPECT_EQ(m.CritPathLength, std::max(6.0, c.expectedStart + 3));
}

INSTANTIATE_TEST_SUITE_P(
    EveryTypeWithLags, ImportedLinks,
    ::testing::Values(LinkCase{"FS", 1, 0, 6}, LinkCase{"FS +1", 1, 1, 7}, LinkCase{"FS -1 (lead)", 1, -1, 5},
                      LinkCase{"FS lead longer than A", 1, -5, 1}, LinkCase{"FS lead past the start", 1, -9, 0},
                      LinkCase{"SS", 3, 0, 2}, LinkCase{"SS -1", 3, -1, 1}, LinkCase{"SS +1.5", 3, 1.5, 3.5},
                      LinkCase{"FF", 0, 0, 3}, LinkCase{"FF +2", 0, 2, 5}, LinkCase{"SF +5", 2, 5, 4},
                      LinkCase{"SF", 2, 0, 0}));

TEST(ImportedProject, ChainOfFinishToStartSharesEventsWithNoDummy) {
  const ImportedNetwork network =
      import("<Tasks>" + task(1, "A", 1) + task(2, "B", 2, link(1)) + task(3, "C", 3, link(2)) + "</Tasks>");
  EXPECT_EQ(network.eventCount, 4);
  EXPECT_EQ(network.works.size(), 3u);
  // A and B both before C and D: one event for the four links, two dummies where two
  // tasks would otherwise join the same pair of events.
  const ImportedNetwork crossed = import("<Tasks>" + task(1, "A", 1) + task(2, "B", 1) + task(3, "C", 1, link(1) + link(2)) +
                                         task(4, "D", 1, link(1) + link(2)) + "</Tasks>");
  EXPECT_EQ(crossed.eventCount, 5);
  EXPECT_EQ(crossed.works.size(), 6u);
}

TEST(ImportedProject, KeepsResourcesCalendarAndReportsWhatItApproximated) {
  const std::string body =
      "<Calendars><Calendar><UID>1</UID><Name>Шестидневка</Name><IsBaseCalendar>1</IsBaseCalendar><WeekDays>"
      "<WeekDay><DayType>1</DayType><DayWorking>0</DayWorking></WeekDay>"
      "<WeekDay><DayType>7</DayType><DayWorking>1</DayWorking></WeekDay></WeekDays><Exceptions>"
      "<Exception><TimePeriod><FromDate>2026-05-01T00:00:00</FromDate><ToDate>2026-05-02T23:59:00</ToDate>"
      "</TimePeriod><Name>Май</Name><Type>1</Type><DayWorking>0</DayWorking></Exception>"
      "<Exception><TimePeriod><FromDate>2026-05-10T00:00:00</FromDate><ToDate>2026-05-10T23:59:00</ToDate>"
      "</TimePeriod><Type>1</Type><DayWorking>1</DayWorking></Exception>"
      "<Exception><TimePeriod><FromDate>2026-01-01T00:00:00</FromDate><ToDate>2030-01-01T00:00:00</ToDate>"
      "</TimePeriod><Name>Новый год</Name><Type>2</Type><DayWorking>0</DayWorking></Exception>"
      "</Exceptions></Calendar></Calendars><CalendarUID>1</CalendarUID><Tasks>"
      "<Task><UID>0</UID><OutlineLevel>0</OutlineLevel><Summary>1</Summary></Task>" +
      task(1, "Кладка", 2, "", "<ConstraintType>4</ConstraintType>") + task(2, "Штукатурка", 1, link(1)) +
      task(3, "Веха", 0, link(2)) + "</Tasks><Resources>"
      "<Resource><UID>5</UID><Name>Каменщик</Name><Type>1</Type><MaxUnits>4.00</MaxUnits></Resource>"
      "<Resource><UID>6</UID><Name>Штукатур</Name><Type>1</Type></Resource>"
      "<Resource><UID>7</UID><Name>Кирпич</Name><Type>0</Type></Resource></Resources><Assignments>"
      "<Assignment><TaskUID>1</TaskUID><ResourceUID>5</ResourceUID><Units>2.6</Units></Assignment>"
      "<Assignment><TaskUID>1</TaskUID><ResourceUID>6</ResourceUID><Units>1</Units></Assignment>"
      "<Assignment><TaskUID>1</TaskUID><ResourceUID>7</ResourceUID><Units>100</Units></Assignment>"
      "<Assignment><TaskUID>2</TaskUID><ResourceUID>6</ResourceUID><Units>2</Units></Assignment>"
      "</Assignments>";
  const ImportedNetwork n = import(body);
  EXPECT_EQ(n.extras.startDate, parseIsoDate("2026-03-02"));
  EXPECT_EQ(n.extras.calendar.kind, WorkingCalendar::Kind::Own);
  EXPECT_EQ(n.extras.calendar.weekMask, 0x3F);  // Monday .. Saturday
  EXPECT_EQ(n.extras.calendar.daysOff, (std::vector<Date>{*parseIsoDate("2026-05-01"), *parseIsoDate("2026-05-02")}));
  EXPECT_EQ(n.extras.calendar.workingDays, (std::vector<Date>{*parseIsoDate("2026-05-10")}));
  EXPECT_EQ(n.extras.tradeNames, (std::map<int, std::string>{{1, "Каменщик"}, {2, "Штукатур"}}));
  EXPECT_EQ(n.extras.crewLimits, (std::map<int, long long>{{1, 4}}));  // none given for Штукатур: unlimited
  ASSERT_EQ(n.works.size(), 2u);  // the milestone is the last event
  EXPECT_EQ(n.works[0].workers, 3);  // 2.6 units of the larger assignment
  EXPECT_EQ(n.works[0].id, 1);
  EXPECT_EQ(n.works[1].workers, 2);
  EXPECT_EQ(n.works[1].id, 2);
  EXPECT_EQ(n.extras.names.at({n.works[1].I, n.works[1].J}), "Штукатурка");
  for (const char* line : {"задача UID 1 «Кладка»: ограничение даты (тип 4)", "задача UID 1 «Кладка»: ресурсов 2",
                           "задача UID 1 «Кладка»: единицы назначения 2.6 округлены до 3",
                           "ресурс UID 7 «Кирпич»: материальный", "«Новый год»", "задача UID 3 «Веха»: веха"})
    EXPECT_NE(n.report.find(line), std::string::npos) << line << "\n" << n.report;
}

struct Refusal {
  const char* what;
  std::string xml;
  const char* message;  // a part of the message
};

class RefusedFiles : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedFiles, SayWhyAndChangeNothing) {
  const Refusal& r = GetParam();
  TNetworkModel m;
  m.WorkCount = 7;
  try {
    const ImportedNetwork n = networkFromProject(parseProjectXml(r.xml, "p.xml"), "p.xml");
    ADD_FAILURE() << r.what << " was taken: " << n.report;
  } catch (const CommandError& error) {
    EXPECT_NE(std::string(error.what()).find(r.message), std::string::npos) << r.what << ": " << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, RefusedFiles,
    ::testing::Values(
        Refusal{"malformed", "<Project>\n<Tasks><Task></Tasks></Project>", "строка 2, столбец"},
        Refusal{"not a project", "<?xml version=\"1.0\"?><html/>", "это не файл MS Project XML"},
        Refusal{"empty", "", "это не файл MS Project XML"},
        Refusal{"no such predecessor", projectXml("<Tasks>" + task(1, "A", 1, link(9)) + "</Tasks>"),
                "задача UID 1 «A»: предшественник UID 9 в файле не найден"},
        Refusal{"cycle",
                projectXml("<Tasks>" + task(1, "A", 1, link(3)) + task(2, "B", 1, link(1)) + task(3, "C", 1, link(2)) +
                           task(4, "D", 1, link(3)) + "</Tasks>"),
                "цикл: задача UID 2 «B» → задача UID 3 «C» → задача UID 1 «A»"},
        Refusal{"no working day",
                projectXml("<Calendars><Calendar><UID>1</UID><Name>Пусто</Name><WeekDays>" +
                           [] {
                             std::string days;
                             for (int d = 1; d <= 7; ++d)
                               days += "<WeekDay><DayType>" + std::to_string(d) + "</DayType><DayWorking>0</DayWorking></WeekDay>";
                             return days;
                           }() +
                           "</WeekDays></Calendar></Calendars><Tasks>" + task(1, "A", 1) + "</Tasks>"),
                "в календаре «Пусто» нет ни одного рабочего дня"},
        Refusal{"entity bomb",
                "<?xml version=\"1.0\"?><!DOCTYPE Project [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
                "<Project><Name>&b;</Name></Project>",
                "объявления сущностей"},
        Refusal{"external entity",
                "<?xml version=\"1.0\"?><!DOCTYPE Project [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
                "<Project><Name>&x;</Name></Project>",
                "объявления сущностей"},
        Refusal{"undeclared entity", "<Project><Name>&x;</Name></Project>", "строка 1"},
        Refusal{"no task", projectXml("<Tasks></Tasks>"), "нет ни одной задачи"},
        Refusal{"start before the calendar",
                "<Project xmlns=\"http://schemas.microsoft.com/project\"><StartDate>1800-01-06T08:00:00</StartDate><Tasks>" +
                    task(1, "A", 1) + "</Tasks></Project>",
                "дата начала проекта 1800-01-06 вне 1900–9999 годов"},
        Refusal{"bad number", projectXml("<Tasks><Task><UID>x</UID></Task></Tasks>"), "не целое число"}));

TEST(ProjectXmlFile, LargerThanTheCapIsRefusedUnread) {
  const testing::ScratchDir dir;
  const std::string path = dir.file("big.xml");
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kMaxProjectXmlBytes + 1)), 0);
  ::close(fd);
  EXPECT_THROW(
      try { readProjectXmlFile(path); } catch (const CommandError& e) {
        EXPECT_NE(std::string(e.what()).find("больше 64 МиБ"), std::string::npos);
        throw;
      },
      CommandError);
}

}  // namespace
}  // namespace velko
