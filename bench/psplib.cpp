// One standard single-mode instance (.sm) through the crew engine or, with --rule, the
// latest-finish priority rule alone: prints "makespan M bound B proven|open seconds S".
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/psplib_reader.h"
#include "crews/crew_problem.h"

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
    const velko::CrewProblem problem = velko::readPsplibInstance(path);
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
