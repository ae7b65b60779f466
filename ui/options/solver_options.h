#pragma once

#include <cstdint>
#include <string_view>

#include "model/command_error.h"

namespace velko {

class SettingsStore;

// How long "Перераспределение" searches, in whole seconds. The options dialog sets it;
// the per-user store keeps it.
inline constexpr std::int32_t kDefaultReallocationSeconds = 10;
inline constexpr std::int32_t kMinReallocationSeconds = 1;
inline constexpr std::int32_t kMaxReallocationSeconds = 3600;

struct TSolverOptions {
  std::int32_t ReallocationSeconds = kDefaultReallocationSeconds;
};

// The program's one set, at the defaults until the stores are read.
TSolverOptions& solverOptions();

// A search time refused, so that the dialog can put the user back in its box.
class SolverOptionError : public CommandError {
 public:
  using CommandError::CommandError;
};

// The seconds of a text: a whole number in range, else SolverOptionError.
std::int32_t reallocationSecondsFrom(std::string_view text);

// A stored value that is missing, not a number or out of range leaves the default; a
// store that cannot be read throws CommandError.
void loadSolverOptions(TSolverOptions& options, const SettingsStore& store);
void saveSolverOptions(const TSolverOptions& options, SettingsStore& store);

}  // namespace velko
