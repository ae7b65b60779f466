#pragma once

#include <optional>
#include <string>

namespace velko {

// The batch tool's command line:
// [--optimise] [--smooth FILE.csv] [--report FILE.pdf] [--charts DIR] [--plan FILE.csv|FILE.pdf] DATAFILE.
struct BatchOptions {
  bool optimise = false;
  std::string dataFile;
  std::string smoothFile;
  std::string reportFile;
  std::string chartsDir;
  std::string planFile;  // "Календарный план": CSV, or PDF by the name's ending

  // The printed report and the pictures need Qt and Graphviz, the smoothing its solvers,
  // which only the full tool (velko-batch-full) loads; velko-batch hands such a run over.
  bool needsFullTool() const {
    return !smoothFile.empty() || !reportFile.empty() || !chartsDir.empty() || planIsPdf();
  }
  bool planIsPdf() const;
};

// Reads the arguments into `options`. Returns the exit code when they ask for no run:
// 0 after --help or --version, 2 after the usage line for anything it cannot read.
std::optional<int> parseBatchArguments(int argc, char** argv, BatchOptions& options);

}  // namespace velko
