#pragma once

#include <string>

namespace velko::testing {

// A small Project XML file: `body` goes inside <Project> after the start date.
inline std::string projectXml(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Project xmlns=\"http://schemas.microsoft.com/project\">\n"
         "<StartDate>2026-03-02T08:00:00</StartDate><MinutesPerDay>480</MinutesPerDay>\n" +
         body + "</Project>\n";
}

// A task of `days` working days; `links` are PredecessorLink elements.
inline std::string task(int uid, const std::string& name, double days, const std::string& links = "",
                        const std::string& more = "") {
  return "<Task><UID>" + std::to_string(uid) + "</UID><Name>" + name + "</Name><Duration>PT" +
         std::to_string(static_cast<long long>(days * 8)) + "H0M0S</Duration>" + more + links + "</Task>\n";
}

// Type 0 finish-finish, 1 finish-start, 2 start-finish, 3 start-start; lag in days.
inline std::string link(int predecessor, int type = 1, double lagDays = 0) {
  return "<PredecessorLink><PredecessorUID>" + std::to_string(predecessor) + "</PredecessorUID><Type>" +
         std::to_string(type) + "</Type><LinkLag>" + std::to_string(static_cast<long long>(lagDays * 4800)) +
         "</LinkLag><LagFormat>7</LagFormat></PredecessorLink>";
}

}  // namespace velko::testing
