#include "model/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "model/command_error.h"

namespace velko {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

[[noreturn]] void refuseInteger(std::string_view text) {
  throw CommandError("'" + std::string(text) + "' is not a valid integer value");
}

[[noreturn]] void refuseFloat(std::string_view text) {
  throw CommandError("'" + std::string(text) + "' is not a valid floating point value");
}

// Scans a decimal number [sign] digits [point digits] [e [sign] digits] from pos and
// returns its text with "." as the point; empty when there is no digit in the mantissa.
// `pos` is left after the last character taken.
std::string scanDecimal(std::string_view s, std::size_t& pos, char point) {
  std::string number;
  std::size_t p = pos;
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) number += s[p++];
  int mantissaDigits = 0;
  while (p < s.size() && isDigit(s[p])) {
    number += s[p++];
    ++mantissaDigits;
  }
  if (p < s.size() && s[p] == point) {
    number += '.';
    ++p;
    while (p < s.size() && isDigit(s[p])) {
      number += s[p++];
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return {};
  if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
    std::size_t q = p + 1;
    std::string exponent = "e";
    if (q < s.size() && (s[q] == '+' || s[q] == '-')) exponent += s[q++];
    const std::size_t digitsStart = q;
    while (q < s.size() && isDigit(s[q])) exponent += s[q++];
    if (q > digitsStart) {
      number += exponent;
      p = q;
    }
  }
  pos = p;
  return number;
}

// Converts a scanned decimal text; returns false when it is out of the extended range.
bool toExtended(const std::string& number, Extended& value) {
  const char* first = number.data();
  const char* last = first + number.size();
  if (*first == '+') ++first;  // from_chars takes no plus sign
  const auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last;
}

bool onlyBlanksFrom(std::string_view text, std::size_t pos) {
  for (; pos < text.size(); ++pos) {
    if (text[pos] != ' ') return false;
  }
  return true;
}

// Whether a number text reads back, as the readers read it, to the stored value `v`
// (a text whose reading would overflow the format does not).
bool readsBackAs(std::string_view text, double v) {
  Extended back = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), back);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  const std::optional<Extended> stored = roundedToStorage(back);
  return stored && static_cast<double>(*stored) == v;
}

}  // namespace

std::int32_t StrToInt(std::string_view text) {
  std::size_t p = 0;
  while (p < text.size() && text[p] == ' ') ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  const bool hex = p < text.size() && text[p] == '$';
  if (hex) ++p;
  if (p == text.size()) refuseInteger(text);
  const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
  std::int64_t magnitude = 0;
  for (; p < text.size(); ++p) {
    const int digit = hex ? hexValue(text[p]) : (isDigit(text[p]) ? text[p] - '0' : -1);
    if (digit < 0) refuseInteger(text);
    magnitude = magnitude * (hex ? 16 : 10) + digit;
    if (magnitude > limit) refuseInteger(text);
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

Extended StrToFloat(std::string_view text) {
  std::size_t p = 0;
  while (p < text.size() && text[p] == ' ') ++p;
  const std::string number = scanDecimal(text, p, kDecimalSeparator);
  while (p < text.size() && text[p] == ' ') ++p;
  Extended value = 0;
  if (number.empty() || p != text.size() || !toExtended(number, value)) refuseFloat(text);
  return value;
}

LenientReading<std::int32_t> readLeadingInteger(std::string_view text) {
  LenientReading<std::int32_t> reading;
  std::size_t p = 0;
  while (p < text.size() && text[p] == ' ') ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  std::int64_t magnitude = 0;
  // Digits that would leave 32 bits end the number, as any other character does.
  for (; p < text.size() && isDigit(text[p]); ++p) {
    const std::int64_t next = magnitude * 10 + (text[p] - '0');
    if (next > (std::int64_t{1} << 31) - 1) break;
    magnitude = next;
    reading.number = true;
  }
  reading.value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
  reading.whole = onlyBlanksFrom(text, reading.number ? p : 0);
  return reading;
}

LenientReading<Extended> readLeadingDecimal(std::string_view text) {
  LenientReading<Extended> reading;
  std::size_t p = 0;
  while (p < text.size() && text[p] == ' ') ++p;
  const std::string number = scanDecimal(text, p, '.');
  reading.number = !number.empty() && toExtended(number, reading.value);
  if (!reading.number) reading.value = 0;
  reading.whole = onlyBlanksFrom(text, reading.number ? p : 0);
  return reading;
}

std::int32_t leadingInteger(std::string_view text) { return readLeadingInteger(text).value; }

Extended leadingDecimal(std::string_view text) { return readLeadingDecimal(text).value; }

std::string shortestScientificText(StoredReal value) {
  const double v = value.value();
  // d.ddde±XX from to_chars, which ignores the locale. Forty bits never need more
  // than 14 digits; the last try is the exact value's own rounding.
  char buffer[64];
  char* end = buffer;
  for (int digits = 1; digits <= 17; ++digits) {
    end = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, digits - 1).ptr;
    if (readsBackAs(std::string_view(buffer, static_cast<std::size_t>(end - buffer)), v)) break;
  }
  return std::string(buffer, end);
}

std::string shortestRealText(StoredReal value) {
  const double v = value.value();
  if (v == 0) return "0";
  const std::string scientific = shortestScientificText(value);
  const std::string_view s(scientific);
  const std::size_t e = s.find('e');
  int exponent = 0;
  const char* exponentText = s.data() + e + 1;
  if (*exponentText == '+') ++exponentText;
  std::from_chars(exponentText, s.data() + s.size(), exponent);
  std::string digits;
  for (const char c : s.substr(0, e)) {
    if (isDigit(c)) digits += c;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  // Laid out as general format does: plain notation unless the exponent is 15 or more
  // or the value is below 0.00001.
  std::string out = v < 0 ? "-" : "";
  if (exponent >= 15 || exponent < -5) {
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += kDecimalSeparator + digits.substr(1);
    out += 'E' + std::to_string(exponent);
  } else if (exponent < 0) {
    out += "0" + std::string(1, kDecimalSeparator) + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else {
    const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
      out += digits + std::string(integerDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, integerDigits) + kDecimalSeparator + digits.substr(integerDigits);
    }
  }
  return out;
}

}  // namespace velko
