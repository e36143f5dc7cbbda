// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/design_list.h"

#include <algorithm>

#include "support/macroman.h"

namespace ks {

void KeepForComparison(Kestrova& k, std::string name)
{
    if (k.kept.size() >= kMaxKept) k.kept.erase(k.kept.begin());
    int colour = 1;
    while (std::any_of(k.kept.begin(), k.kept.end(), [colour](const KeptDesign& e) { return e.colour == colour; }))
        ++colour;
    k.kept.push_back(KeptDesign{k.d, std::move(name), colour});
}

void AddRecentDesign(std::vector<std::string>& list, std::string_view path)
{
    DropRecentDesign(list, path);
    list.insert(list.begin(), std::string(path));
    if (list.size() > kMaxRecentDesigns) list.resize(kMaxRecentDesigns);
}

void DropRecentDesign(std::vector<std::string>& list, std::string_view path)
{
    list.erase(std::remove(list.begin(), list.end(), path), list.end());
}

std::vector<std::string> CleanRecentDesigns(const std::vector<std::string>& stored)
{
    std::vector<std::string> out;
    for (const std::string& p : stored) {
        const bool control =
            std::any_of(p.begin(), p.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
        if (p.empty() || p.front() != '/' || p.size() > kMaxRecentPathBytes || control || !IsValidUtf8(p)) continue;
        if (std::find(out.begin(), out.end(), p) != out.end()) continue;
        out.push_back(p);
        if (out.size() == kMaxRecentDesigns) break;
    }
    return out;
}

}  // namespace ks
