// The library window: the table of drivers with its search field and
// range filters, the editing commands with undo, import and export, and
// sending the picked driver to the design program.
#pragma once

#include <QMainWindow>
#include <QUndoStack>
#include <array>

#include "library/qt/table_model.h"

class QActionGroup;
class QLabel;
class QLineEdit;
class QTableView;

namespace ks::vantrel {

class KestrovaLink;

class LibraryWindow final : public QMainWindow {
    Q_OBJECT
public:
    LibraryWindow(lib::DriverTableModel& model, KestrovaLink& link, QWidget* parent = nullptr);

    // Shown, raised, the search field focused, the selection kept.
    void MakeReady();
    // Sends the selected driver, or the first shown when none is selected.
    void Pick();
    void ImportPath(const QString& path);
    // With a reason: nothing in the window can change the library (it is
    // held by another program), and the reason stays in the status bar.
    // Empty: everything is available again.
    void SetReadOnly(const QString& reason);

    QLineEdit* search() const { return search_; }
    QTableView* table() const { return table_; }
    lib::DriverFilter& filter() { return filter_; }
    QUndoStack& undoStack() { return undo_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    std::vector<lib::Driver> Selected() const;
    void New();
    void Edit();
    void Duplicate();
    void Delete();
    void Import();
    void Export();
    void UpdateStatus();
    void Select(std::int64_t id);
    void Report(const QString& message, bool problem);

    lib::DriverTableModel& model_;
    KestrovaLink& link_;
    lib::DriverFilter filter_;
    QUndoStack undo_;
    QLineEdit* search_ = nullptr;
    std::array<QLineEdit*, 6> ranges_{};
    QTableView* table_ = nullptr;
    QLabel* count_ = nullptr;
    QActionGroup* changes_ = nullptr;  // every command but Quit
};

}  // namespace ks::vantrel
