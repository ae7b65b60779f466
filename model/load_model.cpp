#include "model/load_model.h"

#include "model/command_error.h"
#include "model/number_text.h"

namespace velko {

namespace {

std::string format(const char* pattern, int a, int b = 0, int c = 0) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, pattern, a, b, c);
  return buffer;
}

void checkEvent(int row, int event, int eventCount) {
  if (event < 1 || event > eventCount) {
    throw CommandError(
        format("Строка %d: номер события %d вне диапазона 1..%d", row, event, eventCount));
  }
}

}  // namespace

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
    const std::int32_t i = StrToInt(input.cellText(kColumnI, r));
    checkEvent(r, i, m.EventCount);
    const std::int32_t j = StrToInt(input.cellText(kColumnJ, r));
    checkEvent(r, j, m.EventCount);
    if (i == j) {
      throw CommandError(
          format("Строка %d: работа не может начинаться и кончаться в одном событии (%d)", r, i));
    }
    TWorkCell& upper = m.cell(i, j);
    TWorkCell& mirror = m.cell(j, i);
    upper.Duration = StrToFloat(input.cellText(kColumnT, r));
    mirror.Duration = upper.Duration;
    const std::int32_t workers = StrToInt(input.cellText(kColumnN, r));
    upper.Workers = workers;
    mirror.Workers = workers;
    const std::int32_t id = StrToInt(input.cellText(kColumnId, r));
    upper.Id = id;
    mirror.Id = id;
  }
}

}  // namespace velko
