#include "levelling/micro_days.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/stored_real.h"

namespace velko {
namespace {

struct MicroCase {
  Extended days;
  const char* text;
};

// Stored values to millionths of a day: halfway cases to even, 40-bit residues gone,
// the largest magnitudes whole.
TEST(MicroDays, StoredValuesToText) {
  const MicroCase cases[] = {
      {0, "0"},
      {2.5L, "2.5"},
      {-0.5L, "-0.5"},
      {StoredReal(0.1L), "0.1"},
      {StoredReal(47.0909090909L), "47.090909"},
      {0.0078125L, "0.007812"},  // 7812.5 millionths: halfway, to even
      {0.0234375L, "0.023438"},
      {std::ldexp(1.0L, -21), "0"},  // 0.48 millionths
      {StoredReal(1e-30L), "0"},
      {StoredReal(1.7e38L), "170000000000001565887595605745326882816"},
  };
  for (const MicroCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(microDaysText(toMicroDays(c.days)), c.text);
  }
  EXPECT_EQ(toMicroDays(StoredReal(0.1L)) + toMicroDays(StoredReal(0.2L)), toMicroDays(StoredReal(0.3L)));
}

TEST(MicroDays, WholeDaysRoundTowardTheirSide) {
  EXPECT_EQ(floorDays(MicroDays(-1), 100), -1);
  EXPECT_EQ(floorDays(MicroDays(2000000), 100), 2);
  EXPECT_EQ(ceilDays(MicroDays(2000001), 100), 3);
  EXPECT_EQ(ceilDays(MicroDays(-2999999), 100), -2);
  EXPECT_EQ(floorDays(toMicroDays(1e30L), 100), 100);
  EXPECT_EQ(floorDays(-toMicroDays(1e30L), 100), -100);
}

}  // namespace
}  // namespace velko
