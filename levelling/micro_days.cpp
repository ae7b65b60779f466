#include "levelling/micro_days.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace velko {

namespace {

// Most times fit in 64 bits, where dividing costs a tenth of what it does in 256.
bool small(const MicroDays& m) {
  static const MicroDays limit = MicroDays(1) << 62;
  return m > -limit && m < limit;
}

}  // namespace

MicroDays toMicroDays(Extended x) {
  if (x == 0) return 0;
  // x = significand * 2^shift exactly, with a 64-bit whole significand.
  int exponent = 0;
  const Extended fraction = std::frexp(std::fabs(x), &exponent);
  const auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  const int shift = exponent - 64;
  // Up to 2^84 scaled, so 128 bits hold every time below a few thousand years'
  // worth of millionths; the wide arithmetic is for the rest.
  if (shift <= 0 && shift >= -120) {
    __extension__ using Wide = unsigned __int128;
    const Wide scaledQuick = static_cast<Wide>(significand) * static_cast<Wide>(kMicroPerDay);
    const auto down = static_cast<unsigned>(-shift);
    Wide whole = down == 0 ? scaledQuick : scaledQuick >> down;
    if (down > 0) {
      const Wide rest = scaledQuick - (whole << down);
      const Wide half = static_cast<Wide>(1) << (down - 1);
      if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
    }
    if (whole < (static_cast<Wide>(1) << 62)) {
      const auto value = static_cast<long long>(whole);
      return x < 0 ? MicroDays(-value) : MicroDays(value);
    }
  }
  MicroDays scaled = MicroDays(significand) * kMicroPerDay;
  MicroDays result;
  if (shift >= 0) {
    result = scaled << shift;
  } else if (-shift > 200) {
    result = 0;  // far below half a millionth
  } else {
    const unsigned down = static_cast<unsigned>(-shift);
    result = scaled >> down;
    const MicroDays rest = scaled - (result << down);
    const MicroDays half = MicroDays(1) << (down - 1);
    if (rest > half || (rest == half && (result & 1) != 0)) ++result;
  }
  return x < 0 ? MicroDays(-result) : result;
}

long long floorDays(const MicroDays& m, long long limit) {
  if (small(m)) {
    const auto v = static_cast<long long>(m);
    long long days = v / kMicroPerDay;
    if (days * kMicroPerDay > v) --days;
    return std::clamp(days, -limit, limit);
  }
  MicroDays days = m / kMicroPerDay;  // truncates toward zero
  if (days * kMicroPerDay > m) --days;
  if (days > limit) return limit;
  if (days < -limit) return -limit;
  return static_cast<long long>(days);
}

long long ceilDays(const MicroDays& m, long long limit) { return -floorDays(-m, limit); }

std::string microDaysText(const MicroDays& m) {
  const bool negative = m < 0;
  const MicroDays magnitude = negative ? MicroDays(-m) : m;
  std::string whole;
  long long part = 0;
  if (small(magnitude)) {
    const auto v = static_cast<long long>(magnitude);
    whole = std::to_string(v / kMicroPerDay);
    part = v % kMicroPerDay;
  } else {
    whole = (magnitude / kMicroPerDay).str();
    part = static_cast<long long>(magnitude % kMicroPerDay);
  }
  std::string text = negative ? "-" + whole : whole;
  if (part != 0) {
    std::string digits = std::to_string(part + kMicroPerDay).substr(1);  // six digits
    while (digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return text;
}

Extended microDaysValue(const MicroDays& m) {
  if (small(m)) {
    const auto v = static_cast<long long>(m);
    return static_cast<Extended>(v / kMicroPerDay) + static_cast<Extended>(v % kMicroPerDay) / kMicroPerDay;
  }
  return static_cast<Extended>(m / kMicroPerDay) +
         static_cast<Extended>(static_cast<long long>(m % kMicroPerDay)) / kMicroPerDay;
}

}  // namespace velko
