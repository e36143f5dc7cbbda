// The name a download is saved under.
#include <gtest/gtest.h>

#include <string>

#include "update/download_name.h"

using namespace ks;

TEST(ContentDisposition, ReadsPlainQuotedAndExtendedNames)
{
    EXPECT_EQ(ContentDispositionFileName("attachment; filename=\"Kestrova 2.zip\""), "Kestrova 2.zip");
    EXPECT_EQ(ContentDispositionFileName("attachment; filename=Kestrova.zip"), "Kestrova.zip");
    EXPECT_EQ(ContentDispositionFileName("attachment;filename=Kestrova.zip ; size=12"), "Kestrova.zip");
    EXPECT_EQ(ContentDispositionFileName("attachment; FileName=\"a\\\"b.zip\""), "a\"b.zip");
    EXPECT_EQ(ContentDispositionFileName("attachment; filename=\"plain.zip\"; filename*=UTF-8''K%C3%A9strova.zip"),
              "K\xC3\xA9strova.zip");
    // An extended name in a charset not read falls back to the plain one.
    EXPECT_EQ(ContentDispositionFileName("attachment; filename*=ISO-8859-1''x%E9.zip; filename=y.zip"), "y.zip");
}

TEST(ContentDisposition, NamesNothingWhenMalformed)
{
    EXPECT_EQ(ContentDispositionFileName(""), "");
    EXPECT_EQ(ContentDispositionFileName("attachment"), "");
    EXPECT_EQ(ContentDispositionFileName("attachment; filename"), "");
    EXPECT_EQ(ContentDispositionFileName("attachment; filename=\"unterminated"), "unterminated");
    EXPECT_EQ(ContentDispositionFileName("attachment; filename*=UTF-8'broken"), "");
    // Only the first 1024 bytes are read.
    const std::string late = "attachment;" + std::string(2000, ' ') + "filename=late.zip";
    EXPECT_EQ(ContentDispositionFileName(late), "");
}

TEST(SanitizeFileName, LeavesOnlyAPlainName)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Kestrova.zip", "Kestrova.zip"}, {"../../.bashrc", "bashrc"}, {"/etc/passwd", "passwd"},
        {"C:\\Users\\x\\evil.zip", "evil.zip"}, {"a\nb\tc\x7F.zip", "abc.zip"}, {"..", ""}, {"dir/", ""},
        {"  . ", ""}, {"", ""},
    };
    for (const auto& [name, kept] : cases) EXPECT_EQ(SanitizeFileName(name), kept) << name;
}

TEST(SanitizeFileName, CutsLongNamesKeepingTheExtension)
{
    const std::string longName = std::string(400, 'k') + ".zip";
    const std::string cut = SanitizeFileName(longName);
    EXPECT_EQ(cut.size(), kMaxFileNameBytes);
    EXPECT_EQ(cut.substr(cut.size() - 4), ".zip");
    // Never in the middle of a UTF-8 character.
    std::string wide;
    for (int i = 0; i < 200; ++i) wide += "\xC3\xA9";
    wide += ".zip";
    const std::string cutWide = SanitizeFileName(wide);
    EXPECT_LE(cutWide.size(), kMaxFileNameBytes);
    EXPECT_EQ(cutWide.substr(cutWide.size() - 4), ".zip");
    EXPECT_EQ((cutWide.size() - 4) % 2, 0u);
}

TEST(DownloadName, SuggestionThenAddressThenFallback)
{
    EXPECT_EQ(ChooseDownloadName("attachment; filename=\"Kestrova-1.2.zip\"", "/downloads/apps/Kestrova.zip", "F.zip"),
              "Kestrova-1.2.zip");
    EXPECT_EQ(ChooseDownloadName("attachment; filename=\"../..\"", "/downloads/apps/Kestrova.zip", "F.zip"),
              "Kestrova.zip");
    EXPECT_EQ(ChooseDownloadName("", "/downloads/apps/Kes%20trova.zip?x=1#y", "F.zip"), "Kes trova.zip");
    EXPECT_EQ(ChooseDownloadName("", "/downloads/", "F.zip"), "F.zip");
    EXPECT_EQ(ChooseDownloadName("", "/a/%2E%2E", "F.zip"), "F.zip");
    EXPECT_EQ(UrlPathFileName("/x/a%2Fb"), "a/b");
    EXPECT_EQ(SanitizeFileName(UrlPathFileName("/x/a%2Fb")), "b");
}

TEST(DownloadName, NumberedNames)
{
    EXPECT_EQ(NumberedFileName("Kestrova.zip", 0), "Kestrova.zip");
    EXPECT_EQ(NumberedFileName("Kestrova.zip", 1), "Kestrova (1).zip");
    EXPECT_EQ(NumberedFileName("Kestrova.zip", 99), "Kestrova (99).zip");
    EXPECT_EQ(NumberedFileName("README", 2), "README (2)");
    EXPECT_EQ(NumberedFileName("a.tar.gz", 3), "a.tar (3).gz");
    const std::string full = std::string(251, 'k') + ".zip";
    const std::string numbered = NumberedFileName(full, 12);
    EXPECT_EQ(numbered.size(), kMaxFileNameBytes);
    EXPECT_EQ(numbered.substr(numbered.size() - 9), " (12).zip");
    // An "extension" longer than a real one is part of the stem.
    const std::string oddExt = "x." + std::string(300, 'e');
    EXPECT_LE(NumberedFileName(oddExt, 5).size(), kMaxFileNameBytes);
}
