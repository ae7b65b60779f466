#include "network_builder.h"

#include "model/time_parameters.h"

namespace velko::testing {

void loadAndCompute(TNetworkModel& model, const Network& network) {
  LoadModel(model, network.input());
  ClearComputed(model);
  ComputeTimeParameters(model);
}

}  // namespace velko::testing
