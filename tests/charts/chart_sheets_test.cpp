// Large pictures on sheets, dense profiles and the canvas that shows them.
#include "ui/charts/chart_sheets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

#include "charts_test_support.h"
#include "ui/charts/chart_canvas.h"
#include "ui/charts/chart_drawing.h"
#include "ui/charts/chart_export.h"

namespace velko {
namespace {

ChartPicture blankPicture(QSizeF size, double band = 0) {
  ChartPicture picture;
  picture.size = size;
  picture.stickyHeight = band;
  picture.stickyWidth = band;
  picture.paint = [size](QPainter& p) { p.fillRect(QRectF(QPointF(0, 0), size), Qt::white); };
  return picture;
}

// Pages of a PDF written on landscape A4 sheets, sheets `from`..`to`.
int pdfPages(const ChartPicture& picture, int from = 1, int to = 0) {
  QByteArray bytes;
  QBuffer file(&bytes);
  file.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&file);
    pdf.setResolution(72);
    pdf.setPageLayout(sheetPageLayout());
    paintSheets(picture, QStringLiteral("x"), pdf, {}, from, to);
  }
  return static_cast<int>(bytes.count("/Type /Page\n"));
}

TEST(ChartSheets, OneSheetWhenItFitsElseOverviewAndSheetsWithBands) {
  const QSizeF a4(786, 539);
  struct Case {
    QSizeF size;
    double band;
    int columns, rows;
    bool overview;
  } cases[] = {
      {{900, 600}, 0, 1, 1, false},       // shrunk a little onto one sheet
      {{3000, 600}, 0, 3, 1, true},       // 1048 units a sheet across
      {{1000, 20000}, 60, 1, 32, true},   // the band's 60 units repeated on each
  };
  for (const Case& c : cases) {
    const ChartPicture picture = blankPicture(c.size, c.band);
    const SheetPlan plan = planSheets(picture, a4);
    EXPECT_EQ(plan.columns, c.columns) << c.size.width();
    EXPECT_EQ(plan.rows, c.rows) << c.size.height();
    EXPECT_EQ(plan.overview, c.overview);
    EXPECT_EQ(pdfPages(picture), plan.sheets());
  }
  EXPECT_EQ(pdfPages(blankPicture({1000, 20000}, 60), 2, 4), 3);
}

TEST(ProfileSteps, DenseStepsDrawnAsTheirLowAndHighPerPixelColumn) {
  std::vector<ProfileStep> steps;
  for (int k = 0; k < 10000; ++k) steps.push_back({k * 0.01L, (k + 1) * 0.01L, 1 + k % 9});
  steps.push_back({100, 150, 4});  // a long step drawn as it is
  DayAxis axis;
  axis.dayWidth = 4;
  axis.days = 150;
  QImage image(700, 100, QImage::Format_RGB32);
  QPainter p(&image);
  const std::vector<ProfileStep> drawn = stepsToDraw(p, axis, steps);
  EXPECT_LE(drawn.size(), 2 * 400u + 2);
  const auto [low, high] = std::minmax_element(drawn.begin(), drawn.end(),
                                               [](const ProfileStep& a, const ProfileStep& b) { return a.workers < b.workers; });
  EXPECT_EQ(low->workers, 1);
  EXPECT_EQ(high->workers, 9);
  EXPECT_EQ(drawn.front().from, 0);
  EXPECT_EQ(drawn.back().from, 100);
  EXPECT_EQ(drawn.back().workers, 4);
}

TEST(ChartCanvas, WheelZoomKeepsThePointUnderThePointerAndFindScrollsToAWork) {
  const testing::Run run = testing::optimise(50, testing::fiftyEventRows());
  QScrollArea area;
  auto* canvas = new ChartCanvas;
  area.setWidget(canvas);
  area.resize(600, 400);
  area.show();
  canvas->setPicture(barChartPicture(*run.model, 2));
  canvas->setZoom(1.5);
  area.horizontalScrollBar()->setValue(100);
  area.verticalScrollBar()->setValue(300);
  const QPointF pointer(300, 200);  // in the view
  const QPointF before = (pointer - QPointF(canvas->pos())) / canvas->zoom();
  canvas->zoomAround(2.5, pointer - QPointF(canvas->pos()));
  EXPECT_DOUBLE_EQ(canvas->zoom(), 2.5);
  const QPointF after = (pointer - QPointF(canvas->pos())) / canvas->zoom();
  EXPECT_NEAR(after.x(), before.x(), 1.0);
  EXPECT_NEAR(after.y(), before.y(), 1.0);
  EXPECT_TRUE(canvas->showFound(49, 50));
  EXPECT_GT(area.verticalScrollBar()->value(), 0);
  EXPECT_FALSE(canvas->showFound(7, 3));
}

TEST(ChartSheets, BatchSavesSheetsBesideAShrunkPngAndSaysSo) {
  std::vector<testing::Row> rows;
  for (int e = 1; e < 1000; ++e) rows.push_back({std::to_string(e), std::to_string(e + 1), "1", "2", "1"});
  const testing::Run run = testing::optimise(1000, rows);
  const QTemporaryDir dir;
  const std::string told = writeChartFiles(dir.path().toStdString(), *run.model, run.moves, true);
  EXPECT_NE(told.find("bar_chart.pdf"), std::string::npos) << told;
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("bar_chart.pdf"))));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("workers.pdf"))));
}

}  // namespace
}  // namespace velko

namespace velko {
namespace {

// Past the layered layout's size the network is drawn to a time scale: every event at
// its early time, found, named in its tooltip, and the picture painted in any part.
TEST(TimeScaledNetwork, LargeNetworkAtItsTimesFoundAndPainted) {
  std::vector<testing::Row> rows;
  for (int e = 1; e < 400; ++e) rows.push_back({std::to_string(e), std::to_string(e + 1), "4", "3", "1"});
  rows.push_back({"1", "400", "1", "1", "2"});  // a work with a float beside the chain
  const testing::Run chain = testing::calculate(400, rows);
  const ChartPicture picture = networkPicture(*chain.model, 1);
  const ChartPicture chosen = networkPicture(*chain.model, 1, true);
  EXPECT_EQ(picture.size, chosen.size);
  ASSERT_TRUE(picture.find);
  const std::optional<QRectF> first = picture.find(1, 0);
  const std::optional<QRectF> tenth = picture.find(10, 0);
  ASSERT_TRUE(first && tenth);
  EXPECT_GT(tenth->center().x(), first->center().x());  // later in time, further right
  EXPECT_NEAR(tenth->center().y(), first->center().y(), 1e-9);  // the critical chain in one lane
  EXPECT_TRUE(picture.find(1, 400).has_value());
  EXPECT_FALSE(picture.find(5, 7).has_value());
  EXPECT_TRUE(picture.toolTip(tenth->center()).startsWith(QStringLiteral("Событие 10")));
  QImage view(800, 500, QImage::Format_RGB32);
  QPainter p(&view);
  p.translate(-tenth->center() + QPointF(400, 250));
  p.setClipRect(QRectF(tenth->center() - QPointF(400, 250), QSizeF(800, 500)));
  picture.paint(p);
  p.end();
  EXPECT_GT(testing::countPixels(view, testing::isRed), 100);  // the critical chain
}

}  // namespace
}  // namespace velko
