#include "data/cell_block.h"

#include <algorithm>

#include "data/works_table_edit.h"
#include "model/command_error.h"
#include "model/load_model.h"
#include "model/network_model.h"

namespace velko {

namespace {

// The line that starts at `start` (CR LF, LF or CR ended); `start` moves past its end,
// beyond the text after the last line.
std::string_view nextLine(std::string_view text, std::size_t& start) {
  const std::size_t end = text.find_first_of("\r\n", start);
  if (end == std::string_view::npos) {
    const std::string_view line = text.substr(start);
    start = text.size() + 1;
    return line;
  }
  const std::string_view line = text.substr(start, end - start);
  start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  return line;
}

char separatorOf(std::string_view text) { return text.find('\t') != std::string_view::npos ? '\t' : ';'; }

std::vector<std::string> cellsOf(std::string_view line, char separator) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(separator, start);
    cells.emplace_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return cells;
    start = end + 1;
  }
}

bool isEmptyLine(const std::vector<std::string>& cells) {
  return std::all_of(cells.begin(), cells.end(), [](const std::string& cell) {
    const std::optional<std::string> value = cleanCellText(cell);
    return value && value->empty();
  });
}

}  // namespace

std::string rowsOf(int rows) {
  const bool one = rows % 10 == 1 && rows % 100 != 11;
  return std::to_string(rows) + (one ? " строки" : " строк");
}

CellBlock splitCellBlock(std::string_view text) {
  const char separator = separatorOf(text);
  CellBlock block;
  for (std::size_t start = 0; start <= text.size();) block.push_back(cellsOf(nextLine(text, start), separator));
  while (!block.empty() && isEmptyLine(block.back())) block.pop_back();
  return block;
}

// As splitCellBlock would tell, from the first lines only: a pasted block of 100000 rows
// is split once, not once more to learn that it is a block.
bool holdsSeveralCells(std::string_view text) {
  const char separator = separatorOf(text);
  std::size_t start = 0;
  const std::vector<std::string> first = cellsOf(nextLine(text, start), separator);
  while (start <= text.size()) {
    if (!isEmptyLine(cellsOf(nextLine(text, start), separator))) return true;  // a second line is kept
  }
  return first.size() > 1 && !isEmptyLine(first);
}

WorksTable pasteCellBlock(const WorksTable& table, int row, int column, const CellBlock& block) {
  if (row < 1 || row > kMaxWorks || column < 0 || column >= kTableColumns) {
    throw CommandError("Строка таблицы " + std::to_string(row) + " вне допустимых пределов");
  }
  const int rows = static_cast<int>(block.size());
  const int lastRow = row + rows - 1;
  if (lastRow > kMaxWorks) {
    throw CellError(kMaxWorks + 1, column,
                    "работ не может быть больше " + std::to_string(kMaxWorks) + ", а блок из " + rowsOf(rows) +
                        " от строки " + std::to_string(row) + " дошел бы до строки " + std::to_string(lastRow) +
                        ". Ничего не вставлено.");
  }
  WorksTable pasted = table;
  for (int k = 0; k < rows; ++k) {
    const std::vector<std::string>& cells = block[static_cast<std::size_t>(k)];
    for (std::size_t m = 0; m < cells.size(); ++m) {
      const int c = column + static_cast<int>(m);
      if (c == kColumnName) {
        // Split at tabs and line ends already, so a name never brings one.
        const std::size_t length = utf8Length(cells[m]);
        if (length > kMaxWorkNameChars) {
          throw CellError(row + k, c, "наименование длиннее " + std::to_string(kMaxWorkNameChars) + " знаков (" +
                                          std::to_string(length) + "). Ничего не вставлено.");
        }
        pasted.setCell(c, row + k, cells[m]);
        continue;
      }
      const std::optional<std::string> value = cleanCellText(cells[m]);
      if (c >= kTableColumns) {
        if (value && value->empty()) continue;
        throw CellError(row + k, column,
                        "в строке блока " + std::to_string(cells.size()) + " столбцов, а от столбца " +
                            columnName(column) + " до последнего (Наименование) их " +
                            std::to_string(kTableColumns - column) + ". Ничего не вставлено.");
      }
      if (!value) {
        throw CellError(row + k, c, "нельзя вставить " + refusedCellText(cells[m]) + ". Ничего не вставлено.");
      }
      pasted.setCell(c, row + k, *value);
    }
  }
  pasted.setRowCount(std::max(table.rowCount(), lastRow));
  return pasted;
}

std::string copyCellBlock(const WorksTable& table, int top, int left, int bottom, int right) {
  // A name holds no tab or line break (isNameText), so every name stays one cell.
  std::string text;
  for (int r = top; r <= bottom; ++r) {
    for (int c = left; c <= right; ++c) {
      if (c > left) text += '\t';
      text += table.cell(c, r);
    }
    text += '\n';
  }
  return text;
}

void clearCellBlock(WorksTable& table, int top, int left, int bottom, int right) {
  for (int r = top; r <= bottom; ++r) {
    for (int c = left; c <= right; ++c) table.setCell(c, r, std::string());
  }
}

}  // namespace velko
