// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's tables: menu commands and the design window's control hits,
// each a list of (menu and item, or control) → what runs.
#include <QApplication>

#include "app/qt/menus.h"
#include "app/qt/shell.h"

namespace ks {

using namespace menu;

namespace {

constexpr int kAny = 0;

struct CommandRow {
    int menuId;
    int index;  // kAny: every item
    void (*run)(Shell& s, int index);
};

// Menu commands. The 'quit' command comes as (kApp, kQuitItem).
// clang-format off
const CommandRow kCommands[] = {
    {kApp, kQuitItem, [](Shell& s, int) { s.QuitSequence(); }},
    {kApp, 1, [](Shell& s, int) { s.HiAboutWnd(); }},
    {kApp, 2, [](Shell& s, int) { s.CommandCheckForUpdates(); }},
    {kApp, 4, [](Shell& s, int) { s.MenuDisable(); s.PreferenceWnd(); }},
    {kFile, 1, [](Shell& s, int) { s.CommandNewBoxDesign(); }},
    {kFile, 2, [](Shell& s, int) { if (s.design()) s.ResponseWndClose(); }},
    {kFile, 4, [](Shell& s, int) { s.CommandPageSetup(); }},
    {kFile, 5, [](Shell& s, int) { s.CommandPrint(); }},
    {kFile, 7, [](Shell& s, int) { s.CommandExportResponse(); }},
    {kFile, kOpenDesignItem, [](Shell& s, int) { s.CommandOpenDesign(); }},
    {kFile, kSaveDesignItem, [](Shell& s, int) { s.CommandSaveDesign(); }},
    {kFile, kSaveDesignAsItem, [](Shell& s, int) { s.CommandSaveDesignAs(); }},
    {kEdit, kAny, [](Shell& s, int i) { s.CommandEdit(i); }},
    {kResponse, 1, [](Shell& s, int i) { s.ChooseResponse(i); }},
    {kResponse, 2, [](Shell& s, int i) { s.ChooseResponse(i); }},
    {kResponse, 3, [](Shell& s, int i) { s.ChooseResponse(i); }},
    {kResponse, 4, [](Shell& s, int i) { s.ChooseResponse(i); }},
    {kResponse, 5, [](Shell& s, int i) { s.ChooseResponse(i); }},
    {kResponse, 6, [](Shell& s, int i) { s.ChooseResponse(i); }},
    {kResponse, 8, [](Shell& s, int i) { s.ChooseResponse(i); }},
    {kResponse, 13, [](Shell& s, int i) { s.ChooseResponse(i); }},
    {kResponse, 14, [](Shell& s, int i) { s.ChooseResponse(i); }},
    {kResponse, 10, [](Shell& s, int) { s.CommandSnapShot(); }},
    {kResponse, 12, [](Shell& s, int) { s.CommandCopyParameters(); }},
    {kResponse, kKeepItem, [](Shell& s, int) { s.CommandKeepForComparison(); }},
    {kResponse, kClearKeptItem, [](Shell& s, int) { s.CommandClearComparison(); }},
    {kView, 1, [](Shell& s, int i) { s.ChooseView(i); }},
    {kView, 2, [](Shell& s, int i) { s.ChooseView(i); }},
    {kView, 4, [](Shell& s, int i) { s.ChooseView(i); }},
    {kView, 5, [](Shell& s, int i) { s.ChooseView(i); }},
    {kAlignment, 1, [](Shell& s, int i) { s.ChooseAlignment(i); }},
    {kAlignment, 2, [](Shell& s, int i) { s.ChooseAlignment(i); }},
    {kAlignment, 3, [](Shell& s, int i) { s.ChooseAlignment(i); }},
    {kMisc, 1, [](Shell& s, int) { s.ClosedBox(); }},
    {kMisc, 2, [](Shell& s, int) { s.InfiniteBaffle(); }},
    {kMisc, 4, [](Shell& s, int) { s.CommandSpeakerSelect(); }},
    {kWindow, 1, [](Shell&, int) {
         if (QWidget* w = QApplication::activeWindow()) w->showMinimized();
     }},
    {kHelp, 1, [](Shell& s, int) { s.HelpWnd(); }},
    {kHelp, 2, [](Shell& s, int) {
         s.CreateURLFromBundleResourceAndLaunch(QStringLiteral("Kestrova_Release_Notes.pdf"),
                                                QStringLiteral("Images"));
     }},
    {kHelp, 4, [](Shell& s, int) { s.LaunchMyURL(); }},
    {kHelp, 5, [](Shell& s, int) { s.MailToMaker(); }},
};
// clang-format on

struct ControlRow {
    int id;
    void (*run)(Shell& s);
};

// Control hits of the design window. The Qa pop-up comes with its item
// (onQaChosen); the small windows and the update window act on their own
// buttons and Return; the Alignment button's menu items arrive as commands.
// clang-format off
const ControlRow kControls[] = {
    {1, [](Shell& s) { s.CommandCalc(); }},
    {2, [](Shell& s) { s.CommandCopyParameters(); }},
    {11, [](Shell& s) { s.CommandSnapShot(); }},
    {13, [](Shell& s) { s.CommandSpeakerSelect(); }},
};
// clang-format on

}  // namespace

bool Shell::Command(int menuId, int index)
{
    for (const CommandRow& r : kCommands)
        if (r.menuId == menuId && (r.index == kAny || r.index == index)) {
            r.run(*this, index);
            return true;
        }
    return false;
}

bool Shell::ControlHit(int id)
{
    for (const ControlRow& r : kControls)
        if (r.id == id) {
            r.run(*this);
            return true;
        }
    return false;
}

}  // namespace ks
