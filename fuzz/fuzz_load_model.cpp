// Arbitrary cell texts: the input is split at newlines into the events text, the works
// text and then the cells row by row, five to a row. Calculate and Optimise run on it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/works_table.h"
#include "model/command_error.h"
#include "run_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> texts(1);
  for (std::size_t k = 0; k < size; ++k) {
    if (data[k] == '\n') {
      texts.emplace_back();
    } else {
      texts.back() += static_cast<char>(data[k]);
    }
  }
  while (texts.size() < 2) texts.emplace_back();
  velko::WorksTable table;
  for (std::size_t k = 2; k < texts.size() && k < 2 + 5 * 120; ++k) {
    const int cell = static_cast<int>(k - 2);
    table.setCell(cell % 5, 1 + cell / 5, texts[k]);
  }
  const velko::TableInput input(texts[0], texts[1], table);
  static velko::TNetworkModel model;
  runBothCommands(model, input);
  return 0;
}
