#include "calendar/production_calendar.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "model/command_error.h"

namespace velko {

namespace {

constexpr std::uintmax_t kMaxYearFileBytes = 64 * 1024;

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}


}  // namespace

ProductionCalendar::ProductionCalendar(std::filesystem::path userFolder) : userFolder_(std::move(userFolder)) {
  for (const auto& [year, text] : builtInProductionYears())
    addYear(year, text, "calendar/production/" + std::to_string(year) + ".txt");
}

ProductionCalendar ProductionCalendar::withUserYears(const std::filesystem::path& userFolder) {
  ProductionCalendar calendar(userFolder);
  std::error_code error;
  if (!std::filesystem::is_directory(userFolder, error)) return calendar;
  for (const auto& entry : std::filesystem::directory_iterator(userFolder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() != 8 || name.substr(4) != ".txt" || name.find_first_not_of("0123456789") != 4) continue;
    const int year = std::stoi(name.substr(0, 4));
    if (year < kFirstCalendarYear) continue;
    const std::string source = entry.path().string();
    if (entry.file_size(error) > kMaxYearFileBytes)
      throw CommandError("Файл производственного календаря " + source + " больше 64 КБ");
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) throw CommandError("Не удалось прочитать файл производственного календаря " + source);
    calendar.addYear(year, text.str(), source);
  }
  return calendar;
}

void ProductionCalendar::addYear(int year, std::string_view text, const std::string& source) {
  Exceptions exceptions;
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    line = trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    const std::size_t space = line.find_first_of(" \t");
    const auto date = parseIsoDate(line.substr(0, space));
    const std::string_view word = space == std::string_view::npos ? std::string_view{} : trimmed(line.substr(space));
    const std::string where = "Производственный календарь " + source + ", строка " + std::to_string(lineNumber) + ": ";
    if (!date || (word != "выходной" && word != "рабочий"))
      throw CommandError(where + "ожидается «ГГГГ-ММ-ДД выходной» или «ГГГГ-ММ-ДД рабочий»");
    if (yearOf(*date) != year) throw CommandError(where + "дата не " + std::to_string(year) + " года");
    (word == "выходной" ? exceptions.daysOff : exceptions.workingDays).insert(*date);
  }
  years_[year] = std::move(exceptions);
}

std::vector<int> ProductionCalendar::years() const {
  std::vector<int> list;
  for (const auto& entry : years_) list.push_back(entry.first);
  return list;
}

bool ProductionCalendar::isWorking(Date date) const {
  const auto year = years_.find(yearOf(date));
  if (year == years_.end()) throw CommandError(missingYearMessage(yearOf(date)));
  if (year->second.daysOff.count(date)) return false;
  if (year->second.workingDays.count(date)) return true;
  return std::chrono::weekday(date).iso_encoding() <= 5;
}

std::string ProductionCalendar::missingYearMessage(int year) const {
  const std::string y = std::to_string(year);
  const std::string folder = userFolder_.empty() ? "календарей пользователя" : "«" + userFolder_.string() + "»";
  return "Нет производственного календаря на " + y + " год. Чтобы добавить его, положите в папку " + folder +
         " файл " + y + ".txt: по строке на каждый праздник или перенесённый выходной («" + y +
         "-01-01 выходной») и на каждую рабочую субботу или воскресенье («" + y + "-11-06 рабочий»).";
}

std::filesystem::path userCalendarFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path base;
  if (config && *config) base = config;
  else if (const char* home = std::getenv("HOME"); home && *home) base = std::filesystem::path(home) / ".config";
  else return {};
  return base / "velko" / "calendar";
}

}  // namespace velko
