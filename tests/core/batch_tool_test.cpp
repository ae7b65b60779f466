// The batch tool as a user runs it: whole results files compared with the golden
// files beside the data files, and errors on the message text.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "data/text_codec.h"
#include "scratch_dir.h"
#include "velko_version.h"

namespace velko {
namespace {

struct BatchRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// `shell` runs before the tool (a size limit), `out` sends its standard output.
BatchRun runBatch(const testing::ScratchDir& dir, const std::string& arguments, const std::string& shell = "",
                  const std::string& out = ">stdout.txt") {
  const std::string command = "cd '" + dir.path().string() + "' && " + shell + "'" + VELKO_BATCH + "' " + arguments +
                              " " + out + " 2>stderr.txt";
  BatchRun run;
  const int status = std::system(command.c_str());
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = testing::readBytes(dir.file("stdout.txt"));
  run.err = testing::readBytes(dir.file("stderr.txt"));
  return run;
}

std::string lastLine(const std::string& text) {
  std::string trimmed = text;
  while (!trimmed.empty() && trimmed.back() == '\n') trimmed.pop_back();
  return trimmed.substr(trimmed.rfind('\n') == std::string::npos ? 0 : trimmed.rfind('\n') + 1);
}

// Names the first line where the two files differ.
std::string firstDifference(const std::string& expected, const std::string& actual) {
  std::istringstream e(expected), a(actual);
  std::string le, la;
  for (int line = 1;; ++line) {
    const bool moreE = static_cast<bool>(std::getline(e, le));
    const bool moreA = static_cast<bool>(std::getline(a, la));
    if (!moreE && !moreA) return "";
    if (le != la || moreE != moreA) {
      return "line " + std::to_string(line) + "\n expected: " + cp1251ToUtf8(moreE ? le : "<end>") +
             "\n actual:   " + cp1251ToUtf8(moreA ? la : "<end>");
    }
  }
}

struct GoldenCase {
  const char* name;
  bool optimise;
};

class BatchGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(BatchGolden, ResultsFileMatches) {
  const GoldenCase c = GetParam();
  const std::string data = std::string(VELKO_TEST_DATA) + "/" + c.name;
  testing::ScratchDir dir;
  const BatchRun run = runBatch(dir, std::string(c.optimise ? "--optimise " : "") + "'" + data + ".dat'");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string golden = testing::readBytes(data + (c.optimise ? ".opt.rez" : ".rez"));
  const std::string actual = testing::readBytes(dir.file("velko.rez"));
  EXPECT_EQ(firstDifference(golden, actual), "") << c.name << (c.optimise ? " optimised" : "");
  EXPECT_EQ(golden, actual);
  EXPECT_EQ(run.out, cp1251ToUtf8(actual));
}

INSTANTIATE_TEST_SUITE_P(
    Networks, BatchGolden,
    ::testing::Values(GoldenCase{"example", false}, GoldenCase{"example", true}, GoldenCase{"network20", false},
                      GoldenCase{"network20", true}, GoldenCase{"worked", false}, GoldenCase{"worked", true},
                      GoldenCase{"wide", false}, GoldenCase{"wide", true}, GoldenCase{"empty", false},
                      GoldenCase{"empty", true}, GoldenCase{"tenths", false}, GoldenCase{"tenths", true}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) {
      return std::string(info.param.name) + (info.param.optimise ? "_optimised" : "");
    });

TEST(BatchTool, ErrorsEndWithTheMessageAndWriteNoResults) {
  testing::ScratchDir dir;
  BatchRun run = runBatch(dir, "absent.dat");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(lastLine(run.err), "File not found");
  EXPECT_FALSE(std::filesystem::exists(dir.file("velko.rez")));

  testing::writeBytes(dir.file("big.dat"), "1\r\n1\r\n50001\r\n1,2,1,1,1\r\n");
  run = runBatch(dir, "--optimise big.dat");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(lastLine(run.err), "Файл big.dat: количество событий или работ вне допустимых пределов");
  EXPECT_FALSE(std::filesystem::exists(dir.file("velko.rez")));

  // A negative duration that cancels the donor's stretch divides by zero: Optimise
  // stops and writes nothing, while Calculate of the same network succeeds.
  testing::writeBytes(dir.file("neg.dat"), "1\r\n2\r\n3\r\n1,3,4,1,1\r\n1,2,-1,-1,1\r\n");
  run = runBatch(dir, "--optimise neg.dat");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(lastLine(run.err), "Floating point division by zero");
  EXPECT_FALSE(std::filesystem::exists(dir.file("velko.rez")));
  EXPECT_EQ(runBatch(dir, "neg.dat").exitCode, 0);
}

TEST(BatchTool, SkippedLinesAndFieldsNotReadFullyAreToldAndTheRunGoesOn) {
  testing::ScratchDir dir;
  testing::writeBytes(dir.file("skip.dat"), "1\r\n3\r\n3\r\n1,2,3,1,1\r\n2,2,1,1,1\r\n2,3,x,1,1\r\n");
  const BatchRun run = runBatch(dir, "skip.dat");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.err.find("пропущено строк работ: 1"), std::string::npos);
  EXPECT_NE(run.err.find("\nстрока 6: поле t прочитано как 0\n"), std::string::npos) << run.err;
  EXPECT_TRUE(std::filesystem::exists(dir.file("velko.rez")));
  // The computation's own warnings follow the reader's.
  testing::writeBytes(dir.file("open.dat"), "1\r\n1\r\n4\r\n1,2,3,1,1\r\n");
  EXPECT_EQ(runBatch(dir, "--optimise open.dat").err,
            "Последнее событие 4 не достигается ни одной работой\nСобытия без входящих работ: 3\n");
}

// Each of these used to exit 0 (a foreign file read as an empty network, an
// unwritable standard output) or die by a signal leaving its temporary file.
TEST(BatchTool, RefusalsAndFailedWritesKeepThePreviousResults) {
  testing::ScratchDir dir;
  const std::string example = std::string("'") + VELKO_TEST_DATA + "/example.dat'";
  ASSERT_EQ(runBatch(dir, example).exitCode, 0);
  const std::string previous = testing::readBytes(dir.file("velko.rez"));
  testing::writeBytes(dir.file("words.dat"), "один\r\nдва\r\nтри\r\n");
  struct Case {
    const char* arguments;
    const char* shell;
    const char* out;
    const char* message;
  };
  for (const Case& c : {Case{"words.dat", "", ">stdout.txt", "Файл words.dat: это не файл исходных данных"},
                        Case{"--optimise EX", "ulimit -f 4; ", ">stdout.txt",
                             "Не удалось записать файл результатов "},
                        Case{"--optimise EX", "", ">/dev/full", "Не удалось записать стандартный вывод: Disk full"},
                        Case{"--optimise EX", "", ">&-", "Не удалось записать стандартный вывод: он закрыт"}}) {
    std::string arguments = c.arguments;
    if (arguments.find("EX") != std::string::npos) arguments.replace(arguments.find("EX"), 2, example);
    const BatchRun run = runBatch(dir, arguments, c.shell, c.out);
    EXPECT_EQ(run.exitCode, 1) << c.message;
    // The results file is named with its full path, then the system's reason and the cure.
    const std::string expected =
        c.message + (c.shell[0] != '\0' ? std::filesystem::canonical(dir.path()).string() + "/velko.rez: " : "");
    EXPECT_EQ(lastLine(run.err).substr(0, expected.size()), expected);
    if (c.shell[0] != '\0') {
      EXPECT_NE(lastLine(run.err).find("из папки, где разрешена запись"), std::string::npos);
    }
    EXPECT_EQ(testing::readBytes(dir.file("velko.rez")), previous) << c.message;
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_NE(entry.path().filename().string().rfind(".velko.rez.", 0), 0u) << entry.path();
  }
}

TEST(BatchTool, RefusesUnknownArguments) {
  testing::ScratchDir dir;
  EXPECT_EQ(runBatch(dir, "--frobnicate x.dat").exitCode, 2);
  EXPECT_EQ(runBatch(dir, "").exitCode, 2);
}

TEST(BatchTool, HelpListsEveryOptionAndVersionIsTheProjects) {
  testing::ScratchDir dir;
  for (const char* help : {"--help", "-h"}) {
    const BatchRun run = runBatch(dir, help);
    EXPECT_EQ(run.exitCode, 0) << help;
    EXPECT_TRUE(run.err.empty()) << help;
    for (const char* option : {"DATAFILE", "--optimise", "--smooth FILE.csv", "--reallocate FILE.csv",
                               "--crews ID=N", "--crews-schedule FILE.csv",
                               "--report FILE.pdf", "--charts DIR", "--plan FILE", "--export OUT.xml",
                               "--help", "--version"})
      EXPECT_NE(run.out.find(option), std::string::npos) << help << " lacks " << option;
  }
  const BatchRun run = runBatch(dir, "--version x.dat");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, std::string("velko-batch ") + kProgramVersion + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("velko.rez")));
}

TEST(BatchTool, SaysSoWhenTheFullToolIsMissing) {
  testing::ScratchDir dir;
  std::filesystem::copy_file(VELKO_BATCH, dir.file("velko-batch"));
  testing::writeBytes(dir.file("one.dat"), "1\r\n1\r\n2\r\n1,2,1,1,1\r\n");
  const std::string command = "cd '" + dir.path().string() + "' && ./velko-batch --charts out one.dat 2>stderr.txt";
  const int status = std::system(command.c_str());
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2);
  EXPECT_EQ(testing::readBytes(dir.file("stderr.txt")),
            "Отчет в PDF, графики и выравнивание недоступны: не найдена программа velko-batch-full\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("velko.rez")));
}

}  // namespace
}  // namespace velko

namespace velko {
namespace {

// --plan: the works with dates by the production calendar; without a start date the run
// is refused and writes nothing, not even the results file.
TEST(BatchPlan, CsvHasDatesByTheCalendarAndNeedsAStartDate) {
  testing::ScratchDir dir;
  const std::string data = testing::readBytes(std::string(VELKO_TEST_DATA) + "/network20.dat");
  testing::writeBytes(dir.file("plain.dat"), data);
  BatchRun run = runBatch(dir, "--plan plan.csv plain.dat");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("нужна дата начала проекта"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir.file("velko.rez")));

  testing::writeBytes(dir.file("dated.dat"), data + "[velko]\r\nstart=2025-12-29\r\nname=1 2 Котлован, земляные работы\r\n");
  run = runBatch(dir, "--plan plan.csv dated.dat");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string csv = testing::readBytes(dir.file("plan.csv"));
  // Day 0 is 29 Dec 2025; 31 Dec and 1-11 Jan are off, so a three-day work ends on 12 Jan.
  EXPECT_NE(csv.find("\r\n\"Котлован, земляные работы\",1,2,1,4,3,2025-12-29,2026-01-12,0\r\n"), std::string::npos) << csv;
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBFНаименование,I,J,", 0), 0u);
}

}  // namespace
}  // namespace velko
