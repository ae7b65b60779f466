// velko-batch-full: velko-batch with what needs Qt, Graphviz and the solvers. After the
// run it smooths the workers profile of the last variant with --smooth FILE.csv (the
// schedule to FILE.csv, one line about it after the results); schedules it under crew
// limits with --crews or --crews-schedule FILE.csv (likewise); writes, with --report
// FILE.pdf, the printed report of that run as a PDF, laid out as with no printer
// installed (the screen's resolution); and with --charts DIR the pictures of the window
// "Графики" for that run into DIR, with the optimisation log as CSV and PDF. velko-batch
// starts it for such runs; it lives in the program's private folder.
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <map>
#include <optional>

#include <QGuiApplication>

#include "crews/crew_answer_text.h"
#include "data/file_io.h"
#include "model/command_error.h"
#include "model/network_model.h"
#include "model/optimisation.h"
#include "tools/batch_crews.h"
#include "tools/batch_options.h"
#include "tools/batch_run.h"
#include "tools/batch_smoothing.h"
#include "ui/charts/chart_export.h"
#include "ui/report/report_pages_qt.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
  velko::useUsersMessageLanguage();
  velko::BatchOptions options;
  if (const auto exitCode = velko::parseBatchArguments(argc, argv, options)) return *exitCode;
  std::optional<std::map<int, long long>> crewLimits;
  try {
    crewLimits = velko::batchCrewLimits(options);
  } catch (const velko::CommandError& error) {
    std::cerr << error.what() << "\n";
    return 2;
  }
  velko::OptimisationLogRecorder log;
  return velko::runBatch(options, &log, [&](velko::SafeFileSet& outputs) {
    const velko::TNetworkModel& model = velko::theModel();
    std::string printed;
    std::optional<velko::LevellingResult> smoothing;
    if (!options.smoothFile.empty()) {
      smoothing = velko::smoothLastVariant(model);
      outputs.add(options.smoothFile, velko::smoothingCsv(*smoothing));
      printed += velko::smoothingSummary(*smoothing) + "\n";
    }
    std::optional<velko::CrewAnswer> crews;
    if (options.limitsCrews()) {
      crews = velko::limitLastVariantCrews(model, crewLimits);
      if (!options.crewsFile.empty()) outputs.add(options.crewsFile, velko::crewScheduleCsv(*crews));
      printed += velko::crewSummary(*crews) + "\n";
    }
    if (!options.reportFile.empty() || !options.chartsDir.empty()) {
      const auto app = startPainting();
      if (!options.reportFile.empty()) {
        // Painted page by page into the temporary file: a report of any length takes the
        // memory of a page.
        outputs.add(options.reportFile, [&](velko::SafeFileWriter& out) {
          velko::streamReportPdf(velko::screenReportJob(model, 750), out, nullptr);
        });
      }
      if (!options.chartsDir.empty()) {
        printed += velko::writeChartFiles(outputs, options.chartsDir, model, log.moves, options.optimise,
                                          smoothing ? &*smoothing : nullptr, crews ? &*crews : nullptr);
      }
    }
    return printed;
  });
}
