#include "data/works_table_edit.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "model/command_error.h"
#include "model/number_text.h"

namespace velko {

namespace {

std::string format(const char* pattern, int value) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

// The row commands and the copies touch rows up to workCount + 1: refuse a count the
// table was never meant to hold before any row is written.
void checkWorkCount(int workCount) {
  if (workCount > kMaxWorks) {
    throw CommandError(format("Количество работ %d больше допустимого (", workCount) + std::to_string(kMaxWorks) + ")");
  }
}

void checkSelectedRow(int row) {
  if (row < 1 || row > kMaxWorks + 1) {
    throw CommandError(format("Строка таблицы %d вне допустимых пределов", row));
  }
}

}  // namespace

bool IsAllowedKey(char32_t key) {
  return (key >= U'0' && key <= U'9') || key == U',' || key == U'-' || key == U'\b' ||
         key == U'\t' || key == U'\r';
}

char32_t tableKey(char32_t key) {
  if (key == U'.') key = static_cast<char32_t>(kDecimalSeparator);
  return IsAllowedKey(key) ? key : 0;
}

bool isCellText(std::string_view text) {
  for (const char c : text) {
    const char32_t key = static_cast<unsigned char>(c);
    if (key < 0x20 || !IsAllowedKey(key)) return false;  // Backspace, Tab, Enter are keys, not text
  }
  return true;
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trimmed(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && isBlank(text[first])) ++first;
  while (last > first && isBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// At most `limit` bytes of the text, cut at a character boundary, for a message.
std::string shortened(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return std::string(text);
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end)) + "…";
}

}  // namespace

std::string refusedCellText(std::string_view text) {
  return "«" + shortened(trimmed(text), 40) + "»: в ячейке допустимы только цифры, запятая и минус";
}

std::optional<std::string> cleanCellText(std::string_view text) {
  std::string cell(trimmed(text));
  for (char& c : cell) {
    if (c == '.') c = static_cast<char>(kDecimalSeparator);
  }
  if (!isCellText(cell)) return std::nullopt;
  return cell;
}

std::string pastedCellText(std::string_view text) {
  std::optional<std::string> cell = cleanCellText(text);
  if (!cell) {
    const std::string_view kept = trimmed(text);
    if (kept.find_first_of("\t\r\n") != std::string_view::npos) {
      throw CommandError(
          "В буфере обмена несколько ячеек (строки или столбцы таблицы), а в ячейку вставляется одно "
          "значение. Ничего не вставлено.");
    }
    throw CommandError("Нельзя вставить " + refusedCellText(kept) + ". Ничего не вставлено.");
  }
  return *cell;
}

bool isNameText(std::string_view text) {
  return text.find_first_of("\t\r\n") == std::string_view::npos && utf8Length(text) <= kMaxWorkNameChars;
}

std::string oneLineName(std::string_view text) {
  std::string name(text);
  for (char& c : name) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return name;
}

std::string pastedNameText(std::string_view text) {
  // The line end a copied spreadsheet cell brings is no part of the name.
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  std::string name = oneLineName(text);
  const std::size_t length = utf8Length(name);
  if (length > kMaxWorkNameChars) {
    throw CommandError("Наименование длиннее " + std::to_string(kMaxWorkNameChars) + " знаков (" +
                       std::to_string(length) + "). Ничего не вставлено.");
  }
  return name;
}

int DeleteWorkRow(WorksTable& table, int selectedRow, int workCount) {
  checkWorkCount(workCount);
  if (selectedRow > workCount) return workCount;
  checkSelectedRow(selectedRow);
  // The row goes; the row that was after the last work comes back to its place.
  table.eraseRow(selectedRow);
  table.insertRow(workCount);
  table.setRowCount(workCount - 1);
  return workCount - 1;
}

int InsertWorkRow(WorksTable& table, int selectedRow, int workCount) {
  checkSelectedRow(selectedRow);
  if (workCount >= kMaxWorks) {
    throw CommandError("Строка не вставлена: в таблице уже " + std::to_string(kMaxWorks) +
                       " работ, больше не бывает");
  }
  const int count = std::max(workCount, 0);
  const int row = std::min(selectedRow, count + 1);
  // The last work moves onto the row after it, whose old text is lost; the stored rows
  // further down stay where they are.
  table.eraseRow(count + 1);
  table.insertRow(row);
  table.setRowCount(count + 1);
  return count + 1;
}

void CopyWorkRows(const WorksTable& from, WorksTable& to, int workCount) {
  checkWorkCount(workCount);
  to.copyRowsFrom(from, workCount);
}

WorkCounts TakenWorkCounts(const std::string& eventsText, const std::string& worksText) {
  WorkCounts counts;
  counts.events = StrToInt(eventsText);
  if (counts.events > kMaxEvents) {
    throw CommandError(format("Количество событий %d больше допустимого (", counts.events) +
                       std::to_string(kMaxEvents) + ")");
  }
  counts.works = StrToInt(worksText);
  checkWorkCount(counts.works);
  return counts;
}

int workRowsToSave(const std::string& worksText, int workCount) {
  int rows = std::clamp(workCount, 0, kMaxWorks);
  try {
    const std::int32_t boxCount = StrToInt(worksText);
    if (boxCount >= 0 && boxCount < rows) rows = boxCount;
  } catch (const CommandError&) {
    // A box that holds no whole number says nothing about the rows: keep them all.
  }
  return rows;
}

}  // namespace velko
