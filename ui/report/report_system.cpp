#include "ui/report/report_system.h"

#include <algorithm>

#include <QAction>
#include <QGraphicsView>
#include <QLabel>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

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

}  // namespace

TReportPreview::TReportPreview(QPrinter& printer, const TReportPages& pages, int zoomPercent,
                               QWidget* parent)
    : QDialog(parent), printer_(printer), pages_(pages) {
  setObjectName(QStringLiteral("ReportPreview"));
  setWindowTitle(QStringLiteral("Report Preview"));
  setModal(true);
  resize(650, 480);

  preview_ = new QPrintPreviewWidget(&printer_, this);
  preview_->setObjectName(QStringLiteral("PreviewWidget"));
  connect(preview_, &QPrintPreviewWidget::paintRequested, this, &TReportPreview::paintPages);

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
  connect(preview_, &QPrintPreviewWidget::previewChanged, this, [this] {
    showPage();
    showZoom();
  });
  // previewChanged misses the page changes setCurrentPage makes (the widget moves its
  // current page before it scrolls, so its own check sees nothing new), and the label
  // then kept "1 / 17" while the pages moved on. Every way of moving scrolls the view.
  if (auto* view = preview_->findChild<QGraphicsView*>()) {
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &TReportPreview::showPage);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolbar);
  layout->addWidget(preview_);

  preview_->setZoomMode(QPrintPreviewWidget::CustomZoom);
  preview_->setZoomFactor(std::clamp(zoomPercent, kMinPreviewZoom, kMaxPreviewZoom) / 100.0);
  setWindowState(windowState() | Qt::WindowMaximized);
}

int TReportPreview::zoomPercent() const { return qRound(preview_->zoomFactor() * 100); }

void TReportPreview::turnPage(int step) {
  preview_->setCurrentPage(preview_->currentPage() + step);
  showPage();
}

void TReportPreview::showPage() {
  pageLabel_->setText(QStringLiteral(" %1 / %2 ").arg(preview_->currentPage()).arg(preview_->pageCount()));
}

void TReportPreview::showZoom() { zoomLabel_->setText(QStringLiteral(" %1 % ").arg(zoomPercent())); }

void TReportPreview::paintPages(QPrinter* printer) { renderReportPages(pages_, *printer); }

void TReportPreview::PrintClick() {
  QPrintDialog setup(&printer_, this);
  setup.setObjectName(QStringLiteral("ReportSetup"));
  setup.setWindowTitle(QStringLiteral("Report Setup"));
  setup.setMinMax(1, static_cast<int>(pages_.pages.size()));
  if (setup.exec() != QDialog::Accepted) return;
  const bool range = printer_.printRange() == QPrinter::PageRange;
  renderReportPages(pages_, printer_, range ? printer_.fromPage() : 1, range ? printer_.toPage() : 0);
  preview_->updatePreview();
}

TReportSystem::TReportSystem(QObject* parent) : QObject(parent) {
  setObjectName(QStringLiteral("ReportSystem1"));
}

TReportSystem::~TReportSystem() = default;

void TReportSystem::Execute(QWidget* parent, const TNetworkModel& model, int printHeight,
                            int previewZoom) {
  auto printer = makeOutputPrinter();
  const QRectF paper = printer->pageLayout().fullRect(QPageLayout::Millimeter);
  pages_ = layOutReport(model, printer.get(), paper.width(), paper.height(),
                        printer->resolution(), printHeight, previewZoom);
  printer_ = std::move(printer);
  ZoomFactor = pages_.zoomFactor;
  TReportPreview preview(*printer_, pages_, ZoomFactor, parent);
  preview.exec();
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
