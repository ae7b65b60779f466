// Blocks of cells through the clipboard: what a spreadsheet or this program copies, and
// how it lands in the works table.
#include "data/cell_block.h"

#include <gtest/gtest.h>

#include "model/command_error.h"
#include "model/data_set_extras.h"
#include "model/network_model.h"

namespace velko {
namespace {

TEST(CellBlock, SplitsTabsOrSemicolonsAndEveryKindOfLineEnd) {
  struct Case {
    const char* text;
    CellBlock block;
  };
  const Case cases[] = {
      {"1\t2\t2.5\r\n2\t3\t4,25\r\n", {{"1", "2", "2.5"}, {"2", "3", "4,25"}}},  // a spreadsheet's copy
      {"1;2;2,5\n2;3;4\n", {{"1", "2", "2,5"}, {"2", "3", "4"}}},              // its text file, decimal comma
      {"1\t\t3\r4\t5\t6", {{"1", "", "3"}, {"4", "5", "6"}}},
      {"1;2\n\n3;4\n\n\n", {{"1", "2"}, {""}, {"3", "4"}}},  // an empty line inside stays a row
      {"7\n", {{"7"}}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(splitCellBlock(c.text), c.block) << c.text;
  EXPECT_TRUE(holdsSeveralCells("1\t2"));
  EXPECT_TRUE(holdsSeveralCells("1\n2\n"));
  for (const char* one : {"2.5\r\n", " 3 ", "", "\n"}) EXPECT_FALSE(holdsSeveralCells(one)) << one;
}

TEST(CellBlock, PastesRowByRowGrowingTheTableAndCopiesBackTheSameText) {
  WorksTable table;
  table.setRow(1, {"1", "2", "5", "3", "1"});
  table.setRow(2, {"9", "9", "9", "9", "9"});
  table.setRowCount(2);
  const WorksTable pasted = pasteCellBlock(table, 2, kColumnI, splitCellBlock("2;4;2.5;4;2\r\n1;3; 4 ;2;3\r\n"));
  EXPECT_EQ(pasted.rowCount(), 3);
  EXPECT_EQ(copyCellBlock(pasted, 1, kColumnI, 3, kColumnId), "1\t2\t5\t3\t1\n2\t4\t2,5\t4\t2\n1\t3\t4\t2\t3\n");
  // A narrower block from an inner cell changes only its cells; empty cells past Id pass.
  const WorksTable inner = pasteCellBlock(pasted, 1, kColumnT, splitCellBlock("7\t8\t\t\n"));
  EXPECT_EQ(copyCellBlock(inner, 1, kColumnI, 1, kColumnId), "1\t2\t7\t8\t\n");
  EXPECT_EQ(inner.rowCount(), 3);
  WorksTable cleared = pasted;
  clearCellBlock(cleared, 2, kColumnJ, 3, kColumnT);
  EXPECT_EQ(copyCellBlock(cleared, 2, kColumnI, 3, kColumnId), "2\t\t\t4\t2\n1\t\t\t2\t3\n");
}

// Blocks of five columns (numbers only) and of six (with the names) both paste from I;
// a five-column block leaves the names it passes by.
TEST(CellBlock, NamesTravelInASixthColumn) {
  WorksTable table;
  table.setRow(1, {"1", "2", "5", "3", "1", "Фундамент"});
  table.setRowCount(1);
  std::string letters;
  for (std::size_t k = 0; k < kMaxWorkNameChars; ++k) letters += "ж";
  const WorksTable six = pasteCellBlock(table, 2, kColumnI, splitCellBlock("2\t3\t1\t1\t1\tКладка; стены\n3\t4\t1\t1\t1\t" + letters + "\n"));
  EXPECT_EQ(copyCellBlock(six, 1, kColumnI, 3, kColumnName),
            "1\t2\t5\t3\t1\tФундамент\n2\t3\t1\t1\t1\tКладка; стены\n3\t4\t1\t1\t1\t" + letters + "\n");
  const WorksTable five = pasteCellBlock(six, 1, kColumnI, splitCellBlock("1\t2\t6\t3\t1\n"));
  EXPECT_EQ(five.cell(kColumnName, 1), "Фундамент");
  EXPECT_EQ(five.cell(kColumnT, 1), "6");
  try {
    pasteCellBlock(table, 1, kColumnName, splitCellBlock(letters + "ж\n"));
    ADD_FAILURE() << "a name of 256 characters was pasted";
  } catch (const CommandError& error) {
    EXPECT_STREQ(error.what(), "Строка 1, столбец Наименование: наименование длиннее 255 знаков (256). Ничего не вставлено.");
  }
}

TEST(CellBlock, RefusesTheWholeBlockNamingTheRowAndTheColumn) {
  WorksTable table;
  table.setRowCount(95);
  struct Case {
    int row;
    int column;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {3, kColumnI, "1\t2\t5\n2\t3\tabc\n", "Строка 4, столбец t: нельзя вставить «abc»: в ячейке допустимы только цифры, "
                                            "запятая и минус. Ничего не вставлено."},
      {3, kColumnI, "1;2;1 000", "Строка 3, столбец t: нельзя вставить «1 000»: в ячейке допустимы только цифры, "
                                 "запятая и минус. Ничего не вставлено."},
      {3, kColumnJ, "1\t2\t3\t4\tимя\t5\n",
       "Строка 3, столбец J: в строке блока 6 столбцов, а от столбца J до последнего (Наименование) их 5. "
       "Ничего не вставлено."},
  };
  for (const Case& c : cases) {
    try {
      pasteCellBlock(table, c.row, c.column, splitCellBlock(c.text));
      ADD_FAILURE() << "pasted: " << c.text;
    } catch (const CommandError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
  std::string rows;
  for (int k = 0; k < 12; ++k) rows += "1\t2\n";
  try {
    pasteCellBlock(table, kMaxWorks - 10, kColumnJ, splitCellBlock(rows));
    ADD_FAILURE() << "a work beyond kMaxWorks was pasted";
  } catch (const CommandError& error) {
    EXPECT_STREQ(error.what(), "Строка 100001, столбец J: работ не может быть больше 100000, а блок из 12 строк "
                               "от строки 99990 дошел бы до строки 100001. Ничего не вставлено.");
  }
  EXPECT_EQ(pasteCellBlock(table, kMaxWorks - 10, kColumnJ, splitCellBlock(rows.substr(0, rows.size() - 4))).rowCount(),
            kMaxWorks);
}

}  // namespace
}  // namespace velko
