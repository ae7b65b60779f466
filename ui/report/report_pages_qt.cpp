#include "ui/report/report_pages_qt.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

#include "data/file_io.h"
#include "model/command_error.h"
#include "report/page_surface.h"
#include "report/print_report.h"

namespace velko {

namespace {

// PDF output keeps the rules and text positions to a hundredth of a millimetre.
constexpr int kPdfDotsPerInch = 1200;

QString qText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::PenStyle penStyle(TPenStyle style) {
  switch (style) {
    case TPenStyle::Solid: return Qt::SolidLine;
    case TPenStyle::Dash: return Qt::DashLine;
    case TPenStyle::Dot: return Qt::DotLine;
    case TPenStyle::DashDot: return Qt::DashDotLine;
    case TPenStyle::Clear: return Qt::NoPen;
  }
  return Qt::SolidLine;
}

QColor colour(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

}  // namespace

QFont reportFont(const TFontSpec& fontSpec) {
  QFont font(QString::fromStdString(fontSpec.face));
  font.setPointSizeF(fontSpec.points);
  font.setBold(fontSpec.bold);
  font.setItalic(fontSpec.italic);
  font.setUnderline(fontSpec.underline);
  font.setStrikeOut(fontSpec.strikeOut);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

const QFontMetricsF& TQtTextMeasure::metrics(const TFontSpec& font) const {
  const std::string key = font.face + '/' + std::to_string(font.points) + '/' +
                          char('0' + font.bold) + char('0' + font.italic);
  auto it = cache_.find(key);
  if (it == cache_.end()) {
    it = cache_.emplace(key, QFontMetricsF(reportFont(font), device_)).first;
  }
  return it->second;
}

double TQtTextMeasure::textWidth(const TFontSpec& font, std::string_view text) const {
  return metrics(font).horizontalAdvance(qText(text)) * kMmPerInch / device_->logicalDpiX();
}

double TQtTextMeasure::descent(const TFontSpec& font) const {
  return metrics(font).descent() * kMmPerInch / device_->logicalDpiY();
}

TReportPages layOutReport(const TNetworkModel& model, const QPaintDevice* device,
                          double pageWidth, double pageHeight, int dotsPerInch,
                          int printHeight, int previewZoom) {
  const TQtTextMeasure measure(device);
  TPageSurface surface(measure, pageWidth, pageHeight, dotsPerInch);
  const int zoom = ReportSystem1Print(surface, model, printHeight, previewZoom);
  TReportPages pages = surface.takePages();
  pages.zoomFactor = zoom;
  return pages;
}

TReportPages layOutReportForScreen(const TNetworkModel& model, int printHeight, int previewZoom) {
  QImage screen(1, 1, QImage::Format_RGB32);
  const int dotsPerMetre = qRound(kScreenDotsPerInch / 0.0254);
  screen.setDotsPerMeterX(dotsPerMetre);
  screen.setDotsPerMeterY(dotsPerMetre);
  const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
  return layOutReport(model, &screen, a4.width(), a4.height(), kScreenDotsPerInch, printHeight,
                      previewZoom);
}

bool renderReportPages(const TReportPages& pages, QPagedPaintDevice& device, int fromPage,
                       int toPage) {
  const int count = static_cast<int>(pages.pages.size());
  const int first = std::max(fromPage, 1);
  const int last = toPage <= 0 ? count : std::min(toPage, count);
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::Antialiasing);
  const double sx = device.logicalDpiX() / kMmPerInch;
  const double sy = device.logicalDpiY() / kMmPerInch;
  for (int p = first; p <= last; ++p) {
    if (p > first) device.newPage();
    for (const TPageItem& item : pages.pages[static_cast<std::size_t>(p - 1)].items) {
      if (const auto* text = std::get_if<TPageText>(&item)) {
        painter.setFont(reportFont(text->font));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(text->x * sx, text->baseline * sy), qText(text->text));
      } else if (const auto* rect = std::get_if<TPageRect>(&item)) {
        painter.fillRect(QRectF(rect->x * sx, rect->y * sy, rect->width * sx, rect->height * sy),
                         colour(rect->rgb));
      } else if (const auto* line = std::get_if<TPageLine>(&item)) {
        QPen pen(colour(line->rgb), line->width * sx, penStyle(line->style), Qt::SquareCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(line->x1 * sx, line->y1 * sy), QPointF(line->x2 * sx, line->y2 * sy));
      }
    }
  }
  return painter.end();
}

QByteArray reportPdf(const TReportPages& pages) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDotsPerInch);
    writer.setPageLayout(QPageLayout(
        QPageSize(QSizeF(pages.pageWidth, pages.pageHeight), QPageSize::Millimeter, QString(),
                  QPageSize::FuzzyMatch),
        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setCreator(QStringLiteral("Velko"));
    if (!renderReportPages(pages, writer)) throw CommandError("Не удалось построить документ PDF");
  }
  return bytes;
}

void writeReportPdf(const TReportPages& pages, const std::string& path) {
  const QByteArray pdf = reportPdf(pages);
  writeFileSafely(path, std::string(pdf.constData(), static_cast<std::size_t>(pdf.size())));
}

}  // namespace velko
