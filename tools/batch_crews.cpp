#include "tools/batch_crews.h"

namespace velko {

std::optional<std::map<int, long long>> batchCrewLimits(const BatchOptions& options) {
  if (options.crewLimits.empty()) return std::nullopt;
  return parseCrewLimitList(options.crewLimits);
}

CrewAnswer limitLastVariantCrews(const TNetworkModel& model, const std::optional<std::map<int, long long>>& limits) {
  return limitCrews(levellingInput(model), limits ? *limits : model.Extras.crewLimits);
}

}  // namespace velko
