#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/load_model.h"

namespace velko {

// The works table as texts: rows 1.. of five cells (I, J, t, n, Id). Like the grid it
// stands for, it keeps the texts of rows beyond its visible row count, so a table
// shown shorter and then longer again shows its old rows.
class WorksTable {
 public:
  using Row = std::array<std::string, kWorksColumns>;

  int rowCount() const { return rowCount_; }  // data rows shown, without the header
  void setRowCount(int rows) { rowCount_ = rows < 0 ? 0 : rows; }

  // Any row >= 1 may be read (empty when never written); column must be 0..4.
  const std::string& cell(int column, int row) const;
  void setCell(int column, int row, std::string text);
  void clearRow(int row);
  Row row(int row) const;
  void setRow(int row, const Row& cells);
  void clearRowsAfter(int row);  // every stored row below `row` becomes empty

  // The same row count and the same texts in every row (a row never written is empty).
  bool operator==(const WorksTable& other) const;

 private:
  static void checkColumn(int column);
  std::vector<Row> rows_;  // rows_[r - 1] is row r
  int rowCount_ = 0;
};

// The commands' input from two count texts and a works table.
class TableInput : public WorksInput {
 public:
  TableInput(std::string eventsText, std::string worksText, const WorksTable& table)
      : events_(std::move(eventsText)), works_(std::move(worksText)), table_(table) {}
  std::string eventsText() const override { return events_; }
  std::string worksText() const override { return works_; }
  std::string cellText(int column, int row) const override { return table_.cell(column, row); }

 private:
  std::string events_;
  std::string works_;
  const WorksTable& table_;
};

}  // namespace velko
