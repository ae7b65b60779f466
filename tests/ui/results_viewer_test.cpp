// The results viewer: its caption, the file loaded on every activation, saving a copy,
// select all and copy, and print handed to the main window.
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

#include <QTimer>
#include <QDir>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "data/text_codec.h"
#include "model/network_model.h"
#include "ui/window_placement.h"
#include "ui_test_support.h"

namespace velko::testing {
namespace {

using ResultsViewer = WindowTest;

QByteArray cp1251(const QString& text) { return QByteArray::fromStdString(utf8ToCp1251(text.toStdString())); }

// At the design's (187, 30) the viewer lay on the main window's toolbar, and the user's
// next click went to the viewer; it first opens beside the main window, keeping its size.
TEST(FirstPlacement, BesideTheMainWindowNeverOverIt) {
  const QSize viewer(494, 575);  // 490 x 551 and the window system's frame
  const QRect screen(0, 0, 1280, 1000);
  struct Case {
    QRect main;
    QPoint expected;
  };
  for (const Case& c : {
           Case{{300, 139, 351, 500}, {651, 139}},   // room on the right
           Case{{900, 600, 351, 500}, {406, 425}},   // on the left, its top raised onto the screen
           Case{{200, 0, 900, 400}, {200, 400}},     // neither side: below
           Case{{0, 0, 1000, 800}, {786, 0}},        // nowhere: pushed back onto the screen
       }) {
    EXPECT_EQ(placeBeside(c.main, viewer, screen), c.expected) << c.main.x() << "," << c.main.y();
  }
}

TEST_F(ResultsViewer, FirstShowingKeepsTheDesignSize) {
  enterWorks(2, {"1;2;1;1;1"});
  main->RxSpeedButton5->click();
  ASSERT_TRUE(waitUntilActive(pros));
  EXPECT_EQ(pros->size(), QSize(490, 551));
  EXPECT_NE(pros->pos(), QPoint(187, 30));
}

TEST_F(ResultsViewer, LoadsTheResultsFileOnEveryActivationDroppingEdits) {
  writeFile(QStringLiteral("velko.rez"), cp1251(QStringLiteral("  Параметры работ   \r\n|  1 |\r\n")));
  theModel().Optimised = 1;
  main->RxSpeedButton9->setEnabled(true);
  main->RxSpeedButton9->click();
  ASSERT_TRUE(waitUntilActive(pros));
  EXPECT_EQ(pros->windowTitle(), QStringLiteral("Просмотр результатов расчета (после оптимизации)"));
  EXPECT_EQ(pros->Memo1->toPlainText(), QStringLiteral("  Параметры работ   \n|  1 |"));

  pros->Memo1->setFocus();
  QTest::keyClick(pros->Memo1, Qt::Key_End, Qt::ControlModifier);
  typeKeys(QStringLiteral("X"));
  EXPECT_TRUE(pros->Memo1->toPlainText().endsWith(QStringLiteral("X")));
  theModel().Optimised = 0;
  activate(main);
  activate(pros);
  EXPECT_EQ(pros->windowTitle(), QStringLiteral("Просмотр результатов расчета (без оптимизации)"));
  EXPECT_EQ(pros->Memo1->toPlainText(), QStringLiteral("  Параметры работ   \n|  1 |"));
}

TEST_F(ResultsViewer, AMissingFileIsReportedAndThePreviousTextStays) {
  writeFile(QStringLiteral("velko.rez"), "old\r\n");
  main->RxSpeedButton9->setEnabled(true);
  main->RxSpeedButton9->click();
  ASSERT_TRUE(waitUntilActive(pros));
  QFile::remove(path(QStringLiteral("velko.rez")));
  theModel().Optimised = 1;
  activate(main);
  Modals modals;
  main->RxSpeedButton9->click();
  EXPECT_TRUE(QTest::qWaitFor([&modals] { return !modals.boxes.isEmpty(); }));
  EXPECT_EQ(modals.texts(), QStringList{QStringLiteral("Cannot open file velko.rez")});
  EXPECT_EQ(pros->windowTitle(), QStringLiteral("Просмотр результатов расчета (после оптимизации)"));
  EXPECT_EQ(pros->Memo1->toPlainText(), QStringLiteral("old"));
}

TEST_F(ResultsViewer, SavesTheEditedTextInTheCodePageWithTheRezExtension) {
  writeFile(QStringLiteral("velko.rez"), cp1251(QStringLiteral("Итог\r\n")));
  main->RxSpeedButton9->setEnabled(true);
  main->RxSpeedButton9->click();
  ASSERT_TRUE(waitUntilActive(pros));
  pros->Memo1->appendPlainText(QStringLiteral("Примечание"));
  Modals modals;
  modals.chooseFile(path(QStringLiteral("copy")));
  pros->RxSpeedButton1->click();  // the save button performs the menu item
  EXPECT_TRUE(modals.boxes.isEmpty());
  EXPECT_EQ(readFile(QStringLiteral("copy.rez")), QString::fromLatin1(cp1251(QStringLiteral("Итог\r\nПримечание\r\n"))));
}

// The runtime's text, followed by why: no file can be made in a missing folder, and a
// size limit stands for a full disk.
TEST_F(ResultsViewer, AFileThatCannotBeCreatedIsReportedWithTheReason) {
  writeFile(QStringLiteral("velko.rez"), "text\r\n");
  main->RxSpeedButton9->setEnabled(true);
  main->RxSpeedButton9->click();
  ASSERT_TRUE(waitUntilActive(pros));
  const QString limited = path(QStringLiteral("limited.rez"));
  const std::pair<QString, QString> cases[] = {
      {path(QStringLiteral("missing/copy.rez")), QStringLiteral("Invalid filename")},
      {limited, QStringLiteral("File too large")}};
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  for (const auto& [name, reason] : cases) {
    Modals modals;
    modals.chooseFile(name);
    rlimit small = saved;
    small.rlim_cur = 2;
    if (name == limited) ::setrlimit(RLIMIT_FSIZE, &small);
    pros->N2->trigger();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(modals.texts(), QStringList{QStringLiteral("Cannot create file %1. %2").arg(name, reason)});
  }
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(QDir(path(QString())).entryList({QStringLiteral("*limited*")}, QDir::Files | QDir::Hidden),
            QStringList());
}

// Besides the results file as it is, plain UTF-8 text with LF ends for a text editor of
// this system: by the second filter (whose extension it then gets) or by the name.
TEST_F(ResultsViewer, SavesUtf8TextByTheSecondFilterOrItsExtension) {
  writeFile(QStringLiteral("velko.rez"), cp1251(QStringLiteral("Итог\r\nДлина 7\r\n")));
  main->RxSpeedButton9->setEnabled(true);
  main->RxSpeedButton9->click();
  ASSERT_TRUE(waitUntilActive(pros));
  Modals modals;
  modals.chooseFile(path(QStringLiteral("named.txt")));
  pros->N2->trigger();
  // The second filter picked as a user picks it, in the dialog's list of types.
  QTimer::singleShot(0, [this] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    QTest::keyClick(types, Qt::Key_Down);
    EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("Текст UTF-8 (*.txt)"));
    dialog->selectFile(path(QStringLiteral("picked")));
    static_cast<QDialog*>(dialog)->accept();
  });
  pros->N2->trigger();
  const QString utf8 = QString::fromLatin1(QStringLiteral("Итог\nДлина 7\n").toUtf8());
  EXPECT_EQ(readFile(QStringLiteral("named.txt")), utf8);
  EXPECT_EQ(readFile(QStringLiteral("picked.txt")), utf8);
  EXPECT_TRUE(modals.boxes.isEmpty());
}

// F9, Ctrl+F9 and "Просмотр результатов" bring a minimised viewer back, in front and
// active, with the caption and text of this run; Escape hides it.
TEST_F(ResultsViewer, EveryCommandThatShowsItRestoresAMinimisedViewer) {
  enterWorks(3, {"1;2;1;1;1", "2;3;2;1;2"});
  main->RxSpeedButton5->click();
  ASSERT_TRUE(waitUntilActive(pros));
  const std::pair<QKeySequence, QString> ways[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_F9), QStringLiteral("(после оптимизации)")},
      {QKeySequence(Qt::Key_F9), QStringLiteral("(без оптимизации)")},
      {QKeySequence(), QStringLiteral("(без оптимизации)")},  // "Просмотр результатов"
  };
  for (const auto& [keys, caption] : ways) {
    SCOPED_TRACE(caption.toStdString() + keys.toString().toStdString());
    pros->showMinimized();
    pros->Memo1->setPlainText(QStringLiteral("stale"));
    activate(main);
    if (keys.isEmpty()) {
      main->RxSpeedButton9->click();
    } else {
      QTest::keySequence(QApplication::focusWidget(), keys);
    }
    EXPECT_FALSE(pros->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(pros->isVisible());
    EXPECT_TRUE(waitUntilActive(pros));
    EXPECT_TRUE(pros->windowTitle().endsWith(caption)) << pros->windowTitle().toStdString();
    EXPECT_EQ(pros->Memo1->toPlainText() + QLatin1Char('\n'),
              readCp1251(QStringLiteral("velko.rez")).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  }
  QTest::keyClick(pros->Memo1, Qt::Key_Escape);
  EXPECT_FALSE(pros->isVisible());
  // Each menu and item of the viewer has a letter of its own within its menu.
  auto letter = [](const QString& text) { return text.section(QLatin1Char('&'), 1).left(1).toLower(); };
  QStringList titles;
  for (QAction* entry : pros->menuBar()->actions()) {
    titles << letter(entry->text());
    QStringList items;
    for (const QAction* item : entry->menu()->actions()) {
      if (!item->isSeparator()) items << letter(item->text());
    }
    EXPECT_FALSE(items.contains(QString())) << entry->text().toStdString();
    EXPECT_EQ(items.removeDuplicates(), 0) << entry->text().toStdString();
  }
  EXPECT_EQ(titles, (QStringList{QStringLiteral("ф"), QStringLiteral("п")}));
}

// A results file that cannot be written is named with its full path and the system's
// reason, with what to do; the viewer then never shows an older file as this run's.
TEST_F(ResultsViewer, AResultsFileThatCannotBeWrittenIsNamedAndNotShown) {
  enterWorks(2, {"1;2;1;1;1"});
  main->RxSpeedButton5->click();
  ASSERT_TRUE(waitUntilActive(pros));
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 2;
  Modals modals;
  ::setrlimit(RLIMIT_FSIZE, &small);
  main->RxSpeedButton6->click();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  ASSERT_EQ(modals.boxes.size(), 1);
  const QString text = modals.boxes[0].text;
  EXPECT_TRUE(text.startsWith(QStringLiteral("Не удалось записать файл результатов ") +
                              QDir(path(QString())).canonicalPath() + QStringLiteral("/velko.rez: ") +
                              QString::fromLocal8Bit(std::strerror(EFBIG))))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("в папке, где разрешена запись"))) << text.toStdString();
  EXPECT_FALSE(pros->isVisible());
  EXPECT_FALSE(main->RxSpeedButton9->isEnabled());
  main->RxSpeedButton5->click();  // written again: the viewer is back
  EXPECT_TRUE(main->RxSpeedButton9->isEnabled());
  EXPECT_TRUE(pros->isVisible());
}

TEST_F(ResultsViewer, SelectAllAndCopyPutTheTextOnTheClipboard) {
  writeFile(QStringLiteral("velko.rez"), cp1251(QStringLiteral("Длина пути 7.50\r\n")));
  main->RxSpeedButton9->setEnabled(true);
  main->RxSpeedButton9->click();
  ASSERT_TRUE(waitUntilActive(pros));
  QApplication::clipboard()->clear();
  pros->N8->trigger();  // "Выделить все" performs its button
  pros->N9->trigger();  // "Копировать" performs its button
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Длина пути 7.50"));
}

TEST_F(ResultsViewer, PrintPerformsTheMainWindowsPrintResults) {
  main->RxSpeedButton8->setEnabled(true);
  QSignalSpy printed(main->RxSpeedButton8, &QToolButton::clicked);
  // The print command opens the modal preview: close it as soon as it shows.
  QTimer::singleShot(0, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  pros->N6->trigger();
  EXPECT_EQ(printed.count(), 1);
  main->RxSpeedButton8->setEnabled(false);  // as after "Создать": nothing to print
  pros->RxSpeedButton6->click();
  EXPECT_EQ(printed.count(), 1);
}

}  // namespace
}  // namespace velko::testing
