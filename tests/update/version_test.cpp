// The version texts: the comparison integer, the file as read, the shown line.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>

#include "context/update_state.h"
#include "update/version.h"

using namespace ks;

TEST(StringToNumerical, DeletesEveryDotThenReadsTheLeadingInteger)
{
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    std::string dotted;  // dots spread through a long run change nothing
    for (int i = 0; i < 300; ++i) dotted += "9.";
    const std::pair<std::string, std::int64_t> cases[] = {
        {"1.2.10", 1210}, {"1.2.9", 129}, {"1.9.1", 191}, {"..3..4.", 34}, {"007", 7},
        // Stops at the first character that is no digit.
        {"1.2.10\n", 1210}, {"1.2b3", 12}, {"3.1 (build 7)", 31}, {" 1.5", 15},
        // No leading digit gives zero.
        {"", 0}, {"...", 0}, {"v1.2", 0}, {"<html>1.2</html>", 0}, {"-", 0}, {std::string("\0" "12", 3), 0},
        // Signs, and saturation at the 64-bit limits.
        {"-1.2", -12}, {"+1.2", 12}, {"9223372036854775806", kMax - 1}, {"9223372036854775808", kMax},
        {std::string(5000, '9'), kMax}, {"-" + std::string(400, '1'), std::numeric_limits<std::int64_t>::min()},
        {dotted, kMax},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(StringToNumerical(text), value) << text.substr(0, 40);
}

TEST(JudgeNewer, StrictlyGreaterIsNewer)
{
    const std::tuple<const char*, const char*, int> cases[] = {
        {"1.2.10", "1.2.9", 1}, {"2.0", "1.9.1", 0}, {"1.0.0", "1.0.0", 0}, {"Version 9.9", "1.0", 0}, {"1.0.1", "", 1},
    };
    for (const auto& [avail, running, newer] : cases) EXPECT_EQ(JudgeNewer(avail, running), newer) << avail;
}

TEST(VersionFile, KeepsTheFirst255BytesOnly)
{
    std::string file = "1.2.10";
    file += std::string(400, 'x');
    const PStr kept = DecodeVersionFile(file);
    ASSERT_EQ(kept.size(), 255u);
    EXPECT_EQ(kept.view().substr(0, 6), "1.2.10");
    EXPECT_EQ(StringToNumerical(kept), 1210);
    EXPECT_EQ(DecodeVersionFile("").size(), 0u);
    // Mac Roman bytes pass unchanged.
    EXPECT_EQ(DecodeVersionFile("1.0\xA5").view(), "1.0\xA5");
}

TEST(VersionFile, ShownLineEndsAtTheFirstControlCharacter)
{
    EXPECT_EQ(VersionLine("1.2.10\nnotes follow"), "1.2.10");
    EXPECT_EQ(VersionLine("1.2.10\r\n"), "1.2.10");
    EXPECT_EQ(VersionLine("2.0 beta"), "2.0 beta");
    EXPECT_EQ(VersionLine("\n1.0"), "");
    // Leading blanks and tabs go, as the comparison skips them.
    EXPECT_EQ(VersionLine("\t 1.3.0\n"), "1.3.0");
    EXPECT_EQ(VersionLine(std::string("1.0\0" "9", 5)), "1.0");
}

TEST(BundleVersion, TheProgramsOwnVersion)
{
    EXPECT_EQ(GetCFBundleVersion("CFBundleShortVersionString"), KESTROVA_VERSION);
    EXPECT_GT(StringToNumerical(GetCFBundleVersion("CFBundleShortVersionString")), 0);
    EXPECT_TRUE(GetCFBundleVersion("CFBundleName").empty());
}

TEST(UpdateAddresses, FollowTheServerBase)
{
    UpdateState u;
    EXPECT_EQ(u.checkVerURL, std::string(KESTROVA_UPDATE_SERVER) + "/versions/Kestrova_version.txt");
    EXPECT_EQ(u.downloadURL, std::string(KESTROVA_UPDATE_SERVER) + "/downloads/apps/Kestrova.zip");
    SetUpdateServer(u, "http://127.0.0.1:8080/");
    EXPECT_EQ(u.checkVerURL, "http://127.0.0.1:8080/versions/Kestrova_version.txt");
    EXPECT_EQ(u.downloadURL, "http://127.0.0.1:8080/downloads/apps/Kestrova.zip");
}
