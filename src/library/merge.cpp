// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/merge.h"

#include <string_view>
#include <unordered_map>

namespace ks::lib {

bool SameValues(const Driver& a, const Driver& b) { return a.model == b.model && a.range == b.range && a.num == b.num; }

MergePlan PlanMerge(const std::vector<Driver>& library, std::vector<Driver> incoming)
{
    // Where a name's current row lives: in the library as stored, among the
    // rows this file adds, or among the stored rows it changes.
    enum class In { Stored, Added, Changed };
    struct Where {
        In in;
        std::size_t index;
    };
    MergePlan plan;
    std::unordered_map<std::string_view, Where> byName;
    byName.reserve(library.size() + incoming.size());
    for (std::size_t i = 0; i < library.size(); ++i) byName.try_emplace(library[i].model, Where{In::Stored, i});
    // Keys view the models in place: `added` and `after` must not move
    // their strings, so both are reserved up front.
    plan.added.reserve(incoming.size());
    plan.after.reserve(incoming.size());
    plan.before.reserve(incoming.size());
    for (Driver& d : incoming) {
        const auto it = byName.find(d.model);
        if (it == byName.end()) {
            d.id = 0;
            plan.added.push_back(std::move(d));
            byName.emplace(plan.added.back().model, Where{In::Added, plan.added.size() - 1});
            continue;
        }
        Where& w = it->second;
        const Driver& now = w.in == In::Stored  ? library[w.index]
                            : w.in == In::Added ? plan.added[w.index]
                                                : plan.after[w.index];
        if (SameValues(now, d)) {
            ++plan.unchanged;
            continue;
        }
        ++plan.updated;
        if (w.in == In::Stored) {
            d.id = now.id;
            plan.before.push_back(library[w.index]);
            plan.after.push_back(std::move(d));
            w = {In::Changed, plan.after.size() - 1};
            continue;
        }
        // The model (the key's text) stays where it is; the rest follows the
        // later row.
        Driver& row = w.in == In::Added ? plan.added[w.index] : plan.after[w.index];
        row.range = std::move(d.range);
        row.num = d.num;
    }
    return plan;
}

}  // namespace ks::lib
