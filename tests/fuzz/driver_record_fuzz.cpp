// SPDX-License-Identifier: GPL-3.0-or-later
// Any received text decoded as a driver record: no crash, no read past the text, fields only change for the
// "DUMMY#" tag, and the design record made afterwards stays within 255 bytes.
#include "context/kestrova.h"
#include "exchange/records.h"
#include "fuzz_input.h"
#include "model/response.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const kt::FuzzInput in(data, size);
    ks::Kestrova k;
    k.sh.s_Masg = in.text();
    const float fsBefore = k.d.FS2;
    ks::MasageTextToParameter(k);
    KT_REQUIRE(k.sh.s_Dummy.size() <= 255);
    KT_REQUIRE(k.sh.s_Dummy == ks::kDriverTag || k.d.FS2 == fsBefore);
    ks::ParameterPass(k.d);
    KT_REQUIRE(ks::MakeClipText(k).size() <= 255);
    return 0;
}
