#pragma once

#include <string>

#include "model/data_set_extras.h"
#include "model/load_model.h"
#include "model/network_model.h"

namespace velko {

// The network of `input` as a Project XML interchange text: the network is loaded and
// computed afresh (ComputeTimeParameters). Each work with workers or a name becomes a
// task with its name, duration, dates by the calendar from the start date (today when
// the data set has none) and its early start kept as a start-no-earlier-than
// constraint; each task carries the early and late dates and the total and free
// float computed here. Every other work is a dummy: its time becomes the lag of the
// finish-to-start links from the tasks before it to the tasks after it. Trades become
// work resources (a crew limit as their maximum units), the workers the units of the
// assignments, the calendar the project's base calendar with its exceptions.
std::string projectXmlText(const WorksInput& input, const DataSetExtras& extras, const std::string& title);

// The same from a model already computed (ComputeTimeParameters), its works as they stand.
std::string projectXmlText(const TNetworkModel& computed, const DataSetExtras& extras, const std::string& title);

// The same written to `path` through the safe-write helper.
void writeProjectXml(const std::string& path, const WorksInput& input, const DataSetExtras& extras);

}  // namespace velko
