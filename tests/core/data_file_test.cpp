#include "data/data_file.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/command_error.h"
#include "scratch_dir.h"

namespace velko {
namespace {

using Row = WorksTable::Row;

class DataFile : public ::testing::Test {
 protected:
  std::unique_ptr<TNetworkModel> owner = std::make_unique<TNetworkModel>();
  TNetworkModel& m = *owner;
  WorksTable table;
  testing::ScratchDir dir;

  DataFileContents read(const std::string& text) {
    const std::string path = dir.file("net.dat");
    testing::writeBytes(path, text);
    return ReadDataFile(m, path, table);
  }
  std::string errorOf(const std::string& text) {
    try {
      read(text);
    } catch (const CommandError& error) {
      return error.what();
    }
    return "(no error)";
  }
};

TEST_F(DataFile, ReadsAndRebuildsTheTableInEventOrder) {
  const DataFileContents contents = read("2\r\n3\r\n4\r\n1,2,5,3,1\r\n2,4,2.5,4,2\r\n3,1,4,2,3\r\n");
  EXPECT_EQ(contents.VariantNumber, 2);
  EXPECT_EQ(contents.notice, "");
  EXPECT_EQ(m.WorkCount, 3);
  EXPECT_EQ(m.EventCount, 4);
  EXPECT_EQ(table.row(1), (Row{"1", "2", "5", "3", "1"}));
  EXPECT_EQ(table.row(2), (Row{"1", "3", "4", "2", "3"}));
  EXPECT_EQ(table.row(3), (Row{"2", "4", "2,5", "4", "2"}));
  EXPECT_EQ(m.cell(4, 2).Duration.value(), 2.5);
  EXPECT_EQ(contents.rowLines, (std::vector<int>{4, 6, 5}));  // the file line of each row
}

// The rows the rebuild cannot write are counted, the works count becomes the rows
// written, and no row of an earlier file stays below them.
TEST_F(DataFile, SkippedLinesAreReportedAndOldRowsCleared) {
  for (int r = 1; r <= 6; ++r) table.setRow(r, {"9", "9", "9", "9", "9"});
  const DataFileContents contents =
      read("1\n5\n3\n1,2,5,3,1\n2,1,6,4,9\n2,3,1,1,0\n1,2\n3,3,1,1,1\n");
  EXPECT_EQ(table.row(1), (Row{"1", "2", "6", "4", "9"}));
  EXPECT_EQ(table.row(2), Row{});
  EXPECT_EQ(table.row(6), Row{});
  EXPECT_EQ(m.WorkCount, 1);
  EXPECT_EQ(contents.notice,
            "Файл " + dir.file("net.dat") +
                ": пропущено строк работ: 4 (совпадающие события, нулевой идентификатор, повтор пары или номер "
                "события вне 1..3)");
  // The Id 0 line is in the matrix but is no work; "1,2" reads as I 1, J 0 and is not stored.
  EXPECT_EQ(m.cell(2, 3).Duration.value(), 1);
  EXPECT_EQ(m.cell(2, 3).Id, 0);
  EXPECT_EQ(m.cell(1, 2).Id, 9);
  EXPECT_EQ(contents.rowLines, std::vector<int>{5});  // the later line of the pair 1-2
}

TEST_F(DataFile, MissingLinesReadAsEmpty) {
  const DataFileContents contents = read("7\r\n3\r\n2\r\n1,2,1,1,1\r\n");
  EXPECT_EQ(contents.VariantNumber, 7);
  EXPECT_EQ(m.WorkCount, 1);
  EXPECT_NE(contents.notice.find("пропущено строк работ: 2"), std::string::npos);
  read("");
  EXPECT_EQ(m.WorkCount, 0);
  EXPECT_EQ(m.EventCount, 0);
  EXPECT_EQ(table.row(1), Row{});
}

TEST_F(DataFile, LenientNumbers) {
  read(" 4x\r\n2\r\n5 \r\n1,5,1.5e1,+3,7 \r\n2,-3,1,1,1\r\n");
  EXPECT_EQ(m.EventCount, 5);
  EXPECT_EQ(table.row(1), (Row{"1", "5", "15", "3", "7"}));
  EXPECT_EQ(m.WorkCount, 1);
}

TEST_F(DataFile, CountsOutOfBoundsRefuseTheFileAndChangeNothing) {
  read("1\r\n1\r\n2\r\n1,2,3,4,5\r\n");
  const std::string expected = "Файл " + dir.file("net.dat") + ": количество событий или работ вне допустимых пределов";
  EXPECT_EQ(errorOf("1\r\n1\r\n51\r\n"), expected);
  EXPECT_EQ(errorOf("1\r\n101\r\n5\r\n"), expected);
  EXPECT_EQ(errorOf("1\r\n-1\r\n5\r\n"), expected);
  EXPECT_EQ(m.EventCount, 2);
  EXPECT_EQ(m.cell(1, 2).Id, 5);
  EXPECT_EQ(table.row(1), (Row{"1", "2", "3", "4", "5"}));
}

TEST_F(DataFile, FileErrorsCarryTheRuntimeMessage) {
  try {
    ReadDataFile(m, dir.file("absent.dat"), table);
    FAIL();
  } catch (const CommandError& error) {
    EXPECT_STREQ(error.what(), "File not found");
  }
}

TEST_F(DataFile, WriteThenReadGivesTheSameTable) {
  table.setRow(1, {"1", "2", "2,5", "4", "2"});
  table.setRow(2, {"2", "3", "0,1", "1", "3"});
  table.setRow(3, {"7", "7", "7", "7", "7"});  // beyond the works count: not written
  const std::string path = dir.file("out.dat");
  WriteDataFile(path, "3", "2", "3", table, 2);
  EXPECT_EQ(testing::readBytes(path), "3\r\n2\r\n3\r\n1,2,2.5,4,2\r\n2,3,0.1,1,3\r\n");
  WorksTable back;
  ReadDataFile(m, path, back);
  EXPECT_EQ(back.row(1), table.row(1));
  EXPECT_EQ(back.row(2), table.row(2));
}

TEST_F(DataFile, FailedWriteKeepsThePreviousFile) {
  const std::string path = dir.file("out.dat");
  testing::writeBytes(path, "old");
  table.setRow(1, {"1", "2", "中", "1", "1"});  // no such character in the code page
  EXPECT_THROW(WriteDataFile(path, "1", "1", "2", table, 1), CommandError);
  EXPECT_EQ(testing::readBytes(path), "old");
}

TEST(ShortFileName, TakesThePartAfterTheLastBackslash) {
  EXPECT_EQ(ShortFileName("C:\\work\\nets\\a.dat"), "a.dat");
  EXPECT_EQ(ShortFileName("a.dat"), "a.dat");
  EXPECT_EQ(ShortFileName("C:\\work\\"), "work\\");
  EXPECT_EQ(ShortFileName("\\"), "\\");
  EXPECT_EQ(ShortFileName(""), "");
}

}  // namespace
}  // namespace velko
