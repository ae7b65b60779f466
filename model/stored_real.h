#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
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
namespace detail {

// The rounding works on the bits of the x87 extended format: a 64-bit significand with
// an explicit integer bit, then the sign and a 15-bit exponent biased by 16383. It is
// inline because the computations store after nearly every operation; libm's
// frexpl/roundl/ldexpl took many times the instructions.
static_assert(std::numeric_limits<Extended>::digits == 64 && std::numeric_limits<Extended>::max_exponent == 16384,
              "Extended must be the x87 80-bit format");

// What the fast path below leaves aside: values below the format's range (0), above it and infinities ("Floating point overflow"), NaNs and unnormals
// ("Invalid floating point operation").
double roundedOutOfRange(std::uint64_t significand, int biasedExponent, int exponent);

// x rounded to 40 significant bits, to nearest with ties away from zero, as the double
// that holds it exactly; 0 below the format's range, never -0.
inline double roundedToStorage(Extended x) {
  constexpr int kSignificandBits = 40;
  constexpr int kDroppedBits = 64 - kSignificandBits;
  std::uint64_t significand = 0;
  std::uint16_t signAndExponent = 0;
  std::memcpy(&significand, &x, sizeof significand);
  std::memcpy(&signAndExponent, reinterpret_cast<const unsigned char*>(&x) + sizeof significand,
              sizeof signAndExponent);
  const int biased = signAndExponent & 0x7FFF;
  // Zero (frequent: floats and reserves) and the extended format's denormals lie far
  // below the range.
  if (biased == 0) return 0.0;
  // The highest dropped bit added rounds halfway cases away from zero.
  std::uint64_t rounded = (significand >> kDroppedBits) + ((significand >> (kDroppedBits - 1)) & 1);
  // A carry into the next binade leaves rounded = 2^40: halve it, one binade up.
  const int carry = static_cast<int>(rounded >> kSignificandBits);
  rounded >>= carry;
  // |x| = rounded * 2^(exponent - 40) with rounded in [2^39, 2^40), exponent as frexp
  // gives it; the 6-byte format's exponent byte is exponent + 128, within 1..255.
  const int exponent = biased - 16382 + carry;
  const bool integerBit = (significand >> 63) != 0;
  if (static_cast<unsigned>(exponent + 127) > 254u || !integerBit) {
    return roundedOutOfRange(significand, biased, exponent);
  }
  // As a double: 1.f * 2^(exponent - 1), the 39 fraction bits at the top of its 52.
  const std::uint64_t fraction = (rounded & ((std::uint64_t{1} << (kSignificandBits - 1)) - 1))
                                 << (52 - (kSignificandBits - 1));
  const std::uint64_t sign = static_cast<std::uint64_t>(signAndExponent >> 15) << 63;
  return std::bit_cast<double>(sign | (static_cast<std::uint64_t>(exponent - 1 + 1023) << 52) | fraction);
}

}  // namespace detail

class StoredReal {
 public:
  constexpr StoredReal() = default;
  // NOLINTNEXTLINE(google-explicit-constructor): rounding on every store
  StoredReal(Extended x) : value_(detail::roundedToStorage(x)) {}

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
inline Extended roundToStorage(Extended x) { return detail::roundedToStorage(x); }

// The same rounding without the errors: nothing when x is not a number or too large
// for the format.
std::optional<Extended> roundedToStorage(Extended x);

// The same rounding without the errors: nothing when x is not a number or too large
// for the format.
std::optional<Extended> roundedToStorage(Extended x);

// Division with the runtime's checks: x / 0 throws "Floating point division by zero",
// 0 / 0 "Invalid floating point operation".
Extended checkedDivide(Extended numerator, Extended denominator);

}  // namespace velko
