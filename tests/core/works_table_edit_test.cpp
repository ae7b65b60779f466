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

TEST(DeleteRow, MovesTheRowsBelowUpAndLeavesTheLastRowEmpty) {
  WorksTable table = tableOf({"A", "B", "C", "D"});
  DeleteWorkRow(table, 2, 4);
  EXPECT_EQ(namesOf(table, 4), (Names{"A", "C", "D", ""}));
  EXPECT_EQ(table.rowCount(), 4);
}

TEST(DeleteRow, ARowWithAnEmptyICellIsClearedWhileItMovesUp) {
  WorksTable table = tableOf({"A", "B", "X", "D"});
  table.setCell(kColumnI, 3, "");
  DeleteWorkRow(table, 2, 4);
  EXPECT_EQ(namesOf(table, 4), (Names{"A", "", "D", ""}));
}

TEST(DeleteRow, TheRowAfterTheWorksCountIsReadButNeverWritten) {
  // A stored row 5 beyond the works count moves up into row 4 and stays itself.
  WorksTable table = tableOf({"A", "B", "C", "D", "E"});
  DeleteWorkRow(table, 1, 4);
  EXPECT_EQ(namesOf(table, 5), (Names{"B", "C", "D", "E", "E"}));
}

TEST(DeleteRow, ASelectedRowBeyondTheWorksCountChangesNothing) {
  WorksTable table = tableOf({"A", "B", "C"});
  DeleteWorkRow(table, 3, 2);
  EXPECT_EQ(namesOf(table, 3), (Names{"A", "B", "C"}));
  DeleteWorkRow(table, 1, 0);
  DeleteWorkRow(table, 1, -5);
  EXPECT_EQ(namesOf(table, 3), (Names{"A", "B", "C"}));
}

TEST(InsertRow, MovesTheRowsDownAndTheLastRowIsLost) {
  WorksTable table = tableOf({"A", "B", "C", "D"});
  InsertWorkRow(table, 2, 4);
  EXPECT_EQ(namesOf(table, 4), (Names{"A", "", "B", "C"}));
}

TEST(InsertRow, OnTheFirstRowAndOnTheLastRow) {
  WorksTable first = tableOf({"A", "B", "C"});
  InsertWorkRow(first, 1, 3);
  EXPECT_EQ(namesOf(first, 3), (Names{"", "A", "B"}));

  WorksTable last = tableOf({"A", "B", "C"});
  InsertWorkRow(last, 3, 3);
  EXPECT_EQ(namesOf(last, 3), (Names{"A", "B", ""}));
}

TEST(InsertRow, ASelectedRowBeyondTheWorksCountIsOnlyCleared) {
  WorksTable table = tableOf({"A", "B", "C"});
  InsertWorkRow(table, 3, 2);
  EXPECT_EQ(namesOf(table, 3), (Names{"A", "B", ""}));
}

TEST(RowCommands, RefuseCountsAndRowsOutsideTheTableBeforeWritingAnything) {
  WorksTable table = tableOf({"A", "B"});
  EXPECT_THROW(DeleteWorkRow(table, 1, kMaxWorks + 1), CommandError);
  EXPECT_THROW(InsertWorkRow(table, 1, kMaxWorks + 1), CommandError);
  EXPECT_THROW(InsertWorkRow(table, 0, 2), CommandError);
  EXPECT_THROW(DeleteWorkRow(table, 0, 2), CommandError);
  EXPECT_THROW(CopyWorkRows(table, table, kMaxWorks + 1), CommandError);
  EXPECT_EQ(namesOf(table, 2), (Names{"A", "B"}));
  // The full table still works at its last row.
  WorksTable full;
  full.setRow(kMaxWorks, named("Z"));
  InsertWorkRow(full, kMaxWorks, kMaxWorks);
  EXPECT_EQ(full.row(kMaxWorks), Row{});
}

TEST(CopyRows, CopiesExactlyTheRowsUpToTheWorksCount) {
  const WorksTable from = tableOf({"A", "", "C", "D"});
  WorksTable to = tableOf({"P", "Q", "R", "S"});
  CopyWorkRows(from, to, 3);
  EXPECT_EQ(namesOf(to, 4), (Names{"A", "", "C", "S"}));
  CopyWorkRows(from, to, 0);
  EXPECT_EQ(namesOf(to, 4), (Names{"A", "", "C", "S"}));
}

TEST(TakeCounts, StoresBothCountsAndRefusesTooLargeOnesWithTheCommandsMessages) {
  auto owner = std::make_unique<TNetworkModel>();
  TNetworkModel& m = *owner;
  TakeWorkCounts(m, "4", "5");
  EXPECT_EQ(m.EventCount, 4);
  EXPECT_EQ(m.WorkCount, 5);
  TakeWorkCounts(m, "-1", "0");  // counts of 0 or less stay allowed
  EXPECT_EQ(m.EventCount, -1);
  EXPECT_EQ(m.WorkCount, 0);

  auto messageOf = [&m](const std::string& events, const std::string& works) -> std::string {
    try {
      TakeWorkCounts(m, events, works);
    } catch (const CommandError& error) {
      return error.what();
    }
    return "(no error)";
  };
  EXPECT_EQ(messageOf("51", "5"), "Количество событий 51 больше допустимого (50)");
  EXPECT_EQ(m.EventCount, -1);
  EXPECT_EQ(messageOf("50", "101"), "Количество работ 101 больше допустимого (100)");
  EXPECT_EQ(m.EventCount, 50);  // the events count was taken before the works count failed
  EXPECT_EQ(m.WorkCount, 0);
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
