// SPDX-License-Identifier: GPL-3.0-or-later
// The library file: SQLite through Qt SQL. Every change is one
// transaction taken at once for writing (BEGIN IMMEDIATE) with a busy
// timeout, so two running copies wait for each other instead of failing or
// corrupting the file.
//
// A library is something people build for years: only a file SQLite itself
// calls damaged (not a database, corrupt, or failing its quick check) is
// moved aside and replaced by a fresh one. A file another program holds
// locked, one the system will not let us read, or one laid out by another
// program or version is reported and left exactly as it is.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "library/driver.h"
#include "library/merge.h"

namespace ks::lib {

class DriverStore {
public:
    // 2: Re may be 0 (not given). A library of schema 1 is brought up to it
    // in one transaction when opened.
    static constexpr int kSchemaVersion = 2;

    // $XDG_DATA_HOME/Tessaly/Vantrel/drivers.sqlite
    static QString DefaultPath();

    explicit DriverStore(QString path);
    ~DriverStore();
    DriverStore(const DriverStore&) = delete;
    DriverStore& operator=(const DriverStore&) = delete;

    enum class Status {
        Ready,       // open (perhaps just made, perhaps after moving a damaged file aside)
        Busy,        // another program holds it locked; try again later
        Unreadable,  // the system will not let us at it (permissions, a folder in its place)
        Unusable,    // a newer version's, another layout, or another program's tables
        Failed,      // no SQLite driver, or a fresh library could not be written
    };
    struct Opened {
        bool ok = false;  // status == Ready
        Status status = Status::Failed;
        bool created = false;  // a fresh library was made (with examples)
        QString movedAside;    // where a damaged file went, if one did
        QString message;       // for the user: what went wrong or was done
    };
    // Opens or creates the library; a fresh one gets the example drivers.
    // Anything but Ready leaves the file as it was and the store closed; it
    // may be opened again later.
    Opened open(bool withExamples = true);
    bool isOpen() const { return open_; }
    QString path() const { return path_; }
    // How long open and every change wait for another program's lock
    // before giving up (5 s unless set).
    void setBusyTimeout(int ms);

    // Every driver, in the order they were added. Empty with lastError()
    // set when reading failed.
    std::vector<Driver> all();
    // Adds, changes (by id) and deletes in one transaction: all or nothing.
    // An added driver with id 0 gets a new id, written back; one with an id
    // keeps it (undo of a delete). progress(n) is called now and then with
    // the count of rows written so far.
    bool apply(std::vector<Driver>& add, const std::vector<Driver>& change, const std::vector<std::int64_t>& remove,
               const std::function<void(std::size_t)>& progress = {});
    bool insert(std::vector<Driver>& drivers, const std::function<void(std::size_t)>& progress = {})
    {
        return apply(drivers, {}, {}, progress);
    }
    bool update(const Driver& d)
    {
        std::vector<Driver> none;
        return apply(none, {d}, {});
    }
    bool remove(const std::vector<std::int64_t>& ids)
    {
        std::vector<Driver> none;
        return apply(none, {}, ids);
    }
    // A file's drivers brought in by model name (PlanMerge) against the
    // library as it is inside the one transaction that writes them; empty
    // with lastError() set when nothing was written.
    std::optional<MergePlan> merge(std::vector<Driver> incoming);
    int schemaVersion();

    QString lastError() const { return error_; }

private:
    enum class Trouble { None, Busy, Damaged, Unreadable, Unusable, Other };
    struct Verdict {
        Trouble trouble = Trouble::None;
        QString why;
        int version = 0;
    };
    QString Connect();
    Verdict Check();
    bool MoveAside(Opened& r, const QString& why);
    Verdict Create(bool withExamples, bool& made);
    Verdict Migrate();
    bool ReadAll(std::vector<Driver>& out);
    bool Write(std::vector<Driver>& add, const std::vector<Driver>& change, const std::vector<std::int64_t>& remove,
               const std::function<void(std::size_t)>& progress);
    bool Begin();
    bool Commit();
    void Rollback();
    bool Fail(const QString& what, const QString& why);

    QString path_;
    QString conn_;
    bool open_ = false;
    int busyMs_ = 5000;
    QString error_;
};

}  // namespace ks::lib
