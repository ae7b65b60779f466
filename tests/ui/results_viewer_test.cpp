// The results viewer: its caption, the file loaded on every activation, saving a copy,
// select all and copy, and print handed to the main window.
#include <sys/resource.h>

#include <csignal>
#include <utility>

#include <QTimer>
#include <QDir>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QClipboard>
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
  enterWorks(3, {"1;2;1;1;1"});
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
