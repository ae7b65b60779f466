#pragma once

#include <string>

#include "model/network_model.h"

namespace velko {

// Name of the results file; a bare name, so it lives in the current directory.
inline constexpr const char* kResultsFileName = "velko.rez";

// The text of one variant's section (its four ruled tables and the length line), in
// UTF-8 with CR LF line ends. Reads the model; computes nothing.
std::string WriteVariantSection(const TNetworkModel& model, int variant);

// Writes the results report to `fileName` (Windows-1251, CR LF), replacing the file
// only once it is complete: variant 1, and when Optimised is 1 the banner and
// variant 2, in which case Optimised is set back to 0.
void WriteResultsFile(TNetworkModel& model, const std::string& fileName);

// The report's text in UTF-8, as WriteResultsFile would write it (without touching
// Optimised); used by tests and tools that show the report.
std::string resultsText(const TNetworkModel& model, bool withOptimisation);

}  // namespace velko
