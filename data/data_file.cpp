#include "data/data_file.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "data/file_io.h"
#include "data/work_names.h"
#include "data/text_codec.h"
#include "model/command_error.h"
#include "model/number_text.h"

namespace velko {

namespace {

// A line of the largest work (five-digit events, an Id and workers of ten digits and a
// long duration) is under 80 bytes: 100,000 of them fit twice over.
constexpr std::size_t kMaxDataFileBytes = std::size_t{16} << 20;
// The notice lists this many fields that did not read fully, then counts the rest.
constexpr std::size_t kUnreadFieldsListed = 10;

struct WorkLine {
  int line = 0;  // in the file, from 1
  std::int32_t I = 0;
  std::int32_t J = 0;
  StoredReal Duration;
  std::int32_t Workers = 0;
  std::int32_t Id = 0;
};

// Views into `bytes`, which outlives them: a file of 100,000 lines is not copied again.
std::vector<std::string_view> splitLines(const std::string& bytes) {
  std::vector<std::string_view> lines;
  const std::string_view all(bytes);
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t end = all.find('\n', start);
    if (end == std::string_view::npos) end = all.size();
    std::string_view line = all.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// Takes the text before the next comma and drops it with the comma; with no comma
// left the field is empty and the rest stays for the following fields.
std::string_view takeField(std::string_view& rest) {
  const std::size_t comma = rest.find(',');
  if (comma == std::string_view::npos) return {};
  const std::string_view field = rest.substr(0, comma);
  rest.remove_prefix(comma + 1);
  return field;
}

// The fields in the order of the table's columns, for the notice.
constexpr const char* kFieldNames[kWorksColumns] = {"I", "J", "t", "n", "Id"};

// A field whose text was not all a number: the reader's value stands, and the user is
// told what it became.
struct UnreadField {
  int line = 0;  // 1-based line of the file
  int column = 0;
  std::string value;
};

template <typename T>
T take(const LenientReading<T>& reading, int line, int column, std::vector<UnreadField>& unread) {
  if (!reading.whole) {
    std::string value;
    if constexpr (std::is_same_v<T, Extended>) {
      value = shortestRealText(StoredReal(reading.value));
    } else {
      value = std::to_string(reading.value);
    }
    unread.push_back({line, column, value});
  }
  return reading.value;
}

WorkLine parseWorkLine(std::string_view rest, int line, std::vector<UnreadField>& unread) {
  WorkLine work;
  work.I = take(readLeadingInteger(takeField(rest)), line, kColumnI, unread);
  work.J = take(readLeadingInteger(takeField(rest)), line, kColumnJ, unread);
  work.Duration = take(readLeadingDecimal(takeField(rest)), line, kColumnT, unread);
  work.Workers = take(readLeadingInteger(takeField(rest)), line, kColumnN, unread);
  work.Id = take(readLeadingInteger(rest), line, kColumnId, unread);
  return work;
}

bool inMatrix(std::int32_t event) { return event >= 1 && event <= kMaxEvents; }

std::string format(const char* pattern, const std::string& name, int a, int b = 0) {
  std::vector<char> buffer(name.size() + 256);
  std::snprintf(buffer.data(), buffer.size(), pattern, name.c_str(), a, b);
  return buffer.data();
}

// Where the file line of the work (i, j), i < j, is kept while the file is read.
std::uint64_t pairKey(int i, int j) {
  return (std::uint64_t{static_cast<std::uint32_t>(i)} << 32) | static_cast<std::uint32_t>(j);
}

// Each row's file line, from `lineOf`, goes to `rowLines`.
int rebuildTable(const TNetworkModel& m, WorksTable& table, const std::unordered_map<std::uint64_t, int>& lineOf,
                 std::vector<int>& rowLines) {
  int r = 0;
  for (const auto& work : m.WorkMatrix.upperWorks(std::max(m.EventCount, 0))) {
    if (work.I == work.J) continue;
    const TWorkCell& cell = *work.cell;
    ++r;
    rowLines.push_back(lineOf.at(pairKey(work.I, work.J)));
    table.setRow(r, {std::to_string(work.I), std::to_string(work.J), shortestRealText(cell.Duration),
                     std::to_string(cell.Workers), std::to_string(cell.Id)});
  }
  table.clearRowsAfter(r);
  return r;
}

}  // namespace

DataFileContents ReadDataFile(TNetworkModel& m, const std::string& fileName, WorksTable& table) {
  const std::optional<std::string> bytes = readRegularFile(fileName, kMaxDataFileBytes);
  if (!bytes) throw CommandError("Файл " + fileName + ": больше 16 МиБ, это не файл исходных данных");
  const std::vector<std::string_view> lines = splitLines(*bytes);
  auto line = [&lines](std::size_t index) { return index < lines.size() ? lines[index] : std::string_view(); };
  // Empty files, other line ends, UTF-16 and other foreign bytes would otherwise pass
  // as an empty network.
  if (lines.size() < 3 || !readLeadingInteger(lines[1]).number || !readLeadingInteger(lines[2]).number) {
    throw CommandError("Файл " + fileName + ": это не файл исходных данных");
  }

  DataFileContents contents;
  contents.VariantNumber = leadingInteger(line(0));
  const std::int32_t works = leadingInteger(line(1));
  const std::int32_t events = leadingInteger(line(2));
  if (events < 0 || events > kMaxEvents || works < 0 || works > kMaxWorks) {
    throw CommandError(format("Файл %s: количество событий или работ вне допустимых пределов", fileName, 0));
  }
  // A file cut short (a copy that stopped halfway) would open as a smaller network and,
  // saved again, lose the rest for good.
  const std::size_t linesHeld = lines.size() - 3;
  if (linesHeld < static_cast<std::size_t>(works)) {
    throw CommandError(format("Файл %s: во второй строке указано работ: %d, а строк работ в файле: %d. "
                              "Файл неполон и не открыт.",
                              fileName, works, static_cast<int>(linesHeld)));
  }

  // Everything is converted before the model changes, so a refused file changes nothing.
  std::vector<WorkLine> workLines;
  std::vector<UnreadField> unread;
  for (int k = 0; k < works; ++k) {
    WorkLine work = parseWorkLine(line(3 + static_cast<std::size_t>(k)), 4 + k, unread);
    work.line = 4 + k;
    if (inMatrix(work.I) && inMatrix(work.J)) workLines.push_back(work);
  }

  std::string extrasNotice;
  DataSetExtras extras = readExtrasSection(
      std::vector<std::string_view>(lines.begin() + 3 + works, lines.end()), 4 + works, extrasNotice);

  m.WorkCount = works;
  m.EventCount = events;
  m.Extras = std::move(extras);
  ClearMatrix(m);
  m.WorkMatrix.reserve(2 * workLines.size());
  std::unordered_map<std::uint64_t, int> lineOf;
  lineOf.reserve(workLines.size());
  for (const WorkLine& work : workLines) {
    for (TWorkCell* cell : {&m.cell(work.I, work.J), &m.cell(work.J, work.I)}) {
      cell->Duration = work.Duration;
      cell->Workers = work.Workers;
      cell->Id = work.Id;
    }
    lineOf[pairKey(std::min(work.I, work.J), std::max(work.I, work.J))] = work.line;  // a later line wins
  }
  const int rowsWritten = rebuildTable(m, table, lineOf, contents.rowLines);
  namesIntoTable(m.Extras, table, rowsWritten);
  m.WorkCount = rowsWritten;
  if (rowsWritten < works) {
    contents.notice = format(
        "Файл %s: пропущено строк работ: %d (совпадающие события, нулевой идентификатор, повтор пары "
        "или номер события вне 1..%d)",
        fileName, works - rowsWritten, events);
  } else if (!unread.empty()) {
    contents.notice = "Файл " + fileName + ": не все поля прочитаны полностью";
  }
  for (std::size_t k = 0; k < unread.size() && k < kUnreadFieldsListed; ++k) {
    contents.notice += "\nстрока " + std::to_string(unread[k].line) + ": поле " + kFieldNames[unread[k].column] +
                       " прочитано как " + unread[k].value;
  }
  if (unread.size() > kUnreadFieldsListed) {
    contents.notice += "\nи еще полей: " + std::to_string(unread.size() - kUnreadFieldsListed);
  }
  if (!extrasNotice.empty()) {
    contents.notice += (contents.notice.empty() ? "Файл " + fileName + ":" : std::string()) + "\n" + extrasNotice;
  }
  return contents;
}

void WriteDataFile(const std::string& fileName, const std::string& variantText,
                   const std::string& worksText, const std::string& eventsText,
                   const WorksTable& table, int rows, const DataSetExtras& extras) {
  std::string text = variantText + "\r\n" + worksText + "\r\n" + eventsText + "\r\n";
  for (int r = 1; r <= rows; ++r) {
    for (int c = 0; c < kWorksColumns; ++c) {
      std::string field = table.cell(c, r);
      if (c == kColumnT) {
        for (char& ch : field) {
          if (ch == kDecimalSeparator) ch = '.';
        }
      }
      if (c > 0) text += ',';
      text += field;
    }
    text += "\r\n";
  }
  // The works are numbers, the same in either encoding; the section is UTF-8 for names
  // in any script.
  writeFileSafely(fileName, utf8ToCp1251(text) + extrasSection(extras));
}

std::string ShortFileName(const std::string& name) {
  if (name.size() < 2) return name;
  const std::size_t slash = name.rfind('\\', name.size() - 2);
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

}  // namespace velko
