#include "results/results_file.h"

#include "data/file_io.h"
#include "data/text_codec.h"
#include "results/cell_format.h"

namespace velko {

namespace {

constexpr const char* kEol = "\r\n";

// Boxes of the four tables: top rule and the six lines of the ruled column head.
// The critical-path table shares the works table's box.
const char* const kWorksBox[] = {
    "---------------------------------------------------",
    "| НОМЕР   |  НОМЕР  | ПРОДОЛ- |  КОЛИЧЕ-| ИДЕНТИ- |",
    "| НАЧАЛЬ- |  КОНЕЧ- | ЖИТЕЛЬ- |  СТВО   | ФИКАТОР |",
    "| НОГО    |  НОГО   | НОСТЬ   | РАБОЧИХ | РАБОТЫ  |",
    "| СОБЫТИЯ | СОБЫТИЯ | РАБОТЫ  |         |         |",
    "|         |         |         |         |         |",
    "|---------+---------+---------+---------+---------|",
};

const char* const kEventsBox[] = {
    "-----------------------------------------",
    "|  НОМЕР  | РАННИЙ  | ПОЗДНИЙ | РЕЗЕРВ  |",
    "| СОБЫТИЯ | СРОК    | СРОК    | ВРЕМЯ   |",
    "|         | СВЕРШЕ- | СВЕРШЕ- | СОБЫТИЯ |",
    "|         | НИЯ     | НИЯ     |         |",
    "|         | СОБЫТИЯ | СОБЫТИЯ |         |",
    "|---------+---------+---------+---------|",
};

const char* const kFloatsBox[] = {
    "--------------------------------------------",
    "| НОМЕР   |  НОМЕР  | ПОЛНЫЙ   | СВОБОДНЫЙ |",
    "| НАЧАЛЬ- |  КОНЕЧ- | РЕЗЕРВ   | РЕЗЕРВ    |",
    "| НОГО    |  НОГО   | ВРЕМЕНИ  | ВРЕМЕНИ   |",
    "| СОБЫТИЯ | СОБЫТИЯ |          |           |",
    "|         |         |          |           |",
    "|---------+---------+----------+-----------|",
};

// Title lines keep the blanks on both sides.
constexpr const char* kWorksTitle = "               Параметры работ         ";
constexpr const char* kEventsTitle = "           Параметры событий     ";
constexpr const char* kCriticalTitle = "           Работы критического пути   ";
constexpr const char* kFloatsTitle = "              Резервы работ       ";

class Lines {
 public:
  void add(const std::string& line) { text_ += line + kEol; }
  void heading(const char* title, const char* const (&box)[7]) {
    add("");
    add(title);
    for (const char* line : box) add(line);
  }
  void rule(int width) { add(std::string(static_cast<std::size_t>(width), '-')); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// Works row and critical row: 51 characters.
std::string workRow(int i, int j, const std::string& duration, int workers, int id) {
  return "|" + blanks(6) + integerCell(i) + " |" + blanks(6) + integerCell(j) + " |" + blanks(4) +
         duration + " |" + blanks(6) + integerCell(workers) + " |" + blanks(6) + integerCell(id) + " |";
}

// Events row: 41 characters of the box and a trailing blank.
std::string eventRow(int number, Extended early, Extended late, Extended reserve) {
  return "|" + blanks(6) + integerCell(number) + " |" + blanks(4) + realCell(early) + " |" +
         blanks(4) + realCell(late) + " |" + blanks(4) + realCell(reserve) + " | ";
}

// Floats row: 44 characters of the box and a trailing blank.
std::string floatRow(int i, int j, Extended total, Extended free) {
  return "|" + blanks(6) + integerCell(i) + " |" + blanks(6) + integerCell(j) + " |" + blanks(5) +
         realCell(total) + " |" + blanks(6) + realCell(free) + " | ";
}

}  // namespace

std::string WriteVariantSection(const TNetworkModel& m, int variant) {
  const TVariantResult& v = m.VariantResults[variant];
  const int critCount = variant == 1 ? m.CritCountBefore : m.CritCountAfter;
  const Extended length = variant == 1 ? m.LengthBefore : m.LengthAfter;
  Lines out;

  out.heading(kWorksTitle, kWorksBox);
  int k = 1;
  for (int i = 1; i <= m.EventCount; ++i) {
    for (int j = i; j <= m.EventCount; ++j) {
      if (m.cell(i, j).Id == 0) continue;
      out.add(workRow(i, j, durationCell(v.WorkDuration[k]), v.WorkWorkers[k], v.WorkId[k]));
      ++k;
    }
  }
  out.rule(51);

  out.heading(kEventsTitle, kEventsBox);
  for (int e = 1; e <= m.EventCount; ++e) {
    out.add(eventRow(v.EventNumber[e], v.EventEarly[e], v.EventLate[e], v.EventReserve[e]));
  }
  out.rule(41);

  out.heading(kCriticalTitle, kWorksBox);
  for (int c = 1; c <= critCount; ++c) {
    out.add(workRow(v.CritI[c], v.CritJ[c], realCell(v.CritDuration[c]), v.CritWorkers[c], v.CritId[c]));
  }
  out.rule(51);
  out.add(blanks(6) + "Длина критического пути, дн = " + fixedText(length, 2));

  out.heading(kFloatsTitle, kFloatsBox);
  for (int w = 1; w <= m.WorkCount; ++w) {
    out.add(floatRow(v.FloatI[w], v.FloatJ[w], v.WorkTotalFloat[w], v.WorkFreeFloat[w]));
  }
  out.rule(44);
  return out.text();
}

std::string resultsText(const TNetworkModel& m, bool withOptimisation) {
  std::string text = WriteVariantSection(m, 1);
  if (withOptimisation) {
    text += std::string(kEol) + "     Результаты оптимизации" + kEol + std::string(31, '=') + kEol;
    text += WriteVariantSection(m, 2);
  }
  return text;
}

void WriteResultsFile(TNetworkModel& m, const std::string& fileName) {
  SafeFileWriter file(fileName);
  const bool withOptimisation = m.Optimised == 1;
  if (withOptimisation) m.Optimised = 0;
  file.write(utf8ToCp1251(resultsText(m, withOptimisation)));
  file.commit();
}

}  // namespace velko
