#include "ui/report/report_pages_qt.h"

#include <algorithm>
#include <chrono>

#include <QBuffer>
#include <QIODevice>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

#include "data/file_io.h"
#include "ui/background_command.h"
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

void setUpPdf(QPdfWriter& writer, double pageWidth, double pageHeight) {
  writer.setResolution(kPdfDotsPerInch);
  writer.setPageLayout(QPageLayout(
      QPageSize(QSizeF(pageWidth, pageHeight), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  writer.setCreator(QStringLiteral("Velko"));
}

QImage deviceOf(int dotsPerInch) {
  QImage image(1, 1, QImage::Format_RGB32);
  const int dotsPerMetre = qRound(dotsPerInch / 0.0254);
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  return image;
}

// The PDF writer's output into a safe-write temporary file, in pieces of 256 KB. A
// failed write cannot pass through the writer: it is kept and thrown afterwards.
class SafeFileDevice : public QIODevice {
 public:
  explicit SafeFileDevice(SafeFileWriter& out) : out_(out) { open(QIODevice::WriteOnly); }
  void flushPending() {
    if (!failure_ && !pending_.empty()) put(pending_.data(), pending_.size());
    pending_.clear();
    if (failure_) std::rethrow_exception(failure_);
  }
  bool failed() const { return failure_ != nullptr; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (failure_) return -1;
    pending_.append(data, static_cast<std::size_t>(size));
    if (pending_.size() >= kPiece) {
      put(pending_.data(), pending_.size());
      pending_.clear();
    }
    return failure_ ? -1 : size;
  }

 private:
  static constexpr std::size_t kPiece = 256 * 1024;
  void put(const char* data, std::size_t size) {
    try {
      out_.write(data, size);
    } catch (...) {
      failure_ = std::current_exception();
    }
  }
  SafeFileWriter& out_;
  std::string pending_;
  std::exception_ptr failure_;
};

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
  const QImage screen = deviceOf(kScreenDotsPerInch);
  const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
  return layOutReport(model, &screen, a4.width(), a4.height(), kScreenDotsPerInch, printHeight,
                      previewZoom);
}

TReportJob screenReportJob(const TNetworkModel& model, int printHeight, int previewZoom) {
  const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
  return TReportJob{&model, a4.width(), a4.height(), kScreenDotsPerInch, printHeight, previewZoom};
}

TOwnTextMeasure::TOwnTextMeasure(int dotsPerInch) : device_(deviceOf(dotsPerInch)), measure_(&device_) {}

double TOwnTextMeasure::textWidth(const TFontSpec& font, std::string_view text) const {
  return measure_.textWidth(font, text);
}

double TOwnTextMeasure::descent(const TFontSpec& font) const { return measure_.descent(font); }

int layOutReportFrom(const TReportJob& job, const TTextMeasure& measure, const TReportResume& from,
                     const TPageSink& sink, const TPageStarts& starts) {
  TPageSurface surface(measure, job.pageWidth, job.pageHeight, job.dotsPerInch);
  if (from.page > 1) surface.SetPageNumber(from.page - 1);
  surface.SetPageSink([&](TReportPage&& page, int number) {
    if (number >= from.page) sink(std::move(page), number);
  });
  ReportSystem1Print(surface, *job.model, job.printHeight, job.previewZoom, from, starts);
  surface.Finish();
  return surface.GetPageNumber();
}

TReportPage layOutReportPage(const TReportJob& job, const TTextMeasure& measure, const TReportResume& start) {
  struct Done {};
  TReportPage found;
  try {
    layOutReportFrom(job, measure, start, [&](TReportPage&& page, int) {
      found = std::move(page);
      throw Done{};
    });
  } catch (const Done&) {
  }
  return found;
}

int reportRows(const TNetworkModel& model) {
  const int part = 2 * model.RunWorkCount + model.RunEventCount;
  return part + model.CritCountBefore + (model.Optimised != 0 ? part + model.CritCountAfter : 0);
}

int reportRowsBefore(const TNetworkModel& model, const TReportResume& at) {
  int rows = at.part == 2 ? 2 * model.RunWorkCount + model.RunEventCount + model.CritCountBefore : 0;
  const int sections[] = {model.RunWorkCount, model.RunEventCount,
                          at.part == 2 ? model.CritCountAfter : model.CritCountBefore, model.RunWorkCount};
  for (int s = 0; s < at.section && s < 4; ++s) rows += sections[s];
  return rows + std::max(at.row - 1, 0);
}

int streamReportPdf(const TReportJob& job, SafeFileWriter& out, BackgroundProgress* progress) {
  SafeFileDevice device(out);
  int pages = 0;
  {
    QPdfWriter writer(&device);
    setUpPdf(writer, job.pageWidth, job.pageHeight);
    QPainter painter;
    if (!painter.begin(&writer)) throw CommandError("Не удалось построить документ PDF");
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = writer.logicalDpiX() / kMmPerInch;
    const TOwnTextMeasure measure(job.dotsPerInch);
    if (progress) progress->total = std::max(reportRows(*job.model), 1);
    pages = layOutReportFrom(
        job, measure, TReportResume{},
        [&](TReportPage&& page, int number) {
          if (device.failed()) device.flushPending();  // throws the write's failure
          if (progress && progress->cancel) throw TReportCancelled{};
          if (number > 1) writer.newPage();
          paintReportPage(painter, page, scale);
        },
        [&](const TReportResume& at) {
          if (progress) progress->done = reportRowsBefore(*job.model, at);
        });
    painter.end();
  }
  device.flushPending();
  return pages;
}

int writeReportPdf(const TReportJob& job, const std::string& path, BackgroundProgress* progress) {
  SafeFileWriter writer(path);
  int pages = 0;
  try {
    pages = streamReportPdf(job, writer, progress);
  } catch (const TReportCancelled&) {
    return 0;  // the writer removes its temporary file
  }
  writer.commit();
  return pages;
}

TReportDocument::TReportDocument(const TReportJob& job)
    : job_(job), measure_(job.dotsPerInch), starts_{TReportResume{}} {
  thread_ = std::thread([this] { walk(); });
}

TReportDocument::~TReportDocument() {
  stop_ = true;
  thread_.join();
}

void TReportDocument::walk() {
  try {
    const TOwnTextMeasure measure(job_.dotsPerInch);
    layOutReportFrom(
        job_, measure, TReportResume{},
        [&](TReportPage&&, int) {
          if (stop_) throw TReportCancelled{};
        },
        [&](const TReportResume& at) {
          const std::lock_guard lock(mutex_);
          starts_.push_back(at);
        });
  } catch (const TReportCancelled&) {
  } catch (...) {
    const std::lock_guard lock(mutex_);
    failure_ = std::current_exception();
  }
  {
    const std::lock_guard lock(mutex_);
    complete_ = true;
  }
  ended_.notify_all();
}

int TReportDocument::knownPages() const {
  const std::lock_guard lock(mutex_);
  return static_cast<int>(starts_.size());
}

bool TReportDocument::waitComplete(int milliseconds) const {
  std::unique_lock lock(mutex_);
  return ended_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return complete_.load(); });
}

std::exception_ptr TReportDocument::failure() const {
  const std::lock_guard lock(mutex_);
  return failure_;
}

TReportResume TReportDocument::startOf(int page) const {
  const std::lock_guard lock(mutex_);
  const std::size_t index = static_cast<std::size_t>(std::clamp(page, 1, static_cast<int>(starts_.size())) - 1);
  return starts_[index];
}

const TReportPage& TReportDocument::page(int number) {
  for (auto it = cache_.begin(); it != cache_.end(); ++it) {
    if (it->first == number) {
      cache_.splice(cache_.begin(), cache_, it);
      return cache_.front().second;
    }
  }
  // A screen shows a few pages at once; more are laid out again in milliseconds.
  constexpr std::size_t kKept = 24;
  if (cache_.size() >= kKept) cache_.pop_back();
  cache_.emplace_front(number, layOutReportPage(job_, measure_, startOf(number)));
  return cache_.front().second;
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
  for (int p = first; p <= last; ++p) {
    if (p > first) device.newPage();
    paintReportPage(painter, pages.pages[static_cast<std::size_t>(p - 1)], sx);
  }
  return painter.end();
}

void paintReportPage(QPainter& painter, const TReportPage& page, double scale) {
  const double sx = scale;
  const double sy = scale;
  for (const TPageItem& item : page.items) {
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

QByteArray reportPdf(const TReportPages& pages) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    setUpPdf(writer, pages.pageWidth, pages.pageHeight);
    if (!renderReportPages(pages, writer)) throw CommandError("Не удалось построить документ PDF");
  }
  return bytes;
}

void writeReportPdf(const TReportPages& pages, const std::string& path) {
  const QByteArray pdf = reportPdf(pages);
  writeFileSafely(path, std::string(pdf.constData(), static_cast<std::size_t>(pdf.size())));
}

}  // namespace velko
