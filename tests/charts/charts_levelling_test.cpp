// "Выравнивание" in the window "Графики", driven as a user does, and the pictures the
// batch tool writes with it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "charts_test_support.h"
#include "ui/charts/chart_canvas.h"
#include "ui/charts/chart_export.h"
#include "ui/charts/charts_form.h"
#include "ui/charts/levelling_pictures.h"

namespace velko {
namespace {

bool isLevelled(QColor c) { return std::abs(c.red() - 0x1a) < 30 && std::abs(c.green() - 0x98) < 30 && c.blue() < 0x70; }

// (1,2) and (1,3) each 2 days of 4 workers; the dummy (2,3) gives (1,3) room to run
// after (1,2): peak 8 -> 4 with (1,3) two days later.
const std::initializer_list<testing::Row> kTwoCrews = {
    {"1", "2", "2", "4", "1"}, {"1", "3", "2", "4", "2"}, {"2", "3", "2", "0", "1"}};

class ChartsLevelling : public ::testing::Test {
 protected:
  testing::Run run = testing::calculate(3, kTwoCrews);
  TCharts_form form{nullptr};
  QWidget elsewhere;

  void SetUp() override { form.showRun(testing::shown(run)); }
  void showForm() { testing::showFormFrom(elsewhere, form); }
};

TEST_F(ChartsLevelling, SmoothsOffTheWindowThreadAndShowsTheShifts) {
  showForm();
  EXPECT_FALSE(form.RadioButton3->isEnabled());
  EXPECT_EQ(form.Label3->text(), shiftsMessage(nullptr));
  QTest::mouseClick(form.ToolButton5, Qt::LeftButton);
  EXPECT_TRUE(form.levellingRunning());
  EXPECT_FALSE(form.ToolButton5->isEnabled());
  QTRY_VERIFY_WITH_TIMEOUT(!form.levellingRunning(), 20000);

  ASSERT_NE(form.levellingResult(), nullptr);
  EXPECT_EQ(form.levellingResult()->peakAfter, 4);
  EXPECT_TRUE(form.Label2->text().contains(QStringLiteral("пик 8 → 4 чел., минимум доказан")));
  EXPECT_TRUE(form.RadioButton3->isChecked());
  EXPECT_TRUE(form.RadioButton1->isEnabled());
  EXPECT_EQ(form.TabWidget1->currentIndex(), 2);
  EXPECT_GT(testing::countPixels(form.ChartCanvas3->grab().toImage(), isLevelled), 100);
  form.TabWidget1->setCurrentIndex(1);  // a tab is drawn when it is shown
  EXPECT_GT(testing::countPixels(form.ChartCanvas2->grab().toImage(), isLevelled), 100);
  form.TabWidget1->setCurrentIndex(2);
  ASSERT_EQ(form.ShiftsGrid->rowCount(), 1);
  EXPECT_EQ(form.ShiftsGrid->item(0, 0)->text(), QStringLiteral("1-3"));
  EXPECT_EQ(form.ShiftsGrid->item(0, 5)->text(), QStringLiteral("2"));
  QTest::mouseClick(form.Button4, Qt::LeftButton);
  EXPECT_EQ(QApplication::clipboard()->text(), shiftsText(*form.levellingResult()));

  // Per identifier: one strip for each of Id 1 and Id 2.
  const QSizeF total = form.ChartCanvas3->picture().size;
  form.CheckBox2->setChecked(true);
  EXPECT_NE(form.ChartCanvas3->picture().size, total);

  // A new run drops the smoothing of the old one.
  form.showRun(testing::shown(testing::calculate(3, testing::kThreeEvents)));
  EXPECT_EQ(form.levellingResult(), nullptr);
  EXPECT_FALSE(form.RadioButton3->isEnabled());
  EXPECT_TRUE(form.RadioButton1->isChecked());
  EXPECT_EQ(form.ShiftsGrid->rowCount(), 0);
}

TEST_F(ChartsLevelling, BatchPicturesCarryTheSmoothing) {
  const testing::Run optimised = testing::network20();
  const LevellingResult result = levelWorkers(levellingInput(*optimised.model));
  QTemporaryDir dir;
  writeChartFiles(dir.path().toStdString(), *optimised.model, optimised.moves, true, &result);
  for (const char* name : {"workers.png", "bar_chart_smoothed.png", "workers_by_id.png", "shifts.png"}) {
    const QImage image(dir.filePath(QString::fromUtf8(name)));
    ASSERT_FALSE(image.isNull()) << name;
    EXPECT_TRUE(testing::notBlank(image)) << name;
  }
  EXPECT_GT(testing::countPixels(QImage(dir.filePath(QStringLiteral("workers.png"))), isLevelled), 500);
}

// A proven minimum is its own lower bound: the table gives the bound the search proved,
// the static one only under its own name; with four columns it keeps its right border.
TEST(LevelledFigures, TheBoundShownIsTheProvenOne) {
  const testing::Run run = testing::optimise(3, testing::kThreeEvents);
  LevellingResult result = levelWorkers(levellingInput(*run.model));
  ASSERT_TRUE(result.proven);
  for (const long long staticBound : {result.bestBound, result.bestBound - 2}) {
    result.lowerBound = staticBound;
    const std::vector<QStringList> rows = levelledFigureRows(*run.model, result);
    ASSERT_EQ(rows[5].front(), QStringLiteral("Нижняя граница пика, чел."));
    EXPECT_EQ(rows[5].back(), QString::number(result.peakAfter));
    EXPECT_EQ(rows.size() == 7, staticBound < result.bestBound);
    if (rows.size() == 7) {
      EXPECT_EQ(rows[6].back(), QString::number(staticBound));
    }
  }
  const QImage image = renderPicture(levelledProfilePicture(*run.model, result));
  const int border = 16 + 380 + 3 * 170;  // the columns' widths
  int ink = 0;
  for (int y = image.height() / 2; y < image.height(); ++y) ink += image.pixelColor(border, y) != Qt::white;
  EXPECT_GT(ink, 100);
}

// Twenty works of one worker beside a critical one of 60 days: the peak is final at
// once and the evenness goes on, which "Готово" ends with the schedule kept.
TEST_F(ChartsLevelling, DoneOnceThePeakIsFinalKeepsTheSchedule) {
  std::vector<testing::Row> rows = {{"1", "22", "60", "1", "1"}};
  for (int k = 2; k <= 21; ++k) {
    rows.push_back({"1", std::to_string(k), std::to_string(3 + k % 10), "1", "1"});
    rows.push_back({std::to_string(k), "22", "0", "0", "1"});
  }
  form.showRun(testing::shown(testing::calculate(22, rows)));
  showForm();
  QTest::mouseClick(form.ToolButton5, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(form.Button6->isVisible() || !form.levellingRunning(), 20000);
  if (form.levellingRunning()) {
    EXPECT_TRUE(form.Label2->text().contains(QStringLiteral("окончательный")));
    QTest::mouseClick(form.Button6, Qt::LeftButton);
  }
  QTRY_VERIFY_WITH_TIMEOUT(!form.levellingRunning(), 20000);
  ASSERT_NE(form.levellingResult(), nullptr);
  EXPECT_TRUE(form.levellingResult()->proven);
  EXPECT_TRUE(form.Label2->text().contains(QStringLiteral("минимум доказан")));
  EXPECT_FALSE(form.Button6->isVisible());
}

}  // namespace
}  // namespace velko
