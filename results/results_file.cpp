#include "results/results_file.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <vector>

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

// Integer cells are right-aligned in a field of eight characters, as two-digit values
// always stood; a value longer than that widens its column (and the column's head and
// rules) for the whole file, so every row stays in line with its head.
constexpr int kIntegerField = 8;

// The widths of the integer fields of one file: event numbers (I, J and the events'
// own), workers and identifiers.
struct IntegerFields {
  int events = kIntegerField;
  int workers = kIntegerField;
  int ids = kIntegerField;
};

int digitsOf(std::int64_t value) {
  int digits = value < 0 ? 2 : 1;
  for (std::int64_t rest = value < 0 ? -value : value; rest >= 10; rest /= 10) ++digits;
  return digits;
}

void widen(int& field, std::int32_t value) { field = std::max(field, digitsOf(value)); }

void widenFor(IntegerFields& f, const TVariantResult& v, int critCount, int floatRows) {
  for (int k = 1; k <= v.WorkEntries; ++k) {
    widen(f.events, v.WorkI[k]);
    widen(f.events, v.WorkJ[k]);
    widen(f.workers, v.WorkWorkers[k]);
    widen(f.ids, v.WorkId[k]);
  }
  for (int e = 1; e <= v.EventNumber.size(); ++e) widen(f.events, v.EventNumber[e]);
  for (int c = 1; c <= critCount; ++c) {
    widen(f.events, v.CritI[c]);
    widen(f.events, v.CritJ[c]);
    widen(f.workers, v.CritWorkers[c]);
    widen(f.ids, v.CritId[c]);
  }
  for (int w = 1; w <= std::min(floatRows, v.FloatI.size()); ++w) {
    widen(f.events, v.FloatI[w]);
    widen(f.events, v.FloatJ[w]);
  }
}

// A box with its columns widened by `extra` characters each: spaces before the
// column's right border in the head, dashes in the rules.
std::vector<std::string> widenedBox(const char* const (&box)[7], const std::vector<int>& extra) {
  std::vector<std::string> lines(std::begin(box), std::end(box));
  int total = 0;
  for (const int x : extra) total += x;
  if (total == 0) return lines;
  lines[0].append(static_cast<std::size_t>(total), '-');
  for (std::size_t l = 1; l < lines.size(); ++l) {
    const bool rule = l + 1 == lines.size();
    std::vector<std::size_t> borders;
    for (std::size_t p = 0; p < lines[l].size(); ++p) {
      if (lines[l][p] == '|' || (rule && lines[l][p] == '+')) borders.push_back(p);
    }
    for (std::size_t c = extra.size(); c-- > 0;) {
      if (extra[c] > 0 && c + 1 < borders.size()) {
        lines[l].insert(borders[c + 1], static_cast<std::size_t>(extra[c]), rule ? '-' : ' ');
      }
    }
  }
  return lines;
}

class Lines {
 public:
  void add(std::string_view line) {
    text_.append(line);
    text_.append(kEol);
  }
  void heading(const char* title, const std::vector<std::string>& box) {
    add("");
    add(title);
    for (const std::string& line : box) add(line);
  }
  void rule(int width) { add(std::string(static_cast<std::size_t>(width), '-')); }
  std::string& text() { return text_; }

 private:
  std::string text_;
};

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// The value right-aligned in `field` characters; two-digit values as "%2d" gave them.
std::string integerField(std::int32_t value, int field) {
  std::string digits = std::to_string(value);
  return blanks(field - static_cast<int>(digits.size())) + digits;
}

// Works row and critical row: 51 characters at the usual widths.
std::string workRow(const IntegerFields& f, int i, int j, const std::string& duration, int workers, int id) {
  return "|" + integerField(i, f.events) + " |" + integerField(j, f.events) + " |" + blanks(4) + duration + " |" +
         integerField(workers, f.workers) + " |" + integerField(id, f.ids) + " |";
}

// Events row: 41 characters of the box and a trailing blank.
std::string eventRow(const IntegerFields& f, int number, Extended early, Extended late, Extended reserve) {
  return "|" + integerField(number, f.events) + " |" + blanks(4) + realCell(early) + " |" + blanks(4) +
         realCell(late) + " |" + blanks(4) + realCell(reserve) + " | ";
}

// Floats row: 44 characters of the box and a trailing blank.
std::string floatRow(const IntegerFields& f, int i, int j, Extended total, Extended free) {
  return "|" + integerField(i, f.events) + " |" + integerField(j, f.events) + " |" + blanks(5) + realCell(total) +
         " |" + blanks(6) + realCell(free) + " | ";
}

IntegerFields fieldsOf(const TNetworkModel& m, bool withOptimisation) {
  IntegerFields f;
  widenFor(f, m.VariantResults[1], m.CritCountBefore, m.WorkCount);
  if (withOptimisation) widenFor(f, m.VariantResults[2], m.CritCountAfter, m.WorkCount);
  return f;
}

std::string variantSection(const TNetworkModel& m, int variant, const IntegerFields& f) {
  const TVariantResult& v = m.VariantResults[variant];
  const int critCount = variant == 1 ? m.CritCountBefore : m.CritCountAfter;
  const Extended length = variant == 1 ? m.LengthBefore : m.LengthAfter;
  const int e = f.events - kIntegerField;
  const int n = f.workers - kIntegerField;
  const int id = f.ids - kIntegerField;
  const std::vector<std::string> worksBox = widenedBox(kWorksBox, {e, e, 0, n, id});
  Lines out;

  out.heading(kWorksTitle, worksBox);
  for (int k = 1; k <= v.WorkEntries; ++k) {
    out.add(workRow(f, v.WorkI[k], v.WorkJ[k], durationCell(v.WorkDuration[k]), v.WorkWorkers[k], v.WorkId[k]));
  }
  out.rule(51 + 2 * e + n + id);

  out.heading(kEventsTitle, widenedBox(kEventsBox, {e}));
  for (int k = 1; k <= m.EventCount; ++k) {
    out.add(eventRow(f, v.EventNumber[k], v.EventEarly[k], v.EventLate[k], v.EventReserve[k]));
  }
  out.rule(41 + e);

  out.heading(kCriticalTitle, worksBox);
  for (int c = 1; c <= critCount; ++c) {
    out.add(workRow(f, v.CritI[c], v.CritJ[c], realCell(v.CritDuration[c]), v.CritWorkers[c], v.CritId[c]));
  }
  out.rule(51 + 2 * e + n + id);
  out.add(blanks(6) + "Длина критического пути, дн = " + fixedText(length, 2));

  out.heading(kFloatsTitle, widenedBox(kFloatsBox, {e, e}));
  for (int w = 1; w <= m.WorkCount; ++w) {
    out.add(floatRow(f, v.FloatI[w], v.FloatJ[w], v.WorkTotalFloat[w], v.WorkFreeFloat[w]));
  }
  out.rule(44 + 2 * e);
  return std::move(out.text());
}

}  // namespace

std::string WriteVariantSection(const TNetworkModel& m, int variant) {
  return variantSection(m, variant, fieldsOf(m, variant == 2));
}

std::string resultsText(const TNetworkModel& m, bool withOptimisation) {
  const IntegerFields fields = fieldsOf(m, withOptimisation);
  std::string text = variantSection(m, 1, fields);
  if (withOptimisation) {
    text += std::string(kEol) + "     Результаты оптимизации" + kEol + std::string(31, '=') + kEol;
    text += variantSection(m, 2, fields);
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
