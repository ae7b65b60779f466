// The works tables: the key filter, row delete and insert from the table menus, and the
// separate works window whose edits reach the main table at once.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "model/network_model.h"
#include "ui/currency_edit.h"
#include "ui/works/works_grid.h"
#include "ui_test_support.h"

namespace velko::testing {
namespace {

using WorksTableWindow = WindowTest;

const QStringList kRowsABCD = {"1;2;1;1;1", "2;3;2;2;2", "3;4;3;3;3", "4;5;4;4;4"};

QStringList firstColumn(const WorksTable& table, int rows) {
  QStringList column;
  for (int r = 1; r <= rows; ++r) column << QString::fromStdString(table.cell(0, r));
  return column;
}

TEST_F(WorksTableWindow, AFullStopBecomesACommaAndOtherKeysAreDropped) {
  enterWorks(4, {";;;;", ";;;;"});
  clickCell(main->StringGrid1, 1, 2);
  typeKeys(QStringLiteral("2.5"));
  EXPECT_EQ(mainCell(2, 1), QStringLiteral("2,5"));  // the cell has it while the user types
  pressKey(Qt::Key_Tab);                              // Tab moves on to the next cell
  typeKeys(QStringLiteral("a 7+ж"));
  pressKey(Qt::Key_Tab);
  EXPECT_EQ(mainCell(3, 1), QStringLiteral("7"));
  // A comma and a minus sign are taken in every column, to fail later in the conversion.
  clickCell(main->StringGrid1, 2, 0);
  typeKeys(QStringLiteral("-1,"));
  pressKey(Qt::Key_Backspace);
  pressKey(Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(mainCell(0, 2), QStringLiteral("-1"));
}

// Right after "-5" stayed in the cell, so the next key made "-54". The arrows go on to
// the next cell once the caret stands at that end of the text, and typing replaces
// the text of the cell they reach, as after Tab and the vertical arrows.
TEST_F(WorksTableWindow, ArrowsLeaveTheCellAtTheEndOfItsTextAndTypingReplacesTheNext) {
  enterWorks(4, {";3;2;1;1", "1;2;3;1;1"});
  clickCell(main->StringGrid1, 1, 0);
  typeKeys(QStringLiteral("-5"));
  pressKey(Qt::Key_Right);
  typeKeys(QStringLiteral("4"));  // J of row 1
  pressKey(Qt::Key_Left);         // the caret before "4"
  pressKey(Qt::Key_Left);         // back on I, "-5" selected
  pressKey(Qt::Key_Right);        // the whole text selected: on to J
  pressKey(Qt::Key_Down);
  typeKeys(QStringLiteral("7"));  // J of row 2
  pressKey(Qt::Key_Right);        // the caret at the end: on to t
  pressKey(Qt::Key_Right);
  typeKeys(QStringLiteral("8"));  // n of row 2
  pressKey(Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(QStringList({mainCell(0, 1), mainCell(1, 1), mainCell(1, 2), mainCell(2, 2), mainCell(3, 2)}),
            (QStringList{"-5", "4", "7", "3", "8"}));
}

// A right click on the cell being edited showed the text editor's menu.
TEST_F(WorksTableWindow, RightClickOnTheCellBeingEditedOpensTheTableMenu) {
  enterWorks(4, kRowsABCD);
  clickCell(main->StringGrid1, 2, 1);
  QWidget* editor = QApplication::focusWidget();
  ASSERT_NE(qobject_cast<QLineEdit*>(editor), nullptr);
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(3, 3), editor->mapToGlobal(QPoint(3, 3)));
  QApplication::sendEvent(editor, &click);
  (void)QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 1000);
  EXPECT_EQ(QApplication::activePopupWidget(), main->PopupMenu1);
  main->PopupMenu1->close();
}

// Insertion used to drop the last work and deletion to leave an empty row inside the
// count, on which "Расчет" then failed.
TEST_F(WorksTableWindow, DeleteAndInsertKeepEveryWorkAndTheCountBoxFollows) {
  enterWorks(5, kRowsABCD);
  clickCell(main->StringGrid1, 2, 3);
  main->N16->trigger();  // "Удалить строку"
  EXPECT_EQ(firstColumn(main->worksModel()->table(), 3), (QStringList{"1", "3", "4"}));
  EXPECT_EQ(gridCell(main->StringGrid1, 0, 2), QStringLiteral("3"));  // the grid shows it
  EXPECT_EQ(main->CurrencyEdit2->text(), QStringLiteral("3"));
  EXPECT_EQ(main->StringGrid1->model()->rowCount(), 3);
  EXPECT_EQ(theModel().WorkCount, 3);

  main->N17->trigger();  // "Вставить строку", still on row 2
  EXPECT_EQ(firstColumn(main->worksModel()->table(), 4), (QStringList{"1", "", "3", "4"}));
  EXPECT_EQ(main->CurrencyEdit2->text(), QStringLiteral("4"));
  EXPECT_EQ(main->StringGrid1->model()->rowCount(), 4);

  // A full table takes no further row.
  typeInto(main->CurrencyEdit2, QStringLiteral("100000"));
  main->RxSpeedButton1->click();  // collapses: the table was shown
  main->RxSpeedButton1->click();
  Modals modals;
  main->N17->trigger();
  EXPECT_EQ(modals.texts(),
            QStringList{QStringLiteral("Строка не вставлена: в таблице уже 100000 работ, больше не бывает")});
  EXPECT_EQ(main->CurrencyEdit2->text(), QStringLiteral("100000"));
  EXPECT_EQ(main->StringGrid1->model()->rowCount(), 100000);
}

TEST_F(WorksTableWindow, BeforeAnyCellIsSelectedTheRowCommandsActOnTheFirstRow) {
  enterWorks(5, kRowsABCD);
  main->N16->trigger();
  EXPECT_EQ(firstColumn(main->worksModel()->table(), 4), (QStringList{"2", "3", "4", ""}));
  EXPECT_EQ(main->StringGrid1->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("     I"));
}

TEST_F(WorksTableWindow, SeparateWindowEditsReachTheMainTableAtOnceAndStayAfterCancel) {
  enterWorks(5, kRowsABCD);
  main->N18->trigger();  // "Отдельным окном"
  ASSERT_TRUE(waitUntilActive(rab));
  EXPECT_EQ(main->height(), main->collapsedHeight());
  EXPECT_EQ(rab->windowTitle(), QStringLiteral("Ввод данных"));
  EXPECT_EQ(rab->StringGrid1->model()->rowCount(), 4);
  EXPECT_EQ(gridCell(rab->StringGrid1, 2, 3), QStringLiteral("3"));
  EXPECT_EQ(rab->StringGrid1->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("     n"));

  clickCell(rab->StringGrid1, 3, 2);
  typeKeys(QStringLiteral("1.7"));
  EXPECT_EQ(mainCell(2, 3), QStringLiteral("1,7"));  // before the edit is even committed
  rab->RxSpeedButton2->click();                       // "Отмена" undoes nothing
  EXPECT_FALSE(rab->isVisible());
  EXPECT_EQ(mainCell(2, 3), QStringLiteral("1,7"));
}

// Enter went nowhere: it commits the edit and moves on as Tab does, in both tables, at a
// row's end to the next row's first cell.
TEST_F(WorksTableWindow, EnterCommitsAndMovesOnToTheNextCell) {
  enterWorks(5, kRowsABCD);
  for (const bool separate : {false, true}) {
    SCOPED_TRACE(separate ? "separate window" : "main window");
    QTableView* grid = main->StringGrid1;
    if (separate) {
      main->N18->trigger();
      ASSERT_TRUE(waitUntilActive(rab));
      grid = rab->StringGrid1;
    }
    clickCell(grid, 1, 3);
    typeKeys(QStringLiteral("9"));
    pressKey(Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(0, 4));
    typeKeys(QStringLiteral("8"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QApplication::processEvents();
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(0, kColumnName));
    EXPECT_EQ(QStringList({mainCell(3, 1), mainCell(4, 1)}), (QStringList{"9", "8"}));
    // On a cell with no editor open as well, from the row's last cell to the next row.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(1, 0));
  }
}

// Escape in the separate window cancels the edit first (the cell gets its text back), and
// then closes the window.
TEST_F(WorksTableWindow, EscapeCancelsTheEditThenClosesTheSeparateWindow) {
  enterWorks(5, kRowsABCD);
  main->N18->trigger();
  ASSERT_TRUE(waitUntilActive(rab));
  clickCell(rab->StringGrid1, 2, 2);
  ASSERT_NE(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr);
  typeKeys(QStringLiteral("9"));
  pressKey(Qt::Key_Escape);
  EXPECT_TRUE(rab->isVisible());
  EXPECT_EQ(mainCell(2, 2), QStringLiteral("2"));  // the cell's text before the edit
  EXPECT_EQ(gridCell(rab->StringGrid1, 2, 2), QStringLiteral("2"));
  EXPECT_EQ(QApplication::focusWidget(), rab->StringGrid1);
  pressKey(Qt::Key_Escape);
  EXPECT_FALSE(rab->isVisible());
}

TEST_F(WorksTableWindow, SeparateWindowRowCommandsReachTheMainTableOnlyByApply) {
  enterWorks(5, kRowsABCD);
  main->N18->trigger();
  ASSERT_TRUE(waitUntilActive(rab));
  clickCell(rab->StringGrid1, 2, 0);
  rab->N1->trigger();  // "Удалить строку" in the separate table
  EXPECT_EQ(gridCell(rab->StringGrid1, 0, 2), QStringLiteral("3"));
  EXPECT_EQ(mainCell(0, 2), QStringLiteral("2"));
  rab->N2->trigger();  // "Вставить строку"
  EXPECT_EQ(gridCell(rab->StringGrid1, 0, 2), QStringLiteral(""));
  EXPECT_EQ(gridCell(rab->StringGrid1, 0, 3), QStringLiteral("3"));

  // Going to the main window and back copies the main table afresh: the change is lost.
  activate(main);
  activate(rab);
  EXPECT_EQ(gridCell(rab->StringGrid1, 0, 2), QStringLiteral("2"));

  clickCell(rab->StringGrid1, 2, 0);
  rab->N1->trigger();
  rab->RxSpeedButton1->click();  // "Применить"
  EXPECT_TRUE(rab->isVisible());
  EXPECT_EQ(firstColumn(main->worksModel()->table(), 4), (QStringList{"1", "3", "4", ""}));
  EXPECT_EQ(main->CurrencyEdit2->text(), QStringLiteral("3"));  // the works count follows
}

TEST_F(WorksTableWindow, CloseDataKeepsTheSeparateWindowOpen) {
  enterWorks(5, kRowsABCD);
  main->N18->trigger();
  ASSERT_TRUE(waitUntilActive(rab));
  activate(main);
  main->RxSpeedButton1->click();
  ASSERT_EQ(main->height(), 470);
  main->N19->trigger();  // "Закрыть данные"
  EXPECT_EQ(main->height(), main->collapsedHeight());
  EXPECT_TRUE(rab->isVisible());
}

// Wide enough at first for the numbers and a short name; narrower only down to the numbers.
TEST_F(WorksTableWindow, SeparateWindowHoldsItsMinimumSize) {
  EXPECT_EQ(rab->width(), 476);
  EXPECT_EQ(rab->minimumWidth(), 276);
  EXPECT_EQ(rab->minimumHeight(), 252);
}

TEST_F(WorksTableWindow, AWorksCountBoxChangedSinceTheTakeOverSizesNothingAndRaisesNoError) {
  // The separate table shows the rows the copies handle: the count last taken over.
  enterWorks(5, kRowsABCD);
  typeInto(main->CurrencyEdit2, QStringLiteral("-"));
  Modals modals;
  main->N18->trigger();
  ASSERT_TRUE(waitUntilActive(rab));
  EXPECT_TRUE(modals.boxes.isEmpty());
  EXPECT_EQ(rab->StringGrid1->model()->rowCount(), 4);
}

}  // namespace
}  // namespace velko::testing
