// The program under its users' regional settings: Russian, with the decimal comma.
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QToolButton>

#include "../russian_numbers.h"
#include "ui_test_support.h"

namespace velko::testing {
namespace {

using RegionalSettings = WindowTest;

// Lengths past 1e16 are written whole: under the decimal comma the window wrote
// "...,00" while the batch tool wrote "." for the same table.
TEST_F(RegionalSettings, WindowWritesTheBatchToolsResultsFileUnderTheRussianLocale) {
  const RussianNumbers russian;
  VELKO_NEED_RUSSIAN_NUMBERS(russian);
  enterWorks(3, {"1;2;100000000000000000000;2;1", "2;3;2,5;3;1", "1;3;4;1;1"});
  Modals modals;
  modals.chooseFile(path(QStringLiteral("net.dat")));
  main->N5->trigger();            // "Сохранить как ..."
  main->RxSpeedButton6->click();  // "Оптимизация"
  ASSERT_EQ(modals.texts(), QStringList{});
  const QString window = readFile(QStringLiteral("velko.rez"));
  const QRegularExpression lengthLine(QStringLiteral("дн = \\d{20}\\.\\d\\d\r\n"));
  EXPECT_TRUE(readCp1251(QStringLiteral("velko.rez")).contains(lengthLine));

  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("batch")));
  QProcess batch;
  batch.setWorkingDirectory(path(QStringLiteral("batch")));
  batch.start(QStringLiteral(VELKO_BATCH), {QStringLiteral("--optimise"), path(QStringLiteral("net.dat"))});
  ASSERT_TRUE(batch.waitForFinished(60000));
  ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
  EXPECT_EQ(window, readFile(QStringLiteral("batch/velko.rez")));
}

}  // namespace
}  // namespace velko::testing
