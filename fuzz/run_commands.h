#pragma once

#include "model/command_error.h"
#include "model/commands.h"
#include "results/results_file.h"

// Runs Calculate and then Optimise on the input, each up to the report's text; the
// commands' own refusals are expected, anything else is a finding.
inline void runBothCommands(velko::TNetworkModel& model, const velko::WorksInput& input) {
  for (const bool optimise : {false, true}) {
    try {
      if (optimise) {
        velko::optimiseVariants(model, input);
      } else {
        velko::calculateVariants(model, input);
      }
      (void)velko::resultsText(model, optimise);
    } catch (const velko::CommandError&) {
    }
  }
}
