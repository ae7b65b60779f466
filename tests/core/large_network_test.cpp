#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "bench/building_network.h"
#include "model/commands.h"
#include "results/results_file.h"

namespace velko {
namespace {

int linesOf(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// The longest critical path a network can have: a chain through all 50,000 events
// (an eighth of a day each, so the project stays within the 10,000 days the late times
// start from).
TEST(LargeNetwork, ChainThroughEveryEventIsOneCriticalPath) {
  WorksTable table;
  for (int e = 1; e < kMaxEvents; ++e) {
    table.setRow(e, {std::to_string(kMaxEvents - e), std::to_string(kMaxEvents - e + 1), "0,125", "1", "1"});
  }
  TNetworkModel m;
  optimiseVariants(m, TableInput(std::to_string(kMaxEvents), std::to_string(kMaxEvents - 1), table));
  EXPECT_EQ(m.CritCountBefore, kMaxEvents - 1);
  EXPECT_EQ(m.LengthBefore.value(), (kMaxEvents - 1) * 0.125);
  EXPECT_EQ(m.VariantResults[1].CritI[kMaxEvents - 1], kMaxEvents - 1);
  EXPECT_EQ(m.VariantResults[2].CritJ[kMaxEvents - 1], kMaxEvents);
}

// The limits themselves: every work is listed, in scan order, and the results file has
// a row for each work, event and critical work of both variants.
TEST(LargeNetwork, NetworkAtTheLimitsIsCalculatedWhole) {
  const bench::GeneratedNetwork network = bench::buildingNetwork(kMaxWorks, 4, 7);
  ASSERT_EQ(static_cast<int>(network.works.size()), kMaxWorks);
  const WorksTable table = bench::worksTable(network);
  TNetworkModel m;
  calculateVariants(m, TableInput(std::to_string(network.events), std::to_string(kMaxWorks), table));
  const TVariantResult& v = m.VariantResults[1];
  ASSERT_EQ(v.WorkEntries, kMaxWorks);
  for (int k = 2; k <= kMaxWorks; ++k) {
    ASSERT_TRUE(v.WorkI[k - 1] < v.WorkI[k] || (v.WorkI[k - 1] == v.WorkI[k] && v.WorkJ[k - 1] < v.WorkJ[k])) << k;
  }
  for (int c = 2; c <= m.CritCountBefore; ++c) ASSERT_EQ(v.CritI[c], v.CritJ[c - 1]);
  EXPECT_EQ(v.CritJ[m.CritCountBefore], network.events);
  const int headAndRules = 4 * 10 + 1;  // four tables: blank, title, 7 box lines, bottom rule; the length line
  EXPECT_EQ(linesOf(resultsText(m, false)), 2 * kMaxWorks + network.events + m.CritCountBefore + headAndRules);
}

}  // namespace
}  // namespace velko
