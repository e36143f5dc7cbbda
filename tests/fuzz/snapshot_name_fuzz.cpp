// Snapshot names from any model name: at most 255 bytes, no "/" or NUL,
// always ending in the counter and ".png".
#include <cstdint>
#include <string>
#include <string_view>

#include "reports/snapshot_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ks::PStr model(std::string_view(reinterpret_cast<const char*>(data), size));
    const ks::PStr name = ks::SnapShotFileName(model, "Step Response", static_cast<std::int16_t>(size));
    const std::string s = name.str();
    if (s.size() > 255) __builtin_trap();
    if (s.find('/') != std::string::npos || s.find('\0') != std::string::npos) __builtin_trap();
    if (!s.ends_with(".png")) __builtin_trap();
    return 0;
}
