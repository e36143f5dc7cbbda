// The library against real SQLite files in a temporary folder: changes through
// the table model and its undo stack, two connections, files it cannot use.
#include "library/qt/store.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUndoStack>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/full_disk.h"
#include "library/qt/driver_filter.h"
#include "library/qt/import.h"
#include "library/qt/table_model.h"

namespace lib = ks::lib;
using lib::Field;
using Status = lib::DriverStore::Status;

namespace {

// A connection of its own to a library file, as another program holds one.
struct Raw {
    const QString name = QStringLiteral("raw-%1").arg(quintptr(this));
    explicit Raw(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
    }
    ~Raw() { QSqlDatabase::removeDatabase(name); }
    bool exec(const QString& sql) const { return QSqlQuery(QSqlDatabase::database(name, false)).exec(sql); }
};

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The table as the previous release made it (schema 1): Re had to be given.
QString SchemaOneTable()
{
    QString sql = QStringLiteral("CREATE TABLE drivers (id INTEGER PRIMARY KEY AUTOINCREMENT");
    for (const char* c : {"model", "range"}) sql += QStringLiteral(", \"%1\" TEXT NOT NULL").arg(c);
    for (const char* c : {"dia", "fs", "vas", "qts", "qes", "qms", "effi", "re", "pemax", "sd", "xmax", "vd", "le"}) {
        const bool positive = !std::strcmp(c, "fs") || !std::strcmp(c, "qts") || !std::strcmp(c, "re");
        sql += QStringLiteral(", \"%1\" REAL NOT NULL CHECK(\"%1\" %2 0)").arg(c, positive ? ">" : ">=");
    }
    return sql + QLatin1Char(')');
}

}  // namespace

class LibraryStore : public ::testing::Test {
protected:
    QString path() const { return dir.filePath("Tessaly/Vantrel/drivers.sqlite"); }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(dir.filePath(name)).absolutePath());
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return f.fileName();
    }
    static lib::Driver Make(const std::string& model, double fs)
    {
        lib::Driver d = lib::ExampleDrivers()[1];
        d.model = model;
        d.set(Field::Fs, fs);
        return d;
    }
    QTemporaryDir dir;
};

// A damaged file is moved aside, kept as it was and reported. Changes, their
// undo and redo, and a change that fails part-way, as the other copy of the
// program on the same file at the same time sees them.
TEST_F(LibraryStore, ChangesUndoRedoAndFailuresAsASecondConnectionSeesThem)
{
    const QByteArray junk("this is not a library\n");
    write("Tessaly/Vantrel/drivers.sqlite", junk);
    lib::DriverStore store(path());
    const auto opened = store.open(false);
    ASSERT_TRUE(opened.ok && opened.created && !opened.movedAside.isEmpty());
    EXPECT_TRUE(opened.message.contains(path()) && opened.message.contains(opened.movedAside));
    QFile aside(opened.movedAside);
    EXPECT_TRUE(aside.open(QIODevice::ReadOnly) && aside.readAll() == junk);
    lib::DriverTableModel model(store);
    ASSERT_TRUE(model.reload());
    lib::DriverStore other(path());
    const auto second = other.open();
    ASSERT_TRUE(second.ok && !second.created);
    QUndoStack undo;
    undo.push(new lib::AddDrivers(model, {Make("A", 40), Make("B", 50)}, "add"));
    lib::Driver a2 = model.driver(0);
    a2.set(Field::Fs, 41.5);
    undo.push(new lib::EditDriver(model, model.driver(0), a2));
    undo.push(new lib::DeleteDrivers(model, {model.driver(1)}));
    std::vector<lib::Driver> mine{Make("C", 60)};
    ASSERT_TRUE(other.insert(mine));  // written between our changes
    const auto seen = [&] {           // each model with its Fs and id, and the rows the model shows
        std::string s;
        for (const lib::Driver& d : other.all())
            s += d.model + ":" + QString::number(d.get(Field::Fs)).toStdString() + "#" + std::to_string(d.id) + " ";
        return s + std::to_string(model.rowCount());
    };
    const std::pair<void (QUndoStack::*)(), const char*> steps[] = {{nullptr, "A:41.5#1 C:60#3 1"},
                                                                    {&QUndoStack::undo, "A:41.5#1 B:50#2 C:60#3 2"},
                                                                    {&QUndoStack::undo, "A:40#1 B:50#2 C:60#3 2"},
                                                                    {&QUndoStack::undo, "C:60#3 0"},
                                                                    {&QUndoStack::redo, "A:40#1 B:50#2 C:60#3 2"},
                                                                    {&QUndoStack::redo, "A:41.5#1 B:50#2 C:60#3 2"},
                                                                    {&QUndoStack::redo, "A:41.5#1 C:60#3 1"}};
    for (const auto& [op, want] : steps) {
        if (op) (undo.*op)();
        EXPECT_EQ(seen(), want);
    }
    // The third row stands for a write that fails part-way (the file refuses
    // it as a full disk would): nothing of it stays, nor is it kept for undo.
    QString reported;
    QObject::connect(&model, &lib::DriverTableModel::failed, [&](const QString& m) { reported = m; });
    undo.push(new lib::AddDrivers(model, {Make("X1", 40), Make("X2", 50), Make("X3", -1), Make("X4", 60)}, "import"));
    EXPECT_TRUE(undo.count() == 3 && reported.contains("X3"));
    EXPECT_EQ(seen(), "A:41.5#1 C:60#3 1");

    ASSERT_TRUE(model.reload());
    lib::DriverFilter filter;  // on name and range, and by Fs
    filter.setSourceModel(&model);
    filter.setText(" c ");
    EXPECT_EQ(filter.rowCount(), 1);
    filter.setText("");
    filter.setRange(Field::Fs, 45, std::nullopt);
    EXPECT_EQ(filter.rowCount(), 1);
}

// Files read in and written out: a driver database's units converted and its
// bad rows refused with their lines; the library written out reads back with
// quotes, commas and all 17 digits (reading a CSV file in is e2e's).
TEST_F(LibraryStore, FilesReadInAndWrittenOut)
{
    const auto r = lib::ImportFile(
        write("db.xml",
              "<speakers>\n"
              " <speaker vendor=\"Made\" model=\"W8\" fs=\"38.5\" qts=\".33\" vas=\"25\" re=\"5.6\" sd=\".0214\" "
              "dia=\".2\" spl=\"90\"/>\n"
              " <speaker vendor=\"Made Up\" model=\"NoRe\" fs=\"40\" qts=\"0.3\" vas=\"10\" re=\"0\"/>\n"
              " <speaker vendor=\"Made Up\" model=\"V\" fs=\"60\" qts=\"0.4\" re=\"6\" vas=\"abc\"/>\n"
              "</speakers>\n"));
    ASSERT_TRUE(r.fatal.empty() && r.taken.size() == 2) << r.fatal;
    const lib::Driver& w = r.taken[0];
    EXPECT_EQ(w.model, "Made W8");
    EXPECT_EQ((std::array{w.get(Field::Fs), w.get(Field::Sd), w.get(Field::Dia)}), (std::array{38.5, 214.0, 20.0}));
    EXPECT_NEAR(w.get(Field::Effi), 0.6283, 1e-4);  // 90 dB
    // A driver without Re is taken, incomplete; a bad value refuses its row
    // with its line and reason.
    EXPECT_TRUE(r.taken[1].model == "Made Up NoRe" && lib::MissingFields(r.taken[1]) == "Qes, Qms, Re");
    ASSERT_EQ(r.refused.size(), 1u);
    EXPECT_TRUE(r.refused[0].line == 4 && r.refused[0].reason.find("vas") != std::string::npos);
    // Not well-formed: nothing is taken.
    const auto broken =
        lib::ImportFile(write("bad.xml", "<speakers><speaker model=\"b\" fs=\"1\" qts=\"1\" re=\"1\"/>\n<speaker"));
    EXPECT_TRUE(!broken.fatal.empty() && broken.taken.empty());

    std::vector<lib::Driver> drivers = lib::ExampleDrivers();
    drivers[1].model = "Ünïcode, \"¼\"";
    drivers[2].range = "a, \"b\"";
    drivers[3].set(Field::Vas, 0.1 + 0.2);
    QString error;
    ASSERT_TRUE(lib::ExportFile(dir.filePath("out.csv"), drivers, error)) << error.toStdString();
    const lib::ImportResult back = lib::ImportFile(dir.filePath("out.csv"));
    ASSERT_TRUE(back.fatal.empty() && back.refused.empty());
    EXPECT_EQ(back.taken, drivers);
    EXPECT_FALSE(lib::ImportFile(dir.filePath("missing.csv")).fatal.empty());
}

// Only a file SQLite calls damaged (here: corrupt pages) is moved aside,
// as it was. One another connection holds in the middle of a write, or a
// folder or a pipe where the file belongs, is reported and left alone.
TEST_F(LibraryStore, OnlyWhatSqliteCallsDamagedIsMovedAside)
{
    {
        lib::DriverStore made(path());
        std::vector<lib::Driver> many(400, Make("Filler with a name long enough to fill pages", 50));
        ASSERT_TRUE(made.open(false).ok && made.insert(many));
    }
    const QByteArray good = Bytes(path());
    QByteArray corrupt = good;
    for (int i = 4096 + 100; i < 3 * 4096; ++i) corrupt[i] = char(i * 37);
    write("Tessaly/Vantrel/drivers.sqlite", corrupt);
    const auto damaged = lib::DriverStore(path()).open();
    EXPECT_TRUE(damaged.ok && damaged.created && Bytes(damaged.movedAside) == corrupt);

    write("Tessaly/Vantrel/drivers.sqlite", good);
    {
        Raw holder(path());
        ASSERT_TRUE(holder.exec("BEGIN EXCLUSIVE") && holder.exec("DELETE FROM drivers WHERE id > 1"));
        lib::DriverStore store(path());
        store.setBusyTimeout(100);
        const auto busy = store.open();
        EXPECT_TRUE(busy.status == Status::Busy && busy.message.contains("in use by another program"));
        EXPECT_TRUE(busy.movedAside.isEmpty() && !store.isOpen());
        ASSERT_TRUE(holder.exec("COMMIT"));
    }
    lib::DriverStore after(path());
    EXPECT_TRUE(after.open().ok && after.all().size() == 1);  // the other's write stands

    QFile::remove(path());
    ASSERT_TRUE(QDir().mkpath(path()));
    const auto folder = lib::DriverStore(path()).open();
    EXPECT_TRUE(folder.status == Status::Unreadable && folder.message.contains("not a regular file"));
    ASSERT_TRUE(QDir().rmdir(path()) && ::mkfifo(QFile::encodeName(path()).constData(), 0600) == 0);
    EXPECT_EQ(lib::DriverStore(path()).open().status, Status::Unreadable);
    EXPECT_TRUE(QFileInfo(path()).exists() && !QFileInfo(path()).isFile());
    EXPECT_EQ(QDir(QFileInfo(path()).path()).entryList({"*damaged*"}, QDir::Files).size(), 1);
}

// A file of another layout is reported as such and left alone, never read
// as a library: a drivers table without our columns (SQLite would read each
// missing one as the text of its name), another program's tables, a newer
// version's library.
TEST_F(LibraryStore, OtherLayoutsAreReportedAndLeftAlone)
{
    const std::pair<std::vector<QString>, const char*> cases[] = {
        {{"CREATE TABLE drivers (id INTEGER PRIMARY KEY, model TEXT, fs REAL)", "PRAGMA user_version = 2"},
         "lacks the columns range, dia, vas, qts"},
        {{"CREATE TABLE notes (text TEXT)"}, "tables of another program"},
        {{"CREATE TABLE future (x)", "PRAGMA user_version = 99"}, "newer version"},
    };
    QDir().mkpath(QFileInfo(path()).path());
    for (const auto& [sql, why] : cases) {
        QFile::remove(path());
        for (const QString& step : sql) ASSERT_TRUE(Raw(path()).exec(step));
        const QByteArray before = Bytes(path());
        lib::DriverStore store(path());
        const auto opened = store.open();
        EXPECT_TRUE(opened.status == Status::Unusable && opened.movedAside.isEmpty()) << why;
        EXPECT_TRUE(opened.message.contains(why)) << opened.message.toStdString();
        EXPECT_TRUE(store.all().empty() && Bytes(path()) == before) << why;
    }
}

// A library of the previous schema opens with every row, id and value, in
// the new one; ids are still never given twice; Re may now be missing.
TEST_F(LibraryStore, SchemaOneLibraryKeepsEveryRow)
{
    QDir().mkpath(QFileInfo(path()).path());
    {
        Raw old(path());
        ASSERT_TRUE(old.exec(SchemaOneTable()) && old.exec("PRAGMA user_version = 1"));
        for (int i = 1; i <= 7; ++i)
            ASSERT_TRUE(old.exec(QStringLiteral("INSERT INTO drivers VALUES (NULL,'D%1','r',10,%2,5,0.4,0.5,3,0.5,6,"
                                                "20,50,2,10,0.1)")
                                     .arg(i)
                                     .arg(40 + i)));
        ASSERT_TRUE(old.exec("DELETE FROM drivers WHERE id IN (3, 6, 7)"));
    }
    lib::DriverStore store(path());
    const auto opened = store.open();
    ASSERT_TRUE(opened.ok && !opened.created) << opened.message.toStdString();
    EXPECT_EQ(store.schemaVersion(), lib::DriverStore::kSchemaVersion);
    std::string seen;
    for (const lib::Driver& d : store.all())
        seen += std::to_string(d.id) + d.model + "@" + lib::NumberText(d.get(Field::Fs)) + " ";
    EXPECT_EQ(seen, "1D1@41 2D2@42 4D4@44 5D5@45 ");
    std::vector<lib::Driver> noRe{Make("No Re", 50)};
    noRe[0].set(Field::Re, 0);
    ASSERT_TRUE(store.insert(noRe)) << store.lastError().toStdString();
    EXPECT_EQ(noRe[0].id, 8);
}

// An import merges by model name in one transaction (the same drivers twice
// leave the library as once) and, in the window, in one undoable step; an
// incomplete driver carries its mark in the table.
TEST_F(LibraryStore, ImportsMergeInOneStepAndIncompleteDriversAreMarked)
{
    lib::DriverStore store(path());
    ASSERT_TRUE(store.open().ok);
    lib::Driver noRe = Make("No Re", 40);
    noRe.set(Field::Re, 0);
    for (const std::size_t added : {std::size_t(1), std::size_t(0)}) {
        const auto plan = store.merge({noRe, Make("Norrland M13", 47)});
        ASSERT_TRUE(plan && plan->added.size() == added && plan->updated == added && plan->unchanged == 2 - 2 * added);
    }
    lib::DriverTableModel model(store);
    ASSERT_TRUE(model.reload());
    const std::vector<lib::Driver> before = model.drivers();
    QUndoStack undo;
    undo.push(new lib::ImportDrivers(model, lib::PlanMerge(before, {Make("No Re", 41), Make("New", 60)}), "import"));
    const auto fsOf = [&](const std::string& name) {
        for (const lib::Driver& d : model.drivers())
            if (d.model == name) return d.get(Field::Fs);
        return -1.0;
    };
    EXPECT_TRUE(fsOf("No Re") == 41 && fsOf("New") == 60 && model.drivers() == store.all());
    undo.undo();
    EXPECT_TRUE(model.drivers() == before && store.all() == before);
    for (int row = 0; row < model.rowCount(); ++row) {
        const bool marked = !model.data(model.index(row, 0), Qt::DecorationRole).isNull();
        EXPECT_EQ(marked, lib::Incomplete(model.driver(row))) << model.driver(row).model;
        EXPECT_EQ(model.data(model.index(row, 0), Qt::ToolTipRole).toString().contains("Incomplete: no "), marked);
    }
    EXPECT_TRUE(!model.data(model.index(model.rowOf(before.back().id), 0), Qt::DecorationRole).isNull());
}

// An export that meets a full disk says why and leaves the old file as it
// was (in a mount namespace of the test's own, where the machine allows one).
TEST_F(LibraryStore, ExportOnAFullDiskKeepsTheOldFile)
{
    const std::filesystem::path full = dir.filePath("full").toStdString();
    const std::string why = kt::MountFullFilesystem(full, "drivers.csv", "old export\n");
    if (!why.empty()) GTEST_SKIP() << why;
    QString error;
    EXPECT_FALSE(
        lib::ExportFile(QString::fromStdString((full / "drivers.csv").string()), lib::ExampleDrivers(), error));
    EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(ENOSPC)))) << error.toStdString();
    EXPECT_EQ(Bytes(QString::fromStdString((full / "drivers.csv").string())), "old export\n");
    ::umount2(full.c_str(), MNT_DETACH);
}
