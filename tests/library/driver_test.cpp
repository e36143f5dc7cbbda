// A driver's fields as typed or imported, the record it is sent as, and the
// CSV rows that carry it.
#include <gtest/gtest.h>

#include <tuple>

#include "context/kestrova.h"
#include "exchange/records.h"
#include "library/csv.h"
#include "library/driver.h"

namespace lib = ks::lib;
using lib::Field;

namespace {

std::array<std::string, lib::kFieldCount> Row(std::initializer_list<std::pair<Field, std::string>> set)
{
    std::array<std::string, lib::kFieldCount> t;
    t[size_t(Field::Model)] = "M";
    t[size_t(Field::Fs)] = "50";
    t[size_t(Field::Qts)] = "0.4";
    t[size_t(Field::Re)] = "6";
    for (const auto& [f, v] : set) t[size_t(f)] = v;
    return t;
}

}  // namespace

TEST(LibraryFields, ValidationRefusesWithReasonAndAccepts)
{
    // A decimal comma, blanks around, not given, minus zero.
    for (const auto& [field, text, value] : {std::tuple{Field::Fs, "47,5", 47.5}, {Field::Vas, " 12.25 ", 12.25},
                                             {Field::Vas, "", 0.0}, {Field::Vas, "-0", 0.0}}) {
        lib::Driver d;
        ASSERT_TRUE(lib::Validate(Row({{field, text}}), d).empty()) << text;
        EXPECT_EQ(d.get(field), value);
    }
    const std::pair<Field, std::string> refused[] = {
        {Field::Vas, "nan"}, {Field::Vas, "inf"}, {Field::Vas, "1e999"}, {Field::Vas, "-3"}, {Field::Vas, "12 l"},
        {Field::Vas, "0x10"}, {Field::Fs, ""}, {Field::Re, "0"}, {Field::Model, ""},
        {Field::Model, "Two  blanks"}, {Field::Model, "Tab\there"}, {Field::Model, "\xC3\x28"},
        {Field::Range, std::string(101, 'r')}, {Field::Qts, ""}};  // Qts: and no Qes/Qms to compute it
    for (const auto& r : refused) {
        lib::Driver d;
        const auto errors = lib::Validate(Row({r}), d);
        ASSERT_EQ(errors.size(), 1u) << r.second;
        EXPECT_EQ(errors[0].field, r.first) << r.second;
        EXPECT_FALSE(errors[0].reason.empty());
    }
    lib::Driver d;
    ASSERT_TRUE(lib::Validate(Row({{Field::Qts, ""}, {Field::Qes, "0,5"}, {Field::Qms, "2"}}), d).empty());
    EXPECT_DOUBLE_EQ(d.get(Field::Qts), 0.4);
    for (const lib::Driver& ex : lib::ExampleDrivers())
        EXPECT_TRUE(lib::Validate(lib::Texts(ex), d).empty()) << ex.model;
    EXPECT_EQ(lib::ExampleDrivers()[0].model, "Test2.5-07");  // the built-in driver
}

TEST(LibraryFields, RecordIsTheDriverRecordOrARefusal)
{
    lib::Driver d;
    ASSERT_TRUE(lib::Validate(Row({{Field::Model, "Mid \xC3\xA9"}, {Field::Vas, "10"}}), d).empty());
    std::string error;
    const auto rec = lib::BuildRecord(d, error);
    ASSERT_TRUE(rec) << error;
    // Decoded as the design program decodes it: the same values arrive.
    ks::Kestrova k;
    k.sh.s_Masg = *rec;
    ks::MasageTextToParameter(k);
    EXPECT_EQ(k.d.s_SP2.view(), "Mid \x8E");  // é in Mac Roman
    EXPECT_EQ((std::array{k.d.FS2, k.d.VAS2, k.d.RE2}), (std::array{50.0f, 10.0f, 6.0f}));
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
    ASSERT_TRUE(r.fatal.empty()) << r.fatal;
    ASSERT_EQ(r.taken.size(), 2u);
    EXPECT_EQ(r.taken[0].model + "|" + r.taken[0].range + "|" + lib::NumberText(r.taken[1].get(Field::Fs)),
              "Quoted, \"one\"|a, b|30.5");
    const std::pair<int, const char*> refused[] = {{3, "control"}, {5, "fs"}, {7, "2 fields"}, {9, "never ends"}};
    ASSERT_EQ(r.refused.size(), std::size(refused));
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_EQ(r.refused[i].line, refused[i].first);
        EXPECT_NE(r.refused[i].reason.find(refused[i].second), std::string::npos) << r.refused[i].reason;
    }
    // Header problems refuse the whole file.
    for (const char* csv : {"", "fs,qts\n1,2\n", "model,colour\nA,red\n", "model,model\nA,B\n"})
        EXPECT_FALSE(lib::ImportCsv(csv).fatal.empty()) << csv;
}

TEST(LibraryCsv, ExportReadsBackToTheSameDrivers)
{
    std::vector<lib::Driver> drivers = lib::ExampleDrivers();
    drivers[1].model = "Comma, \"quote\"";
    drivers[2].range = "a, \"b\"";
    drivers[3].set(Field::Vas, 0.1 + 0.2);  // needs all 17 digits
    const std::string csv = lib::ExportCsv(drivers);
    const lib::ImportResult back = lib::ImportCsv(csv);
    ASSERT_TRUE(back.fatal.empty() && back.refused.empty());
    EXPECT_EQ(back.taken, drivers);
    EXPECT_EQ(lib::ExportCsv(back.taken), csv);
}
