// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/snapshot_name.h"

#include <string>

#include "support/numtext.h"

namespace ks {

PStr SnapShotFileName(const PStr& model, const PStr& title, std::int16_t number)
{
    const PStr numText = NumToText(number);
    std::string_view num = numText.view();
    if (!num.empty() && num.front() == ' ') num.remove_prefix(1);
    std::string tail;
    tail.reserve(title.size() + num.size() + 6);
    tail.append("_").append(title.view()).append("_").append(num).append(".png");
    std::string head = model.str();
    if (head.size() + tail.size() > PStr::kMax) head.resize(tail.size() >= PStr::kMax ? 0 : PStr::kMax - tail.size());
    std::string name = head + tail;
    for (char& c : name)
        if (c == '/' || c == '\0') c = '-';
    return PStr(name);
}

}  // namespace ks
