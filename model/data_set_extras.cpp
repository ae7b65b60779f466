#include "model/data_set_extras.h"

#include <charconv>
#include <cstdio>

namespace velko {

namespace {

// A name is one line of the file: its backslashes and line breaks are escaped.
std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string unescaped(std::string_view text) {
  std::string out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '\\' && k + 1 < text.size()) {
      const char next = text[++k];
      out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    } else {
      out += text[k];
    }
  }
  return out;
}

template <typename T>
bool readNumber(std::string_view& text, T& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data()) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return true;
}

const char* kindName(WorkingCalendar::Kind kind) {
  switch (kind) {
    case WorkingCalendar::Kind::EveryDay: return "every-day";
    case WorkingCalendar::Kind::Own: return "own";
    default: return "production";
  }
}

std::string weekText(std::uint8_t mask) {
  std::string text;
  for (int day = 0; day < 7; ++day) text += (mask >> day) & 1 ? '1' : '0';
  return text;
}

}  // namespace

std::string isoDate(Date date) {
  const std::chrono::year_month_day ymd(date);
  char text[16];
  const int year = static_cast<int>(ymd.year());
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", year, static_cast<unsigned>(ymd.month()),
                static_cast<unsigned>(ymd.day()));
  return text;
}

std::optional<Date> parseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  int year = 0;
  unsigned month = 0, day = 0;
  for (std::size_t k : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
    if (text[k] < '0' || text[k] > '9') return std::nullopt;
  std::from_chars(text.data(), text.data() + 4, year);
  std::from_chars(text.data() + 5, text.data() + 7, month);
  std::from_chars(text.data() + 8, text.data() + 10, day);
  const std::chrono::year_month_day ymd{std::chrono::year(year), std::chrono::month(month), std::chrono::day(day)};
  if (!ymd.ok()) return std::nullopt;
  return Date(ymd);
}

std::size_t utf8Length(std::string_view text) {
  std::size_t count = 0;
  for (unsigned char c : text) count += (c & 0xC0) != 0x80;
  return count;
}

std::string extrasSection(const DataSetExtras& extras) {
  if (extras.empty()) return {};
  std::string text = std::string(kExtrasHeading) + "\r\n";
  if (extras.startDate) text += "start=" + isoDate(*extras.startDate) + "\r\n";
  const WorkingCalendar& calendar = extras.calendar;
  if (!(calendar == WorkingCalendar{})) {
    text += std::string("calendar=") + kindName(calendar.kind) + "\r\n";
    if (calendar.kind == WorkingCalendar::Kind::Own) text += "week=" + weekText(calendar.weekMask) + "\r\n";
    for (Date day : calendar.daysOff) text += "off=" + isoDate(day) + "\r\n";
    for (Date day : calendar.workingDays) text += "working=" + isoDate(day) + "\r\n";
  }
  for (const auto& [id, limit] : extras.crewLimits)
    text += "crew=" + std::to_string(id) + " " + std::to_string(limit) + "\r\n";
  for (const auto& [id, name] : extras.tradeNames) text += "trade=" + std::to_string(id) + " " + escaped(name) + "\r\n";
  for (const auto& [work, name] : extras.names)
    text += "name=" + std::to_string(work.first) + " " + std::to_string(work.second) + " " + escaped(name) + "\r\n";
  return text;
}

DataSetExtras readExtrasSection(const std::vector<std::string_view>& lines, int firstLine, std::string& notice) {
  DataSetExtras extras;
  std::size_t k = 0;
  while (k < lines.size() && lines[k].find_first_not_of(" \t") == std::string_view::npos) ++k;
  if (k == lines.size() || lines[k] != kExtrasHeading) return extras;
  auto refuse = [&](std::size_t at, const char* what) {
    notice += (notice.empty() ? "" : "\n") + std::string("строка ") + std::to_string(firstLine + static_cast<int>(at)) +
              ": " + what + " не прочитано";
  };
  for (++k; k < lines.size(); ++k) {
    const std::string_view line = lines[k];
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, equals);
    std::string_view value = line.substr(equals + 1);
    if (key == "start") {
      if (auto date = parseIsoDate(value)) extras.startDate = date;
      else refuse(k, "дата начала");
    } else if (key == "calendar") {
      if (value == "production") extras.calendar.kind = WorkingCalendar::Kind::Production;
      else if (value == "every-day") extras.calendar.kind = WorkingCalendar::Kind::EveryDay;
      else if (value == "own") extras.calendar.kind = WorkingCalendar::Kind::Own;
      else refuse(k, "календарь");
    } else if (key == "week") {
      std::uint8_t mask = 0;
      bool good = value.size() == 7;
      for (std::size_t day = 0; good && day < 7; ++day) {
        good = value[day] == '0' || value[day] == '1';
        if (value[day] == '1') mask |= static_cast<std::uint8_t>(1u << day);
      }
      if (good) extras.calendar.weekMask = mask;
      else refuse(k, "рабочая неделя");
    } else if (key == "off" || key == "working") {
      if (auto date = parseIsoDate(value)) (key == "off" ? extras.calendar.daysOff : extras.calendar.workingDays).push_back(*date);
      else refuse(k, "дата");
    } else if (key == "crew") {
      int id = 0;
      long long limit = 0;
      if (readNumber(value, id) && readNumber(value, limit) && value.empty() && limit >= 1 && limit <= 2147483647LL)
        extras.crewLimits[id] = limit;
      else refuse(k, "ограничение бригады");
    } else if (key == "trade") {
      int id = 0;
      if (readNumber(value, id) && !value.empty() && value.front() == ' ') {
        std::string name = unescaped(value.substr(1));
        if (utf8Length(name) <= kMaxWorkNameChars) extras.tradeNames[id] = std::move(name);
        else refuse(k, "название профессии длиннее 255 знаков");
      } else {
        refuse(k, "название профессии");
      }
    } else if (key == "name") {
      int i = 0, j = 0;
      if (readNumber(value, i) && readNumber(value, j) && !value.empty() && value.front() == ' ') {
        std::string name = unescaped(value.substr(1));
        if (utf8Length(name) <= kMaxWorkNameChars) extras.names[{i, j}] = std::move(name);
        else refuse(k, "наименование длиннее 255 знаков");
      } else {
        refuse(k, "наименование");
      }
    }
  }
  return extras;
}

}  // namespace velko
