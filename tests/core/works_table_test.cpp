// The works table's shared chunks against a plain vector of rows: whatever the edits,
// every row reads as the plain table's, and a copy taken earlier never changes.
#include "data/works_table.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "data/works_table_edit.h"
#include "model/network_model.h"

namespace velko {
namespace {

using Row = WorksTable::Row;

// The behaviour the table had when it was a plain vector: rows beyond the stored ones
// read empty, an insert or erase past them changes nothing.
struct PlainTable {
  std::vector<Row> rows;
  int rowCount = 0;
  Row row(int r) const { return r <= static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(r - 1)] : Row{}; }
  void grow(int r) {
    if (r > static_cast<int>(rows.size())) rows.resize(static_cast<std::size_t>(r));
  }
  void setCell(int c, int r, const std::string& text) {
    grow(r);
    rows[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c)] = text;
  }
  void insertRow(int r) {
    if (r <= static_cast<int>(rows.size())) rows.insert(rows.begin() + (r - 1), Row{});
  }
  void eraseRow(int r) {
    if (r <= static_cast<int>(rows.size())) rows.erase(rows.begin() + (r - 1));
  }
  void clearRowsAfter(int r) {
    if (r < static_cast<int>(rows.size())) rows.resize(static_cast<std::size_t>(r));
  }
  void copyRowsFrom(const PlainTable& from, int count) {
    for (int r = 1; r <= count; ++r) {
      grow(r);
      rows[static_cast<std::size_t>(r - 1)] = from.row(r);
    }
  }
};

void expectSame(const WorksTable& table, const PlainTable& plain, int upTo) {
  ASSERT_EQ(table.rowCount(), plain.rowCount);
  for (int r = 1; r <= upTo; ++r) ASSERT_EQ(table.row(r), plain.row(r)) << "row " << r;
}

// Small tables keep every chunk small; large ones split and merge chunks as rows come
// and go at one place, spread out, or in runs (the row commands, a paste).
TEST(WorksTableChunks, EveryEditReadsAsOnAPlainTableAndEarlierCopiesStay) {
  struct Case {
    const char* what;
    int rows;       // rows filled at the start
    int span;       // edits land on rows 1..span
    int steps;
    unsigned seed;
  };
  const Case cases[] = {
      {"a few rows", 6, 9, 400, 1},
      {"edits at the top of a long table", 3000, 40, 1500, 2},
      {"edits all over a long table", 3000, 3100, 1500, 3},
      {"a table grown from empty", 0, 2000, 3000, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::mt19937 random(c.seed);
    const auto pick = [&random](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
    WorksTable table;
    PlainTable plain;
    for (int r = 1; r <= c.rows; ++r) {
      const Row row{std::to_string(r), std::to_string(r + 1), "1", "2", std::to_string(r % 7)};
      table.setRow(r, row);
      plain.grow(r);
      plain.rows[static_cast<std::size_t>(r - 1)] = row;
    }
    std::vector<std::pair<WorksTable, PlainTable>> copies;
    for (int step = 0; step < c.steps; ++step) {
      const int r = pick(1, c.span);
      switch (pick(0, 9)) {
        case 0:
        case 1:
        case 2: {
          const int column = pick(0, kWorksColumns - 1);
          const std::string text = pick(0, 3) == 0 ? "" : std::to_string(step);
          table.setCell(column, r, text);
          plain.setCell(column, r, text);
          break;
        }
        case 3:
        case 4:
          for (int k = pick(1, 3); k > 0; --k) {
            table.insertRow(r);
            plain.insertRow(r);
          }
          break;
        case 5:
        case 6:
          for (int k = pick(1, 3); k > 0; --k) {
            table.eraseRow(r);
            plain.eraseRow(r);
          }
          break;
        case 7:
          if (pick(0, 20) == 0) {
            table.clearRowsAfter(r);
            plain.clearRowsAfter(r);
          }
          break;
        case 8: {  // the separate window: its own rows below, the first ones copied, edited, copied back
          WorksTable other;
          PlainTable otherPlain;
          const int below = pick(1, c.span + 5);
          other.setCell(0, below, "9");
          otherPlain.setCell(0, below, "9");
          const int there = pick(0, c.span);
          other.copyRowsFrom(table, there);
          otherPlain.copyRowsFrom(plain, there);
          other.setCell(1, r, "77");
          otherPlain.setCell(1, r, "77");
          const int back = pick(0, c.span);
          table.copyRowsFrom(other, back);
          plain.copyRowsFrom(otherPlain, back);
          break;
        }
        default: {
          table.setRowCount(r);
          plain.rowCount = r;
          if (copies.size() < 8) copies.emplace_back(table, plain);
          break;
        }
      }
    }
    const int upTo = c.span + c.rows + 10;
    expectSame(table, plain, upTo);
    for (const auto& [copy, copyPlain] : copies) {
      expectSame(copy, copyPlain, upTo);
      std::pair<int, int> differing{0, 0};
      for (int r = 1; r <= upTo; ++r) {
        if (plain.row(r) == copyPlain.row(r)) continue;
        if (differing.first == 0) differing.first = r;
        differing.second = r;
      }
      EXPECT_EQ(table.differingRows(copy, upTo), differing);
    }
  }
}

// The rows the grid is told of and the equality the undo history asks for, on tables
// that share chunks and on tables with equal texts in chunks of their own.
TEST(WorksTableChunks, DifferingRowsAndEqualityLookAtTheTexts) {
  WorksTable base;
  for (int r = 1; r <= 2000; ++r) base.setCell(0, r, std::to_string(r));
  base.setRowCount(2000);
  WorksTable rebuilt;
  for (int r = 1; r <= 2000; ++r) rebuilt.setCell(0, r, std::to_string(r));
  rebuilt.setRowCount(2000);
  // The same texts with the chunks split at other rows: each row inserted at the top.
  WorksTable regrouped;
  regrouped.setCell(0, 1, "2000");
  for (int r = 1999; r >= 1; --r) {
    regrouped.insertRow(1);
    regrouped.setCell(0, 1, std::to_string(r));
  }
  regrouped.setRowCount(2000);
  WorksTable longer = base;  // rows stored beyond the others', emptied again
  longer.setCell(3, 2500, "1");
  longer.clearRow(2500);
  struct Case {
    const char* what;
    WorksTable after;
    std::pair<int, int> rows;
  };
  WorksTable edited = base;
  edited.setCell(2, 1300, "5");
  edited.setCell(4, 700, "6");
  WorksTable inserted = base;
  InsertWorkRow(inserted, 1, 2000);
  inserted.setRowCount(2000);
  WorksTable erased = base;
  erased.eraseRow(1999);
  WorksTable beyond = base;
  beyond.setCell(0, 2001, "x");
  const Case cases[] = {
      {"a copy", base, {0, 0}},
      {"equal texts in other chunks", rebuilt, {0, 0}},
      {"equal texts in chunks split elsewhere", regrouped, {0, 0}},
      {"empty rows stored beyond the others", longer, {0, 0}},
      {"two cells", edited, {700, 1300}},
      {"a row inserted at the top", inserted, {1, 2000}},
      {"the row before the last erased", erased, {1999, 2000}},
      {"a text beyond the rows", beyond, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(base.differingRows(c.after, 2000), c.rows);
    EXPECT_EQ(c.after.differingRows(base, 2000), c.rows);
    const bool equal = c.rows.first == 0 && c.after.row(2001) == Row{};
    EXPECT_EQ(base == c.after, equal);
  }
  // Empty rows moved up by one: equal rows until the chunks they share, one row apart.
  WorksTable sparse;
  sparse.setCell(0, 1000, "x");
  sparse.setRowCount(2000);
  WorksTable up = sparse;
  up.eraseRow(1);
  EXPECT_EQ(sparse.differingRows(up, 2000), std::make_pair(999, 1000));
  EXPECT_FALSE(sparse == up);
}

}  // namespace
}  // namespace velko
