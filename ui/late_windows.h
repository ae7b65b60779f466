#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/network_model.h"
#include "model/optimisation.h"
#include "ui/options/solver_options.h"

class QWidget;

namespace velko {

// The window "Графики" and the printed report, which alone need Graphviz, Qt Svg and Qt
// PrintSupport, live in a module (libvelko_charts_report.so) loaded when one of them is
// first used, so that the program starts without those libraries.
// What "Графики" shows: the last run of the data set loaded. The model is a copy taken
// when the run was made, so that a later "Открыть ..." or edit cannot mix into it.
struct ChartsRun {
  std::shared_ptr<const TNetworkModel> model;  // null: the data set loaded has no run
  std::vector<OptimisationMove> log;
  bool dataChanged = false;  // the data set was edited since the run
  // The options dialog's search time of "Перераспределение", as it stands now.
  std::int32_t reallocationSeconds = kDefaultReallocationSeconds;
};

class LateWindows {
 public:
  virtual ~LateWindows() = default;

  // A new window "Графики", owned by `parent`; hidden, showing no run.
  virtual QWidget* createChartsWindow(QWidget* parent) = 0;
  // Hands the window the run to show.
  virtual void showRun(QWidget* chartsWindow, const ChartsRun& run) = 0;
  // The printed report of the model: lays it out and shows the preview, from which the
  // user prints. Its owner (Print_form) is made over parent's window on first use.
  virtual void runPrintedReport(QWidget* parent, const TNetworkModel& model, int printHeight,
                                int previewZoom) = 0;
};

// The module's entry point: returns its one implementation.
inline constexpr const char* kLateWindowsEntry = "velkoLateWindows";
inline constexpr const char* kLateWindowsModule = "libvelko_charts_report.so";

// The implementation, from the module found by privatePartPlaces() next to the
// running program, loaded on the first call. Throws CommandError when the module
// cannot be loaded.
LateWindows& lateWindows();

// Loads the module from the places of an executable in `executableDir`.
LateWindows& loadLateWindows(const std::string& executableDir);

// Replaces the module by an implementation linked in (tests); nullptr goes back.
void useLateWindows(LateWindows* windows);

}  // namespace velko
