// The session's lists of designs: those kept for comparison and the recent
// design files.
#include "app/design_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/drivers.h"

namespace ks {
namespace {

// Four at most, the oldest dropped first; each keeps its colour, and a new
// one takes the first colour free.
TEST(KeptDesigns, FourAtMostOldestFirstOutEachInAColourOfItsOwn)
{
    Kestrova k;
    kt::SetUpDriver(k);
    for (int i = 1; i <= 6; ++i) {
        k.d.FS = static_cast<float>(i);
        KeepForComparison(k, "design " + std::to_string(i));
    }
    std::vector<std::pair<std::string, int>> kept;
    for (const KeptDesign& e : k.kept) kept.emplace_back(e.name, e.colour);
    // 5 took the colour 1 left, 6 the colour 2 left.
    const std::vector<std::pair<std::string, int>> want = {
        {"design 3", 3}, {"design 4", 4}, {"design 5", 1}, {"design 6", 2}};
    EXPECT_EQ(kept, want);
    EXPECT_EQ(k.kept.back().d.FS, 6.0f);  // the design as it was when kept
}

TEST(RecentDesigns, NewestFirstOnceEightAtMostAndOnlyFitPaths)
{
    std::vector<std::string> list;
    for (int i = 1; i <= 9; ++i) AddRecentDesign(list, "/d/" + std::to_string(i) + ".kestrova");
    AddRecentDesign(list, "/d/5.kestrova");
    const std::vector<std::string> want = {"/d/5.kestrova", "/d/9.kestrova", "/d/8.kestrova", "/d/7.kestrova",
                                           "/d/6.kestrova", "/d/4.kestrova", "/d/3.kestrova", "/d/2.kestrova"};
    EXPECT_EQ(list, want);
    DropRecentDesign(list, "/d/9.kestrova");
    EXPECT_EQ(list.size(), 7u);
    EXPECT_EQ(list[1], "/d/8.kestrova");

    std::vector<std::string> stored = {"/a.kestrova",
                                       "relative.kestrova",
                                       "",
                                       "/a.kestrova",
                                       "/b\nc.kestrova",
                                       "/\xff.kestrova",
                                       "/" + std::string(kMaxRecentPathBytes, 'x'),
                                       "/c.kestrova"};
    for (int i = 0; i < 10; ++i) stored.push_back("/many/" + std::to_string(i));
    const std::vector<std::string> clean = CleanRecentDesigns(stored);
    ASSERT_EQ(clean.size(), kMaxRecentDesigns);
    EXPECT_EQ(std::vector<std::string>(clean.begin(), clean.begin() + 3),
              (std::vector<std::string>{"/a.kestrova", "/c.kestrova", "/many/0"}));
}

}  // namespace
}  // namespace ks
