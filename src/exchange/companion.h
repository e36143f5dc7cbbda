// SPDX-License-Identifier: GPL-3.0-or-later
// The message protocol with the database companion: what arrives, what it
// does, and the messages the program sends. The transport is a Messenger;
// what the windows and menus do is the host's.
#pragma once

#include <string_view>

#include "context/kestrova.h"
#include "exchange/messenger.h"
#include "exchange/words.h"

namespace ks {

// What s_MasgMenu holds once the companion has answered: Speaker Select is
// offered from then on.
inline constexpr std::string_view kCompanionAnswered = "BootKstv";

class CompanionHost {
public:
    virtual ~CompanionHost() = default;
    // The set-up sequence for the driver just adopted (amplitude view).
    virtual void SetUpDesign() = 0;
    // The version check the preferences ask for at the first driver.
    virtual void StartUpdateCheck() = 0;
    // Close the default-parameter and design windows; menus without a design.
    virtual void HideWindows() = 0;
    // Close the design window (if open) without showing the menu window.
    virtual void CloseDesignWindow() = 0;
    // The menus busy, while the companion is asked to take over.
    virtual void MenuDisable() = 0;
    // Launch or activate the companion; nothing when it cannot be found.
    virtual void LaunchCompanion() = 0;
    // The quit sequence; tellCompanion false when the companion asked for it.
    virtual void QuitSequence(bool tellCompanion) = 0;
    virtual void Beep() = 0;
};

// A message out: text to every process named processName but this one; one
// beep when the message cannot be built.
void SndAppleEvent(Messenger& m, CompanionHost& h, std::string_view eventClass, std::string_view text,
                   std::string_view processName);

// The driver in the incoming set becomes the design's and the set-up
// sequence runs; the session's first design starts the update check when
// the preferences ask for it. What a driver record from the companion does,
// and a design file too.
void AdoptIncomingDriver(Kestrova& k, CompanionHost& h);

// A message in: the text cut to 255 bytes into s_Masg, then acted on.
void DoAppleEvent(Kestrova& k, Messenger& m, CompanionHost& h, std::string_view text);
// Acts on s_Masg: a driver record is adopted, a protocol word answered.
void DoAppleEventCommon(Kestrova& k, Messenger& m, CompanionHost& h);

// The Speaker Select command: hand over to the companion.
void SpeakerSelect(Kestrova& k, Messenger& m, CompanionHost& h);

// Whether Speaker Select is offered (the program works with the companion).
inline bool SpeakerSelectEnabled(const Kestrova& k) { return k.sh.s_MasgMenu == kCompanionAnswered; }

}  // namespace ks
