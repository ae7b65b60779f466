// The crew limits of a variant as a schedule problem and as the answer the program shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "building_network.h"
#include "crews/crew_answer.h"
#include "crews/crew_answer_text.h"
#include "model/command_error.h"

namespace velko {
namespace {

// I, J, t, n, Id with the early start of I and the late time of J.
LevellingWork work(int i, int j, Extended t, int n, int id, Extended es, Extended lateJ) {
  return {i, j, t, n, id, es, lateJ, false};
}

//   1 --(1,2) 0.5 d, 2 x Id1--> 2 --dummy--> 3 --(3,4) 2 d, 1 x Id2--> 4
//   1 --(1,3) 1.25 d, 3 x Id1-------------> 3
// The engine's own count of steps: a few hundredths of a second, the same on any machine.
CrewOptions lean() {
  CrewOptions options;
  options.effort = 3'000'000;
  return options;
}

LevellingInput fractionalNetwork() {
  LevellingInput in;
  in.variant = 1;
  in.length = 3.25;
  in.works = {work(1, 2, 0.5, 2, 1, 0, 1.25), work(1, 3, 1.25, 3, 1, 0, 1.25), work(2, 3, 0, 0, 1, 0.5, 1.25),
              work(3, 4, 2, 1, 2, 1.25, 3.25)};
  return in;
}

TEST(CrewPlan, FractionalDurationsLieOnAGridOfWholeTicks) {
  const CrewPlanProblem plan = crewPlanProblem(fractionalNetwork(), {{1, 4}});
  EXPECT_EQ(plan.tick, 250000);  // a quarter of a day
  const CrewProblem& p = plan.problem;
  ASSERT_EQ(p.activities.size(), 4u);  // no event has several works both in and out
  EXPECT_EQ(p.activities[0].duration, 2);
  EXPECT_EQ(p.activities[1].duration, 5);
  EXPECT_EQ(p.activities[2].duration, 0);
  EXPECT_TRUE(p.activities[2].demands.empty());  // the dummy holds no crew
  EXPECT_EQ(p.activities[3].duration, 8);
  EXPECT_EQ(plan.length, 13);
  EXPECT_EQ(plan.earlyStart, (std::vector<long long>{0, 0, 2, 5}));
  EXPECT_EQ(plan.lateStart, (std::vector<long long>{3, 0, 5, 5}));
  EXPECT_EQ(p.activities[0].dueStart, 3);
  EXPECT_EQ(p.capacity, (std::map<int, long long>{{1, 4}}));
  EXPECT_EQ(crewScheduleFault(p, plan.earlyStart), "trade 1 uses 5 at 0");
}

// Three works into an event and two out of it: one zero-length activity joins them, so
// the precedences grow with the works, not with their product.
TEST(CrewPlan, AnEventOfManyInAndOutBecomesOneNode) {
  LevellingInput in;
  in.length = 2;
  for (int i : {1, 2, 3}) in.works.push_back(work(i, 4, 1, 1, 1, 0, 1));
  for (int j : {5, 6}) in.works.push_back(work(4, j, 1, 1, 1, 1, 2));
  const CrewPlanProblem plan = crewPlanProblem(in, {});
  EXPECT_EQ(plan.problem.activities.size(), 6u);
  EXPECT_EQ(plan.problem.precedences.size(), 5u);
  EXPECT_EQ(plan.earlyStart, (std::vector<long long>{0, 0, 0, 1, 1}));
  EXPECT_EQ(plan.endingAtStart[4], (std::vector<int>{0, 1, 2}));
}

TEST(CrewPlan, BadInputIsRefusedWithTheUsersMessage) {
  LevellingInput big;
  big.length = 4;
  big.works = {work(3, 7, 4, 12, 2, 0, 4), work(3, 7, 0, 40, 2, 0, 4)};  // the dummy needs no crew
  const struct {
    LevellingInput input;
    std::map<int, long long> limits;
    const char* message;
  } cases[] = {
      {big, {{2, 10}}, "Работа 3-7 требует 12 рабочих, а бригада Id 2 ограничена 10"},
      {big, {{5, 10}}, "Работ с идентификатором 5 нет"},
      {big, {{2, 0}}, "Ограничение бригады Id 2: «0» — нужно целое число от 1 до 2147483647"},
      {big, {{2, 2147483648LL}}, "Ограничение бригады Id 2: «2147483648» — нужно целое число от 1 до 2147483647"},
      {LevellingInput{}, {}, "В сети нет работ: ограничивать нечего"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    try {
      crewPlanProblem(c.input, c.limits);
      ADD_FAILURE() << "accepted";
    } catch (const CommandError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_NO_THROW(crewPlanProblem(big, {{2, 12}}));
}

TEST(CrewLimitText, OnlyWholeNumbersFromOneTo2To31Minus1) {
  const std::string why = "» — нужно целое число от 1 до 2147483647";
  for (const char* text : {"0", "-3", "2.5", "2,5", "десять", "2147483648", "1e3", "+4"}) {
    try {
      parseCrewLimit(2, text);
      ADD_FAILURE() << text << " accepted";
    } catch (const CommandError& e) {
      EXPECT_EQ(e.what(), "Ограничение бригады Id 2: «" + std::string(text) + why);
    }
  }
  EXPECT_EQ(parseCrewLimit(2, " 7 "), 7);
  EXPECT_EQ(parseCrewLimit(2, "2147483647"), 2147483647);
  EXPECT_EQ(parseCrewLimit(2, "  "), std::nullopt);

  EXPECT_EQ(parseCrewLimitList("2=10,5=3"), (std::map<int, long long>{{2, 10}, {5, 3}}));
  const struct {
    const char* text;
    const char* message;
  } bad[] = {
      {"2", "Ограничение бригад: «2» — нужно Id=N, например 2=10"},
      {"x=3", "Ограничение бригад: «x=3» — нужно Id=N, например 2=10"},
      {"2=10,", "Ограничение бригад: «» — нужно Id=N, например 2=10"},
      {"2=0", "Ограничение бригады Id 2: «0» — нужно целое число от 1 до 2147483647"},
      {"2=", "Ограничение бригады Id 2: «» — нужно целое число от 1 до 2147483647"},
      {"2=3,2=4", "Ограничение бригады Id 2 задано дважды"},
  };
  for (const auto& c : bad) {
    try {
      parseCrewLimitList(c.text);
      ADD_FAILURE() << c.text << " accepted";
    } catch (const CommandError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.text;
    }
  }
}

// Two works of 3 workers of Id 1 side by side under a limit of 4: one waits for the
// other's crew; (3,4) after it waits for it to end.
TEST(CrewAnswer, ADelayedWorkNamesTheCrewItWaitsFor) {
  LevellingInput in;
  in.length = 3;
  in.works = {work(1, 3, 2, 3, 1, 0, 2), work(2, 3, 2, 3, 1, 0, 2), work(3, 4, 1, 1, 2, 2, 3),
              work(1, 2, 0, 0, 0, 0, 0)};
  const CrewAnswer a = limitCrews(in, {{1, 4}}, lean());
  EXPECT_EQ(a.lengthText, "3");
  EXPECT_EQ(a.newLengthText, "5");
  EXPECT_EQ(a.delayed, 2);
  const std::size_t late = a.works[0].delay > 0 ? 0 : 1;
  EXPECT_EQ(a.works[late].delayText, "2");
  EXPECT_EQ(a.works[late].waitsForCrew, std::vector<int>{static_cast<int>(1 - late)});
  EXPECT_EQ(crewDelayReason(a, late), "ждет бригаду Id 1 (работы " + std::string(late == 0 ? "2-3" : "1-3") + ")");
  EXPECT_EQ(crewDelayReason(a, 2), "ждет окончания работ " + std::string(late == 0 ? "1-3" : "2-3"));
  EXPECT_EQ(a.trades.at(1).figures.peak, 3);
  EXPECT_EQ(a.trades.at(1).earlyPeak, 6);
  CrewAnswer told = a;
  told.boundText = "4.5";
  told.proven = false;
  EXPECT_EQ(crewSummary(told), "Ограничение бригад: длина 3 -> 5, нижняя граница 4.5, минимум не доказан");
  EXPECT_EQ(crewScheduleCsv(a).substr(0, 28), "I,J,t,n,Id,ES,LS,S,F,delay\r\n");
  EXPECT_NE(crewScheduleCsv(a).find("\r\n3,4,1,1,2,2,2,4,5,2\r\n"), std::string::npos);
}

// Every schedule keeps the engine's rules, and, read back from the answer alone, every
// precedence of the network and every limit; its length is its last finish.
TEST(CrewAnswer, SchedulesOfBuildingNetworksKeepEveryRule) {
  for (const bool sevenths : {false, true}) {
    const LevellingInput in = testing::buildingNetwork(80, 7, sevenths);
    std::map<int, long long> limits;
    for (const LevellingWork& w : in.works) limits[w.id] = std::max<long long>(limits[w.id], 12);
    const CrewPlanProblem plan = crewPlanProblem(in, limits);
    const CrewResult result = solveCrews(plan.problem, lean());
    ASSERT_EQ(crewScheduleFault(plan.problem, result.starts), "");
    const CrewAnswer a = crewAnswer(in, plan, result);
    EXPECT_LE(a.bound, a.newLength);
    EXPECT_GE(a.newLength, a.length);
    Extended last = 0;
    std::map<int, std::map<Extended, long long>> change;
    for (const CrewWorkAnswer& w : a.works) {
      last = std::max(last, w.finish);
      if (w.inProfile) {
        change[w.id][w.start] += w.workers;
        change[w.id][w.finish] -= w.workers;
      }
      for (const CrewWorkAnswer& before : a.works) {
        if (before.J != w.I) continue;
        EXPECT_GE(w.start, before.finish - 1e-9) << before.I << "-" << before.J << " " << w.I << "-" << w.J;
      }
    }
    EXPECT_NEAR(static_cast<double>(last), static_cast<double>(a.newLength), 1e-9);
    for (const auto& [id, steps] : change) {
      long long busy = 0;
      for (const auto& [at, delta] : steps) EXPECT_LE(busy += delta, limits.at(id)) << "Id " << id;
    }
  }
}

}  // namespace
}  // namespace velko
