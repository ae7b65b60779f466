// velko-batch with Project XML as a user runs it: the report on stderr, the export
// written, a bad file refused with nothing written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/core/scratch_dir.h"
#include "tests/exchange/project_xml.h"

namespace velko {
namespace {

int batch(const testing::ScratchDir& dir, const std::string& arguments) {
  const std::string command = "cd '" + dir.path().string() + "' && '" + VELKO_BATCH + "' " + arguments +
                              " >stdout.txt 2>stderr.txt";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(BatchProjectXml, ReadsReportsAndExportsOrRefusesWritingNothing) {
  const testing::ScratchDir dir;
  testing::writeBytes(dir.file("in.xml"),
                      testing::projectXml("<Tasks>" + testing::task(1, "A", 2, "", "<ConstraintType>2</ConstraintType>") +
                                          testing::task(2, "B", 1, testing::link(1, 3, 1)) + "</Tasks>"));
  ASSERT_EQ(batch(dir, "--export out.xml in.xml"), 0) << testing::readBytes(dir.file("stderr.txt"));
  const std::string report = testing::readBytes(dir.file("stderr.txt"));
  EXPECT_NE(report.find("Из файла in.xml перенесено: задач 2"), std::string::npos) << report;
  EXPECT_NE(report.find("задача UID 1 «A»: ограничение даты (тип 2) не перенесено"), std::string::npos) << report;
  EXPECT_NE(testing::readBytes(dir.file("out.xml")).find("<Name>B</Name>"), std::string::npos);

  testing::writeBytes(dir.file("bad.xml"), "<Project><Tasks>");
  std::filesystem::remove(dir.file("velko.rez"));
  EXPECT_EQ(batch(dir, "--export again.xml bad.xml"), 1);
  EXPECT_NE(testing::readBytes(dir.file("stderr.txt")).find("Файл bad.xml, строка 1"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.file("again.xml")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("velko.rez")));
}

}  // namespace
}  // namespace velko
