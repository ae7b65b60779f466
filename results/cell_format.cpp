#include "results/cell_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace velko {

namespace {

// "-"?digits "." decimals, from the value in units of 10^-decimals.
std::string unitsText(long long units, int decimals) {
  char buffer[32];
  char* end = buffer + sizeof buffer;
  char* p = end;
  unsigned long long magnitude = static_cast<unsigned long long>(units < 0 ? -units : units);
  for (int d = 0; d < decimals; ++d) {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  }
  if (decimals > 0) *--p = '.';
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (units < 0) *--p = '-';
  return std::string(p, end);
}

}  // namespace

std::string fixedText(Extended value, int decimals) {
  static constexpr Extended kScales[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
  const Extended scale = decimals >= 0 && decimals <= 7 ? kScales[decimals] : std::pow(Extended{10}, decimals);
  // A stored value has 40 significant bits, so value * 10^3 is exact in extended
  // precision and roundl gives the halfway-away rounding of the exact value.
  const Extended scaled = std::round(value * scale);
  if (scaled == 0) {
    return decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
  }
  if (std::fabs(scaled) >= 1e18L) {
    // Values this large are whole numbers already. to_chars, unlike printf, writes "."
    // whatever the C library's locale says.
    std::string text(std::numeric_limits<Extended>::max_exponent10 + 8 + decimals, '\0');
    const std::to_chars_result end =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
    text.resize(static_cast<std::size_t>(end.ptr - text.data()));
    return text;
  }
  const long long units = std::llround(scaled);
  if (decimals >= 0 && decimals <= 7) return unitsText(units, decimals);  // printf costs more than the rest
  const unsigned long long magnitude = static_cast<unsigned long long>(units < 0 ? -units : units);
  const unsigned long long divisor = static_cast<unsigned long long>(std::llround(scale));
  char buffer[64];
  if (decimals > 0) {
    std::snprintf(buffer, sizeof buffer, "%s%llu.%0*llu", units < 0 ? "-" : "", magnitude / divisor, decimals & 7,
                  magnitude % divisor);
  } else {
    std::snprintf(buffer, sizeof buffer, "%s%llu", units < 0 ? "-" : "", magnitude);
  }
  return buffer;
}

std::string integerCell(int value) {
  if (value < -9 || value > 99) return "**";
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%2d", value);
  return buffer;
}

namespace {

std::string firstFour(const std::string& text) {
  const std::size_t point = text.find('.');
  const std::size_t integerPart = point == std::string::npos ? text.size() : point;
  if (integerPart > 4) return "****";
  return text.substr(0, 4);
}

}  // namespace

std::string realCell(Extended value) { return firstFour(fixedText(value, 2)); }

std::string durationCell(Extended value) { return firstFour(fixedText(value, 3)); }

}  // namespace velko
