// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar, the Qa pop-up's items and the three menu states. Menus and
// items are known by their numbers (menu id, item index from 1, separators
// counted), as the command table dispatches on them.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <map>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace ks {

struct Kestrova;

namespace menu {
inline constexpr int kApp = 0;  // the application items (About, Check for Updates, Preferences, Quit)
inline constexpr int kFile = 1;
inline constexpr int kEdit = 2;
inline constexpr int kResponse = 7;
inline constexpr int kView = 9;
inline constexpr int kAlignment = 14;
inline constexpr int kMisc = 22;
inline constexpr int kWindow = 100;
inline constexpr int kHelp = 50;
// The application's Quit item, which issues the 'quit' command.
inline constexpr int kQuitItem = 99;
// The design file items of File (numbered after the others, which keep
// theirs) and the comparison items of Response.
inline constexpr int kOpenDesignItem = 20;
inline constexpr int kOpenRecentItem = 21;  // a submenu: its files come by openRecent
inline constexpr int kSaveDesignItem = 22;
inline constexpr int kSaveDesignAsItem = 23;
inline constexpr int kKeepItem = 20;
inline constexpr int kClearKeptItem = 21;
// The Response menu's item numbers run to 14; its views (1..6, 8, 13, 14)
// are the items that carry a mark.
inline constexpr int kResponseItems = 14;
}  // namespace menu

// The Qa pop-up's item texts, blanks aligning the numbers at the right.
QStringList QaPopupItems();

class Menus final : public QObject {
    Q_OBJECT
public:
    explicit Menus(QObject* parent = nullptr);
    ~Menus() override;

    // Shows the menus in a window's menu bar; several bars share them.
    void attach(QMenuBar* bar);

    QMenu* menu(int id) const;
    QAction* item(int menuId, int index) const;

    // The three states. InitMenu11: the menus without a design (the default
    // window, or the design window closed). InitMenu16: a design in progress.
    // MenuDisable: busy while a dialog or the update window is up (Edit
    // stays for the dialog's fields).
    void InitMenu11(const Kestrova& k);
    void InitMenu16(const Kestrova& k);
    void MenuDisable();
    // The View menu's level and division marks, and Misc.'s system mark.
    void SetItemMarkOnViewMenu(const Kestrova& k);

    void setMenuEnabled(int id, bool on);
    void setItemEnabled(int menuId, int index, bool on);
    void setMark(int menuId, int index, bool on);
    // One mark among items 1..count of a menu.
    void markOnly(int menuId, int index, int count);

    bool menuEnabled(int id) const;
    // Whether the item can be chosen: its own state and its menu's.
    bool itemEnabled(int menuId, int index) const;
    bool marked(int menuId, int index) const;

    // The files of Open Recent, newest first (UTF-8 paths).
    void SetRecentDesigns(const std::vector<std::string>& paths);
    QMenu* recentMenu() const { return recent_; }

signals:
    // A chosen item, by menu id and item index (the 'quit' command comes as
    // menu kApp, item kQuitItem).
    void command(int menuId, int index);
    // A file chosen in Open Recent.
    void openRecent(const QString& path);

private:
    QAction* add(QMenu* m, int menuId, int index, const QString& text, const QString& keys);
    void sync(int menuId);
    // Every item and menu from its rule in the tables, then the marks.
    void buildCommon(const Kestrova& k, bool open);

    std::map<int, QMenu*> menus_;
    std::map<std::pair<int, int>, QAction*> items_;
    std::map<std::pair<int, int>, bool> itemOn_;
    std::map<int, bool> menuOn_;
    QMenu* recent_ = nullptr;
};

}  // namespace ks
