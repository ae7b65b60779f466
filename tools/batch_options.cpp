#include "tools/batch_options.h"

#include <iostream>

namespace velko {

namespace {

int usage() {
  std::cerr << "Использование: velko-batch [--optimise] [--report FILE.pdf] [--charts DIR] "
               "DATAFILE\n";
  return 2;
}

}  // namespace

std::optional<int> parseBatchArguments(int argc, char** argv, BatchOptions& options) {
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--optimise") {
      options.optimise = true;
    } else if (arg == "--report") {
      if (k + 1 >= argc || std::string(argv[k + 1]).empty()) return usage();
      options.reportFile = argv[++k];
    } else if (arg == "--charts") {
      if (k + 1 >= argc || std::string(argv[k + 1]).empty()) return usage();
      options.chartsDir = argv[++k];
    } else if (arg == "--help" || arg == "-h") {
      usage();
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
