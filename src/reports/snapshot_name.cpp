#include "reports/snapshot_name.h"

#include <string>

#include "support/numtext.h"

namespace ks {

PStr SnapShotFileName(const PStr& model, const PStr& title, std::int16_t number)
{
    std::string num = NumToText(number).str();
    if (!num.empty() && num[0] == ' ') num.erase(0, 1);
    const std::string tail = "_" + title.str() + "_" + num + ".png";
    std::string head = model.str();
    if (head.size() + tail.size() > PStr::kMax)
        head.resize(tail.size() >= PStr::kMax ? 0 : PStr::kMax - tail.size());
    std::string name = head + tail;
    for (char& c : name)
        if (c == '/' || c == '\0') c = '-';
    return PStr(name);
}

}  // namespace ks
