#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velko {

// What a data set keeps besides its works: the start date and working calendar that turn
// day numbers into dates, the names of the works, and the crew limits of the trades.
// The data file keeps them after its work lines, in a section that begins with the line
// "[velko]" and that a reader of the works alone never reaches (it reads as many work
// lines as line 2 says). The section is UTF-8; the works above it stay as they were.

using Date = std::chrono::sys_days;

inline int yearOf(Date date) { return static_cast<int>(std::chrono::year_month_day(date).year()); }

struct WorkingCalendar {
  enum class Kind {
    Production,  // five days a week by the official production calendar
    EveryDay,    // every day working
    Own,         // the week below with the user's own days off and working days
  };
  Kind kind = Kind::Production;
  std::uint8_t weekMask = 0x1F;    // working weekdays, bit 0 Monday .. bit 6 Sunday (Own)
  std::vector<Date> daysOff;       // Own: off although the week says working
  std::vector<Date> workingDays;   // Own: working although the week says off
  bool operator==(const WorkingCalendar&) const = default;
};

inline constexpr std::size_t kMaxWorkNameChars = 255;  // characters (code points), not bytes

struct DataSetExtras {
  std::optional<Date> startDate;  // none: everything stays in day numbers
  WorkingCalendar calendar;
  std::map<std::pair<int, int>, std::string> names;  // by work (I, J), UTF-8
  std::map<int, long long> crewLimits;               // by Id; an Id not listed is unlimited
  std::map<int, std::string> tradeNames;             // by Id, UTF-8 (a resource of another program)
  bool operator==(const DataSetExtras&) const = default;
  bool empty() const { return *this == DataSetExtras{}; }
};

inline constexpr std::string_view kExtrasHeading = "[velko]";

// The section as the data file ends with it ("" when `extras` is empty), lines ending
// in CR LF like the rest of the file.
std::string extrasSection(const DataSetExtras& extras);

// Reads the section from the lines after the works (the heading may follow blank lines;
// anything else before it means there is no section). Keys it does not know are left
// alone, for a later version's; a line it cannot read is listed in `notice`
// ("строка L: ..."), counted from `firstLine`.
DataSetExtras readExtrasSection(const std::vector<std::string_view>& lines, int firstLine, std::string& notice);

// "2026-04-14" and back; nullopt for anything but a valid date in that form.
std::string isoDate(Date date);
std::optional<Date> parseIsoDate(std::string_view text);

// The number of characters (code points) of a UTF-8 text.
std::size_t utf8Length(std::string_view text);

}  // namespace velko
