#include "model/time_parameters.h"

#include <gtest/gtest.h>

#include <memory>

#include "network_builder.h"

namespace velko {
namespace {

using testing::Network;

class TimeParameters : public ::testing::Test {
 protected:
  // The model is large; tests keep their own on the heap rather than the program's.
  std::unique_ptr<TNetworkModel> owner = std::make_unique<TNetworkModel>();
  TNetworkModel& m = *owner;

  void expectEvent(int k, double early, double late, double reserve) {
    SCOPED_TRACE("event " + std::to_string(k));
    EXPECT_EQ(m.Events[k].Number, k);
    EXPECT_EQ(m.Events[k].Early.value(), early);
    EXPECT_EQ(m.Events[k].Late.value(), late);
    EXPECT_EQ(m.Events[k].Reserve.value(), reserve);
  }
  void expectCritical(std::initializer_list<TCritWork> works) {
    ASSERT_EQ(m.CritWorkCount, static_cast<int>(works.size()));
    int c = 0;
    for (const TCritWork& w : works) {
      ++c;
      EXPECT_EQ(m.CritWorks[c].I, w.I) << "position " << c;
      EXPECT_EQ(m.CritWorks[c].J, w.J) << "position " << c;
    }
  }
};

// 1 -2-> 2 -3-> 3
TEST_F(TimeParameters, Chain) {
  testing::loadAndCompute(m, Network(3, {{"1", "2", "2", "1", "1"}, {"2", "3", "3", "1", "1"}}));
  expectEvent(1, 0, 0, 0);
  expectEvent(2, 2, 2, 0);
  expectEvent(3, 5, 5, 0);
  EXPECT_EQ(m.CritPathLength.value(), 5);
  expectCritical({{1, 2}, {2, 3}});
  EXPECT_EQ(m.cell(1, 2).TotalFloat.value(), 0);
  EXPECT_EQ(m.cell(2, 3).FreeFloat.value(), 0);
}

// 1 -2-> 2 -1-> 3 and 1 -5-> 3: the single work (1, 3) is critical.
TEST_F(TimeParameters, ShortBranchHasFloat) {
  testing::loadAndCompute(
      m, Network(3, {{"1", "2", "2", "1", "1"}, {"1", "3", "5", "1", "1"}, {"2", "3", "1", "1", "1"}}));
  expectEvent(1, 0, 0, 0);
  expectEvent(2, 2, 4, 2);
  expectEvent(3, 5, 5, 0);
  EXPECT_EQ(m.cell(1, 2).TotalFloat.value(), 2);
  EXPECT_EQ(m.cell(1, 2).FreeFloat.value(), 0);
  EXPECT_EQ(m.cell(2, 3).TotalFloat.value(), 2);
  EXPECT_EQ(m.cell(2, 3).FreeFloat.value(), 2);
  expectCritical({{1, 3}});
}

// 1 -> 2 -> 4 and 1 -> 3 -> 4 of equal length: the branch to the smaller event is listed.
TEST_F(TimeParameters, ParallelCriticalBranches) {
  testing::loadAndCompute(m, Network(4, {{"1", "2", "2", "1", "1"},
                                         {"1", "3", "3", "1", "1"},
                                         {"2", "4", "4", "1", "1"},
                                         {"3", "4", "3", "1", "1"}}));
  expectCritical({{1, 2}, {2, 4}});
  EXPECT_EQ(m.cell(1, 3).TotalFloat.value(), 0);
  EXPECT_EQ(m.cell(3, 4).TotalFloat.value(), 0);
  EXPECT_EQ(m.CritWorks[3].I, 0);
}

// Event 2 has no outgoing work and event 3 no incoming one.
TEST_F(TimeParameters, DanglingEvents) {
  testing::loadAndCompute(m, Network(4, {{"1", "2", "3", "1", "1"}, {"1", "4", "6", "1", "1"},
                                         {"3", "4", "2", "1", "1"}}));
  expectEvent(2, 3, 10000, 9997);
  expectEvent(3, 0, 4, 4);
  EXPECT_EQ(m.CritPathLength.value(), 6);
}

TEST_F(TimeParameters, SingleEventAndEmptyNetwork) {
  testing::loadAndCompute(m, Network(1, {}));
  expectEvent(1, 0, 0, 0);
  EXPECT_EQ(m.CritPathLength.value(), 0);
  EXPECT_EQ(m.CritWorkCount, 0);

  // An empty network of three events, as right after "Создать".
  testing::loadAndCompute(m, Network(3, {}));
  expectEvent(1, 0, 10000, 10000);
  expectEvent(2, 0, 10000, 10000);
  expectEvent(3, 0, 0, 0);
  EXPECT_EQ(m.CritWorkCount, 0);
}

TEST_F(TimeParameters, NoEventsLeavesNoStaleCriticalPath) {
  testing::loadAndCompute(m, Network(2, {{"1", "2", "1", "1", "1"}}));
  ASSERT_EQ(m.CritWorkCount, 1);
  testing::loadAndCompute(m, Network(0, {}));
  EXPECT_EQ(m.CritWorkCount, 0);
  EXPECT_EQ(m.CritPathLength.value(), 0);
}

// A work with Id 0 is no work at all, whatever its duration.
TEST_F(TimeParameters, ZeroIdIsNoWork) {
  testing::loadAndCompute(m, Network(2, {{"1", "2", "7", "3", "0"}}));
  EXPECT_EQ(m.Events[2].Early.value(), 0);
  EXPECT_EQ(m.CritWorkCount, 0);
}

// Halves and quarters are exact; tenths leave a rounding residue in the floats, and a
// work whose stored total float is not exactly 0 is not critical.
TEST_F(TimeParameters, ExactZeroTestsOnStoredValues) {
  testing::loadAndCompute(m, Network(3, {{"1", "2", "0,5", "1", "1"}, {"2", "3", "1,25", "1", "1"},
                                         {"1", "3", "1,75", "1", "1"}}));
  EXPECT_EQ(m.cell(1, 3).TotalFloat.value(), 0);
  EXPECT_EQ(m.CritWorkCount, 2);

  testing::loadAndCompute(m, Network(3, {{"1", "2", "0,1", "1", "1"}, {"2", "3", "0,6", "1", "1"},
                                         {"1", "3", "0,7", "1", "1"}}));
  // 0.1 + 0.6 in 40 bits lies above the stored 0.7, and the floats of all three works
  // keep rounding residues: with exact zero tests no work is critical at all.
  const StoredReal sum = StoredReal(0.1L) + StoredReal(0.6L);
  ASSERT_GT(sum.value(), StoredReal(0.7L).value());
  EXPECT_EQ(m.CritPathLength.value(), sum.value());
  EXPECT_GT(m.cell(1, 3).TotalFloat.value(), 0);
  EXPECT_LT(m.cell(1, 3).TotalFloat.value(), 1e-9);
  EXPECT_NE(m.cell(1, 2).TotalFloat.value(), 0);
  EXPECT_NE(m.cell(2, 3).TotalFloat.value(), 0);
  EXPECT_EQ(m.CritWorkCount, 0);
}

TEST_F(TimeParameters, RecordVariantCopiesInScanOrder) {
  testing::loadAndCompute(m, Network(3, {{"2", "3", "3", "4", "7"}, {"1", "3", "5", "2", "8"},
                                         {"2", "1", "2", "6", "9"}}));
  RecordVariant(m, 1, m.CritWorkCount);
  const TVariantResult& v = m.VariantResults[1];
  const int expectedI[] = {1, 1, 2}, expectedJ[] = {2, 3, 3}, expectedId[] = {9, 8, 7};
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(v.WorkI[k], expectedI[k - 1]);
    EXPECT_EQ(v.WorkJ[k], expectedJ[k - 1]);
    EXPECT_EQ(v.WorkId[k], expectedId[k - 1]);
    EXPECT_EQ(v.FloatI[k], expectedI[k - 1]);
    EXPECT_EQ(v.FloatJ[k], expectedJ[k - 1]);
  }
  EXPECT_EQ(v.WorkWorkers[1], 6);
  EXPECT_EQ(v.WorkTotalFloat[2], 0);
  EXPECT_EQ(v.EventLate[2].value(), 2);
  ASSERT_EQ(m.CritWorkCount, 2);
  EXPECT_EQ(v.CritI[2], 2);
  EXPECT_EQ(v.CritDuration[2].value(), 3);
  EXPECT_EQ(v.CritWorkers[2], 4);
  EXPECT_EQ(v.CritId[1], 9);
}

}  // namespace
}  // namespace velko
