// velko-batch --smooth as a user runs it: the CSV read back as another program would,
// its profile recomputed and compared with the line the tool prints.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

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
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testing::readBytes(dir.file("stdout.txt")),
          testing::readBytes(dir.file("stderr.txt"))};
}

double number(const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << "not a plain number: " << text;
  return value;
}

TEST(BatchSmoothing, CsvAndSummaryAgree) {
  for (const char* mode : {"", "--optimise "}) {
    SCOPED_TRACE(mode);
    testing::ScratchDir dir;
    const BatchRun run = runBatch(dir, std::string(mode) + "--smooth plan.csv '" VELKO_TEST_DATA "/network20.dat'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::smatch m;
    const std::regex summary("Выравнивание: пик (\\d+) -> (\\d+), нижняя граница (\\d+), минимум (не )?доказан\n$");
    ASSERT_TRUE(std::regex_search(run.out, m, summary)) << run.out.substr(run.out.size() - 200);
    const long long after = std::stoll(m[2]);
    EXPECT_LE(after, std::stoll(m[1]));
    EXPECT_LE(std::stoll(m[3]), after);
    if (!m[4].matched) {
      EXPECT_EQ(std::stoll(m[3]), after);  // a proven minimum is its own bound
    }

    std::istringstream csv(testing::readBytes(dir.file("plan.csv")));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "I,J,t,n,Id,ES,LS,S\r");
    std::map<long long, long long> changes;  // millionths of a day -> change of workers
    int works = 0;
    while (std::getline(csv, line)) {
      ASSERT_EQ(line.back(), '\r');
      std::vector<std::string> f;
      std::stringstream fields(line.substr(0, line.size() - 1));
      for (std::string field; std::getline(fields, field, ',');) f.push_back(field);
      ASSERT_EQ(f.size(), 8u) << line;
      const double t = number(f[2]), n = number(f[3]), es = number(f[5]), ls = number(f[6]), s = number(f[7]);
      EXPECT_GE(s, es - 1e-9);
      EXPECT_NEAR(s - es, std::round(s - es), 1e-9) << line;
      if (s > es) {
        EXPECT_LE(s, ls + 1e-9) << line;
      }
      if (t > 0 && n > 0) {
        changes[std::llround(s * 1e6)] += static_cast<long long>(n);
        changes[std::llround((s + t) * 1e6)] -= static_cast<long long>(n);
      }
      ++works;
    }
    EXPECT_EQ(works, 31);
    long long busy = 0, peak = 0;
    for (const auto& [time, change] : changes) peak = std::max(peak, busy += change);
    EXPECT_EQ(peak, after);
  }
}

TEST(BatchSmoothing, RefusesWithoutAFileOrAPlace) {
  testing::ScratchDir dir;
  EXPECT_EQ(runBatch(dir, "--smooth").exitCode, 2);
  const BatchRun run = runBatch(dir, "--smooth missing/plan.csv '" VELKO_TEST_DATA "/network20.dat'");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(run.err.empty());
}

}  // namespace
}  // namespace velko
