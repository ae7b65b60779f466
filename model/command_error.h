#pragma once

#include <stdexcept>
#include <string>

namespace velko {

// The one error type of the program: its text is exactly what the user reads in the
// error box (or what the batch tool prints). Commands never catch it; one place per
// front end shows it and the program goes on.
class CommandError : public std::runtime_error {
 public:
  explicit CommandError(const std::string& message) : std::runtime_error(message) {}
};

// Messages of the runtime's floating-point errors, shared by every computation.
inline constexpr const char* kFloatOverflow = "Floating point overflow";
inline constexpr const char* kFloatDivByZero = "Floating point division by zero";
inline constexpr const char* kFloatInvalid = "Invalid floating point operation";

}  // namespace velko
