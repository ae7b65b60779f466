// Any bytes as a data file: read it, take the counts over, then Calculate and Optimise
// on what was read. Refusals are fine; crashes, hangs and out-of-bounds access are not,
// and neither is a file the program wrote that does not read back as it was: the table
// read is saved, read again, and must come back the same, without a refusal or notice.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "data/data_file.h"
#include "model/command_error.h"
#include "run_commands.h"

namespace {

void checkRoundTrip(const std::string& path, const velko::TNetworkModel& model, std::int32_t variant,
                    const velko::WorksTable& table) {
  velko::WriteDataFile(path, std::to_string(variant), std::to_string(model.WorkCount),
                       std::to_string(model.EventCount), table, model.WorkCount);
  static velko::TNetworkModel again;
  velko::WorksTable back;
  const velko::DataFileContents contents = velko::ReadDataFile(again, path, back);  // a refusal is a finding
  if (!contents.notice.empty() || contents.VariantNumber != variant || again.WorkCount != model.WorkCount ||
      again.EventCount != model.EventCount) {
    std::abort();
  }
  for (int r = 1; r <= model.WorkCount; ++r) {
    if (back.row(r) != table.row(r)) std::abort();
    const int i = std::stoi(table.cell(velko::kColumnI, r));
    const int j = std::stoi(table.cell(velko::kColumnJ, r));
    if (again.cell(i, j).Duration.value() != model.cell(i, j).Duration.value()) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "fuzz-input-" + std::to_string(::getpid()) + ".dat";
  static const std::string written = "fuzz-written-" + std::to_string(::getpid()) + ".dat";
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  static velko::TNetworkModel model;
  velko::WorksTable table;
  velko::DataFileContents contents;
  try {
    contents = velko::ReadDataFile(model, path, table);
  } catch (const velko::CommandError&) {
    return 0;
  }
  checkRoundTrip(written, model, contents.VariantNumber, table);
  const std::string events = std::to_string(model.EventCount);
  const std::string works = std::to_string(model.WorkCount);
  const velko::TableInput input(events, works, table);
  runBothCommands(model, input);
  return 0;
}
