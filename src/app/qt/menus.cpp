// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/menus.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <string_view>

#include "context/kestrova.h"
#include "exchange/companion.h"
#include "model/response.h"

namespace ks {

using namespace menu;

QStringList QaPopupItems()
{
    return {QStringLiteral("      5"), QStringLiteral("      7"), QStringLiteral("    10"), QStringLiteral("    15"),
            QStringLiteral("    20")};
}

namespace {

// When an item or a menu can be chosen. `open` tells the two states apart:
// a design in progress (InitMenu16) or the menus without one (InitMenu11).
using Rule = bool (*)(const Kestrova& k, bool open);

bool Never(const Kestrova&, bool) { return false; }
bool WithDesign(const Kestrova&, bool open) { return open; }
bool WithoutDesign(const Kestrova&, bool open) { return !open; }
bool ImpedanceShown(const Kestrova& k, bool) { return ImpedanceKnown(k.d); }
bool CompanionAnswers(const Kestrova& k, bool) { return SpeakerSelectEnabled(k); }
bool HasRecentDesigns(const Kestrova& k, bool) { return !k.prefs.RecentDesigns.empty(); }
bool HasKeptDesigns(const Kestrova& k, bool) { return !k.kept.empty(); }

// Closed Box and Infinite Baffle: not for a rear-closed unit, nor while the
// design window is closed; a closed box needs a Vas.
bool SystemChoice(const Kestrova& k, bool open)
{
    if (!open && k.sh.RespWndCloseFlag == 1) return false;
    return k.d.boxSys != 3;
}
bool ClosedBoxChoice(const Kestrova& k, bool open)
{
    if (!SystemChoice(k, open)) return false;
    if (k.d.boxSys != 1 && k.d.boxSys != 2) return true;
    const double vas = static_cast<double>(k.d.VAS);
    return !(open ? vas <= 0.0 : vas == 0.0);
}

// The menus: File while a design is open or its window was closed, View for
// the amplitude view only, Alignment for a closed box only.
bool FileMenu(const Kestrova& k, bool open) { return open || k.sh.RespWndCloseFlag == 1; }
bool ViewMenu(const Kestrova& k, bool open) { return open && k.d.s_Resp == "amp"; }
bool AlignmentMenu(const Kestrova& k, bool open) { return open && k.d.boxSys == 1; }

struct ItemDef {
    int menuId;
    int index;
    const char* text;  // "-" is a separator
    const char* keys;  // Command is Ctrl, Option is Alt
    bool mark;         // can carry a check mark
    Rule on;           // nullptr: always
};

// The bar, menu by menu. The application items live where a Linux user
// looks for them: Quit in File, Preferences in Edit, About and Check for
// Updates in Help; they keep their own numbers (menu kApp) and come back
// with every rebuild, so a bar restored after a dialog lets the user quit.
// In Edit only Copy follows the state: the rest act on a focused field.
// clang-format off
constexpr ItemDef kItems[] = {
    {kFile, 1, "New Box Design...", "Ctrl+N", false, WithoutDesign},
    {kFile, kOpenDesignItem, "Open Design...", "Ctrl+O", false, nullptr},
    {kFile, kOpenRecentItem, "Open Recent", "", false, HasRecentDesigns},
    {kFile, 2, "Close", "Ctrl+W", false, WithDesign},
    {kFile, 3, "-", "", false, nullptr},
    {kFile, kSaveDesignItem, "Save Design", "Ctrl+S", false, WithDesign},
    {kFile, kSaveDesignAsItem, "Save Design As...", "Ctrl+Shift+S", false, WithDesign},
    {kFile, 24, "-", "", false, nullptr},
    {kFile, 4, "Page Setup...", "Ctrl+Shift+P", false, WithDesign},
    {kFile, 5, "Print...", "Ctrl+P", false, WithDesign},
    {kFile, 7, "Export Response Data...", "Ctrl+E", false, WithDesign},
    {kFile, 6, "-", "", false, nullptr},
    {kApp, kQuitItem, "Quit", "Ctrl+Q", false, nullptr},
    {kEdit, 1, "Undo", "Ctrl+Z", false, Never},
    {kEdit, 2, "Redo", "Ctrl+Shift+Z", false, Never},
    {kEdit, 3, "-", "", false, nullptr},
    {kEdit, 4, "Cut", "Ctrl+X", false, Never},
    {kEdit, 5, "Copy", "Ctrl+C", false, WithDesign},
    {kEdit, 6, "Paste", "Ctrl+V", false, Never},
    {kEdit, 7, "Delete", "", false, Never},
    {kEdit, 8, "Select All", "Ctrl+A", false, Never},
    {kEdit, 9, "-", "", false, nullptr},
    {kApp, 4, "Preferences...", "Ctrl+,", false, nullptr},
    {kResponse, 1, "Amplitude", "Ctrl+Alt+A", true, nullptr},
    {kResponse, 2, "Impedance", "", true, ImpedanceShown},
    {kResponse, 3, "Phase", "", true, nullptr},
    {kResponse, 4, "Group Delay", "", true, nullptr},
    {kResponse, 5, "Nyquist Diagram", "", true, nullptr},
    {kResponse, 6, "Step Response", "", true, nullptr},
    {kResponse, 13, "Cone Excursion", "Ctrl+Alt+X", true, nullptr},
    {kResponse, 14, "Maximum SPL", "Ctrl+Alt+M", true, nullptr},
    {kResponse, 7, "-", "", false, nullptr},
    {kResponse, 8, "System Profile", "Ctrl+Alt+P", true, nullptr},
    {kResponse, 9, "-", "", false, nullptr},
    {kResponse, 10, "Snapshot Response...", "Ctrl+Alt+S", false, nullptr},
    {kResponse, 11, "-", "", false, nullptr},
    {kResponse, 12, "Copy Parameters", "Ctrl+Alt+C", false, nullptr},
    {kResponse, 19, "-", "", false, nullptr},
    {kResponse, kKeepItem, "Keep for Comparison", "Ctrl+Alt+K", false, nullptr},
    {kResponse, kClearKeptItem, "Clear Comparison", "Ctrl+Alt+Shift+K", false, HasKeptDesigns},
    {kView, 1, "Relative", "Ctrl+J", true, nullptr},
    {kView, 2, "Absolute", "Ctrl+K", true, nullptr},
    {kView, 3, "-", "", false, nullptr},
    {kView, 4, "5dB per div", "Ctrl+Shift+5", true, nullptr},
    {kView, 5, "10dB per div", "Ctrl+Shift+1", true, nullptr},
    {kAlignment, 1, "Optimum", "Ctrl+1", true, nullptr},
    {kAlignment, 2, "Box Volume", "Ctrl+2", true, nullptr},
    {kAlignment, 3, "Qtc", "Ctrl+3", true, nullptr},
    {kMisc, 1, "Closed Box", "Ctrl+L", true, ClosedBoxChoice},
    {kMisc, 2, "Infinite Baffle", "Ctrl+I", true, SystemChoice},
    {kMisc, 3, "-", "", false, nullptr},
    {kMisc, 4, "Speaker Select", "Ctrl+R", false, CompanionAnswers},
    {kWindow, 1, "Minimize", "Ctrl+M", false, nullptr},
    {kHelp, 1, "Kestrova Help", "Ctrl+/", false, nullptr},
    {kHelp, 2, "Release Notes", "", false, nullptr},
    {kHelp, 3, "-", "", false, nullptr},
    {kHelp, 4, "Tessaly Web Site", "", false, nullptr},
    {kHelp, 5, "Mail to Tessaly", "", false, nullptr},
    {kHelp, 6, "-", "", false, nullptr},
    {kApp, 2, "Check for Updates...", "", false, nullptr},
    {kApp, 1, "About Kestrova", "", false, nullptr},
};
// clang-format on

bool IsSeparator(const ItemDef& it) { return std::string_view(it.text) == "-"; }

struct MenuDef {
    int id;
    const char* title;
    Rule on;  // nullptr: always
};
// clang-format off
constexpr MenuDef kBar[] = {
    {kFile, "&File", FileMenu},
    {kEdit, "&Edit", nullptr},
    {kResponse, "&Response", WithDesign},
    {kView, "&View", ViewMenu},
    {kAlignment, "&Alignment", AlignmentMenu},
    {kMisc, "&Misc.", nullptr},
    {kWindow, "&Window", nullptr},
    {kHelp, "&Help", nullptr},
};
// clang-format on

bool Holds(Rule on, const Kestrova& k, bool open) { return !on || on(k, open); }

// Which bar menu shows an application item.
int HolderOf(int index)
{
    switch (index) {
    case kQuitItem: return kFile;
    case 4: return kEdit;
    default: return kHelp;
    }
}

}  // namespace

Menus::Menus(QObject* parent) : QObject(parent)
{
    for (const MenuDef& m : kBar) {
        auto* q = new QMenu(QString::fromLatin1(m.title));
        q->setObjectName(QStringLiteral("menu%1").arg(m.id));
        menus_[m.id] = q;
        menuOn_[m.id] = true;
    }
    for (const ItemDef& it : kItems) {
        const int holder = it.menuId == kApp ? HolderOf(it.index) : it.menuId;
        QMenu* m = menus_.at(holder);
        if (IsSeparator(it)) {
            m->addSeparator();
            continue;
        }
        if (it.menuId == kFile && it.index == kOpenRecentItem) {
            recent_ = m->addMenu(QString::fromLatin1(it.text));
            recent_->setObjectName(QStringLiteral("recentDesigns"));
            QAction* a = recent_->menuAction();
            a->setObjectName(QStringLiteral("item%1.%2").arg(kFile).arg(kOpenRecentItem));
            items_[{kFile, kOpenRecentItem}] = a;
            itemOn_[{kFile, kOpenRecentItem}] = true;
            continue;
        }
        QAction* a = add(m, it.menuId, it.index, QString::fromLatin1(it.text), QString::fromLatin1(it.keys));
        a->setCheckable(it.mark);
    }
}

Menus::~Menus()
{
    for (auto& [id, m] : menus_) delete m;
}

QAction* Menus::add(QMenu* m, int menuId, int index, const QString& text, const QString& keys)
{
    QAction* a = m->addAction(text);
    a->setObjectName(QStringLiteral("item%1.%2").arg(menuId).arg(index));
    if (!keys.isEmpty()) a->setShortcut(QKeySequence(keys));
    // Quit answers wherever the focus is, the small windows included.
    a->setShortcutContext(menuId == kApp && index == kQuitItem ? Qt::ApplicationShortcut : Qt::WindowShortcut);
    a->setMenuRole(QAction::NoRole);
    connect(a, &QAction::triggered, this, [this, menuId, index] { emit command(menuId, index); });
    items_[{menuId, index}] = a;
    itemOn_[{menuId, index}] = true;
    return a;
}

void Menus::attach(QMenuBar* bar)
{
    for (const MenuDef& m : kBar) bar->addMenu(menus_.at(m.id));
}

QMenu* Menus::menu(int id) const
{
    auto it = menus_.find(id);
    return it == menus_.end() ? nullptr : it->second;
}

QAction* Menus::item(int menuId, int index) const
{
    auto it = items_.find({menuId, index});
    return it == items_.end() ? nullptr : it->second;
}

// A disabled menu must also stop its items' shortcuts, so every action
// carries the combined state. The application items only borrow a place in
// File, Edit and Help: a menu that holds an enabled one stays open for it,
// with its own items greyed.
void Menus::sync(int menuId)
{
    if (menuId == kApp) {
        for (const MenuDef& m : kBar) sync(m.id);
        return;
    }
    bool holdsApp = false;
    for (auto& [key, a] : items_) {
        if (key.first == kApp) {
            a->setEnabled(itemOn_[key]);
            holdsApp = holdsApp || (HolderOf(key.second) == menuId && itemOn_[key]);
        } else if (key.first == menuId) {
            a->setEnabled(menuOn_[menuId] && itemOn_[key]);
        }
    }
    if (QMenu* m = menu(menuId)) m->menuAction()->setEnabled(menuOn_[menuId] || holdsApp);
}

void Menus::setMenuEnabled(int id, bool on)
{
    menuOn_[id] = on;
    sync(id);
}

void Menus::setItemEnabled(int menuId, int index, bool on)
{
    if (!item(menuId, index)) return;
    itemOn_[{menuId, index}] = on;
    sync(menuId);
}

void Menus::setMark(int menuId, int index, bool on)
{
    if (QAction* a = item(menuId, index)) a->setChecked(on);
}

void Menus::markOnly(int menuId, int index, int count)
{
    for (int i = 1; i <= count; ++i) setMark(menuId, i, i == index);
}

bool Menus::menuEnabled(int id) const
{
    auto it = menuOn_.find(id);
    return id == kApp || (it != menuOn_.end() && it->second);
}

bool Menus::itemEnabled(int menuId, int index) const
{
    const QAction* a = item(menuId, index);
    return a && a->isEnabled();
}

bool Menus::marked(int menuId, int index) const
{
    const QAction* a = item(menuId, index);
    return a && a->isChecked();
}

void Menus::SetRecentDesigns(const std::vector<std::string>& paths)
{
    recent_->clear();
    for (const std::string& p : paths) {
        const QString path = QString::fromStdString(p);
        // The name first, its folder after it: two files of one name differ.
        const QFileInfo info(path);
        QString text = info.fileName() + QStringLiteral("  \u2014  ") + QDir::toNativeSeparators(info.path());
        QAction* a = recent_->addAction(text.replace(QLatin1Char('&'), QStringLiteral("&&")));
        a->setMenuRole(QAction::NoRole);
        connect(a, &QAction::triggered, this, [this, path] { emit openRecent(path); });
    }
}

void Menus::buildCommon(const Kestrova& k, bool open)
{
    for (const ItemDef& it : kItems)
        if (!IsSeparator(it)) itemOn_[{it.menuId, it.index}] = Holds(it.on, k, open);
    for (const MenuDef& m : kBar) menuOn_[m.id] = Holds(m.on, k, open);
    sync(kApp);  // every menu of the bar

    markOnly(kResponse, k.d.respID, kResponseItems);
    markOnly(kAlignment, k.d.alin, 3);
    SetItemMarkOnViewMenu(k);
}

void Menus::InitMenu11(const Kestrova& k) { buildCommon(k, false); }

void Menus::InitMenu16(const Kestrova& k) { buildCommon(k, true); }

void Menus::MenuDisable()
{
    for (int i : {1, 2, 4, kQuitItem}) setItemEnabled(kApp, i, false);
    for (int id : {kFile, kResponse, kView, kAlignment, kMisc, kHelp}) setMenuEnabled(id, false);
    setMenuEnabled(kEdit, true);
}

void Menus::SetItemMarkOnViewMenu(const Kestrova& k)
{
    const Design& d = k.d;
    setMark(kView, 1, d.magni == 1);
    setMark(kView, 2, d.magni == 2);
    setMark(kView, 4, d.scale == 5);
    setMark(kView, 5, d.scale == 10);
    if (d.boxSys == 1 || d.boxSys == 2) {
        setMark(kMisc, 1, d.boxSys == 1);
        setMark(kMisc, 2, d.boxSys == 2);
    }
}

}  // namespace ks
