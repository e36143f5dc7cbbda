// The parameter text records, both directions.
#include "exchange/records.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "support/numtext.h"

namespace ks {

void ValueToText(Design& d)
{
    d.s_SPL = RoundedText(d.SPL, 1);
    d.s_FS = RoundedText(d.FS, 2);
    d.s_VAS = RoundedText(d.VAS, 3);
    d.s_QTS = RoundedText(d.QTS, 3);
    d.s_QES = RoundedText(d.QES, 3);
    d.s_QMS = RoundedText(d.QMS, 3);
    d.s_EFI = RoundedText(d.EFI, 3);
    d.s_RE = RoundedText(d.RE, 3);
    d.s_LE = RoundedText(d.LE, 3);
    d.s_VB = RoundedText(d.VB, 3);
    d.s_FC = RoundedText(d.FC, 2);
    d.s_QTC = RoundedText(d.QTC, 3);
    d.s_QA = RoundedText(d.QA, 1);
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
    for (const PStr* field : {&d.s_SPL, &d.s_FS, &d.s_VAS, &d.s_QTS, &d.s_QES, &d.s_QMS, &d.s_EFI, &d.s_RE, &d.s_LE,
                              &d.s_VB, &d.s_FC, &d.s_QTC, &d.s_QA}) {
        r += *field;
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
    StoreNumber(fields.next(), d.s_DIA, d.DIA2);
    StoreNumber(fields.next(), d.s_FS, d.FS2);
    StoreNumber(fields.next(), d.s_VAS, d.VAS2);
    StoreNumber(fields.next(), d.s_QTS, d.QTS2);
    StoreNumber(fields.next(), d.s_QES, d.QES2);
    StoreNumber(fields.next(), d.s_QMS, d.QMS2);
    StoreNumber(fields.next(), d.s_EFI, d.EFI2);
    StoreNumber(fields.next(), d.s_RE, d.RE2);
    StoreNumber(fields.next(), d.s_PEMX, d.PEMX2);
    StoreNumber(fields.next(), d.s_SD, d.SD2);
    StoreNumber(fields.next(), d.s_XMAX, d.XMAX2);
    StoreNumber(fields.next(), d.s_VD, d.VD2);
    StoreNumber(fields.next(), d.s_LE, d.LE2);
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
    for (double v : {f.dia, f.fs, f.vas, f.qts, f.qes, f.qms, f.effi, f.re, f.pemax, f.sd, f.xmax, f.vd, f.le})
        add(NumToText(v));
    if (truncated) *truncated = r.size() > PStr::kMax;
    return PStr(r);
}

}  // namespace ks
