// The library against real SQLite files in a temporary folder: changes through
// the table model and its undo stack, two connections, files it cannot use.
#include "library/qt/store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUndoStack>
#include <cerrno>
#include <cstring>

#include "library/qt/import.h"
#include "library/qt/table_model.h"

namespace lib = ks::lib;
using lib::Field;
using Status = lib::DriverStore::Status;

namespace {

// A connection of its own to a library file, as another program holds one.
class Raw {
public:
    explicit Raw(const QString& path) : name_(QStringLiteral("raw-%1").arg(++count_))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.open();
    }
    ~Raw()
    {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    bool exec(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(name_, false));
        const bool ok = q.exec(sql);
        EXPECT_TRUE(ok) << sql.toStdString() << ": " << q.lastError().text().toStdString();
        return ok;
    }

private:
    static inline int count_ = 0;
    QString name_;
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

// Only a file SQLite calls damaged is moved aside (and kept as it was): one
// that is not a database at all, and one whose pages are corrupt.
TEST_F(LibraryStore, OnlyDamagedFilesAreMovedAside)
{
    {
        lib::DriverStore made(path());
        ASSERT_TRUE(made.open().ok);
        std::vector<lib::Driver> many(400, Make("Filler with a long enough name to fill pages", 50));
        ASSERT_TRUE(made.insert(many));
    }
    QByteArray corrupt = Bytes(path());
    ASSERT_GT(corrupt.size(), 3 * 4096);
    for (int i = 4096 + 100; i < 3 * 4096; ++i) corrupt[i] = char(i * 37);
    for (const QByteArray& bytes : {QByteArray("this is not a library\n"), corrupt}) {
        write("Tessaly/Vantrel/drivers.sqlite", bytes);
        lib::DriverStore store(path());
        const auto opened = store.open();
        ASSERT_TRUE(opened.ok && opened.created) << opened.message.toStdString();
        EXPECT_EQ(Bytes(opened.movedAside), bytes);
        EXPECT_EQ(store.all().size(), lib::ExampleDrivers().size());
        QFile::remove(opened.movedAside);
    }
}

// Another program holding the library (in the middle of its own write) is
// waited for, then reported; nothing is moved, replaced or written, and its
// write survives. A change made meanwhile through an open store says so too.
TEST_F(LibraryStore, BusyLibraryIsReportedAndLeftAlone)
{
    lib::DriverStore ready(path());
    ASSERT_TRUE(ready.open().ok);
    const QByteArray before = Bytes(path());  // read first: a closed descriptor drops the process's locks
    {
        Raw holder(path());
        ASSERT_TRUE(holder.exec("BEGIN EXCLUSIVE"));
        ASSERT_TRUE(
            holder.exec("INSERT INTO drivers (model,range,dia,fs,vas,qts,qes,qms,effi,re,pemax,sd,xmax,vd,le) "
                        "VALUES ('Theirs','',0,50,0,0.4,0,0,0,6,0,0,0,0,0)"));
        lib::DriverStore store(path());
        store.setBusyTimeout(200);
        const auto opened = store.open();
        EXPECT_TRUE(!opened.ok && opened.status == Status::Busy && !store.isOpen());
        EXPECT_TRUE(opened.message.contains(path()) && opened.message.contains("in use by another program"))
            << opened.message.toStdString();
        EXPECT_TRUE(opened.movedAside.isEmpty() && Bytes(path()) == before);
        EXPECT_FALSE(QDir(QFileInfo(path()).path()).entryList().join(' ').contains("damaged"));
        ready.setBusyTimeout(200);
        std::vector<lib::Driver> mine{Make("Mine", 40)};
        EXPECT_FALSE(ready.insert(mine));
        EXPECT_TRUE(ready.lastError().contains("in use by another program")) << ready.lastError().toStdString();
        ASSERT_TRUE(holder.exec("COMMIT"));
    }
    lib::DriverStore store(path());
    ASSERT_TRUE(store.open().ok);
    const auto rows = store.all();
    ASSERT_EQ(rows.size(), lib::ExampleDrivers().size() + 1);
    EXPECT_EQ(rows.back().model, "Theirs");
}

// What the system will not let us read is reported with its reason and left
// alone: a folder or a pipe where the file belongs, a file of another user.
TEST_F(LibraryStore, UnreadableLibraryIsReportedWithTheSystemsReason)
{
    QDir().mkpath(path());
    lib::DriverStore folder(path());
    const auto opened = folder.open();
    EXPECT_TRUE(opened.status == Status::Unreadable && opened.message.contains("not a regular file"))
        << opened.message.toStdString();
    ASSERT_TRUE(QDir().rmdir(path()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
    EXPECT_EQ(lib::DriverStore(path()).open().status, Status::Unreadable);
    EXPECT_TRUE(QFileInfo(path()).exists() && !QFileInfo(path()).isFile());
    QFile::remove(path());

    {
        lib::DriverStore made(path());
        ASSERT_TRUE(made.open().ok);
    }
    const QByteArray before = Bytes(path());
    ::chmod(QFile::encodeName(path()).constData(), 0600);
    // Root reads whatever it likes: the user without the right is a child
    // that gives up root (the folders on the way searchable, the file not).
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0) {
            for (const QString& d : {dir.path(), dir.filePath("Tessaly"), dir.filePath("Tessaly/Vantrel")})
                ::chmod(QFile::encodeName(d).constData(), 0711);
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
        } else {
            ::chmod(QFile::encodeName(path()).constData(), 0);
        }
        lib::DriverStore store(path());
        const auto o = store.open();
        ::_exit(o.status == Status::Unreadable && o.message.contains(QString::fromLocal8Bit(std::strerror(EACCES)))
                    ? 0
                    : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(QFile::encodeName(path()).constData(), 0600);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Bytes(path()), before);
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
    for (const auto& [sql, why] : cases) {
        QFile::remove(path());
        QDir().mkpath(QFileInfo(path()).path());
        {
            Raw other(path());
            for (const QString& step : sql) ASSERT_TRUE(other.exec(step));
        }
        const QByteArray before = Bytes(path());
        lib::DriverStore store(path());
        const auto opened = store.open();
        EXPECT_TRUE(!opened.ok && opened.status == Status::Unusable && opened.movedAside.isEmpty()) << why;
        EXPECT_TRUE(opened.message.contains(why)) << opened.message.toStdString();
        EXPECT_TRUE(store.all().empty() && !store.lastError().isEmpty());
        EXPECT_EQ(Bytes(path()), before) << why;
    }
}

// A library of the previous schema opens with every row, id and value, in
// the new one; ids are still never given twice; Re may now be missing.
TEST_F(LibraryStore, SchemaOneLibraryKeepsEveryRow)
{
    QDir().mkpath(QFileInfo(path()).path());
    {
        Raw old(path());
        ASSERT_TRUE(old.exec(SchemaOneTable()));
        ASSERT_TRUE(old.exec("PRAGMA user_version = 1"));
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

// Importing merges by model name in one transaction, so the same file twice
// leaves the library as once; through the window's undo the merge comes and
// goes whole. Extreme values are refused per row, never failing the file.
TEST_F(LibraryStore, ImportsMergeByModelAndRefuseBadRowsAlone)
{
    const QString csv = write("mine.csv",
                              "model,fs,qts,qes,qms,re\n"
                              "Kept,50,0.4,,,6\n"
                              "Tiny Q,50,,1e-200,1e-200,6\n"
                              "Huge Q,50,,1e308,1e308,6\n"
                              "Lost Q,50,,4e-320,4e-320,6\n"
                              "Norrland M13,48,0.36,0.41,3.1,\n");
    lib::DriverStore store(path());
    ASSERT_TRUE(store.open().ok);
    const std::size_t examples = lib::ExampleDrivers().size();
    for (int pass = 0; pass < 2; ++pass) {
        const lib::ImportResult r = lib::ImportFile(csv);
        ASSERT_TRUE(r.fatal.empty() && r.taken.size() == 4 && r.refused.size() == 1);
        EXPECT_EQ(r.refused[0].line, 5);
        const auto plan = store.merge(r.taken);
        ASSERT_TRUE(plan) << store.lastError().toStdString();
        // The example of that name is updated (its Re now missing), once.
        const std::array<std::size_t, 3> counts{plan->added.size(), plan->updated, plan->unchanged};
        EXPECT_EQ(counts, (pass == 0 ? std::array<std::size_t, 3>{3, 1, 0} : std::array<std::size_t, 3>{0, 0, 4}));
        EXPECT_EQ(store.all().size(), examples + 3);
    }
    for (const lib::Driver& d : store.all()) EXPECT_TRUE(std::isfinite(d.get(Field::Qts)) && d.get(Field::Qts) > 0);

    lib::DriverTableModel model(store);
    ASSERT_TRUE(model.reload());
    std::vector<lib::Driver> again{Make("Kept", 51), Make("New", 60)};
    QUndoStack undo;
    undo.push(new lib::ImportDrivers(model, lib::PlanMerge(model.drivers(), again), "import"));
    const auto fsOf = [&](const std::string& name) {
        for (const lib::Driver& d : store.all())
            if (d.model == name) return d.get(Field::Fs);
        return -1.0;
    };
    EXPECT_TRUE(fsOf("Kept") == 51 && fsOf("New") == 60 && model.rowCount() == int(examples) + 4);
    undo.undo();
    EXPECT_TRUE(fsOf("Kept") == 50 && fsOf("New") == -1 && model.rowCount() == int(examples) + 3);
    EXPECT_EQ(model.drivers(), store.all());
    // An incomplete driver carries its mark in the table, a complete one none.
    for (int row = 0; row < model.rowCount(); ++row) {
        const lib::Driver& d = model.driver(row);
        const bool marked = !model.data(model.index(row, 0), Qt::DecorationRole).isNull();
        EXPECT_EQ(marked,
                  d.get(Field::Vas) == 0 || d.get(Field::Re) == 0 || d.get(Field::Qes) == 0 || d.get(Field::Qms) == 0)
            << d.model;
        EXPECT_EQ(model.data(model.index(row, 0), Qt::ToolTipRole).toString().contains("Incomplete: no "), marked);
        if (d.model == "Kept" || d.model == "Norrland W20") {
            EXPECT_EQ(marked, d.model == "Kept");
        }
    }
}
