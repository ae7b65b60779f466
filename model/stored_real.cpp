#include "model/stored_real.h"

#include <cmath>

#include "model/command_error.h"

namespace velko {

namespace {

constexpr int kSignificandBits = 40;
constexpr int kExponentBias = 129;

}  // namespace

namespace detail {

double roundedOutOfRange(std::uint64_t significand, int biasedExponent, int exponent) {
  if (biasedExponent == 0x7FFF) {
    throw CommandError(significand == std::uint64_t{1} << 63 ? kFloatOverflow : kFloatInvalid);
  }
  if ((significand >> 63) == 0) throw CommandError(kFloatInvalid);  // an unnormal: no value
  if (exponent < 0) return 0.0;
  throw CommandError(kFloatOverflow);
}

}  // namespace detail

std::optional<Extended> roundedToStorage(Extended x) {
  if (!std::isfinite(x)) return std::nullopt;
  try {
    return detail::roundedToStorage(x);
  } catch (const CommandError&) {  // only above the range, for a finite x
    return std::nullopt;
  }
}

std::array<std::uint8_t, 6> StoredReal::toBytes() const {
  std::array<std::uint8_t, 6> bytes{};
  if (value_ == 0.0) return bytes;
  int exponent = 0;
  const double fraction = std::frexp(std::fabs(value_), &exponent);
  // fraction * 2^40 is the whole 40-bit significand; drop the implicit leading 1.
  auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, kSignificandBits));
  const std::uint64_t fractionBits = significand & ((std::uint64_t{1} << 39) - 1);
  bytes[0] = static_cast<std::uint8_t>(exponent + kExponentBias - 1);
  for (int k = 0; k < 5; ++k) bytes[1 + k] = static_cast<std::uint8_t>(fractionBits >> (8 * k));
  if (value_ < 0) bytes[5] |= 0x80;
  return bytes;
}

StoredReal StoredReal::fromBytes(const std::array<std::uint8_t, 6>& bytes) {
  if (bytes[0] == 0) return StoredReal{};
  std::uint64_t fractionBits = 0;
  for (int k = 4; k >= 0; --k) fractionBits = (fractionBits << 8) | bytes[1 + k];
  const bool negative = (fractionBits >> 39) & 1;
  fractionBits &= (std::uint64_t{1} << 39) - 1;
  const std::uint64_t significand = fractionBits | (std::uint64_t{1} << 39);
  const Extended magnitude =
      std::ldexp(static_cast<Extended>(significand), bytes[0] - kExponentBias - 39);
  return StoredReal(negative ? -magnitude : magnitude);
}

Extended checkedDivide(Extended numerator, Extended denominator) {
  if (denominator == 0) throw CommandError(numerator == 0 ? kFloatInvalid : kFloatDivByZero);
  return numerator / denominator;
}

}  // namespace velko
