// "Открыть ...", "Сохранить", "Сохранить как ..." through the program's file dialogs.
#include <functional>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QToolButton>

#include "model/network_model.h"
#include "ui/currency_edit.h"
#include "ui/works/works_grid.h"
#include "ui_test_support.h"

namespace velko::testing {
namespace {

using FileCommands = WindowTest;

const QByteArray kExampleFile = "2\r\n3\r\n4\r\n1,2,5,3,1\r\n2,4,2.5,4,2\r\n3,1,4,2,3\r\n";

TEST_F(FileCommands, SaveAsAddsTheExtensionAndOpenBringsTheDataBackInEventOrder) {
  typeInto(main->CurrencyEdit1, QStringLiteral("2"));
  enterWorks(4, {"1;2;5;3;1", "2;4;2,5;4;2", "3;1;4;2;3"});
  Modals modals;
  modals.chooseFile(path(QStringLiteral("net")));
  main->N5->trigger();  // "Сохранить как ..."
  EXPECT_EQ(readFile(QStringLiteral("net.dat")),
            QStringLiteral("2\r\n3\r\n4\r\n1,2,5,3,1\r\n2,4,2.5,4,2\r\n3,1,4,2,3\r\n"));
  EXPECT_EQ(main->windowTitle(), QStringLiteral("Оптимизация : net.dat"));

  main->RxSpeedButton2->click();  // "Новые данные"
  modals.chooseFile(path(QStringLiteral("net.dat")));
  main->RxSpeedButton3->click();  // "Открыть файл"
  EXPECT_TRUE(modals.boxes.isEmpty());
  EXPECT_EQ(main->windowTitle(), QStringLiteral("Оптимизация : net.dat"));
  EXPECT_EQ(main->CurrencyEdit1->text(), QStringLiteral("2"));
  EXPECT_EQ(main->CurrencyEdit2->text(), QStringLiteral("3"));
  EXPECT_EQ(main->CurrencyEdit3->text(), QStringLiteral("4"));
  EXPECT_EQ(main->height(), 470);  // "Данные по работам" showed the table
  EXPECT_TRUE(main->RxSpeedButton5->isEnabled());
  const QStringList expected = {"1", "2", "5", "3", "1", "1", "3", "4", "2", "3", "2", "4", "2,5", "4", "2"};
  QStringList shown;
  for (int r = 1; r <= 3; ++r) {
    for (int c = 0; c < 5; ++c) shown << gridCell(main->StringGrid1, c, r);
  }
  EXPECT_EQ(shown, expected);

  // "Сохранить" writes to the opened file without a dialog; the caption stays.
  fillMainTable({"1;2;7;3;1"});
  main->RxSpeedButton4->click();
  EXPECT_TRUE(readFile(QStringLiteral("net.dat")).contains(QStringLiteral("1,2,7,3,1\r\n")));
  EXPECT_EQ(main->windowTitle(), QStringLiteral("Оптимизация : net.dat"));
}

// New data is named "Default.dat", but no file of that name was chosen: "Сохранить" by
// every way in is "Сохранить как ...", and another project's Default.dat stays.
TEST_F(FileCommands, SaveBeforeAnyFileAsksForAName) {
  writeFile(QStringLiteral("Default.dat"), kExampleFile);
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"menu", [&] { main->N4->trigger(); }},
      {"toolbar", [&] { main->RxSpeedButton4->click(); }},
      {"Ctrl+S",
       [&] {
         if (!isFocusWindow(main)) activate(main);  // back from the last dialog
         QTest::keySequence(main->StringGrid1, QKeySequence(Qt::CTRL | Qt::Key_S));
       }},
  };
  for (const auto& [what, save] : ways) {
    SCOPED_TRACE(what);
    main->N2->trigger();
    enterWorks(3, {"1;2;1;1;1"});
    Modals modals;
    save();  // cancelled
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Оптимизация : Default.dat*"));
    modals.chooseFile(path(QStringLiteral("mine")));
    save();
    EXPECT_EQ(readFile(QStringLiteral("mine.dat")), QStringLiteral("0\r\n1\r\n3\r\n1,2,1,1,1\r\n"));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Оптимизация : mine.dat"));
    EXPECT_TRUE(modals.boxes.isEmpty());
    QFile::remove(path(QStringLiteral("mine.dat")));
  }
  EXPECT_EQ(readFile(QStringLiteral("Default.dat")), QString::fromLatin1(kExampleFile));
}

// "Сохранить как ..." asks before it replaces a file; "Нет" goes back to the dialog.
TEST_F(FileCommands, SaveAsAsksBeforeReplacingAFile) {
  writeFile(QStringLiteral("net.dat"), kExampleFile);
  enterWorks(3, {"1;2;1;1;1"});
  Modals modals;
  modals.chooseFile(path(QStringLiteral("net")));
  modals.answerBox(QMessageBox::No);
  main->N5->trigger();  // and the dialog, asked again, is cancelled
  ASSERT_EQ(modals.boxes.size(), 1);
  EXPECT_TRUE(modals.boxes[0].text.contains(QStringLiteral("net.dat")));
  EXPECT_EQ(readFile(QStringLiteral("net.dat")), QString::fromLatin1(kExampleFile));
  modals.chooseFile(path(QStringLiteral("net.dat")));
  modals.answerBox(QMessageBox::Yes);
  main->N5->trigger();
  EXPECT_EQ(modals.boxes.size(), 2);
  EXPECT_EQ(readFile(QStringLiteral("net.dat")), QStringLiteral("0\r\n1\r\n3\r\n1,2,1,1,1\r\n"));
}

// Counts out of bounds, and a file that is no data file at all (it used to open as an
// empty network).
TEST_F(FileCommands, AFileThatCannotBeReadChangesNeitherTheNameNorTheData) {
  enterWorks(3, {"1;2;1;1;1"});
  const std::pair<QByteArray, QString> cases[] = {
      {"1\r\n2\r\n50001\r\n1,2,1,1,1\r\n", QStringLiteral("количество событий или работ вне допустимых пределов")},
      {"", QStringLiteral("bad.dat: это не файл исходных данных")}};
  for (const auto& [bytes, message] : cases) {
    writeFile(QStringLiteral("bad.dat"), bytes);
    Modals modals;
    modals.chooseFile(path(QStringLiteral("bad.dat")));
    main->N3->trigger();
    ASSERT_EQ(modals.boxes.size(), 1);
    EXPECT_EQ(modals.boxes[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(modals.boxes[0].text.endsWith(message)) << modals.boxes[0].text.toStdString();
    EXPECT_TRUE(main->windowTitle().startsWith(QStringLiteral("Оптимизация : Default.dat")));
    EXPECT_EQ(main->CurrencyEdit3->text(), QStringLiteral("3"));
    EXPECT_EQ(main->height(), 470);
    // A later "Сохранить" never writes the file that failed (here it asks for a name,
    // and is cancelled).
    main->N4->trigger();
    EXPECT_EQ(readFile(QStringLiteral("bad.dat")), QString::fromLatin1(bytes));
    EXPECT_EQ(modals.boxes.size(), 1);
  }
}

TEST_F(FileCommands, SkippedLinesAreToldAndTheCountsShowTheRowsRead) {
  // A stale fourth row must not survive below the rows read.
  enterWorks(5, {"1;2;1;1;1", "2;3;1;1;1", "3;4;1;1;1", "4;5;1;1;1"});
  writeFile(QStringLiteral("skip.dat"), "1\r\n4\r\n4\r\n1,2,5,3,1\r\n2,1,6,4,9\r\n2,3,1,1,0\r\n3,4,1,1,7\r\n");
  Modals modals;
  modals.chooseFile(path(QStringLiteral("skip.dat")));
  main->N3->trigger();
  ASSERT_EQ(modals.boxes.size(), 1);
  EXPECT_EQ(modals.boxes[0].icon, QMessageBox::Information);
  EXPECT_TRUE(modals.boxes[0].text.contains(QStringLiteral("пропущено строк работ: 2")));
  EXPECT_EQ(main->CurrencyEdit2->text(), QStringLiteral("2"));
  EXPECT_EQ(theModel().WorkCount, 2);
  EXPECT_EQ(gridCell(main->StringGrid1, 2, 1), QStringLiteral("6"));  // the later line of a pair wins
  EXPECT_EQ(mainCell(0, 3), QStringLiteral(""));
  EXPECT_EQ(mainCell(0, 4), QStringLiteral(""));
}

TEST_F(FileCommands, OpeningTheSameFileTwiceWithTheTableShownEndsCollapsed) {
  writeFile(QStringLiteral("net.dat"), kExampleFile);
  Modals modals;
  modals.chooseFile(path(QStringLiteral("net.dat")));
  main->N3->trigger();
  ASSERT_EQ(main->height(), 470);
  modals.chooseFile(path(QStringLiteral("net.dat")));
  main->N3->trigger();
  EXPECT_EQ(main->height(), main->collapsedHeight());
  EXPECT_TRUE(modals.boxes.isEmpty());
}

TEST_F(FileCommands, SavingRightAfterNewDataGivesAnEmptyDataSet) {
  enterWorks(4, {"1;2;5;3;1", "2;4;2;4;2"});
  main->N2->trigger();
  Modals modals;
  modals.chooseFile(path(QStringLiteral("Default.dat")));
  main->N4->trigger();
  EXPECT_EQ(readFile(QStringLiteral("Default.dat")), QStringLiteral("0\r\n0\r\n0\r\n"));
}

TEST_F(FileCommands, ACancelledDialogDoesNothing) {
  enterWorks(3, {"1;2;1;1;1"});
  Modals modals;
  main->N5->trigger();
  main->N3->trigger();
  EXPECT_EQ(main->windowTitle(), QStringLiteral("Оптимизация : Default.dat*"));
  EXPECT_EQ(main->height(), 470);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{});
}

}  // namespace
}  // namespace velko::testing
