// SPDX-License-Identifier: GPL-3.0-or-later
// A messenger that records what is sent and reports a set number of receivers (negative: could not be built).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/messenger.h"

namespace kt {

struct Sent {
    std::string to, cls, text;
};

class RecordingMessenger final : public ks::Messenger {
public:
    int send(std::string_view to, std::string_view cls, std::string_view text) override
    {
        sent.push_back({std::string(to), std::string(cls), std::string(text)});
        return receivers;
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> t;
        for (const Sent& s : sent) t.push_back(s.text);
        return t;
    }
    std::vector<Sent> sent;
    int receivers = 1;
};

}  // namespace kt
