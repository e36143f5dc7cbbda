// SPDX-License-Identifier: GPL-3.0-or-later
// Version texts from any bytes, as the update check reads the version file: the kept text is its first 255 bytes,
// a dot anywhere changes nothing, the comparison is a strict order, the shown line holds no control character.
#include <string>

#include "fuzz_input.h"
#include "update/version.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const kt::FuzzInput in(data, size);
    const ks::PStr avail = ks::DecodeVersionFile(in.text());
    KT_REQUIRE(avail.view() == in.cut());
    const std::int64_t n = ks::StringToNumerical(avail.view());
    std::string dotted(avail.view());
    dotted.insert(size ? data[0] % (dotted.size() + 1) : 0, 1, '.');
    KT_REQUIRE(ks::StringToNumerical(dotted) == n);
    const ks::PStr bundle = ks::GetCFBundleVersion("CFBundleShortVersionString");
    const std::uint8_t newer = ks::JudgeNewer(avail.view(), bundle.view());
    KT_REQUIRE(newer == (n > ks::StringToNumerical(bundle.view()) ? 1 : 0));
    KT_REQUIRE(!(newer && ks::JudgeNewer(bundle.view(), avail.view())));
    KT_REQUIRE(ks::JudgeNewer(avail.view(), avail.view()) == 0);
    const std::string_view line = ks::VersionLine(avail.view());
    KT_REQUIRE(line.size() <= avail.size());
    for (char c : line) KT_REQUIRE(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    return 0;
}
