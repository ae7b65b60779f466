// Any bytes as a Project XML file: read, convert, put in place and calculate, then
// export the network. Refusals are fine; crashes, hangs, out-of-bounds access and
// entity expansion are not, and neither is a converted network whose works do not run
// from a smaller event number to a larger one within the limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "exchange/mspdi_reader.h"
#include "exchange/mspdi_writer.h"
#include "exchange/network_from_project.h"
#include "exchange/network_install.h"
#include "model/command_error.h"
#include "model/time_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  velko::ImportedNetwork network;
  try {
    network = velko::networkFromProject(velko::parseProjectXml(bytes, "fuzz.xml"), "fuzz.xml");
  } catch (const velko::CommandError&) {
    return 0;
  }
  if (network.eventCount < 1 || network.eventCount > velko::kMaxEvents) std::abort();
  for (const velko::ImportedWork& work : network.works)
    if (work.I < 1 || work.I >= work.J || work.J > network.eventCount || work.id == 0) std::abort();
  static velko::TNetworkModel model;
  velko::WorksTable table;
  velko::installNetwork(network, model, table);
  try {
    velko::ClearComputed(model);
    velko::ComputeTimeParameters(model);
  } catch (const velko::CommandError&) {
    return 0;  // durations beyond what the format holds
  }
  try {
    velko::projectXmlText(model, model.Extras, "fuzz");
  } catch (const velko::CommandError&) {
    return 0;  // a date past the calendar's data: refused with its message
  }
  return 0;
}
