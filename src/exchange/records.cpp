// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter text records, both directions.
#include "exchange/records.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "support/numtext.h"

namespace ks {

namespace {

// The design record's thirteen numbers, in its order, each rounded into its
// text twin.
struct DesignRecordNumber {
    f32 Design::*value;
    PStr Design::*text;
    int decimals;
};
// clang-format off
constexpr DesignRecordNumber kDesignRecordNumbers[] = {
    {&Design::SPL, &Design::s_SPL, 1}, {&Design::FS, &Design::s_FS, 2},   {&Design::VAS, &Design::s_VAS, 3},
    {&Design::QTS, &Design::s_QTS, 3}, {&Design::QES, &Design::s_QES, 3}, {&Design::QMS, &Design::s_QMS, 3},
    {&Design::EFI, &Design::s_EFI, 3}, {&Design::RE, &Design::s_RE, 3},   {&Design::LE, &Design::s_LE, 3},
    {&Design::VB, &Design::s_VB, 3},   {&Design::FC, &Design::s_FC, 2},   {&Design::QTC, &Design::s_QTC, 3},
    {&Design::QA, &Design::s_QA, 1},
};
// clang-format on

}  // namespace

void ValueToText(Design& d)
{
    for (const DesignRecordNumber& n : kDesignRecordNumbers) d.*n.text = RoundedText(d.*n.value, n.decimals);
}

PStr MakeClipText(Kestrova& k)
{
    Design& d = k.d;
    ValueToText(d);
    PStr r;
    r += kDesignTag;
    r += kFieldSeparator;
    // PStr stops appending at 255 bytes, which is the record's cut.
    std::string model(d.s_SP.view());
    std::replace_if(model.begin(), model.end(), IsControlByte, ' ');
    r += model;
    r += kFieldSeparator;
    for (const DesignRecordNumber& n : kDesignRecordNumbers) {
        r += d.*n.text;
        r += kFieldSeparator;
    }
    k.sh.ClipText = r;
    return r;
}

namespace {

// Walks a record field by field. A field runs from the cursor to the next
// two blanks; without them it is empty and the cursor goes to the end, so
// every later field is empty too.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    std::string_view next()
    {
        std::size_t sep = text_.find(kFieldSeparator, cursor_);
        if (sep == std::string_view::npos) {
            cursor_ = text_.size();
            return {};
        }
        std::string_view field = text_.substr(cursor_, sep - cursor_);
        cursor_ = sep + kFieldSeparator.size();
        return field;
    }

private:
    std::string_view text_;
    std::size_t cursor_ = 0;
};

void StoreNumber(std::string_view field, PStr& text, f32& value)
{
    text = field;
    value = static_cast<f32>(TextToNumber(field));
}

}  // namespace

void MasageTextToParameter(Kestrova& k)
{
    // Work on a copy: s_Dummy and the design texts are written while reading.
    const PStr masg = k.sh.s_Masg;
    const std::string_view text = masg.view();

    std::size_t firstSep = text.find(kFieldSeparator);
    k.sh.s_Dummy = firstSep == std::string_view::npos ? std::string_view() : text.substr(0, firstSep);
    if (k.sh.s_Dummy.view() != kDriverTag) return;

    Design& d = k.d;
    FieldReader fields(text);
    k.sh.s_Dummy = fields.next();
    d.s_SP = d.s_SP2 = fields.next();
    d.s_RANG = d.s_RANG2 = fields.next();
    for (const DriverNumber& n : kDriverNumbers) StoreNumber(fields.next(), d.*n.text, d.*n.incoming);
    // Anything after the sixteenth field is ignored.
}

PStr MakeDriverRecord(const DriverRecordFields& f, bool* truncated)
{
    std::string r;
    auto add = [&r](std::string_view field) {
        r += field;
        r += kFieldSeparator;
    };
    add(kDriverTag);
    add(f.model);
    add(f.range);
    for (const DriverRecordNumber& n : kDriverRecordNumbers) add(NumToText(f.*n.value));
    if (truncated) *truncated = r.size() > PStr::kMax;
    return PStr(r);
}

}  // namespace ks
