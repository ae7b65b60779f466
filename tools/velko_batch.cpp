// velko-batch: what the program does when a freshly started copy opens a data file
// ("Открыть ...", which takes the counts over) and presses "Расчет" or, with
// --optimise, "Оптимизация". Writes velko.rez into the current directory and prints
// its text in UTF-8; on an error prints the error box's message and exits 1.
#include <cstdio>
#include <iostream>
#include <string>

#include "data/data_file.h"
#include "data/file_io.h"
#include "data/text_codec.h"
#include "model/command_error.h"
#include "model/commands.h"
#include "results/results_file.h"

namespace {

int usage() {
  std::cerr << "Использование: velko-batch [--optimise] DATAFILE\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool optimise = false;
  std::string dataFile;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--optimise") {
      optimise = true;
    } else if (arg == "--help" || arg == "-h") {
      usage();
      return 0;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      std::cerr << "Неизвестный параметр: " << arg << "\n";
      return usage();
    } else if (dataFile.empty()) {
      dataFile = arg;
    } else {
      return usage();
    }
  }
  if (dataFile.empty()) return usage();

  try {
    velko::TNetworkModel& model = velko::theModel();
    velko::WorksTable table;
    const velko::DataFileContents contents = velko::ReadDataFile(model, dataFile, table);
    if (!contents.notice.empty()) std::cerr << contents.notice << "\n";
    // "Данные по работам" takes the counts over from the boxes the open filled in.
    const std::string worksText = std::to_string(model.WorkCount);
    const std::string eventsText = std::to_string(model.EventCount);
    table.setRowCount(model.WorkCount);
    const velko::TableInput input(eventsText, worksText, table);
    if (optimise) {
      velko::runOptimise(model, input, velko::kResultsFileName);
    } else {
      velko::runCalculate(model, input, velko::kResultsFileName);
    }
    const std::string text = velko::cp1251ToUtf8(velko::readWholeFile(velko::kResultsFileName));
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return 0;
  } catch (const velko::CommandError& error) {
    std::cerr << error.what() << "\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
}
