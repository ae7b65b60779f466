#pragma once

#include <string>

#include "model/stored_real.h"

namespace velko {

// Fixed-point text with `decimals` decimals and "." as the separator, rounded to
// nearest with halfway cases away from zero (1.125 gives 1.13); a value that rounds
// to zero carries no minus sign.
std::string fixedText(Extended value, int decimals);

// Integer right-aligned in two characters; "**" when it needs more.
std::string integerCell(int value);

// The first four characters of the value in fixed point with two decimals
// (12.46 gives 12.4); "****" when the integer part with its sign needs more than four.
std::string realCell(Extended value);

// As realCell, but cut from three decimals (5.127 gives 5.12).
std::string durationCell(Extended value);

}  // namespace velko
