#include "model/incremental_times.h"

#include <gtest/gtest.h>

#include "bench/building_network.h"
#include "model/load_model.h"

namespace velko {
namespace {

// Everything a computation writes, for comparing two models.
void expectSameComputation(TNetworkModel& a, TNetworkModel& b, const std::string& where) {
  ASSERT_EQ(a.CritPathLength.value(), b.CritPathLength.value()) << where;
  for (int e = 1; e <= a.EventCount; ++e) {
    ASSERT_EQ(a.Events[e].Early.value(), b.Events[e].Early.value()) << where << " event " << e;
    ASSERT_EQ(a.Events[e].Late.value(), b.Events[e].Late.value()) << where << " event " << e;
    ASSERT_EQ(a.Events[e].Reserve.value(), b.Events[e].Reserve.value()) << where << " event " << e;
    ASSERT_EQ(a.Events[e].Number, b.Events[e].Number) << where;
  }
  const auto worksA = a.WorkMatrix.upperWorks(a.EventCount);
  const auto worksB = b.WorkMatrix.upperWorks(b.EventCount);
  ASSERT_EQ(worksA.size(), worksB.size());
  for (std::size_t k = 0; k < worksA.size(); ++k) {
    ASSERT_EQ(worksA[k].cell->TotalFloat.value(), worksB[k].cell->TotalFloat.value()) << where << " work " << k;
    ASSERT_EQ(worksA[k].cell->FreeFloat.value(), worksB[k].cell->FreeFloat.value()) << where << " work " << k;
  }
  ASSERT_EQ(a.CritWorkCount, b.CritWorkCount) << where;
  ASSERT_EQ(a.CritWorks.size(), b.CritWorks.size());
  for (int c = 1; c <= a.CritWorks.size(); ++c) {
    ASSERT_EQ(a.CritWorks[c].I, b.CritWorks[c].I) << where << " position " << c;
    ASSERT_EQ(a.CritWorks[c].J, b.CritWorks[c].J) << where << " position " << c;
  }
}

// The optimisation changes two durations at a time and recomputes only what they reach;
// on networks of every shape the model must end exactly as a full recomputation leaves
// it: shortened and lengthened works, fractions, critical works, a diagonal work, the
// last event's early time moving.
TEST(IncrementalTimes, EqualsAFullRecomputationAfterEveryChange) {
  for (const std::uint64_t seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
    const bench::GeneratedNetwork network = bench::buildingNetwork(seed < 4 ? 60 : 600, 3, seed);
    const WorksTable table = bench::worksTable(network);
    TNetworkModel m;
    LoadModel(m, TableInput(std::to_string(network.events), std::to_string(network.works.size()), table));
    if (seed % 2 == 0) m.cell(5, 5) = TWorkCell{StoredReal(1), 1, {}, {}, 1};  // only a file can bring one
    ClearComputed(m);
    ComputeTimeParameters(m);
    const WorkCells works(m);
    IncrementalTimes times(m, works);
    std::uint64_t state = seed;
    auto pick = [&](int n) {
      state = state * 6364136223846793005ULL + 1442695040888963407ULL;
      return static_cast<int>((state >> 33) % static_cast<std::uint64_t>(n));
    };
    const Extended durations[] = {0, 0.5, 1, 2.25, 7, 19, 40, 0.1};
    for (int step = 0; step < 300; ++step) {
      // Often a critical work, as in the optimisation.
      int a = pick(works.count());
      if (m.CritWorkCount > 0 && pick(2) == 0) {
        const TCritWork critical = m.CritWorks[1 + pick(m.CritWorkCount)];
        a = times.scanPosition(critical.I, critical.J);
      }
      const int b = pick(works.count());
      for (const int k : {a, b}) {
        if (k >= 0) works.inScanOrder(k).cell->Duration = durations[pick(8)];
      }
      if (a < 0 || a == b) {
        times.durationsChanged({b});
      } else {
        times.durationsChanged({a, b});
      }
      TNetworkModel full = m;
      ClearComputed(full);
      ComputeTimeParameters(full);
      expectSameComputation(m, full, "seed " + std::to_string(seed) + " step " + std::to_string(step));
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

}  // namespace
}  // namespace velko
