#include "levelling/time_grid.h"

#include <gtest/gtest.h>

#include "model/stored_real.h"

namespace velko {
namespace {

LevellingProblem problemOf(std::vector<LevellingWork> works, Extended length) {
  LevellingInput input;
  input.length = length;
  input.works = std::move(works);
  return buildProblem(input);
}

// 1-2 of 2.5 days beside the critical 1-3 of 10: half-day units, the float in whole days.
TEST(TimeGrid, HalfDaysOnAGridOfHalves) {
  const LevellingProblem p = problemOf({{1, 2, 2.5L, 3, 1, 0, 10, false}, {1, 3, 10, 1, 1, 0, 10, true}}, 10);
  const std::optional<TimeGrid> grid = timeGrid(p, 1000);
  ASSERT_TRUE(grid);
  EXPECT_EQ(grid->unitsPerDay, 2);
  EXPECT_EQ(grid->duration, (std::vector<int>{5, 20}));
  EXPECT_EQ(grid->earlyStart, (std::vector<int>{0, 0}));
  EXPECT_EQ(grid->horizon, 20);  // 1-2 shifted by 7 days ends at 9.5
}

// A third of a day needs millionths: too fine for a small horizon, so no grid.
TEST(TimeGrid, TooFineGridIsRefused) {
  const LevellingProblem p =
      problemOf({{1, 2, StoredReal(1.0L / 3), 3, 1, 0, 10, false}, {1, 3, 10, 1, 1, 0, 10, true}}, 10);
  EXPECT_FALSE(timeGrid(p, 1000));
  const std::optional<TimeGrid> fine = timeGrid(p, 1 << 28);
  ASSERT_TRUE(fine);
  EXPECT_EQ(fine->unitsPerDay, 1000000);
  EXPECT_EQ(fine->duration[0], 333333);
}

}  // namespace
}  // namespace velko
