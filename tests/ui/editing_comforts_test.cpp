// What every planning tool offers, in the main window driven as a user drives it: undo
// and redo of every change to the works, blocks of cells through the clipboard, the
// question before unsaved changes are lost, the shortcuts, recent files and data files
// opened from outside.
#include <functional>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>

#include "model/network_model.h"
#include "ui/currency_edit.h"
#include "ui/options/settings_store.h"
#include "ui/works/works_grid.h"
#include "ui/works/works_table_model.h"
#include "ui/works/works_undo.h"
#include "ui_test_support.h"

namespace velko::testing {
namespace {

// Two works named, so every change below shows whether the names go with their rows.
const QStringList kRows = {"1;2;5;3;1", "2;4;2,5;4;2;Кладка стен", "1;3;4;2;3;Монтаж, кровля", "3;4;1;1;3"};

// What an undo step must give back: every stored cell, the counts and the count boxes.
struct Shown {
  QStringList cells;
  int works = 0;
  int events = 0;
  QString worksBox;
  QString eventsBox;
  bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* out) {
  *out << s.works << "/" << s.events << " boxes " << s.worksBox.toStdString() << "/" << s.eventsBox.toStdString()
       << " cells " << s.cells.join(QLatin1Char('|')).toStdString();
}

class EditingComforts : public WindowTest {
 protected:
  Shown shown() const {
    Shown s{{}, theModel().WorkCount, theModel().EventCount, main->CurrencyEdit2->text(), main->CurrencyEdit3->text()};
    for (int r = 1; r <= 6; ++r) {
      for (int c = 0; c < kTableColumns; ++c) s.cells << mainCell(c, r);
    }
    return s;
  }
  QUndoStack* history() const { return main->history()->stack(); }
  void keys(const QKeySequence& sequence) { QTest::keySequence(QApplication::focusWidget(), sequence); }
  void selectCells(QTableView* grid, int top, int left, int bottom, int right) {
    clickCell(grid, top, left);
    const QModelIndex from = grid->model()->index(top - 1, left);
    const QModelIndex to = grid->model()->index(bottom - 1, right);
    grid->selectionModel()->select(QItemSelection(from, to), QItemSelectionModel::ClearAndSelect);
  }
  // Waits for the error box a refusal shows once its event has been handled.
  void settle(const Modals& modals) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !modals.boxes.isEmpty(); }, 2000));
  }
};

// Each kind of change, made as a user makes it, is one step named in the menu; undo
// gives back exactly the table before it, redo the table after it.
class UndoEveryChange;
struct Change {
  const char* what;
  const char* step;  // as "Отменить: " names it
  std::function<void(UndoEveryChange&)> make;
};
// The test list names the change, not the bytes of the struct.
void PrintTo(const Change& change, std::ostream* out) { *out << change.what; }

class UndoEveryChange : public EditingComforts, public ::testing::WithParamInterface<Change> {
 public:
  using EditingComforts::clickCell;
  using EditingComforts::keys;
  using EditingComforts::selectCells;
  using EditingComforts::typeInto;
  using EditingComforts::typeKeys;
  TMain* window() const { return main; }
  Trab_form* separate() const { return rab; }
};

TEST_P(UndoEveryChange, UndoGivesBackTheTableBeforeAndRedoTheTableAfter) {
  enterWorks(5, kRows);
  const Shown before = shown();
  const int steps = history()->count();
  GetParam().make(*this);
  if (rab->isVisible()) activate(main);
  QApplication::processEvents();
  const Shown after = shown();
  ASSERT_NE(after, before);
  EXPECT_EQ(history()->count(), steps + 1);
  EXPECT_EQ(main->N22->text(), QStringLiteral("&Отменить: ") + QString::fromUtf8(GetParam().step));
  EXPECT_TRUE(main->windowTitle().endsWith(QLatin1Char('*')));
  keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(shown(), before);
  keys(QKeySequence(Qt::CTRL | Qt::Key_Y));
  EXPECT_EQ(shown(), after);
  keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
  keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  EXPECT_EQ(shown(), after);
}

const Change kChanges[] = {
    {"typing", "правка ячейки t в строке 2",
     [](UndoEveryChange& u) {
       u.clickCell(u.window()->StringGrid1, 2, 2);
       u.typeKeys(QStringLiteral("7.5"));  // three keys, one step
     }},
    {"paste", "вставка 2 строк",
     [](UndoEveryChange& u) {
       u.clickCell(u.window()->StringGrid1, 4, 0);
       QGuiApplication::clipboard()->setText(QStringLiteral("4\t5\t1\t1\t1\r\n2\t5\t3\t1\t1\r\n"));
       u.keys(QKeySequence(Qt::CTRL | Qt::Key_V));
     }},
    {"typing_name", "правка наименования в строке 1",
     [](UndoEveryChange& u) {
       u.clickCell(u.window()->StringGrid1, 1, kColumnName);
       u.typeKeys(QStringLiteral("Фундамент"));
     }},
    {"paste_six_columns", "вставка 2 строк",
     [](UndoEveryChange& u) {
       u.clickCell(u.window()->StringGrid1, 2, 0);
       QGuiApplication::clipboard()->setText(QStringLiteral("4\t5\t1\t1\t1\tОтделка\r\n2\t5\t3\t1\t1\t\r\n"));
       u.keys(QKeySequence(Qt::CTRL | Qt::Key_V));
     }},
    {"paste_name", "правка наименования в строке 4",
     [](UndoEveryChange& u) {
       u.clickCell(u.window()->StringGrid1, 4, kColumnName);
       QGuiApplication::clipboard()->setText(QStringLiteral("Окна; двери\r\n"));  // one name, semicolon and all
       u.keys(QKeySequence(Qt::CTRL | Qt::Key_V));
     }},
    {"cut", "вырезание ячеек",
     [](UndoEveryChange& u) {
       u.selectCells(u.window()->StringGrid1, 1, 1, 2, 3);
       u.keys(QKeySequence(Qt::CTRL | Qt::Key_X));
     }},
    {"delete", "очистка ячеек",
     [](UndoEveryChange& u) {
       u.selectCells(u.window()->StringGrid1, 2, 0, 3, kColumnName);
       u.keys(QKeySequence(Qt::Key_Delete));
     }},
    {"remove_row", "удаление строки 2",
     [](UndoEveryChange& u) {
       u.clickCell(u.window()->StringGrid1, 2, 0);
       u.window()->N16->trigger();
     }},
    {"insert_row", "вставка строки 3",
     [](UndoEveryChange& u) {
       u.clickCell(u.window()->StringGrid1, 3, 0);
       u.window()->N17->trigger();
     }},
    {"counts", "изменение количества работ",
     [](UndoEveryChange& u) {
       u.typeInto(u.window()->CurrencyEdit2, QStringLiteral("6"));
       u.window()->RxSpeedButton1->click();
     }},
    {"separate_window", "правка в окне «Ввод данных»",
     [](UndoEveryChange& u) {
       u.window()->N18->trigger();
       ASSERT_TRUE(waitUntilActive(u.separate()));
       u.clickCell(u.separate()->StringGrid1, 1, 3);
       u.typeKeys(QStringLiteral("12"));
     }},
    {"separate_window_name", "правка в окне «Ввод данных»",
     [](UndoEveryChange& u) {
       u.window()->N18->trigger();
       ASSERT_TRUE(waitUntilActive(u.separate()));
       u.clickCell(u.separate()->StringGrid1, 3, kColumnName);
       u.typeKeys(QStringLiteral("!"));
     }},
};

INSTANTIATE_TEST_SUITE_P(EditingComforts, UndoEveryChange, ::testing::ValuesIn(kChanges),
                         [](const ::testing::TestParamInfo<Change>& info) { return std::string(info.param.what); });

TEST_F(EditingComforts, UndoInTheSeparateWindowShowsThereAtOnce) {
  enterWorks(5, kRows);
  main->N18->trigger();
  ASSERT_TRUE(waitUntilActive(rab));
  clickCell(rab->StringGrid1, 1, 3);
  typeKeys(QStringLiteral("12"));
  keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(mainCell(3, 1), QStringLiteral("3"));
  EXPECT_EQ(gridCell(rab->StringGrid1, 3, 1), QStringLiteral("3"));
}

// The printed report and the charts read the run's counts: a row inserted or a count
// undone afterwards does not add or drop rows of the results.
TEST_F(EditingComforts, ChangesAndUndoAfterACalculationLeaveItsResults) {
  enterWorks(4, kRows);
  main->N10->trigger();  // "Расчет режима"
  ASSERT_TRUE(waitUntilActive(pros));
  activate(main);
  const QString results = readFile(QStringLiteral("velko.rez"));
  clickCell(main->StringGrid1, 2, 0);
  main->N17->trigger();
  keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
  keys(QKeySequence(Qt::CTRL | Qt::Key_Z));  // the counts taken over before the run
  EXPECT_EQ(theModel().WorkCount, 0);
  EXPECT_EQ(theModel().RunWorkCount, 4);
  EXPECT_EQ(theModel().RunEventCount, 4);
  EXPECT_EQ(readFile(QStringLiteral("velko.rez")), results);
  EXPECT_TRUE(main->RxSpeedButton8->isEnabled());
}

TEST_F(EditingComforts, ASpreadsheetBlockGrowsTheTableAndTheSelectionCopiesBack) {
  enterWorks(5, {"1;2;5;3;1"});
  clickCell(main->StringGrid1, 1, 0);
  // Copied from a spreadsheet: tabs, CR LF, both decimal marks, the last line end.
  QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\t5\t3\t1\r\n2\t4\t2.5\t4\t2\r\n1\t3\t4,25\t2\t3\r\n"));
  keys(QKeySequence(Qt::CTRL | Qt::Key_V));
  EXPECT_EQ(main->CurrencyEdit2->text(), QStringLiteral("3"));
  EXPECT_EQ(main->StringGrid1->model()->rowCount(), 3);
  EXPECT_EQ(main->N22->text(), QStringLiteral("&Отменить: вставка 3 строк"));
  // Saved by a spreadsheet as text with semicolons, LF line ends, into the n column.
  clickCell(main->StringGrid1, 3, 3);
  QGuiApplication::clipboard()->setText(QStringLiteral("7;8\n"));
  keys(QKeySequence(Qt::CTRL | Qt::Key_V));
  selectCells(main->StringGrid1, 2, 0, 3, 4);
  keys(QKeySequence(Qt::CTRL | Qt::Key_C));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("2\t4\t2,5\t4\t2\n1\t3\t4,25\t7\t8\n"));
  EXPECT_EQ(theModel().WorkCount, 3);
}

TEST_F(EditingComforts, ARefusedBlockIsToldAndLeavesTheTableAsItWas) {
  enterWorks(5, kRows);
  // As many rows as the table holds, pasted below its first row.
  QString tooLong;
  for (int k = 0; k < kMaxWorks; ++k) tooLong += QStringLiteral("1;2;3;4;5\n");
  const std::pair<QString, QString> cases[] = {
      {QStringLiteral("1\t2\t3\n4\t5\tшесть\n"),
       QStringLiteral("Строка 3, столбец t: нельзя вставить «шесть»: в ячейке допустимы только цифры, запятая и "
                      "минус. Ничего не вставлено.")},
      {QStringLiteral("1\t2\t3\t4\t5\t") + QString(256, QChar(0x0416)) + QStringLiteral("\n"),
       QStringLiteral("Строка 2, столбец Наименование: наименование длиннее 255 знаков (256). Ничего не вставлено.")},
      {tooLong, QStringLiteral("Строка 100001, столбец I: работ не может быть больше 100000, а блок из 100000 строк "
                               "от строки 2 дошел бы до строки 100001. Ничего не вставлено.")},
  };
  const Shown before = shown();
  for (const auto& [text, message] : cases) {
    if (!isFocusWindow(main)) activate(main);  // back from the last error box
    clickCell(main->StringGrid1, 2, 0);
    Modals modals;
    QGuiApplication::clipboard()->setText(text);
    keys(QKeySequence(Qt::CTRL | Qt::Key_V));
    settle(modals);
    EXPECT_EQ(modals.texts(), QStringList{message});
    EXPECT_EQ(shown(), before);
  }
  EXPECT_EQ(main->N22->text(), QStringLiteral("&Отменить: изменение количества работ и событий"));
}

// A table of the largest size, as a data file would fill it: edited at its far end, a row
// inserted at the top, a block of 10000 rows pasted, each undone back to the rows opened;
// and the separate window shows those rows and sends an edit back.
TEST_F(EditingComforts, AFullTableIsEditedAndUndoneBackToTheRowsOpened) {
  const int works = kMaxWorks - 1;
  typeInto(main->CurrencyEdit2, QString::number(works));
  typeInto(main->CurrencyEdit3, QStringLiteral("50"));
  main->RxSpeedButton1->click();
  main->worksModel()->change([works](WorksTable& table) {
    for (int r = 1; r <= works; ++r) {
      table.setRow(r, {std::to_string(r % 49 + 1), "50", "1,5", "2", std::to_string(r)});
    }
  });
  const WorksTable opened = main->worksModel()->table();
  TStringGrid* grid = main->StringGrid1;
  ASSERT_EQ(grid->model()->rowCount(), works);

  clickCell(grid, works, 3);
  typeKeys(QStringLiteral("7"));
  pressKey(Qt::Key_Tab);
  EXPECT_EQ(gridCell(grid, 3, works), QStringLiteral("7"));
  clickCell(grid, 1, 0);
  main->N17->trigger();  // "Вставить строку" at the top
  EXPECT_EQ(mainCell(3, works + 1), QStringLiteral("7"));
  QString block;
  for (int k = 0; k < 10000; ++k) block += QStringLiteral("1\t2\t3\t4\t5\n");
  QGuiApplication::clipboard()->setText(block);
  keys(QKeySequence(Qt::CTRL | Qt::Key_V));
  EXPECT_EQ(main->N22->text(), QStringLiteral("&Отменить: вставка 10000 строк"));
  EXPECT_EQ(QStringList({mainCell(0, 10000), mainCell(4, 10001)}), (QStringList{"1", "10000"}));

  for (int k = 0; k < 3; ++k) main->N22->trigger();
  EXPECT_TRUE(main->worksModel()->table() == opened);
  EXPECT_EQ(gridCell(grid, 3, works), QStringLiteral("2"));
  EXPECT_EQ(main->CurrencyEdit2->text(), QString::number(works));

  main->N18->trigger();  // "Отдельным окном"
  ASSERT_TRUE(waitUntilActive(rab));
  ASSERT_EQ(rab->StringGrid1->model()->rowCount(), works);
  clickCell(rab->StringGrid1, works, 4);
  typeKeys(QStringLiteral("0"));
  EXPECT_EQ(mainCell(4, works), QStringLiteral("0"));
}

// "Создать", "Открыть ...", a recent file, "Выход", the window's close button, a dropped
// file: each asks before the changes are lost. "Отмена" keeps everything, "Нет" goes on
// without saving, "Да" saves first: new data has no file chosen, so "Да" asks for a name,
// and cancelling that dialog keeps everything too.
TEST_F(EditingComforts, EveryWayOutAsksAboutUnsavedChanges) {
  QSettings userSettings(path(QStringLiteral("velko.conf")), QSettings::IniFormat);
  SettingsStore user(userSettings);
  main->setStores(user, user);
  writeFile(QStringLiteral("other.dat"), "1\r\n1\r\n2\r\n1,2,3,1,1\r\n");
  struct Way {
    const char* what;
    std::function<void()> take;
    std::function<bool()> taken;
  };
  Modals modals;
  QMessageBox::StandardButton answer = QMessageBox::Cancel;
  auto isOther = [&] { return main->windowTitle() == QStringLiteral("Оптимизация : other.dat"); };
  const Way ways[] = {
      {"Создать", [&] { main->N2->trigger(); }, [&] { return main->CurrencyEdit3->text() == QStringLiteral("0"); }},
      {"Открыть ...",
       [&] {
         if (answer == QMessageBox::No) modals.chooseFile(path(QStringLiteral("other.dat")));
         main->N3->trigger();
       },
       isOther},
      {"recent file",  // other.dat, since "Открыть ..." opened it
       [&] { main->findChild<QAction*>(QStringLiteral("RecentFile1"))->trigger(); }, isOther},
      {"Выход", [&] { main->N7->trigger(); }, [&] { return !main->isVisible(); }},
      {"close button", [&] { main->close(); }, [&] { return !main->isVisible(); }},
      {"drop",
       [&] {
         QMimeData mime;
         mime.setUrls({QUrl::fromLocalFile(path(QStringLiteral("other.dat")))});
         QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
         QApplication::sendEvent(main, &enter);  // a drop goes where the drag was taken
         QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
         QApplication::sendEvent(main, &drop);
         QApplication::processEvents();
       },
       isOther},
  };
  for (const Way& way : ways) {
    for (const QMessageBox::StandardButton given : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Yes}) {
      answer = given;
      SCOPED_TRACE(std::string(way.what) +
                   (given == QMessageBox::Cancel ? ", Отмена" : given == QMessageBox::No ? ", Нет" : ", Да"));
      if (!main->isVisible()) main->show();
      activate(main);
      main->worksModel()->change([](WorksTable& table) { table.setCell(0, 1, "9"); });
      enterWorks(5, kRows);
      ASSERT_TRUE(main->isModified());
      const Shown before = shown();
      questions.asked.clear();
      questions.answer(given);
      way.take();
      ASSERT_EQ(questions.asked, QStringList{QStringLiteral("Сохранить изменения в файле Default.dat?")});
      EXPECT_EQ(questions.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      EXPECT_EQ(way.taken(), given == QMessageBox::No);
      if (given != QMessageBox::No) {
        EXPECT_EQ(shown(), before);
      }
      if (given == QMessageBox::No && main->windowTitle().contains(QStringLiteral("other.dat"))) {
        main->N2->trigger();  // back to Default.dat, nothing to ask
      }
    }
  }
  EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("Default.dat"))));
  // "Да" saves under the name chosen, and then the way out goes on.
  main->show();
  activate(main);
  enterWorks(4, {"1;2;3;1;1"});
  questions.answer(QMessageBox::Yes);
  modals.chooseFile(path(QStringLiteral("saved.dat")));
  main->N2->trigger();
  EXPECT_EQ(readFile(QStringLiteral("saved.dat")), QStringLiteral("0\r\n1\r\n4\r\n1,2,3,1,1\r\n"));
  EXPECT_EQ(main->CurrencyEdit3->text(), QStringLiteral("0"));
  EXPECT_TRUE(modals.boxes.isEmpty());
  delete std::exchange(main, nullptr);  // before the store it keeps its placement in
}

// A drag source that is answered "move" deletes its file: a data file is only ever
// taken as a copy (or a link), and a drag that offers nothing but a move is refused,
// on the window and on a box that would take its text.
TEST_F(EditingComforts, ADroppedFileIsNeverMoved) {
  writeFile(QStringLiteral("other.dat"), "1\r\n1\r\n2\r\n1,2,3,1,1\r\n");
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(path(QStringLiteral("other.dat")))});
  struct Case {
    Qt::DropActions offered;
    Qt::KeyboardModifiers keys;  // Shift proposes a move
    Qt::DropAction taken;        // IgnoreAction: refused
  };
  for (QWidget* target : {static_cast<QWidget*>(main), static_cast<QWidget*>(main->CurrencyEdit1)}) {
    for (const Case& c : {Case{Qt::MoveAction, Qt::NoModifier, Qt::IgnoreAction},
                          Case{Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier, Qt::CopyAction},
                          Case{Qt::LinkAction | Qt::MoveAction, Qt::ShiftModifier, Qt::LinkAction}}) {
      SCOPED_TRACE(target->objectName().toStdString() + " " + std::to_string(int(c.offered)));
      main->N2->trigger();
      QDragEnterEvent enter(QPoint(5, 5), c.offered, &mime, Qt::LeftButton, c.keys);
      QApplication::sendEvent(target, &enter);
      EXPECT_EQ(enter.isAccepted(), c.taken != Qt::IgnoreAction);
      QDropEvent drop(QPointF(5, 5), c.offered, &mime, Qt::LeftButton, c.keys);
      QApplication::sendEvent(target, &drop);
      QApplication::processEvents();
      EXPECT_EQ(drop.isAccepted(), c.taken != Qt::IgnoreAction);
      if (c.taken != Qt::IgnoreAction) {
        EXPECT_EQ(drop.dropAction(), c.taken);
      }
      EXPECT_EQ(main->windowTitle() == QStringLiteral("Оптимизация : other.dat"), c.taken != Qt::IgnoreAction);
    }
  }
}

TEST_F(EditingComforts, ShortcutsAndMnemonicsReachTheirCommands) {
  enterWorks(5, kRows);
  const std::pair<QKeySequence, QAction*> shortcuts[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_N), main->N2},  {QKeySequence(Qt::CTRL | Qt::Key_O), main->N3},
      {QKeySequence(Qt::CTRL | Qt::Key_S), main->N4},  {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), main->N5},
      {QKeySequence(Qt::CTRL | Qt::Key_P), main->N21}, {QKeySequence(Qt::CTRL | Qt::Key_Q), main->N7},
      {QKeySequence(Qt::Key_F9), main->N10},           {QKeySequence(Qt::CTRL | Qt::Key_F9), main->N11},
      {QKeySequence(Qt::Key_F1), main->N15},           {QKeySequence(Qt::CTRL | Qt::Key_Z), main->N22},
      {QKeySequence(Qt::CTRL | Qt::Key_Y), main->N23}, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), main->N23},
  };
  // Only whether the key reaches the item is looked at here, not the command's work.
  for (const auto& [keys, action] : shortcuts) {
    QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
    action->setEnabled(true);
  }
  for (QWidget* focus : {static_cast<QWidget*>(main->CurrencyEdit3), static_cast<QWidget*>(main->StringGrid1)}) {
    for (const auto& [keys, action] : shortcuts) {
      if (focus == main->StringGrid1) {
        clickCell(main->StringGrid1, 2, 2);  // the cell editor has the keys
      } else {
        focus->setFocus();
      }
      SCOPED_TRACE(focus->objectName().toStdString() + " " + keys.toString().toStdString());
      if (focus == main->CurrencyEdit3 && action == main->N22) continue;  // the box's own typing first
      QSignalSpy triggered(action, &QAction::triggered);
      QTest::keySequence(QApplication::focusWidget(), keys);
      EXPECT_EQ(triggered.size(), 1);
    }
  }
  EXPECT_EQ(main->RxSpeedButton5->toolTip(), QStringLiteral("Расчет (F9)"));
  EXPECT_EQ(main->RxSpeedButton2->toolTip(), QStringLiteral("Новые данные (Ctrl+N)"));
  EXPECT_TRUE(main->N5->shortcut().toString(QKeySequence::NativeText).contains(QStringLiteral("Shift+S")));
  // Alt+Ф opens "Файл", from a count box and from a cell being edited.
  for (int place = 0; place < 2; ++place) {
    if (place == 0) {
      main->CurrencyEdit2->setFocus();
    } else {
      clickCell(main->StringGrid1, 1, 1);
    }
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(QChar(u'Ф').unicode()),
                        QStringLiteral("ф"), Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 1000));
    EXPECT_EQ(QApplication::activePopupWidget(), main->findChild<QMenu*>(QStringLiteral("N1"))) << place;
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
}

TEST_F(EditingComforts, RecentFilesAFileNamedAtStartAndADroppedFile) {
  QSettings profileSettings(path(QStringLiteral("Velko.ini")), QSettings::IniFormat);
  QSettings userSettings(path(QStringLiteral("velko.conf")), QSettings::IniFormat);
  SettingsStore profile(profileSettings);
  SettingsStore user(userSettings);
  main->setStores(profile, user);
  enterWorks(3, {"1;2;3;1;1"});
  Modals modals;
  for (int k = 1; k <= 6; ++k) {
    modals.chooseFile(path(QStringLiteral("f%1.dat").arg(k)));
    main->N5->trigger();
  }
  auto recent = [this](int place) { return main->findChild<QAction*>(QStringLiteral("RecentFile%1").arg(place)); };
  ASSERT_NE(recent(5), nullptr);
  EXPECT_EQ(recent(6), nullptr);
  EXPECT_EQ(recent(1)->statusTip(), path(QStringLiteral("f6.dat")));
  EXPECT_TRUE(recent(1)->text().startsWith(QStringLiteral("&1 ")));
  EXPECT_EQ(QSettings(path(QStringLiteral("velko.conf")), QSettings::IniFormat).value(QStringLiteral("RecentFiles/File5")),
            path(QStringLiteral("f2.dat")));
  // A file gone from its folder is dropped from the list with a message.
  QFile::remove(path(QStringLiteral("f5.dat")));
  recent(2)->trigger();
  EXPECT_EQ(modals.texts(), QStringList{QStringLiteral("Файл ") + path(QStringLiteral("f5.dat")) +
                                        QStringLiteral(" не найден; он убран из списка последних файлов.")});
  EXPECT_EQ(recent(5), nullptr);
  recent(3)->trigger();  // f3.dat, opened as "Открыть ..." opens it
  EXPECT_EQ(main->windowTitle(), QStringLiteral("Оптимизация : f3.dat"));
  EXPECT_EQ(recent(1)->statusTip(), path(QStringLiteral("f3.dat")));

  // "velko FILE.dat": the file opens once the window is up.
  {
    TMain started;
    started.setStartFile(path(QStringLiteral("f4.dat")));
    started.show();
    ASSERT_TRUE(waitUntilActive(&started));
    EXPECT_TRUE(QTest::qWaitFor([&] { return started.windowTitle() == QStringLiteral("Оптимизация : f4.dat"); }));
    EXPECT_EQ(started.height(), 470);
  }
  // A data file dragged over a count box goes to the window, not into the box.
  activate(main);
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(path(QStringLiteral("f1.dat")))});
  mime.setText(QUrl::fromLocalFile(path(QStringLiteral("f1.dat"))).toString());
  QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(main->CurrencyEdit1, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(3, 3), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(main->CurrencyEdit1, &drop);
  EXPECT_TRUE(QTest::qWaitFor([this] { return main->windowTitle() == QStringLiteral("Оптимизация : f1.dat"); }));
  EXPECT_EQ(main->CurrencyEdit1->text(), QStringLiteral("0"));
  EXPECT_EQ(modals.boxes.size(), 1);
}

}  // namespace
}  // namespace velko::testing
