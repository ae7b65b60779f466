#pragma once

#include <memory>
#include <string>

#include <QAbstractScrollArea>
#include <QDialog>
#include <QObject>
#include <QWidget>

#include "model/network_model.h"
#include "report/print_report.h"
#include "report/report_pages.h"

class QAction;
class QLabel;
class QPrinter;
class QTimer;

namespace velko {

class TReportDocument;

inline constexpr int kReportPrintHeight = 750;
inline constexpr int kReportPreviewZoom = 120;

// The pages of a report one below the other, at a zoom; paints only the pages in view,
// each laid out when it first shows, so a report of thousands of pages opens at once.
// The pages grow in number while the document's walk goes on (updatePageCount).
class TPageView : public QAbstractScrollArea {
 public:
  TPageView(TReportDocument& document, QWidget* parent = nullptr);

  int pageCount() const { return pages_; }
  int currentPage() const;  // from 1: the page at the top of the view, the last at the end
  void setCurrentPage(int page);
  double zoomFactor() const { return zoom_; }
  void setZoomFactor(double zoom);
  void fitToWidth();
  void updatePageCount();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  double dotsPerMm() const;
  int pageWidth() const;
  int pageHeight() const;
  int pitch() const { return pageHeight() + kGap; }
  void updateScrollBars();

  static constexpr int kGap = 10;
  TReportDocument& document_;
  int pages_ = 1;
  double zoom_ = 1;
};

// The preview of one run: its pages at a zoom in per cent, shown maximised and modal.
// The page counter reads "N / …" until the walk has found the last page. Printing first
// opens the setup dialog, then lays out and prints the pages asked for off the
// user-interface thread, with progress and "Отмена" when it takes longer than 0.3 s.
class TReportPreview : public QDialog {
  Q_OBJECT
 public:
  TReportPreview(QPrinter& printer, TReportDocument& document, int zoomPercent, QWidget* parent = nullptr);

  TPageView* preview() const { return preview_; }
  int zoomPercent() const;
  // Waits for the walk over the pages to end, then shows the total; for tests.
  void waitForLayout();

  void PrintClick();
  // Prints pages `from` to `to` (0: to the end); false when cancelled.
  bool printPages(int from, int to);

 private:
  void turnPage(int step);
  void showPage();
  void showZoom();
  void followLayout();

  QPrinter& printer_;
  TReportDocument& document_;
  TPageView* preview_;
  QLabel* zoomLabel_;
  QLabel* pageLabel_;
  QTimer* layoutPoll_;
};

// The report system: the preview of each run, over a document that lays pages out on
// demand. The output device is the default printer, or the screen's resolution when
// none is installed.
class TReportSystem : public QObject {
  Q_OBJECT
 public:
  explicit TReportSystem(QObject* parent = nullptr);
  ~TReportSystem() override;

  // Shows the preview of the model's report until the user closes it. A CommandError of
  // the layout reaches the caller before any window opens.
  void Execute(QWidget* parent, const TNetworkModel& model, int printHeight, int previewZoom);

  int ZoomFactor = kReportPreviewZoom;  // per cent, as the last layout set it
  int PageCount = 0;                    // pages the last preview found
  QPrinter* printer() const { return printer_.get(); }

 private:
  std::unique_ptr<QPrinter> printer_;
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
