// SPDX-License-Identifier: GPL-3.0-or-later
// The user's commands that shape a design after its driver is set up, as an
// interface: the shell runs them with its windows and menus, HeadlessDesign
// without any, so a design file and kestrova-render take the same steps.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/design_actions.h"

namespace ks {

class DesignCommands {
public:
    virtual ~DesignCommands() = default;
    virtual void ClosedBox() = 0;                // Misc. > Closed Box
    virtual void InfiniteBaffle() = 0;           // Misc. > Infinite Baffle
    virtual void ChooseQa(int item) = 0;         // the Qa pop-up, items 1..5
    virtual void ChooseAlignment(int item) = 0;  // Alignment menu, items 1..3
    // Types text into box entry 311 or 313 and presses Calc.
    virtual void EnterBox(std::int16_t id, const PStr& text) = 0;
    virtual void ChooseView(int item) = 0;      // View menu
    virtual void ChooseResponse(int item) = 0;  // Response menu
};

// The design window's box entries and the commands without a window: what
// kestrova-render and the kept designs of a design file are made with.
class HeadlessDesign final : public DesignView, public DesignCommands {
public:
    explicit HeadlessDesign(Kestrova& k) : k_(k) {}

    // The set-up sequence for the driver just adopted: selectors, sensitivity,
    // the amplitude view and the box entries.
    void SetUp();

    // DesignView
    void ResponseWndDisp() override;
    PStr BoxEntryText(std::int16_t id) override;
    void Beep() override { beeped = true; }
    void ShowSheetAlert(std::string_view message, std::string_view informative) override;

    // DesignCommands
    void ClosedBox() override;
    void InfiniteBaffle() override;
    void ChooseQa(int item) override;
    void ChooseAlignment(int item) override;
    void EnterBox(std::int16_t id, const PStr& text) override;
    void ChooseView(int item) override;
    void ChooseResponse(int item) override;

    // A refused box entry beeps.
    bool beeped = false;
    // The alignment sheets shown, "MESSAGE | INFORMATIVE TEXT" in UTF-8.
    std::vector<std::string> alerts;

private:
    Kestrova& k_;
    std::map<std::int16_t, PStr> entries_;
};

}  // namespace ks
