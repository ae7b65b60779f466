#include "data/works_table.h"

#include <algorithm>

#include "model/command_error.h"

namespace velko {

namespace {

// Far more rows than any works count the commands accept; a bound on what a table
// of texts may grow to.
constexpr int kMaxTableRows = 100000;

const std::string& emptyText() {
  static const std::string empty;
  return empty;
}

void checkRow(int row) {
  if (row < 1 || row > kMaxTableRows) {
    throw CommandError("Строка таблицы " + std::to_string(row) + " вне допустимых пределов");
  }
}

}  // namespace

void WorksTable::checkColumn(int column) {
  if (column < 0 || column >= kWorksColumns) {
    throw CommandError("Столбец таблицы " + std::to_string(column) + " вне допустимых пределов");
  }
}

const std::string& WorksTable::cell(int column, int row) const {
  checkColumn(column);
  if (row < 1 || row > static_cast<int>(rows_.size())) return emptyText();
  return rows_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column)];
}

void WorksTable::setCell(int column, int row, std::string text) {
  checkColumn(column);
  checkRow(row);
  if (row > static_cast<int>(rows_.size())) rows_.resize(static_cast<std::size_t>(row));
  rows_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column)] = std::move(text);
}

void WorksTable::clearRow(int row) {
  checkRow(row);
  if (row <= static_cast<int>(rows_.size())) rows_[static_cast<std::size_t>(row - 1)] = Row{};
}

WorksTable::Row WorksTable::row(int row) const {
  Row cells;
  for (int c = 0; c < kWorksColumns; ++c) cells[static_cast<std::size_t>(c)] = cell(c, row);
  return cells;
}

void WorksTable::setRow(int row, const Row& cells) {
  for (int c = 0; c < kWorksColumns; ++c) setCell(c, row, cells[static_cast<std::size_t>(c)]);
}

void WorksTable::clearRowsAfter(int row) {
  if (row < 0) row = 0;
  if (row < static_cast<int>(rows_.size())) rows_.resize(static_cast<std::size_t>(row));
}

bool WorksTable::operator==(const WorksTable& other) const {
  if (rowCount_ != other.rowCount_) return false;
  const int rows = static_cast<int>(std::max(rows_.size(), other.rows_.size()));
  for (int r = 1; r <= rows; ++r) {
    if (row(r) != other.row(r)) return false;
  }
  return true;
}

}  // namespace velko
