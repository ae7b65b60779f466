#include "results/results_file.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <sstream>
#include <vector>

#include "data/text_codec.h"
#include "model/command_error.h"
#include "model/commands.h"
#include "network_builder.h"
#include "../russian_numbers.h"
#include "results/cell_format.h"
#include "scratch_dir.h"

namespace velko {
namespace {

using testing::Network;

TEST(CellFormat, FixedPointRoundsHalfwayAwayFromZero) {
  EXPECT_EQ(fixedText(1.125L, 2), "1.13");
  EXPECT_EQ(fixedText(-1.125L, 2), "-1.13");
  EXPECT_EQ(fixedText(25, 2), "25.00");
  EXPECT_EQ(fixedText(0, 2), "0.00");
  EXPECT_EQ(fixedText(StoredReal(5.127L), 3), "5.127");
  EXPECT_EQ(fixedText(1e20L, 2), "100000000000000000000.00");
}

// Lengths past 1e16 are written whole; under the users' decimal comma they came out
// as "...,00" while the batch tool wrote "." for the same table.
TEST(CellFormat, PointUnderTheRussianLocale) {
  const testing::RussianNumbers russian;
  VELKO_NEED_RUSSIAN_NUMBERS(russian);
  EXPECT_EQ(fixedText(1e20L, 2), "100000000000000000000.00");
  EXPECT_EQ(fixedText(-1e18L, 3), "-1000000000000000000.000");
  EXPECT_EQ(fixedText(2.5L, 2), "2.50");
}

TEST(CellFormat, CellsKeepTheirWidths) {
  EXPECT_EQ(integerCell(7), " 7");
  EXPECT_EQ(integerCell(12), "12");
  EXPECT_EQ(integerCell(-9), "-9");
  EXPECT_EQ(integerCell(-10), "**");
  EXPECT_EQ(integerCell(100), "**");

  EXPECT_EQ(realCell(5), "5.00");
  EXPECT_EQ(realCell(0), "0.00");
  EXPECT_EQ(realCell(StoredReal(12.46L)), "12.4");
  EXPECT_EQ(realCell(StoredReal(123.456L)), "123.");
  EXPECT_EQ(realCell(9999), "9999");
  EXPECT_EQ(realCell(10000), "****");  // the cut would show 1000
  EXPECT_EQ(realCell(-999.5L), "-999");
  EXPECT_EQ(realCell(-1000), "****");
  EXPECT_EQ(realCell(-0.5L), "-0.5");
  EXPECT_EQ(realCell(-0.00000001L), "0.00");  // a residue shows no minus sign

  EXPECT_EQ(durationCell(StoredReal(5.127L)), "5.12");
  EXPECT_EQ(realCell(StoredReal(5.127L)), "5.13");
  EXPECT_EQ(durationCell(9999.9996L), "****");
  EXPECT_EQ(durationCell(-0.0004L), "0.00");
}

std::vector<std::string> linesOf(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start) + "<no CR LF>");
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

class ResultsFile : public ::testing::Test {
 protected:
  std::unique_ptr<TNetworkModel> owner = std::make_unique<TNetworkModel>();
  TNetworkModel& m = *owner;
  testing::ScratchDir dir;
};

// Every line ends in CR LF, the text is one byte per character, and each row has the
// width of its table.
TEST_F(ResultsFile, LayoutOfAnOptimisedRun) {
  const std::string path = dir.file("velko.rez");
  runOptimise(m, Network(3, {{"1", "2", "0", "1", "1"}, {"2", "3", "6", "2", "7"}, {"1", "3", "2", "6", "7"}}).input(),
              path);
  const std::string bytes = testing::readBytes(path);
  ASSERT_EQ(bytes.find('\n') - bytes.find('\r'), 1u);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  const std::vector<std::string> lines = linesOf(bytes);
  EXPECT_EQ(lines.front(), "");
  EXPECT_EQ(lines[1], utf8ToCp1251("               Параметры работ         "));
  EXPECT_EQ(lines[1].size(), 39u);
  EXPECT_EQ(lines[9], "|       1 |       2 |    0.00 |       1 |       1 |");
  EXPECT_EQ(lines[10], "|       1 |       3 |    2.00 |       6 |       7 |");
  EXPECT_EQ(lines[12], std::string(51, '-'));
  int banners = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::string& line = lines[k];
    const bool dataRow = line.rfind("|      ", 0) == 0 && line.size() > 8 && std::isdigit(static_cast<unsigned char>(line[8]));
    if (dataRow) {
      EXPECT_TRUE(line.size() == 51 || line.size() == 42 || line.size() == 45) << "line " << k + 1 << ": " << line;
    }
    if (line == utf8ToCp1251("     Результаты оптимизации")) {
      ++banners;
      EXPECT_EQ(lines[k - 1], "");
      EXPECT_EQ(lines[k + 1], std::string(31, '='));
      EXPECT_EQ(lines[k + 2], "");
    }
  }
  EXPECT_EQ(banners, 1);
  EXPECT_EQ(lines.back(), std::string(44, '-'));
  // The writer hands Optimised back as 0; the command sets it to 1 again.
  EXPECT_EQ(m.Optimised, 1);
  EXPECT_NE(bytes.find(utf8ToCp1251("      Длина критического пути, дн = 6.00\r\n")), std::string::npos);
}

TEST_F(ResultsFile, PlainCalculationHasOneSectionAndSecondCallReplacesTheFirst) {
  const std::string path = dir.file("velko.rez");
  runOptimise(m, Network(2, {{"1", "2", "3", "1", "1"}}).input(), path);
  runCalculate(m, Network(2, {{"1", "2", "3", "1", "1"}}).input(), path);
  const std::string text = cp1251ToUtf8(testing::readBytes(path));
  EXPECT_EQ(text.find("Результаты оптимизации"), std::string::npos);
  EXPECT_EQ(m.Optimised, 0);
  EXPECT_EQ(text, resultsText(m, false));
}

TEST_F(ResultsFile, EmptyTablesStillHaveTheirHeadsAndTheLengthLine) {
  const std::string path = dir.file("velko.rez");
  runCalculate(m, Network(0, {}).input(), path);
  const std::vector<std::string> lines = linesOf(testing::readBytes(path));
  // Four headings of nine lines, four closing lines and the length line.
  EXPECT_EQ(lines.size(), 4u * 9 + 4 + 1);
  EXPECT_EQ(lines[9], std::string(51, '-'));
  EXPECT_EQ(cp1251ToUtf8(lines[30]), "      Длина критического пути, дн = 0.00");
}

// A failed write leaves the previous report whole, and the command reports the
// runtime's message.
TEST_F(ResultsFile, FailedWriteKeepsThePreviousFile) {
  const std::string path = dir.file("velko.rez");
  runCalculate(m, Network(2, {{"1", "2", "3", "1", "1"}}).input(), path);
  const std::string before = testing::readBytes(path);
  try {
    runCalculate(m, Network(2, {{"1", "2", "4", "1", "1"}}).input(), dir.file("missing/velko.rez"));
    FAIL() << "no error";
  } catch (const CommandError& error) {
    EXPECT_STREQ(error.what(), "Invalid filename");
  }
  try {
    runCalculate(m, Network(2, {{"1", "2", "4", "1", "1"}}).input(), dir.path().string());
    FAIL() << "no error";
  } catch (const CommandError& error) {
    EXPECT_STREQ(error.what(), "File access denied");
  }
  EXPECT_EQ(testing::readBytes(path), before);
  // No temporary file is left behind.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace velko

namespace velko {
namespace {

// The column borders of a line: where its '|' and '+' stand.
std::vector<std::size_t> borders(const std::string& line) {
  std::vector<std::size_t> at;
  std::size_t column = 0;
  for (std::size_t k = 0; k < line.size(); ++k) {
    const unsigned char c = static_cast<unsigned char>(line[k]);
    if ((c & 0xC0) == 0x80) continue;  // count characters, not UTF-8 bytes
    if (c == '|' || c == '+') at.push_back(column);
    ++column;
  }
  return at;
}

// Three-digit events and workers, a ten-digit identifier and a negative crew in both
// variants: every number is written whole (never "**"), and every row of every table
// keeps the borders of its head and rules, the Id column widened for the whole file.
TEST(WidenedResultsFile, NumbersPastTwoDigitsKeepEveryRowInLineWithItsHead) {
  TNetworkModel m;
  optimiseVariants(m, Network(150, {{"1", "120", "2", "150", "3"},
                                    {"120", "150", "4", "12", "1234567890"},
                                    {"1", "150", "5", "-20", "3"}})
                          .input());
  const std::string text = resultsText(m, true);
  EXPECT_EQ(text.find(" ** |"), std::string::npos);  // "****" is a time that needs more than four
  for (const char* value : {"     120 |", "     150 |", "|1234567890 |", "     -20 |"}) {
    EXPECT_NE(text.find(value), std::string::npos) << value;
  }
  std::istringstream lines(text);
  std::string line;
  std::vector<std::size_t> head;
  int rows = 0;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("| НОМЕР", 0) == 0 || line.rfind("|  НОМЕР", 0) == 0) {
      head = borders(line);
    } else if (!line.empty() && line[0] == '|') {
      ASSERT_FALSE(head.empty());
      EXPECT_EQ(borders(line), head) << line;
      ++rows;
    }
  }
  EXPECT_GT(rows, 30);
}

}  // namespace
}  // namespace velko
