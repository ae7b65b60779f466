// velko-batch --crews and --crews-schedule: the options, and a run as a user makes it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "scratch_dir.h"
#include "tools/batch_options.h"

namespace velko {
namespace {

std::optional<int> parse(std::vector<std::string> args, BatchOptions& options) {
  args.insert(args.begin(), "velko-batch");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  return parseBatchArguments(static_cast<int>(argv.size()), argv.data(), options);
}

TEST(BatchCrews, OptionsHandTheRunToTheFullTool) {
  BatchOptions options;
  EXPECT_EQ(parse({"--crews", "2=10,5=3", "--crews-schedule", "plan.csv", "a.dat"}, options), std::nullopt);
  EXPECT_EQ(options.crewLimits, "2=10,5=3");
  EXPECT_EQ(options.crewsFile, "plan.csv");
  EXPECT_TRUE(options.needsFullTool());
  BatchOptions fromFile;  // the data set's own limits
  EXPECT_EQ(parse({"--crews-schedule", "plan.csv", "a.dat"}, fromFile), std::nullopt);
  EXPECT_TRUE(fromFile.limitsCrews());
  BatchOptions missing;
  EXPECT_EQ(parse({"a.dat", "--crews"}, missing), 2);
}

struct BatchRun {
  int exitCode = -1;
  std::string out, err;
};

BatchRun runBatch(const testing::ScratchDir& dir, const std::string& arguments) {
  const std::string command = "cd '" + dir.path().string() + "' && '" + VELKO_BATCH + "' " + arguments +
                              " '" VELKO_TEST_DATA "/network20.dat' >stdout.txt 2>stderr.txt";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testing::readBytes(dir.file("stdout.txt")),
          testing::readBytes(dir.file("stderr.txt"))};
}

TEST(BatchCrews, WritesTheScheduleAndSaysTheNewLength) {
  testing::ScratchDir dir;
  // Limits the floats can absorb: the engine proves the length at once.
  const BatchRun run = runBatch(dir, "--crews 1=9,2=9 --crews-schedule plan.csv");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::smatch m;
  const std::regex summary("Ограничение бригад: длина ([0-9.]+) -> ([0-9.]+), нижняя граница ([0-9.]+), минимум (не )?доказан\n$");
  ASSERT_TRUE(std::regex_search(run.out, m, summary)) << run.out.substr(run.out.size() - 200);
  const double newLength = std::stod(m[2]);
  EXPECT_LE(std::stod(m[1]), newLength);
  EXPECT_LE(std::stod(m[3]), newLength);
  std::istringstream csv(testing::readBytes(dir.file("plan.csv")));
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line, "I,J,t,n,Id,ES,LS,S,F,delay\r");
  int works = 0;
  double last = 0;
  const std::regex row(R"((\d+),(\d+),([0-9.]+),(\d+),(-?\d+),([0-9.]+),(-?[0-9.]+),([0-9.]+),([0-9.]+),([0-9.]+)\r)");
  while (std::getline(csv, line)) {
    ASSERT_TRUE(std::regex_match(line, m, row)) << line;
    EXPECT_DOUBLE_EQ(std::stod(m[9]) - std::stod(m[8]), std::stod(m[3])) << line;
    EXPECT_DOUBLE_EQ(std::stod(m[10]), std::max(0.0, std::stod(m[8]) - std::stod(m[7]))) << line;
    last = std::max(last, std::stod(m[9]));
    ++works;
  }
  EXPECT_EQ(works, 31);
  EXPECT_EQ(last, newLength);
}

TEST(BatchCrews, ARefusedLimitWritesNothing) {
  testing::ScratchDir dir;
  const struct {
    const char* limits;
    int exitCode;
    const char* message;
  } cases[] = {
      {"--crews 9=3", 1, "Работ с идентификатором 9 нет\n"},
      {"--crews 1=0", 2, "Ограничение бригады Id 1: «0» — нужно целое число от 1 до 2147483647\n"},
      {"--crews 1=1", 1, "Работа 1-2 требует 4 рабочих, а бригада Id 1 ограничена 1\n"},
  };
  for (const auto& c : cases) {
    const BatchRun run = runBatch(dir, std::string(c.limits) + " --crews-schedule plan.csv");
    EXPECT_EQ(run.exitCode, c.exitCode) << c.limits;
    EXPECT_EQ(run.err, c.message);
    EXPECT_FALSE(std::filesystem::exists(dir.file("plan.csv")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("velko.rez")));
  }
}

}  // namespace
}  // namespace velko
