#include "model/schedule_figures.h"

#include <algorithm>
#include <map>

namespace velko {

std::vector<WorkTiming> workTimings(const TNetworkModel& m, int variant) {
  const TVariantResult& v = m.VariantResults[variant];
  // The run's event count: a count taken over since then does not change its results.
  const int events = m.RunEventCount;
  const int count = v.WorkEntries;
  std::vector<WorkTiming> works;
  works.reserve(static_cast<std::size_t>(count));
  for (int k = 1; k <= count; ++k) {
    WorkTiming w;
    w.I = v.WorkI[k];
    w.J = v.WorkJ[k];
    if (w.I < 1 || w.J < 1 || w.I > events || w.J > events) continue;
    w.duration = v.WorkDuration[k];
    w.workers = v.WorkWorkers[k];
    w.id = v.WorkId[k];
    const Extended earlyI = v.EventEarly[w.I];
    const Extended lateI = v.EventLate[w.I];
    const Extended earlyJ = v.EventEarly[w.J];
    const Extended lateJ = v.EventLate[w.J];
    w.earlyStart = earlyI;
    w.earlyFinish = earlyI + w.duration;
    w.lateStart = lateJ - w.duration;
    w.lateFinish = lateJ;
    w.totalFloat = v.WorkTotalFloat[k];
    w.freeFloat = v.WorkFreeFloat[k];
    w.independentFloat = std::max<Extended>(0, earlyJ - lateI - w.duration);
    w.critical = v.WorkTotalFloat[k] == 0;
    works.push_back(w);
  }
  return works;
}

std::vector<ProfileStep> workersProfile(const std::vector<WorkTiming>& works) {
  // Changes of the number of busy workers at each start and finish.
  std::map<Extended, long long> changes;
  for (const WorkTiming& w : works) {
    if (w.duration <= 0 || w.workers == 0) continue;
    changes[w.earlyStart] += w.workers;
    changes[w.earlyFinish] -= w.workers;
  }
  std::vector<ProfileStep> profile;
  long long busy = 0;
  Extended previous = 0;
  for (const auto& [time, change] : changes) {
    if (time > previous) {
      if (!profile.empty() && profile.back().workers == busy) {
        profile.back().to = time;  // one step for a level that does not change
      } else {
        profile.push_back({previous, time, busy});
      }
    }
    busy += change;
    previous = time;
  }
  return profile;
}

ProfileFigures profileFigures(const std::vector<WorkTiming>& works, const std::vector<ProfileStep>& profile,
                              Extended length) {
  ProfileFigures f;
  f.length = length;
  for (const WorkTiming& w : works) f.volume += w.duration * w.workers;
  for (const ProfileStep& step : profile) f.peak = std::max(f.peak, step.workers);
  if (length > 0) f.mean = f.volume / length;
  if (f.mean > 0) f.unevenness = static_cast<Extended>(f.peak) / f.mean;
  return f;
}

}  // namespace velko
