#include "model/optimisation.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/command_error.h"
#include "model/commands.h"
#include "network_builder.h"

namespace velko {
namespace {

using testing::Network;

class Optimisation : public ::testing::Test {
 protected:
  std::unique_ptr<TNetworkModel> owner = std::make_unique<TNetworkModel>();
  TNetworkModel& m = *owner;

  void optimise(const Network& network) { optimiseVariants(m, network.input()); }
  void expectWork(int i, int j, double t, int n) {
    EXPECT_EQ(m.cell(i, j).Duration.value(), t) << "work " << i << "-" << j;
    EXPECT_EQ(m.cell(i, j).Workers, n) << "work " << i << "-" << j;
  }
};

TEST(RoundUp, CeilingWithTheNegativeQuirk) {
  EXPECT_EQ(RoundUp(2.0L), 2.0L);
  EXPECT_EQ(RoundUp(2.1L), 3.0L);
  EXPECT_EQ(RoundUp(0.0L), 0.0L);
  EXPECT_EQ(RoundUp(-1.5L), 0.0L);
  EXPECT_EQ(RoundUp(-2.0L), -2.0L);
}

// (1,2) t0 n1 Id1; (2,3) t6 n2 Id7 critical; (1,3) t2 n6 Id7 with float 4 gives 4 workers.
TEST_F(Optimisation, WorkedExample) {
  optimise(Network(3, {{"1", "2", "0", "1", "1"}, {"2", "3", "6", "2", "7"}, {"1", "3", "2", "6", "7"}}));
  expectWork(1, 3, 6, 2);
  expectWork(2, 3, 2, 6);
  EXPECT_EQ(m.LengthBefore.value(), 6);
  EXPECT_EQ(m.LengthAfter.value(), 6);
  EXPECT_EQ(m.CritCountBefore, 2);
  ASSERT_EQ(m.CritCountAfter, 1);
  EXPECT_EQ(m.VariantResults[2].CritI[1], 1);
  EXPECT_EQ(m.VariantResults[2].CritJ[1], 3);
  // The mirror cells keep what was loaded.
  EXPECT_EQ(m.cell(3, 1).Duration.value(), 2);
  EXPECT_EQ(m.cell(3, 1).Workers, 6);
  EXPECT_EQ(m.cell(3, 2).Workers, 2);
  EXPECT_EQ(m.Optimised, 1);
}

TEST_F(Optimisation, NothingToShareLeavesBothVariantsEqual) {
  optimise(Network(3, {{"1", "2", "2", "3", "1"}, {"2", "3", "3", "2", "2"}, {"1", "3", "1", "5", "3"}}));
  expectWork(1, 3, 1, 5);
  const TVariantResult& before = m.VariantResults[1];
  const TVariantResult& after = m.VariantResults[2];
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(before.WorkDuration[k].value(), after.WorkDuration[k].value());
    EXPECT_EQ(before.WorkTotalFloat[k].value(), after.WorkTotalFloat[k].value());
  }
  EXPECT_EQ(m.CritCountBefore, m.CritCountAfter);
}

TEST_F(Optimisation, NoCriticalPathChangesNothing) {
  // Two events without works: no critical path at all.
  optimise(Network(2, {{"1", "2", "4", "2", "0"}}));
  EXPECT_EQ(m.CritCountBefore, 0);
  expectWork(1, 2, 4, 2);
}

// 1 -1-> 2 -2-> 3 -4-> 5, 2 -4-> 4 -4-> 5, and the critical 1 -10-> 5 (Id 1).
// The donor (2,3) t2 n5 (Id 1) has free float 0, total float 3 and event reserves 1
// and 3: it is stretched by 2, not 3, so m = RoundUp(10 / 4) = 3 and d = 2.
TEST_F(Optimisation, StretchByTheReserveDifference) {
  optimise(Network(5, {{"1", "2", "1", "1", "9"},
                       {"2", "3", "2", "5", "1"},
                       {"3", "5", "4", "1", "9"},
                       {"2", "4", "4", "1", "9"},
                       {"4", "5", "4", "1", "9"},
                       {"1", "5", "10", "2", "1"}}));
  EXPECT_EQ(m.VariantResults[1].WorkTotalFloat[3].value(), 3);  // (2,3)
  EXPECT_EQ(m.VariantResults[1].WorkFreeFloat[3].value(), 0);
  expectWork(2, 3, StoredReal(10.0L / 3).value(), 3);
  expectWork(1, 5, 5, 4);
  EXPECT_EQ(m.LengthAfter.value(), 9);
}

// The donor (1,3) becomes critical after its first change: the path shrinks to one
// work, the old critical work (2,3) is then tested as a donor at position 1, and
// position 2 lies beyond the shortened path.
TEST_F(Optimisation, CriticalPathShrinksUnderTheScan) {
  optimise(Network(3, {{"1", "2", "10", "2", "5"}, {"2", "3", "10", "2", "5"}, {"1", "3", "4", "12", "5"}}));
  expectWork(1, 2, 2, 11);
  expectWork(1, 3, 16, 3);
  expectWork(2, 3, 10, 2);
  EXPECT_EQ(m.CritCountBefore, 2);
  ASSERT_EQ(m.CritCountAfter, 1);
  EXPECT_EQ(m.VariantResults[2].CritJ[1], 3);
  EXPECT_EQ(m.LengthAfter.value(), 16);
}

// Both critical works carry Id 5. The first give rounds (1,2) up from 9.5 to 10 days,
// which widens the donor's window enough for it to give one more worker to (2,3).
TEST_F(Optimisation, DonorGivesToTwoCriticalWorks) {
  optimise(Network(3, {{"1", "2", "9,5", "100", "5"}, {"2", "3", "10", "100", "5"}, {"1", "3", "4", "5", "5"}}));
  expectWork(1, 2, 10, 103);
  expectWork(2, 3, 10, 101);
  expectWork(1, 3, 20, 1);
  EXPECT_EQ(m.LengthBefore.value(), 19.5);
  EXPECT_EQ(m.LengthAfter.value(), 20);
}

// A dummy work of no duration shares the critical identifier: it has nothing to give
// and is passed over instead of stopping the command on 0 / 0.
TEST_F(Optimisation, DummyDonorIsPassedOver) {
  optimise(Network(4, {{"1", "2", "4", "2", "1"}, {"2", "4", "4", "2", "1"},
                       {"1", "3", "0", "0", "1"}, {"3", "4", "1", "1", "1"}}));
  expectWork(1, 3, 0, 0);
  EXPECT_EQ(m.Optimised, 1);
}

TEST_F(Optimisation, SingleWorkerDonorStillRoundsTheCriticalWork) {
  optimise(Network(3, {{"1", "3", "4,5", "2", "1"}, {"1", "2", "1", "1", "1"}, {"2", "3", "1", "1", "9"}}));
  // Donor (1,2) stretched by 2.5: m = RoundUp(1 / 3.5) = 1, d = 0; the critical work
  // (1,3) keeps its workers but is rounded up from 4.5 to 5 days.
  expectWork(1, 2, 1, 1);
  expectWork(1, 3, 5, 2);
  EXPECT_EQ(m.LengthAfter.value(), 5);
}

}  // namespace
}  // namespace velko
