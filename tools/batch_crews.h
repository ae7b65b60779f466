#pragma once

#include <map>
#include <optional>

#include "crews/crew_answer.h"
#include "model/network_model.h"
#include "tools/batch_options.h"

namespace velko {

// velko-batch --crews ID=N[,...] --crews-schedule FILE.csv: the run's last variant under
// crew limits (see crews/crew_answer_text.h for what is written and printed).

// The limits --crews gives, or nullopt for the data set's own; a CommandError for text
// that is not ID=N[,ID=N...] with whole limits from 1 to 2147483647.
std::optional<std::map<int, long long>> batchCrewLimits(const BatchOptions& options);

// Schedules the last variant under `limits` (the model's own when none) with the
// default effort.
CrewAnswer limitLastVariantCrews(const TNetworkModel& model, const std::optional<std::map<int, long long>>& limits);

}  // namespace velko
