#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/stored_real.h"

namespace velko {

// The program's decimal separator in texts the user types and reads.
inline constexpr char kDecimalSeparator = ',';

// A whole number as the user types it: leading blanks, an optional sign, then decimal
// digits or "$" and hexadecimal digits, and nothing after; the value must fit 32 bits.
// Otherwise throws "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);

// A real number with the decimal comma: blanks around it, an optional sign, digits with
// an optional comma, an optional exponent. Otherwise throws
// "'<text>' is not a valid floating point value".
Extended StrToFloat(std::string_view text);

// Lenient readings of a data file's fields: leading blanks, then the longest number at
// the start of the text; 0 when there is none. Never throws.
std::int32_t leadingInteger(std::string_view text);
Extended leadingDecimal(std::string_view text);  // "." as the decimal point

// The same readings, telling also whether a number was found and whether it was all
// the text held (trailing blanks aside; an empty or blank text counts as whole).
template <typename T>
struct LenientReading {
  T value = 0;
  bool number = false;
  bool whole = true;
};
LenientReading<std::int32_t> readLeadingInteger(std::string_view text);
LenientReading<Extended> readLeadingDecimal(std::string_view text);

// The shortest text (decimal comma, whatever the C locale) that reads back as the same
// stored value without overflow: 0,1 rather than the 40-bit residue 0,100000000000291.
std::string shortestRealText(StoredReal value);

// The same digits in scientific notation with "." ("1.6e+38"), for callers that lay the
// number out in a format of their own.
std::string shortestScientificText(StoredReal value);

}  // namespace velko
