#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/data_set_extras.h"

namespace velko {

// The official Russian production calendar: a five-day week (Saturday and Sunday off) with
// the exceptions of each year, the public holidays and the days off transferred by the
// Government's decree ("выходной") and the Saturdays or Sundays made working ("рабочий").
// A shortened pre-holiday day is a full working day here.
//
// A year is a text file "ГГГГ.txt", one exception a line ("2025-11-01 рабочий"), "#"
// starting a comment. The years 2024 to 2027 are compiled in (calendar/production/); a
// user adds or corrects a year by putting such a file into the user's calendar folder,
// which replaces the compiled-in year.
class ProductionCalendar {
 public:
  // The compiled-in years only; `userFolder` is named in the messages of a missing year.
  explicit ProductionCalendar(std::filesystem::path userFolder = {});

  // The compiled-in years and the files "ГГГГ.txt" of `userFolder` (a missing folder adds
  // nothing). Throws CommandError naming the file and line it cannot read.
  static ProductionCalendar withUserYears(const std::filesystem::path& userFolder);

  // Adds or replaces the year `year` from the text of its file; `source` names the file in
  // messages. Throws CommandError for a line it cannot read or a date of another year.
  void addYear(int year, std::string_view text, const std::string& source);

  bool hasYear(int year) const { return years_.count(year) != 0; }
  std::vector<int> years() const;

  // Throws CommandError (missingYearMessage) for a date of a year without data: the
  // program refuses rather than guessing.
  bool isWorking(Date date) const;
  std::string missingYearMessage(int year) const;

 private:
  struct Exceptions {
    std::set<Date> daysOff;
    std::set<Date> workingDays;
  };
  std::map<int, Exceptions> years_;
  std::filesystem::path userFolder_;
};

// The user's calendar folder: "velko/calendar" in $XDG_CONFIG_HOME, else in ~/.config,
// next to the program's settings.
std::filesystem::path userCalendarFolder();

// The texts of the compiled-in years (generated from calendar/production/*.txt).
std::vector<std::pair<int, std::string_view>> builtInProductionYears();

inline constexpr int kFirstCalendarYear = 1900;
inline constexpr int kLastCalendarYear = 9999;

}  // namespace velko
