#include "model/stored_real.h"

#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace
}  // namespace velko
