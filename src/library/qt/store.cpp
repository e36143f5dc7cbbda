// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/qt/store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QAtomicInt>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace ks::lib {
namespace {

QAtomicInt g_connections;

QString Key(int i)
{
    const std::string_view k = Info(static_cast<Field>(i)).key;
    return QString::fromLatin1(k.data(), qsizetype(k.size()));
}

QString Column(int i) { return QLatin1Char('"') + Key(i) + QLatin1Char('"'); }

// AUTOINCREMENT: an id is never given again, so undoing a delete cannot
// collide with a driver another copy added meanwhile. Only Fs and Qts must
// be given; every other number is 0 when it is not.
QString CreateTable(const QString& name)
{
    QString sql = QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY AUTOINCREMENT").arg(name);
    for (int i = 0; i < kFieldCount; ++i) {
        const Field f = static_cast<Field>(i);
        sql += QStringLiteral(", ") + Column(i);
        if (!Info(f).numeric)
            sql += QStringLiteral(" TEXT NOT NULL");
        else
            sql += QStringLiteral(" REAL NOT NULL CHECK(%1 %2 0)")
                       .arg(Column(i), f == Field::Fs || f == Field::Qts ? QStringLiteral(">") : QStringLiteral(">="));
    }
    return sql + QLatin1Char(')');
}

QString ColumnList()
{
    QStringList c;
    for (int i = 0; i < kFieldCount; ++i) c << Column(i);
    return c.join(QLatin1Char(','));
}

void Bind(QSqlQuery& q, const Driver& d)
{
    q.addBindValue(QString::fromStdString(d.model));
    q.addBindValue(QString::fromStdString(d.range));
    for (int i = 2; i < kFieldCount; ++i) q.addBindValue(d.num[static_cast<std::size_t>(i)]);
}

// A free name beside the file for a damaged copy.
QString AsideName(const QString& path)
{
    const QString base =
        path + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(name); ++n) name = base + QLatin1Char('-') + QString::number(n);
    return name;
}

// SQLite's own result code, which the QSQLITE driver gives as the native
// code: the one thing that tells a locked file from a damaged one.
int SqliteCode(const QSqlError& e)
{
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;  // the primary code of an extended one
}

QString Text(const QSqlError& e)
{
    const QString t = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    return t.isEmpty() ? QStringLiteral("unknown error") : t;
}

}  // namespace

QString DriverStore::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tessaly/Vantrel/drivers.sqlite");
}

DriverStore::DriverStore(QString path)
    : path_(std::move(path)), conn_(QStringLiteral("vantrel-library-%1").arg(g_connections.fetchAndAddRelaxed(1)))
{
}

DriverStore::~DriverStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(conn_, false);
        if (db.isValid()) db.close();
    }
    if (QSqlDatabase::contains(conn_)) QSqlDatabase::removeDatabase(conn_);
}

void DriverStore::setBusyTimeout(int ms)
{
    busyMs_ = ms;
    const QSqlDatabase db = QSqlDatabase::database(conn_, false);
    if (db.isOpen()) QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(ms));
}

bool DriverStore::Fail(const QString& what, const QString& why)
{
    error_ = what + QStringLiteral(": ") + why;
    return false;
}

QString DriverStore::Connect()
{
    QSqlDatabase db = QSqlDatabase::contains(conn_) ? QSqlDatabase::database(conn_, false)
                                                    : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conn_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyMs_));
    return db.open() ? QString() : Text(db.lastError());
}

// What the file there is, read only: nothing here writes.
DriverStore::Verdict DriverStore::Check()
{
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    auto failed = [&q]() -> Verdict {
        switch (SqliteCode(q.lastError())) {
        case 5:  // SQLITE_BUSY
        case 6:  // SQLITE_LOCKED
            return {Trouble::Busy, Text(q.lastError())};
        case 11:  // SQLITE_CORRUPT
        case 26:  // SQLITE_NOTADB
            return {Trouble::Damaged, Text(q.lastError())};
        case 3:   // SQLITE_PERM
        case 8:   // SQLITE_READONLY (a journal it may not roll back)
        case 10:  // SQLITE_IOERR
        case 14:  // SQLITE_CANTOPEN
        case 23:  // SQLITE_AUTH
            return {Trouble::Unreadable, Text(q.lastError())};
        default: return {Trouble::Other, Text(q.lastError())};
        }
    };
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next()) return failed();
    if (q.value(0).toString() != QLatin1String("ok")) return {Trouble::Damaged, q.value(0).toString().left(200)};
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) return failed();
    Verdict v{Trouble::None, {}, q.value(0).toInt()};
    if (v.version > kSchemaVersion) {
        return {Trouble::Unusable,
                QStringLiteral("it was made by a newer version of this program (schema %1)").arg(v.version), v.version};
    }
    if (v.version == 0) {
        // Empty (new, or left by a copy that never finished making it) is
        // ours to fill; tables without our version are another program's.
        if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !q.next()) return failed();
        if (q.value(0).toInt() != 0)
            return {Trouble::Unusable, QStringLiteral("it holds tables of another program, not a driver library")};
        return v;
    }
    // Every column by name: SQLite would read a missing one in a query as
    // the literal text of its name.
    if (!q.exec(QStringLiteral("PRAGMA table_info(drivers)"))) return failed();
    QSet<QString> have;
    while (q.next()) have.insert(q.value(1).toString().toLower());
    QStringList missing;
    if (!have.contains(QStringLiteral("id"))) missing << QStringLiteral("id");
    for (int i = 0; i < kFieldCount; ++i)
        if (!have.contains(Key(i))) missing << Key(i);
    if (!missing.isEmpty()) {
        return {Trouble::Unusable,
                QStringLiteral("its drivers table lacks the column%1 %2 of schema %3")
                    .arg(missing.size() == 1 ? QString() : QStringLiteral("s"), missing.join(QStringLiteral(", ")))
                    .arg(v.version),
                v.version};
    }
    return v;
}

bool DriverStore::MoveAside(Opened& r, const QString& why)
{
    QSqlDatabase::database(conn_, false).close();
    const QString aside = AsideName(path_);
    if (!QFile::rename(path_, aside)) {
        r.status = Status::Unreadable;
        r.message = QStringLiteral("The library %1 is damaged (%2) and cannot be moved aside; it was left as it is.")
                        .arg(path_, why);
        return false;
    }
    // A journal left beside it belongs to the damaged file.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        if (QFileInfo::exists(path_ + QLatin1String(suffix)))
            QFile::rename(path_ + QLatin1String(suffix), aside + QLatin1String(suffix));
    r.movedAside = aside;
    r.message = QStringLiteral("The library %1 could not be read (%2). It was moved to %3 and a new one was made.")
                    .arg(path_, why, aside);
    return true;
}

// The fresh library in one transaction: the table, the version and the
// examples all land, or none does.
DriverStore::Verdict DriverStore::Create(bool withExamples, bool& made)
{
    made = false;
    if (!Begin()) return {Trouble::Busy, error_};
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    // Another copy may have made it between our look and our lock.
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        Rollback();
        return {Trouble::Other, Text(q.lastError())};
    }
    if (const int version = q.value(0).toInt(); version != 0) {
        Rollback();
        return {Trouble::None, {}, version};
    }
    auto fail = [&](const QSqlQuery& failed) -> Verdict {
        const Verdict v{Trouble::Other, Text(failed.lastError())};
        Rollback();
        return v;
    };
    if (!q.exec(CreateTable(QStringLiteral("drivers"))) ||
        !q.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion)))
        return fail(q);
    if (withExamples) {
        QSqlQuery ins(QSqlDatabase::database(conn_, false));
        ins.prepare(QStringLiteral("INSERT INTO drivers (%1) VALUES (%2)")
                        .arg(ColumnList(), QStringList(kFieldCount, QStringLiteral("?")).join(QLatin1Char(','))));
        for (const Driver& d : ExampleDrivers()) {
            Bind(ins, d);
            if (!ins.exec()) return fail(ins);
        }
    }
    if (!Commit()) return {Trouble::Other, error_};
    made = true;
    return {Trouble::None, {}, kSchemaVersion};
}

// Schema 1 to 2: SQLite cannot loosen a CHECK in place, so the table is
// made anew and every row copied, ids and the id counter with them, in one
// transaction.
DriverStore::Verdict DriverStore::Migrate()
{
    if (!Begin()) return {Trouble::Busy, error_};
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        Rollback();
        return {Trouble::Other, Text(q.lastError())};
    }
    if (const int now = q.value(0).toInt(); now != 1) {  // another copy was first
        Rollback();
        return {Trouble::None, {}, now};
    }
    const QString steps[] = {
        CreateTable(QStringLiteral("drivers_v2")),
        QStringLiteral("INSERT INTO drivers_v2 (id,%1) SELECT id,%1 FROM drivers ORDER BY id").arg(ColumnList()),
        QStringLiteral("DELETE FROM sqlite_sequence WHERE name = 'drivers_v2'"),
        QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT 'drivers_v2', seq FROM sqlite_sequence "
                       "WHERE name = 'drivers'"),
        QStringLiteral("DROP TABLE drivers"),
        QStringLiteral("ALTER TABLE drivers_v2 RENAME TO drivers"),
        QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion),
    };
    for (const QString& sql : steps) {
        if (!q.exec(sql)) {
            const Verdict v{Trouble::Other, Text(q.lastError())};
            Rollback();
            return v;
        }
    }
    if (!Commit()) return {Trouble::Other, error_};
    return {Trouble::None, {}, kSchemaVersion};
}

DriverStore::Opened DriverStore::open(bool withExamples)
{
    Opened r;
    open_ = false;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        r.message = QStringLiteral("The SQLite driver of Qt is not installed (package libqt6sql6-sqlite).");
        return r;
    }
    const QByteArray native = QFile::encodeName(path_);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(native.constData()).parent_path(), ec);
    if (ec) {
        r.status = Status::Unreadable;
        r.message = QStringLiteral("Cannot make the folder of the library %1: %2.")
                        .arg(path_, QString::fromLocal8Bit(ec.message().c_str()));
        return r;
    }
    auto untouched = [&](Status s, const QString& why) {
        QSqlDatabase::database(conn_, false).close();
        r.status = s;
        // After a damaged file was moved aside, that stays said.
        r.message = (r.message.isEmpty() ? QString() : r.message + QLatin1Char(' ')) +
                    (s == Status::Busy
                         ? QStringLiteral("The library %1 is in use by another program; nothing was changed. Try "
                                          "again when that program has finished.")
                               .arg(path_)
                         : QStringLiteral("The library %1 cannot be used: %2. It was left as it is.").arg(path_, why));
        return r;
    };
    // The system's own reason for what SQLite would only call "unable to
    // open": no permission, a folder or a pipe where the file belongs.
    struct stat st {};
    bool existed = false;
    if (::stat(native.constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return untouched(Status::Unreadable, QStringLiteral("it is not a regular file"));
        // Asked, not opened: closing a descriptor of the file would drop the
        // locks SQLite holds on it for this process.
        if (::access(native.constData(), R_OK) != 0)
            return untouched(Status::Unreadable, QString::fromLocal8Bit(std::strerror(errno)));
        existed = st.st_size > 0;
    } else if (errno != ENOENT) {
        return untouched(Status::Unreadable, QString::fromLocal8Bit(std::strerror(errno)));
    }

    if (const QString why = Connect(); !why.isEmpty()) return untouched(Status::Unreadable, why);
    Verdict v;
    if (existed) v = Check();
    switch (v.trouble) {
    case Trouble::None: break;
    case Trouble::Damaged:
        if (!MoveAside(r, v.why)) return r;
        if (const QString why = Connect(); !why.isEmpty()) return untouched(Status::Unreadable, why);
        v = {};
        break;
    case Trouble::Busy: return untouched(Status::Busy, v.why);
    case Trouble::Unreadable: return untouched(Status::Unreadable, v.why);
    case Trouble::Unusable: return untouched(Status::Unusable, v.why);
    case Trouble::Other: return untouched(Status::Failed, v.why);
    }
    if (v.version == 0) {
        v = Create(withExamples, r.created);
    }
    if (v.trouble == Trouble::None && v.version > 0 && v.version < kSchemaVersion) v = Migrate();
    if (v.trouble == Trouble::Busy) return untouched(Status::Busy, v.why);
    if (v.trouble != Trouble::None) return untouched(Status::Failed, v.why);
    if (v.version != kSchemaVersion)  // made meanwhile by another version
        return untouched(Status::Unusable, QStringLiteral("it has schema %1").arg(v.version));
    open_ = true;
    r.ok = true;
    r.status = Status::Ready;
    return r;
}

int DriverStore::schemaVersion()
{
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        Fail(QStringLiteral("Reading the schema version"), q.lastError().text());
        return -1;
    }
    return q.value(0).toInt();
}

bool DriverStore::Begin()
{
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    if (q.exec(QStringLiteral("BEGIN IMMEDIATE"))) return true;
    const int code = SqliteCode(q.lastError());
    if (code == 5 || code == 6)
        return Fail(QStringLiteral("The library %1 is in use by another program").arg(path_),
                    QStringLiteral("nothing was changed"));
    return Fail(QStringLiteral("The library %1 cannot be written").arg(path_), Text(q.lastError()));
}

bool DriverStore::Commit()
{
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    if (q.exec(QStringLiteral("COMMIT"))) return true;
    Fail(QStringLiteral("Writing the library %1").arg(path_), Text(q.lastError()));
    Rollback();
    return false;
}

void DriverStore::Rollback()
{
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    q.exec(QStringLiteral("ROLLBACK"));
}

bool DriverStore::ReadAll(std::vector<Driver>& out)
{
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id,%1 FROM drivers ORDER BY id").arg(ColumnList())))
        return Fail(QStringLiteral("Reading the library %1").arg(path_), Text(q.lastError()));
    while (q.next()) {
        Driver d;
        d.id = q.value(0).toLongLong();
        d.model = q.value(1).toString().toStdString();
        d.range = q.value(2).toString().toStdString();
        for (int i = 2; i < kFieldCount; ++i) d.num[static_cast<std::size_t>(i)] = q.value(i + 1).toDouble();
        out.push_back(std::move(d));
    }
    return true;
}

std::vector<Driver> DriverStore::all()
{
    std::vector<Driver> out;
    error_.clear();
    if (!open_) {
        error_ = QStringLiteral("The library is not open.");
        return out;
    }
    if (!ReadAll(out)) out.clear();
    return out;
}

// The statements of one transaction; the caller begins and commits it.
bool DriverStore::Write(std::vector<Driver>& add, const std::vector<Driver>& change,
                        const std::vector<std::int64_t>& remove, const std::function<void(std::size_t)>& progress)
{
    const QSqlDatabase db = QSqlDatabase::database(conn_, false);
    std::size_t written = 0;
    auto tick = [&] {
        if (progress && ++written % 64 == 0) progress(written);
    };
    QSqlQuery del(db);
    del.prepare(QStringLiteral("DELETE FROM drivers WHERE id=?"));
    for (std::int64_t id : remove) {
        del.addBindValue(qlonglong(id));
        if (!del.exec()) return Fail(QStringLiteral("Deleting from the library %1").arg(path_), Text(del.lastError()));
    }
    QStringList sets;
    for (int i = 0; i < kFieldCount; ++i) sets << Column(i) + QStringLiteral("=?");
    QSqlQuery upd(db);
    upd.prepare(QStringLiteral("UPDATE drivers SET %1 WHERE id=?").arg(sets.join(QLatin1Char(','))));
    for (const Driver& d : change) {
        Bind(upd, d);
        upd.addBindValue(qlonglong(d.id));
        const QString what = QStringLiteral("Changing \"%1\"").arg(QString::fromStdString(d.model));
        if (!upd.exec()) return Fail(what, Text(upd.lastError()));
        if (upd.numRowsAffected() != 1) return Fail(what, QStringLiteral("it is no longer in the library"));
        tick();
    }
    QSqlQuery ins(db);
    ins.prepare(QStringLiteral("INSERT INTO drivers (id,%1) VALUES (?,%2)")
                    .arg(ColumnList(), QStringList(kFieldCount, QStringLiteral("?")).join(QLatin1Char(','))));
    for (Driver& d : add) {
        ins.addBindValue(d.id ? QVariant(qlonglong(d.id)) : QVariant(QMetaType(QMetaType::LongLong)));
        Bind(ins, d);
        if (!ins.exec())
            return Fail(QStringLiteral("Adding \"%1\" to the library %2").arg(QString::fromStdString(d.model), path_),
                        Text(ins.lastError()));
        d.id = ins.lastInsertId().toLongLong();
        tick();
    }
    return true;
}

bool DriverStore::apply(std::vector<Driver>& add, const std::vector<Driver>& change,
                        const std::vector<std::int64_t>& remove, const std::function<void(std::size_t)>& progress)
{
    if (!open_) return Fail(QStringLiteral("Changing the library"), QStringLiteral("it is not open"));
    if (!Begin()) return false;
    std::vector<std::int64_t> given;
    given.reserve(add.size());
    for (const Driver& d : add) given.push_back(d.id);
    if (!Write(add, change, remove, progress) || !Commit()) {
        Rollback();
        for (std::size_t j = 0; j < given.size(); ++j) add[j].id = given[j];
        return false;
    }
    if (progress) progress(add.size() + change.size());
    return true;
}

std::optional<MergePlan> DriverStore::merge(std::vector<Driver> incoming)
{
    if (!open_) {
        Fail(QStringLiteral("Importing"), QStringLiteral("the library is not open"));
        return std::nullopt;
    }
    if (!Begin()) return std::nullopt;
    std::vector<Driver> stored;
    std::optional<MergePlan> plan;
    if (ReadAll(stored)) plan = PlanMerge(stored, std::move(incoming));
    if (!plan || !Write(plan->added, plan->after, {}, {}) || !Commit()) {
        Rollback();
        return std::nullopt;
    }
    return plan;
}

}  // namespace ks::lib
