// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/csv.h"

#include <optional>

namespace ks::lib {
namespace {

// Splits RFC 4180 records; line counts physical lines so a refusal names
// the line the row starts on.
class CsvReader {
public:
    explicit CsvReader(std::string_view s) : s_(s)
    {
        if (s_.substr(0, 3) == "\xEF\xBB\xBF") s_.remove_prefix(3);
    }
    bool atEnd() const { return pos_ >= s_.size(); }
    int line() const { return line_; }

    // One record; false with error set when it is malformed, the reader then
    // past its end.
    bool next(std::vector<std::string>& fields, std::string& error)
    {
        fields.assign(1, std::string());
        bool quoted = false, wasQuoted = false;
        while (pos_ < s_.size()) {
            const char c = s_[pos_++];
            if (quoted) {
                if (c == '"') {
                    if (pos_ < s_.size() && s_[pos_] == '"') {
                        fields.back() += '"';
                        ++pos_;
                    } else {
                        quoted = false;
                    }
                } else {
                    if (c == '\n') ++line_;
                    fields.back() += c;
                }
                if (fields.back().size() > kMaxField) return Fail(error, "a field longer than 4096 bytes", true);
                continue;
            }
            if (c == '"' && fields.back().empty() && !wasQuoted) {
                quoted = wasQuoted = true;
            } else if (c == ',') {
                fields.emplace_back();
                wasQuoted = false;
            } else if (c == '\n' || c == '\r') {
                if (c == '\r' && pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
                ++line_;
                return true;
            } else {
                if (wasQuoted) return Fail(error, "text after a closing quote", false);
                fields.back() += c;
                if (fields.back().size() > kMaxField) return Fail(error, "a field longer than 4096 bytes", false);
            }
            if (fields.size() > kMaxFields) return Fail(error, "more than 64 fields", false);
        }
        if (quoted) return Fail(error, "a quoted field never ends", false);
        return true;
    }

private:
    static constexpr std::size_t kMaxField = 4096, kMaxFields = 64;
    // Resumes at the end of the failed record as its quoting has it: a line
    // break ends it only outside quotes, and every quote toggles (a doubled
    // one twice), so text inside a quoted field never becomes a row. A quote
    // that never closes takes the rest of the file with it.
    bool Fail(std::string& error, std::string why, bool quoted)
    {
        while (pos_ < s_.size()) {
            const char c = s_[pos_++];
            if (c == '"') {
                quoted = !quoted;
            } else if (c == '\n' || (c == '\r' && !quoted)) {
                if (c == '\r' && pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
                ++line_;
                if (!quoted) break;
            }
        }
        if (quoted) why += "; its quote never closes, so the rest of the file is refused with it";
        error = std::move(why);
        return false;
    }
    std::string_view s_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

// A text a spreadsheet would read as a formula (or as one behind an
// apostrophe already): such a cell is written with a leading apostrophe,
// which a reader strips again, so every text survives the round trip.
bool NeedsGuard(std::string_view s)
{
    if (s.empty()) return false;
    if (s.front() == '\'') return NeedsGuard(s.substr(1));
    return std::string_view("=+-@\t\r").find(s.front()) != std::string_view::npos;
}

void AppendField(std::string& out, std::string_view f)
{
    const bool quote =
        f.find_first_of(",\"\r\n") != std::string_view::npos || (!f.empty() && (f.front() == ' ' || f.back() == ' '));
    if (!quote) {
        out += f;
        return;
    }
    out += '"';
    for (char c : f) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

ImportResult ImportCsv(std::string_view bytes)
{
    ImportResult r;
    if (bytes.size() > kMaxImportBytes) {
        r.fatal = "the file is larger than 64 MiB";
        return r;
    }
    CsvReader in(bytes);
    std::vector<std::string> row;
    std::string error;
    if (in.atEnd() || !in.next(row, error)) {
        r.fatal = error.empty() ? "the file is empty" : "header: " + error;
        return r;
    }
    std::vector<Field> columns;
    for (const std::string& name : row) {
        const auto f = FieldByKey(name);
        if (!f) {
            r.fatal = "header: unknown column \"" + name.substr(0, 40) + "\"";
            return r;
        }
        for (Field seen : columns)
            if (seen == *f) {
                r.fatal = "header: column \"" + name + "\" twice";
                return r;
            }
        columns.push_back(*f);
    }
    bool hasModel = false;
    for (Field f : columns) hasModel = hasModel || f == Field::Model;
    if (!hasModel) {
        r.fatal = "header: no model column";
        return r;
    }
    std::size_t rows = 0;
    while (!in.atEnd()) {
        const int line = in.line();
        error.clear();
        if (!in.next(row, error)) {
            r.refused.push_back({line, error});
            continue;
        }
        if (row.size() == 1 && row[0].empty()) continue;  // blank line
        if (++rows > kMaxImportRows) {
            r.fatal = "more than " + std::to_string(kMaxImportRows) + " rows";
            r.taken.clear();
            return r;
        }
        if (row.size() != columns.size()) {
            r.refused.push_back(
                {line, std::to_string(row.size()) + " fields, the header names " + std::to_string(columns.size())});
            continue;
        }
        std::array<std::string, kFieldCount> texts;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            std::string& t = texts[static_cast<std::size_t>(columns[i])] = std::move(row[i]);
            if (!Info(columns[i]).numeric && t.size() > 1 && t.front() == '\'' &&
                NeedsGuard(std::string_view(t).substr(1)))
                t.erase(0, 1);
        }
        Driver d;
        const std::vector<FieldError> errors = Validate(texts, d);
        if (!errors.empty()) {
            std::string why;
            for (const FieldError& e : errors)
                why += (why.empty() ? "" : "; ") + std::string(Info(e.field).key) + ": " + e.reason;
            r.refused.push_back({line, why});
            continue;
        }
        r.taken.push_back(std::move(d));
    }
    return r;
}

std::string ExportCsv(const std::vector<Driver>& drivers)
{
    std::string out;
    for (int i = 0; i < kFieldCount; ++i) {
        if (i) out += ',';
        out += Info(static_cast<Field>(i)).key;
    }
    out += "\r\n";
    for (const Driver& d : drivers) {
        const auto texts = Texts(d);
        for (int i = 0; i < kFieldCount; ++i) {
            if (i) out += ',';
            const std::string& t = texts[static_cast<std::size_t>(i)];
            AppendField(out, !Info(static_cast<Field>(i)).numeric && NeedsGuard(t) ? "'" + t : t);
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace ks::lib
