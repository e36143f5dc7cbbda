// The library window: the table of drivers with its search field and
// range filters, the editing commands with undo, import and export, and
// sending the picked driver to the design program.
#pragma once

#include <QMainWindow>
#include <QUndoStack>
#include <array>

#include "library/qt/driver_filter.h"
#include "library/qt/table_model.h"

class QAction;
class QLabel;
class QLayout;
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

    QLineEdit* search() const { return search_; }
    QTableView* table() const { return table_; }
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
    QAction* send_ = nullptr;
};

}  // namespace ks::vantrel
