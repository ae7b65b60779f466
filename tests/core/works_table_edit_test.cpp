#include "data/works_table_edit.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/command_error.h"

namespace velko {
namespace {

using Row = WorksTable::Row;

// Rows named by a letter in every cell, so a moved row is recognised whole.
Row named(const std::string& name) { return {name + "i", name + "j", name + "t", name + "n", name + "d"}; }

WorksTable tableOf(const std::vector<std::string>& names) {
  WorksTable table;
  int r = 0;
  for (const std::string& name : names) {
    ++r;
    if (!name.empty()) table.setRow(r, named(name));
  }
  table.setRowCount(r);
  return table;
}

// The rows 1..count as letters; "" for an empty row, "?" for a row that is neither.
std::vector<std::string> namesOf(const WorksTable& table, int count) {
  std::vector<std::string> names;
  for (int r = 1; r <= count; ++r) {
    const Row row = table.row(r);
    if (row == Row{}) {
      names.push_back("");
    } else {
      const std::string name = row[0].substr(0, row[0].size() - 1);
      names.push_back(row == named(name) ? name : "?");
    }
  }
  return names;
}

using Names = std::vector<std::string>;

TEST(TableKeys, DigitsCommaMinusAndEditingKeysPassAndAFullStopBecomesAComma) {
  for (char32_t key : {U'0', U'5', U'9', U',', U'-', U'\b', U'\t', U'\r'}) {
    EXPECT_TRUE(IsAllowedKey(key)) << static_cast<int>(key);
    EXPECT_EQ(tableKey(key), key);
  }
  EXPECT_FALSE(IsAllowedKey(U'.'));
  EXPECT_EQ(tableKey(U'.'), U',');
  for (char32_t key : {U'a', U' ', U'+', U'e', U'/', U':', U'\x1b', U'\n', U'ж', U'٣'}) {
    EXPECT_FALSE(IsAllowedKey(key)) << static_cast<int>(key);
    EXPECT_EQ(tableKey(key), 0U) << static_cast<int>(key);
  }
}

TEST(CellText, OnlyWhatKeysCanTypeAndPasteTakesOneCleanValue) {
  EXPECT_TRUE(isCellText(""));
  EXPECT_TRUE(isCellText("-12,5"));
  for (const char* text : {"1\t2", "5\n", "a", "2.5", " 3", "1e5", "\b"}) EXPECT_FALSE(isCellText(text)) << text;

  struct Case {
    const char* clipboard;
    const char* inserted;
  };
  // A cell copied from a spreadsheet comes with its line end; a point becomes the comma.
  for (const Case& c : {Case{" 2.5\r\n", "2,5"}, Case{"-7", "-7"}, Case{"\t12\n", "12"}, Case{"\n", ""}}) {
    EXPECT_EQ(pastedCellText(c.clipboard), c.inserted) << c.clipboard;
  }
  const auto refusal = [](std::string_view text) {
    try {
      pastedCellText(text);
    } catch (const CommandError& error) {
      return std::string(error.what());
    }
    return std::string("(accepted)");
  };
  const std::string block = refusal("4\t5\t6\t7\t8\n1\t2\t3\t4\t5\n");
  EXPECT_NE(block.find("несколько ячеек"), std::string::npos) << block;
  EXPECT_NE(refusal("1\n2").find("несколько ячеек"), std::string::npos);
  EXPECT_EQ(refusal("12a"), "Нельзя вставить «12a»: в ячейке допустимы только цифры, запятая и минус. "
                            "Ничего не вставлено.");
  // A long text is cut at a character boundary in the message.
  EXPECT_NE(refusal(std::string(39, '1') + "жжж").find("«" + std::string(39, '1') + "…»"), std::string::npos);
}

// Every work stays: deleting removes exactly one row and lowers the count, inserting
// adds one and raises it (insertion used to drop the last work, and deletion to leave an
// empty row inside the count).
TEST(RowCommands, DeleteAndInsertKeepEveryOtherWorkAndMoveTheCount) {
  struct Case {
    const char* what;
    Names rows;  // the stored rows; "" an empty one
    int workCount;
    bool insert;
    int selected;
    Names after;  // the stored rows afterwards
    int count;    // the works count returned, and the table's row count
  };
  const Case cases[] = {
      {"delete the second", {"A", "B", "C", "D"}, 4, false, 2, {"A", "C", "D", ""}, 3},
      {"delete leaves a stored row beyond the count alone", {"A", "B", "C", "D", "E"}, 4, false, 1,
       {"B", "C", "D", "", "E"}, 3},
      {"delete beyond the count", {"A", "B", "C"}, 2, false, 3, {"A", "B", "C"}, 2},
      {"delete with no works", {"A"}, 0, false, 1, {"A"}, 0},
      {"insert at the second", {"A", "B", "C", "D"}, 4, true, 2, {"A", "", "B", "C", "D"}, 5},
      {"insert at the first", {"A", "B", "C"}, 3, true, 1, {"", "A", "B", "C"}, 4},
      {"insert at the last", {"A", "B", "C"}, 3, true, 3, {"A", "B", "", "C"}, 4},
      {"insert beyond the count adds an empty last row", {"A", "B", "C"}, 2, true, 5, {"A", "B", ""}, 3},
      {"insert into an empty table", {}, 0, true, 1, {""}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WorksTable table = tableOf(c.rows);
    const int count = c.insert ? InsertWorkRow(table, c.selected, c.workCount)
                               : DeleteWorkRow(table, c.selected, c.workCount);
    EXPECT_EQ(count, c.count);
    EXPECT_EQ(namesOf(table, static_cast<int>(c.after.size())), c.after);
    if (c.selected <= c.workCount || c.insert) {
      EXPECT_EQ(table.rowCount(), c.count);
    }
  }
  // A row with an empty I cell moves up whole (it used to be cleared on the way).
  WorksTable partial = tableOf({"A", "B", "X", "D"});
  partial.setCell(kColumnI, 3, "");
  DeleteWorkRow(partial, 2, 4);
  EXPECT_EQ(partial.row(2), (Row{"", "Xj", "Xt", "Xn", "Xd"}));
}

TEST(RowCommands, RefuseCountsAndRowsOutsideTheTableBeforeWritingAnything) {
  WorksTable table = tableOf({"A", "B"});
  EXPECT_THROW(DeleteWorkRow(table, 1, kMaxWorks + 1), CommandError);
  EXPECT_THROW(InsertWorkRow(table, 0, 2), CommandError);
  EXPECT_THROW(DeleteWorkRow(table, 0, 2), CommandError);
  EXPECT_THROW(CopyWorkRows(table, table, kMaxWorks + 1), CommandError);
  EXPECT_EQ(namesOf(table, 2), (Names{"A", "B"}));
  // A full table takes no further row; one short of full takes its last.
  WorksTable full;
  full.setRow(kMaxWorks, named("Z"));
  try {
    InsertWorkRow(full, 1, kMaxWorks);
    ADD_FAILURE() << "a work beyond kMaxWorks was inserted";
  } catch (const CommandError& error) {
    EXPECT_STREQ(error.what(), "Строка не вставлена: в таблице уже 100000 работ, больше не бывает");
  }
  EXPECT_EQ(full.row(kMaxWorks), named("Z"));
  WorksTable almost;
  almost.setRow(kMaxWorks - 1, named("Y"));
  EXPECT_EQ(InsertWorkRow(almost, 1, kMaxWorks - 1), kMaxWorks);
  EXPECT_EQ(almost.row(kMaxWorks), named("Y"));
}

TEST(CopyRows, CopiesExactlyTheRowsUpToTheWorksCount) {
  const WorksTable from = tableOf({"A", "", "C", "D"});
  WorksTable to = tableOf({"P", "Q", "R", "S"});
  CopyWorkRows(from, to, 3);
  EXPECT_EQ(namesOf(to, 4), (Names{"A", "", "C", "S"}));
  CopyWorkRows(from, to, 0);
  EXPECT_EQ(namesOf(to, 4), (Names{"A", "", "C", "S"}));
}

TEST(TakeCounts, TakesBothCountsOrRefusesWithTheCommandsMessages) {
  EXPECT_EQ(TakenWorkCounts("4", "5").events, 4);
  EXPECT_EQ(TakenWorkCounts("4", "5").works, 5);
  EXPECT_EQ(TakenWorkCounts("-1", "0").events, -1);  // counts of 0 or less stay allowed

  auto messageOf = [](const std::string& events, const std::string& works) -> std::string {
    try {
      TakenWorkCounts(events, works);
    } catch (const CommandError& error) {
      return error.what();
    }
    return "(no error)";
  };
  EXPECT_EQ(messageOf("50001", "5"), "Количество событий 50001 больше допустимого (50000)");
  EXPECT_EQ(messageOf("50000", "100001"), "Количество работ 100001 больше допустимого (100000)");
  EXPECT_EQ(messageOf("", "5"), "'' is not a valid integer value");
  EXPECT_EQ(messageOf("3", "2,5"), "'2,5' is not a valid integer value");
}

TEST(RowsToSave, LineTwoAndTheLinesWrittenAgree) {
  EXPECT_EQ(workRowsToSave("5", 5), 5);
  EXPECT_EQ(workRowsToSave("0", 5), 0);   // after "Создать": the old rows are not saved
  EXPECT_EQ(workRowsToSave("3", 5), 3);
  EXPECT_EQ(workRowsToSave("8", 5), 5);   // rows never taken over are not invented
  EXPECT_EQ(workRowsToSave("", 5), 5);
  EXPECT_EQ(workRowsToSave("-2", 5), 5);
  EXPECT_EQ(workRowsToSave("5", -3), 0);
}

}  // namespace
}  // namespace velko
