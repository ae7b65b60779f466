#include "results/cell_format.h"

#include <cmath>
#include <cstdio>

namespace velko {

std::string fixedText(Extended value, int decimals) {
  const Extended scale = std::pow(Extended{10}, decimals);
  // A stored value has 40 significant bits, so value * 10^3 is exact in extended
  // precision and roundl gives the halfway-away rounding of the exact value.
  const Extended scaled = std::round(value * scale);
  if (scaled == 0) {
    return decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
  }
  char buffer[512];
  const int width = decimals;
  if (std::fabs(scaled) < 1e18L) {
    const long long units = std::llround(scaled);
    const unsigned long long magnitude = static_cast<unsigned long long>(units < 0 ? -units : units);
    const unsigned long long divisor = static_cast<unsigned long long>(std::llround(scale));
    if (decimals > 0) {
      std::snprintf(buffer, sizeof buffer, "%s%llu.%0*llu", units < 0 ? "-" : "", magnitude / divisor,
                    width & 7, magnitude % divisor);
    } else {
      std::snprintf(buffer, sizeof buffer, "%s%llu", units < 0 ? "-" : "", magnitude);
    }
  } else {
    // Values this large are whole numbers already.
    std::snprintf(buffer, sizeof buffer, "%.*Lf", decimals, value);
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
