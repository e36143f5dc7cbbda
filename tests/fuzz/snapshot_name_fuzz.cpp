// Snapshot names from any model name: at most 255 bytes, no "/" or NUL,
// always ending in ".png".
#include <string>

#include "fuzz_input.h"
#include "reports/snapshot_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const kt::FuzzInput in(data, size);
    const std::string s =
        ks::SnapShotFileName(ks::PStr(in.text()), "Step Response", static_cast<std::int16_t>(size)).str();
    KT_REQUIRE(s.size() <= 255 && s.ends_with(".png"));
    KT_REQUIRE(s.find('/') == std::string::npos && s.find('\0') == std::string::npos);
    return 0;
}
