#include "bench/psplib_reader.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velko {

namespace {

bool startsWith(const std::string& line, const std::string& head) { return line.rfind(head, 0) == 0; }

}  // namespace

CrewProblem readPsplibInstance(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  CrewProblem p;
  std::string line;
  int jobs = 0, trades = 0;
  auto afterColon = [](const std::string& l) { return std::atoi(l.substr(l.find(':') + 1).c_str()); };
  while (std::getline(in, line)) {
    if (startsWith(line, "jobs (incl. supersource/sink )")) {
      jobs = afterColon(line);
      p.activities.resize(jobs);
    } else if (startsWith(line, "  - renewable")) {
      trades = afterColon(line);
    } else if (startsWith(line, "PRECEDENCE RELATIONS:")) {
      std::getline(in, line);  // the column titles
      for (int k = 0; k < jobs && std::getline(in, line); ++k) {
        std::istringstream row(line);
        int job = 0, modes = 0, count = 0;
        row >> job >> modes >> count;
        if (job < 1 || job > jobs) throw std::runtime_error("a job out of range in " + path);
        for (int s = 0, next = 0; s < count && row >> next; ++s) p.precedences.push_back({job - 1, next - 1});
      }
    } else if (startsWith(line, "REQUESTS/DURATIONS:")) {
      std::getline(in, line);
      std::getline(in, line);  // titles and a rule
      for (int k = 0; k < jobs && std::getline(in, line); ++k) {
        std::istringstream row(line);
        int job = 0, mode = 0;
        long long duration = 0;
        row >> job >> mode >> duration;
        if (job < 1 || job > jobs) throw std::runtime_error("a job out of range in " + path);
        p.activities[job - 1].duration = duration;
        for (int t = 0; t < trades; ++t) {
          long long amount = 0;
          row >> amount;
          if (amount > 0) p.activities[job - 1].demands.push_back({t, amount});
        }
      }
    } else if (startsWith(line, "RESOURCEAVAILABILITIES:")) {
      std::getline(in, line);
      std::getline(in, line);
      std::istringstream row(line);
      for (int t = 0; t < trades; ++t) row >> p.capacity[t];
    }
  }
  if (jobs == 0 || static_cast<int>(p.capacity.size()) != trades) throw std::runtime_error("not an .sm instance: " + path);
  return p;
}


}  // namespace velko
