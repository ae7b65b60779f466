#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace velko {

// Formula arithmetic runs in x87 extended precision (64-bit significand).
using Extended = long double;

// A real number as the model stores it: the 6-byte format with a 40-bit significand
// (exponent byte biased by 129, 39-bit fraction, sign in the top bit of byte 5).
// Every construction from an extended value rounds to 40 bits, to nearest with ties
// away from zero; too small a magnitude becomes 0, too large a one throws
// "Floating point overflow". Reading converts back to Extended implicitly, so an
// expression of stored values is evaluated in extended precision and rounded once,
// when it is stored again. Zero is always +0.
class StoredReal {
 public:
  constexpr StoredReal() = default;
  StoredReal(Extended x);  // NOLINT(google-explicit-constructor): rounding on every store

  operator Extended() const { return value_; }  // NOLINT(google-explicit-constructor)
  double value() const { return value_; }

  // The 6-byte layout, byte 0 first.
  std::array<std::uint8_t, 6> toBytes() const;
  static StoredReal fromBytes(const std::array<std::uint8_t, 6>& bytes);

 private:
  double value_ = 0.0;  // always a value with at most 40 significant bits
};

// Rounds x to the storage format without keeping it (for values the algorithms hold
// "in the storage format" as locals).
Extended roundToStorage(Extended x);

// The same rounding without the errors: nothing when x is not a number or too large
// for the format.
std::optional<Extended> roundedToStorage(Extended x);

// Division with the runtime's checks: x / 0 throws "Floating point division by zero",
// 0 / 0 "Invalid floating point operation".
Extended checkedDivide(Extended numerator, Extended denominator);

}  // namespace velko
