// SPDX-License-Identifier: GPL-3.0-or-later
// A design document and the program's design, both ways: what a design
// holds, and how an opened one is brought back by the user's own steps,
// after its driver has come in as a driver from the companion does.
#pragma once

#include <vector>

#include "app/design_commands.h"
#include "context/kestrova.h"
#include "document/design_document.h"

namespace ks {

DriverPart DriverOf(const Design& d);
// The box as it shows, with the entry that gives it again: the Qtc the box
// drawn last was solved for, or the volume.
BoxPart BoxOf(const Design& d);
ViewPart ViewOf(const Design& d);
// The design in k with its kept designs (check it before it is written).
DesignDocument CaptureDesign(const Kestrova& k);

// The driver into the incoming set, as a driver record puts it there; the
// adoption and the set-up sequence are the caller's.
void LoadIncomingDriver(Design& d, const DriverPart& p);

// After the set-up: the Qa pop-up, then the box and the view, each by the
// command a user gives, in the order that draws the saved box last: the
// alignment (with its entry and Calc.) before a switch to the baffle, after
// the view settings and the response view for a closed box (before the
// profile, which shows a box without solving it). What the last
// command draws is the design as it was saved; a further redraw solves a
// Qtc box again unless ResumeShownQtc comes first.
void ApplyBoxAndView(const BoxPart& box, const ViewPart& view, DesignCommands& c);

// The kept designs as the program keeps them: each driver set up and its
// box made by a run of the same steps without a window.
std::vector<KeptDesign> MakeKeptDesigns(const std::vector<KeptPart>& parts);

// The text typed for a value: the fewest digits that read back as it.
PStr EntryText(f32 v);

}  // namespace ks
