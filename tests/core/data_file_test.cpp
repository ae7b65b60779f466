#include "data/data_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <utility>

#include "data/work_names.h"
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

// Opened, a file cut short would be saved back as the smaller network it seems to be.
TEST_F(DataFile, FileWithFewerWorkLinesThanItCountsIsRefusedAndChangesNothing) {
  read("1\r\n1\r\n2\r\n1,2,3,4,5\r\n");
  for (const auto& [claimed, held] : {std::pair{3, 1}, std::pair{100000, 3}}) {
    std::string file = "7\r\n" + std::to_string(claimed) + "\r\n50000\r\n";
    for (int k = 1; k <= held; ++k) file += std::to_string(k) + "," + std::to_string(k + 1) + ",1,1,1\r\n";
    EXPECT_EQ(errorOf(file), "Файл " + dir.file("net.dat") + ": во второй строке указано работ: " +
                                 std::to_string(claimed) + ", а строк работ в файле: " + std::to_string(held) +
                                 ". Файл неполон и не открыт.");
  }
  EXPECT_EQ(m.EventCount, 2);
  EXPECT_EQ(table.row(1), (Row{"1", "2", "3", "4", "5"}));
}

// Such files used to open as an empty network. The lenient readings of the counts
// ("7 variant", " 3", "+3x") and counts written as "0" still open.
TEST_F(DataFile, ForeignFilesAreRefusedAndChangeNothing) {
  read("1\r\n1\r\n2\r\n1,2,3,4,5\r\n");
  const std::string expected = "Файл " + dir.file("net.dat") + ": это не файл исходных данных";
  for (const std::string& foreign :
       {std::string(), std::string("2\r3\r4\r1,2,5,3,1\r"), std::string("\xFF\xFE" "2\0\r\0\n\0" "3\0\r\0\n\0" "4\0", 14),
        std::string("1\n\0" "2\n3\n", 7), std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16),
        std::string("один\nдва\nтри\n"), std::string("1\n2\n")}) {
    EXPECT_EQ(errorOf(foreign), expected) << ::testing::PrintToString(foreign);
  }
  EXPECT_EQ(m.EventCount, 2);
  EXPECT_EQ(table.row(1), (Row{"1", "2", "3", "4", "5"}));
  for (const char* lenient : {"0\r\n0\r\n0\r\n", "7 variant\n 1\n+2x\n1,2,3,4,5\n"}) {
    EXPECT_EQ(errorOf(lenient), "(no error)") << lenient;
  }
  EXPECT_EQ(m.EventCount, 2);
}

// A FIFO would block the read for ever, a device or a huge file would fill memory.
TEST_F(DataFile, OnlyRegularFilesUpToSixteenMebibytesAreRead) {
  const std::string fifo = dir.file("pipe.dat");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string big = dir.file("big.dat");
  testing::writeBytes(big, "1\r\n0\r\n0\r\n" + std::string(std::size_t{16} << 20, ' '));
  const std::pair<std::string, std::string> cases[] = {
      {fifo, "Файл " + fifo + ": это не обычный файл"},
      {"/dev/zero", "Файл /dev/zero: это не обычный файл"},
      {big, "Файл " + big + ": больше 16 МиБ, это не файл исходных данных"},
      {dir.path().string(), "File access denied"}};
  for (const auto& [path, message] : cases) {
    try {
      ReadDataFile(m, path, table);
      ADD_FAILURE() << "read " << path;
    } catch (const CommandError& error) {
      EXPECT_EQ(error.what(), message);
    }
  }
}

TEST_F(DataFile, FieldsNotReadFullyAreListedInTheNotice) {
  const DataFileContents contents = read("1\r\n3\r\n3\r\n1,2,x,3,1\r\n1,3,2.5 ,4 x,2,9\r\n2,3,1,99999999999,3\r\n");
  EXPECT_EQ(table.row(1), (Row{"1", "2", "0", "3", "1"}));
  EXPECT_EQ(table.row(2), (Row{"1", "3", "2,5", "4", "2"}));
  EXPECT_EQ(contents.notice, "Файл " + dir.file("net.dat") +
                                 ": не все поля прочитаны полностью\n"
                                 "строка 4: поле t прочитано как 0\n"
                                 "строка 5: поле n прочитано как 4\n"
                                 "строка 5: поле Id прочитано как 2\n"
                                 "строка 6: поле n прочитано как 999999999");
  std::string many = "1\r\n12\r\n13\r\n";
  for (int j = 2; j <= 13; ++j) many += "1," + std::to_string(j) + ",x,1,1\r\n";
  const std::string notice = read(many).notice;
  EXPECT_NE(notice.find("строка 13: поле t прочитано как 0\nи еще полей: 2"), std::string::npos) << notice;
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
  EXPECT_EQ(errorOf("1\r\n1\r\n50001\r\n"), expected);
  EXPECT_EQ(errorOf("1\r\n100001\r\n5\r\n"), expected);
  EXPECT_EQ(errorOf("1\r\n2147483647\r\n2147483647\r\n"), expected);
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

TEST_F(DataFile, ExtrasFollowTheWorksAndComeBack) {
  table.setRow(1, {"1", "2", "2,5", "4", "2"});
  DataSetExtras extras;
  extras.startDate = parseIsoDate("2026-04-14");
  extras.calendar.kind = WorkingCalendar::Kind::Own;
  extras.calendar.weekMask = 0x3F;
  extras.calendar.daysOff = {*parseIsoDate("2026-05-01")};
  extras.crewLimits = {{2, 12}};
  extras.tradeNames = {{2, "Каменщик \\ 4 разряда"}};
  extras.names = {{{1, 2}, "Кладка стен \\ 中\nвторая строка"}};
  const std::string path = dir.file("out.dat");
  WriteDataFile(path, "1", "1", "2", table, 1, extras);
  const std::string bytes = testing::readBytes(path);
  // What a reader of the works alone reads is unchanged: the section follows the last work line.
  EXPECT_EQ(bytes.substr(0, bytes.find("[velko]")), "1\r\n1\r\n2\r\n1,2,2.5,4,2\r\n");
  WorksTable back;
  ReadDataFile(m, path, back);
  EXPECT_EQ(m.Extras, extras);
  WorksTable::Row named = table.row(1);
  named[kColumnName] = "Кладка стен \\ 中 вторая строка";  // no table cell holds a line break
  EXPECT_EQ(back.row(1), named);
  // A section with a line it cannot read keeps the rest and says which line.
  const DataFileContents contents =
      read("1\r\n1\r\n2\r\n1,2,1,1,1\r\n[velko]\r\ncrew=1 0\r\ncrew=3 4\r\nfuture=x\r\n");
  EXPECT_EQ(m.Extras.crewLimits, (std::map<int, long long>{{3, 4}}));
  EXPECT_NE(contents.notice.find("строка 6: ограничение бригады не прочитано"), std::string::npos);
}

// Names live in the table rows and go to the file by their events; a row without a name
// writes nothing, and reading puts each name back on its row, whatever the row order.
TEST_F(DataFile, NamesOfTheRowsAreWrittenAndReadBack) {
  table.setRow(1, {"2", "3", "1", "1", "1", "Кладка стен"});
  table.setRow(2, {"1", "2", "1", "1", "1"});
  table.setRow(3, {"3", "1", "1", "1", "1", "Кровля"});  // written as 3 1, read back as row 1 3
  DataSetExtras extras;
  extras.names = {{{7, 8}, "не из таблицы"}};  // the table's names replace the old ones
  extras.crewLimits = {{1, 5}};
  const std::string path = dir.file("out.dat");
  WriteDataFile(path, "1", "3", "3", table, 3, extrasWithTableNames(extras, table, 3));
  const std::string bytes = testing::readBytes(path);
  EXPECT_EQ(bytes.substr(bytes.find("[velko]")), "[velko]\r\ncrew=1 5\r\nname=2 3 Кладка стен\r\nname=3 1 Кровля\r\n");
  WorksTable back;
  ReadDataFile(m, path, back);
  EXPECT_EQ(back.row(1), (WorksTable::Row{"1", "2", "1", "1", "1", ""}));
  EXPECT_EQ(back.row(2), (WorksTable::Row{"1", "3", "1", "1", "1", "Кровля"}));
  EXPECT_EQ(back.row(3), (WorksTable::Row{"2", "3", "1", "1", "1", "Кладка стен"}));
  // Without names and other extras nothing follows the works, as before.
  WriteDataFile(path, "1", "1", "3", table, 1, extrasWithTableNames({}, WorksTable{}, 1));
  EXPECT_EQ(testing::readBytes(path), "1\r\n1\r\n3\r\n2,3,1,1,1\r\n");
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
