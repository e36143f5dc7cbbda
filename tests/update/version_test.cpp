// The version texts: the comparison integer, the file as read, the shown line.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "update/update_state.h"
#include "update/version.h"

using namespace ks;

TEST(StringToNumerical, DeletesEveryDotThenReadsTheLeadingInteger)
{
    EXPECT_EQ(StringToNumerical("1.2.10"), 1210);
    EXPECT_EQ(StringToNumerical("1.2.9"), 129);
    EXPECT_EQ(StringToNumerical("1.10"), 110);
    EXPECT_EQ(StringToNumerical("1.9"), 19);
    EXPECT_EQ(StringToNumerical("2.0"), 20);
    EXPECT_EQ(StringToNumerical("1.9.1"), 191);
    EXPECT_EQ(StringToNumerical("..3..4."), 34);
    EXPECT_EQ(StringToNumerical("007"), 7);
}

TEST(StringToNumerical, StopsAtTheFirstCharacterThatIsNoDigit)
{
    EXPECT_EQ(StringToNumerical("1.2.10\n"), 1210);
    EXPECT_EQ(StringToNumerical("1.2b3"), 12);
    EXPECT_EQ(StringToNumerical("3.1 (build 7)"), 31);
    EXPECT_EQ(StringToNumerical(" 1.5"), 15);
}

TEST(StringToNumerical, NoLeadingDigitGivesZero)
{
    EXPECT_EQ(StringToNumerical(""), 0);
    EXPECT_EQ(StringToNumerical("..."), 0);
    EXPECT_EQ(StringToNumerical("v1.2"), 0);
    EXPECT_EQ(StringToNumerical("<html>1.2</html>"), 0);
    EXPECT_EQ(StringToNumerical("-"), 0);
    EXPECT_EQ(StringToNumerical(std::string("\0" "12", 3)), 0);
}

TEST(StringToNumerical, SignsAndSaturation)
{
    EXPECT_EQ(StringToNumerical("-1.2"), -12);
    EXPECT_EQ(StringToNumerical("+1.2"), 12);
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(StringToNumerical("9223372036854775807"), kMax);
    EXPECT_EQ(StringToNumerical("9223372036854775806"), kMax - 1);
    EXPECT_EQ(StringToNumerical("9223372036854775808"), kMax);
    EXPECT_EQ(StringToNumerical(std::string(5000, '9')), kMax);
    EXPECT_EQ(StringToNumerical("-" + std::string(400, '1')), std::numeric_limits<std::int64_t>::min());
    // Dots spread through a long run change nothing.
    std::string dotted;
    for (int i = 0; i < 300; ++i) dotted += "9.";
    EXPECT_EQ(StringToNumerical(dotted), kMax);
}

TEST(JudgeNewer, StrictlyGreaterIsNewer)
{
    EXPECT_EQ(JudgeNewer("1.2.10", "1.2.9"), 1);
    EXPECT_EQ(JudgeNewer("2.0", "1.9.1"), 0);
    EXPECT_EQ(JudgeNewer("1.10", "1.9"), 1);
    EXPECT_EQ(JudgeNewer("1.0.0", "1.0.0"), 0);
    EXPECT_EQ(JudgeNewer("0.9", "1.0.0"), 0);
    EXPECT_EQ(JudgeNewer("Version 9.9", "1.0"), 0);
    EXPECT_EQ(JudgeNewer("1.0.1", ""), 1);
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
    EXPECT_EQ(u.downFileZip, "Kestrova.zip");
    EXPECT_EQ(u.downFileName, "Kestrova.pkg");
}
