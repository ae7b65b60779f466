#include "model/load_model.h"

#include <string>

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

}  // namespace

CellError::CellError(int row, int column, const std::string& reason)
    : CommandError("Строка " + std::to_string(row) + ", столбец " + columnName(column) + ": " + reason),
      row(row),
      column(column),
      reason(reason) {}

const char* columnName(int column) {
  static const char* const names[kWorksColumns] = {"I", "J", "t", "n", "Id"};
  return column >= 0 && column < kWorksColumns ? names[column] : "?";
}

void LoadModel(TNetworkModel& m, const WorksInput& input) {
  const std::int32_t events = StrToInt(input.eventsText());
  if (events > kMaxEvents) {
    throw CommandError(format("Количество событий %d больше допустимого (50)", events));
  }
  m.EventCount = events;
  const std::int32_t works = StrToInt(input.worksText());
  if (works > kMaxWorks) {
    throw CommandError(format("Количество работ %d больше допустимого (100)", works));
  }
  m.WorkCount = works;
  ClearMatrix(m);
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
}

}  // namespace velko
