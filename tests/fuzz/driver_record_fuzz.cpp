// Any received text decoded as a driver record: no crash, no read past the
// text, and fields only change for the "DUMMY#" tag.
#include <cstdint>
#include <string_view>

#include "exchange/records.h"
#include "context/kestrova.h"
#include "model/response.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ks::Kestrova k;
    k.sh.s_Masg = std::string_view(reinterpret_cast<const char*>(data), size);
    const float fsBefore = k.d.FS2;
    ks::MasageTextToParameter(k);
    if (k.sh.s_Dummy.size() > 255) __builtin_trap();
    if (!(k.sh.s_Dummy == ks::kDriverTag) && k.d.FS2 != fsBefore) __builtin_trap();
    // The design record of whatever arrived stays within 255 bytes.
    ks::ParameterPass(k.d);
    if (ks::MakeClipText(k).size() > 255) __builtin_trap();
    return 0;
}
