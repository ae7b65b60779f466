#include "report/print_report.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "model/command_error.h"
#include "model/number_text.h"

namespace velko {

namespace {

constexpr int kHeavy = -2;  // hundredths of an inch
constexpr int kLight = -1;
constexpr const char* kValueEnd = "    ";  // keeps the digits off the right rule

struct TableSpec {
  int k;
  double x;
  double width;
  TAlign headsAlign;
  int firstShade;
  std::vector<std::vector<const char*>> heads;  // rows of cells
};

const TableSpec kWorksTable{
    1, 45, 20, TAlign::Left, 1,
    {{"  ПОРЯД-", "  НОМЕР", "  НОМЕР", "  ПРОДОЛ-", "  КОЛИЧЕ-", "  ИДЕНТИ-"},
     {"  КОВЫЙ", "  НАЧАЛЬ-", "  КОНЕЧ-", "  ЖИТЕЛЬ-", "  СТВО", "  ФИКАТОР"},
     {"  НОМЕР", "  НОГО", "  НОГО", "  НОСТЬ", "  РАБОЧИХ", "  РАБОТЫ"},
     {"  РАБОТЫ", "  СОБЫТИЯ", "  СОБЫТИЯ", "  РАБОТЫ", "  ", "  "}}};

const TableSpec kEventsTable{
    2, 45, 30, TAlign::Centre, 1,
    {{"  НОМЕР", "  РАННИЙ СРОК", "  ПОЗДНИЙ СРОК", "  РЕЗЕРВ ВРЕМЕНИ"},
     {"  СОБЫТИЯ", "  СВЕРШЕНИЯ", "  СВЕРШЕНИЯ", "  СОБЫТИЯ"},
     {"  ", "  СОБЫТИЯ", "  СОБЫТИЯ", "  "}}};

const TableSpec kCriticalTable{
    3, 55, 20, TAlign::Left, 0,
    {{"  НОМЕР", "  НОМЕР", "  ПРОДОЛ-", "  КОЛИЧЕ-", "  ИДЕНТИ-"},
     {"  НАЧАЛЬ-", "  КОНЕЧ-", "  ЖИТЕЛЬ-", "  СТВО", "  ФИКАТОР"},
     {"  НОГО", "  НОГО", "  НОСТЬ", "  РАБОЧИХ", "  РАБОТЫ"},
     {"  СОБЫТИЯ", "  СОБЫТИЯ", "  РАБОТЫ", "  ", "  "}}};

// The heads say "ПОНЫЙ" as the program always has.
const TableSpec kFloatsTable{
    4, 60, 30, TAlign::Centre, 1,
    {{"НОМЕР", "ПОНЫЙ", "СВОБОДНЫЙ"}, {"РАБОТЫ", "РЕЗЕРВ", "РЕЗЕРВ"}, {"", "ВРЕМЕНИ", "ВРЕМЕНИ"}}};

const std::array<const char*, 4> kContinuationHeadings = {
    "Продолжение таблицы № 1", "Продолжение таблицы № 2", "Продолжение таблицы № 3",
    "Продолжение таблицы № 4"};

std::string integerText(std::int32_t value) { return std::to_string(value) + kValueEnd; }
std::string realText(StoredReal value) { return reportRealText(value) + kValueEnd; }

}  // namespace

std::string reportRealText(StoredReal value) {
  // First the fewest significant digits that read back as the same stored real, so a
  // typed 123456789,123 or 1e20 is printed as typed and not as its binary neighbour.
  const std::string scientific = shortestScientificText(value);
  const std::size_t e = scientific.find('e');
  double shortest = 0;
  std::from_chars(scientific.data(), scientific.data() + scientific.size(), shortest);
  if (std::fabs(shortest) >= 1e15) {
    // Whole at this size (40 bits end far above the point): those digits and zeros, since
    // the binary value's own expansion would print 1,6E38 as 1599999...
    int exponent = 0;
    const char* exponentText = scientific.data() + e + 1;
    if (*exponentText == '+') ++exponentText;
    std::from_chars(exponentText, scientific.data() + scientific.size(), exponent);
    std::string digits;
    for (std::size_t k = 0; k < e; ++k) {
      if (scientific[k] >= '0' && scientific[k] <= '9') digits += scientific[k];
    }
    const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() < integerDigits) digits.append(integerDigits - digits.size(), '0');
    return (shortest < 0 ? "-" : "") + digits;
  }
  char buffer[64];
  const std::to_chars_result end =
      std::to_chars(buffer, buffer + sizeof buffer, shortest, std::chars_format::fixed, 4);
  std::string text(buffer, end.ptr);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  if (text == "-0") return "0";
  if (const std::size_t point = text.find('.'); point != std::string::npos) text[point] = kDecimalSeparator;
  return text;
}

namespace {

void pageLabelBlock(TBaseReport& page) {
  page.UseFont(kReportFace, 8);
  page.SetAreaBottom(280);
  page.PrintRightInArea("Страница №" + std::to_string(page.GetPageNumber()) +
                        std::string(14, ' '));
  page.MoveToY(1.5);
  page.UseFont(kReportFace, 12);
  page.MarkAreaTop();
  page.GoToFirstLine();
}

void checkCount(std::int32_t count, int limit, const std::string& message) {
  if (count > limit) throw CommandError(message);
}

// Rows after a break are set in 12-point type (StartContinuationPage), the largest the
// rows of a table use.
constexpr double kRowPoints = 12;
constexpr double kHeadPoints = 9;

// The longer text of the smallest and the largest of rows 1..rows of a column.
template <typename Column>
std::string widestInteger(const Column& column, std::int32_t rows) {
  if (rows < 1) return {};
  std::int64_t low = column[1];
  std::int64_t high = column[1];
  for (int r = 2; r <= rows; ++r) {
    low = std::min<std::int64_t>(low, column[r]);
    high = std::max<std::int64_t>(high, column[r]);
  }
  const std::string a = std::to_string(low);
  const std::string b = std::to_string(high);
  return a.size() > b.size() ? a : b;
}

class ReportLayout {
 public:
  ReportLayout(TBaseReport& page, const TNetworkModel& model, std::int32_t limit,
               const TReportResume& from, const TPageStarts& starts)
      : page_(page), model_(model), limit_(limit), from_(from), starts_(starts),
        pending_(from.page > 1) {}

  void titleBlock(bool secondPart) {
    page_.SetAreaTop(0.1);
    page_.GoToFirstLine();
    page_.MoveToY(5);
    page_.UseFont(kReportFace, 11);
    page_.SetBold(true);
    page_.SetUnderline(false);
    page_.SetItalic(false);
    page_.NextLine();
    if (secondPart) {
      page_.PrintCentred("Данные расчета после оптимизации", centre());
      page_.NextLine();
      page_.NextLine();
    }
    page_.PrintCentred("ИСХОДНЫЕ ДАННЫЕ", centre());
    page_.UseFont(kReportFace, 5);
    page_.NextLine();
    page_.UseFont(kReportFace, 9);
    page_.MarkAreaTop();
    page_.GoToFirstLine();
  }

  // The second part's own page; false when a resumed run starts further into that part.
  bool startPart(int part) {
    const TReportResume start{0, part, -1, 0};
    if (pending_) {
      if (from_.part != part || from_.section != -1) return false;
      pending_ = false;
    }
    newPage(start, 0, nullptr, {});
    return true;
  }

  void body(int part, const TVariantResult& v, std::int32_t critCount, StoredReal length) {
    const std::int32_t works = model_.RunWorkCount;
    if (reaches(part, 0)) {
      const int row = lead(part, 0);
      table(kWorksTable, part, 0, works, row,
            {integerText(works), widestInteger(v.WorkI, works) + kValueEnd, widestInteger(v.WorkJ, works) + kValueEnd,
             "", widestInteger(v.WorkWorkers, works) + kValueEnd, widestInteger(v.WorkId, works) + kValueEnd},
            [&](int r) {
              return std::vector<std::string>{integerText(r), integerText(v.WorkI[r]),
                                              integerText(v.WorkJ[r]), realText(v.WorkDuration[r]),
                                              integerText(v.WorkWorkers[r]), integerText(v.WorkId[r])};
            });
    }

    const std::int32_t events = model_.RunEventCount;
    if (reaches(part, 1)) {
      const int row = lead(part, 1);
      if (row == 0) {
        page_.ClearColumns();
        page_.NextLine();
        page_.NextLine();
        sectionTitle("РАННИЕ И ПОЗДНИЕ СРОКИ НАСТУПЛЕНИЯ СОБЫТИЙ");
      }
      table(kEventsTable, part, 1, events, row, {widestInteger(v.EventNumber, events) + kValueEnd, "", "", ""},
            [&](int r) {
              return std::vector<std::string>{integerText(v.EventNumber[r]), realText(v.EventEarly[r]),
                                              realText(v.EventLate[r]), realText(v.EventReserve[r])};
            });
    }

    if (reaches(part, 2)) {
      const int row = lead(part, 2);
      if (row == 0) {
        page_.ClearColumns();
        page_.NextLine();
        page_.NextLine();
        sectionTitle("КРИТИЧЕСКИЙ ПУТЬ");
      }
      table(kCriticalTable, part, 2, critCount, row,
            {widestInteger(v.CritI, critCount) + kValueEnd, widestInteger(v.CritJ, critCount) + kValueEnd, "",
             widestInteger(v.CritWorkers, critCount) + kValueEnd, widestInteger(v.CritId, critCount) + kValueEnd},
            [&](int r) {
              return std::vector<std::string>{integerText(v.CritI[r]), integerText(v.CritJ[r]),
                                              realText(v.CritDuration[r]), integerText(v.CritWorkers[r]),
                                              integerText(v.CritId[r])};
            });

      page_.NextLine();
      page_.MoveToX(55);
      page_.PrintText("Длинна критического пути : " + realText(length));
      page_.NextLine();
    }

    if (reaches(part, 3)) {
      const int row = lead(part, 3);
      if (row == 0) {
        page_.ClearColumns();
        sectionTitle("ПОЛНЫЙ И СВОБОДНЫЙ РЕЗЕРВЫ ВРЕМЕНИ РАБОТ");
      }
      // The work's ordinal number as in the works table, with its events, so a row reads
      // without turning back to that table.
      const std::string widestWork =
          works < 1 ? std::string()
                    : std::to_string(works) + " (" + widestInteger(v.FloatI, works) + "-" +
                          widestInteger(v.FloatJ, works) + ")" + kValueEnd;
      table(kFloatsTable, part, 3, works, row, {widestWork, "", ""}, [&](int r) {
        return std::vector<std::string>{std::to_string(r) + " (" + std::to_string(v.FloatI[r]) + "-" +
                                            std::to_string(v.FloatJ[r]) + ")" + kValueEnd,
                                        realText(v.WorkTotalFloat[r]), realText(v.WorkFreeFloat[r])};
      });
    }
  }

 private:
  double centre() const { return page_.GetPageWidth() * 0.5; }

  // A resumed run skips what stands before its first page.
  bool reaches(int part, int section) const {
    return !pending_ || (from_.part == part && from_.section == section);
  }

  // The test before a section; returns the row a resumed run goes on from, or 0 when
  // the section starts with its title and heads.
  int lead(int part, int section) {
    if (pending_) {
      if (from_.row > 0) return from_.row;
      pending_ = false;
      newPage(from_, 0, nullptr, {});
      return 0;
    }
    pageBreakTest({0, part, section, 0}, 0, nullptr, {});
    return 0;
  }

  // Breaks before the line at the current baseline when it has passed the limit, or
  // when it would fall below the writing area, which a limit set lower on the page than
  // the paper allows would otherwise let rows run off the page unseen.
  void pageBreakTest(const TReportResume& at, int k, const TableSpec* t, const std::vector<double>& widths) {
    if (page_.GetDeviceY() > limit_ || page_.GetYPos() > page_.GetAreaBottom()) newPage(at, k, t, widths);
  }

  // A continuation page; a table's rows go on below its heads, as on its first page.
  void newPage(TReportResume at, int k, const TableSpec* t, const std::vector<double>& widths) {
    at.page = page_.GetPageNumber() + 1;
    if (starts_) starts_(at);
    StartContinuationPage(page_, k);
    if (t == nullptr) return;
    page_.UseFont(kReportFace, kHeadPoints);
    heads(*t, widths);
    page_.UseFont(kReportFace, kRowPoints);
    columns(*t, TAlign::Right, widths);
  }

  void sectionTitle(const char* title) {
    page_.UseFont(kReportFace, 12);
    page_.SetUnderline(false);
    page_.SetItalic(false);
    page_.PrintCentred(title, centre());
    page_.UseFont(kReportFace, 5);
    page_.NextLine();
    page_.UseFont(kReportFace, 9);
    page_.NextLine();
  }

  // An integer column whose widest value would not fit at the rows' largest type is
  // widened to whole millimetres for the whole table, while the page has room to its right; reals, which
  // may run to 39 digits, are set smaller instead.
  std::vector<double> widths(const TableSpec& t, const std::vector<std::string>& widest) const {
    std::vector<double> w(t.heads.front().size(), t.width);
    double room = page_.GetPageWidth() - t.x - t.width * static_cast<double>(w.size());
    for (std::size_t c = 0; c < w.size() && c < widest.size(); ++c) {
      if (widest[c].empty()) continue;
      const double extra = std::min(std::ceil(page_.TextWidth(widest[c], kRowPoints) - t.width - 1e-9), room);
      if (extra > 0) {
        w[c] += extra;
        room -= extra;
      }
    }
    return w;
  }

  void columns(const TableSpec& t, TAlign align, const std::vector<double>& widths) {
    page_.ClearColumns();
    page_.SetRulePen(kBlack, TPenStyle::Solid, 1, TPenMode::Copy);
    const std::size_t count = t.heads.front().size();
    for (std::size_t c = 0; c < count; ++c) {
      const unsigned box = c == 0 ? (BoxLeft | BoxTop) : (BoxLeft | BoxRight | BoxTop);
      page_.AddColumn(c == 0 ? std::optional<double>(t.x) : std::nullopt, align, widths[c], 0, box,
                      c == 0 ? t.firstShade : 0);
    }
  }

  void heads(const TableSpec& t, const std::vector<double>& widths) {
    columns(t, t.headsAlign, widths);
    for (std::size_t h = 0; h < t.heads.size(); ++h) {
      const bool first = h == 0;
      const bool last = h + 1 == t.heads.size();
      page_.SetBold(false);
      for (std::size_t c = 0; c < t.heads[h].size(); ++c) {
        page_.NextCell(c == 0 ? TSideWidth(kHeavy) : kColumnSide, kHeavy,
                       first ? kHeavy : 0, last ? TSideWidth(kHeavy) : kColumnSide);
        page_.PrintText(t.heads[h][c]);
      }
      page_.NextLine();
    }
  }

  // `resumeRow` 0: the table from its heads; else a resumed run going on from that row
  // on a page of its own.
  void table(const TableSpec& t, int part, int section, std::int32_t rows, int resumeRow,
             const std::vector<std::string>& widest,
             const std::function<std::vector<std::string>(int)>& values) {
    const std::vector<double> w = widths(t, widest);
    if (resumeRow == 0) heads(t, w);
    columns(t, TAlign::Right, w);
    for (int r = std::max(resumeRow, 1); r <= rows; ++r) {
      if (pending_) {
        pending_ = false;
        newPage(from_, t.k, &t, w);
      } else {
        pageBreakTest({0, part, section, r}, t.k, &t, w);
      }
      const std::vector<std::string> cells = values(r);
      for (std::size_t c = 0; c < cells.size(); ++c) {
        page_.NextCell(c == 0 ? TSideWidth(kLight) : kColumnSide, kLight, kLight, kLight);
        page_.PrintText(cells[c]);
      }
      page_.NextLine();
    }
  }

  TBaseReport& page_;
  const TNetworkModel& model_;
  const std::int32_t limit_;
  const TReportResume from_;
  const TPageStarts& starts_;
  bool pending_;  // a resumed run has not reached its first page yet
};

}  // namespace

void StartContinuationPage(TBaseReport& page, int k) {
  page.BeginNewPage();
  pageLabelBlock(page);
  page.NextLine();
  if (k < 1 || k > 4) {
    page.NextLine();
    return;
  }
  page.PrintCentred(kContinuationHeadings[static_cast<std::size_t>(k - 1)],
                    page.GetPageWidth() * 0.5);
  page.NextLine();
  page.NextLine();
}

std::int32_t ReportSystem1Print(TBaseReport& page, const TNetworkModel& model,
                                std::int32_t printHeight, std::int32_t previewZoom) {
  return ReportSystem1Print(page, model, printHeight, previewZoom, TReportResume{}, TPageStarts{});
}

std::int32_t ReportSystem1Print(TBaseReport& page, const TNetworkModel& model,
                                std::int32_t printHeight, std::int32_t previewZoom,
                                const TReportResume& from, const TPageStarts& pageStarts) {
  checkCount(model.RunWorkCount, kMaxWorks, tooManyWorks(model.RunWorkCount));
  checkCount(model.RunEventCount, kMaxEvents, tooManyEvents(model.RunEventCount));
  if (model.RunWorkCount > kMaxReportWorks) {
    throw CommandError("Печатный отчет строится для сетей до " + std::to_string(kMaxReportWorks) +
                       " работ, в этой сети " + std::to_string(model.RunWorkCount) +
                       ". Результаты расчета — в файле velko.rez.");
  }
  // Counts the recorded variants do not cover would stop the layout halfway.
  const std::string incomplete = "Результаты расчета неполны: выполните расчет заново";
  for (int v = 1; v <= (model.Optimised != 0 ? 2 : 1); ++v) {
    const TVariantResult& r = model.VariantResults[v];
    checkCount(model.RunWorkCount, std::min(r.WorkI.size(), r.FloatI.size()), incomplete);
    checkCount(model.RunEventCount, r.EventNumber.size(), incomplete);
    checkCount(v == 1 ? model.CritCountBefore : model.CritCountAfter, r.CritI.size(), incomplete);
  }

  ReportLayout layout(page, model, printHeight, from, pageStarts);
  if (from.page <= 1) {
    pageLabelBlock(page);
    layout.titleBlock(false);
  }
  if (from.page <= 1 || from.part == 1) {
    layout.body(1, model.VariantResults[1], model.CritCountBefore, model.LengthBefore);
  }
  if (model.Optimised != 0) {
    // The zoom the user chose holds for a report of both parts too.
    if (layout.startPart(2)) layout.titleBlock(true);
    layout.body(2, model.VariantResults[2], model.CritCountAfter, model.LengthAfter);
  }
  return previewZoom;
}

}  // namespace velko
