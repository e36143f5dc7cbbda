// A driver's fields as typed or imported, the record it is sent as, and the
// CSV rows that carry it.
#include <gtest/gtest.h>

#include "exchange/records.h"
#include "context/kestrova.h"
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
    struct Case {
        std::pair<Field, std::string> set;
        std::optional<Field> refused;  // none: accepted
        double value;                  // of the set field (or Qts) when accepted
    } cases[] = {
        {{Field::Fs, "47,5"}, {}, 47.5},          // decimal comma
        {{Field::Vas, " 12.25 "}, {}, 12.25},     // blanks around
        {{Field::Vas, ""}, {}, 0},                // not given
        {{Field::Vas, "-0"}, {}, 0},
        {{Field::Vas, "nan"}, Field::Vas, 0},
        {{Field::Vas, "inf"}, Field::Vas, 0},
        {{Field::Vas, "1e999"}, Field::Vas, 0},
        {{Field::Vas, "-3"}, Field::Vas, 0},
        {{Field::Vas, "12 l"}, Field::Vas, 0},
        {{Field::Vas, "0x10"}, Field::Vas, 0},
        {{Field::Fs, ""}, Field::Fs, 0},          // required
        {{Field::Re, "0"}, Field::Re, 0},
        {{Field::Model, ""}, Field::Model, 0},
        {{Field::Model, "Two  blanks"}, Field::Model, 0},  // would split the record
        {{Field::Model, "Tab\there"}, Field::Model, 0},
        {{Field::Model, "\xC3\x28"}, Field::Model, 0},     // not UTF-8
        {{Field::Range, std::string(101, 'r')}, Field::Range, 0},
        {{Field::Qts, ""}, Field::Qts, 0},                 // and no Qes/Qms
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set.second);
        lib::Driver d;
        const auto errors = lib::Validate(Row({c.set}), d);
        if (c.refused) {
            ASSERT_EQ(errors.size(), 1u);
            EXPECT_EQ(errors[0].field, *c.refused);
            EXPECT_FALSE(errors[0].reason.empty());
        } else {
            ASSERT_TRUE(errors.empty()) << errors[0].reason;
            EXPECT_EQ(d.get(c.set.first), c.value);
        }
    }
    // A missing Qts comes from Qes and Qms.
    lib::Driver d;
    ASSERT_TRUE(lib::Validate(Row({{Field::Qts, ""}, {Field::Qes, "0,5"}, {Field::Qms, "2"}}), d).empty());
    EXPECT_DOUBLE_EQ(d.get(Field::Qts), 0.4);
    EXPECT_EQ(d.model, "M");
}

TEST(LibraryFields, RecordIsTheDriverRecordOrARefusal)
{
    lib::Driver d;
    ASSERT_TRUE(lib::Validate(Row({{Field::Model, "Mid \xC3\xA9"}, {Field::Range, "60-4000 Hz"}, {Field::Vas, "10"}}), d).empty());
    std::string error;
    const auto rec = lib::BuildRecord(d, error);
    ASSERT_TRUE(rec) << error;
    // Decoded as the design program decodes it: the same values arrive.
    ks::Kestrova k;
    k.sh.s_Masg = *rec;
    ks::MasageTextToParameter(k);
    EXPECT_EQ(k.sh.s_Dummy.view(), "DUMMY#");
    EXPECT_EQ(k.d.s_SP2.view(), "Mid \x8E");  // é in Mac Roman
    EXPECT_EQ(k.d.FS2, 50.0f);
    EXPECT_EQ(k.d.VAS2, 10.0f);
    EXPECT_EQ(k.d.RE2, 6.0f);

    lib::Driver bad = d;
    bad.model = "Mid \xE2\x86\x92";  // an arrow: no Mac Roman character
    EXPECT_FALSE(lib::BuildRecord(bad, error));
    EXPECT_NE(error.find("character"), std::string::npos);
    bad.model = std::string(100, 'm');
    bad.range = std::string(100, 'r');
    EXPECT_FALSE(lib::BuildRecord(bad, error));
    EXPECT_NE(error.find("255"), std::string::npos);
}

TEST(LibraryCsv, RowsRefusedWithTheirLineOthersTaken)
{
    const std::string csv =
        "\xEF\xBB\xBFmodel,fs,qts,re,range\n"
        "\"Quoted, \"\"one\"\"\",50,0.4,6,\"a, b\"\r\n"
        "\"Two\nlines\",50,0.4,6,\n"
        "Bad fs,abc,0.4,6,\n"
        "\n"
        "Short,50\n"
        "Good,\"30,5\",0.3,4,x\n"
        "\"Open,1,2,3,4\n";
    const lib::ImportResult r = lib::ImportCsv(csv);
    ASSERT_TRUE(r.fatal.empty()) << r.fatal;
    ASSERT_EQ(r.taken.size(), 2u);
    EXPECT_EQ(r.taken[0].model, "Quoted, \"one\"");
    EXPECT_EQ(r.taken[0].range, "a, b");
    EXPECT_EQ(r.taken[1].get(Field::Fs), 30.5);
    const std::pair<int, const char*> refused[] = {
        {3, "control"}, {5, "fs"}, {7, "2 fields"}, {9, "never ends"}};
    ASSERT_EQ(r.refused.size(), std::size(refused));
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_EQ(r.refused[i].line, refused[i].first);
        EXPECT_NE(r.refused[i].reason.find(refused[i].second), std::string::npos) << r.refused[i].reason;
    }
}

TEST(LibraryCsv, HeaderProblemsRefuseTheFile)
{
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

TEST(LibraryFields, ExamplesHoldTheBuiltInDriverAndAreValid)
{
    const std::vector<lib::Driver> ex = lib::ExampleDrivers();
    ASSERT_GE(ex.size(), 4u);
    EXPECT_EQ(ex[0].model, "Test2.5-07");
    EXPECT_EQ(ex[0].get(Field::Qts), 0.707);
    EXPECT_EQ(ex[0].get(Field::Fs), 1000.0);
    for (const lib::Driver& d : ex) {
        lib::Driver back;
        EXPECT_TRUE(lib::Validate(lib::Texts(d), back).empty()) << d.model;
    }
}
