#include "library/qt/store.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

namespace ks::lib {
namespace {

QAtomicInt g_connections;

QString Column(int i)
{
    return QStringLiteral("\"%1\"").arg(
        QLatin1String(Info(static_cast<Field>(i)).key.data(), qsizetype(Info(static_cast<Field>(i)).key.size())));
}

// AUTOINCREMENT: an id is never given again, so undoing a delete cannot
// collide with a driver another copy added meanwhile.
QString CreateTable()
{
    QString sql = QStringLiteral("CREATE TABLE drivers (id INTEGER PRIMARY KEY AUTOINCREMENT");
    for (int i = 0; i < kFieldCount; ++i) {
        const Field f = static_cast<Field>(i);
        sql += QStringLiteral(", ") + Column(i);
        if (!Info(f).numeric)
            sql += QStringLiteral(" TEXT NOT NULL");
        else if (f == Field::Fs || f == Field::Qts || f == Field::Re)
            sql += QStringLiteral(" REAL NOT NULL CHECK(%1 > 0)").arg(Column(i));
        else
            sql += QStringLiteral(" REAL NOT NULL CHECK(%1 >= 0)").arg(Column(i));
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

bool DriverStore::Fail(const QString& what, const QString& why)
{
    error_ = what + QStringLiteral(": ") + why;
    return false;
}

DriverStore::Opened DriverStore::open(bool withExamples)
{
    Opened r;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        r.message = QStringLiteral("The SQLite driver of Qt is not installed (package libqt6sql6-sqlite).");
        return r;
    }
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) {
        r.message = QStringLiteral("Cannot make the folder of the library %1.").arg(path_);
        return r;
    }
    auto connect = [&] {
        QSqlDatabase db = QSqlDatabase::contains(conn_) ? QSqlDatabase::database(conn_, false)
                                                        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conn_);
        db.setDatabaseName(path_);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        return db.open() ? QString() : db.lastError().text();
    };
    // Whether what is there is a library we can use: the reason when not.
    auto check = [&]() -> QString {
        QSqlQuery q(QSqlDatabase::database(conn_, false));
        if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next()) return q.lastError().text();
        if (q.value(0).toString() != QLatin1String("ok")) return q.value(0).toString().left(200);
        const int v = schemaVersion();
        if (v < 0) return error_;
        if (v == 0) {
            // Empty (new, or made by a copy that has not finished): fine.
            if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !q.next()) return q.lastError().text();
            return q.value(0).toInt() == 0 ? QString() : QStringLiteral("tables without a schema version");
        }
        if (v > kSchemaVersion) return QString();  // handled below, not damage
        if (!q.exec(QStringLiteral("SELECT %1 FROM drivers LIMIT 1").arg(ColumnList()))) return q.lastError().text();
        return QString();
    };

    const bool existed = QFileInfo(path_).size() > 0;
    QString why = connect();
    if (why.isEmpty() && existed) why = check();
    if (!why.isEmpty() && existed) {
        QSqlDatabase::database(conn_, false).close();
        const QString aside = AsideName(path_);
        if (!QFile::rename(path_, aside)) {
            r.message = QStringLiteral("The library %1 cannot be read (%2) and cannot be moved aside.").arg(path_, why);
            return r;
        }
        // A journal left beside it belongs to the damaged file.
        for (const char* suffix : {"-journal", "-wal", "-shm"})
            if (QFileInfo::exists(path_ + QLatin1String(suffix)))
                QFile::rename(path_ + QLatin1String(suffix), aside + QLatin1String(suffix));
        r.movedAside = aside;
        r.message = QStringLiteral("The library %1 could not be read (%2). It was moved to %3 and a new one was made.")
                        .arg(path_, why, aside);
        why = connect();
    }
    if (!why.isEmpty()) {
        r.message = QStringLiteral("The library %1 cannot be opened: %2").arg(path_, why);
        return r;
    }
    open_ = true;
    const int v = schemaVersion();
    if (v > kSchemaVersion) {
        open_ = false;
        r.message = QStringLiteral(
                        "The library %1 was made by a newer version of this program (schema %2); it is left as it is.")
                        .arg(path_)
                        .arg(v);
        return r;
    }
    if (v == 0) {
        if (!Begin()) {
            open_ = false;
            r.message = error_;
            return r;
        }
        // Another copy may have made it between our look and our lock.
        if (schemaVersion() == 0) {
            QSqlQuery q(QSqlDatabase::database(conn_, false));
            std::vector<Driver> examples = withExamples ? ExampleDrivers() : std::vector<Driver>{};
            if (!q.exec(CreateTable()) || !q.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion))) {
                Fail(QStringLiteral("Making the library %1").arg(path_), q.lastError().text());
                Rollback();
                open_ = false;
                r.message = error_;
                return r;
            }
            QSqlQuery ins(QSqlDatabase::database(conn_, false));
            ins.prepare(QStringLiteral("INSERT INTO drivers (%1) VALUES (%2)")
                            .arg(ColumnList(), QStringList(kFieldCount, QStringLiteral("?")).join(QLatin1Char(','))));
            for (Driver& d : examples) {
                Bind(ins, d);
                if (!ins.exec()) break;
            }
            r.created = true;
        }
        if (!Commit()) {
            open_ = false;
            r.message = error_;
            return r;
        }
    }
    r.ok = true;
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
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return Fail(QStringLiteral("The library %1 is busy or cannot be written").arg(path_), q.lastError().text());
    return true;
}

bool DriverStore::Commit()
{
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    if (q.exec(QStringLiteral("COMMIT"))) return true;
    Fail(QStringLiteral("Writing the library %1").arg(path_), q.lastError().text());
    Rollback();
    return false;
}

void DriverStore::Rollback()
{
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    q.exec(QStringLiteral("ROLLBACK"));
}

std::vector<Driver> DriverStore::all()
{
    std::vector<Driver> out;
    error_.clear();
    if (!open_) {
        error_ = QStringLiteral("The library is not open.");
        return out;
    }
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id,%1 FROM drivers ORDER BY id").arg(ColumnList()))) {
        Fail(QStringLiteral("Reading the library %1").arg(path_), q.lastError().text());
        return out;
    }
    while (q.next()) {
        Driver d;
        d.id = q.value(0).toLongLong();
        d.model = q.value(1).toString().toStdString();
        d.range = q.value(2).toString().toStdString();
        for (int i = 2; i < kFieldCount; ++i) d.num[static_cast<std::size_t>(i)] = q.value(i + 1).toDouble();
        out.push_back(std::move(d));
    }
    return out;
}

bool DriverStore::insert(std::vector<Driver>& drivers, const std::function<void(std::size_t)>& progress)
{
    if (!open_) return Fail(QStringLiteral("Adding"), QStringLiteral("the library is not open"));
    if (!Begin()) return false;
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    q.prepare(QStringLiteral("INSERT INTO drivers (id,%1) VALUES (?,%2)")
                  .arg(ColumnList(), QStringList(kFieldCount, QStringLiteral("?")).join(QLatin1Char(','))));
    std::vector<std::int64_t> given;
    given.reserve(drivers.size());
    for (std::size_t i = 0; i < drivers.size(); ++i) {
        Driver& d = drivers[i];
        given.push_back(d.id);
        q.addBindValue(d.id ? QVariant(qlonglong(d.id)) : QVariant(QMetaType(QMetaType::LongLong)));
        Bind(q, d);
        if (!q.exec()) {
            Fail(QStringLiteral("Adding \"%1\" to the library %2").arg(QString::fromStdString(d.model), path_),
                 q.lastError().text());
            Rollback();
            for (std::size_t j = 0; j < given.size(); ++j) drivers[j].id = given[j];
            return false;
        }
        d.id = q.lastInsertId().toLongLong();
        if (progress && i % 64 == 63) progress(i + 1);
    }
    if (!Commit()) {
        for (std::size_t j = 0; j < given.size(); ++j) drivers[j].id = given[j];
        return false;
    }
    if (progress) progress(drivers.size());
    return true;
}

bool DriverStore::update(const Driver& d)
{
    if (!open_) return Fail(QStringLiteral("Changing"), QStringLiteral("the library is not open"));
    if (!Begin()) return false;
    QStringList sets;
    for (int i = 0; i < kFieldCount; ++i) sets << Column(i) + QStringLiteral("=?");
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    q.prepare(QStringLiteral("UPDATE drivers SET %1 WHERE id=?").arg(sets.join(QLatin1Char(','))));
    Bind(q, d);
    q.addBindValue(qlonglong(d.id));
    if (!q.exec()) {
        Fail(QStringLiteral("Changing \"%1\"").arg(QString::fromStdString(d.model)), q.lastError().text());
        Rollback();
        return false;
    }
    if (q.numRowsAffected() != 1) {
        Rollback();
        return Fail(QStringLiteral("Changing \"%1\"").arg(QString::fromStdString(d.model)),
                    QStringLiteral("it is no longer in the library"));
    }
    return Commit();
}

bool DriverStore::remove(const std::vector<std::int64_t>& ids)
{
    if (!open_) return Fail(QStringLiteral("Deleting"), QStringLiteral("the library is not open"));
    if (!Begin()) return false;
    QSqlQuery q(QSqlDatabase::database(conn_, false));
    q.prepare(QStringLiteral("DELETE FROM drivers WHERE id=?"));
    for (std::int64_t id : ids) {
        q.addBindValue(qlonglong(id));
        if (!q.exec()) {
            Fail(QStringLiteral("Deleting from the library %1").arg(path_), q.lastError().text());
            Rollback();
            return false;
        }
    }
    return Commit();
}

}  // namespace ks::lib
