#include "ui/report/report_system.h"

#include <algorithm>
#include <cmath>

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPageLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "ui/background_command.h"
#include "ui/icons.h"
#include "ui/report/report_pages_qt.h"

namespace velko {

TPrint_form* Print_form = nullptr;

namespace {

std::unique_ptr<QPrinter> makeOutputPrinter() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  auto printer = info.isNull() ? std::make_unique<QPrinter>(QPrinter::ScreenResolution)
                               : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  // Margins 0: the layout's millimetres count from the paper's top-left corner.
  printer->setFullPage(true);
  printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  return printer;
}

// The setup dialog's upper page while the last page is not known yet.
constexpr int kUnknownLastPage = 99999;

}  // namespace

TPageView::TPageView(TReportDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
  viewport()->setBackgroundRole(QPalette::Dark);
  viewport()->setAutoFillBackground(true);
  verticalScrollBar()->setSingleStep(40);
  horizontalScrollBar()->setSingleStep(40);
  pages_ = document_.knownPages();
  updateScrollBars();
}

double TPageView::dotsPerMm() const { return zoom_ * viewport()->logicalDpiY() / kMmPerInch; }
int TPageView::pageWidth() const { return static_cast<int>(std::lround(document_.job().pageWidth * dotsPerMm())); }
int TPageView::pageHeight() const { return static_cast<int>(std::lround(document_.job().pageHeight * dotsPerMm())); }

void TPageView::updateScrollBars() {
  const QSize view = viewport()->size();
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, std::max(0, pages_ * pitch() + kGap - view.height()));
  v->setPageStep(view.height());
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, std::max(0, pageWidth() + 2 * kGap - view.width()));
  h->setPageStep(view.width());
}

void TPageView::updatePageCount() {
  const int known = document_.knownPages();
  if (known == pages_) return;
  pages_ = known;
  updateScrollBars();
  viewport()->update();
}

int TPageView::currentPage() const {
  const QScrollBar* v = verticalScrollBar();
  if (v->maximum() > 0 && v->value() == v->maximum()) return pages_;
  return std::clamp((v->value() + std::min(viewport()->height() / 3, pitch() / 2)) / pitch() + 1, 1, pages_);
}

void TPageView::setCurrentPage(int page) {
  verticalScrollBar()->setValue((std::clamp(page, 1, pages_) - 1) * pitch());
}

void TPageView::setZoomFactor(double zoom) {
  // The page at the top stays there, at the same share of its height.
  const QScrollBar* v = verticalScrollBar();
  const double at = static_cast<double>(v->value()) / pitch();
  zoom_ = zoom;
  updateScrollBars();
  verticalScrollBar()->setValue(static_cast<int>(std::lround(at * pitch())));
  viewport()->update();
}

void TPageView::fitToWidth() {
  const double width = document_.job().pageWidth * viewport()->logicalDpiX() / kMmPerInch;
  setZoomFactor(std::max(viewport()->width() - 2 * kGap, 1) / width);
}

void TPageView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void TPageView::keyPressEvent(QKeyEvent* event) {
  // The scroll area moves by lines and screens; Home and End go to the first and last page.
  if (event->key() == Qt::Key_Home) {
    verticalScrollBar()->setValue(0);
  } else if (event->key() == Qt::Key_End) {
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  } else {
    QAbstractScrollArea::keyPressEvent(event);
  }
}

void TPageView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.setRenderHint(QPainter::Antialiasing);
  const int top = verticalScrollBar()->value();
  const int height = viewport()->height();
  const int width = pageWidth();
  const int left = std::max(kGap, (viewport()->width() - width) / 2) - horizontalScrollBar()->value();
  const int first = std::max(top / pitch(), 0);
  const int last = std::min((top + height) / pitch(), pages_ - 1);
  for (int p = first; p <= last; ++p) {
    const QRect page(left, p * pitch() + kGap - top, width, pageHeight());
    painter.fillRect(page.translated(3, 3), Qt::black);
    painter.fillRect(page, Qt::white);
    painter.save();
    painter.setClipRect(page);
    painter.translate(page.topLeft());
    painter.scale(zoom_, zoom_);
    paintReportPage(painter, document_.page(p + 1), viewport()->logicalDpiX() / kMmPerInch);
    painter.restore();
  }
}

TReportPreview::TReportPreview(QPrinter& printer, TReportDocument& document, int zoomPercent, QWidget* parent)
    : QDialog(parent), printer_(printer), document_(document) {
  setObjectName(QStringLiteral("ReportPreview"));
  setWindowTitle(QStringLiteral("Report Preview"));
  setModal(true);
  resize(650, 480);

  preview_ = new TPageView(document_, this);
  preview_->setObjectName(QStringLiteral("PreviewWidget"));

  auto* toolbar = new QToolBar(this);
  toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QAction* print =
      toolbar->addAction(toolIcon(ToolIcon::Print), QStringLiteral("Печать"), this, &TReportPreview::PrintClick);
  print->setObjectName(QStringLiteral("PrintAction"));
  toolbar->addSeparator();
  toolbar->addAction(QStringLiteral("Уменьшить"), this, [this] {
    preview_->setZoomFactor(std::max(preview_->zoomFactor() / 1.25, kMinPreviewZoom / 100.0));
    showZoom();
  });
  zoomLabel_ = new QLabel(toolbar);
  zoomLabel_->setObjectName(QStringLiteral("ZoomLabel"));
  toolbar->addWidget(zoomLabel_);
  toolbar->addAction(QStringLiteral("Увеличить"), this, [this] {
    preview_->setZoomFactor(std::min(preview_->zoomFactor() * 1.25, kMaxPreviewZoom / 100.0));
    showZoom();
  });
  toolbar->addAction(QStringLiteral("По ширине"), this, [this] {
    preview_->fitToWidth();
    showZoom();
  });
  toolbar->addSeparator();
  QAction* previous = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowUp), QStringLiteral("Назад"), this,
                                         [this] { turnPage(-1); });
  previous->setObjectName(QStringLiteral("PreviousPageAction"));
  pageLabel_ = new QLabel(toolbar);
  pageLabel_->setObjectName(QStringLiteral("PageLabel"));
  toolbar->addWidget(pageLabel_);
  QAction* next = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowDown), QStringLiteral("Вперед"), this,
                                     [this] { turnPage(1); });
  next->setObjectName(QStringLiteral("NextPageAction"));
  toolbar->addSeparator();
  toolbar->addAction(QStringLiteral("Закрыть"), this, &QDialog::reject);
  // Every way of moving (buttons, keys, wheel, scroll bar) scrolls the view.
  connect(preview_->verticalScrollBar(), &QScrollBar::valueChanged, this, &TReportPreview::showPage);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolbar);
  layout->addWidget(preview_);

  preview_->setZoomFactor(std::clamp(zoomPercent, kMinPreviewZoom, kMaxPreviewZoom) / 100.0);
  // The walk over the pages goes on while the preview shows: the counter follows it.
  layoutPoll_ = new QTimer(this);
  connect(layoutPoll_, &QTimer::timeout, this, &TReportPreview::followLayout);
  layoutPoll_->start(100);
  followLayout();
  showZoom();
  setWindowState(windowState() | Qt::WindowMaximized);
}

int TReportPreview::zoomPercent() const { return qRound(preview_->zoomFactor() * 100); }

void TReportPreview::followLayout() {
  if (document_.complete()) layoutPoll_->stop();
  preview_->updatePageCount();
  showPage();
}

void TReportPreview::waitForLayout() {
  while (!document_.waitComplete(1000)) {
  }
  followLayout();
}

void TReportPreview::turnPage(int step) {
  preview_->setCurrentPage(preview_->currentPage() + step);
  showPage();
}

void TReportPreview::showPage() {
  const QString total = document_.complete() ? QString::number(preview_->pageCount()) : QStringLiteral("…");
  pageLabel_->setText(QStringLiteral(" %1 / %2 ").arg(preview_->currentPage()).arg(total));
}

void TReportPreview::showZoom() { zoomLabel_->setText(QStringLiteral(" %1 % ").arg(zoomPercent())); }

void TReportPreview::PrintClick() {
  QPrintDialog setup(&printer_, this);
  setup.setObjectName(QStringLiteral("ReportSetup"));
  setup.setWindowTitle(QStringLiteral("Report Setup"));
  setup.setMinMax(1, document_.complete() ? document_.knownPages() : kUnknownLastPage);
  if (setup.exec() != QDialog::Accepted) return;
  const bool range = printer_.printRange() == QPrinter::PageRange;
  printPages(range ? printer_.fromPage() : 1, range ? printer_.toPage() : 0);
}

bool TReportPreview::printPages(int from, int to) {
  struct Done {};
  const TReportJob job = document_.job();
  // From where the page begins, or from the last page known before it.
  const TReportResume start = document_.startOf(from);
  return runInBackground(this, QStringLiteral("Печать"), [&](BackgroundProgress& progress) {
    QPainter painter;
    if (!painter.begin(&printer_)) return;
    const double scale = printer_.logicalDpiX() / kMmPerInch;
    const TOwnTextMeasure measure(job.dotsPerInch);
    progress.total = std::max(reportRows(*job.model), 1);
    bool first = true;
    try {
      layOutReportFrom(
          job, measure, start,
          [&](TReportPage&& page, int number) {
            if (progress.cancel) throw TReportCancelled{};
            if (number < from) return;
            if (to > 0 && number > to) throw Done{};
            if (!first) printer_.newPage();
            first = false;
            paintReportPage(painter, page, scale);
          },
          [&](const TReportResume& at) { progress.done = reportRowsBefore(*job.model, at); });
    } catch (const Done&) {
    } catch (const TReportCancelled&) {
      // Nothing goes to the printer, and a file printed to is not left half-written.
      printer_.abort();
      painter.end();
      if (printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty()) {
        QFile::remove(printer_.outputFileName());
      }
      return;
    }
    painter.end();
  });
}

TReportSystem::TReportSystem(QObject* parent) : QObject(parent) {
  setObjectName(QStringLiteral("ReportSystem1"));
}

TReportSystem::~TReportSystem() = default;

void TReportSystem::Execute(QWidget* parent, const TNetworkModel& model, int printHeight,
                            int previewZoom) {
  auto printer = makeOutputPrinter();
  const QRectF paper = printer->pageLayout().fullRect(QPageLayout::Millimeter);
  const TReportJob job{&model, paper.width(), paper.height(), printer->resolution(), printHeight, previewZoom};
  TReportDocument document(job);
  document.page(1);  // the layout's refusal comes before the window
  printer_ = std::move(printer);
  ZoomFactor = previewZoom;
  TReportPreview preview(*printer_, document, ZoomFactor, parent);
  preview.exec();
  PageCount = document.knownPages();
}

TPrint_form::TPrint_form(QWidget* parent) : QWidget(parent), ReportSystem1(new TReportSystem(this)) {
  setObjectName(QStringLiteral("Print_form"));
  // A window of its own, so a parent's show() never shows it inside the parent.
  setWindowFlag(Qt::Window);
}

void runPrintedReport(QWidget* parent, const TNetworkModel& model, int printHeight, int previewZoom) {
  if (Print_form) {
    Print_form->ReportSystem1->Execute(parent, model, printHeight, previewZoom);
    return;
  }
  TReportSystem system;
  system.Execute(parent, model, printHeight, previewZoom);
}

}  // namespace velko
