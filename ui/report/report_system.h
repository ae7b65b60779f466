#pragma once

#include <memory>
#include <string>

#include <QDialog>
#include <QObject>
#include <QWidget>

#include "model/network_model.h"
#include "report/print_report.h"
#include "report/report_pages.h"

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;

namespace velko {

inline constexpr int kReportPrintHeight = 750;
inline constexpr int kReportPreviewZoom = 120;

// The preview of one run: the stored pages at a zoom in per cent, shown maximised and
// modal. Printing first opens the setup dialog, then prints the pages already laid out.
class TReportPreview : public QDialog {
  Q_OBJECT
 public:
  TReportPreview(QPrinter& printer, const TReportPages& pages, int zoomPercent,
                 QWidget* parent = nullptr);

  QPrintPreviewWidget* preview() const { return preview_; }
  int zoomPercent() const;

  void PrintClick();

 private:
  void paintPages(QPrinter* printer);
  void turnPage(int step);
  void showPage();
  void showZoom();

  QPrinter& printer_;
  const TReportPages& pages_;
  QPrintPreviewWidget* preview_;
  QLabel* zoomLabel_;
  QLabel* pageLabel_;
};

// The report system: one layout pass per run into stored pages, then the preview. The
// output device is the default printer, or the screen's resolution when none is
// installed.
class TReportSystem : public QObject {
  Q_OBJECT
 public:
  explicit TReportSystem(QObject* parent = nullptr);
  ~TReportSystem() override;

  // Lays out the report of the model and shows the preview until the user closes it.
  // A CommandError of the layout reaches the caller before any window opens.
  void Execute(QWidget* parent, const TNetworkModel& model, int printHeight, int previewZoom);

  int ZoomFactor = kReportPreviewZoom;  // per cent, as the last layout set it
  const TReportPages& pages() const { return pages_; }
  QPrinter* printer() const { return printer_.get(); }

 private:
  std::unique_ptr<QPrinter> printer_;
  TReportPages pages_;
};

// The owner of the printed report: holds the report system, never shown.
class TPrint_form : public QWidget {
  Q_OBJECT
 public:
  explicit TPrint_form(QWidget* parent = nullptr);
  TReportSystem* ReportSystem1;
};

// The one owner, made at the first printed report (ui/late_windows.h).
extern TPrint_form* Print_form;

// Runs the printed report of the model: preview, and from it printing. Uses Print_form's
// report system when the owner exists.
void runPrintedReport(QWidget* parent, const TNetworkModel& model,
                      int printHeight = kReportPrintHeight, int previewZoom = kReportPreviewZoom);

}  // namespace velko
