#include <gtest/gtest.h>

#include <set>

#include "calendar/production_calendar.h"
#include "calendar/working_days.h"
#include "model/command_error.h"
#include "scratch_dir.h"

namespace velko {
namespace {

using std::chrono::days;

Date d(const char* iso) { return *parseIsoDate(iso); }

WorkingCalendar everyDay() { return WorkingCalendar{WorkingCalendar::Kind::EveryDay, 0x7F, {}, {}}; }

// The official days off of a year that fall on weekdays, and its working Saturdays, typed
// from the published calendar rather than from the program's data files.
struct OfficialYear {
  int year;
  int workingDays;
  std::vector<const char*> weekdaysOff;
  std::vector<const char*> weekendsWorking;
};

const OfficialYear kOfficial[] = {
    {2025,
     247,
     {"2025-01-01", "2025-01-02", "2025-01-03", "2025-01-06", "2025-01-07", "2025-01-08", "2025-05-01", "2025-05-02",
      "2025-05-08", "2025-05-09", "2025-06-12", "2025-06-13", "2025-11-03", "2025-11-04", "2025-12-31"},
     {"2025-11-01"}},
    {2026,
     247,
     {"2026-01-01", "2026-01-02", "2026-01-05", "2026-01-06", "2026-01-07", "2026-01-08", "2026-01-09", "2026-02-23",
      "2026-03-09", "2026-05-01", "2026-05-11", "2026-06-12", "2026-11-04", "2026-12-31"},
     {}},
};

TEST(ProductionCalendar, EveryDayOfTheYearAsOfficiallyDecreed) {
  const ProductionCalendar calendar;
  for (const OfficialYear& official : kOfficial) {
    std::set<Date> off, working;
    for (const char* day : official.weekdaysOff) off.insert(d(day));
    for (const char* day : official.weekendsWorking) working.insert(d(day));
    const Date first = Date(std::chrono::year(official.year) / 1 / 1);
    const Date last = Date(std::chrono::year(official.year) / 12 / 31);
    int count = 0;
    for (Date day = first; day <= last; day += days(1)) {
      const bool weekday = std::chrono::weekday(day).iso_encoding() <= 5;
      const bool expected = working.count(day) || (weekday && !off.count(day));
      EXPECT_EQ(calendar.isWorking(day), expected) << isoDate(day);
      count += expected;
    }
    EXPECT_EQ(count, official.workingDays) << official.year;
  }
}

TEST(ProductionCalendar, YearWithoutDataIsRefusedNamingTheYearAndTheFile) {
  const ProductionCalendar calendar("/home/u/.config/velko/calendar");
  try {
    calendar.isWorking(d("2031-03-03"));
    FAIL();
  } catch (const CommandError& error) {
    const std::string text = error.what();
    EXPECT_NE(text.find("на 2031 год"), std::string::npos) << text;
    EXPECT_NE(text.find("«/home/u/.config/velko/calendar» файл 2031.txt"), std::string::npos) << text;
  }
  EXPECT_THROW(WorkingDays(d("2031-01-05"), WorkingCalendar{}, calendar), CommandError);
}

TEST(ProductionCalendar, UserFileAddsAYearAndReplacesACompiledOne) {
  testing::ScratchDir dir;
  testing::writeBytes(dir.file("2031.txt"), "# свой год\n2031-01-01 выходной\n2031-01-04 рабочий  # суббота\n");
  testing::writeBytes(dir.file("2025.txt"), "2025-07-01 выходной\n");
  const ProductionCalendar calendar = ProductionCalendar::withUserYears(dir.path());
  EXPECT_FALSE(calendar.isWorking(d("2031-01-01")));
  EXPECT_TRUE(calendar.isWorking(d("2031-01-04")));
  EXPECT_TRUE(calendar.isWorking(d("2031-01-02")));
  EXPECT_FALSE(calendar.isWorking(d("2025-07-01")));
  EXPECT_TRUE(calendar.isWorking(d("2025-05-02")));  // the user's file replaced the whole year

  testing::writeBytes(dir.file("2032.txt"), "2032-01-01 выходной\n2032-02-30 рабочий\n");
  try {
    ProductionCalendar::withUserYears(dir.path());
    FAIL();
  } catch (const CommandError& error) {
    EXPECT_NE(std::string(error.what()).find("2032.txt, строка 2"), std::string::npos) << error.what();
  }
}

struct AroundTransfer {
  const char* start;
  std::vector<const char*> firstDays;  // the working days 0, 1, 2, ...
};

TEST(WorkingDays, DaysAroundTransferredDaysOff) {
  const AroundTransfer cases[] = {
      {"2025-10-31", {"2025-10-31", "2025-11-01", "2025-11-05"}},           // working Saturday, then 3-4 Nov off
      {"2025-11-02", {"2025-11-05", "2025-11-06"}},                         // a start on a day off
      {"2025-12-30", {"2025-12-30", "2026-01-12", "2026-01-13"}},           // 31 Dec and the new year's holidays
      {"2026-05-08", {"2026-05-08", "2026-05-12"}},                         // 9 May (Saturday) moved to Monday 11
      {"2024-04-26", {"2024-04-26", "2024-04-27", "2024-05-02", "2024-05-03"}},
  };
  const ProductionCalendar production;
  for (const AroundTransfer& c : cases) {
    const WorkingDays calendar(d(c.start), WorkingCalendar{}, production);
    for (std::size_t k = 0; k < c.firstDays.size(); ++k) {
      EXPECT_EQ(isoDate(calendar.dateOfDay(static_cast<long long>(k))), c.firstDays[k]) << c.start << " day " << k;
      EXPECT_EQ(calendar.dayOfDate(d(c.firstDays[k])), static_cast<long long>(k)) << c.start;
    }
  }
  // Past the last year the program has data for.
  const WorkingDays calendar(d("2027-12-01"), WorkingCalendar{}, production);
  EXPECT_THROW(calendar.dateOfDay(40), CommandError);
}

TEST(WorkingDays, EveryDayAndOwnCalendars) {
  const ProductionCalendar production;
  const WorkingDays every(d("2040-02-27"), everyDay(), production);  // no production data needed
  EXPECT_EQ(isoDate(every.dateOfDay(3)), "2040-03-01");                // a leap year
  EXPECT_EQ(every.dayOfDate(d("2041-02-27")), 366);

  // Monday to Thursday, with one Monday off and one Saturday working.
  const WorkingCalendar own{WorkingCalendar::Kind::Own, 0x0F, {d("2030-01-14")}, {d("2030-01-19")}};
  const WorkingDays calendar(d("2030-01-07"), own, production);  // a Monday
  const std::vector<const char*> expected = {"2030-01-07", "2030-01-08", "2030-01-09", "2030-01-10", "2030-01-15",
                                             "2030-01-16", "2030-01-17", "2030-01-19", "2030-01-21", "2030-01-22"};
  for (std::size_t k = 0; k < expected.size(); ++k)
    EXPECT_EQ(isoDate(calendar.dateOfDay(static_cast<long long>(k))), expected[k]) << k;
  // Far past the listed dates, the week alone; the two directions agree.
  for (long long k : {10LL, 11LL, 57LL, 400LL, 401LL, 402LL, 403LL}) EXPECT_EQ(calendar.dayOfDate(calendar.dateOfDay(k)), k);
  EXPECT_EQ(calendar.workingDaysIn(d("2030-01-12"), d("2030-01-20")).size(), 4u);
}

TEST(WorkingDays, CalendarsWithoutEnoughWorkingDaysAreRefused) {
  const ProductionCalendar production;
  const WorkingCalendar none{WorkingCalendar::Kind::Own, 0, {}, {d("2030-01-01")}};
  EXPECT_THROW(WorkingDays(d("2030-01-02"), none, production), CommandError);  // its only working day is before
  const WorkingDays two(d("2029-12-01"), none, production);
  EXPECT_EQ(isoDate(two.dateOfDay(0)), "2030-01-01");
  EXPECT_THROW(two.dateOfDay(1), CommandError);
  EXPECT_THROW(WorkingDays(d("2030-01-01"), everyDay(), production).beginOf(1e12), CommandError);
}

TEST(WorkingDays, FractionalStartsAndFinishes) {
  struct Case {
    double start, duration;
    long long begin, finish;  // indices of the working days
  };
  const Case cases[] = {
      {0, 1, 0, 0},       {0, 2, 0, 1},     {2.5, 1, 2, 3},       {2.5, 0.5, 2, 2},   {2.5, 0.2, 2, 2},
      {3, 0, 3, 3},       {3.7, 0, 3, 3},   {0.1 + 0.2, 2.7, 0, 2}, {1.9999999999, 1, 2, 2},
  };
  const Date start = d("2030-01-01");
  const WorkingDays calendar(start, everyDay(), ProductionCalendar());
  for (const Case& c : cases) {
    EXPECT_EQ(calendar.beginOf(c.start), start + days(c.begin)) << c.start << "+" << c.duration;
    EXPECT_EQ(calendar.finishOf(c.start, c.duration), start + days(c.finish)) << c.start << "+" << c.duration;
  }
}

}  // namespace
}  // namespace velko
