// velko-batch-full: velko-batch with what needs Qt and Graphviz. After the run it writes,
// with --report FILE.pdf, the printed report of that run as a PDF, laid out as with no
// printer installed (the screen's resolution), and with --charts DIR the pictures of the
// window "Графики" for that run into DIR, with the optimisation log as CSV and PDF.
// velko-batch starts it for such runs; it lives in the program's private folder.
#include <cstdlib>
#include <iostream>
#include <memory>

#include <QGuiApplication>

#include "model/network_model.h"
#include "tools/batch_options.h"
#include "tools/batch_run.h"
#include "ui/charts/chart_export.h"
#include "ui/charts/optimisation_log.h"
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
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
  velko::BatchOptions options;
  if (const auto exitCode = velko::parseBatchArguments(argc, argv, options)) return *exitCode;
  velko::OptimisationLogRecorder log;
  return velko::exitCodeOf([&] {
    velko::runBatchCommand(options, &log);
    if (!options.needsFullTool()) return;
    const auto app = startPainting();
    const velko::TNetworkModel& model = velko::theModel();
    if (!options.reportFile.empty()) {
      velko::writeReportPdf(velko::layOutReportForScreen(model, 750), options.reportFile);
    }
    if (!options.chartsDir.empty()) velko::writeChartFiles(options.chartsDir, model, log.moves, options.optimise);
  });
}
