#include "data/data_file.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "data/file_io.h"
#include "data/text_codec.h"
#include "model/command_error.h"
#include "model/number_text.h"

namespace velko {

namespace {

struct WorkLine {
  int line = 0;  // in the file, from 1
  std::int32_t I = 0;
  std::int32_t J = 0;
  StoredReal Duration;
  std::int32_t Workers = 0;
  std::int32_t Id = 0;
};

std::vector<std::string> splitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// Takes the text before the next comma and deletes it with the comma; with no comma
// left the field is empty and the rest stays for the following fields.
std::string takeField(std::string& rest) {
  const std::size_t comma = rest.find(',');
  if (comma == std::string::npos) return {};
  std::string field = rest.substr(0, comma);
  rest.erase(0, comma + 1);
  return field;
}

WorkLine parseWorkLine(std::string rest) {
  WorkLine work;
  work.I = leadingInteger(takeField(rest));
  work.J = leadingInteger(takeField(rest));
  work.Duration = leadingDecimal(takeField(rest));
  work.Workers = leadingInteger(takeField(rest));
  work.Id = leadingInteger(rest);
  return work;
}

bool inMatrix(std::int32_t event) { return event >= 1 && event <= kMaxEvents; }

std::string format(const char* pattern, const std::string& name, int a, int b = 0) {
  std::vector<char> buffer(name.size() + 256);
  std::snprintf(buffer.data(), buffer.size(), pattern, name.c_str(), a, b);
  return buffer.data();
}

// Where the file line of the work (i, j), i < j, is kept while the file is read.
std::size_t lineIndex(int i, int j) { return static_cast<std::size_t>(i * (kMaxEvents + 1) + j); }

// Each row's file line, from `lineOf`, goes to `rowLines`.
int rebuildTable(const TNetworkModel& m, WorksTable& table, const std::vector<int>& lineOf,
                 std::vector<int>& rowLines) {
  int r = 0;
  for (int i = 1; i <= m.EventCount; ++i) {
    for (int j = i + 1; j <= m.EventCount; ++j) {
      const TWorkCell& cell = m.cell(i, j);
      if (cell.Id == 0) continue;
      ++r;
      rowLines.push_back(lineOf[lineIndex(i, j)]);
      table.setRow(r, {std::to_string(i), std::to_string(j), shortestRealText(cell.Duration),
                       std::to_string(cell.Workers), std::to_string(cell.Id)});
    }
  }
  table.clearRowsAfter(r);
  return r;
}

}  // namespace

DataFileContents ReadDataFile(TNetworkModel& m, const std::string& fileName, WorksTable& table) {
  const std::vector<std::string> lines = splitLines(readWholeFile(fileName));
  auto line = [&lines](std::size_t index) { return index < lines.size() ? lines[index] : std::string(); };

  DataFileContents contents;
  contents.VariantNumber = leadingInteger(line(0));
  const std::int32_t works = leadingInteger(line(1));
  const std::int32_t events = leadingInteger(line(2));
  if (events < 0 || events > kMaxEvents || works < 0 || works > kMaxWorks) {
    throw CommandError(format("Файл %s: количество событий или работ вне допустимых пределов", fileName, 0));
  }

  // Everything is converted before the model changes, so a refused file changes nothing.
  std::vector<WorkLine> workLines;
  for (int k = 0; k < works; ++k) {
    WorkLine work = parseWorkLine(line(3 + static_cast<std::size_t>(k)));
    work.line = 4 + k;
    if (inMatrix(work.I) && inMatrix(work.J)) workLines.push_back(work);
  }

  m.WorkCount = works;
  m.EventCount = events;
  ClearMatrix(m);
  std::vector<int> lineOf(lineIndex(kMaxEvents, kMaxEvents) + 1, 0);
  for (const WorkLine& work : workLines) {
    for (TWorkCell* cell : {&m.cell(work.I, work.J), &m.cell(work.J, work.I)}) {
      cell->Duration = work.Duration;
      cell->Workers = work.Workers;
      cell->Id = work.Id;
    }
    lineOf[lineIndex(std::min(work.I, work.J), std::max(work.I, work.J))] = work.line;  // a later line wins
  }
  const int rowsWritten = rebuildTable(m, table, lineOf, contents.rowLines);
  m.WorkCount = rowsWritten;
  if (rowsWritten < works) {
    contents.notice = format(
        "Файл %s: пропущено строк работ: %d (совпадающие события, нулевой идентификатор, повтор пары "
        "или номер события вне 1..%d)",
        fileName, works - rowsWritten, events);
  }
  return contents;
}

void WriteDataFile(const std::string& fileName, const std::string& variantText,
                   const std::string& worksText, const std::string& eventsText,
                   const WorksTable& table, int rows) {
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
  writeFileSafely(fileName, utf8ToCp1251(text));
}

std::string ShortFileName(const std::string& name) {
  if (name.size() < 2) return name;
  const std::size_t slash = name.rfind('\\', name.size() - 2);
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

}  // namespace velko
