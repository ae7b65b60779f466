// "Графики" from the main window: where the command stands, when it is enabled, and
// that the window shows the run just made with its optimisation log.
#include <memory>

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "model/command_error.h"
#include "ui/charts/chart_pictures.h"
#include "ui/charts/charts_form.h"
#include "ui/currency_edit.h"
#include "ui/late_windows.h"
#include "ui/works/works_grid.h"
#include "ui/works/works_table_model.h"
#include "ui_test_support.h"

namespace velko::testing {
namespace {

class ChartsCommand : public WindowTest {
 protected:
  // The three-event network whose optimisation moves four workers with one donor.
  void enterThreeEvents() { enterWorks(3, {"1;2;0;1;1", "2;3;6;2;7", "1;3;2;6;7"}); }
};

TEST_F(ChartsCommand, StandsAfterPrintAndAtTheEndOfTheCalculationMenu) {
  EXPECT_EQ(main->RxSpeedButton10->toolTip(), QStringLiteral("Графики"));
  QLayout* row = main->Panel1->layout();
  EXPECT_EQ(row->indexOf(main->RxSpeedButton10), row->indexOf(main->RxSpeedButton8) + 1);
  const auto* calculation = main->findChild<QMenu*>(QStringLiteral("N8"));
  ASSERT_NE(calculation, nullptr);
  const QList<QAction*> items = calculation->actions();
  ASSERT_FALSE(items.isEmpty());
  EXPECT_EQ(items.back(), main->N20);
  EXPECT_EQ(main->N20->text(), QStringLiteral("&Графики"));
}

TEST_F(ChartsCommand, EnabledExactlyWithTheResultsViewer) {
  EXPECT_FALSE(main->RxSpeedButton10->isEnabled());
  EXPECT_FALSE(main->N20->isEnabled());
  enterThreeEvents();
  main->RxSpeedButton5->click();  // "Расчет"
  EXPECT_EQ(main->RxSpeedButton10->isEnabled(), main->RxSpeedButton9->isEnabled());
  EXPECT_TRUE(main->N20->isEnabled());
  main->RxSpeedButton2->click();  // "Новые данные"
  EXPECT_EQ(main->RxSpeedButton10->isEnabled(), main->RxSpeedButton9->isEnabled());
  EXPECT_EQ(main->N20->isEnabled(), main->RxSpeedButton9->isEnabled());
}

// The window is made at its first showing, with the log of the run before it.
TEST_F(ChartsCommand, ShowsTheLastRunWithItsLog) {
  enterThreeEvents();
  main->RxSpeedButton6->click();  // "Оптимизация"
  EXPECT_EQ(main->chartsWindow(), nullptr);
  main->N20->trigger();
  auto* charts = qobject_cast<TCharts_form*>(main->chartsWindow());
  ASSERT_NE(charts, nullptr);
  ASSERT_EQ(charts->optimisationLog().size(), 1u);
  EXPECT_EQ(charts->optimisationLog().front().freedWorkers, 4);
  ASSERT_TRUE(waitUntilActive(charts));
  EXPECT_TRUE(charts->RadioButton2->isChecked());
  charts->TabWidget1->setCurrentIndex(3);  // the log is made when its tab is shown
  EXPECT_EQ(charts->LogGrid->model()->rowCount(), 1);

  // A plain calculation afterwards: no log, one variant, seen on the next activation.
  activate(main);
  main->RxSpeedButton5->click();
  EXPECT_TRUE(charts->optimisationLog().empty());
  activate(charts);
  EXPECT_FALSE(charts->RadioButton2->isEnabled());
  EXPECT_TRUE(charts->RadioButton1->isChecked());
  EXPECT_EQ(charts->LogGrid->model()->rowCount(), 0);
}

// The window shows the last run of the data set loaded, smooths and saves only that one:
// opening another network while it is open once mixed the new works into the old run.
TEST_F(ChartsCommand, NeverMixesTwoDataSets) {
  enterThreeEvents();
  main->RxSpeedButton6->click();  // "Оптимизация"
  main->N20->trigger();
  auto* charts = qobject_cast<TCharts_form*>(main->chartsWindow());
  ASSERT_NE(charts, nullptr);
  const auto smooth = [charts] {
    QTest::mouseClick(charts->ToolButton5, Qt::LeftButton);  // "Выравнивание"
    EXPECT_TRUE(QTest::qWaitFor([charts] { return !charts->levellingRunning(); }, 20000));
    return charts->Label2->text();
  };
  EXPECT_TRUE(smooth().endsWith(QStringLiteral("из 3")));
  EXPECT_TRUE(charts->Label4->isHidden());

  Modals modals;
  modals.chooseFile(QStringLiteral(VELKO_TEST_DATA "/network20.dat"));
  main->N3->trigger();  // "Открыть ..."
  ASSERT_EQ(main->worksModel()->rowCount(), 31);
  EXPECT_EQ(charts->levellingResult(), nullptr);
  EXPECT_TRUE(charts->optimisationLog().empty());
  EXPECT_FALSE(charts->ToolButton5->isEnabled());
  EXPECT_FALSE(charts->RadioButton3->isChecked());
  EXPECT_EQ(charts->Label4->text(), QStringLiteral("Для этих данных расчет еще не выполнялся — выполните «Расчет»"));
  charts->TabWidget1->setCurrentIndex(1);
  EXPECT_EQ(charts->currentPicture().size, messagePicture(QString()).size);  // what is saved, too

  main->RxSpeedButton5->click();  // "Расчет"
  EXPECT_TRUE(charts->Label4->isHidden());
  EXPECT_GT(charts->currentPicture().size.height(), 31 * 20);
  EXPECT_TRUE(smooth().endsWith(QStringLiteral("из 31")));

  // An edit afterwards: the run stays, said to be older than the data.
  activate(main);
  clickCell(main->StringGrid1, 1, 2);
  typeKeys(QStringLiteral("9"));
  pressKey(Qt::Key_Return);
  QCoreApplication::processEvents();
  ASSERT_EQ(mainCell(2, 1), "9");
  EXPECT_EQ(charts->Label4->text(),
            QStringLiteral("Показан последний расчет; данные с тех пор изменены — выполните «Расчет»"));
  EXPECT_NE(charts->levellingResult(), nullptr);
  EXPECT_TRUE(smooth().endsWith(QStringLiteral("из 31")));
  main->N22->trigger();  // "Отменить": the data of the run again
  EXPECT_TRUE(charts->Label4->isHidden());

  main->RxSpeedButton2->click();  // "Создать"
  EXPECT_FALSE(charts->Label4->isHidden());
  EXPECT_EQ(charts->levellingResult(), nullptr);
}

// Closed or left minimised, the window comes back shown, in front and active.
TEST_F(ChartsCommand, ComesBackWhenCalled) {
  enterThreeEvents();
  main->RxSpeedButton5->click();
  main->N20->trigger();
  QWidget* charts = main->chartsWindow();
  ASSERT_TRUE(waitUntilActive(charts));
  for (bool closeToo : {false, true}) {
    SCOPED_TRACE(closeToo);
    charts->showMinimized();
    if (closeToo) charts->close();
    activate(main);
    main->N20->trigger();
    EXPECT_FALSE(charts->isMinimized());
    EXPECT_TRUE(charts->isVisible());
    EXPECT_TRUE(waitUntilActive(charts));
  }
}

// The module the program loads at the first use: found beside the program, and its
// window is the charts window.
TEST(LateWindowsModule, LoadsAndMakesTheChartsWindow) {
  LateWindows& module = loadLateWindows(VELKO_MODULE_DIR);
  EXPECT_NE(&module, &lateWindows());  // the tests' own is linked in
  const std::unique_ptr<QWidget> charts(module.createChartsWindow(nullptr));
  EXPECT_EQ(charts->objectName(), QStringLiteral("Charts_form"));
  EXPECT_THROW(loadLateWindows("/nonexistent"), CommandError);
}

}  // namespace
}  // namespace velko::testing
