// Values far outside any driver, and a Qts that follows Qes and Qms.
#include "library/driver_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "library/csv.h"

namespace lib = ks::lib;
using lib::Field;

TEST(DriverValues, ImplausibleValuesAreNamedWithTheirRange)
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
}

// A Qts left out is computed and known as computed, through a CSV round
// trip too; one typed is not, even when it is close.
TEST(DriverValues, ComputedQtsIsKnownAsComputed)
{
    const lib::ImportResult r = lib::ImportCsv("model,fs,re,qts,qes,qms\nA,50,6,,0.41,3.1\nB,50,6,0.362,0.41,3.1\n");
    ASSERT_EQ(r.taken.size(), 2u);
    EXPECT_EQ(r.taken[0].get(Field::Qts), lib::QtsFrom(0.41, 3.1));
    EXPECT_DOUBLE_EQ(lib::QtsFrom(0.41, 3.1), 1 / (1 / 0.41 + 1 / 3.1));
    const lib::ImportResult back = lib::ImportCsv(lib::ExportCsv(r.taken));
    ASSERT_EQ(back.taken.size(), 2u);
    EXPECT_TRUE(lib::QtsIsComputed(back.taken[0]));
    EXPECT_FALSE(lib::QtsIsComputed(back.taken[1]));
}
