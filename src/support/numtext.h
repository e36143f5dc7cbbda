// SPDX-License-Identifier: GPL-3.0-or-later
// The four number/text conversions every display and record goes through.
// None fails: bad input gives a defined value, never a read past the end.
// Digits never depend on the process locale (the point is always ".").
#pragma once

#include <cstdint>
#include <string_view>

#include "support/pstring.h"

namespace ks {

// Number to text: about ten significant digits, trailing zeros trimmed, one
// leading blank before a non-negative value. Below 2^-7 and from 2^32 up the
// exponent form " 5e-03" (9 significant digits at most). Zero and negative
// zero give " 0"; infinities " inf" / "-inf"; not-a-number " nan".
PStr NumToText(double value);
// Format with mask ("####.### Hz" ...): result has the mask's length (a mask
// over 255 bytes is cut first). "#" digit positions, the first "." the point,
// everything else copied. Too wide, infinite or not-a-number values show "?"
// in every "#" position.
PStr FormatWithMask(std::string_view mask, double value);
// Text to number: decimal via strtod, &H/&O/&X/& and 0x prefixes read as
// unsigned 64-bit and taken as signed. Only blanks and signs may come before
// the deciding character. No number gives 0; out of range gives strtod's
// result (±inf for "1e999"). At most the first 255 bytes are read.
double TextToNumber(std::string_view text);
// Text to integer: leading blanks, optional '-', base prefixes, else decimal.
// No digit gives 0; decimal digits saturate at the 64-bit limits, prefixed
// digits wrap as unsigned 64-bit (strtoull saturates at 2^64 - 1).
std::int64_t TextToInteger(std::string_view text);

// Rounded display text: value × 10^d in single precision, rounded to nearest
// (ties to even), ÷ 10^d in double precision, then NumToText. d is clamped
// to 0..10.
PStr RoundedText(float value, int decimals);
// The rounded value itself, before conversion.
double RoundedValue(float value, int decimals);

// The double whose shortest text is the float's shortest text (0.707f gives
// 0.707, not 0.70700001716...): a writer of doubles prints it with the
// float's few digits, and it reads back as the same float.
double ShortestDouble(float value);

}  // namespace ks
