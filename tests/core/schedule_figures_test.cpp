#include "model/schedule_figures.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/commands.h"
#include "model/optimisation.h"
#include "network_builder.h"

namespace velko {
namespace {

using testing::Network;

class Recorder : public OptimisationObserver {
 public:
  void donorProcessed(const OptimisationMove& move) override { moves.push_back(move); }
  std::vector<OptimisationMove> moves;
};

class ScheduleFigures : public ::testing::Test {
 protected:
  std::unique_ptr<TNetworkModel> owner = std::make_unique<TNetworkModel>();
  TNetworkModel& m = *owner;
  // (1,2) t0 n1 Id1; (2,3) t6 n2 Id7; (1,3) t2 n6 Id7: the optimisation moves four
  // workers from (1,3) to (2,3).
  Network worked{3, {{"1", "2", "0", "1", "1"}, {"2", "3", "6", "2", "7"}, {"1", "3", "2", "6", "7"}}};
};

TEST_F(ScheduleFigures, LogOfTheWorkedExample) {
  Recorder log;
  optimiseVariants(m, worked.input(), &log);
  ASSERT_EQ(log.moves.size(), 1u);
  const OptimisationMove& move = log.moves[0];
  EXPECT_EQ(move.position, 2);
  EXPECT_EQ(move.critical.I, 2);
  EXPECT_EQ(move.critical.J, 3);
  EXPECT_EQ(move.id, 7);
  EXPECT_EQ(move.donor.I, 1);
  EXPECT_EQ(move.donor.J, 3);
  EXPECT_EQ(move.stretch, 4);
  EXPECT_EQ(move.volume.value(), 12);
  EXPECT_EQ(move.newWorkers, 2);
  EXPECT_EQ(move.freedWorkers, 4);
  EXPECT_EQ(move.donorDurationBefore.value(), 2);
  EXPECT_EQ(move.donorDurationAfter.value(), 6);
  EXPECT_EQ(move.donorWorkersBefore, 6);
  EXPECT_EQ(move.criticalWorkersAfter, 6);
  EXPECT_EQ(move.criticalDurationAfter.value(), 2);
  EXPECT_EQ(move.lengthAfter.value(), 6);
}

// The observer only watches: the model ends the same with and without it.
TEST_F(ScheduleFigures, ObserverChangesNothing) {
  auto other = std::make_unique<TNetworkModel>();
  Recorder log;
  optimiseVariants(m, worked.input(), &log);
  optimiseVariants(*other, worked.input());
  for (int i = 1; i <= 3; ++i) {
    for (int j = i; j <= 3; ++j) {
      EXPECT_EQ(m.cell(i, j).Duration.value(), other->cell(i, j).Duration.value());
      EXPECT_EQ(m.cell(i, j).Workers, other->cell(i, j).Workers);
    }
  }
}

// Before: (1,3) 6 workers on days 0-2, (2,3) 2 workers on days 0-6 -> 8 then 2.
// After: (1,3) 2 workers on 0-6 and (2,3) 6 workers on 0-2 -> 8 then 2 as well, with
// the volume 24 kept; peak 8, mean 24 / 6 = 4, unevenness 2.
TEST_F(ScheduleFigures, ProfileBeforeAndAfterTheWorkedExample) {
  optimiseVariants(m, worked.input());
  for (int variant : {1, 2}) {
    SCOPED_TRACE(variant);
    const std::vector<WorkTiming> works = workTimings(m, variant);
    ASSERT_EQ(works.size(), 3u);
    const std::vector<ProfileStep> profile = workersProfile(works);
    ASSERT_EQ(profile.size(), 2u);
    EXPECT_EQ(profile[0].from, 0);
    EXPECT_EQ(profile[0].to, 2);
    EXPECT_EQ(profile[0].workers, 8);
    EXPECT_EQ(profile[1].to, 6);
    EXPECT_EQ(profile[1].workers, 2);
    const ProfileFigures f = profileFigures(works, profile, variant == 1 ? m.LengthBefore : m.LengthAfter);
    EXPECT_EQ(f.volume, 24);
    EXPECT_EQ(f.peak, 8);
    EXPECT_EQ(f.mean, 4);
    EXPECT_EQ(f.unevenness, 2);
  }
}

// 1 -3-> 2 -2-> 4 and 1 -1-> 3 -1-> 4: the short branch has float, and its works start
// early, leaving an idle gap before the last event is reached.
TEST_F(ScheduleFigures, TimingsAndFloats) {
  calculateVariants(m, Network(4, {{"1", "2", "3", "2", "1"}, {"2", "4", "2", "1", "1"},
                                   {"1", "3", "1", "4", "2"}, {"3", "4", "1", "3", "2"}})
                           .input());
  const std::vector<WorkTiming> works = workTimings(m, 1);
  ASSERT_EQ(works.size(), 4u);
  const WorkTiming& w13 = works[1];
  EXPECT_EQ(w13.I, 1);
  EXPECT_EQ(w13.J, 3);
  EXPECT_FALSE(w13.critical);
  EXPECT_EQ(w13.lateStart, 3);
  EXPECT_EQ(w13.lateFinish, 4);
  EXPECT_EQ(w13.totalFloat, 3);
  EXPECT_EQ(w13.freeFloat, 0);
  EXPECT_EQ(w13.independentFloat, 0);
  const WorkTiming& w34 = works[3];
  EXPECT_EQ(w34.earlyStart, 1);
  EXPECT_EQ(w34.freeFloat, 3);
  EXPECT_EQ(w34.independentFloat, 0);  // 5 - 4 - 1
  EXPECT_TRUE(works[0].critical);
  const std::vector<ProfileStep> profile = workersProfile(works);
  // Days 0-1: 2 + 4; 1-2: 2 + 3; 2-3: 2; 3-5: 1.
  ASSERT_EQ(profile.size(), 4u);
  EXPECT_EQ(profile[0].workers, 6);
  EXPECT_EQ(profile[1].workers, 5);
  EXPECT_EQ(profile[2].workers, 2);
  EXPECT_EQ(profile[3].from, 3);
  EXPECT_EQ(profile[3].to, 5);
  EXPECT_EQ(profile[3].workers, 1);
}

}  // namespace
}  // namespace velko
