#include "ui/late/late_windows_impl.h"

#include "ui/charts/charts_form.h"
#include "ui/report/report_system.h"

namespace velko {

namespace {

class ChartsAndReport : public LateWindows {
 public:
  QWidget* createChartsWindow(QWidget* parent) override { return new TCharts_form(parent); }

  void showRun(QWidget* chartsWindow, const ChartsRun& run) override {
    static_cast<TCharts_form*>(chartsWindow)->showRun(run);
  }

  void runPrintedReport(QWidget* parent, const TNetworkModel& model, int printHeight, int previewZoom) override {
    if (!Print_form) Print_form = new TPrint_form(parent ? parent->window() : nullptr);
    velko::runPrintedReport(parent, model, printHeight, previewZoom);
  }
};

}  // namespace

LateWindows& linkedLateWindows() {
  static ChartsAndReport windows;
  return windows;
}

}  // namespace velko
