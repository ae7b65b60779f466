#include "tools/batch_options.h"

#include <cctype>
#include <iostream>

#include "tools/batch_usage.h"

namespace velko {

namespace {

int usage() {
  std::cerr << batchUsageLine();
  return 2;
}

// The value after an option that takes one; an empty or missing one is a usage error.
bool takeValue(int argc, char** argv, int& k, std::string& value) {
  if (k + 1 >= argc || std::string(argv[k + 1]).empty()) return false;
  value = argv[++k];
  return true;
}

}  // namespace

bool BatchOptions::planIsPdf() const {
  if (planFile.size() < 4) return false;
  std::string ending = planFile.substr(planFile.size() - 4);
  for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ending == ".pdf";
}

std::optional<int> parseBatchArguments(int argc, char** argv, BatchOptions& options) {
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--optimise") {
      options.optimise = true;
    } else if (arg == "--smooth") {
      if (!takeValue(argc, argv, k, options.smoothFile)) return usage();
    } else if (arg == "--reallocate") {
      if (!takeValue(argc, argv, k, options.reallocateFile)) return usage();
    } else if (arg == "--crews") {
      if (!takeValue(argc, argv, k, options.crewLimits)) return usage();
    } else if (arg == "--crews-schedule") {
      if (!takeValue(argc, argv, k, options.crewsFile)) return usage();
    } else if (arg == "--report") {
      if (!takeValue(argc, argv, k, options.reportFile)) return usage();
    } else if (arg == "--export") {
      if (!takeValue(argc, argv, k, options.exportFile)) return usage();
    } else if (arg == "--charts") {
      if (!takeValue(argc, argv, k, options.chartsDir)) return usage();
    } else if (arg == "--plan") {
      if (!takeValue(argc, argv, k, options.planFile)) return usage();
    } else if (arg == "--help" || arg == "-h") {
      std::cout << batchHelpText();
      return 0;
    } else if (arg == "--version") {
      std::cout << batchVersionText();
      return 0;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      std::cerr << "Неизвестный параметр: " << arg << "\n";
      return usage();
    } else if (options.dataFile.empty()) {
      options.dataFile = arg;
    } else {
      return usage();
    }
  }
  if (options.dataFile.empty()) return usage();
  return std::nullopt;
}

}  // namespace velko
