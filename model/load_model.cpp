#include "model/load_model.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/command_error.h"
#include "model/number_text.h"

namespace velko {

namespace {

std::string format(const char* pattern, int a, int b = 0, int c = 0) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, pattern, a, b, c);
  return buffer;
}

// Converts one cell with `convert`; a failure names the cell before the runtime's text.
template <typename Convert>
auto cellValue(const WorksInput& input, int column, int row, Convert convert) {
  try {
    return convert(input.cellText(column, row));
  } catch (const CommandError& error) {
    throw CellError(row, column, error.what());
  }
}

void checkEvent(int row, int event, int eventCount) {
  if (event < 1 || event > eventCount) {
    throw CommandError(
        format("Строка %d: номер события %d вне диапазона 1..%d", row, event, eventCount));
  }
}

// Long lists in the notice stop after this many entries, with "…".
constexpr std::size_t kListedEntries = 10;

std::string listText(const std::vector<int>& values) {
  std::string text;
  for (std::size_t k = 0; k < values.size() && k < kListedEntries; ++k) {
    if (k > 0) text += ", ";
    text += std::to_string(values[k]);
  }
  if (values.size() > kListedEntries) text += " …";
  return text;
}

// The events after the first that no work of the loaded matrix ends in.
std::vector<int> unreachedEvents(const TNetworkModel& m) {
  const int last = std::max(m.EventCount, 0);
  std::vector<bool> reached(static_cast<std::size_t>(last) + 1, false);
  for (const auto& work : m.WorkMatrix.upperWorks(last)) {
    if (work.I < work.J) reached[static_cast<std::size_t>(work.J)] = true;
  }
  std::vector<int> events;
  for (int j = 2; j <= last; ++j) {
    if (!reached[static_cast<std::size_t>(j)]) events.push_back(j);
  }
  return events;
}

}  // namespace

std::vector<int> LoadWarnings::replacedRows() const {
  std::vector<int> rows;
  for (const ReplacedRow& r : replaced) rows.push_back(r.row);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

std::string LoadWarnings::text() const {
  std::string text;
  auto line = [&text](const std::string& part) { text += (text.empty() ? "" : "\n") + part; };
  if (works < 0) line("Количество работ отрицательное: " + std::to_string(works));
  if (events < 0) line("Количество событий отрицательное: " + std::to_string(events));
  if (!replaced.empty()) {
    std::string pairs;
    for (std::size_t k = 0; k < replaced.size() && k < kListedEntries; ++k) {
      const ReplacedRow& r = replaced[k];
      pairs += format(k == 0 ? "строка %d (%d-%d)" : ", строка %d (%d-%d)", r.row, r.i, r.j);
      pairs += " заменена строкой " + std::to_string(r.by);
    }
    if (replaced.size() > kListedEntries) pairs += " …";
    line("Повтор пары событий, учтена последняя строка: " + pairs);
  }
  std::vector<int> inner = unreachedEvents;
  if (!inner.empty() && inner.back() == events) {
    line("Последнее событие " + std::to_string(events) + " не достигается ни одной работой");
    inner.pop_back();
  }
  if (!inner.empty()) line("События без входящих работ: " + listText(inner));
  return text;
}

CellError::CellError(int row, int column, const std::string& reason)
    : CommandError("Строка " + std::to_string(row) + ", столбец " + columnName(column) + ": " + reason),
      row(row),
      column(column),
      reason(reason) {}

const char* columnName(int column) {
  static const char* const names[kTableColumns] = {"I", "J", "t", "n", "Id", "Наименование"};
  return column >= 0 && column < kTableColumns ? names[column] : "?";
}

void LoadModel(TNetworkModel& m, const WorksInput& input, LoadWarnings* warnings) {
  const std::int32_t events = StrToInt(input.eventsText());
  if (events > kMaxEvents) throw CommandError(tooManyEvents(events));
  m.EventCount = events;
  const std::int32_t works = StrToInt(input.worksText());
  if (works > kMaxWorks) throw CommandError(tooManyWorks(works));
  m.WorkCount = works;
  ClearMatrix(m);
  m.WorkMatrix.reserve(2 * static_cast<std::size_t>(std::max(works, 0)));
  // The row that last wrote each pair of events, by the smaller event first.
  std::unordered_map<std::uint64_t, int> rowOfPair;
  rowOfPair.reserve(static_cast<std::size_t>(std::max(works, 0)));
  std::vector<LoadWarnings::ReplacedRow> replaced;
  std::vector<std::pair<int, int>> typedPairs;  // each loaded row's pair as typed, by row
  for (int r = 1; r <= m.WorkCount; ++r) {
    const auto integer = [](const std::string& text) { return StrToInt(text); };
    const std::int32_t i = cellValue(input, kColumnI, r, integer);
    checkEvent(r, i, m.EventCount);
    const std::int32_t j = cellValue(input, kColumnJ, r, integer);
    checkEvent(r, j, m.EventCount);
    if (i == j) {
      throw CommandError(
          format("Строка %d: работа не может начинаться и кончаться в одном событии (%d)", r, i));
    }
    int& lastRow = rowOfPair[(std::uint64_t{static_cast<std::uint32_t>(std::min(i, j))} << 32) |
                             static_cast<std::uint32_t>(std::max(i, j))];
    if (lastRow != 0) {
      const auto [earlierI, earlierJ] = typedPairs[static_cast<std::size_t>(lastRow - 1)];
      replaced.push_back({lastRow, r, earlierI, earlierJ});
    }
    lastRow = r;
    typedPairs.emplace_back(i, j);
    TWorkCell& upper = m.cell(i, j);
    TWorkCell& mirror = m.cell(j, i);
    // The store itself may fail too ("Floating point overflow").
    upper.Duration =
        cellValue(input, kColumnT, r, [](const std::string& text) { return StoredReal(StrToFloat(text)); });
    mirror.Duration = upper.Duration;
    const std::int32_t workers = cellValue(input, kColumnN, r, integer);
    upper.Workers = workers;
    mirror.Workers = workers;
    const std::int32_t id = cellValue(input, kColumnId, r, integer);
    upper.Id = id;
    mirror.Id = id;
  }
  if (warnings != nullptr) {
    // Found in the order of the replacing rows; told in the order of the replaced ones.
    std::sort(replaced.begin(), replaced.end(), [](const auto& a, const auto& b) { return a.row < b.row; });
    *warnings = LoadWarnings{std::move(replaced), unreachedEvents(m), m.EventCount, m.WorkCount};
  }
}

}  // namespace velko
