// velko-batch-full: velko-batch with what needs Qt, Graphviz and the solvers. After the
// run it smooths the workers profile of the last variant with --smooth FILE.csv (the
// schedule to FILE.csv, one line about it after the results), reallocates the workers
// with --reallocate FILE.csv (the same way); schedules it under crew limits with --crews
// or --crews-schedule FILE.csv (likewise); writes, with --report
// FILE.pdf, the printed report of that run as a PDF, laid out as with no printer
// installed (the screen's resolution); and with --charts DIR the pictures of the window
// "Графики" for that run into DIR, with the optimisation log as CSV and PDF; with --plan
// FILE.csv or FILE.pdf the calendar plan of that run (smoothed after --smooth). velko-batch
// starts it for such runs; it lives in the program's private folder.
#include <clocale>
#include <filesystem>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <map>
#include <optional>

#include <QGuiApplication>

#include "crews/crew_answer_text.h"
#include "data/file_io.h"
#include "exchange/mspdi_reader.h"
#include "exchange/mspdi_writer.h"
#include "exchange/network_from_project.h"
#include "exchange/network_install.h"
#include "model/command_error.h"
#include "model/network_model.h"
#include "model/optimisation.h"
#include "tools/batch_crews.h"
#include "tools/batch_options.h"
#include "tools/batch_run.h"
#include "tools/batch_plan.h"
#include "tools/batch_reallocation.h"
#include "tools/batch_smoothing.h"
#include "ui/charts/chart_export.h"
#include "ui/report/plan_pdf.h"
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
  velko::BatchReader reader;
  if (options.projectXmlInput()) {
    // The whole file is read and converted before the model changes; the report goes
    // to stderr, as the window shows it after an open.
    reader = [&](velko::TNetworkModel& model, velko::WorksTable& table) {
      const velko::ImportedNetwork network =
          velko::networkFromProject(velko::readProjectXmlFile(options.dataFile), options.dataFile);
      velko::installNetwork(network, model, table);
      velko::DataFileContents contents;
      contents.notice = network.report;
      return contents;
    };
  }
  return velko::runBatch(options, &log, [&](velko::SafeFileSet& outputs) {
    const velko::TNetworkModel& model = velko::theModel();
    std::string printed;
    if (!options.exportFile.empty()) {
      outputs.add(options.exportFile,
                  velko::projectXmlText(model, model.Extras, std::filesystem::path(options.exportFile).stem().string()));
    }
    std::optional<velko::LevellingResult> smoothing;
    if (!options.smoothFile.empty()) {
      smoothing = velko::smoothLastVariant(model);
      const auto calendar = velko::dataSetCalendar(model.Extras);
      outputs.add(options.smoothFile, velko::smoothingCsv(*smoothing, calendar ? &*calendar : nullptr));
      printed += velko::smoothingSummary(*smoothing) + "\n";
    }
    std::shared_ptr<const velko::TNetworkModel> reallocated;
    if (!options.reallocateFile.empty()) {
      const velko::ReallocationResult reallocation = velko::reallocateRun(model);
      outputs.add(options.reallocateFile, velko::reallocationCsv(reallocation));
      printed += velko::reallocationSummary(reallocation) + "\n";
      if (!options.chartsDir.empty()) reallocated = velko::reallocatedModel(model, reallocation);
    }
    std::optional<velko::CrewAnswer> crews;
    if (options.limitsCrews()) {
      crews = velko::limitLastVariantCrews(model, crewLimits);
      if (!options.crewsFile.empty()) {
        const auto calendar = velko::dataSetCalendar(model.Extras);
        outputs.add(options.crewsFile, velko::crewScheduleCsv(*crews, calendar ? &*calendar : nullptr));
      }
      printed += velko::crewSummary(*crews) + "\n";
    }
    std::optional<velko::CalendarPlan> plan;
    if (!options.planFile.empty()) {
      // After a smoothing the plan shows the smoothed starts, as the window does.
      std::map<std::pair<int, int>, velko::Extended> starts;
      if (smoothing)
        for (const velko::LevelledWork& w : smoothing->works) starts[{w.I, w.J}] = w.start;
      plan = velko::batchPlan(model, smoothing ? &starts : nullptr);
      if (!options.planIsPdf()) velko::addPlanCsv(outputs, options.planFile, *plan);
    }
    if (!options.reportFile.empty() || !options.chartsDir.empty() || options.planIsPdf()) {
      const auto app = startPainting();
      if (!options.reportFile.empty()) {
        // Painted page by page into the temporary file: a report of any length takes the
        // memory of a page.
        outputs.add(options.reportFile, [&](velko::SafeFileWriter& out) {
          velko::streamReportPdf(velko::screenReportJob(model, 750), out, nullptr);
        });
      }
      if (options.planIsPdf()) {
        const QByteArray pdf = velko::calendarPlanPdf(*plan);
        outputs.add(options.planFile, std::string(pdf.constData(), static_cast<std::size_t>(pdf.size())));
      }
      if (!options.chartsDir.empty()) {
        printed += velko::writeChartFiles(outputs, options.chartsDir, model, log.moves, options.optimise,
                                          smoothing ? &*smoothing : nullptr, crews ? &*crews : nullptr,
                                          reallocated.get());
      }
    }
    return printed;
  }, reader);
}
