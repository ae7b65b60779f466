#include "ui/options/solver_options.h"

#include <string>

#include "model/number_text.h"
#include "ui/options/settings_store.h"

namespace velko {

namespace {

const QString kSection = QStringLiteral("Solvers");
const QString kReallocationEntry = QStringLiteral("ReallocationSeconds");

bool inRange(std::int32_t seconds) {
  return seconds >= kMinReallocationSeconds && seconds <= kMaxReallocationSeconds;
}

}  // namespace

TSolverOptions& solverOptions() {
  static TSolverOptions options;
  return options;
}

std::int32_t reallocationSecondsFrom(std::string_view text) {
  std::int32_t seconds = 0;
  try {
    seconds = StrToInt(text);
  } catch (const CommandError& error) {
    throw SolverOptionError(error.what());
  }
  if (!inRange(seconds)) {
    throw SolverOptionError("Время перераспределения должно быть от " + std::to_string(kMinReallocationSeconds) +
                            " до " + std::to_string(kMaxReallocationSeconds) + " секунд");
  }
  return seconds;
}

void loadSolverOptions(TSolverOptions& options, const SettingsStore& store) {
  store.checkReadable();
  std::optional<std::int32_t> seconds;
  try {
    seconds = store.readInteger(kSection, kReallocationEntry);
  } catch (const CommandError&) {
    return;  // a damaged entry: the default, and the next save mends it
  }
  if (seconds && inRange(*seconds)) options.ReallocationSeconds = *seconds;
}

void saveSolverOptions(const TSolverOptions& options, SettingsStore& store) {
  store.writeInteger(kSection, kReallocationEntry, options.ReallocationSeconds);
  store.commit();
}

}  // namespace velko
