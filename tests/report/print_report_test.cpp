// The printed report's layout on a recording surface: the order of the calls, the fonts,
// the heads and rules, the value texts, and where the pages break.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/data_file.h"
#include "data/works_table.h"
#include "model/command_error.h"
#include "model/commands.h"
#include "model/number_text.h"
#include "filled_model.h"
#include "recording_report.h"
#include "report/print_report.h"

namespace velko::testing {
namespace {

const std::string kLabel1 = "Страница №1" + std::string(14, ' ');

// 1 -> 2 -> 4 is critical (3 + 14 = 17); 1 -> 3 -> 4 takes 2.5 + 0.1.
//   1 --3--> 2 --14--> 4
//   1 --2,5--> 3 --0,1--> 4
void calculateSmall(TNetworkModel& model, bool optimise = false) {
  WorksTable table;
  table.setRow(1, {"1", "2", "3", "1", "1"});
  table.setRow(2, {"1", "3", "2,5", "2", "1"});
  table.setRow(3, {"2", "4", "14", "3", "2"});
  table.setRow(4, {"3", "4", "0,1", "4", "2"});
  table.setRowCount(4);
  const TableInput input("4", "4", table);
  if (optimise) optimiseVariants(model, input);
  else calculateVariants(model, input);
}

// A model filled by hand: 100 works, 50 events, 50 critical works in both variants.
void fillLargeModel(TNetworkModel& model) { testing::fillModel(model, 100, 50, 50, 5); }

std::vector<std::string> slice(const std::vector<std::string>& calls, std::size_t from,
                               std::size_t count) {
  from = std::min(from, calls.size());
  return {calls.begin() + static_cast<long>(from),
          calls.begin() + static_cast<long>(std::min(calls.size(), from + count))};
}

std::size_t indexOf(const std::vector<std::string>& calls, const std::string& call,
                    std::size_t from = 0) {
  const auto it = std::find(calls.begin() + static_cast<long>(from), calls.end(), call);
  return static_cast<std::size_t>(it - calls.begin());
}

std::vector<const TPageText*> textsOf(const TReportPage& page) {
  std::vector<const TPageText*> texts;
  for (const TPageItem& item : page.items) {
    if (const auto* t = std::get_if<TPageText>(&item)) texts.push_back(t);
  }
  return texts;
}

bool hasText(const TReportPage& page, const std::string& text) {
  const auto texts = textsOf(page);
  return std::any_of(texts.begin(), texts.end(), [&](const TPageText* t) { return t->text == text; });
}

// Value cells end in four blanks; the length line too, but it starts with its words.
bool isValueCell(const TPageText& t) {
  return t.text.size() > 4 && t.text.ends_with("    ") && !t.text.starts_with("Длинна");
}

TEST(ReportLayout, FirstPageOpensWithLabelTitleAndWorksHeads) {
  TNetworkModel model;
  calculateSmall(model);
  RecordingReport page;
  ReportSystem1Print(page, model, 750, 120);

  const std::vector<std::string> expected = {
      "UseFont Times New Roman 8", "SetAreaBottom 280", "PrintRightInArea [" + kLabel1 + "]",
      "MoveToY 1.5", "UseFont Times New Roman 12", "MarkAreaTop", "GoToFirstLine",
      // title block of the first part
      "SetAreaTop 0.1", "GoToFirstLine", "MoveToY 5", "UseFont Times New Roman 11",
      "SetBold on", "SetUnderline off", "SetItalic off", "NextLine",
      "PrintCentred [ИСХОДНЫЕ ДАННЫЕ] 105", "UseFont Times New Roman 5", "NextLine",
      "UseFont Times New Roman 9", "MarkAreaTop", "GoToFirstLine",
      // works table heads: a heavy block, rules between columns from the boxes
      "ClearColumns", "SetRulePen 0 0 1", "AddColumn 45 left 20 0 box 5 shade 1",
      "AddColumn next left 20 0 box 7 shade 0", "AddColumn next left 20 0 box 7 shade 0",
      "AddColumn next left 20 0 box 7 shade 0", "AddColumn next left 20 0 box 7 shade 0",
      "AddColumn next left 20 0 box 7 shade 0", "SetBold off",
      "NextCell -2 -2 -2 own", "PrintText [  ПОРЯД-]", "NextCell own -2 -2 own", "PrintText [  НОМЕР]",
      "NextCell own -2 -2 own", "PrintText [  НОМЕР]", "NextCell own -2 -2 own", "PrintText [  ПРОДОЛ-]",
      "NextCell own -2 -2 own", "PrintText [  КОЛИЧЕ-]", "NextCell own -2 -2 own", "PrintText [  ИДЕНТИ-]",
      "NextLine", "SetBold off", "NextCell -2 -2 0 own", "PrintText [  КОВЫЙ]"};
  EXPECT_EQ(slice(page.calls, 0, expected.size()), expected);

  // The last head row closes the block; the value columns are right-aligned, and each
  // value row is a row of light boxes.
  const std::size_t lastHead = indexOf(page.calls, "NextCell -2 -2 0 -2");
  const std::vector<std::string> values = {
      "NextCell -2 -2 0 -2", "PrintText [  РАБОТЫ]", "NextCell own -2 0 -2", "PrintText [  СОБЫТИЯ]",
      "NextCell own -2 0 -2", "PrintText [  СОБЫТИЯ]", "NextCell own -2 0 -2", "PrintText [  РАБОТЫ]",
      "NextCell own -2 0 -2", "PrintText [  ]", "NextCell own -2 0 -2", "PrintText [  ]",
      "NextLine", "ClearColumns", "SetRulePen 0 0 1", "AddColumn 45 right 20 0 box 5 shade 1",
      "AddColumn next right 20 0 box 7 shade 0", "AddColumn next right 20 0 box 7 shade 0",
      "AddColumn next right 20 0 box 7 shade 0", "AddColumn next right 20 0 box 7 shade 0",
      "AddColumn next right 20 0 box 7 shade 0", "NextCell -1 -1 -1 -1", "PrintText [1    ]",
      "NextCell own -1 -1 -1", "PrintText [1    ]", "NextCell own -1 -1 -1", "PrintText [2    ]",
      "NextCell own -1 -1 -1", "PrintText [3    ]"};
  EXPECT_EQ(slice(page.calls, lastHead, values.size()), values);
}

TEST(ReportLayout, EachTableHasItsColumnsHeadsAndShades) {
  TNetworkModel model;
  calculateSmall(model);
  RecordingReport page;
  ReportSystem1Print(page, model, 750, 120);
  const auto& c = page.calls;

  const std::size_t events = indexOf(c, "PrintCentred [РАННИЕ И ПОЗДНИЕ СРОКИ НАСТУПЛЕНИЯ СОБЫТИЙ] 105");
  const std::vector<std::string> eventsOpen = {
      "UseFont Times New Roman 5", "NextLine", "UseFont Times New Roman 9", "NextLine",
      "ClearColumns", "SetRulePen 0 0 1", "AddColumn 45 centre 30 0 box 5 shade 1",
      "AddColumn next centre 30 0 box 7 shade 0", "AddColumn next centre 30 0 box 7 shade 0",
      "AddColumn next centre 30 0 box 7 shade 0", "SetBold off", "NextCell -2 -2 -2 own",
      "PrintText [  НОМЕР]", "NextCell own -2 -2 own", "PrintText [  РАННИЙ СРОК]"};
  EXPECT_EQ(slice(c, events + 1, eventsOpen.size()), eventsOpen);
  // Section titles are set in plain 12-point type after two empty lines.
  EXPECT_EQ(slice(c, events - 6, 6),
            (std::vector<std::string>{"ClearColumns", "NextLine", "NextLine",
                                      "UseFont Times New Roman 12", "SetUnderline off", "SetItalic off"}));

  const std::size_t critical = indexOf(c, "PrintCentred [КРИТИЧЕСКИЙ ПУТЬ] 105");
  EXPECT_EQ(slice(c, critical + 7, 5),
            (std::vector<std::string>{"AddColumn 55 left 20 0 box 5 shade 0",
                                      "AddColumn next left 20 0 box 7 shade 0",
                                      "AddColumn next left 20 0 box 7 shade 0",
                                      "AddColumn next left 20 0 box 7 shade 0",
                                      "AddColumn next left 20 0 box 7 shade 0"}));

  const std::size_t floats = indexOf(c, "PrintCentred [ПОЛНЫЙ И СВОБОДНЫЙ РЕЗЕРВЫ ВРЕМЕНИ РАБОТ] 105");
  // Only the line ended after the length line stands before this title.
  EXPECT_EQ(slice(c, floats - 6, 6),
            (std::vector<std::string>{"PrintText [Длинна критического пути : 17    ]", "NextLine",
                                      "ClearColumns", "UseFont Times New Roman 12",
                                      "SetUnderline off", "SetItalic off"}));
  const std::vector<std::string> floatsHeads = {
      "AddColumn 60 centre 30 0 box 5 shade 1", "AddColumn next centre 30 0 box 7 shade 0",
      "AddColumn next centre 30 0 box 7 shade 0", "SetBold off", "NextCell -2 -2 -2 own",
      "PrintText [НОМЕР]", "NextCell own -2 -2 own", "PrintText [ПОНЫЙ]", "NextCell own -2 -2 own",
      "PrintText [СВОБОДНЫЙ]", "NextLine", "SetBold off", "NextCell -2 -2 0 own", "PrintText [РАБОТЫ]",
      "NextCell own -2 0 own", "PrintText [РЕЗЕРВ]", "NextCell own -2 0 own", "PrintText [РЕЗЕРВ]",
      "NextLine", "SetBold off", "NextCell -2 -2 0 -2", "PrintText []", "NextCell own -2 0 -2",
      "PrintText [ВРЕМЕНИ]"};
  EXPECT_EQ(slice(c, floats + 7, floatsHeads.size()), floatsHeads);
}

TEST(ReportLayout, ValuesAreShortestDecimalTextsWithTheComma) {
  TNetworkModel model;
  calculateSmall(model);
  RecordingReport page;
  ReportSystem1Print(page, model, 750, 120);
  const auto& c = page.calls;
  auto has = [&](const std::string& call) { return indexOf(c, call) < c.size(); };

  EXPECT_TRUE(has("PrintText [2,5    ]"));   // works row 2
  EXPECT_TRUE(has("PrintText [0,1    ]"));   // not the 40-bit residue of 0.1
  EXPECT_TRUE(has("PrintText [14,4    ]"));  // reserve of event 3: 16,9 - 2,5
  EXPECT_TRUE(has("PrintText [16,9    ]"));
  EXPECT_TRUE(has("PrintText [Длинна критического пути : 17    ]"));
  // The floats rows name the work by its number in the works table and its events.
  EXPECT_TRUE(has("PrintText [3 (2-4)    ]"));
  EXPECT_TRUE(has("PrintText [4 (3-4)    ]"));
  const std::size_t length = indexOf(c, "PrintText [Длинна критического пути : 17    ]");
  EXPECT_EQ(slice(c, length - 2, 2), (std::vector<std::string>{"NextLine", "MoveToX 55"}));
}

// After "Оптимизация" the model holds rounding residues; printed in the general format
// they came out as "1,16415321826935E-10" and "47,0909090909408" in shrunken type.
TEST(ReportLayout, RealsHaveAtMostFourDecimalsAndNeverAnExponent) {
  struct Case {
    Extended value;
    const char* text;
  };
  for (const Case& c : {Case{17, "17"}, Case{2.5L, "2,5"}, Case{0.1L, "0,1"}, Case{1.16415321826935e-10L, "0"},
                        Case{-1.16415321826935e-10L, "0"}, Case{47.0909090909408L, "47,0909"},
                        Case{-2.25L, "-2,25"}, Case{2.99996L, "3"}, Case{0.00016L, "0,0002"},
                        Case{123456789.123L, "123456789,123"}, Case{1e20L, "100000000000000000000"},
                        Case{1.6e38L, "160000000000000000000000000000000000000"}, Case{-3e37L, "-30000000000000000000000000000000000000"}}) {
    EXPECT_EQ(reportRealText(c.value), c.text) << static_cast<double>(c.value);
  }
}

TEST(ReportLayout, CountsOfZeroPrintHeadsOnly) {
  TNetworkModel model;  // nothing calculated: every count 0
  RecordingReport page;
  ReportSystem1Print(page, model, 750, 120);
  const auto& c = page.calls;
  ASSERT_EQ(page.pages().pages.size(), 1u);
  EXPECT_EQ(std::count_if(c.begin(), c.end(), [](const std::string& s) { return s.starts_with("NextCell -1"); }), 0);

  // Table 3's heads are followed by the value columns, then at once by the length line.
  const std::size_t length = indexOf(c, "PrintText [Длинна критического пути : 0    ]");
  ASSERT_LT(length, c.size());
  EXPECT_EQ(slice(c, length - 9, 9),
            (std::vector<std::string>{"ClearColumns", "SetRulePen 0 0 1",
                                      "AddColumn 55 right 20 0 box 5 shade 0",
                                      "AddColumn next right 20 0 box 7 shade 0",
                                      "AddColumn next right 20 0 box 7 shade 0",
                                      "AddColumn next right 20 0 box 7 shade 0",
                                      "AddColumn next right 20 0 box 7 shade 0", "NextLine", "MoveToX 55"}));
  // The run ends with the value columns of the empty floats table.
  EXPECT_EQ(c.back(), "AddColumn next right 30 0 box 7 shade 0");
}

// The table's counts change after a run (a row inserted, a change undone); the report
// shows the run as it was.
TEST(ReportLayout, CountsChangedAfterTheRunLeaveTheReportAsItWas) {
  TNetworkModel model;
  calculateSmall(model);
  RecordingReport before;
  ReportSystem1Print(before, model, 750, 120);
  model.WorkCount = 7;
  model.EventCount = 2;
  RecordingReport after;
  ReportSystem1Print(after, model, 750, 120);
  EXPECT_EQ(after.calls, before.calls);
}

// The preview opened at 120 % after an optimisation whatever the option said.
TEST(ReportLayout, SecondPartStartsOnAPageOfItsOwnAndKeepsTheZoom) {
  TNetworkModel model;
  calculateSmall(model, true);
  ASSERT_EQ(model.Optimised, 1);
  RecordingReport page;
  EXPECT_EQ(ReportSystem1Print(page, model, 750, 35), 35);

  const auto& pages = page.pages().pages;
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_TRUE(hasText(pages[1], "Данные расчета после оптимизации"));
  EXPECT_TRUE(hasText(pages[1], "Страница №2" + std::string(14, ' ')));
  EXPECT_FALSE(hasText(pages[0], "Данные расчета после оптимизации"));

  const auto& c = page.calls;
  const std::size_t newPage = indexOf(c, "BeginNewPage");
  const std::vector<std::string> expected = {
      "BeginNewPage", "UseFont Times New Roman 8", "SetAreaBottom 280",
      "PrintRightInArea [Страница №2              ]", "MoveToY 1.5", "UseFont Times New Roman 12",
      "MarkAreaTop", "GoToFirstLine", "NextLine", "NextLine", "SetAreaTop 0.1", "GoToFirstLine",
      "MoveToY 5", "UseFont Times New Roman 11", "SetBold on", "SetUnderline off", "SetItalic off",
      "NextLine", "PrintCentred [Данные расчета после оптимизации] 105", "NextLine", "NextLine",
      "PrintCentred [ИСХОДНЫЕ ДАННЫЕ] 105", "UseFont Times New Roman 5"};
  EXPECT_EQ(slice(c, newPage, expected.size()), expected);
  // The page before it ends with the last floats row of the first part.
  EXPECT_EQ(c[newPage - 1], "NextLine");
  EXPECT_EQ(c[newPage - 2], "PrintText [14,4    ]");  // free float of work 3-4: 17 - 2,5 - 0,1

  TNetworkModel plain;
  calculateSmall(plain);
  RecordingReport single;
  EXPECT_EQ(ReportSystem1Print(single, plain, 750, 35), 35);  // the preview clamps, not the layout
  EXPECT_EQ(single.pages().pages.size(), 1u);
}

TEST(ReportLayout, LongTablesGoOnUnderContinuationHeadingsAndTheirHeads) {
  TNetworkModel model;
  fillLargeModel(model);
  RecordingReport page;
  ReportSystem1Print(page, model, 750, 120);
  const auto& pages = page.pages().pages;
  ASSERT_GT(pages.size(), 8u);

  int headingsSeen[5] = {};
  // Each table's heads: the first text and the number of cells, as on its first page.
  const std::pair<const char*, std::size_t> heads[5] = {{}, {"  ПОРЯД-", 24}, {"  НОМЕР", 12}, {"  НОМЕР", 20}, {"НОМЕР", 8}};  // an empty head cell draws no text
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const auto texts = textsOf(pages[p]);
    ASSERT_FALSE(texts.empty());
    // Every page opens with its label, flush right.
    EXPECT_EQ(texts[0]->text, "Страница №" + std::to_string(p + 1) + std::string(14, ' '));
    EXPECT_NEAR(texts[0]->x + 0.2 * 8 * static_cast<double>(characters(texts[0]->text)), 210, 1e-9);
    double lastText = 0;
    for (const TPageText* t : texts) {
      lastText = std::max(lastText, t->baseline);
      if (!isValueCell(*t)) continue;
      // A row is printed only while its baseline has not passed 750 dots.
      EXPECT_LE(std::lround(t->baseline * 96 / 25.4), 750) << "page " << p + 1 << ": " << t->text;
    }
    if (p > 0 && texts.size() > 1 && texts[1]->text.starts_with("Продолжение таблицы № ")) {
      const int k = texts[1]->text.back() - '0';
      ++headingsSeen[k];
      EXPECT_EQ(texts[1]->font.points, 12);
      EXPECT_FALSE(texts[1]->font.bold);
      // The table's heads in 9-point type, then its rows go on in 12-point type.
      const std::size_t cells = heads[k].second;
      ASSERT_GT(texts.size(), 2 + cells);
      EXPECT_EQ(texts[2]->text, heads[k].first);
      for (std::size_t h = 2; h < 2 + cells; ++h) {
        EXPECT_EQ(texts[h]->font.points, 9) << texts[h]->text;
        EXPECT_FALSE(isValueCell(*texts[h])) << texts[h]->text;
      }
      EXPECT_TRUE(isValueCell(*texts[2 + cells])) << texts[2 + cells]->text;
      double largest = 0;  // a cell too wide for its column is set smaller
      for (const TPageText* t : texts) {
        if (isValueCell(*t)) largest = std::max(largest, t->font.points);
      }
      EXPECT_EQ(largest, 12);
    }
    // The break came with the first line whose baseline passed the limit.
    if (p + 1 < pages.size()) {
      const auto next = textsOf(pages[p + 1]);
      if (next.size() > 1 && next[1]->text.starts_with("Продолжение")) {
        EXPECT_GT(std::lround((lastText + lineHeightMm(9)) * 96 / 25.4), 750) << "page " << p + 1;
      }
    }
  }
  for (int k = 1; k <= 4; ++k) EXPECT_GE(headingsSeen[k], 1) << "table " << k;
  // Page 12 carries its two-digit label.
  EXPECT_TRUE(hasText(pages[11], "Страница №12" + std::string(14, ' ')));
}

TEST(ReportLayout, PageBreakTestsStandWhereTheLayoutSaysAndNowhereElse) {
  // With a limit of 0 every test breaks the page, so the pages count the tests: per part
  // one after the title block, one per row of each table, one after tables 1 and 2 and
  // one after the length line; the second part adds the page it starts on.
  TNetworkModel model;
  calculateSmall(model, true);
  ASSERT_EQ(model.CritCountBefore, 2);
  RecordingReport page;
  ReportSystem1Print(page, model, 0, 120);
  const int testsPerPart = 1 + 4 + 1 + 4 + 1 + model.CritCountBefore + 1 + 4;
  const int testsSecond = 1 + 4 + 1 + 4 + 1 + model.CritCountAfter + 1 + 4;
  EXPECT_EQ(page.pages().pages.size(), static_cast<std::size_t>(1 + testsPerPart + 1 + testsSecond));
  for (const TReportPage& p : page.pages().pages) {
    const auto texts = textsOf(p);
    EXPECT_LE(std::count_if(texts.begin(), texts.end(),
                            [](const TPageText* t) { return t->text.find('(') != std::string::npos && isValueCell(*t); }),
              1);
  }
}

TEST(ReportLayout, RowsNeverRunBelowTheWritingAreaWhateverTheLimit) {
  TNetworkModel model;
  fillLargeModel(model);
  RecordingReport page;
  ReportSystem1Print(page, model, 100000, 120);  // far below the paper's end
  ASSERT_GT(page.pages().pages.size(), 2u);
  for (const TReportPage& p : page.pages().pages) {
    for (const TPageText* t : textsOf(p)) {
      if (isValueCell(*t)) {
        EXPECT_LE(t->baseline, 280) << t->text;
      }
    }
  }
}

TEST(ReportLayout, CountsBeyondTheTablesAreRefusedBeforeDrawing) {
  TNetworkModel model;
  fillLargeModel(model);
  model.RunWorkCount = 101;
  RecordingReport page;
  EXPECT_THROW(ReportSystem1Print(page, model, 750, 120), CommandError);
  EXPECT_TRUE(page.calls.empty());

  model.RunWorkCount = 100;
  model.CritCountAfter = 101;
  try {
    ReportSystem1Print(page, model, 750, 120);
    FAIL() << "a critical path of 101 works was laid out from 100 recorded";
  } catch (const CommandError& error) {
    EXPECT_STREQ(error.what(), "Результаты расчета неполны: выполните расчет заново");
  }
  EXPECT_TRUE(page.calls.empty());
}

TEST(ReportLayout, NetworkFromADataFileLaysOutBothParts) {
  TNetworkModel model;
  WorksTable table;
  ReadDataFile(model, VELKO_TEST_DATA "/network20.dat", table);
  const TableInput input(std::to_string(model.EventCount), std::to_string(model.WorkCount), table);
  optimiseVariants(model, input);
  RecordingReport page;
  ReportSystem1Print(page, model, 750, 120);
  const auto& pages = page.pages().pages;
  // Each part fills three pages: 31 works and 20 events pass 198 mm in the events
  // table, and the floats table passes it again on the next page.
  ASSERT_EQ(pages.size(), 6u);
  EXPECT_TRUE(hasText(pages[1], "Продолжение таблицы № 2"));
  EXPECT_TRUE(hasText(pages[2], "Продолжение таблицы № 4"));
  EXPECT_TRUE(hasText(pages[3], "Данные расчета после оптимизации"));
  EXPECT_TRUE(hasText(pages[4], "Продолжение таблицы № 2"));
  EXPECT_TRUE(hasText(pages[5], "Продолжение таблицы № 4"));
  EXPECT_TRUE(hasText(pages[1], "Длинна критического пути : " +
                                    reportRealText(model.LengthBefore) + "    "));
}

}  // namespace
}  // namespace velko::testing

namespace velko::testing {
namespace {

bool samePage(const TReportPage& a, const TReportPage& b) {
  if (a.items.size() != b.items.size()) return false;
  for (std::size_t i = 0; i < a.items.size(); ++i) {
    const TPageItem& x = a.items[i];
    const TPageItem& y = b.items[i];
    if (x.index() != y.index()) return false;
    if (const auto* t = std::get_if<TPageText>(&x)) {
      const auto& u = std::get<TPageText>(y);
      if (t->text != u.text || t->x != u.x || t->baseline != u.baseline || !(t->font == u.font)) return false;
    } else if (const auto* l = std::get_if<TPageLine>(&x)) {
      const auto& m = std::get<TPageLine>(y);
      if (l->x1 != m.x1 || l->y1 != m.y1 || l->x2 != m.x2 || l->y2 != m.y2 || l->width != m.width) return false;
    }
  }
  return true;
}

// The preview and the printing lay a page out again from where it began: every page so
// made, in both parts and at every kind of break, is the page of the whole run, and the
// pages a sink receives are those the surface would have kept.
TEST(ReportResume, EveryPageLaidOutFromItsStartIsThePageOfTheWholeRun) {
  TNetworkModel model;
  fillLargeModel(model);
  for (const int limit : {750, 0}) {
    const FixedMeasure measure;
    TPageSurface whole(measure, 210, 297, 96);
    ReportSystem1Print(whole, model, limit, 120);
    const auto& pages = whole.pages().pages;

    std::vector<TReportResume> starts{TReportResume{}};
    std::vector<TReportPage> sunk;
    TPageSurface streamed(measure, 210, 297, 96);
    streamed.SetPageSink([&](TReportPage&& page, int number) {
      EXPECT_EQ(number, static_cast<int>(sunk.size()) + 1);
      sunk.push_back(std::move(page));
    });
    ReportSystem1Print(streamed, model, limit, 120, TReportResume{},
                       [&](const TReportResume& at) { starts.push_back(at); });
    streamed.Finish();
    ASSERT_EQ(sunk.size(), pages.size());
    ASSERT_EQ(starts.size(), pages.size());

    for (std::size_t p = 0; p < pages.size(); ++p) {
      EXPECT_TRUE(samePage(sunk[p], pages[p])) << "page " << p + 1;
      ASSERT_EQ(starts[p].page, static_cast<int>(p + 1));
      TPageSurface again(measure, 210, 297, 96);
      if (p > 0) again.SetPageNumber(starts[p].page - 1);
      std::vector<TReportPage> one;
      struct Stop {};
      again.SetPageSink([&](TReportPage&& page, int number) {
        if (number == starts[p].page) {
          one.push_back(std::move(page));
          throw Stop{};
        }
      });
      try {
        ReportSystem1Print(again, model, limit, 120, starts[p], {});
        again.Finish();
      } catch (const Stop&) {
      }
      ASSERT_EQ(one.size(), 1u) << "page " << p + 1;
      EXPECT_TRUE(samePage(one[0], pages[p])) << "page " << p + 1 << " from part " << starts[p].part << " section "
                                              << starts[p].section << " row " << starts[p].row;
    }
  }
}

// Numbers of six digits (100000 works, events up to 50000) in 12-point continuation rows
// are wider than a 20 mm column: the column widens for the whole table, heads too, and
// the values keep their size.
TEST(ReportLayout, IntegersWiderThanTheirColumnWidenItForTheWholeTable) {
  TNetworkModel model;
  fillLargeModel(model);
  for (int k = 1; k <= 100; ++k) model.VariantResults[1].WorkI[k] = 100000 + k;  // 10 characters: 24 mm
  RecordingReport page;
  ReportSystem1Print(page, model, 750, 120);
  const auto& c = page.calls;
  const auto count = [&](const std::string& call) { return std::count(c.begin(), c.end(), call); };
  // Heads and values of table 1 in both parts' first pages and on every continuation page.
  EXPECT_GE(count("AddColumn next left 24 0 box 7 shade 0"), 2);
  EXPECT_EQ(count("AddColumn next left 24 0 box 7 shade 0"), count("AddColumn next right 24 0 box 7 shade 0"));
  for (const TReportPage& p : page.pages().pages) {
    for (const TPageText* t : textsOf(p)) {
      if (t->text.starts_with("1000")) {
        EXPECT_TRUE(t->font.points == 9 || t->font.points == 12) << t->text;
      }
    }
  }
}

}  // namespace
}  // namespace velko::testing
