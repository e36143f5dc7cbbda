// SPDX-License-Identifier: GPL-3.0-or-later
// Sending a message to the companion: one text, tagged with the receiver's
// four-character class, to every other process of that name. Never waits.
#pragma once

#include <string_view>

namespace ks {

class Messenger {
public:
    virtual ~Messenger() = default;
    // text is Mac Roman, at most 255 bytes (longer is cut). Returns how many
    // processes received it, or -1 when the message could not be built.
    virtual int send(std::string_view processName, std::string_view eventClass, std::string_view text) = 0;
};

// Reaches nobody: the program working alone.
class NullMessenger final : public Messenger {
public:
    int send(std::string_view, std::string_view, std::string_view) override { return 0; }
};

}  // namespace ks
