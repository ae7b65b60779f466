// Any bytes as a data file: read it, take the counts over, then Calculate and Optimise
// on what was read. Errors are fine; crashes, hangs and out-of-bounds access are not.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "data/data_file.h"
#include "model/command_error.h"
#include "run_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "fuzz-input-" + std::to_string(::getpid()) + ".dat";
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  static velko::TNetworkModel model;
  velko::WorksTable table;
  try {
    velko::ReadDataFile(model, path, table);
  } catch (const velko::CommandError&) {
    return 0;
  }
  const std::string events = std::to_string(model.EventCount);
  const std::string works = std::to_string(model.WorkCount);
  const velko::TableInput input(events, works, table);
  runBothCommands(model, input);
  return 0;
}
