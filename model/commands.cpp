#include "model/commands.h"

#include "model/optimisation.h"
#include "model/time_parameters.h"
#include "results/results_file.h"

namespace velko {

void calculateVariants(TNetworkModel& m, const WorksInput& input, LoadWarnings* warnings) {
  LoadModel(m, input, warnings);
  ClearComputed(m);
  ClearVariants(m);
  ComputeTimeParameters(m);
  m.Optimised = 0;
  m.LengthBefore = m.CritPathLength;
  m.CritCountBefore = m.CritWorkCount;
  RecordVariant(m, 1, m.CritCountBefore);
}

void optimiseVariants(TNetworkModel& m, const WorksInput& input, OptimisationObserver* observer,
                      LoadWarnings* warnings) {
  LoadModel(m, input, warnings);
  ClearComputed(m);
  ComputeTimeParameters(m);
  m.LengthBefore = m.CritPathLength;
  m.CritCountBefore = m.CritWorkCount;
  RecordVariant(m, 1, m.CritCountBefore);
  m.Events.clear();  // the optimisation walks the critical path just computed
  OptimiseLabour(m, observer);
  ComputeTimeParameters(m);  // no reset before it, as the command has always done
  m.Optimised = 1;
  m.LengthAfter = m.CritPathLength;
  m.CritCountAfter = m.CritWorkCount;
  RecordVariant(m, 2, m.CritCountAfter);
}

void runCalculate(TNetworkModel& m, const WorksInput& input, const std::string& resultsFile,
                  LoadWarnings* warnings) {
  calculateVariants(m, input, warnings);
  WriteResultsFile(m, resultsFile);
}

void runOptimise(TNetworkModel& m, const WorksInput& input, const std::string& resultsFile,
                 OptimisationObserver* observer, LoadWarnings* warnings) {
  optimiseVariants(m, input, observer, warnings);
  WriteResultsFile(m, resultsFile);  // sets Optimised to 0 as it writes variant 2
  m.Optimised = 1;
}

}  // namespace velko
