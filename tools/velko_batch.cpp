// velko-batch: Calculate or Optimise a data file as the program does, from the core
// alone, so that a plain run loads nothing of Qt, Graphviz or the solvers. A run that
// asks for the smoothing (--smooth FILE.csv), the reallocation (--reallocate FILE.csv),
// the printed report (--report FILE.pdf), the pictures (--charts DIR) or the calendar plan as PDF is handed over to velko-batch-full, which does the same
// run and then those.
#include "data/file_io.h"
#include "model/network_model.h"
#include "tools/batch_options.h"
#include "tools/batch_plan.h"
#include "tools/batch_run.h"
#include "tools/full_tool.h"

int main(int argc, char** argv) {
  velko::useUsersMessageLanguage();
  velko::BatchOptions options;
  if (const auto exitCode = velko::parseBatchArguments(argc, argv, options)) return *exitCode;
  if (options.needsFullTool()) return velko::handOverToFullTool(argv);
  if (options.planFile.empty()) return velko::runBatch(options, nullptr);
  return velko::runBatch(options, nullptr, [&](velko::SafeFileSet& outputs) {
    velko::addPlanCsv(outputs, options.planFile, velko::batchPlan(velko::theModel(), nullptr));
    return std::string();
  });
}
