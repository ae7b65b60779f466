// One standard single-mode instance (.sm) through the crew engine or, with --rule, the
// latest-finish priority rule alone: prints "makespan M bound B proven|open seconds S".
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "crews/crew_problem.h"

namespace {

using velko::CrewProblem;

bool startsWith(const std::string& line, const std::string& head) { return line.rfind(head, 0) == 0; }

// The instance's jobs are numbered from 1; activity a is job a + 1.
CrewProblem readInstance(const std::string& path) {
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

}  // namespace

int main(int argc, char** argv) {
  std::string path, startsFile;
  double limit = 10;
  bool rule = false;
  long long effort = 0;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--starts" && k + 1 < argc) startsFile = argv[++k];
    else if (arg == "--time-limit" && k + 1 < argc) limit = std::atof(argv[++k]);
    else if (arg == "--rule") rule = true;
    else if (arg == "--effort" && k + 1 < argc) effort = std::atoll(argv[++k]);
    else path = arg;
  }
  if (path.empty()) {
    std::cerr << "usage: psplib [--rule] [--time-limit S] [--starts FILE] instance.sm\n";
    return 2;
  }
  try {
    const CrewProblem problem = readInstance(path);
    const auto began = std::chrono::steady_clock::now();
    velko::CrewResult r;
    if (rule) {
      r.starts = velko::latestFinishRuleSchedule(problem);
      r.makespan = velko::crewMakespan(problem, r.starts);
    } else {
      velko::CrewOptions options;
      options.timeLimitSeconds = limit;
      options.effort = effort;
      r = velko::solveCrews(problem, options);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    const std::string fault = velko::crewScheduleFault(problem, r.starts);
    if (!fault.empty()) {
      std::cerr << path << ": broken schedule: " << fault << "\n";
      return 1;
    }
    if (!startsFile.empty()) {
      std::ofstream out(startsFile);
      for (std::size_t a = 0; a < r.starts.size(); ++a) out << a + 1 << ' ' << r.starts[a] << '\n';
    }
    std::cout << "makespan " << r.makespan << " bound " << r.bound << ' ' << (r.proven ? "proven" : "open")
              << " seconds " << seconds << " effort " << r.effort << "\n";
  } catch (const std::exception& e) {
    std::cerr << path << ": " << e.what() << "\n";
    return 1;
  }
  return 0;
}
