// "Ограничить бригады" in the window "Графики", driven as a user does.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "charts_test_support.h"
#include "ui/charts/chart_canvas.h"
#include "ui/charts/charts_form.h"
#include "ui/charts/crew_pictures.h"

namespace velko {
namespace {

bool isDelayed(QColor c) { return std::abs(c.red() - 0x8e) < 24 && std::abs(c.green() - 0x44) < 24 && std::abs(c.blue() - 0xad) < 24; }

// (1,2) and (1,3) each 2 days of 4 workers of Id 1: under a limit of 4 one waits for
// the other, and the network takes 4 days instead of 2.
TEST(ChartsCrews, ALimitTypedInThePanelGivesTheVariantWithItsDelays) {
  const testing::Run run =
      testing::calculate(3, {{"1", "2", "2", "4", "1"}, {"1", "3", "2", "4", "1"}, {"2", "3", "0", "0", "1"}});
  TCharts_form form{nullptr};
  form.CrewEffort = 3'000'000;  // a few hundredths of a second of the engine's steps
  QWidget elsewhere;
  form.showRun(testing::shown(run));
  testing::showFormFrom(elsewhere, form);
  ASSERT_EQ(form.CrewsGrid->rowCount(), 1);
  EXPECT_EQ(form.CrewsGrid->item(0, 2)->text(), QStringLiteral("8"));  // the early-start peak
  EXPECT_FALSE(form.RadioButton4->isEnabled());

  form.CrewsGrid->item(0, 4)->setText(QStringLiteral(" 4"));
  EXPECT_EQ(form.CrewsGrid->item(0, 4)->text(), QStringLiteral("4"));
  QTest::mouseClick(form.ToolButton6, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!form.crewsRunning(), 20000);

  ASSERT_NE(form.crewAnswer(), nullptr);
  EXPECT_EQ(form.crewAnswer()->newLengthText, "4");
  EXPECT_TRUE(form.crewAnswer()->proven);
  EXPECT_TRUE(form.RadioButton4->isChecked());
  EXPECT_EQ(form.TabWidget1->currentIndex(), 1);
  EXPECT_GT(testing::countPixels(form.ChartCanvas2->grab().toImage(), isDelayed), 100);
  form.TabWidget1->setCurrentIndex(4);
  ASSERT_EQ(form.ShiftsGrid->rowCount(), 1);
  EXPECT_TRUE(form.ShiftsGrid->item(0, 6)->text().startsWith(QStringLiteral("ждет бригаду Id 1")));
  form.TabWidget1->setCurrentIndex(2);
  EXPECT_GT(testing::countPixels(form.ChartCanvas3->grab().toImage(), isDelayed), 100);

  // A limit changed afterwards leaves the schedule, which says it is of the old ones.
  form.CrewsGrid->item(0, 4)->setText(QStringLiteral("6"));
  EXPECT_TRUE(form.Label5->text().endsWith(QStringLiteral("показан расчет с прежними, нажмите «Ограничить бригады»")));
}

}  // namespace
}  // namespace velko
