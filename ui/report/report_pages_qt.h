#pragma once

#include <map>
#include <string>

#include <QByteArray>
#include <QFont>
#include <QFontMetricsF>

#include "model/network_model.h"
#include "report/report_pages.h"

class QPagedPaintDevice;
class QPaintDevice;

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

}  // namespace velko
