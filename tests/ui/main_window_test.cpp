// The main window: start-up state, the counts and the works table shown and hidden,
// size limits, enabled commands, Calculate and Optimise, and errors in the box.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTableView>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <vector>

#include "model/network_model.h"
#include "ui/command_guard.h"
#include "ui/currency_edit.h"
#include "ui/status_panel.h"
#include "ui/works/works_grid.h"
#include "ui_test_support.h"

namespace velko::testing {
namespace {

using MainWindow = WindowTest;

const QStringList kExample = {"1;2;5;3;1", "2;4;2,5;4;2", "1;3;4;2;3"};

TEST_F(MainWindow, StartsCollapsedWithTheDefaultCaptionAndTheResultCommandsDisabled) {
  EXPECT_EQ(main->windowTitle(), QStringLiteral("Оптимизация : Default.dat"));
  EXPECT_EQ(main->height(), main->collapsedHeight());
  EXPECT_EQ(main->Panel4->height(), 1);
  EXPECT_EQ(QApplication::focusWidget(), main->CurrencyEdit2);
  EXPECT_EQ(main->CurrencyEdit2->selectedText(), QStringLiteral("0"));
  for (const char* name : {"RxSpeedButton5", "RxSpeedButton6", "RxSpeedButton8", "RxSpeedButton9"}) {
    EXPECT_FALSE(main->findChild<QToolButton*>(name)->isEnabled()) << name;
  }
  for (const char* name : {"N10", "N11"}) EXPECT_FALSE(main->findChild<QAction*>(name)->isEnabled()) << name;
  for (const char* name : {"RxSpeedButton1", "RxSpeedButton2", "RxSpeedButton3", "RxSpeedButton4"}) {
    EXPECT_TRUE(main->findChild<QToolButton*>(name)->isEnabled()) << name;
  }
  const QString status = main->findChild<QLabel*>("RxLabel2")->text();
  EXPECT_EQ(status.size(), 39 + 8);
  EXPECT_TRUE(status.endsWith(QStringLiteral("   ТМ-42")));
  EXPECT_FALSE(status.left(39).trimmed().isEmpty());
  EXPECT_FALSE(rab->isVisible());
  EXPECT_FALSE(pros->isVisible());
  // The hints name the buttons for screen readers as well.
  EXPECT_EQ(main->RxSpeedButton5->accessibleName(), QStringLiteral("Расчет"));
  EXPECT_EQ(main->RxSpeedButton9->toolTip(), QStringLiteral("Просмотр результатов"));
  QTableView* grid = main->StringGrid1;
  EXPECT_EQ(grid->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("     Id"));
}

TEST_F(MainWindow, WidthIsHeldAndHeightNeverBelowTheCollapsedHeight) {
  EXPECT_EQ(main->width(), 345);
  EXPECT_EQ(main->minimumWidth(), main->width());
  EXPECT_EQ(main->maximumWidth(), main->width());
  EXPECT_EQ(main->minimumHeight(), main->collapsedHeight());
  EXPECT_EQ(main->maximumHeight(), QWIDGETSIZE_MAX);
  main->resize(500, 50);
  EXPECT_EQ(main->width(), 345);
  EXPECT_EQ(main->height(), main->collapsedHeight());
  // The counts panel and the toolbar are whole in the collapsed window.
  EXPECT_EQ(main->Panel3->height(), 136);
  EXPECT_EQ(main->Panel1->height(), 34);
  EXPECT_EQ(main->Panel2->height(), 20);
}

TEST_F(MainWindow, WorksDataShowsTheTableSizedToTheWorksCountAndHidesItAgain) {
  typeInto(main->CurrencyEdit2, QStringLiteral("5"));
  pressKey(Qt::Key_Return);  // Enter in the works count box moves to the events count box
  EXPECT_EQ(QApplication::focusWidget(), main->CurrencyEdit3);
  typeKeys(QStringLiteral("4"));
  pressKey(Qt::Key_Return);  // Enter in the events count box is "Данные по работам"
  EXPECT_EQ(main->height(), 470);
  EXPECT_EQ(main->StringGrid1->model()->rowCount(), 5);
  EXPECT_EQ(theModel().WorkCount, 5);
  EXPECT_EQ(theModel().EventCount, 4);
  EXPECT_TRUE(main->RxSpeedButton5->isEnabled());
  EXPECT_TRUE(main->N11->isEnabled());
  EXPECT_FALSE(main->RxSpeedButton9->isEnabled());
  EXPECT_TRUE(main->StringGrid1->isAncestorOf(QApplication::focusWidget()) ||
              QApplication::focusWidget() == main->StringGrid1);

  main->RxSpeedButton1->click();
  EXPECT_EQ(main->height(), main->collapsedHeight());
  EXPECT_TRUE(main->RxSpeedButton5->isEnabled());  // collapsing disables nothing
}

TEST_F(MainWindow, ATableOpenedLowOnTheScreenMovesTheWindowUpToShowIt) {
  const QRect free = main->screen()->availableGeometry();
  main->move(main->pos().x(), free.bottom() - main->collapsedHeight() - 10);
  typeInto(main->CurrencyEdit2, QStringLiteral("5"));
  typeInto(main->CurrencyEdit3, QStringLiteral("4"));
  pressKey(Qt::Key_Return);
  ASSERT_EQ(main->height(), 470);
  EXPECT_LE(main->frameGeometry().bottom(), free.bottom());
  EXPECT_GE(main->frameGeometry().top(), free.top());
}

TEST_F(MainWindow, NoEventsKeepsTheWindowCollapsedAndCalculateDisabled) {
  typeInto(main->CurrencyEdit2, QStringLiteral("3"));
  main->RxSpeedButton1->click();
  EXPECT_EQ(main->height(), main->collapsedHeight());
  EXPECT_FALSE(main->RxSpeedButton5->isEnabled());
  typeInto(main->CurrencyEdit3, QStringLiteral("-2"));
  main->RxSpeedButton1->click();
  EXPECT_EQ(main->height(), main->collapsedHeight());
  EXPECT_FALSE(main->N10->isEnabled());
}

TEST_F(MainWindow, TypingAnEventsCountCollapsesTheShownTableAtTheFirstKey) {
  enterWorks(4, kExample);
  ASSERT_EQ(main->height(), 470);
  main->resize(main->width(), 600);  // a height the user dragged to still counts as shown
  typeInto(main->CurrencyEdit3, QStringLiteral("7"));
  EXPECT_EQ(main->height(), main->collapsedHeight());
}

TEST_F(MainWindow, CountBoxesTakeOnlyWhatANumberIsMadeOf) {
  typeInto(main->CurrencyEdit2, QStringLiteral("1a2 b"));
  EXPECT_EQ(main->CurrencyEdit2->text(), QStringLiteral("12"));
}

TEST_F(MainWindow, ACountThatIsNoWholeNumberIsReportedAndChangesNothing) {
  enterWorks(4, kExample);
  main->resize(main->width(), 600);
  typeInto(main->CurrencyEdit2, QStringLiteral("2,5"));
  {
    Modals modals;
    main->RxSpeedButton1->click();
    ASSERT_EQ(modals.texts(), QStringList{QStringLiteral("'2,5' is not a valid integer value")});
    EXPECT_EQ(modals.boxes[0].icon, QMessageBox::Critical);
  }
  EXPECT_EQ(main->height(), 600);
  EXPECT_EQ(theModel().WorkCount, 3);
  EXPECT_TRUE(main->RxSpeedButton5->isEnabled());
}

TEST_F(MainWindow, CountsAboveTheTablesAreRefusedBeforeTheTableGrows) {
  Modals modals;
  typeInto(main->CurrencyEdit2, QStringLiteral("100001"));
  typeInto(main->CurrencyEdit3, QStringLiteral("5"));
  main->RxSpeedButton1->click();
  typeInto(main->CurrencyEdit2, QStringLiteral("3"));
  typeInto(main->CurrencyEdit3, QStringLiteral("50001"));
  main->RxSpeedButton1->click();
  EXPECT_EQ(modals.texts(), (QStringList{QStringLiteral("Количество работ 100001 больше допустимого (100000)"),
                                         QStringLiteral("Количество событий 50001 больше допустимого (50000)")}));
  EXPECT_EQ(main->height(), main->collapsedHeight());
  EXPECT_EQ(main->StringGrid1->model()->rowCount(), 0);
}

TEST_F(MainWindow, CalculateWritesTheResultsAndShowsThemUnoptimised) {
  enterWorks(4, kExample);
  main->N10->trigger();  // the menu item performs the button
  ASSERT_TRUE(waitUntilActive(pros));
  EXPECT_TRUE(QFile::exists(path(QStringLiteral("velko.rez"))));
  EXPECT_EQ(pros->windowTitle(), QStringLiteral("Просмотр результатов расчета (без оптимизации)"));
  EXPECT_TRUE(pros->Memo1->toPlainText().contains(QStringLiteral("Параметры работ")));
  EXPECT_TRUE(main->RxSpeedButton8->isEnabled());
  EXPECT_TRUE(main->RxSpeedButton9->isEnabled());
  EXPECT_EQ(theModel().Optimised, 0);

  // Returning to the main window focuses the works count box with its text selected.
  activate(main);
  EXPECT_EQ(QApplication::focusWidget(), main->CurrencyEdit2);
  EXPECT_EQ(main->CurrencyEdit2->selectedText(), QStringLiteral("3"));
}

TEST_F(MainWindow, OptimiseThenCalculateSwitchTheViewersCaption) {
  enterWorks(4, kExample);
  main->RxSpeedButton6->click();
  ASSERT_TRUE(waitUntilActive(pros));
  EXPECT_EQ(pros->windowTitle(), QStringLiteral("Просмотр результатов расчета (после оптимизации)"));
  EXPECT_TRUE(pros->Memo1->toPlainText().contains(QStringLiteral("Результаты оптимизации")));
  EXPECT_EQ(theModel().Optimised, 1);

  activate(main);
  main->RxSpeedButton5->click();
  ASSERT_TRUE(waitUntilActive(pros));
  EXPECT_EQ(pros->windowTitle(), QStringLiteral("Просмотр результатов расчета (без оптимизации)"));
  EXPECT_FALSE(pros->Memo1->toPlainText().contains(QStringLiteral("Результаты оптимизации")));
}

// The first of two rows of the same events vanished from the results without a word.
// Both commands tell it with the rest of the network's doubtful places, in one box, and
// mark the replaced row until the next edit.
TEST_F(MainWindow, ARepeatedPairIsToldInOneNoticeAndItsRowMarkedUntilTheNextEdit) {
  enterWorks(4, {"1;2;3;1;1", "1;2;5;2;1", "2;3;1;1;1"});
  const QString notice = QStringLiteral(
      "Повтор пары событий, учтена последняя строка: строка 1 (1-2) заменена строкой 2\n"
      "Последнее событие 4 не достигается ни одной работой");
  for (QToolButton* command : {main->RxSpeedButton5, main->RxSpeedButton6}) {
    Modals modals;
    command->click();
    ASSERT_EQ(modals.texts(), QStringList{notice});
    EXPECT_EQ(modals.boxes.front().icon, QMessageBox::Information);
    EXPECT_EQ(main->worksModel()->markedRows(), std::vector<int>{1});
    const QAbstractItemModel* rows = main->StringGrid1->model();
    EXPECT_TRUE(rows->index(0, 4).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(rows->index(1, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_TRUE(pros->isVisible());  // the results stand
    activate(main);
  }
  clickCell(main->StringGrid1, 1, 1);
  typeKeys(QStringLiteral("4"));  // 1-4: no pair repeated, every event reached
  EXPECT_TRUE(main->worksModel()->markedRows().empty());
  Modals modals;
  main->RxSpeedButton5->click();
  EXPECT_TRUE(modals.texts().isEmpty());
}

// F10 did nothing; it opens the menu bar at "Файл", from a box and from a cell.
TEST_F(MainWindow, F10OpensTheMenuBar) {
  enterWorks(4, kExample);
  for (QWidget* focus : {static_cast<QWidget*>(main->CurrencyEdit2), static_cast<QWidget*>(main->StringGrid1)}) {
    if (focus == main->StringGrid1) {
      clickCell(main->StringGrid1, 1, 1);
    } else {
      focus->setFocus();
    }
    pressKey(Qt::Key_F10);
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 1000));
    EXPECT_EQ(QApplication::activePopupWidget(), main->findChild<QMenu*>(QStringLiteral("N1")));
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
}

TEST_F(MainWindow, AFailedCalculationIsShownInTheBoxAndNothingIsWrittenOrShown) {
  enterWorks(4, {"1;2;5;3;1", "2;4;;4;2", "1;3;4;2;3"});
  Modals modals;
  main->RxSpeedButton5->click();
  EXPECT_EQ(modals.texts(), QStringList{QStringLiteral("Строка 2, столбец t: '' is not a valid floating point value")});
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("velko.rez"))));
  EXPECT_FALSE(pros->isVisible());
  EXPECT_FALSE(main->RxSpeedButton9->isEnabled());
  // The rows before the failing one stay loaded; the program goes on.
  EXPECT_EQ(theModel().cell(1, 2).Id, 1);
  EXPECT_EQ(theModel().cell(1, 3).Id, 0);
  fillMainTable({"1;2;5;3;1", "2;4;2;4;2", "1;3;4;2;3"});
  main->RxSpeedButton5->click();
  EXPECT_EQ(modals.boxes.size(), 1);
  EXPECT_TRUE(QFile::exists(path(QStringLiteral("velko.rez"))));
}

TEST_F(MainWindow, NewDataAfterACalculationDisablesTheResultCommandsAndKeepsTheRows) {
  enterWorks(4, kExample);
  Modals modals;
  main->RxSpeedButton5->click();
  activate(main);
  main->RxSpeedButton2->click();  // "Новые данные" performs "Создать"
  EXPECT_EQ(questions.asked.size(), 1);
  ASSERT_TRUE(waitUntilActive(main));  // back from the question about the changes
  QApplication::processEvents();
  EXPECT_EQ(main->windowTitle(), QStringLiteral("Оптимизация : Default.dat"));
  for (QToolButton* button : {main->RxSpeedButton5, main->RxSpeedButton6, main->RxSpeedButton8, main->RxSpeedButton9}) {
    EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
  }
  EXPECT_EQ(main->CurrencyEdit1->text(), QStringLiteral("0"));
  EXPECT_EQ(main->CurrencyEdit2->text(), QStringLiteral("0"));
  EXPECT_EQ(main->CurrencyEdit3->text(), QStringLiteral("0"));
  EXPECT_EQ(main->height(), main->collapsedHeight());
  EXPECT_EQ(theModel().cell(1, 2).Id, 0);  // the model is emptied
  // Typing goes on in the works count box, over its "0" (it gave "03").
  typeKeys(QStringLiteral("3"));
  EXPECT_EQ(main->CurrencyEdit2->text(), QStringLiteral("3"));
  // The table's texts stay and come back with a positive works count.
  typeInto(main->CurrencyEdit3, QStringLiteral("4"));
  main->RxSpeedButton1->click();
  EXPECT_EQ(gridCell(main->StringGrid1, 2, 2), QStringLiteral("2,5"));
  EXPECT_TRUE(modals.boxes.isEmpty());
}

TEST_F(MainWindow, ViewResultsShowsTheViewerWithoutACalculation) {
  enterWorks(4, kExample);
  main->RxSpeedButton5->click();
  ASSERT_TRUE(waitUntilActive(pros));
  pros->N4->trigger();
  EXPECT_FALSE(pros->isVisible());
  activate(main);
  main->RxSpeedButton9->click();
  ASSERT_TRUE(waitUntilActive(pros));
  EXPECT_TRUE(pros->isVisible());
}

// The import report of a large project grew its box past the screen, its button with
// it: the box keeps its first lines, and all of them are in its details.
TEST(LongNotice, KeepsItsFirstLinesAndAllOfThemInTheDetails) {
  QStringList lines;
  for (int line = 1; line <= 40; ++line) lines << QStringLiteral("строка %1").arg(line);
  Modals modals;
  showNotice(nullptr, lines.join(QLatin1Char('\n')));
  ASSERT_EQ(modals.boxes.size(), 1);
  EXPECT_EQ(modals.boxes[0].details, lines.join(QLatin1Char('\n')));
  EXPECT_EQ(modals.boxes[0].text.count(QLatin1Char('\n')), 11);
  EXPECT_TRUE(modals.boxes[0].text.endsWith(QStringLiteral("строка 11\n… и ещё строк: 29 (все строки — в подробностях)")));
}

}  // namespace
}  // namespace velko::testing
