#pragma once

#include <optional>
#include <string>

namespace velko {

// The batch tool's command line:
// [--optimise] [--smooth FILE.csv] [--crews ID=N[,ID=N...]] [--crews-schedule FILE.csv]
// [--report FILE.pdf] [--charts DIR] DATAFILE.
struct BatchOptions {
  bool optimise = false;
  std::string dataFile;
  std::string smoothFile;
  std::string reportFile;
  std::string chartsDir;
  std::string crewLimits;    // as typed: ID=N[,ID=N...]; read by the full tool
  std::string crewsFile;

  // The crew limits are scheduled with --crews or --crews-schedule (without --crews, the
  // data set's own limits).
  bool limitsCrews() const { return !crewLimits.empty() || !crewsFile.empty(); }

  // The printed report and the pictures need Qt and Graphviz, the smoothing and the crew
  // limits their solvers, which only the full tool (velko-batch-full) loads; velko-batch
  // hands such a run over.
  bool needsFullTool() const {
    return !smoothFile.empty() || !reportFile.empty() || !chartsDir.empty() || limitsCrews();
  }
};

// Reads the arguments into `options`. Returns the exit code when they ask for no run:
// 0 after --help or --version, 2 after the usage line for anything it cannot read.
std::optional<int> parseBatchArguments(int argc, char** argv, BatchOptions& options);

}  // namespace velko
