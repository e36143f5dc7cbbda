// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/design_document.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <set>

#include "context/kept_design.h"
#include "graphs/dispatch.h"
#include "model/cb.h"
#include "model/response.h"
#include "support/macroman.h"
#include "support/numtext.h"

namespace ks {

namespace {

using Json = nlohmann::ordered_json;

// A document refused while it is read; the reason is the message.
struct Refusal {
    std::string why;
};

[[noreturn]] void Refuse(std::string why) { throw Refusal{std::move(why)}; }

// Deeper than any design document nests: a text of nested brackets is
// refused as it is parsed instead of being built.
constexpr int kMaxDepth = 8;

struct Named {
    std::string_view name;
    int code;
};
constexpr Named kSystems[] = {{"closed-box", 1}, {"infinite-baffle", 2}, {"rear-closed", 3}};
constexpr Named kAlignments[] = {{"optimum", 1}, {"box-volume", 2}, {"qtc", 3}};
constexpr Named kLevels[] = {{"relative", 1}, {"absolute", 2}};

template <std::size_t N>
std::string_view NameOf(const Named (&table)[N], int code)
{
    for (const Named& n : table)
        if (n.code == code) return n.name;
    return {};
}

// A field's name in a message: "box.qtc", "kept[1].driver.fs", "version".
std::string Field(const std::string& path, std::string_view key)
{
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

std::string Quoted(std::string_view s)
{
    std::string q(1, '"');
    q.append(s);
    q.push_back('"');
    return q;
}

std::string NumberText(double v)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// Line and column of a byte offset, for a syntax error.
std::string Where(std::string_view bytes, std::size_t offset)
{
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < offset && i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// ---------------------------------------------------------------- reading

const Json& Member(const Json& object, const std::string& path, std::string_view key)
{
    const auto it = object.find(key);
    if (it == object.end()) Refuse("the field " + Field(path, key) + " is missing");
    return *it;
}

const Json& Object(const Json& object, const std::string& path, std::string_view key)
{
    const Json& v = Member(object, path, key);
    if (!v.is_object()) Refuse("the field " + Field(path, key) + " must be an object");
    return v;
}

double Number(const Json& object, const std::string& path, std::string_view key)
{
    const Json& v = Member(object, path, key);
    if (!v.is_number()) Refuse("the field " + Field(path, key) + " must be a number");
    return v.get<double>();
}

std::string Text(const Json& object, const std::string& path, std::string_view key)
{
    const Json& v = Member(object, path, key);
    if (!v.is_string()) Refuse("the field " + Field(path, key) + " must be a text");
    return v.get<std::string>();
}

// A number that a single-precision field holds: finite as a double and as
// a float (beyond that it is out of range whatever the field).
f32 Single(const Json& object, const std::string& path, std::string_view key)
{
    const double v = Number(object, path, key);
    const f32 f = static_cast<f32>(v);
    if (!std::isfinite(f)) Refuse("the field " + Field(path, key) + " is out of range: " + NumberText(v));
    return f;
}

int Whole(const Json& object, const std::string& path, std::string_view key)
{
    const double v = Number(object, path, key);
    if (!(v >= -1e6 && v <= 1e6) || v != std::floor(v))
        Refuse("the field " + Field(path, key) + " is out of range: " + NumberText(v));
    return static_cast<int>(v);
}

template <std::size_t N>
int Choice(const Json& object, const std::string& path, std::string_view key, const Named (&table)[N])
{
    const std::string v = Text(object, path, key);
    for (const Named& n : table)
        if (v == n.name) return n.code;
    Refuse("the field " + Field(path, key) + " is out of range: " + Quoted(v));
}

PStr MacRomanText(const Json& object, const std::string& path, std::string_view key)
{
    const std::string v = Text(object, path, key);
    const std::optional<std::string> bytes = Utf8ToMacRoman(v);
    if (!bytes) Refuse("the field " + Field(path, key) + " has a character Kestrova cannot show");
    if (bytes->size() > PStr::kMax)
        Refuse("the field " + Field(path, key) + " is longer than " + std::to_string(PStr::kMax) + " characters");
    return PStr(*bytes);
}

DriverPart ReadDriver(const Json& object, const std::string& path)
{
    DriverPart p;
    p.model = MacRomanText(object, path, "model");
    p.range = MacRomanText(object, path, "range");
    for (std::size_t i = 0; i < kDriverKeys.size(); ++i) p.values[i] = Single(object, path, kDriverKeys[i]);
    return p;
}

BoxPart ReadBox(const Json& object, const std::string& path)
{
    BoxPart b;
    b.system = static_cast<i16>(Choice(object, path, "system", kSystems));
    b.qa = Single(object, path, "qa");
    b.alignment = static_cast<i16>(Choice(object, path, "alignment", kAlignments));
    if (b.alignment == 2) b.entry = Single(object, path, "vb");
    if (b.alignment == 3) b.entry = Single(object, path, "qtc");
    return b;
}

ViewPart ReadView(const Json& object, const std::string& path)
{
    ViewPart v;
    const std::string response = Text(object, path, "response");
    if (response.size() > PStr::kMax || !IsViewKey(response))
        Refuse("the field " + path + ".response is out of range: " + Quoted(response.substr(0, 40)));
    v.response = response;
    v.level = static_cast<i16>(Choice(object, path, "level", kLevels));
    v.scale = static_cast<i16>(Whole(object, path, "scale"));
    return v;
}

std::vector<KeptPart> ReadKept(const Json& root)
{
    std::vector<KeptPart> kept;
    const auto it = root.find("kept");
    if (it == root.end()) return kept;
    if (!it->is_array()) Refuse("the field kept must be a list");
    if (it->size() > kMaxKept) Refuse("more than " + std::to_string(kMaxKept) + " kept designs");
    for (std::size_t i = 0; i < it->size(); ++i) {
        const std::string path = "kept[" + std::to_string(i) + "]";
        const Json& entry = (*it)[i];
        if (!entry.is_object()) Refuse("the field " + path + " must be an object");
        KeptPart p;
        p.name = Text(entry, path, "name");
        if (p.name.size() > PStr::kMax)
            Refuse("the field " + path + ".name is longer than " + std::to_string(PStr::kMax) + " bytes");
        p.colour = Whole(entry, path, "colour");
        p.driver = ReadDriver(Object(entry, path, "driver"), path + ".driver");
        p.box = ReadBox(Object(entry, path, "box"), path + ".box");
        kept.push_back(std::move(p));
    }
    return kept;
}

// ---------------------------------------------------------------- ranges

std::string CheckDriverAndBox(const DriverPart& driver, const BoxPart& box, const std::string& prefix)
{
    for (std::size_t i = 0; i < kDriverKeys.size(); ++i) {
        const f32 v = driver.values[i];
        if (!(std::isfinite(v) && v >= 0.0f && static_cast<double>(v) <= kMaxDriverValue))
            return "the field " + prefix + "driver." + std::string(kDriverKeys[i]) +
                   " is out of range (0 to 1000000): " + NumberText(static_cast<double>(v));
    }
    const std::string boxPath = prefix + "box.";
    if (NameOf(kSystems, box.system).empty())
        return "the field " + boxPath + "system is out of range: " + std::to_string(box.system);
    if (QaItemOf(box.qa) == 0)
        return "the field " + boxPath +
               "qa is out of range (5, 7, 10, 15 or 20): " + NumberText(static_cast<double>(box.qa));
    if (NameOf(kAlignments, box.alignment).empty())
        return "the field " + boxPath + "alignment is out of range: " + std::to_string(box.alignment);
    if (box.alignment != 1 && !UsableBoxValue(box.entry))
        return "the field " + boxPath + (box.alignment == 2 ? "vb" : "qtc") +
               " is out of range (above 0): " + NumberText(static_cast<double>(box.entry));
    const bool hasVas = driver.values[2] > 0.0f;
    if (box.system == 3 && hasVas) return "a driver with a Vas is designed as a closed box or on a baffle";
    if (box.system != 3 && !hasVas) return "a driver without a Vas is a rear-closed unit, in no box";
    if (box.system == 3 && box.alignment != 1) return "a rear-closed unit has no box to align";
    return {};
}

// ---------------------------------------------------------------- writing

Json DriverJson(const DriverPart& d)
{
    Json j;
    j["model"] = MacRomanToUtf8(d.model.view());
    j["range"] = MacRomanToUtf8(d.range.view());
    for (std::size_t i = 0; i < kDriverKeys.size(); ++i) j[std::string(kDriverKeys[i])] = ShortestDouble(d.values[i]);
    return j;
}

Json BoxJson(const BoxPart& b)
{
    Json j;
    j["system"] = NameOf(kSystems, b.system);
    j["qa"] = ShortestDouble(b.qa);
    j["alignment"] = NameOf(kAlignments, b.alignment);
    if (b.alignment == 2) j["vb"] = ShortestDouble(b.entry);
    if (b.alignment == 3) j["qtc"] = ShortestDouble(b.entry);
    return j;
}

}  // namespace

DocumentRead ReadDesignDocument(std::string_view bytes)
{
    DocumentRead out;
    if (bytes.size() > kMaxDesignBytes) {
        out.error = "it is larger than 1 MiB";
        return out;
    }
    try {
        bool tooDeep = false;
        const Json::parser_callback_t depth = [&tooDeep](int d, Json::parse_event_t, Json&) {
            if (d <= kMaxDepth) return true;
            tooDeep = true;
            return false;
        };
        Json root;
        try {
            root = Json::parse(bytes.begin(), bytes.end(), depth);
        } catch (const Json::parse_error& e) {
            Refuse("it is not a JSON document (syntax error at " + Where(bytes, e.byte > 0 ? e.byte - 1 : 0) + ")");
        } catch (const Json::exception&) {
            Refuse("it is not a JSON document (a number is beyond any range)");
        }
        if (!root.is_object() || root.find("format") == root.end() || !root["format"].is_string() ||
            root["format"].get<std::string>() != kDesignFormat)
            Refuse("it is not a Kestrova design (no format \"" + std::string(kDesignFormat) + "\")");
        if (tooDeep) Refuse("it nests deeper than a design does");
        const int version = Whole(root, "", "version");
        if (version > kDesignVersion)
            Refuse("it was written by a newer Kestrova (design format version " + std::to_string(version) +
                   "; this one reads version " + std::to_string(kDesignVersion) + ")");
        if (version < 1) Refuse("the field version is out of range: " + std::to_string(version));

        DesignDocument doc;
        doc.driver = ReadDriver(Object(root, "", "driver"), "driver");
        doc.box = ReadBox(Object(root, "", "box"), "box");
        doc.view = ReadView(Object(root, "", "view"), "view");
        doc.kept = ReadKept(root);
        if (std::string why = CheckDesignDocument(doc); !why.empty()) Refuse(std::move(why));
        out.doc = std::move(doc);
    } catch (const Refusal& r) {
        out.error = r.why;
    }
    return out;
}

std::string CheckDesignDocument(const DesignDocument& doc)
{
    if (std::string why = CheckDriverAndBox(doc.driver, doc.box, ""); !why.empty()) return why;
    if (!IsViewKey(doc.view.response.view()))
        return "the field view.response is out of range: " + Quoted(MacRomanToUtf8(doc.view.response.view()));
    if (doc.view.level != 1 && doc.view.level != 2)
        return "the field view.level is out of range: " + std::to_string(doc.view.level);
    if (doc.view.scale != 5 && doc.view.scale != 10)
        return "the field view.scale is out of range (5 or 10): " + std::to_string(doc.view.scale);
    if (doc.kept.size() > kMaxKept) return "more than " + std::to_string(kMaxKept) + " kept designs";
    std::set<int> colours;
    for (std::size_t i = 0; i < doc.kept.size(); ++i) {
        const KeptPart& p = doc.kept[i];
        const std::string prefix = "kept[" + std::to_string(i) + "].";
        if (std::string why = CheckDriverAndBox(p.driver, p.box, prefix); !why.empty()) return why;
        if (p.colour < 1 || p.colour > static_cast<int>(kMaxKept) || !colours.insert(p.colour).second)
            return "the field " + prefix + "colour is out of range (1 to 4, one each): " + std::to_string(p.colour);
        if (p.name.size() > PStr::kMax || !IsValidUtf8(p.name))
            return "the field " + prefix + "name is not a text of at most 255 bytes";
    }
    return {};
}

std::string WriteDesignDocument(const DesignDocument& doc)
{
    Json j;
    j["format"] = kDesignFormat;
    j["version"] = kDesignVersion;
    j["driver"] = DriverJson(doc.driver);
    j["box"] = BoxJson(doc.box);
    Json view;
    view["response"] = MacRomanToUtf8(doc.view.response.view());
    view["level"] = NameOf(kLevels, doc.view.level);
    view["scale"] = doc.view.scale;
    j["view"] = std::move(view);
    if (!doc.kept.empty()) {
        Json kept = Json::array();
        for (const KeptPart& p : doc.kept) {
            Json e;
            e["name"] = p.name;
            e["colour"] = p.colour;
            e["driver"] = DriverJson(p.driver);
            e["box"] = BoxJson(p.box);
            kept.push_back(std::move(e));
        }
        j["kept"] = std::move(kept);
    }
    return j.dump(2) + "\n";
}

}  // namespace ks
