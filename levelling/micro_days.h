#pragma once

#include <string>

#include <boost/multiprecision/cpp_int.hpp>

#include "model/stored_real.h"

namespace velko {

// A time or a duration as a whole number of millionths of a day, held exactly. The
// smoothing compares times at this resolution, the one its CSV is written in, so that
// the rounding residues of the 40-bit arithmetic (0.1 + 0.2 against 0.3) are neither
// overlaps nor broken precedences. 256 bits hold every stored value (up to 1.7e38
// days) times a million, and sums of a few of them, with no overflow.
using MicroDays = boost::multiprecision::int256_t;

inline constexpr long long kMicroPerDay = 1000000;

// The nearest whole number of millionths of a day to x, halfway cases to even (as
// std::to_chars rounds). x is finite.
MicroDays toMicroDays(Extended x);

// Whole days below (floor) or above (ceiling) m, limited to [-limit, limit].
long long floorDays(const MicroDays& m, long long limit);
long long ceilDays(const MicroDays& m, long long limit);

// m as a number of days: "2.5", "-0.000001", "47.090909", "0" (decimal point, no
// trailing zeros).
std::string microDaysText(const MicroDays& m);

// m as a number of days in extended precision (for drawing and figures).
Extended microDaysValue(const MicroDays& m);

}  // namespace velko
