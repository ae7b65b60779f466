#include "tools/batch_run.h"

#include <fcntl.h>
#include <libintl.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include "data/data_file.h"
#include "data/file_io.h"
#include "data/text_codec.h"
#include "model/command_error.h"
#include "model/commands.h"
#include "model/load_model.h"
#include "results/results_file.h"

namespace velko {

namespace {

// Standard output that cannot be written (a full device, a closed pipe end) fails the
// run as any other output does.
bool printResults(const std::string& text) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) return true;
  std::cerr << "Не удалось записать стандартный вывод: " << fileErrorMessage(errno, false) << "\n";
  return false;
}

}  // namespace

int runBatch(const BatchOptions& options, OptimisationObserver* observer, const BatchOutputs& moreOutputs,
             const BatchReader& reader) {
  // Past a file size limit a write must fail with a message, not kill the tool and
  // leave its temporary file behind.
  std::signal(SIGXFSZ, SIG_IGN);
  // A closed standard output would be taken over by the first file opened.
  if (::fcntl(STDOUT_FILENO, F_GETFD) < 0) {
    std::cerr << "Не удалось записать стандартный вывод: он закрыт\n";
    return 1;
  }
  DataFileContents contents;
  try {
    TNetworkModel& model = theModel();
    WorksTable table;
    contents = reader ? reader(model, table) : ReadDataFile(model, options.dataFile, table);
    if (!contents.notice.empty()) std::cerr << contents.notice << "\n";
    // "Данные по работам" takes the counts over from the boxes the open filled in.
    const std::string worksText = std::to_string(model.WorkCount);
    const std::string eventsText = std::to_string(model.EventCount);
    table.setRowCount(model.WorkCount);
    const TableInput input(eventsText, worksText, table);
    LoadWarnings warnings;
    if (options.optimise) {
      optimiseVariants(model, input, observer, &warnings);
    } else {
      calculateVariants(model, input, &warnings);
    }
    if (const std::string text = warnings.text(); !text.empty()) std::cerr << text << "\n";
    SafeFileSet outputs;
    std::string text = resultsText(model, model.Optimised == 1);
    try {
      outputs.add(kResultsFileName, utf8ToCp1251(text));
    } catch (const FileWriteError& error) {
      throw CommandError(fileWriteFailure("файл результатов", kResultsFileName, error.error(),
                                          "Файл результатов записывается в текущую папку: запустите velko-batch "
                                          "из папки, где разрешена запись."));
    }
    if (moreOutputs) text += moreOutputs(outputs);
    if (!printResults(text)) return 1;
    outputs.commit();
    return 0;
  } catch (const CellError& error) {
    // The rows were read from the file and ordered by their events: name the file's line.
    const std::size_t row = static_cast<std::size_t>(error.row - 1);
    if (row < contents.rowLines.size()) {
      std::cerr << options.dataFile << ", строка " << contents.rowLines[row] << ", поле " << columnName(error.column)
                << ": " << error.reason << "\n";
    } else {
      std::cerr << error.what() << "\n";
    }
    return 1;
  } catch (const std::exception& error) {  // CommandError carries the exact text
    std::cerr << error.what() << "\n";
    return 1;
  }
}

void useUsersMessageLanguage() {
  std::setlocale(LC_MESSAGES, "");
  bind_textdomain_codeset("libc", "UTF-8");
}

}  // namespace velko
