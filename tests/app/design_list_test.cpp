// SPDX-License-Identifier: GPL-3.0-or-later
// The designs kept for comparison and the recent design files.
#include "app/design_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ks {
namespace {

std::string Joined(const std::vector<std::string>& list)
{
    std::string s;
    for (const std::string& e : list) s += e + " ";
    return s;
}

// Four at most, the oldest out first; each keeps its colour, a new one takes the first free.
TEST(KeptDesigns, FourAtMostOldestFirstOutEachInAColourOfItsOwn)
{
    Kestrova k;
    std::vector<std::string> kept;
    for (int i = 1; i <= 6; ++i) {
        k.d.FS = static_cast<float>(i);
        KeepForComparison(k, std::to_string(i));
    }
    for (const KeptDesign& e : k.kept) kept.push_back(e.name + ":" + std::to_string(e.colour));
    EXPECT_EQ(Joined(kept), "3:3 4:4 5:1 6:2 ");
    EXPECT_EQ(k.kept.back().d.FS, 6.0f);  // the design as it was when kept
}

TEST(RecentDesigns, NewestFirstOnceEightAtMostAndOnlyFitPaths)
{
    std::vector<std::string> list;
    for (const char* path : {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9", "/5"}) AddRecentDesign(list, path);
    DropRecentDesign(list, "/9");
    EXPECT_EQ(Joined(list), "/5 /8 /7 /6 /4 /3 /2 ");
    std::vector<std::string> stored = {"/a", "relative", "", "/a", "/b\nc", "/\xff", "/" + std::string(4096, 'x'),
                                       "/c"};
    for (char c = 'd'; c <= 'm'; ++c) stored.push_back(std::string("/") + c);
    EXPECT_EQ(Joined(CleanRecentDesigns(stored)), "/a /c /d /e /f /g /h /i ");
}

}  // namespace
}  // namespace ks
