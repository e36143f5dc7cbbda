// The 255-byte text every conversion and record is built on.
#include <gtest/gtest.h>

#include <string>

#include "support/pstring.h"

namespace ks {
namespace {

TEST(PStr, CutsAt255AndHoldsAnyByte)
{
    EXPECT_EQ(PStr(std::string(300, 'x')).size(), 255u);
    PStr p = "abc";
    p += std::string(260, 'y');
    ASSERT_EQ(p.size(), 255u);
    EXPECT_EQ(p.view().substr(0, 4), "abcy");
    p += "more";
    EXPECT_EQ(p[254], 'y');
    const std::string bytes("a\0b\xFF", 4);
    EXPECT_EQ(PStr(bytes).view(), bytes);
    EXPECT_TRUE(PStr(static_cast<const char*>(nullptr)).empty());
}

}  // namespace
}  // namespace ks
