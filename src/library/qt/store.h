// The library file: SQLite through Qt SQL. Every change is one
// transaction taken at once for writing (BEGIN IMMEDIATE) with a busy
// timeout, so two running copies wait for each other instead of failing or
// corrupting the file. A file that cannot be read as a library is reported
// and moved aside, never written over.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "library/driver.h"

namespace ks::lib {

class DriverStore {
public:
    static constexpr int kSchemaVersion = 1;

    // $XDG_DATA_HOME/Tessaly/Vantrel/drivers.sqlite
    static QString DefaultPath();

    explicit DriverStore(QString path);
    ~DriverStore();
    DriverStore(const DriverStore&) = delete;
    DriverStore& operator=(const DriverStore&) = delete;

    struct Opened {
        bool ok = false;
        bool created = false;  // a fresh library was made (with examples)
        QString movedAside;    // where a damaged file went, if one did
        QString message;       // for the user: what went wrong or was done
    };
    // Opens or creates the library; a fresh one gets the example drivers.
    Opened open(bool withExamples = true);
    bool isOpen() const { return open_; }
    QString path() const { return path_; }

    // Every driver, in the order they were added. Empty with lastError()
    // set when reading failed.
    std::vector<Driver> all();
    // Adds in one transaction; a driver with id 0 gets a new id, written
    // back; one with an id keeps it (undo of a delete). progress(n) is
    // called now and then with the count written so far.
    bool insert(std::vector<Driver>& drivers, const std::function<void(std::size_t)>& progress = {});
    bool update(const Driver& d);
    bool remove(const std::vector<std::int64_t>& ids);
    int schemaVersion();

    QString lastError() const { return error_; }

private:
    bool Begin();
    bool Commit();
    void Rollback();
    bool Fail(const QString& what, const QString& why);

    QString path_;
    QString conn_;
    bool open_ = false;
    QString error_;
};

}  // namespace ks::lib
