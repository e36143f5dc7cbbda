// SPDX-License-Identifier: GPL-3.0-or-later
// The library window: the table of drivers with its search field and
// range filters, the editing commands with undo, import and export, and
// sending the picked driver to the design program.
#pragma once

#include <QMainWindow>
#include <QUndoStack>
#include <array>

#include "library/qt/driver_filter.h"
#include "library/qt/import.h"
#include "library/qt/table_model.h"

class QAction;
class QActionGroup;
class QLabel;
class QLayout;
class QLineEdit;
class QTableView;
class QThread;

namespace ks::vantrel {

class KestrovaLink;

class LibraryWindow final : public QMainWindow {
    Q_OBJECT
public:
    LibraryWindow(lib::DriverTableModel& model, KestrovaLink& link, QWidget* parent = nullptr);
    // Waits for a file still being read.
    ~LibraryWindow() override;

    // The first read of the library, made once the window is shown and
    // hears the store, so a failure reaches the user; openMessage is what
    // opening the library had to say, if anything.
    void Load(const QString& openMessage = {});
    // Shown (out of the task bar when minimised), raised and active, the
    // search field focused, the selection kept.
    void MakeReady();
    // Sends the selected driver when its row is in view; otherwise sends
    // nothing and says why in the status line.
    void Pick();
    // Reads the file on another thread while the window goes on, then adds
    // its drivers, showing the progress of a large import.
    void ImportPath(const QString& path);
    // With a reason: nothing in the window can change the library (it is
    // held by another program), and the reason stays in the status bar.
    // Empty: everything is available again.
    void SetReadOnly(const QString& reason);
    bool importing() const { return reading_ != nullptr; }

    QLineEdit* search() const { return search_; }
    QTableView* table() const { return table_; }
    QLabel* count() const { return count_; }
    lib::DriverFilter& filter() { return filter_; }
    QUndoStack& undoStack() { return undo_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    QLayout* BuildFilters();
    QTableView* BuildTable();
    void BuildCommands();
    void BuildStatus();
    std::vector<lib::Driver> Selected() const;
    void New();
    void Edit();
    void Duplicate();
    void Delete();
    // Adds the drivers as one undoable step and selects the first; false
    // when the store refused them (and said why).
    bool Add(std::vector<lib::Driver> drivers, const QString& text,
             const std::function<void(std::size_t)>& progress = {});
    void Import();
    void Take(const QString& path, lib::ImportResult r);
    void Export();
    void UpdateStatus();
    void Select(std::int64_t id);
    // A message in the status line; a problem also in a box.
    void Report(const QString& message, bool problem);
    void Say(const QString& message);
    void Box(const QString& message, const QString& details = {});

    lib::DriverTableModel& model_;
    KestrovaLink& link_;
    lib::DriverFilter filter_;
    QUndoStack undo_;
    QLineEdit* search_ = nullptr;
    std::array<QLineEdit*, 6> ranges_{};
    QTableView* table_ = nullptr;
    QLabel* count_ = nullptr;
    QActionGroup* changes_ = nullptr;  // every command but Quit
    QAction* send_ = nullptr;
    QThread* reading_ = nullptr;
};

}  // namespace ks::vantrel
