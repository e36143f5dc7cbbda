// SPDX-License-Identifier: GPL-3.0-or-later
// The library as a table (one row a driver, one column a field, units in
// the headers) and the undoable changes. Every change goes to the store
// first; the rows follow only when it was written.
#pragma once

#include <QAbstractTableModel>
#include <QUndoCommand>
#include <functional>
#include <unordered_set>
#include <vector>

#include "library/driver.h"
#include "library/qt/store.h"

namespace ks::lib {

class DriverTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DriverTableModel(DriverStore& store, QObject* parent = nullptr);

    bool reload();
    const std::vector<Driver>& drivers() const { return rows_; }
    const Driver& driver(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    int rowOf(std::int64_t id) const;
    // Model name and range case-folded, a line break between: for the
    // text filter and the order by name or range.
    const QString& haystack(int row) const { return hay_[static_cast<std::size_t>(row)]; }

    // false when the store refused; the error was reported through failed().
    bool add(std::vector<Driver>& drivers, const std::function<void(std::size_t)>& progress = {});
    bool replace(const Driver& d);
    bool remove(const std::vector<std::int64_t>& ids);
    // Adds, changes and deletes in one transaction (DriverStore::apply).
    bool apply(std::vector<Driver>& add, const std::vector<Driver>& change, const std::vector<std::int64_t>& remove,
               const std::function<void(std::size_t)>& progress = {});

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

Q_SIGNALS:
    void failed(const QString& message);

private:
    static QString Hay(const Driver& d);
    // Every row whose id is in gone taken out, in one reset.
    void ResetWithout(const std::unordered_set<std::int64_t>& gone);
    DriverStore& store_;
    std::vector<Driver> rows_;
    std::vector<QString> hay_;
};

// Adds drivers (New, Duplicate, Import); undo deletes them again, redo
// brings them back with the same ids. The first redo (in the push) calls
// progress now and then and added once the store took the drivers, with
// their new ids: a caller learns the outcome from it, not from the command,
// which the stack deletes at once when the store refused.
class AddDrivers final : public QUndoCommand {
public:
    using Added = std::function<void(const std::vector<Driver>&)>;
    AddDrivers(DriverTableModel& m, std::vector<Driver> drivers, const QString& text,
               std::function<void(std::size_t)> progress = {}, Added added = {});
    void redo() override;
    void undo() override;
    const std::vector<Driver>& drivers() const { return drivers_; }

private:
    DriverTableModel& m_;
    std::vector<Driver> drivers_;
    std::function<void(std::size_t)> progress_;
    Added added_;
};

// Brings a file's drivers in by model name (PlanMerge, against the rows
// shown): new ones added, known ones changed, all in one transaction; undo
// deletes the added and gives the changed their values back.
class ImportDrivers final : public QUndoCommand {
public:
    ImportDrivers(DriverTableModel& m, MergePlan plan, const QString& text,
                  std::function<void(std::size_t)> progress = {});
    void redo() override;
    void undo() override;
    const MergePlan& plan() const { return plan_; }

private:
    DriverTableModel& m_;
    MergePlan plan_;
    std::function<void(std::size_t)> progress_;
};

class EditDriver final : public QUndoCommand {
public:
    EditDriver(DriverTableModel& m, Driver before, Driver after);
    void redo() override;
    void undo() override;

private:
    DriverTableModel& m_;
    Driver before_, after_;
};

class DeleteDrivers final : public QUndoCommand {
public:
    DeleteDrivers(DriverTableModel& m, std::vector<Driver> drivers);
    void redo() override;
    void undo() override;

private:
    DriverTableModel& m_;
    std::vector<Driver> drivers_;
};

}  // namespace ks::lib
