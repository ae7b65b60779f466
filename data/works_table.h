#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/load_model.h"

namespace velko {

// The works table as texts: rows 1.. of six cells (I, J, t, n, Id and the work's name,
// empty for most works: an empty std::string costs no allocation). Like the grid it
// stands for, it keeps the texts of rows beyond its visible row count, so a table
// shown shorter and then longer again shows its old rows.
//
// The rows are kept in chunks of a few hundred shared between copies: the undo history
// and the separate works window each hold whole tables, and at 100000 rows a deep copy
// per keystroke or per step would cost milliseconds and gigabytes. A copy shares every
// chunk; a change copies only the chunk it writes to, and only while another table
// still shares it.
class WorksTable {
 public:
  using Row = std::array<std::string, kTableColumns>;

  int rowCount() const { return rowCount_; }  // data rows shown, without the header
  void setRowCount(int rows) { rowCount_ = rows < 0 ? 0 : rows; }

  // Any row >= 1 may be read (empty when never written); column must be 0..5.
  const std::string& cell(int column, int row) const;
  void setCell(int column, int row, std::string text);
  void clearRow(int row);
  Row row(int row) const;
  void setRow(int row, const Row& cells);
  void clearRowsAfter(int row);  // every stored row below `row` becomes empty

  // An empty row at `row`: the stored rows from there move down by one. And its
  // opposite: `row` goes, the rows below move up. Neither changes the row count.
  void insertRow(int row);
  void eraseRow(int row);
  // Rows 1..rows become those of `from`; the rows below stay.
  void copyRowsFrom(const WorksTable& from, int rows);

  // The first and the last of rows 1..rows whose texts differ from `other`'s; {0, 0}
  // when none does. Chunks the two tables share in the same place are not looked into.
  std::pair<int, int> differingRows(const WorksTable& other, int rows) const;

  // The same row count and the same texts in every row (a row never written is empty).
  bool operator==(const WorksTable& other) const;

 private:
  struct Chunk {
    std::vector<Row> rows;
  };
  // Rows of one chunk from a row index on (or back from it); no chunk beyond the rows
  // stored, where every row is empty.
  struct Run {
    const Chunk* chunk = nullptr;
    int offset = 0;
    int count = 0;
  };

  static void checkColumn(int column);
  int stored() const { return ends_.empty() ? 0 : ends_.back(); }
  std::pair<std::size_t, int> locate(int index) const;  // chunk and offset of a stored row
  Chunk& writable(std::size_t chunk);
  Row& writableRow(int index);
  void appendEmpty(int rows);
  void appendRows(const WorksTable& from, int begin, int end);
  void fixEnds(std::size_t fromChunk);
  void rebalance(std::size_t chunk);
  Run runFrom(int index) const;
  Run runBack(int index) const;
  int firstDifference(const WorksTable& other, int rows) const;
  int lastDifference(const WorksTable& other, int rows) const;

  std::vector<std::shared_ptr<Chunk>> chunks_;
  std::vector<int> ends_;  // ends_[k]: the rows stored in chunks 0..k
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
