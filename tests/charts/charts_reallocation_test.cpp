// "Перераспределение" in the window "Графики", driven as a user does.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "charts_test_support.h"
#include "ui/charts/chart_canvas.h"
#include "ui/charts/charts_form.h"

namespace velko {
namespace {

// kThreeEvents: 6 days as calculated and after the one pass; four workers of Id 7 on
// each of (2,3) and (1,3) give 3 days.
TEST(ChartsReallocation, ShowsTheReallocatedVariantAndItsLengths) {
  const testing::Run run = testing::calculate(3, testing::kThreeEvents);
  TCharts_form form{nullptr};
  QWidget elsewhere;
  form.showRun(testing::shown(run));
  testing::showFormFrom(elsewhere, form);
  EXPECT_FALSE(form.RadioButton5->isEnabled());
  QTest::mouseClick(form.ToolButton7, Qt::LeftButton);
  EXPECT_FALSE(form.ToolButton7->isEnabled());
  QTRY_VERIFY_WITH_TIMEOUT(!form.reallocationRunning(), 20000);

  ASSERT_NE(form.reallocationResult(), nullptr);
  EXPECT_TRUE(form.RadioButton5->isChecked());
  EXPECT_EQ(form.Label6->text(), QStringLiteral("Длина 6 -> 3 (одним проходом: 6), минимум доказан"));
  // The bar chart is of the reallocated network: 3 days where it was 6.
  form.TabWidget1->setCurrentIndex(1);
  const QImage after = form.ChartCanvas2->grab().toImage();
  form.RadioButton1->setChecked(true);
  EXPECT_NE(form.ChartCanvas2->grab().toImage(), after);
  form.RadioButton5->setChecked(true);
  form.TabWidget1->setCurrentIndex(4);
  ASSERT_EQ(form.ShiftsGrid->rowCount(), 1);
  EXPECT_EQ(form.ShiftsGrid->item(0, 2)->text(), QStringLiteral("1-3"));
  EXPECT_EQ(form.ShiftsGrid->item(0, 3)->text(), QStringLiteral("2-3"));

  // "Выравнивание" takes the variant shown: the reallocated works, 4 workers for 3 days
  // on 2-3; a new reallocation drops that smoothing with the copy it belonged to.
  form.TabWidget1->setCurrentIndex(2);
  QTest::mouseClick(form.ToolButton5, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!form.levellingRunning(), 20000);
  ASSERT_NE(form.levellingResult(), nullptr);
  EXPECT_TRUE(form.RadioButton3->isChecked());
  for (const LevelledWork& w : form.levellingResult()->works) {
    if (w.I == 2 && w.J == 3) {
      EXPECT_EQ(std::make_pair(w.workers, static_cast<double>(w.duration)), std::make_pair(4, 3.0));
    }
  }
  QTest::mouseClick(form.ToolButton7, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!form.reallocationRunning(), 20000);
  EXPECT_EQ(form.levellingResult(), nullptr);
  EXPECT_TRUE(form.RadioButton5->isChecked());

  // A new run drops it.
  form.showRun(testing::shown(testing::calculate(3, testing::kThreeEvents)));
  EXPECT_EQ(form.reallocationResult(), nullptr);
  EXPECT_FALSE(form.RadioButton5->isEnabled());
}

}  // namespace
}  // namespace velko
