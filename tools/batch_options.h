#pragma once

#include <optional>
#include <string>

namespace velko {

// The batch tool's command line:
// [--optimise] [--smooth FILE.csv] [--reallocate FILE.csv] [--crews ID=N[,ID=N...]]
// [--crews-schedule FILE.csv] [--report FILE.pdf] [--charts DIR] [--plan FILE.csv|FILE.pdf]
// [--export OUT.xml] DATAFILE, where DATAFILE may also be a Project XML file (*.xml).
struct BatchOptions {
  bool optimise = false;
  std::string dataFile;
  std::string smoothFile;
  std::string reallocateFile;
  std::string reportFile;
  std::string chartsDir;
  std::string exportFile;  // the computed network as Project XML
  std::string planFile;    // "Календарный план": CSV, or PDF by the name's ending
  std::string crewLimits;  // as typed: ID=N[,ID=N...]; read by the full tool
  std::string crewsFile;

  bool projectXmlInput() const {
    return dataFile.size() >= 4 && (dataFile.ends_with(".xml") || dataFile.ends_with(".XML"));
  }
  // The crew limits are scheduled with --crews or --crews-schedule (without --crews, the
  // data set's own limits).
  bool limitsCrews() const { return !crewLimits.empty() || !crewsFile.empty(); }

  // The printed report and the pictures need Qt and Graphviz, the smoothing, the
  // reallocation and the crew limits their solvers, which only the full tool
  // (velko-batch-full) loads; velko-batch hands such a run over. Project XML is read and
  // written with Qt's XML classes, so it goes there too.
  bool needsFullTool() const {
    return !smoothFile.empty() || !reallocateFile.empty() || !reportFile.empty() || !chartsDir.empty() ||
           !exportFile.empty() || projectXmlInput() || planIsPdf() || limitsCrews();
  }
  bool planIsPdf() const;
};

// Reads the arguments into `options`. Returns the exit code when they ask for no run:
// 0 after --help or --version, 2 after the usage line for anything it cannot read.
std::optional<int> parseBatchArguments(int argc, char** argv, BatchOptions& options);

}  // namespace velko
