// The batch tool as a user runs it: whole results files compared with the golden
// files beside the data files, and errors on the message text.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "data/text_codec.h"
#include "scratch_dir.h"

namespace velko {
namespace {

struct BatchRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

BatchRun runBatch(const testing::ScratchDir& dir, const std::string& arguments) {
  const std::string command = "cd '" + dir.path().string() + "' && '" + VELKO_BATCH + "' " + arguments +
                              " >stdout.txt 2>stderr.txt";
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

  testing::writeBytes(dir.file("big.dat"), "1\r\n1\r\n60\r\n1,2,1,1,1\r\n");
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

TEST(BatchTool, SkippedLinesAreToldAndTheRunGoesOn) {
  testing::ScratchDir dir;
  testing::writeBytes(dir.file("skip.dat"), "1\r\n2\r\n2\r\n1,2,3,1,1\r\n2,2,1,1,1\r\n");
  const BatchRun run = runBatch(dir, "skip.dat");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.err.find("пропущено строк работ: 1"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir.file("velko.rez")));
}

TEST(BatchTool, RefusesUnknownArguments) {
  testing::ScratchDir dir;
  EXPECT_EQ(runBatch(dir, "--frobnicate x.dat").exitCode, 2);
  EXPECT_EQ(runBatch(dir, "").exitCode, 2);
}

TEST(BatchTool, SaysSoWhenTheFullToolIsMissing) {
  testing::ScratchDir dir;
  std::filesystem::copy_file(VELKO_BATCH, dir.file("velko-batch"));
  testing::writeBytes(dir.file("one.dat"), "1\r\n1\r\n2\r\n1,2,1,1,1\r\n");
  const std::string command = "cd '" + dir.path().string() + "' && ./velko-batch --charts out one.dat 2>stderr.txt";
  const int status = std::system(command.c_str());
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2);
  EXPECT_EQ(testing::readBytes(dir.file("stderr.txt")),
            "Отчет в PDF и графики недоступны: не найдена программа velko-batch-full\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("velko.rez")));
}

}  // namespace
}  // namespace velko
