// SPDX-License-Identifier: GPL-3.0-or-later
// The version texts and the name a download is saved under.
#include "update/version.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>

#include "update/download_name.h"

using namespace ks;

// The version file's first 255 bytes are kept, its line shown up to the first control character (leading blanks
// and tabs gone); a version is its leading integer once every dot is deleted, and newer only when greater.
TEST(Versions, FileLineNumbersAndNewerOnlyWhenGreater)
{
    EXPECT_EQ(DecodeVersionFile("1.2.10" + std::string(400, 'x')).str(), "1.2.10" + std::string(249, 'x'));
    EXPECT_EQ(DecodeVersionFile("1.0\xA5").view(), "1.0\xA5");
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    std::string dotted;  // dots spread through a long run change nothing
    for (int i = 0; i < 300; ++i) dotted += "9.";
    // clang-format off
    const std::pair<std::string, std::string> lines[] = {
        {"1.2.10\nnotes follow", "1.2.10"}, {"1.2.10\r\n", "1.2.10"}, {"2.0 beta", "2.0 beta"}, {"\n1.0", ""},
        {"\t 1.3.0\n", "1.3.0"}, {std::string("1.0\0" "9", 5), "1.0"}, {"", ""},
    };
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
    const std::tuple<const char*, const char*, int> judged[] = {
        {"1.2.10", "1.2.9", 1}, {"2.0", "1.9.1", 0}, {"1.0.0", "1.0.0", 0}, {"Version 9.9", "1.0", 0}, {"1.0.1", "", 1}};
    // clang-format on
    for (const auto& [file, line] : lines) EXPECT_EQ(VersionLine(file), line) << file;
    for (const auto& [text, value] : cases) EXPECT_EQ(StringToNumerical(text), value) << text.substr(0, 40);
    for (const auto& [avail, running, newer] : judged) EXPECT_EQ(JudgeNewer(avail, running), newer) << avail;
    EXPECT_EQ(GetCFBundleVersion("CFBundleShortVersionString"), KESTROVA_VERSION);  // the running one
    EXPECT_TRUE(GetCFBundleVersion("CFBundleName").empty());
}

// The name a download is saved under: the header's (plain, quoted or extended in UTF-8, from its first 1024 bytes;
// a malformed one names nothing), else the address's, as a plain name cut keeping its extension, else the fallback.
TEST(DownloadName, FromTheHeaderOrTheAddressAsAPlainNameElseTheFallbackAndNumbered)
{
    std::string wide;
    for (int i = 0; i < 200; ++i) wide += "\xC3\xA9";
    // clang-format off
    const std::pair<std::string, std::string> headers[] = {
        {"attachment; filename=\"Kestrova 2.zip\"", "Kestrova 2.zip"}, {"attachment; filename=Kestrova.zip", "Kestrova.zip"},
        {"attachment;filename=Kestrova.zip ; size=12", "Kestrova.zip"}, {"attachment; FileName=\"a\\\"b.zip\"", "a\"b.zip"},
        {"attachment; filename=\"plain.zip\"; filename*=UTF-8''K%C3%A9strova.zip", "K\xC3\xA9strova.zip"},
        {"attachment; filename*=ISO-8859-1''x%E9.zip; filename=y.zip", "y.zip"},
        {"", ""}, {"attachment", ""}, {"attachment; filename", ""}, {"attachment; filename=\"unterminated", "unterminated"},
        {"attachment; filename*=UTF-8'broken", ""}, {"attachment;" + std::string(2000, ' ') + "filename=late.zip", ""},
    };
    const std::pair<std::string, std::string> plain[] = {
        {"Kestrova.zip", "Kestrova.zip"}, {"../../.bashrc", "bashrc"}, {"/etc/passwd", "passwd"},
        {"C:\\Users\\x\\evil.zip", "evil.zip"}, {"a\nb\tc\x7F.zip", "abc.zip"}, {"..", ""}, {"dir/", ""},
        {"  . ", ""}, {"", ""}, {std::string(400, 'k') + ".zip", std::string(251, 'k') + ".zip"},
        {wide + ".zip", wide.substr(0, 250) + ".zip"},  // never inside a UTF-8 character
    };
    const std::tuple<const char*, const char*, const char*> chosen[] = {
        {"attachment; filename=\"Kestrova-1.2.zip\"", "/downloads/apps/Kestrova.zip", "Kestrova-1.2.zip"},
        {"attachment; filename=\"../..\"", "/downloads/apps/Kestrova.zip", "Kestrova.zip"},
        {"", "/downloads/apps/Kes%20trova.zip?x=1#y", "Kes trova.zip"}, {"", "/downloads/", "F.zip"}, {"", "/a/%2E%2E", "F.zip"},
        {"", "/x/a%2Fb", "b"},  // a slash decoded is no folder
    };
    const std::tuple<const char*, int, const char*> numbered[] = {
        {"Kestrova.zip", 0, "Kestrova.zip"}, {"Kestrova.zip", 1, "Kestrova (1).zip"},
        {"Kestrova.zip", 99, "Kestrova (99).zip"}, {"README", 2, "README (2)"}, {"a.tar.gz", 3, "a.tar (3).gz"}};
    // clang-format on
    for (const auto& [header, name] : headers) EXPECT_EQ(ContentDispositionFileName(header), name) << header;
    for (const auto& [name, kept] : plain) EXPECT_EQ(SanitizeFileName(name), kept) << name.substr(0, 40);
    for (const auto& [header, path, name] : chosen) EXPECT_EQ(ChooseDownloadName(header, path, "F.zip"), name) << path;
    for (const auto& [name, n, want] : numbered) EXPECT_EQ(NumberedFileName(name, n), want) << name << " " << n;
    // At the limit the stem gives way; an "extension" longer than a real one is part of the stem.
    EXPECT_EQ(NumberedFileName(std::string(251, 'k') + ".zip", 12), std::string(246, 'k') + " (12).zip");
    EXPECT_EQ(NumberedFileName("x." + std::string(300, 'e'), 5), "x." + std::string(249, 'e') + " (5)");
}
