// velko-batch --reallocate as a user runs it: the CSV read back and put through the
// checker, its length compared with the line the tool prints.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

#include "reallocation_checker.h"
#include "scratch_dir.h"

namespace velko {
namespace {

TEST(BatchReallocation, CsvKeepsTheRulesAndGivesThePrintedLength) {
  testing::ScratchDir dir;
  const std::string command = "cd '" + dir.path().string() + "' && '" + VELKO_BATCH +
                              "' --optimise --reallocate plan.csv --charts charts '" VELKO_TEST_DATA
                              "/tenths.dat' >stdout.txt 2>stderr.txt";
  ASSERT_EQ(std::system(command.c_str()), 0) << testing::readBytes(dir.file("stderr.txt"));
  const std::string out = testing::readBytes(dir.file("stdout.txt"));
  std::smatch m;
  const std::regex summary("Перераспределение: длина ([0-9.]+) -> ([0-9.]+) \\(одним проходом: ([0-9.]+)\\), "
                           "нижняя граница ([0-9.]+), минимум (не )?доказан\n$");
  ASSERT_TRUE(std::regex_search(out, m, summary)) << out.substr(out.size() > 200 ? out.size() - 200 : 0);
  EXPECT_LE(std::stod(m[2]), std::stod(m[3]));
  EXPECT_LE(std::stod(m[4]), std::stod(m[2]));

  std::istringstream csv(testing::readBytes(dir.file("plan.csv")));
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line, "I,J,t,n,Id,t_new,n_new\r");
  ReallocationInput input;
  ReallocationResult result;
  while (std::getline(csv, line)) {
    std::istringstream fields(line);
    std::string f[7];
    for (std::string& field : f) std::getline(fields, field, ',');
    const ReallocationWork w{std::stoi(f[0]), std::stoi(f[1]), std::stold(f[2]), std::stoi(f[3]), std::stoi(f[4])};
    input.works.push_back(w);
    input.events = std::max(input.events, w.J);
    ReallocatedWork a;
    a.I = w.I;
    a.J = w.J;
    a.id = w.id;
    a.workers = w.workers;
    a.newDuration = std::stold(f[5]);
    a.newWorkers = std::stoi(f[6]);
    result.changedWorks += a.newWorkers != a.workers ? 1 : 0;
    result.works.push_back(a);
  }
  EXPECT_EQ(input.works.size(), 3u);
  result.lengthAfter = std::stold(m[2]);
  result.lowerBound = std::stold(m[4]);
  for (const std::string& fault : testing::checkReallocation(input, result)) ADD_FAILURE() << fault;
  for (const char* picture : {"network_reallocated.png", "bar_chart_reallocated.png", "workers_reallocated.png"})
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "charts" / picture)) << picture;
}

}  // namespace
}  // namespace velko
