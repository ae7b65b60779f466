#include "model/stored_real.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "model/command_error.h"

namespace velko {
namespace {

using Bytes = std::array<std::uint8_t, 6>;

TEST(StoredReal, KnownBitPatterns) {
  struct Case {
    Extended value;
    Bytes bytes;
  };
  const Case cases[] = {
      {0, {0, 0, 0, 0, 0, 0}},
      {1, {0x81, 0, 0, 0, 0, 0}},
      {-1, {0x81, 0, 0, 0, 0, 0x80}},
      {0.5L, {0x80, 0, 0, 0, 0, 0}},
      {10, {0x84, 0, 0, 0, 0, 0x20}},
      {-2.5L, {0x82, 0, 0, 0, 0, 0xA0}},
      {0.1L, {0x7D, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StoredReal(c.value).toBytes(), c.bytes) << static_cast<double>(c.value);
    EXPECT_EQ(StoredReal::fromBytes(c.bytes).value(), StoredReal(c.value).value());
  }
}

TEST(StoredReal, RoundsToFortyBitsWithTiesAwayFromZero) {
  const Extended ulp = std::ldexp(Extended{1}, -39);  // spacing of values in [1, 2)
  EXPECT_EQ(StoredReal(1 + ulp / 2).value(), static_cast<double>(1 + ulp));
  EXPECT_EQ(StoredReal(-(1 + ulp / 2)).value(), -static_cast<double>(1 + ulp));
  EXPECT_EQ(StoredReal(1 + ulp / 4).value(), 1.0);
  EXPECT_EQ(StoredReal(1 + ulp * 3 / 4).value(), static_cast<double>(1 + ulp));
  // A carry out of the significand moves to the next binade.
  EXPECT_EQ(StoredReal(2 - ulp / 4).value(), 2.0);
  // 0.1 is not 0.1 after a store, and a sum of stored tenths is rounded again.
  const StoredReal tenth(0.1L);
  EXPECT_NE(tenth.value(), 0.1);
  const StoredReal three = tenth + tenth + tenth;
  EXPECT_EQ(three.value(), static_cast<double>(roundToStorage(Extended{tenth} * 3)));
}

TEST(StoredReal, RangeLimits) {
  EXPECT_EQ(StoredReal(std::ldexp(Extended{1}, -128)).toBytes()[0], 1);
  EXPECT_EQ(StoredReal(std::ldexp(Extended{1}, -129)).value(), 0.0);
  EXPECT_EQ(StoredReal(-std::ldexp(Extended{1}, -140)).value(), 0.0);
  EXPECT_FALSE(std::signbit(StoredReal(-std::ldexp(Extended{1}, -140)).value()));
  EXPECT_FALSE(std::signbit(StoredReal(-0.0L).value()));
  const Extended largest = std::ldexp(2 - std::ldexp(Extended{1}, -39), 126);
  EXPECT_EQ(StoredReal(largest).toBytes()[0], 255);
  try {
    StoredReal overflow(std::ldexp(Extended{1}, 127));
    FAIL() << "no overflow for 2^127";
  } catch (const CommandError& error) {
    EXPECT_STREQ(error.what(), "Floating point overflow");
  }
}

TEST(StoredReal, DivisionChecksItsDivisor) {
  EXPECT_EQ(checkedDivide(6, 4), 1.5L);
  try {
    checkedDivide(1, 0);
    FAIL();
  } catch (const CommandError& error) {
    EXPECT_STREQ(error.what(), "Floating point division by zero");
  }
  try {
    checkedDivide(0, 0);
    FAIL();
  } catch (const CommandError& error) {
    EXPECT_STREQ(error.what(), "Invalid floating point operation");
  }
}

// The rounding as it was first written, through libm, kept as the reference the bit
// operations must match: the result's bits, or the same error text.
std::string libmRounding(Extended x) {
  if (std::isnan(x)) return kFloatInvalid;
  if (std::isinf(x)) return kFloatOverflow;
  if (x == 0) return "0";
  int exponent = 0;
  const Extended fraction = std::frexp(std::fabs(x), &exponent);
  Extended significand = std::round(std::ldexp(fraction, 40));
  if (significand >= std::ldexp(Extended{1}, 40)) {
    significand /= 2;
    ++exponent;
  }
  if (exponent + 128 < 1) return "0";
  if (exponent + 128 > 255) return kFloatOverflow;
  const Extended magnitude = std::ldexp(significand, exponent - 40);
  return std::to_string(std::bit_cast<std::uint64_t>(static_cast<double>(x < 0 ? -magnitude : magnitude)));
}

std::string bitRounding(Extended x) {
  try {
    const double stored = StoredReal(x).value();
    return stored == 0 && !std::signbit(stored) ? "0" : std::to_string(std::bit_cast<std::uint64_t>(stored));
  } catch (const CommandError& error) {
    return error.what();
  }
}

Extended fromBits(std::uint64_t significand, int exponent, bool negative) {
  const Extended x = std::ldexp(static_cast<Extended>(significand), exponent - 64);
  return negative ? -x : x;
}

TEST(StoredReal, BitRoundingMatchesLibmOnMillionsOfValues) {
  // Fewer under the sanitizers' debug build, where each value costs many times more.
#ifdef NDEBUG
  constexpr int kValues = 6'000'000;
#else
  constexpr int kValues = 600'000;
#endif
  std::mt19937_64 random(20240611);
  const auto draw = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  constexpr std::uint64_t kTop = std::uint64_t{1} << 63;
  constexpr std::uint64_t kHalf = std::uint64_t{1} << 23;  // the highest of the 24 dropped bits
  for (int k = 0; k < kValues; ++k) {
    const std::uint64_t bits = random() | kTop;
    const bool negative = (bits & 1) != 0;
    // Mostly the magnitudes schedules have; one value in 32 at either end of the range.
    const int exponent = k % 32 == 0 ? (k % 64 == 0 ? draw(-133, -124) : draw(124, 131)) : draw(-30, 40);
    Extended x = 0;
    switch (k % 5) {
      case 0:  // any significand
        x = fromBits(bits, exponent, negative);
        break;
      case 1:  // exactly halfway between two stored values
        x = fromBits((bits & ~((kHalf << 1) - 1)) | kHalf, exponent, negative);
        break;
      case 2:  // halfway or just either side of it, with the carry into the next binade
        x = fromBits(~((kHalf << 1) - 1) | (kHalf + static_cast<std::uint64_t>(draw(-1, 1))), exponent, negative);
        break;
      case 3:  // a quotient, as the optimisation's V / m
        x = static_cast<Extended>(draw(-100000, 100000)) / draw(1, 997);
        break;
      default:  // a sum of stored values, as the passes form them
        x = Extended{StoredReal(fromBits(bits, draw(-10, 14), false))} -
            Extended{StoredReal(fromBits(random() | kTop, draw(-10, 14), negative))};
    }
    ASSERT_EQ(bitRounding(x), libmRounding(x)) << "value " << static_cast<double>(x) << " (case " << k % 5 << ")";
  }
  const Extended specials[] = {0.0L, -0.0L, std::numeric_limits<Extended>::infinity(),
                               -std::numeric_limits<Extended>::infinity(), std::numeric_limits<Extended>::quiet_NaN(),
                               std::numeric_limits<Extended>::denorm_min(), -std::numeric_limits<Extended>::min(),
                               std::numeric_limits<Extended>::max()};
  for (Extended x : specials) EXPECT_EQ(bitRounding(x), libmRounding(x)) << static_cast<double>(x);
}

}  // namespace
}  // namespace velko
