// Arbitrary clipboard text pasted as a block of cells: the first three bytes choose the
// cell it goes to, the rest is the text. A paste either is refused with a CommandError
// or gives a table of at most kMaxWorks rows whose every cell a key could have typed, and
// which copies out and pastes back as the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "data/cell_block.h"
#include "data/works_table_edit.h"
#include "model/command_error.h"
#include "model/network_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  // Rows anywhere in the table, the last ones included, where a block runs past the limit.
  const int place = (data[0] << 8) | data[1];
  const int row = place < 0x8000 ? 1 + place % velko::kMaxWorks : velko::kMaxWorks - (place & 0xFF);
  const int column = data[2] % velko::kWorksColumns;
  const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);
  velko::WorksTable table;
  table.setRowCount(3);
  velko::WorksTable pasted;
  try {
    pasted = velko::pasteCellBlock(table, row, column, velko::splitCellBlock(text));
  } catch (const velko::CommandError&) {
    return 0;
  }
  const int rows = pasted.rowCount();
  if (rows < 3 || rows > velko::kMaxWorks) std::abort();
  for (int r = 1; r <= rows; ++r) {
    for (int c = 0; c < velko::kWorksColumns; ++c) {
      if (!velko::isCellText(pasted.cell(c, r))) std::abort();
    }
  }
  const std::string copied = velko::copyCellBlock(pasted, 1, 0, rows, velko::kWorksColumns - 1);
  velko::WorksTable again;
  again = velko::pasteCellBlock(again, 1, 0, velko::splitCellBlock(copied));  // throwing is a finding
  for (int r = 1; r <= rows; ++r) {
    if (again.row(r) != pasted.row(r)) std::abort();
  }
  return 0;
}
