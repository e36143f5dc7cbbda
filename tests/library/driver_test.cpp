// A driver's fields as typed or imported, the record it is sent as, and the
// CSV rows that carry it.
#include "library/driver.h"

#include <gtest/gtest.h>

#include <tuple>

#include "library/csv.h"
#include "library/merge.h"

namespace lib = ks::lib;
using lib::Field;

static std::array<std::string, lib::kFieldCount> Row(std::initializer_list<std::pair<Field, std::string>> set)
{
    std::array<std::string, lib::kFieldCount> t;
    t[size_t(Field::Model)] = "M";
    t[size_t(Field::Fs)] = "50";
    t[size_t(Field::Qts)] = "0.4";
    t[size_t(Field::Re)] = "6";
    for (const auto& [f, v] : set) t[size_t(f)] = v;
    return t;
}

TEST(LibraryFields, ValidatedOrRefusedWithReasonAndSentAsTheRecord)
{
    lib::Driver d;
    // A decimal comma, blanks around, not given, minus zero.
    for (const auto& [field, text, value] : {std::tuple{Field::Fs, "47,5", 47.5},
                                             {Field::Vas, " 12.25 ", 12.25},
                                             {Field::Vas, "", 0.0},
                                             {Field::Vas, "-0", 0.0}})
        EXPECT_TRUE(lib::Validate(Row({{field, text}}), d).empty() && d.get(field) == value) << text;
    // clang-format off
    const std::pair<Field, std::string> refused[] = {
        {Field::Vas, "nan"}, {Field::Vas, "inf"}, {Field::Vas, "1e999"}, {Field::Vas, "-3"}, {Field::Vas, "12 l"},
        {Field::Vas, "0x10"}, {Field::Fs, ""}, {Field::Model, ""},
        {Field::Model, "Two  blanks"}, {Field::Model, "Tab\there"}, {Field::Model, "\xC3\x28"},
        {Field::Range, std::string(101, 'r')}, {Field::Qts, ""}};  // Qts: and no Qes/Qms to compute it
    // clang-format on
    for (const auto& [field, text] : refused) {
        const auto errors = lib::Validate(Row({{field, text}}), d);
        EXPECT_TRUE(errors.size() == 1 && errors[0].field == field && !errors[0].reason.empty()) << text;
    }
    ASSERT_TRUE(lib::Validate(Row({{Field::Qts, ""}, {Field::Qes, "0,5"}, {Field::Qms, "2"}}), d).empty());
    EXPECT_DOUBLE_EQ(d.get(Field::Qts), 0.4);
    // Only a model name, Fs and Qts are needed; what else is missing is
    // named, so the table can mark the driver.
    ASSERT_TRUE(lib::Validate(Row({{Field::Re, ""}, {Field::Qes, "0.5"}}), d).empty());
    EXPECT_EQ(lib::MissingFields(d), "Vas, Qms, Re");
    // Qts from extreme Qes and Qms: finite and above 0, or the row refused;
    // never a value the store's checks would stop the whole import on.
    for (const auto& [qes, qms, qts] : {std::tuple{"1e-200", "1e-200", 5e-201},
                                        {"1e308", "1e308", 5e307},
                                        {"1e300", "1e10", 1e10},
                                        {"4e-320", "4e-320", 0.0},
                                        {"1e-320", "1e308", 0.0}}) {
        const auto errors = lib::Validate(Row({{Field::Qts, ""}, {Field::Qes, qes}, {Field::Qms, qms}}), d);
        EXPECT_EQ(errors.empty(), qts > 0) << qes << " " << qms;
        EXPECT_DOUBLE_EQ(errors.empty() ? d.get(Field::Qts) : 0.0, qts) << qes << " " << qms;
    }
    for (const lib::Driver& ex : lib::ExampleDrivers())
        EXPECT_TRUE(lib::Validate(lib::Texts(ex), d).empty()) << ex.model;

    // The record sent for a valid driver, or why none can be.
    ASSERT_TRUE(lib::Validate(Row({{Field::Model, "Mid \xC3\xA9"}, {Field::Vas, "10"}}), d).empty());
    std::string error;  // é in Mac Roman
    EXPECT_EQ(lib::BuildRecord(d, error).value_or(ks::PStr(error)),
              "DUMMY#  Mid \x8E     0   50   10   0.4   0   0   0   6   0   0   0   0   0  ");
    for (const auto& [model, why] : {std::pair{std::string("Mid \xE2\x86\x92"), "character"},  // no Mac Roman arrow
                                     {std::string(100, 'm'), "255"}}) {
        lib::Driver bad = d;
        bad.model = model;
        bad.range = std::string(100, 'r');
        EXPECT_FALSE(lib::BuildRecord(bad, error));
        EXPECT_NE(error.find(why), std::string::npos) << error;
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
    ASSERT_TRUE(r.fatal.empty() && r.taken.size() == 2) << r.fatal;
    EXPECT_EQ(r.taken[0].model + "|" + r.taken[0].range + "|" + lib::NumberText(r.taken[1].get(Field::Fs)),
              "Quoted, \"one\"|a, b|30.5");
    const std::pair<int, const char*> refused[] = {{3, "control"}, {5, "fs"}, {7, "2 fields"}, {9, "never ends"}};
    ASSERT_EQ(r.refused.size(), std::size(refused));
    for (std::size_t i = 0; i < std::size(refused); ++i)
        EXPECT_TRUE(r.refused[i].line == refused[i].first &&
                    r.refused[i].reason.find(refused[i].second) != std::string::npos)
            << r.refused[i].line << " " << r.refused[i].reason;
    // Header problems refuse the whole file.
    for (const char* csv : {"", "fs,qts\n1,2\n", "model,colour\nA,red\n", "model,model\nA,B\n"})
        EXPECT_FALSE(lib::ImportCsv(csv).fatal.empty()) << csv;
}

// After a malformed record the reader resumes where the quoting lets a
// record end, so what sits inside a quoted field never becomes a driver.
TEST(LibraryCsv, MalformedRecordsNeverSmuggleRows)
{
    const std::string big(5000, 'x');
    const std::string commas(70, ',');
    // clang-format off
    const std::tuple<std::string, int, const char*, bool> cases[] = {
        // text after a closing quote, then a quote opening over a line
        {"\"A\"x,\"\nEvil,50,0.4\n\",1\n", 2, "closing quote", true},
        // a quoted field longer than 4 KiB running over a line
        {"\"" + big + "\nEvil,50,0.4\n\",1,2\n", 2, "4096", true},
        // too many fields, the last opening a quote
        {commas + "\"\nEvil,50,0.4\n\"\n", 2, "64 fields", true},
        // a quote that never closes takes the rest with it
        {"\"A\"x,\"\nEvil,50,0.4\nGood,50,0.4\n", 2, "never closes", false},
    };
    // clang-format on
    for (const auto& [bad, line, why, goodAfter] : cases) {
        const lib::ImportResult r = lib::ImportCsv("model,fs,qts\n" + bad + "Good,50,0.4\n");
        ASSERT_TRUE(r.fatal.empty()) << r.fatal;
        ASSERT_EQ(r.refused.size(), 1u) << why;
        EXPECT_EQ(r.refused[0].line, line) << why;
        EXPECT_NE(r.refused[0].reason.find(why), std::string::npos) << r.refused[0].reason;
        EXPECT_EQ(r.taken.empty() ? "" : r.taken[0].model, goodAfter ? "Good" : "") << why;
        EXPECT_LE(r.taken.size(), 1u);
    }
}

// A text a spreadsheet would take for a formula is written behind an
// apostrophe, which reading strips again: every text comes back as it was.
TEST(LibraryCsv, FormulaCellsAreGuardedAndReadBackExactly)
{
    // clang-format off
    const std::pair<const char*, bool> models[] = {
        {"=1+1", true}, {"+49 30", true}, {"-3 dB", true}, {"@SUM(A1)", true}, {"'=x", true}, {"''+y", true},
        {"'plain", false}, {"a=b", false}};
    // clang-format on
    std::vector<lib::Driver> drivers;
    for (const auto& [model, guarded] : models) {
        lib::Driver d = lib::ExampleDrivers()[1];
        d.model = model;
        d.range = model;
        drivers.push_back(d);
    }
    const std::string csv = lib::ExportCsv(drivers);
    for (const auto& [model, guarded] : models) {
        const std::string cell = std::string(guarded ? "'" : "") + model + ",";
        EXPECT_NE(csv.find("\n" + cell + cell), std::string::npos) << model;
    }
    const lib::ImportResult back = lib::ImportCsv(csv);
    ASSERT_TRUE(back.fatal.empty() && back.refused.empty());
    EXPECT_EQ(back.taken, drivers);
    // A file of another program keeps its apostrophes where no guard is due.
    EXPECT_EQ(lib::ImportCsv("model,fs,qts\n'quoted,50,0.4\n").taken.at(0).model, "'quoted");
}

// A file's rows by model name: new ones added, changed ones updated (a name
// that comes again updates what its first row made), the same unchanged;
// where the library has a name twice, the first is matched.
TEST(LibraryMerge, ModelNamesDecideAddUpdateOrUnchanged)
{
    auto make = [](std::int64_t id, const std::string& model, double fs) {
        lib::Driver d = lib::ExampleDrivers()[1];
        d.id = id;
        d.model = model;
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
    ASSERT_TRUE(plan.before.size() == 1 && plan.after.size() == 1);
    EXPECT_EQ(plan.before[0], library[1]);
    EXPECT_EQ(std::tuple(plan.after[0].id, plan.after[0].get(Field::Fs)), std::tuple(2, 51.0));
    EXPECT_TRUE(plan.updated == 2 && plan.unchanged == 2);
}
