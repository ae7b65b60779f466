#pragma once

#include <string>

#include "model/load_model.h"
#include "model/network_model.h"

namespace velko {

class OptimisationObserver;

// The Calculate command up to its results file: load the table, compute once, record
// variant 1 and write the results file. The window enables its view and print
// commands and shows the viewer afterwards. An error stops it where it is, with the
// model as far as it got, and no results file is written.
// `warnings`, when given, receives the load's warnings (LoadModel).
void runCalculate(TNetworkModel& model, const WorksInput& input, const std::string& resultsFile,
                  LoadWarnings* warnings = nullptr);

// The same commands without the results file: everything up to and including the
// recording of the variants.
void calculateVariants(TNetworkModel& model, const WorksInput& input, LoadWarnings* warnings = nullptr);
void optimiseVariants(TNetworkModel& model, const WorksInput& input,
                      OptimisationObserver* observer = nullptr, LoadWarnings* warnings = nullptr);

// The Optimise command up to its results file: as Calculate, then the labour
// optimisation and a second computation recorded as variant 2; the results file then
// holds both variants and Optimised is 1.
void runOptimise(TNetworkModel& model, const WorksInput& input, const std::string& resultsFile,
                 OptimisationObserver* observer = nullptr, LoadWarnings* warnings = nullptr);

}  // namespace velko
