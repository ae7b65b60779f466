#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <QByteArray>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>

#include "model/network_model.h"
#include "report/page_surface.h"
#include "report/print_report.h"
#include "report/report_pages.h"

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace velko {

// Resolution of the layout when no printer is installed: the screen's.
inline constexpr int kScreenDotsPerInch = 96;

// The Qt font of a stored font; unhinted, so widths measured at one resolution hold
// at another.
QFont reportFont(const TFontSpec& fontSpec);

// Text metrics of an output device, in millimetres.
class TQtTextMeasure : public TTextMeasure {
 public:
  explicit TQtTextMeasure(const QPaintDevice* device) : device_(device) {}
  double textWidth(const TFontSpec& font, std::string_view text) const override;
  double descent(const TFontSpec& font) const override;

 private:
  const QFontMetricsF& metrics(const TFontSpec& font) const;
  const QPaintDevice* device_;
  mutable std::map<std::string, QFontMetricsF> cache_;
};

// One layout pass of the report into stored pages, measured on `device`, for a page of
// the given size in millimetres laid out at `dotsPerInch`. Throws CommandError when the
// model's counts pass its tables.
TReportPages layOutReport(const TNetworkModel& model, const QPaintDevice* device,
                          double pageWidth, double pageHeight, int dotsPerInch,
                          int printHeight, int previewZoom);

// The same for the screen's resolution on an A4 page, as with no printer installed.
TReportPages layOutReportForScreen(const TNetworkModel& model, int printHeight,
                                   int previewZoom = 120);

// Paints stored pages, from `fromPage` to `toPage` (1-based, 0 for the last), on a
// printer, a preview or a PDF writer, scaled from millimetres to the device's dots.
// Returns false when the device cannot be painted on.
bool renderReportPages(const TReportPages& pages, QPagedPaintDevice& device, int fromPage = 1,
                       int toPage = 0);

// The stored pages as a PDF document, on pages of their own size.
QByteArray reportPdf(const TReportPages& pages);

// Writes the PDF through a temporary file renamed over `path` once complete; a failure
// throws CommandError with the runtime's message and leaves an earlier file intact.
void writeReportPdf(const TReportPages& pages, const std::string& path);

struct BackgroundProgress;
class SafeFileWriter;

// What one layout of the report needs. The model must not change while a layout of it
// runs, on whichever thread.
struct TReportJob {
  const TNetworkModel* model = nullptr;
  double pageWidth = 210;  // millimetres
  double pageHeight = 297;
  int dotsPerInch = kScreenDotsPerInch;
  int printHeight = 750;
  int previewZoom = 120;
};

// The job of an A4 page at the screen's resolution, as with no printer installed.
TReportJob screenReportJob(const TNetworkModel& model, int printHeight, int previewZoom = 120);

// Thrown by a page sink to stop a layout the user cancelled.
struct TReportCancelled {};

// Text metrics on a device of the job's resolution owned by the measure, so that each
// thread measures on its own device.
class TOwnTextMeasure : public TTextMeasure {
 public:
  explicit TOwnTextMeasure(int dotsPerInch);
  TOwnTextMeasure(const TOwnTextMeasure&) = delete;  // the measure points at the device
  TOwnTextMeasure& operator=(const TOwnTextMeasure&) = delete;
  double textWidth(const TFontSpec& font, std::string_view text) const override;
  double descent(const TFontSpec& font) const override;

 private:
  QImage device_;
  TQtTextMeasure measure_;
};

// Lays the report out from the page `from` begins on, handing each page to `sink` as it
// ends (the pages before `from.page` are not handed on); `starts` learns where each
// later page begins. Returns the number of the last page; a sink may throw to stop.
int layOutReportFrom(const TReportJob& job, const TTextMeasure& measure, const TReportResume& from,
                     const TPageSink& sink, const TPageStarts& starts = {});

// The one page that begins at `start`.
TReportPage layOutReportPage(const TReportJob& job, const TTextMeasure& measure, const TReportResume& start);

// How far into the report's rows a page start lies, and the rows of the whole report:
// the progress of a layout.
int reportRowsBefore(const TNetworkModel& model, const TReportResume& at);
int reportRows(const TNetworkModel& model);

// Paints one stored page with `scale` dots per millimetre.
void paintReportPage(QPainter& painter, const TReportPage& page, double scale);

// The whole report as a PDF, painted page by page as the layout makes them, so the
// memory does not grow with the pages. `progress` (may be null) counts rows and may
// cancel (TReportCancelled). A FileWriteError of `out` is thrown after the painting.
// Returns the number of pages.
int streamReportPdf(const TReportJob& job, SafeFileWriter& out, BackgroundProgress* progress);

// The same through a temporary file renamed over `path` once complete; cancelled or
// failed, it leaves no file and an earlier file intact. Returns the pages, 0 when
// cancelled.
int writeReportPdf(const TReportJob& job, const std::string& path, BackgroundProgress* progress = nullptr);

// The pages of a report for the preview: a thread walks the whole report once and keeps
// only where each page begins; a page shown is laid out again from its start, on the
// calling thread, and a few are kept.
class TReportDocument {
 public:
  explicit TReportDocument(const TReportJob& job);
  ~TReportDocument();  // stops the walk
  TReportDocument(const TReportDocument&) = delete;
  TReportDocument& operator=(const TReportDocument&) = delete;

  const TReportJob& job() const { return job_; }
  int knownPages() const;  // pages whose start is known so far, at least 1
  bool complete() const { return complete_; }
  // Waits for the walk to end, at most `milliseconds`; true when it has ended.
  bool waitComplete(int milliseconds) const;
  std::exception_ptr failure() const;
  // The start of a page, or of the last known page before it.
  TReportResume startOf(int page) const;
  // Page 1 to knownPages().
  const TReportPage& page(int number);

 private:
  void walk();
  TReportJob job_;
  TOwnTextMeasure measure_;
  mutable std::mutex mutex_;
  mutable std::condition_variable ended_;
  std::vector<TReportResume> starts_;
  std::exception_ptr failure_;
  std::atomic<bool> complete_{false};
  std::atomic<bool> stop_{false};
  std::list<std::pair<int, TReportPage>> cache_;  // most recent first
  std::thread thread_;
};

}  // namespace velko
