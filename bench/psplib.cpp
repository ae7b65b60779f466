// One standard single-mode instance (.sm) through the crew engine or, with --rule, the
// latest-finish priority rule alone: prints "makespan M bound B proven|open seconds S effort E"
// (E: the engine's own count of steps, which decides where it stops).
// --random N takes a generated network of N activities instead (the large sizes; --whole
// for durations in whole days).
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/psplib_reader.h"
#include "crews/crew_problem.h"

namespace {

// A network of the program's shape for the large sizes: one demand per activity among ten
// trades, durations in ticks of an eighth of a day, each activity after one to three of
// the fifty before it.
velko::CrewProblem randomNetwork(int n, unsigned long long seed, bool wholeDays) {
  velko::CrewProblem p;
  unsigned long long s = seed;
  auto next = [&](unsigned long long bound) {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<long long>((s >> 33) % bound);
  };
  for (int t = 0; t < 10; ++t) p.capacity[t] = 5 + next(11);
  for (int a = 0; a < n; ++a) {
    const int trade = static_cast<int>(next(10));
    const long long eighths = next(8);  // drawn either way, so that --whole keeps the network
    p.activities.push_back({8 * (1 + next(20)) + (wholeDays ? 0 : eighths), {{trade, 1 + next(p.capacity[trade])}}});
    const int preds = a == 0 ? 0 : 1 + static_cast<int>(next(3));
    for (int k = 0; k < preds; ++k) p.precedences.push_back({static_cast<int>(a - 1 - next(std::min(a, 50))), a});
  }
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path, startsFile;
  double limit = 10;
  bool rule = false;
  long long effort = 0;
  int randomSize = 0;
  unsigned long long seed = 12345;
  bool wholeDays = false;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--starts" && k + 1 < argc) startsFile = argv[++k];
    else if (arg == "--time-limit" && k + 1 < argc) limit = std::atof(argv[++k]);
    else if (arg == "--rule") rule = true;
    else if (arg == "--random" && k + 1 < argc) randomSize = std::atoi(argv[++k]);
    else if (arg == "--whole") wholeDays = true;
    else if (arg == "--seed" && k + 1 < argc) seed = std::strtoull(argv[++k], nullptr, 10);
    else if (arg == "--effort" && k + 1 < argc) effort = std::atoll(argv[++k]);
    else path = arg;
  }
  if (path.empty() && randomSize <= 0) {
    std::cerr << "usage: psplib [--rule] [--time-limit S] [--effort STEPS] [--starts FILE] instance.sm | --random N [--seed S] [--whole]\n";
    return 2;
  }
  try {
    const velko::CrewProblem problem = randomSize > 0 ? randomNetwork(randomSize, seed, wholeDays) : velko::readPsplibInstance(path);
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
