// velko-batch: what the program does when a freshly started copy opens a data file
// ("Открыть ...", which takes the counts over) and presses "Расчет" or, with
// --optimise, "Оптимизация". Writes velko.rez into the current directory and prints
// its text in UTF-8; on an error prints the error box's message and exits 1. With
// --report FILE.pdf it then writes the printed report of that run as a PDF, laid out as
// with no printer installed (the screen's resolution); with --charts DIR it writes the
// pictures of the window "Графики" for that run into DIR, and the optimisation log as
// CSV. With --smooth FILE.csv it smooths the workers profile of the last variant,
// writes the schedule to FILE.csv and prints one line about it after the results.
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
  std::cerr << "Использование: velko-batch [--optimise] [--smooth FILE.csv] [--report FILE.pdf] [--charts DIR] "
               "DATAFILE\n";
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
  return std::make_unique<QGuiApplication>(argc, argv);
}
#endif

}  // namespace

int main(int argc, char** argv) {
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
#ifndef VELKO_BATCH_QT
  if (!reportFile.empty() || !chartsDir.empty()) {
    std::cerr << "Отчет в PDF и графики недоступны: velko-batch собран без Qt\n";
    return 2;
  }
#endif

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
#ifdef VELKO_BATCH_QT
    velko::OptimisationLogRecorder log;
    velko::OptimisationObserver* observer = &log;
#else
    velko::OptimisationObserver* observer = nullptr;
#endif
    if (optimise) {
      velko::runOptimise(model, input, velko::kResultsFileName, observer);
    } else {
      velko::runCalculate(model, input, velko::kResultsFileName);
    }
    const std::string text = velko::cp1251ToUtf8(velko::readWholeFile(velko::kResultsFileName));
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    std::optional<velko::LevellingResult> smoothing;
    if (!smoothFile.empty()) {
      smoothing = velko::writeSmoothing(model, smoothFile);
      std::cout << velko::smoothingSummary(*smoothing) << std::endl;
    }
#ifdef VELKO_BATCH_QT
    if (!reportFile.empty() || !chartsDir.empty()) {
      const auto app = startPainting();
      if (!reportFile.empty())
        velko::writeReportPdf(velko::layOutReportForScreen(model, 750), reportFile);
      if (!chartsDir.empty()) {
        velko::writeChartFiles(chartsDir, model, log.moves, optimise, smoothing ? &*smoothing : nullptr);
      }
    }
#endif
    return 0;
  } catch (const velko::CommandError& error) {
    std::cerr << error.what() << "\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
}
