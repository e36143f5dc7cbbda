// SPDX-License-Identifier: GPL-3.0-or-later
// A driver's fields as typed or imported, its record, its CSV rows, its plausible values and a Qts from Qes and Qms.
#include "library/driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>

#include "library/csv.h"
#include "library/driver_values.h"
#include "library/merge.h"

namespace lib = ks::lib;
using lib::Field;

namespace {

// A row of a model name, Fs, Qts and Re, with these fields set.
std::array<std::string, lib::kFieldCount> Row(std::initializer_list<std::pair<Field, std::string>> set)
{
    std::array<std::string, lib::kFieldCount> t{"M", "", "", "50", "", "0.4", "", "", "", "6"};
    for (const auto& [f, v] : set) t[size_t(f)] = v;
    return t;
}

// Each error as "field: reason".
std::string Said(const std::vector<lib::FieldError>& errors)
{
    std::string s;
    for (const lib::FieldError& e : errors) s += std::string(lib::Info(e.field).key) + ": " + e.reason + ";";
    return s;
}

}  // namespace

TEST(LibraryFields, ValidatedOrRefusedWithReasonAndSentAsTheRecord)
{
    lib::Driver d;
    // clang-format off
    const std::tuple<Field, const char*, double> taken[] = {  // a decimal comma, blanks around, not given, minus zero
        {Field::Fs, "47,5", 47.5}, {Field::Vas, " 12.25 ", 12.25}, {Field::Vas, "", 0.0}, {Field::Vas, "-0", 0.0}};
    // Qts from extreme Qes and Qms: finite and above 0, or the row refused, never a value the store would refuse.
    const std::tuple<const char*, const char*, double> extremes[] = {{"1e-200", "1e-200", 5e-201},
        {"1e308", "1e308", 5e307}, {"1e300", "1e10", 1e10}, {"4e-320", "4e-320", 0.0}, {"1e-320", "1e308", 0.0}};
    const std::tuple<Field, std::string, const char*> refused[] = {
        {Field::Vas, "nan", "vas: not a finite number"}, {Field::Vas, "inf", "vas: not a finite number"},
        {Field::Vas, "1e999", "vas: out of range"}, {Field::Vas, "-3", "vas: must not be negative"},
        {Field::Vas, "12 l", "vas: not a number"}, {Field::Vas, "0x10", "vas: not a number"},
        {Field::Fs, "", "fs: required, greater than 0"}, {Field::Model, "", "model: required"},
        {Field::Model, "Two  blanks", "model: two blanks in a row would split the record"},
        {Field::Model, "Tab\there", "model: holds a control character"}, {Field::Model, "\xC3\x28", "model: not UTF-8 text"},
        {Field::Range, std::string(101, 'r'), "range: longer than 100 bytes"},
        {Field::Qts, "", "qts: required, or Qes and Qms to compute it"}};  // and no Qes/Qms to compute it
    // clang-format on
    for (const auto& [field, text, value] : taken) {
        EXPECT_EQ(Said(lib::Validate(Row({{field, text}}), d)), "") << text;
        EXPECT_EQ(d.get(field), value) << text;
    }
    for (const auto& [field, text, why] : refused)
        EXPECT_EQ(Said(lib::Validate(Row({{field, text}}), d)), why + std::string(";")) << text;
    ASSERT_EQ(Said(lib::Validate(Row({{Field::Qts, ""}, {Field::Qes, "0,5"}, {Field::Qms, "2"}}), d)), "");
    EXPECT_DOUBLE_EQ(d.get(Field::Qts), 0.4);
    // Only a model name, Fs and Qts are needed; what else is missing is named, so the table can mark the driver.
    ASSERT_EQ(Said(lib::Validate(Row({{Field::Re, ""}, {Field::Qes, "0.5"}}), d)), "");
    EXPECT_EQ(lib::MissingFields(d), "Vas, Qms, Re");
    for (const auto& [qes, qms, qts] : extremes) {
        const std::string said = Said(lib::Validate(Row({{Field::Qts, ""}, {Field::Qes, qes}, {Field::Qms, qms}}), d));
        EXPECT_EQ(said, qts > 0 ? "" : "qts: Qes and Qms give no usable Qts;") << qes << " " << qms;
        EXPECT_DOUBLE_EQ(said.empty() ? d.get(Field::Qts) : 0.0, qts) << qes << " " << qms;
    }
    for (const lib::Driver& ex : lib::ExampleDrivers())
        EXPECT_EQ(Said(lib::Validate(lib::Texts(ex), d)), "") << ex.model;
    // The record sent for a valid driver, or why none can be.
    ASSERT_EQ(Said(lib::Validate(Row({{Field::Model, "Mid \xC3\xA9"}, {Field::Vas, "10"}}), d)), "");
    std::string error;  // é in Mac Roman
    EXPECT_EQ(lib::BuildRecord(d, error).value_or(ks::PStr(error)),
              "DUMMY#  Mid \x8E     0   50   10   0.4   0   0   0   6   0   0   0   0   0  ");
    for (const auto& [model, why] : {std::pair{std::string("Mid \xE2\x86\x92"), "character"},  // no Mac Roman arrow
                                     {std::string(100, 'm'), "255"}}) {
        lib::Driver bad = d;
        bad.model = model, bad.range = std::string(100, 'r');
        EXPECT_TRUE(!lib::BuildRecord(bad, error) && error.find(why) != std::string::npos) << error;
    }
}

TEST(LibraryCsv, RowsRefusedWithTheirLineOthersTaken)
{
    const lib::ImportResult r = lib::ImportCsv(
        "\xEF\xBB\xBFmodel,fs,qts,re,range\n"
        "\"Quoted, \"\"one\"\"\",50,0.4,6,\"a, b\"\r\n"
        "\"Two\nlines\",50,0.4,6,\n"
        "Bad fs,abc,0.4,6,\n"
        "\n"
        "Short,50\n"
        "Good,\"30,5\",0.3,4,x\n"
        "\"Open,1,2,3,4\n");
    ASSERT_EQ(r.fatal + " taken " + std::to_string(r.taken.size()), " taken 2");
    EXPECT_EQ(r.taken[0].model + "|" + r.taken[0].range + "|" + lib::NumberText(r.taken[1].get(Field::Fs)),
              "Quoted, \"one\"|a, b|30.5");
    const std::pair<int, const char*> refused[] = {{3, "control"}, {5, "fs"}, {7, "2 fields"}, {9, "never ends"}};
    ASSERT_EQ(r.refused.size(), std::size(refused));
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_EQ(r.refused[i].line, refused[i].first) << r.refused[i].reason;
        EXPECT_NE(r.refused[i].reason.find(refused[i].second), std::string::npos) << r.refused[i].reason;
    }
    // Header problems refuse the whole file.
    const std::pair<const char*, const char*> fatal[] = {{"", "the file is empty"},
                                                         {"fs,qts\n1,2\n", "header: no model column"},
                                                         {"model,colour\nA,red\n", "header: unknown column \"colour\""},
                                                         {"model,model\nA,B\n", "header: column \"model\" twice"}};
    for (const auto& [csv, why] : fatal) EXPECT_NE(lib::ImportCsv(csv).fatal.find(why), std::string::npos) << csv;
}

// After a malformed record the reader resumes where the quoting lets a record end: nothing quoted becomes a driver.
TEST(LibraryCsv, MalformedRecordsNeverSmuggleRows)
{
    const std::string big(5000, 'x'), commas(70, ',');
    const std::tuple<std::string, int, const char*, bool> cases[] = {
        {"\"A\"x,\"\nEvil,50,0.4\n\",1\n", 2, "closing quote", true},  // text after a closing quote, a quote opening
        {"\"" + big + "\nEvil,50,0.4\n\",1,2\n", 2, "4096", true},     // a quoted field over 4 KiB running over a line
        {commas + "\"\nEvil,50,0.4\n\"\n", 2, "64 fields", true},      // too many fields, the last opening a quote
        {"\"A\"x,\"\nEvil,50,0.4\nGood,50,0.4\n", 2, "never closes", false},  // a quote never closing takes the rest
    };
    for (const auto& [bad, line, why, goodAfter] : cases) {
        const lib::ImportResult r = lib::ImportCsv("model,fs,qts\n" + bad + "Good,50,0.4\n");
        ASSERT_EQ(r.fatal + " refused " + std::to_string(r.refused.size()), " refused 1") << why;
        EXPECT_EQ(r.refused[0].line, line) << why;
        EXPECT_NE(r.refused[0].reason.find(why), std::string::npos) << r.refused[0].reason;
        EXPECT_EQ(r.taken.empty() ? "" : r.taken[0].model, goodAfter ? "Good" : "") << why;
        EXPECT_LE(r.taken.size(), 1u);
    }
}

// A text a spreadsheet would take for a formula is written behind an apostrophe, which reading strips: every text
// comes back as it was, quotes, commas and all, and every number with all 17 digits.
TEST(LibraryCsv, FormulaCellsAreGuardedAndReadBackExactly)
{
    // clang-format off
    const std::pair<const char*, bool> models[] = {
        {"=1+1", true}, {"+49 30", true}, {"-3 dB", true}, {"@SUM(A1)", true}, {"'=x", true}, {"''+y", true},
        {"'plain", false}, {"a=b", false}, {"\xC3\x9Cn\xC3\xAF" "code, \"\xC2\xBC\"", false}};
    // clang-format on
    std::vector<lib::Driver> drivers;
    for (const auto& [model, guarded] : models) {
        lib::Driver& d = drivers.emplace_back(lib::ExampleDrivers()[1]);
        d.model = d.range = model;
        d.set(Field::Vas, 0.1 + (drivers.size() - 1) * 0.2);
    }
    const std::string csv = lib::ExportCsv(drivers);
    for (const auto& [model, guarded] : models) {
        if (std::strchr(model, ',')) continue;  // quoted: read back below
        const std::string cell = std::string(guarded ? "'" : "") + model + ",";
        EXPECT_NE(csv.find("\n" + cell + cell), std::string::npos) << model;
    }
    const lib::ImportResult back = lib::ImportCsv(csv);
    EXPECT_EQ(back.fatal + " refused " + std::to_string(back.refused.size()), " refused 0");
    EXPECT_EQ(back.taken, drivers);
    // A file of another program keeps its apostrophes where no guard is due.
    EXPECT_EQ(lib::ImportCsv("model,fs,qts\n'quoted,50,0.4\n").taken.at(0).model, "'quoted");
}

// New names added, changed ones updated (a name that comes again updates what its first row made), the same
// unchanged; where the library has a name twice, the first is matched.
TEST(LibraryMerge, ModelNamesDecideAddUpdateOrUnchanged)
{
    auto make = [](std::int64_t id, const std::string& model, double fs) {
        lib::Driver d = lib::ExampleDrivers()[1];
        d.id = id, d.model = model;
        d.set(Field::Fs, fs);
        return d;
    };
    const std::vector<lib::Driver> library{make(1, "A", 40), make(2, "B", 50), make(3, "A", 99)};
    const lib::MergePlan plan = lib::PlanMerge(library, {make(0, "A", 40), make(0, "B", 51), make(0, "C", 60),
                                                         make(0, "C", 61), make(0, "B", 51), make(0, "a", 40)});
    ASSERT_EQ(plan.added.size(), 2u);
    EXPECT_EQ(std::tuple(plan.added[0].model, plan.added[0].id, plan.added[0].get(Field::Fs)),
              std::tuple("C", 0, 61.0));
    EXPECT_EQ(plan.added[1].model, "a");  // names match exactly
    ASSERT_EQ(std::pair(plan.before.size(), plan.after.size()), std::pair(1ul, 1ul));
    EXPECT_EQ(plan.before[0], library[1]);
    EXPECT_EQ(std::tuple(plan.after[0].id, plan.after[0].get(Field::Fs)), std::tuple(2, 51.0));
    EXPECT_EQ(std::pair(plan.updated, plan.unchanged), std::pair(std::size_t(2), std::size_t(2)));
}

TEST(DriverValues, ImplausibleValuesAreNamedWithTheirRangeAndAComputedQtsKnown)
{
    for (const lib::Driver& d : lib::ExampleDrivers()) EXPECT_EQ(lib::Implausible(d), std::nullopt) << d.model;
    // clang-format off
    const struct { Field field; double value; const char* said; } cases[] = {
        {Field::Fs, 1e300, "Fs 1e+300 Hz lies outside 1 to 20000 Hz"},
        {Field::Dia, 9400, "Dia 9400 cm lies outside 0.5 to 300 cm"},  // metres read as centimetres
        {Field::Qms, 1e-200, "Qms 1e-200 lies outside 0.1 to 500"}, {Field::Vas, NAN, "Vas nan l lies outside"},
        {Field::Fs, 20000.5, "Fs 20000.5 Hz"}, {Field::Fs, 20000, ""}, {Field::Vas, 0, ""},  // 0: not given
    };
    // clang-format on
    for (const auto& c : cases) {
        lib::Driver d = lib::ExampleDrivers()[1];
        d.set(c.field, c.value);
        EXPECT_EQ(lib::Implausible(d).value_or("").substr(0, std::strlen(c.said)), c.said);
    }
    // A Qts left out is computed and known as computed, through a CSV round trip too; one typed is not.
    const lib::ImportResult r = lib::ImportCsv("model,fs,re,qts,qes,qms\nA,50,6,,0.41,3.1\nB,50,6,0.362,0.41,3.1\n");
    ASSERT_EQ(r.taken.size(), 2u);
    const lib::ImportResult back = lib::ImportCsv(lib::ExportCsv(r.taken));
    ASSERT_EQ(back.taken.size(), 2u);
    EXPECT_EQ(std::pair(lib::QtsIsComputed(back.taken[0]), lib::QtsIsComputed(back.taken[1])), std::pair(true, false));
}
