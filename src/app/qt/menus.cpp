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

struct ItemDef {
    int menuId;
    int index;
    const char* text;  // "-" is a separator
    const char* keys;  // Command is Ctrl, Option is Alt
};

// The bar, menu by menu. The application items live where a Linux user
// looks for them: Quit in File, Preferences in Edit, About and Check for
// Updates in Help; they keep their own numbers (menu kApp).
constexpr ItemDef kItems[] = {
    {kFile, 1, "New Box Design...", "Ctrl+N"},
    {kFile, kOpenDesignItem, "Open Design...", "Ctrl+O"},
    {kFile, kOpenRecentItem, "Open Recent", ""},
    {kFile, 2, "Close", "Ctrl+W"},
    {kFile, 3, "-", ""},
    {kFile, kSaveDesignItem, "Save Design", "Ctrl+S"},
    {kFile, kSaveDesignAsItem, "Save Design As...", "Ctrl+Shift+S"},
    {kFile, 24, "-", ""},
    {kFile, 4, "Page Setup...", "Ctrl+Shift+P"},
    {kFile, 5, "Print...", "Ctrl+P"},
    {kFile, 7, "Export Response Data...", "Ctrl+E"},
    {kFile, 6, "-", ""},
    {kApp, kQuitItem, "Quit", "Ctrl+Q"},
    {kEdit, 1, "Undo", "Ctrl+Z"},
    {kEdit, 2, "Redo", "Ctrl+Shift+Z"},
    {kEdit, 3, "-", ""},
    {kEdit, 4, "Cut", "Ctrl+X"},
    {kEdit, 5, "Copy", "Ctrl+C"},
    {kEdit, 6, "Paste", "Ctrl+V"},
    {kEdit, 7, "Delete", ""},
    {kEdit, 8, "Select All", "Ctrl+A"},
    {kEdit, 9, "-", ""},
    {kApp, 4, "Preferences...", "Ctrl+,"},
    {kResponse, 1, "Amplitude", "Ctrl+Alt+A"},
    {kResponse, 2, "Impedance", ""},
    {kResponse, 3, "Phase", ""},
    {kResponse, 4, "Group Delay", ""},
    {kResponse, 5, "Nyquist Diagram", ""},
    {kResponse, 6, "Step Response", ""},
    {kResponse, 13, "Cone Excursion", "Ctrl+Alt+X"},
    {kResponse, 14, "Maximum SPL", "Ctrl+Alt+M"},
    {kResponse, 7, "-", ""},
    {kResponse, 8, "System Profile", "Ctrl+Alt+P"},
    {kResponse, 9, "-", ""},
    {kResponse, 10, "Snapshot Response...", "Ctrl+Alt+S"},
    {kResponse, 11, "-", ""},
    {kResponse, 12, "Copy Parameters", "Ctrl+Alt+C"},
    {kResponse, 19, "-", ""},
    {kResponse, kKeepItem, "Keep for Comparison", "Ctrl+Alt+K"},
    {kResponse, kClearKeptItem, "Clear Comparison", "Ctrl+Alt+Shift+K"},
    {kView, 1, "Relative", "Ctrl+J"},
    {kView, 2, "Absolute", "Ctrl+K"},
    {kView, 3, "-", ""},
    {kView, 4, "5dB per div", "Ctrl+Shift+5"},
    {kView, 5, "10dB per div", "Ctrl+Shift+1"},
    {kAlignment, 1, "Optimum", "Ctrl+1"},
    {kAlignment, 2, "Box Volume", "Ctrl+2"},
    {kAlignment, 3, "Qtc", "Ctrl+3"},
    {kMisc, 1, "Closed Box", "Ctrl+L"},
    {kMisc, 2, "Infinite Baffle", "Ctrl+I"},
    {kMisc, 3, "-", ""},
    {kMisc, 4, "Speaker Select", "Ctrl+R"},
    {kWindow, 1, "Minimize", "Ctrl+M"},
    {kHelp, 1, "Kestrova Help", "Ctrl+/"},
    {kHelp, 2, "Release Notes", ""},
    {kHelp, 3, "-", ""},
    {kHelp, 4, "Tessaly Web Site", ""},
    {kHelp, 5, "Mail to Tessaly", ""},
    {kHelp, 6, "-", ""},
    {kApp, 2, "Check for Updates...", ""},
    {kApp, 1, "About Kestrova", ""},
};

struct MenuDef {
    int id;
    const char* title;
};
constexpr MenuDef kBar[] = {{kFile, "&File"},           {kEdit, "&Edit"},  {kResponse, "&Response"}, {kView, "&View"},
                            {kAlignment, "&Alignment"}, {kMisc, "&Misc."}, {kWindow, "&Window"},     {kHelp, "&Help"}};

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
        if (std::string_view(it.text) == "-") {
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
        add(m, it.menuId, it.index, QString::fromLatin1(it.text), QString::fromLatin1(it.keys));
    }
    // Marks: Response, View, Alignment and Misc. items can carry one.
    for (auto& [key, a] : items_)
        if ((key.first == kResponse && IsResponseView(key.second)) || key.first == kView || key.first == kAlignment ||
            (key.first == kMisc && key.second <= 2))
            a->setCheckable(true);
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
    const Design& d = k.d;
    // The application items come back with every rebuild: a bar restored
    // after a dialog must let the user quit again.
    for (int i : {1, 2, 4, kQuitItem}) setItemEnabled(kApp, i, true);

    // File
    setItemEnabled(kFile, 1, !open);
    for (int i : {2, 4, 5, 7, kSaveDesignItem, kSaveDesignAsItem}) setItemEnabled(kFile, i, open);
    setItemEnabled(kFile, kOpenDesignItem, true);
    setItemEnabled(kFile, kOpenRecentItem, !k.prefs.RecentDesigns.empty());
    setMenuEnabled(kFile, open || k.sh.RespWndCloseFlag == 1);

    // Edit: only Copy follows the state.
    for (int i : {1, 2, 4, 6, 7, 8}) setItemEnabled(kEdit, i, false);
    setItemEnabled(kEdit, 5, open);
    setMenuEnabled(kEdit, true);

    // Response
    for (int i : {1, 2, 3, 4, 5, 6, 8, 10, 12, 13, 14}) setItemEnabled(kResponse, i, true);
    if (!ImpedanceKnown(d)) setItemEnabled(kResponse, 2, false);
    setItemEnabled(kResponse, kKeepItem, true);
    setItemEnabled(kResponse, kClearKeptItem, !k.kept.empty());
    setMenuEnabled(kResponse, open);
    markOnly(kResponse, d.respID, kResponseItems);

    // View
    for (int i : {1, 2, 4, 5}) setItemEnabled(kView, i, true);
    setMenuEnabled(kView, open && d.s_Resp == "amp");

    // Alignment
    for (int i : {1, 2, 3}) setItemEnabled(kAlignment, i, true);
    setMenuEnabled(kAlignment, open && d.boxSys == 1);
    markOnly(kAlignment, d.alin, 3);

    // Misc.
    for (int i : {1, 2, 4}) setItemEnabled(kMisc, i, true);
    if (d.boxSys == 1 || d.boxSys == 2) {
        const double vas = static_cast<double>(d.VAS);
        setItemEnabled(kMisc, 1, !(open ? vas <= 0.0 : vas == 0.0));
        setItemEnabled(kMisc, 2, true);
    } else if (d.boxSys == 3) {
        setItemEnabled(kMisc, 1, false);
        setItemEnabled(kMisc, 2, false);
    }
    if (!open && k.sh.RespWndCloseFlag == 1) {
        setItemEnabled(kMisc, 1, false);
        setItemEnabled(kMisc, 2, false);
    }
    setItemEnabled(kMisc, 4, SpeakerSelectEnabled(k));
    setMenuEnabled(kMisc, true);

    setMenuEnabled(kWindow, true);
    setItemEnabled(kWindow, 1, true);
    for (int i : {1, 2, 4, 5}) setItemEnabled(kHelp, i, true);
    setMenuEnabled(kHelp, true);

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
