#include "model/load_model.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/command_error.h"
#include "model/number_text.h"
#include "network_builder.h"

namespace velko {
namespace {

using testing::Network;

std::string errorOf(TNetworkModel& m, const Network& network) {
  try {
    LoadModel(m, network.input());
  } catch (const CommandError& error) {
    return error.what();
  }
  return "(no error)";
}

TEST(IntegerText, AcceptsWhatTheRuntimeAccepts) {
  EXPECT_EQ(StrToInt("42"), 42);
  EXPECT_EQ(StrToInt("   -7"), -7);
  EXPECT_EQ(StrToInt("+3"), 3);
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(IntegerText, RefusesEverythingElseWithTheRuntimeMessage) {
  for (const char* text : {"", " ", "1 ", "1,5", "2.0", "x", "$", "-", "$G", "2147483648", "1e3", "٣"}) {
    try {
      StrToInt(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const CommandError& error) {
      EXPECT_EQ(error.what(), "'" + std::string(text) + "' is not a valid integer value");
    }
  }
}

TEST(RealText, UsesTheDecimalComma) {
  EXPECT_EQ(StrToFloat("2,5"), 2.5L);
  EXPECT_EQ(StrToFloat(" -1,25e1 "), -12.5L);
  EXPECT_EQ(StrToFloat("3"), 3.0L);
  EXPECT_EQ(StrToFloat(",5"), 0.5L);
  EXPECT_EQ(StrToFloat("1E2"), 100.0L);
  for (const char* text : {"", "2.5", "1,2,3", "e5", ",", "1e", "inf", "nan", "0x10", "1e99999"}) {
    try {
      StrToFloat(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const CommandError& error) {
      EXPECT_EQ(error.what(), "'" + std::string(text) + "' is not a valid floating point value");
    }
  }
}

TEST(RealText, ShortestTextReadsBackToTheSameStoredValue) {
  EXPECT_EQ(shortestRealText(StoredReal(0.1L)), "0,1");
  EXPECT_EQ(shortestRealText(StoredReal(2.5L)), "2,5");
  EXPECT_EQ(shortestRealText(StoredReal(6)), "6");
  EXPECT_EQ(shortestRealText(StoredReal(-0.75L)), "-0,75");
  EXPECT_EQ(shortestRealText(StoredReal(1200)), "1200");
  EXPECT_EQ(shortestRealText(StoredReal(0)), "0");
  EXPECT_EQ(shortestRealText(StoredReal(0.000012L)), "0,000012");
  EXPECT_EQ(shortestRealText(StoredReal(0.0000012L)), "1,2E-6");
  EXPECT_EQ(shortestRealText(StoredReal(1e20L)), "1E20");
  for (const Extended x : {1.0L / 3, 123.456L, 1e-3L, 99999.99L, 7e14L}) {
    const StoredReal stored(x);
    EXPECT_EQ(StoredReal(StrToFloat(shortestRealText(stored))).value(), stored.value()) << shortestRealText(stored);
  }
}

// Values near the format's largest used to give "2E38", which overflows when read
// again; every exponent byte with the smallest, largest and an odd fraction, both signs.
TEST(RealText, EveryStoredValueReadsBackThroughBothReaders) {
  EXPECT_EQ(shortestRealText(StoredReal(1.6e38L)), "1,6E38");
  EXPECT_EQ(shortestRealText(StoredReal::fromBytes({255, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F})), "1,701411834603E38");
  for (int exponentByte = 1; exponentByte <= 255; ++exponentByte) {
    for (const std::uint64_t fraction : {0ULL, 1ULL, 0x2AAAAAAAABULL, 0x7FFFFFFFFFULL}) {
      for (const std::uint8_t sign : {0x00, 0x80}) {
        const StoredReal x = StoredReal::fromBytes(
            {static_cast<std::uint8_t>(exponentByte), static_cast<std::uint8_t>(fraction),
             static_cast<std::uint8_t>(fraction >> 8), static_cast<std::uint8_t>(fraction >> 16),
             static_cast<std::uint8_t>(fraction >> 24), static_cast<std::uint8_t>((fraction >> 32) | sign)});
        const std::string text = shortestRealText(x);
        std::string dotted = text;
        for (char& c : dotted) c = c == ',' ? '.' : c;
        EXPECT_EQ(StoredReal(StrToFloat(text)).value(), x.value()) << text;
        EXPECT_EQ(StoredReal(leadingDecimal(dotted)).value(), x.value()) << dotted;
      }
    }
  }
}

// The desktop program runs with the user's C locale, whose decimal separator is a comma.
TEST(RealText, ShortestTextIgnoresTheCLocale) {
  if (std::setlocale(LC_ALL, "ru_RU.UTF-8") == nullptr) GTEST_SKIP() << "no ru_RU.UTF-8 locale";
  const std::string tenth = shortestRealText(StoredReal(0.1L));
  const std::string large = shortestRealText(StoredReal(1e20L));
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(tenth, "0,1");
  EXPECT_EQ(large, "1E20");
}

class LoadModelTest : public ::testing::Test {
 protected:
  std::unique_ptr<TNetworkModel> owner = std::make_unique<TNetworkModel>();
  TNetworkModel& m = *owner;
};

TEST_F(LoadModelTest, StoresEveryWorkTwiceFromTheSmallerEvent) {
  LoadModel(m, Network(5, {{"5", "3", "2,5", "4", "7"}}).input());
  EXPECT_EQ(m.EventCount, 5);
  EXPECT_EQ(m.WorkCount, 1);
  for (const TWorkCell* cell : {&m.cell(3, 5), &m.cell(5, 3)}) {
    EXPECT_EQ(cell->Duration.value(), 2.5);
    EXPECT_EQ(cell->Workers, 4);
    EXPECT_EQ(cell->Id, 7);
  }
}

TEST_F(LoadModelTest, LastRowOfAPairWins) {
  LoadModel(m, Network(3, {{"1", "2", "5", "3", "1"}, {"2", "1", "6", "4", "9"}}).input());
  EXPECT_EQ(m.cell(1, 2).Duration.value(), 6);
  EXPECT_EQ(m.cell(1, 2).Id, 9);
}

// The table is the one source of the works: a row renumbered since the last run no
// longer takes part.
TEST_F(LoadModelTest, EmptiesTheMatrixFirst) {
  LoadModel(m, Network(3, {{"1", "2", "5", "3", "1"}}).input());
  LoadModel(m, Network(3, {{"1", "3", "5", "3", "1"}}).input());
  EXPECT_EQ(m.cell(1, 2).Id, 0);
  EXPECT_EQ(m.cell(2, 1).Id, 0);
  EXPECT_EQ(m.cell(1, 3).Id, 1);
}

TEST_F(LoadModelTest, RefusesWithTheUsersMessage) {
  EXPECT_EQ(errorOf(m, Network(50001, {})), "Количество событий 50001 больше допустимого (50000)");
  EXPECT_EQ(errorOf(m, Network(2147483647, {})), "Количество событий 2147483647 больше допустимого (50000)");
  Network tooMany(4, {});
  tooMany.works = "100001";
  EXPECT_EQ(errorOf(m, tooMany), "Количество работ 100001 больше допустимого (100000)");
  tooMany.works = "2147483647";
  EXPECT_EQ(errorOf(m, tooMany), "Количество работ 2147483647 больше допустимого (100000)");
  EXPECT_EQ(errorOf(m, Network(4, {{"1", "2", "1", "1", "1"}, {"0", "2", "1", "1", "1"}})),
            "Строка 2: номер события 0 вне диапазона 1..4");
  EXPECT_EQ(errorOf(m, Network(4, {{"9", "7", "1", "1", "1"}})), "Строка 1: номер события 9 вне диапазона 1..4");
  EXPECT_EQ(errorOf(m, Network(4, {{"1", "5", "1", "1", "1"}})), "Строка 1: номер события 5 вне диапазона 1..4");
  EXPECT_EQ(errorOf(m, Network(4, {{"3", "3", "1", "1", "1"}})),
            "Строка 1: работа не может начинаться и кончаться в одном событии (3)");
  // A cell's message says where, before the runtime's text.
  struct Case {
    Network network;
    const char* message;
  };
  for (const Case& c : {
           Case{Network(4, {{"1", "2", "", "1", "1"}}), "Строка 1, столбец t: '' is not a valid floating point value"},
           Case{Network(4, {{"1", "2", "1", "1", "1"}, {"2", "3", "1", "", "1"}}),
                "Строка 2, столбец n: '' is not a valid integer value"},
           Case{Network(4, {{"x", "2", "1", "1", "1"}}), "Строка 1, столбец I: 'x' is not a valid integer value"},
           Case{Network(4, {{"1", ",", "1", "1", "1"}}), "Строка 1, столбец J: ',' is not a valid integer value"},
           Case{Network(4, {{"1", "2", "1", "1", "-"}}), "Строка 1, столбец Id: '-' is not a valid integer value"},
           Case{Network(4, {{"1", "2", "2.5", "1", "1"}}),
                "Строка 1, столбец t: '2.5' is not a valid floating point value"},
           Case{Network(4, {{"1", "2", "1e39", "1", "1"}}), "Строка 1, столбец t: Floating point overflow"},
       }) {
    EXPECT_EQ(errorOf(m, c.network), c.message);
  }
  Network badCount(4, {});
  badCount.events = "4 ";
  EXPECT_EQ(errorOf(m, badCount), "'4 ' is not a valid integer value");
}

// A failing row leaves the rows before it loaded and the failing row as far as it got.
TEST_F(LoadModelTest, StopsAtTheFailingCell) {
  errorOf(m, Network(4, {{"1", "2", "5", "3", "1"}, {"2", "3", "4", "x", "2"}}));
  EXPECT_EQ(m.cell(1, 2).Id, 1);
  EXPECT_EQ(m.cell(2, 3).Duration.value(), 4);
  EXPECT_EQ(m.cell(2, 3).Workers, 0);
}

TEST_F(LoadModelTest, CountsOfZeroOrLessLoadNoRow) {
  Network none(3, {{"1", "2", "5", "3", "1"}});
  none.works = "-2";
  LoadModel(m, none.input());
  EXPECT_EQ(m.WorkCount, -2);
  EXPECT_EQ(m.cell(1, 2).Id, 0);
}

// The run goes on as before (the later row of a pair stands); what the table gave reason
// to doubt is told, in one text.
TEST_F(LoadModelTest, WarnsOfReplacedRowsUnreachedEventsAndNegativeCounts) {
  struct Case {
    const char* what;
    Network network;
    std::vector<int> replacedRows;
    const char* text;
  };
  Network negative(3, {{"1", "2", "5", "3", "1"}});
  negative.works = "-2";
  Network lone(15, {{"1", "15", "1", "1", "1"}});
  const std::vector<Case> cases = {
      {"clean", Network(3, {{"1", "2", "1", "1", "1"}, {"2", "3", "1", "1", "2"}}), {}, ""},
      {"repeated pair", Network(3, {{"1", "2", "3", "1", "1"}, {"1", "2", "5", "2", "1"}, {"2", "3", "1", "1", "1"}}),
       {1},
       "Повтор пары событий, учтена последняя строка: строка 1 (1-2) заменена строкой 2"},
      {"reversed pair, twice",
       Network(3, {{"2", "3", "1", "1", "1"}, {"1", "2", "1", "1", "2"}, {"3", "2", "1", "1", "3"},
                   {"2", "3", "1", "1", "4"}}),
       {1, 3},
       "Повтор пары событий, учтена последняя строка: строка 1 (2-3) заменена строкой 3, строка 3 (3-2) заменена "
       "строкой 4"},
      {"last event unreached and an inner one", Network(4, {{"1", "2", "1", "1", "1"}}), {},
       "Последнее событие 4 не достигается ни одной работой\nСобытия без входящих работ: 3"},
      {"a work of Id 0 is none", Network(3, {{"1", "2", "1", "1", "1"}, {"2", "3", "1", "1", "0"}}), {},
       "Последнее событие 3 не достигается ни одной работой"},
      {"negative works count", negative, {},
       "Количество работ отрицательное: -2\nПоследнее событие 3 не достигается ни одной работой\n"
       "События без входящих работ: 2"},
      {"long list capped", lone, {}, "События без входящих работ: 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 …"},
  };
  for (const Case& c : cases) {
    LoadWarnings warnings;
    warnings.replaced.push_back({9, 9, 9, 9});  // a previous run's warnings go
    LoadModel(m, c.network.input(), &warnings);
    EXPECT_EQ(warnings.replacedRows(), c.replacedRows) << c.what;
    EXPECT_EQ(warnings.text(), c.text) << c.what;
  }
  Network events(3, {});
  events.events = "-1";
  LoadWarnings warnings;
  LoadModel(m, events.input(), &warnings);
  EXPECT_EQ(warnings.text(), "Количество событий отрицательное: -1");
}

}  // namespace
}  // namespace velko
