// A driver's fields as typed or imported, the record it is sent as, and the
// CSV rows that carry it.
#include "library/driver.h"

#include <gtest/gtest.h>

#include <tuple>

#include "library/csv.h"

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
        {Field::Vas, "0x10"}, {Field::Fs, ""}, {Field::Re, "0"}, {Field::Model, ""},
        {Field::Model, "Two  blanks"}, {Field::Model, "Tab\there"}, {Field::Model, "\xC3\x28"},
        {Field::Range, std::string(101, 'r')}, {Field::Qts, ""}};  // Qts: and no Qes/Qms to compute it
    // clang-format on
    for (const auto& [field, text] : refused) {
        const auto errors = lib::Validate(Row({{field, text}}), d);
        EXPECT_TRUE(errors.size() == 1 && errors[0].field == field && !errors[0].reason.empty()) << text;
    }
    ASSERT_TRUE(lib::Validate(Row({{Field::Qts, ""}, {Field::Qes, "0,5"}, {Field::Qms, "2"}}), d).empty());
    EXPECT_DOUBLE_EQ(d.get(Field::Qts), 0.4);
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
