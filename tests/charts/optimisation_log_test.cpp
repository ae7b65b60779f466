#include "ui/charts/optimisation_log.h"

#include <gtest/gtest.h>

#include "charts_test_support.h"

namespace velko {
namespace {

const QStringList kExampleRow = {"1", "2-3", "7", "1-3", "4", "12", "2", "4", "2 / 6", "6 / 2", "6 / 2", "2 / 6", "6"};

TEST(OptimisationLog, RowOfTheThreeEventExample) {
  const testing::Run run = testing::optimise(3, testing::kThreeEvents);
  const std::vector<QStringList> rows = optimisationLogRows(run.moves);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], kExampleRow);
  EXPECT_EQ(rows[0].size(), optimisationLogHeaders().size());
}

TEST(OptimisationLog, TabSeparatedTextHeaderFirst) {
  const testing::Run run = testing::optimise(3, testing::kThreeEvents);
  EXPECT_EQ(optimisationLogText(run.moves),
            optimisationLogHeaders().join('\t') + "\n" + kExampleRow.join('\t') + "\n");
  EXPECT_EQ(optimisationLogText({}), optimisationLogHeaders().join('\t') + "\n");
}

// The table shows the decimal comma; the CSV keeps the decimal point so that its commas
// stay field separators.
TEST(OptimisationLog, FractionsInTableAndCsv) {
  OptimisationMove move;
  move.critical = {2, 5};
  move.donor = {1, 3};
  move.id = 4;
  move.stretch = 2.5;
  move.volume = 7;
  move.newWorkers = 3;
  move.freedWorkers = 1;
  move.donorDurationBefore = 1.75;
  move.donorWorkersBefore = 4;
  move.donorDurationAfter = 7.0L / 3;
  move.donorWorkersAfter = 3;
  move.lengthAfter = 10.5;
  const QStringList row = optimisationLogRows({move})[0];
  EXPECT_EQ(row[4], QStringLiteral("2,5"));
  EXPECT_EQ(row[8], QStringLiteral("1,75 / 4"));
  EXPECT_EQ(row[9], QStringLiteral("2,33 / 3"));
  EXPECT_EQ(row[12], QStringLiteral("10,5"));
  const std::string csv = optimisationLogCsv({move});
  const std::string secondLine = csv.substr(csv.find("\r\n") + 2);
  EXPECT_EQ(secondLine, "1,2-5,4,1-3,2.5,7,3,1,1.75 / 4,2.33 / 3,0 / 0,0 / 0,10.5\r\n");
}

TEST(OptimisationLog, CsvHeaderInUtf8) {
  const std::string csv = optimisationLogCsv({});
  EXPECT_EQ(csv.rfind("\xE2\x84\x96,", 0), 0u);  // "№" in UTF-8
  EXPECT_NE(csv.find("Критическая работа"), std::string::npos);
  EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
}

// "Журнал оптимизации: 20 перемещений" for a run whose donors mostly moved nobody.
TEST(OptimisationLog, SummaryCountsDonorsMovesAndWorkersApart) {
  std::vector<OptimisationMove> moves(4);
  moves[1].freedWorkers = 2;
  moves[3].freedWorkers = 3;
  EXPECT_EQ(optimisationLogSummary(moves), QStringLiteral("доноров: 4, перемещений: 2, перемещено рабочих: 5"));
  EXPECT_TRUE(movesNobody(moves[0]));
  EXPECT_FALSE(movesNobody(moves[1]));
}

TEST(OptimisationLog, NoMovesWhenNothingMatches) {
  // No non-critical work shares an identifier with a critical one.
  const testing::Run run = testing::optimise(3, {{"1", "2", "3", "1", "1"}, {"2", "3", "3", "1", "1"}, {"1", "3", "1", "5", "2"}});
  EXPECT_TRUE(run.moves.empty());
  EXPECT_TRUE(optimisationLogRows(run.moves).empty());
}

}  // namespace
}  // namespace velko
