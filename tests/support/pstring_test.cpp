// The 255-byte text every conversion and record is built on.
#include <gtest/gtest.h>

#include <string>

#include "support/pstring.h"

namespace ks {
namespace {

TEST(PStr, CutsAt255)
{
    PStr p(std::string(300, 'x'));
    EXPECT_EQ(p.size(), 255u);
    p = "abc";
    EXPECT_EQ(p, "abc");
    p += std::string(260, 'y');
    ASSERT_EQ(p.size(), 255u);
    EXPECT_EQ(p.view().substr(0, 4), "abcy");
    p += "more";
    EXPECT_EQ(p.size(), 255u);
    EXPECT_EQ(p[254], 'y');
}

TEST(PStr, HoldsAnyByte)
{
    std::string bytes("a\0b\xFF", 4);
    PStr p(bytes);
    EXPECT_EQ(p.size(), 4u);
    EXPECT_EQ(p.view(), bytes);
    const PStr nul(static_cast<const char*>(nullptr));
    EXPECT_TRUE(nul.empty());
}

}  // namespace
}  // namespace ks
