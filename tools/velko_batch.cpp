// velko-batch: what the program does when a freshly started copy opens a data file
// ("Открыть ...", which takes the counts over) and presses "Расчет" or, with
// --optimise, "Оптимизация". Writes velko.rez into the current directory and prints
// its text in UTF-8; on an error prints the error box's message and exits 1. With
// --report FILE.pdf it then writes the printed report of that run as a PDF, laid out as
// with no printer installed (the screen's resolution); with --charts DIR it writes the
// pictures of the window "Графики" for that run into DIR, and the optimisation log as
// CSV. With --smooth FILE.csv it smooths the workers profile of the last variant,
// writes the schedule to FILE.csv and prints one line about it after the results.
// Earlier files are replaced only once every requested output has been made.
#include <fcntl.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <optional>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "data/data_file.h"
#include "data/file_io.h"
#include "data/text_codec.h"
#include "model/command_error.h"
#include "model/commands.h"
#include "results/results_file.h"
#include "tools/batch_usage.h"
#include "tools/batch_smoothing.h"

#ifdef VELKO_BATCH_QT
#include <memory>

#include <QGuiApplication>

#include "ui/charts/chart_export.h"
#include "ui/charts/optimisation_log.h"
#include "ui/report/report_pages_qt.h"
#endif

namespace {

int usage() {
  std::cerr << velko::batchUsageLine();
  return 2;
}

#ifdef VELKO_BATCH_QT
// The report and the pictures need fonts and painting, not a display.
std::unique_ptr<QGuiApplication> startPainting() {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "velko-batch";
  static char* argv[] = {name, nullptr};
  // Qt's notes about the session (no runtime folder and the like) are not the tool's
  // messages: stderr carries only what went wrong.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << "\n";
  });
  auto app = std::make_unique<QGuiApplication>(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // the application switched it to the user's locale
  return app;
}
#endif

// Standard output that cannot be written (a full device, a closed pipe end) fails the
// run as any other output does.
bool printResults(const std::string& text) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) return true;
  std::cerr << "Не удалось записать стандартный вывод: " << velko::fileErrorMessage(errno, false) << "\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // Past a file size limit a write must fail with a message, not kill the tool and
  // leave its temporary file behind.
  std::signal(SIGXFSZ, SIG_IGN);
  // A closed standard output would be taken over by the first file opened.
  if (::fcntl(STDOUT_FILENO, F_GETFD) < 0) {
    std::cerr << "Не удалось записать стандартный вывод: он закрыт\n";
    return 1;
  }
  bool optimise = false;
  std::string dataFile;
  std::string reportFile;
  std::string chartsDir;
  std::string smoothFile;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--optimise") {
      optimise = true;
    } else if (arg == "--report") {
      if (k + 1 >= argc || std::string(argv[k + 1]).empty()) return usage();
      reportFile = argv[++k];
    } else if (arg == "--charts") {
      if (k + 1 >= argc || std::string(argv[k + 1]).empty()) return usage();
      chartsDir = argv[++k];
    } else if (arg == "--smooth") {
      if (k + 1 >= argc || std::string(argv[k + 1]).empty()) return usage();
      smoothFile = argv[++k];
    } else if (arg == "--help" || arg == "-h") {
      std::cout << velko::batchHelpText();
      return 0;
    } else if (arg == "--version") {
      std::cout << velko::batchVersionText();
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
#ifndef VELKO_BATCH_QT
  if (!reportFile.empty() || !chartsDir.empty()) {
    std::cerr << "Отчет в PDF и графики недоступны: velko-batch собран без Qt\n";
    return 2;
  }
#endif

  velko::DataFileContents contents;
  try {
    velko::TNetworkModel& model = velko::theModel();
    velko::WorksTable table;
    contents = velko::ReadDataFile(model, dataFile, table);
    if (!contents.notice.empty()) std::cerr << contents.notice << "\n";
    // "Данные по работам" takes the counts over from the boxes the open filled in.
    const std::string worksText = std::to_string(model.WorkCount);
    const std::string eventsText = std::to_string(model.EventCount);
    table.setRowCount(model.WorkCount);
    const velko::TableInput input(eventsText, worksText, table);
#ifdef VELKO_BATCH_QT
    velko::OptimisationLogRecorder log;
    velko::OptimisationObserver* observer = &log;
#else
    velko::OptimisationObserver* observer = nullptr;
#endif
    if (optimise) {
      velko::optimiseVariants(model, input, observer);
    } else {
      velko::calculateVariants(model, input);
    }
    // Every requested output is made before any earlier file is replaced.
    velko::SafeFileSet outputs;
    std::string text = velko::resultsText(model, model.Optimised == 1);
    outputs.add(velko::kResultsFileName, velko::utf8ToCp1251(text));
    std::optional<velko::LevellingResult> smoothing;
    if (!smoothFile.empty()) {
      smoothing = velko::smoothLastVariant(model);
      outputs.add(smoothFile, velko::smoothingCsv(*smoothing));
      text += velko::smoothingSummary(*smoothing) + "\n";
    }
#ifdef VELKO_BATCH_QT
    if (!reportFile.empty() || !chartsDir.empty()) {
      const auto app = startPainting();
      if (!reportFile.empty()) {
        const QByteArray pdf = velko::reportPdf(velko::layOutReportForScreen(model, 750));
        outputs.add(reportFile, std::string(pdf.constData(), static_cast<std::size_t>(pdf.size())));
      }
      if (!chartsDir.empty()) {
        velko::writeChartFiles(outputs, chartsDir, model, log.moves, optimise, smoothing ? &*smoothing : nullptr);
      }
    }
#endif
    if (!printResults(text)) return 1;
    outputs.commit();
    return 0;
  } catch (const velko::CellError& error) {
    // The rows were read from the file and ordered by their events: name the file's line.
    const std::size_t row = static_cast<std::size_t>(error.row - 1);
    if (row < contents.rowLines.size()) {
      std::cerr << dataFile << ", строка " << contents.rowLines[row] << ", поле " << velko::columnName(error.column)
                << ": " << error.reason << "\n";
    } else {
      std::cerr << error.what() << "\n";
    }
    return 1;
  } catch (const velko::CommandError& error) {
    std::cerr << error.what() << "\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
}
