// The four closed-box rows shared by the system profile sheet and the
// printed parameter page: label, unit, decimals and the value shown.
#pragma once

#include "context/kestrova.h"

namespace ks {

struct BoxRow {
    float x;
    const char* label;
    const char* unit;  // nullptr: none
    int decimals;
    float Design::*value;
};

inline constexpr BoxRow kBoxRows[] = {
    {200, "Vb ........................(Box Volume)", "Liter", 2, &Design::VB},
    {201, "Fc .........(Box Tuning Frequency)", "Hz", 2, &Design::FC},
    {200, "Qtc (Closed Box System Total Q)", nullptr, 3, &Design::QTC},
    {200, "Qa ...............(Box Loss Factor Q)", nullptr, 2, &Design::QA},
};

}  // namespace ks
