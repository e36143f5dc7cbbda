// SPDX-License-Identifier: GPL-3.0-or-later
// The two parameter text records: the design record "DUMMY%" that Copy
// Parameters puts on the clipboard, and the driver record "DUMMY#" that the
// database companion sends. Both are one line of at most 255 Mac Roman
// bytes; every field, the last included, ends with two blanks.
#pragma once

#include <string>
#include <string_view>

#include "context/kestrova.h"
#include "exchange/words.h"
#include "support/pstring.h"

namespace ks {

// A byte that would break the one-line record (a line end, a tab...): the
// ASCII controls, which Mac Roman shares.
inline bool IsControlByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
}

// Rounds the thirteen numeric fields of the design record into their text
// twins (s_SPL, s_FS ... s_QA), which keep the rounded texts afterwards.
void ValueToText(Design& d);

// Runs ValueToText, assembles the design record, cut at 255 bytes (possibly
// inside a field), stores it in k.sh.ClipText and returns it. A control
// character of a received text (the model name) becomes a blank there, so
// the record is always one line.
PStr MakeClipText(Kestrova& k);

// Decodes k.sh.s_Masg as a driver record. The first field goes to
// k.sh.s_Dummy; unless it is exactly "DUMMY#" nothing else changes. Then the
// model name and range go to s_SP/s_SP2 and s_RANG/s_RANG2, the thirteen
// numbers as received to s_DIA ... s_LE and, read by TextToNumber, to DIA2
// ... LE2. Bytes are stored unchanged. A field with no separator after it
// reads as empty, and so does every field after it (value 0): nothing is
// read beyond the text.
void MasageTextToParameter(Kestrova& k);

// The companion's side: a driver to send as a "DUMMY#" record. Texts are Mac
// Roman bytes; a text with two blanks in a row would split its field.
struct DriverRecordFields {
    std::string model, range;
    double dia = 0, fs = 0, vas = 0, qts = 0, qes = 0, qms = 0, effi = 0, re = 0, pemax = 0, sd = 0, xmax = 0, vd = 0,
           le = 0;
};

// The numbers in the order the record carries them, by the keys the library
// and kestrova-send name them with.
struct DriverRecordNumber {
    std::string_view key;
    double DriverRecordFields::*value;
};
// clang-format off
inline constexpr DriverRecordNumber kDriverRecordNumbers[] = {
    {"dia", &DriverRecordFields::dia},     {"fs", &DriverRecordFields::fs},     {"vas", &DriverRecordFields::vas},
    {"qts", &DriverRecordFields::qts},     {"qes", &DriverRecordFields::qes},   {"qms", &DriverRecordFields::qms},
    {"effi", &DriverRecordFields::effi},   {"re", &DriverRecordFields::re},     {"pemax", &DriverRecordFields::pemax},
    {"sd", &DriverRecordFields::sd},       {"xmax", &DriverRecordFields::xmax}, {"vd", &DriverRecordFields::vd},
    {"le", &DriverRecordFields::le},
};
// clang-format on

// Tag, model, range, then the numbers in the order above written by
// NumToText, each field followed by two blanks; cut at 255 bytes. When
// truncated is given it tells whether the full record was longer.
PStr MakeDriverRecord(const DriverRecordFields& f, bool* truncated = nullptr);

}  // namespace ks
