// The smoothing of the workers profile: every schedule it produces goes through the
// independent checker; the minimum is compared with enumeration on small networks.
#include "levelling/levelling.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "building_network.h"
#include "data/data_file.h"
#include "model/command_error.h"
#include "model/commands.h"
#include "network_builder.h"
#include "schedule_checker.h"

namespace velko {
namespace {

using testing::Network;
using testing::Row;

struct Smoothed {
  std::unique_ptr<TNetworkModel> model = std::make_unique<TNetworkModel>();
  LevellingResult result;
};

Smoothed smooth(const Network& network, bool optimise, double seconds = 2.0) {
  Smoothed s;
  if (optimise) {
    optimiseVariants(*s.model, network.input());
  } else {
    calculateVariants(*s.model, network.input());
  }
  LevellingOptions options;
  options.effortSeconds = seconds;
  s.result = levelWorkers(levellingInput(*s.model), options);
  return s;
}

void expectValid(const Smoothed& s) {
  for (const std::string& fault : testing::checkSchedule(*s.model, s.result)) ADD_FAILURE() << fault;
}

// (1,2) and (1,3) each 2 days of 4 workers; the dummy (2,3) makes the path 4 days, so
// (1,3) can run after (1,2) instead of beside it.
TEST(Levelling, TwoParallelCrewsRunOneAfterTheOther) {
  const Smoothed s = smooth(Network(3, {{"1", "2", "2", "4", "1"}, {"1", "3", "2", "4", "1"}, {"2", "3", "2", "0", "1"}}),
                            false);
  expectValid(s);
  EXPECT_EQ(s.result.peakBefore, 8);
  EXPECT_EQ(s.result.peakAfter, 4);
  EXPECT_EQ(s.result.lowerBound, 4);
  EXPECT_TRUE(s.result.proven);
  EXPECT_TRUE(s.result.evennessProven);
  ASSERT_EQ(s.result.works.size(), 3u);
  EXPECT_EQ(s.result.works[1].shift, 2);
  EXPECT_EQ(s.result.works[1].startText, "2");
  EXPECT_EQ(s.result.squaresBefore, 128);  // 8^2 x 2
  EXPECT_EQ(s.result.squaresAfter, 64);    // 4^2 x 4
  EXPECT_EQ(s.result.shiftedCount(), 1);
}

// Random small networks, after Calculate and after Optimise (fractional durations and
// early starts): the solver's peak and evenness against every allowed schedule.
TEST(Levelling, MinimumMatchesEnumeration) {
  std::mt19937 random(2024);
  const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  int compared = 0;
  int lowered = 0;
  for (int round = 0; round < 40; ++round) {
    const int events = pick(3, 5);
    std::vector<Row> rows;
    for (int i = 1; i < events; ++i) {
      for (int j = i + 1; j <= events; ++j) {
        if (j != i + 1 && pick(0, 2) != 0) continue;
        const int halves = pick(1, 8);
        rows.push_back({std::to_string(i), std::to_string(j), std::to_string(halves / 2) + (halves % 2 ? ",5" : ""),
                        std::to_string(pick(0, 6)), std::to_string(pick(1, 2))});
      }
    }
    Network network(events, {});
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const Row& row = rows[r];
      network.table.setRow(static_cast<int>(r) + 1, {row.i, row.j, row.t, row.n, row.id});
    }
    network.works = std::to_string(rows.size());
    network.table.setRowCount(static_cast<int>(rows.size()));
    Smoothed s;
    try {
      s = smooth(network, round % 2 == 1);
    } catch (const CommandError&) {
      continue;  // an optimisation that divides by zero
    }
    SCOPED_TRACE("round " + std::to_string(round));
    expectValid(s);
    const testing::Enumerated best = testing::enumerateSchedules(*s.model, s.result.variant);
    ASSERT_GT(best.schedules, 0);
    EXPECT_TRUE(s.result.proven);
    EXPECT_EQ(s.result.peakAfter, best.peak);
    EXPECT_TRUE(s.result.evennessProven);
    EXPECT_NEAR(static_cast<double>(s.result.squaresAfter), static_cast<double>(best.squares), 1e-3);
    compared += best.schedules > 1 ? 1 : 0;
    lowered += best.peak < s.result.peakBefore ? 1 : 0;
  }
  EXPECT_GT(compared, 15);
  EXPECT_GT(lowered, 5);
}

// Inputs the program accepts however odd: each schedule still keeps every rule.
struct OddCase {
  const char* name;
  int events;
  std::vector<Row> rows;
  bool optimise;
};

void PrintTo(const OddCase& c, std::ostream* out) { *out << c.name; }

class OddNetworks : public ::testing::TestWithParam<OddCase> {};

TEST_P(OddNetworks, ScheduleKeepsTheRules) {
  const OddCase& c = GetParam();
  Network network(c.events, {});
  for (std::size_t r = 0; r < c.rows.size(); ++r) {
    const Row& row = c.rows[r];
    network.table.setRow(static_cast<int>(r) + 1, {row.i, row.j, row.t, row.n, row.id});
  }
  network.works = std::to_string(c.rows.size());
  network.table.setRowCount(static_cast<int>(c.rows.size()));
  const Smoothed s = smooth(network, c.optimise, 1.0);
  expectValid(s);
  // The limit of 1 s holds for odd values too; the margin is for a loaded machine.
  EXPECT_LE(s.result.seconds, 15.0);
}

INSTANTIATE_TEST_SUITE_P(
    Levelling, OddNetworks,
    ::testing::Values(
        OddCase{"NegativeDuration", 3, {{"1", "2", "-3", "2", "1"}, {"2", "3", "5", "3", "1"}, {"1", "3", "1", "4", "1"}}, false},
        OddCase{"HugeDuration", 3, {{"1", "2", "1e38", "1", "1"}, {"1", "3", "1", "5", "1"}, {"2", "3", "1", "5", "1"}}, false},
        OddCase{"EventWithoutPathToTheEnd", 4,
                {{"1", "2", "2", "3", "1"}, {"1", "4", "9", "1", "1"}, {"1", "3", "20", "2", "1"}, {"2", "4", "1", "3", "1"}}, false},
        OddCase{"NegativeAndZeroCrews", 4,
                {{"1", "2", "2", "-3", "1"}, {"2", "4", "4", "2", "1"}, {"1", "3", "0", "5", "1"}, {"3", "4", "1", "4", "1"},
                 {"1", "4", "3", "4", "2"}}, false},
        OddCase{"DummiesInTheChain", 5,
                {{"1", "2", "2", "5", "1"}, {"2", "3", "3", "0", "1"}, {"3", "5", "1", "5", "1"}, {"1", "4", "1", "5", "2"},
                 {"4", "5", "0", "7", "2"}, {"1", "5", "12", "2", "3"}}, false},
        OddCase{"FloatOfThousandsOfDays", 3, {{"1", "2", "5000", "1", "1"}, {"1", "3", "1", "3", "1"}, {"2", "3", "1", "3", "1"},}, false},
        OddCase{"WorkersAtTheLimit", 3,
                {{"1", "2", "2", "2147483647", "1"}, {"1", "3", "1", "2147483647", "1"}, {"2", "3", "1", "5", "1"}}, false},
        OddCase{"TenthsAfterOptimisation", 4,
                {{"1", "2", "0,1", "3", "1"}, {"2", "3", "0,2", "3", "1"}, {"1", "3", "0,3", "7", "1"}, {"3", "4", "2,7", "5", "2"},
                 {"1", "4", "1,1", "6", "2"}}, true}),
    [](const ::testing::TestParamInfo<OddCase>& info) { return std::string(info.param.name); });

// The largest network the tables hold, with fractional early starts after Optimise.
TEST(Levelling, FiftyEventsAfterOptimisation) {
  std::vector<Row> rows;
  for (int k = 1; k < 50; ++k) rows.push_back({std::to_string(k), std::to_string(k + 1), std::to_string(1 + (k * 7) % 9), std::to_string(1 + k % 5), std::to_string(1 + k % 4)});
  for (int k = 1; k < 49 && rows.size() < 100; ++k) rows.push_back({std::to_string(k), std::to_string(k + 2), std::to_string(2 + k % 6) + ",5", std::to_string(2 + k % 7), std::to_string(1 + k % 4)});
  Network network(50, {});
  for (std::size_t r = 0; r < rows.size(); ++r) {
    network.table.setRow(static_cast<int>(r) + 1, {rows[r].i, rows[r].j, rows[r].t, rows[r].n, rows[r].id});
  }
  network.works = std::to_string(rows.size());
  network.table.setRowCount(static_cast<int>(rows.size()));
  const Smoothed s = smooth(network, true);
  expectValid(s);
  EXPECT_EQ(s.result.works.size(), 97u);
  EXPECT_LE(s.result.peakAfter, s.result.peakBefore);
}

// Far beyond the exact solvers' sizes (events with no successor among them, whose works
// may move up to the path length): a schedule that keeps every rule, a lower peak and
// a bound below it, within a short limit. In sevenths of a day the early times are
// rounded to millionths, which a finish and the next start must agree on.
TEST(Levelling, FiveThousandWorksKeepTheRules) {
  for (const bool sevenths : {false, true}) {
    SCOPED_TRACE(sevenths ? "sevenths of a day" : "whole days");
    const LevellingInput input = testing::buildingNetwork(5000, 11, sevenths);
    LevellingOptions options;
    options.effortSeconds = 0.5;
    const LevellingResult r = levelWorkers(input, options);
    for (const std::string& fault : testing::checkSchedule(input, r)) ADD_FAILURE() << fault;
    EXPECT_LT(r.peakAfter, r.peakBefore);
    EXPECT_LE(r.lowerBound, r.bestBound);
  }
}

// A cancelled or timed-out solve still hands back a schedule that keeps the rules.
TEST(Levelling, StoppedEarlyKeepsAValidSchedule) {
  const Network network(3, {{"1", "2", "2", "4", "1"}, {"1", "3", "2", "4", "1"}, {"2", "3", "2", "0", "1"}});
  auto model = std::make_unique<TNetworkModel>();
  calculateVariants(*model, network.input());
  std::atomic<bool> cancel{true};
  LevellingOptions options;
  options.cancel = &cancel;
  const LevellingResult r = levelWorkers(levellingInput(*model), options);
  EXPECT_TRUE(r.cancelled);
  EXPECT_FALSE(r.proven);
  EXPECT_EQ(r.peakAfter, 8);
  EXPECT_EQ(r.lowerBound, 4);
  for (const std::string& fault : testing::checkSchedule(*model, r)) ADD_FAILURE() << fault;
}

// The 20-event example after "Расчет": smallest peak 19, stated bound 13, so that
// only the integer program proves the minimum.
std::unique_ptr<TNetworkModel> network20() {
  auto model = std::make_unique<TNetworkModel>();
  WorksTable table;
  ReadDataFile(*model, VELKO_TEST_DATA "/network20.dat", table);
  const std::string events = std::to_string(model->EventCount);
  const std::string works = std::to_string(model->WorkCount);
  table.setRowCount(model->WorkCount);
  calculateVariants(*model, TableInput(events, works, table));
  return model;
}

// However short the time, a minimum is only called proven when it is one.
TEST(Levelling, ProofOnlyWhenTheSearchEnded) {
  const auto model = network20();
  for (double seconds : {0.0005, 0.005, 0.05, 2.0}) {
    LevellingOptions options;
    options.effortSeconds = seconds;
    const LevellingResult r = levelWorkers(levellingInput(*model), options);
    SCOPED_TRACE(seconds);
    EXPECT_LE(r.bestBound, 19);
    EXPECT_GE(r.peakAfter, 19);
    EXPECT_EQ(r.proven, r.peakAfter == r.bestBound);
    if (seconds == 2.0) {
      EXPECT_TRUE(r.proven);
    }
  }
}

// A network whose minimum (19) is two above the stated bound, so that the solvers
// have to search for it.
std::unique_ptr<TNetworkModel> hardNetwork() {
  const Network hard(15, {{"1", "2", "4", "8", "1"},     {"1", "3", "7", "6", "4"},    {"2", "4", "3,5", "6", "1"},
                          {"2", "5", "11,5", "8", "6"},  {"2", "7", "4,5", "6", "4"},  {"3", "4", "11,5", "2", "3"},
                          {"3", "6", "1,5", "5", "6"},   {"3", "7", "12", "10", "3"},  {"4", "9", "6,5", "1", "1"},
                          {"5", "8", "12", "2", "1"},    {"5", "9", "8", "5", "6"},    {"6", "10", "6", "4", "2"},
                          {"6", "11", "10", "1", "6"},   {"7", "9", "7", "5", "6"},    {"7", "11", "5,5", "3", "3"},
                          {"8", "9", "8", "5", "2"},     {"8", "11", "5", "9", "6"},   {"9", "11", "11,5", "2", "6"},
                          {"9", "12", "10,5", "7", "2"}, {"10", "13", "7", "5", "2"},  {"10", "15", "7", "2", "1"},
                          {"11", "15", "6", "4", "1"},   {"12", "15", "5", "10", "6"}, {"13", "14", "7", "9", "6"}});
  auto model = std::make_unique<TNetworkModel>();
  calculateVariants(*model, hard.input());
  return model;
}

// The window runs with the user's locale (decimal comma) in the C library, which the
// solvers' option reader uses: the time limit must still be read, and nothing printed.
TEST(Levelling, SolvesQuietlyUnderADecimalComma) {
  const auto model = hardNetwork();
  if (std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") == nullptr) GTEST_SKIP() << "no ru_RU.UTF-8 locale";
  ::testing::internal::CaptureStdout();
  LevellingOptions options;
  options.effortSeconds = 1.5;
  const LevellingResult r = levelWorkers(levellingInput(*model), options);
  const std::string printed = ::testing::internal::GetCapturedStdout();
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(printed, "");
  EXPECT_GE(r.peakAfter, 19);
  EXPECT_LE(r.bestBound, 19);
  for (const std::string& fault : testing::checkSchedule(*model, r)) ADD_FAILURE() << fault;
}

// Twenty works of one worker in parallel beside a critical one of 60 days, each with
// float of weeks: the peak is settled at once, the most even profile takes far longer.
std::unique_ptr<TNetworkModel> wideNetwork() {
  Network wide(22, {{"1", "22", "60", "1", "1"}});
  for (int k = 2; k <= 21; ++k) {
    wide.table.setRow(2 * k - 2, {"1", std::to_string(k), std::to_string(3 + k % 10), "1", "1"});
    wide.table.setRow(2 * k - 1, {std::to_string(k), "22", "0", "0", "1"});
  }
  wide.table.setRowCount(41);
  wide.works = "41";
  auto model = std::make_unique<TNetworkModel>();
  calculateVariants(*model, wide.input());
  return model;
}

// "Отменить" must not wait for a solver to reach its time limit.
TEST(Levelling, CancelStopsTheSolversPromptly) {
  const auto model = wideNetwork();
  std::atomic<bool> cancel{false};
  LevellingOptions options;
  options.cancel = &cancel;
  // The limit is far enough away that only the cancel can end the run this early,
  // however loaded the machine.
  options.effortSeconds = 20;
  std::thread user([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    cancel = true;
  });
  const LevellingResult r = levelWorkers(levellingInput(*model), options);
  user.join();
  EXPECT_TRUE(r.cancelled);
  EXPECT_LT(r.seconds, 12.0);
  for (const std::string& fault : testing::checkSchedule(*model, r)) ADD_FAILURE() << fault;
}

// A work from 139/7 for 117/11 days ends at 2348/77, where a second one may start
// after a shift of two days and no more. Rounded apart, 139/7 and 117/11 make a finish
// a millionth past that start, and the phantom overlap doubles the peak.
TEST(Levelling, AFinishMeetsAStartEqualToItExactly) {
  const Extended start = 139.0L / 7;
  const Extended finish = 2348.0L / 77;  // 139/7 + 117/11
  LevellingInput input;
  input.length = 2579.0L / 77;  // that finish and 3 days
  input.works = {{2, 3, 117.0L / 11, 5, 1, start, finish, true},
                 {4, 5, 3, 5, 1, 2194.0L / 77, input.length, false}};
  const LevellingResult r = levelWorkers(input);
  for (const std::string& fault : testing::checkSchedule(input, r)) ADD_FAILURE() << fault;
  EXPECT_EQ(r.peakBefore, 10);
  EXPECT_EQ(r.peakAfter, 5);
  EXPECT_TRUE(r.proven);
  ASSERT_EQ(r.works[1].shift, 2);
  // And in the CSV's figures too: S + t of the first is the S of the second.
  const auto micro = [](const std::string& text) { return std::llround(std::stold(text) * 1000000); };
  EXPECT_EQ(micro(r.works[0].startText) + micro(r.works[0].durationText), micro(r.works[1].startText));
}

// The search stops at its own effort, not at the clock: stopped part way through the
// most even profile, two runs still give the same schedule.
TEST(Levelling, SameInputSameSchedule) {
  const auto model = wideNetwork();
  LevellingOptions options;
  options.effortSeconds = 0.02;
  const LevellingResult first = levelWorkers(levellingInput(*model), options);
  const LevellingResult second = levelWorkers(levellingInput(*model), options);
  EXPECT_FALSE(first.evennessProven);  // stopped part way
  EXPECT_EQ(first.peakAfter, second.peakAfter);
  EXPECT_EQ(first.bestBound, second.bestBound);
  for (std::size_t w = 0; w < first.works.size(); ++w) EXPECT_EQ(first.works[w].shift, second.works[w].shift) << w;
}

TEST(Levelling, InputRefusesAVariantTheModelDoesNotHold) {
  auto model = std::make_unique<TNetworkModel>();
  calculateVariants(*model, Network(2, {{"1", "2", "1", "1", "1"}}).input());
  EXPECT_THROW(levellingInput(*model, 2), CommandError);
  EXPECT_THROW(levellingInput(*model, 3), CommandError);
  EXPECT_EQ(levellingInput(*model).variant, 1);
}

}  // namespace
}  // namespace velko
