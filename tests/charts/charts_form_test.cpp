#include "ui/charts/charts_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "charts_test_support.h"
#include "ui/charts/chart_canvas.h"
#include "ui/charts/chart_export.h"
#include "ui/charts/optimisation_log.h"

namespace velko {
namespace {

class ChartsForm : public ::testing::Test {
 protected:
  testing::Run run = testing::optimise(3, testing::kThreeEvents);
  TCharts_form form{nullptr};

  void SetUp() override { form.showRun(testing::shown(run)); }
  void showForm() { testing::showFormFrom(elsewhere, form); }
  QWidget elsewhere;
};

TEST_F(ChartsForm, WindowAndTabs) {
  EXPECT_EQ(form.objectName(), QStringLiteral("Charts_form"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Графики"));
  ASSERT_EQ(form.TabWidget1->count(), 5);
  EXPECT_EQ(form.TabWidget1->tabText(0), QStringLiteral("Сетевой график"));
  EXPECT_EQ(form.TabWidget1->tabText(1), QStringLiteral("Линейный график"));
  EXPECT_EQ(form.TabWidget1->tabText(2), QStringLiteral("Движение рабочих"));
  EXPECT_EQ(form.TabWidget1->tabText(3), QStringLiteral("Журнал оптимизации"));
  EXPECT_EQ(form.TabWidget1->tabText(4), QStringLiteral("Сдвиги работ"));
  EXPECT_TRUE(form.isHidden());
}

TEST_F(ChartsForm, EveryTabDrawsSomething) {
  showForm();
  for (int tab = 0; tab < 4; ++tab) {
    form.TabWidget1->setCurrentIndex(tab);
    QWidget* page = form.TabWidget1->currentWidget();
    if (auto* area = qobject_cast<QScrollArea*>(page)) {
      const QImage image = area->widget()->grab().toImage();
      EXPECT_TRUE(testing::notBlank(image)) << "tab " << tab;
      EXPECT_GT(testing::countPixels(image, testing::isRed), 20) << "tab " << tab;
    } else {
      EXPECT_EQ(form.LogGrid->model()->rowCount(), 1);
    }
    EXPECT_TRUE(testing::notBlank(renderPicture(form.currentPicture()))) << "tab " << tab;
  }
}

TEST_F(ChartsForm, SwitchFollowsTheRun) {
  showForm();
  EXPECT_TRUE(form.RadioButton2->isEnabled());
  EXPECT_TRUE(form.RadioButton2->isChecked());  // a fresh optimisation shows its result
  const QImage after = renderPicture(form.ChartCanvas1->picture());
  form.RadioButton1->setChecked(true);
  EXPECT_NE(renderPicture(form.ChartCanvas1->picture()), after);

  // A plain calculation: one variant, the switch disabled.
  form.showRun(testing::shown(testing::calculate(3, testing::kThreeEvents)));
  EXPECT_FALSE(form.RadioButton1->isEnabled());
  EXPECT_FALSE(form.RadioButton2->isEnabled());
  EXPECT_TRUE(form.RadioButton1->isChecked());
}

// The tab shown is made again for each run; another one when it is next shown.
TEST_F(ChartsForm, RefreshesForEveryRun) {
  form.TabWidget1->setCurrentIndex(1);
  showForm();
  const QSizeF small = form.ChartCanvas2->picture().size;
  EXPECT_TRUE(form.ChartCanvas3->picture().size.isEmpty());
  form.showRun(testing::shown(testing::network20()));
  EXPECT_GT(form.ChartCanvas2->picture().size.height(), small.height() * 3);
  form.TabWidget1->setCurrentIndex(2);
  EXPECT_FALSE(form.ChartCanvas3->picture().size.isEmpty());
}

TEST_F(ChartsForm, CopyPutsTheLogOnTheClipboard) {
  form.TabWidget1->setCurrentIndex(3);
  ASSERT_TRUE(form.Button2->isEnabled());
  QTest::mouseClick(form.Button2, Qt::LeftButton);
  EXPECT_EQ(QApplication::clipboard()->text(),
            optimisationLogHeaders().join('\t') + "\n1\t2-3\t7\t1-3\t4\t12\t2\t4\t2 / 6\t6 / 2\t6 / 2\t2 / 6\t6\n");
  EXPECT_EQ(form.LogGrid->model()->index(0, 3).data().toString(), QStringLiteral("1-3"));

  form.showRun(testing::shown(testing::calculate(3, testing::kThreeEvents)));
  EXPECT_EQ(form.LogGrid->model()->rowCount(), 0);
  EXPECT_FALSE(form.Button2->isEnabled());
  EXPECT_FALSE(form.Label1->text().isEmpty());
}

// Donors that moved nobody stay in the log, muted, and the filter hides them.
TEST_F(ChartsForm, LogCountsApartAndHidesDonorsThatMovedNobody) {
  std::vector<OptimisationMove> moves = {run.moves[0], run.moves[0], run.moves[0]};
  moves[1].freedWorkers = 0;
  form.TabWidget1->setCurrentIndex(3);
  form.showRun({std::make_shared<const TNetworkModel>(*run.model), moves});
  EXPECT_EQ(form.Label1->text(), QStringLiteral("Доноров: 3, перемещений: 2, перемещено рабочих: 8"));
  const auto colour = [this](int row, int column) {
    return form.LogGrid->model()->index(row, column).data(Qt::ForegroundRole).value<QColor>();
  };
  EXPECT_EQ(colour(1, 1), kMutedText);
  EXPECT_EQ(colour(0, 1), kCriticalColour);
  const auto numbers = [this] {
    QStringList shown;
    for (int r = 0; r < form.LogGrid->model()->rowCount(); ++r) shown << form.LogGrid->model()->index(r, 0).data().toString();
    return shown.join(QLatin1Char(' '));
  };
  form.CheckBox1->setChecked(true);  // "только перемещения"
  EXPECT_EQ(numbers(), QStringLiteral("1 3"));
  QTest::mouseClick(form.Button2, Qt::LeftButton);  // copies the rows shown
  EXPECT_EQ(QApplication::clipboard()->text().count('\n'), 3);
  form.showRun({std::make_shared<const TNetworkModel>(*run.model), moves});  // a new run keeps the filter
  EXPECT_EQ(numbers(), QStringLiteral("1 3"));
  form.CheckBox1->setChecked(false);
  EXPECT_EQ(numbers(), QStringLiteral("1 2 3"));
}

// Escape closes the window; Ctrl+Tab and Ctrl+Shift+Tab turn its pages one step
// wherever the focus is, inside the pages or not.
TEST_F(ChartsForm, KeysOfTheWindow) {
  showForm();
  QWidget* outside = form.RadioButton1;
  QWidget* inside = form.TabWidget1->tabBar();
  for (QWidget* focus : {outside, inside, outside}) {
    focus->setFocus();
    const int at = form.TabWidget1->currentIndex();
    QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form.TabWidget1->currentIndex(), (at + 1) % 5);
  }
  QTest::keyClick(outside, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(form.TabWidget1->currentIndex(), 2);
  QTest::keyClick(outside, Qt::Key_Escape);
  EXPECT_TRUE(form.isHidden());
}

TEST_F(ChartsForm, ZoomAndFit) {
  showForm();
  form.TabWidget1->setCurrentIndex(0);
  const QSize natural = form.ChartCanvas1->size();
  form.ToolButton1Click();
  EXPECT_GT(form.ChartCanvas1->width(), natural.width());
  form.ToolButton3Click();
  const QSize viewport = form.ScrollArea1->viewport()->size();
  EXPECT_LE(form.ChartCanvas1->width(), viewport.width());
  EXPECT_LE(form.ChartCanvas1->height(), viewport.height());
  form.ToolButton4Click();
  EXPECT_EQ(form.ChartCanvas1->size(), natural);
  form.TabWidget1->setCurrentIndex(3);
  EXPECT_FALSE(form.ToolButton1->isEnabled());
}

}  // namespace
}  // namespace velko
