// The four number/text conversions every display and record goes through.
// None fails: bad input gives a defined value, never a read past the end.
#pragma once

#include <cstdint>
#include <string_view>

#include "support/pstring.h"

namespace ks {

// Number to text: about ten significant digits, trailing zeros trimmed, one
// leading blank before a non-negative value.
PStr NumToText(double value);
// Format with mask ("####.### Hz" ...): result has the mask's length.
PStr FormatWithMask(std::string_view mask, double value);
// Text to number: decimal via strtod, &H/&O/&X/0x prefixes; no number gives 0.
double TextToNumber(std::string_view text);
// Text to integer: leading blanks, optional '-', base prefixes, else decimal.
std::int64_t TextToInteger(std::string_view text);

// Rounded display text: value × 10^d in single precision, rounded to nearest
// (ties to even), ÷ 10^d in double precision, then NumToText.
PStr RoundedText(float value, int decimals);
// The rounded value itself, before conversion.
double RoundedValue(float value, int decimals);

}  // namespace ks
