#include "levelling/micro_days.h"

#include <cmath>
#include <cstdint>

namespace velko {

MicroDays toMicroDays(Extended x) {
  if (x == 0) return 0;
  // x = significand * 2^shift exactly, with a 64-bit whole significand.
  int exponent = 0;
  const Extended fraction = std::frexp(std::fabs(x), &exponent);
  const auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  const int shift = exponent - 64;
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
  std::string whole = (magnitude / kMicroPerDay).str();
  auto part = static_cast<long long>(magnitude % kMicroPerDay);
  std::string text = negative ? "-" + whole : whole;
  if (part != 0) {
    std::string digits = std::to_string(part + kMicroPerDay).substr(1);  // six digits
    while (digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return text;
}

Extended microDaysValue(const MicroDays& m) {
  return static_cast<Extended>(m / kMicroPerDay) +
         static_cast<Extended>(static_cast<long long>(m % kMicroPerDay)) / kMicroPerDay;
}

}  // namespace velko
