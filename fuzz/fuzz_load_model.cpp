// Arbitrary cell texts: the input is split at newlines into the events text, the works
// text and then the cells row by row, five to a row. Calculate and Optimise run on it.
// Every duration the model then holds must be written as a text that reads back, in
// the table's and in the data file's form, to the same stored value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/works_table.h"
#include "model/command_error.h"
#include "model/number_text.h"
#include "run_commands.h"

namespace {

void checkDurationsReadBack(const velko::TNetworkModel& model) {
  for (const auto& work : model.WorkMatrix.upperWorks(velko::kMaxEvents)) {
    {
      const velko::StoredReal duration = work.cell->Duration;
      std::string text = velko::shortestRealText(duration);  // throwing is a finding
      if (velko::StoredReal(velko::StrToFloat(text)).value() != duration.value()) std::abort();
      for (char& c : text) c = c == velko::kDecimalSeparator ? '.' : c;
      if (velko::StoredReal(velko::leadingDecimal(text)).value() != duration.value()) std::abort();
    }
  }
}

}  // namespace

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
  // Counts up to the limits with rows far past the old table of 100.
  for (std::size_t k = 2; k < texts.size() && k < 2 + 5 * 2000; ++k) {
    const int cell = static_cast<int>(k - 2);
    table.setCell(cell % 5, 1 + cell / 5, texts[k]);
  }
  const velko::TableInput input(texts[0], texts[1], table);
  static velko::TNetworkModel model;
  runBothCommands(model, input);
  checkDurationsReadBack(model);
  return 0;
}
