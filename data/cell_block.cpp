#include "data/cell_block.h"

#include <algorithm>

#include "data/works_table_edit.h"
#include "model/command_error.h"
#include "model/load_model.h"
#include "model/network_model.h"

namespace velko {

namespace {

std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

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
  const char separator = text.find('\t') != std::string_view::npos ? '\t' : ';';
  CellBlock block;
  for (const std::string_view line : linesOf(text)) block.push_back(cellsOf(line, separator));
  while (!block.empty() && isEmptyLine(block.back())) block.pop_back();
  return block;
}

bool holdsSeveralCells(std::string_view text) {
  const CellBlock block = splitCellBlock(text);
  return block.size() > 1 || (block.size() == 1 && block.front().size() > 1);
}

WorksTable pasteCellBlock(const WorksTable& table, int row, int column, const CellBlock& block) {
  if (row < 1 || row > kMaxWorks || column < 0 || column >= kWorksColumns) {
    throw CommandError("Строка таблицы " + std::to_string(row) + " вне допустимых пределов");
  }
  const int rows = static_cast<int>(block.size());
  const int lastRow = row + rows - 1;
  if (lastRow > kMaxWorks) {
    throw CellError(kMaxWorks + 1, column,
                    "работ не может быть больше 100, а блок из " + rowsOf(rows) + " от строки " +
                        std::to_string(row) + " дошел бы до строки " + std::to_string(lastRow) +
                        ". Ничего не вставлено.");
  }
  WorksTable pasted = table;
  for (int k = 0; k < rows; ++k) {
    const std::vector<std::string>& cells = block[static_cast<std::size_t>(k)];
    for (std::size_t m = 0; m < cells.size(); ++m) {
      const int c = column + static_cast<int>(m);
      const std::optional<std::string> value = cleanCellText(cells[m]);
      if (c >= kWorksColumns) {
        if (value && value->empty()) continue;
        throw CellError(row + k, column,
                        "в строке блока " + std::to_string(cells.size()) + " столбцов, а от столбца " +
                            columnName(column) + " до Id их " + std::to_string(kWorksColumns - column) +
                            ". Ничего не вставлено.");
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
