#include "tools/batch_run.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include "data/data_file.h"
#include "data/file_io.h"
#include "data/text_codec.h"
#include "model/command_error.h"
#include "model/commands.h"
#include "results/results_file.h"

namespace velko {

void runBatchCommand(const BatchOptions& options, OptimisationObserver* observer) {
  TNetworkModel& model = theModel();
  WorksTable table;
  const DataFileContents contents = ReadDataFile(model, options.dataFile, table);
  if (!contents.notice.empty()) std::cerr << contents.notice << "\n";
  // "Данные по работам" takes the counts over from the boxes the open filled in.
  const std::string worksText = std::to_string(model.WorkCount);
  const std::string eventsText = std::to_string(model.EventCount);
  table.setRowCount(model.WorkCount);
  const TableInput input(eventsText, worksText, table);
  if (options.optimise) {
    runOptimise(model, input, kResultsFileName, observer);
  } else {
    runCalculate(model, input, kResultsFileName);
  }
  const std::string text = cp1251ToUtf8(readWholeFile(kResultsFileName));
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

int exitCodeOf(const std::function<void()>& body) {
  try {
    body();
    return 0;
  } catch (const std::exception& error) {  // CommandError carries the exact text
    std::cerr << error.what() << "\n";
    return 1;
  }
}

}  // namespace velko
