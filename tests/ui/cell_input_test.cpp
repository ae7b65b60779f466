// Every way text gets into a works table cell other than typing: paste, drop, an input
// method, the table model. No cell may hold what a key could not type.
#include <functional>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QToolButton>

#include "ui/works/works_grid.h"
#include "ui_test_support.h"

namespace velko::testing {
namespace {

class CellInput : public WindowTest {
 protected:
  QLineEdit* editor() const { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }

  void paste(const QString& text, Qt::Key key = Qt::Key_V, Qt::KeyboardModifier modifier = Qt::ControlModifier) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(QApplication::focusWidget(), key, modifier);
  }

  // Waits for the error boxes a refusal shows once its event has been handled.
  void settle(const Modals& modals, int boxes) {
    // A refusal that shows no box lets the wait run out; the caller checks the count.
    (void)QTest::qWaitFor([&] { return modals.boxes.size() >= boxes; }, 2000);
    QApplication::processEvents();
  }
};

TEST_F(CellInput, ATableFilledThroughPasteReadsBackTheSameAfterSaving) {
  enterWorks(4, {";;;;", ";;;;"});
  // As cells come from a spreadsheet or a text: line ends, blanks and decimal points.
  const QStringList clipboard = {"1\r\n", " 2 ", "2.5\n", "3", "1", "2", "3\n", " 4,25 ", "7", "1"};
  Modals modals;
  for (int k = 0; k < clipboard.size(); ++k) {
    clickCell(main->StringGrid1, 1 + k / 5, k % 5);
    paste(clipboard[k]);
  }
  // A block too wide for the columns from J and letters are refused with a message,
  // and change nothing.
  clickCell(main->StringGrid1, 1, 1);
  paste(QStringLiteral("4\t5\t6\t7\tимя\t8\n1\t2\t3\t4\t5\t6\n"));
  settle(modals, 1);
  clickCell(main->StringGrid1, 2, 3);
  paste(QStringLiteral("12a"));
  settle(modals, 2);
  ASSERT_EQ(modals.boxes.size(), 2);
  EXPECT_EQ(modals.boxes[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(modals.boxes[0].text.startsWith(QStringLiteral("Строка 1, столбец J: в строке блока 6 столбцов")))
      << modals.boxes[0].text.toStdString();
  EXPECT_TRUE(modals.boxes[1].text.startsWith(QStringLiteral("Нельзя вставить «12a»")));
  const QStringList table = {"1", "2", "2,5", "3", "1", "2", "3", "4,25", "7", "1"};
  QStringList shown;
  for (int k = 0; k < 10; ++k) shown << mainCell(k % 5, 1 + k / 5);
  ASSERT_EQ(shown, table);

  modals.chooseFile(path(QStringLiteral("pasted.dat")));
  main->N5->trigger();  // "Сохранить как ..."
  EXPECT_EQ(readFile(QStringLiteral("pasted.dat")), QStringLiteral("0\r\n2\r\n4\r\n1,2,2.5,3,1\r\n2,3,4.25,7,1\r\n"));
  main->N2->trigger();  // "Создать"
  modals.chooseFile(path(QStringLiteral("pasted.dat")));
  main->N3->trigger();  // "Открыть ..."
  shown.clear();
  for (int k = 0; k < 10; ++k) shown << mainCell(k % 5, 1 + k / 5);
  EXPECT_EQ(shown, table);
  EXPECT_EQ(modals.boxes.size(), 2);
}

TEST_F(CellInput, NoWayInPutsWhatAKeyCannotTypeIntoACell) {
  enterWorks(4, {"1;2;9;1;1"});
  clickCell(main->StringGrid1, 1, 2);
  const QModelIndex cell = main->StringGrid1->model()->index(0, 2);
  struct Way {
    const char* name;
    bool tells;  // shows why in an error box
    std::function<void(const QString&)> put;
  };
  const std::vector<Way> ways = {
      {"Ctrl+V", true, [&](const QString& text) { paste(text); }},
      {"Shift+Insert", true, [&](const QString& text) { paste(text, Qt::Key_Insert, Qt::ShiftModifier); }},
      {"Ctrl+V on the table without an editor", true,
       [&](const QString& text) {
         main->StringGrid1->setFocus();
         paste(text);
       }},
      {"drop", true,
       [&](const QString& text) {
         QMimeData mime;
         mime.setText(text);
         QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
         QApplication::sendEvent(editor(), &enter);  // a drop goes where the drag was taken
         QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
         QApplication::sendEvent(editor(), &drop);
       }},
      {"input method", false,
       [&](const QString& text) {
         QInputMethodEvent commit;
         commit.setCommitString(text);
         QApplication::sendEvent(editor(), &commit);
       }},
      {"setData", false, [&](const QString& text) { main->StringGrid1->model()->setData(cell, text); }},
  };
  for (const Way& way : ways) {
    for (const QString& text : {QStringLiteral("4\t5\t6\t7\t8\n1\t2\t3\t4\t5\n"), QStringLiteral("x1"),
                                QStringLiteral("1 2")}) {
      SCOPED_TRACE(std::string(way.name) + ": " + text.toStdString());
      clickCell(main->StringGrid1, 1, 1);  // a fresh editor on the cell, as a click opens it
      clickCell(main->StringGrid1, 1, 2);
      ASSERT_NE(editor(), nullptr);
      Modals modals;
      way.put(text);
      settle(modals, way.tells ? 1 : 0);
      EXPECT_EQ(modals.boxes.size(), way.tells ? 1 : 0);
      EXPECT_EQ(mainCell(2, 1), QStringLiteral("9"));
      if (editor()) {
        EXPECT_EQ(editor()->text(), QStringLiteral("9"));
      }
    }
  }
  // What a cell can hold goes in; a point becomes the comma.
  clickCell(main->StringGrid1, 1, 1);
  clickCell(main->StringGrid1, 1, 2);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral(".5"));
  QApplication::sendEvent(editor(), &commit);
  EXPECT_EQ(mainCell(2, 1), QStringLiteral(",5"));  // the editor opened with its text selected
}

}  // namespace
}  // namespace velko::testing
