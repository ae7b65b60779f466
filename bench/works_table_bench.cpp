// The works table at 100000 rows, side by side: Flat is the table as it was (one vector
// of rows, copied whole by every undo step and compared row by row), Chunked the table
// the program uses. Each case is what one command of the windows does to the tables:
// the copies, the comparison the undo history makes, the comparison the grid's model
// makes to tell the view what changed. Reports times and memory only.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <string>
#include <utility>
#include <vector>

#include "data/works_table.h"
#include "data/works_table_edit.h"
#include "model/network_model.h"

namespace {

using velko::WorksTable;
using Row = WorksTable::Row;

constexpr int kRows = 100000;

class FlatTable {
 public:
  int rowCount() const { return rowCount_; }
  void setRowCount(int rows) { rowCount_ = rows; }
  Row row(int r) const { return r <= static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(r - 1)] : Row{}; }
  void setCell(int column, int r, std::string text) {
    if (r > static_cast<int>(rows_.size())) rows_.resize(static_cast<std::size_t>(r));
    rows_[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(column)] = std::move(text);
  }
  void setRow(int r, const Row& cells) {
    for (int c = 0; c < velko::kWorksColumns; ++c) setCell(c, r, cells[static_cast<std::size_t>(c)]);
  }
  bool operator==(const FlatTable& other) const {
    if (rowCount_ != other.rowCount_) return false;
    const int rows = static_cast<int>(std::max(rows_.size(), other.rows_.size()));
    for (int r = 1; r <= rows; ++r) {
      if (row(r) != other.row(r)) return false;
    }
    return true;
  }
  std::pair<int, int> differingRows(const FlatTable& other, int rows) const {
    int first = 0;
    int last = 0;
    for (int r = 1; r <= rows; ++r) {
      if (row(r) != other.row(r)) {
        if (first == 0) first = r;
        last = r;
      }
    }
    return {first, last};
  }

 private:
  std::vector<Row> rows_;
  int rowCount_ = 0;
};

// "Вставить строку" at the top, as each table's row command does it.
void insertAtTop(FlatTable& table, int count) {
  for (int r = count; r >= 1; --r) table.setRow(r + 1, table.row(r));
  table.setRow(1, Row{});
  table.setRowCount(count + 1);
}
void insertAtTop(WorksTable& table, int count) { velko::InsertWorkRow(table, 1, count); }

template <class Table>
Table filled() {
  Table table;
  for (int r = 1; r <= kRows; ++r) {
    table.setRow(r, {std::to_string(r % 49 + 1), "50", "1,5", std::to_string(r % 9 + 1), std::to_string(r)});
  }
  table.setRowCount(kRows);
  return table;
}

// One undo step from `shown` to `after`: the history's copy of the state before, its
// comparison of the two, the grid model's comparison and its copy of the state after.
template <class Table>
void step(Table& shown, const Table& after) {
  const Table before = shown;
  benchmark::DoNotOptimize(before == after);
  benchmark::DoNotOptimize(shown.differingRows(after, std::min(shown.rowCount(), after.rowCount())));
  shown = after;
}

template <class Table>
void BM_TableCopy(benchmark::State& state) {
  const Table table = filled<Table>();
  for (auto _ : state) {
    Table copy = table;
    benchmark::DoNotOptimize(copy);
  }
}

template <class Table>
void BM_CellEditStep(benchmark::State& state) {
  Table shown = filled<Table>();
  int k = 0;
  for (auto _ : state) {
    Table after = shown;
    after.setCell(2, 1 + (k * 7919) % kRows, std::to_string(k));
    step(shown, after);
    ++k;
  }
}

template <class Table>
void BM_InsertRowStep(benchmark::State& state) {
  Table shown = filled<Table>();
  for (auto _ : state) {
    Table after = shown;
    insertAtTop(after, kRows - 1);
    after.setRowCount(kRows);
    step(shown, after);
  }
}

// 10000 rows pasted from the first row, and the paste undone.
template <class Table>
void BM_Paste10000AndUndo(benchmark::State& state) {
  Table shown = filled<Table>();
  for (auto _ : state) {
    const Table opened = shown;
    Table pasted = shown;
    for (int r = 1; r <= 10000; ++r) {
      for (int c = 0; c < velko::kWorksColumns; ++c) pasted.setCell(c, r, std::to_string(c + 1));
    }
    step(shown, pasted);
    step(shown, opened);
  }
}

// The memory the undo history holds: each step keeps the table before and after it;
// alternately a cell edited and a row inserted at the top.
template <class Table>
void BM_UndoHistoryMemory(benchmark::State& state) {
  const int steps = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Table shown = filled<Table>();
    const std::size_t start = mallinfo2().uordblks;
    std::vector<std::pair<Table, Table>> history;
    for (int k = 0; k < steps; ++k) {
      Table after = shown;
      if (k % 2 == 0) {
        after.setCell(k % velko::kWorksColumns, 1 + (k * 7919) % kRows, std::to_string(k));
      } else {
        insertAtTop(after, kRows - 1);
        after.setRowCount(kRows);
      }
      history.emplace_back(shown, after);
      shown = after;
    }
    const double held = static_cast<double>(mallinfo2().uordblks - start);
    state.counters["MB_held"] = held / 1e6;
    state.counters["KB_per_step"] = held / 1e3 / steps;
  }
}

BENCHMARK_TEMPLATE(BM_TableCopy, FlatTable)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TableCopy, WorksTable)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_CellEditStep, FlatTable)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_CellEditStep, WorksTable)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_InsertRowStep, FlatTable)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_InsertRowStep, WorksTable)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Paste10000AndUndo, FlatTable)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Paste10000AndUndo, WorksTable)->Unit(benchmark::kMillisecond);
// 500 flat steps would hold some 16 GB; 20 show the cost of each.
BENCHMARK_TEMPLATE(BM_UndoHistoryMemory, FlatTable)->Arg(20)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_UndoHistoryMemory, WorksTable)->Arg(500)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
