#pragma once

#include <algorithm>

#include "model/network_model.h"

namespace velko::testing {

// A run filled by hand, optimised, with no computation, so any size is quick: `works`
// works numbered from 1, two to an event, over `events` events, `critical` critical
// works in both variants, every work `duration` days long.
inline void fillModel(TNetworkModel& model, int works, int events, int critical, StoredReal duration) {
  model.RunWorkCount = works;
  model.RunEventCount = events;
  model.CritCountBefore = model.CritCountAfter = critical;
  model.LengthBefore = 250;
  model.LengthAfter = 200;
  model.Optimised = 1;
  for (int v = 1; v <= 2; ++v) {
    TVariantResult& r = model.VariantResults[v];
    for (auto* t : {&r.WorkI, &r.WorkJ, &r.WorkWorkers, &r.WorkId, &r.EventNumber, &r.CritI, &r.CritJ,
                    &r.CritWorkers, &r.CritId, &r.FloatI, &r.FloatJ}) {
      t->reset(works);
    }
    for (auto* t : {&r.WorkDuration, &r.EventEarly, &r.EventLate, &r.EventReserve, &r.CritDuration,
                    &r.WorkTotalFloat, &r.WorkFreeFloat}) {
      t->reset(works);
    }
    r.WorkEntries = works;
    for (int k = 1; k <= works; ++k) {
      r.WorkI[k] = r.FloatI[k] = (k - 1) / 2 + 1;
      r.WorkJ[k] = r.FloatJ[k] = std::min(events, (k - 1) / 2 + 2);
      r.WorkDuration[k] = duration;
      r.WorkWorkers[k] = v;
      r.WorkId[k] = 1;
      r.EventNumber[k] = k;
      r.CritI[k] = k;
      r.CritJ[k] = k + 1;
    }
  }
}

}  // namespace velko::testing
