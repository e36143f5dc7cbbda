// SPDX-License-Identifier: GPL-3.0-or-later
// The library against real files: changes and their undo, two connections, files it cannot use, imports, exports.
#include "library/qt/store.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QUndoStack>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/files.h"
#include "common/full_disk.h"
#include "library/qt/import.h"
#include "library/qt/table_model.h"

namespace lib = ks::lib;
using kt::ReadBytes;
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

// The table as the previous release made it (schema 1): Re had to be given.
QString SchemaOneTable()
{
    QString sql =
        "CREATE TABLE drivers (id INTEGER PRIMARY KEY AUTOINCREMENT, model TEXT NOT NULL, range TEXT NOT NULL";
    for (const QString c : {"dia", "fs", "vas", "qts", "qes", "qms", "effi", "re", "pemax", "sd", "xmax", "vd", "le"})
        sql += QStringLiteral(", %1 REAL NOT NULL CHECK(%1 %2 0)")
                   .arg(c, c == "fs" || c == "qts" || c == "re" ? ">" : ">=");
    return sql + QLatin1Char(')');
}

lib::Driver Make(const std::string& model, double fs)
{
    lib::Driver d = lib::ExampleDrivers()[1];
    d.model = model;
    d.set(Field::Fs, fs);
    return d;
}

// Each driver as its model, Fs and id.
std::string Listed(const std::vector<lib::Driver>& drivers)
{
    std::string s;
    for (const lib::Driver& d : drivers)
        s += d.model + ":" + lib::NumberText(d.get(Field::Fs)) + "#" + std::to_string(d.id) + " ";
    return s;
}

QByteArray Speakers(const QByteArray& vendor, int extraAttributes = 0, const QByteArray& prolog = {})
{
    QByteArray x = prolog + "<speakers>\n<speaker vendor=\"" + vendor + "\" model=\"M\" fs=\"40\" qts=\".4\" re=\"6\"";
    for (int i = 0; i < extraAttributes; ++i) x += " x" + QByteArray::number(i) + "=\"1\"";
    return x + "/>\n</speakers>\n";
}

QByteArray Wide(QStringConverter::Encoding e, const QByteArray& utf8, bool mark)
{
    return QStringEncoder(e, mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default)
        .encode(QString::fromUtf8(utf8));
}

}  // namespace

class LibraryStore : public ::testing::Test {
protected:
    QString path() const { return dir.filePath("Tessaly/Vantrel/drivers.sqlite"); }
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(QFileInfo(path()).path())); }
    QTemporaryDir dir;
};

// A damaged file is moved aside and reported; changes, their undo and redo, and a change that fails part-way,
// as another copy of the program on the same file sees them.
TEST_F(LibraryStore, ChangesUndoRedoAndFailuresAsASecondConnectionSeesThem)
{
    const QByteArray junk("this is not a library\n");
    ASSERT_TRUE(kt::WriteBytes(path(), junk));
    lib::DriverStore store(path());
    const auto opened = store.open(false);
    ASSERT_EQ(std::pair(opened.ok, opened.created), std::pair(true, true)) << opened.message.toStdString();
    EXPECT_EQ(ReadBytes(opened.movedAside), junk);
    EXPECT_TRUE(opened.message.contains(path()) && opened.message.contains(opened.movedAside))
        << opened.message.toStdString();
    lib::DriverTableModel model(store);
    ASSERT_TRUE(model.reload());
    lib::DriverStore other(path());
    const auto second = other.open();
    ASSERT_EQ(std::pair(second.ok, second.created), std::pair(true, false));
    QUndoStack undo;
    undo.push(new lib::AddDrivers(model, {Make("A", 40), Make("B", 50)}, "add"));
    lib::Driver a2 = model.driver(0);
    a2.set(Field::Fs, 41.5);
    undo.push(new lib::EditDriver(model, model.driver(0), a2));
    undo.push(new lib::DeleteDrivers(model, {model.driver(1)}));
    std::vector<lib::Driver> mine{Make("C", 60)};
    ASSERT_TRUE(other.insert(mine));  // written between our changes
    // What the other copy reads, and the count of rows the model shows.
    const auto seen = [&] { return Listed(other.all()) + std::to_string(model.rowCount()); };
    // clang-format off
    const std::pair<void (QUndoStack::*)(), const char*> steps[] = {
        {nullptr, "A:41.5#1 C:60#3 1"}, {&QUndoStack::undo, "A:41.5#1 B:50#2 C:60#3 2"},
        {&QUndoStack::undo, "A:40#1 B:50#2 C:60#3 2"}, {&QUndoStack::undo, "C:60#3 0"},
        {&QUndoStack::redo, "A:40#1 B:50#2 C:60#3 2"}, {&QUndoStack::redo, "A:41.5#1 B:50#2 C:60#3 2"},
        {&QUndoStack::redo, "A:41.5#1 C:60#3 1"}};
    // clang-format on
    for (const auto& [op, want] : steps) {
        if (op) (undo.*op)();
        EXPECT_EQ(seen(), want);
    }
    // The third row fails the write part-way, as a full disk would: nothing of it stays, nor is kept for undo.
    QString reported;
    QObject::connect(&model, &lib::DriverTableModel::failed, [&](const QString& m) { reported = m; });
    undo.push(new lib::AddDrivers(model, {Make("X1", 40), Make("X2", 50), Make("X3", -1), Make("X4", 60)}, "import"));
    EXPECT_EQ(undo.count(), 3);
    EXPECT_TRUE(reported.contains("X3")) << reported.toStdString();
    EXPECT_EQ(seen(), "A:41.5#1 C:60#3 1");
}

// A driver database's units converted, a driver without Re incomplete, a bad value's row refused with its line.
TEST_F(LibraryStore, DriverDatabaseUnitsAndRefusals)
{
    const QString xml = dir.filePath("db.xml");
    ASSERT_TRUE(kt::WriteBytes(
        xml,
        "<speakers>\n"
        " <speaker vendor=\"Made\" model=\"W8\" fs=\"38.5\" qts=\".33\" vas=\"25\" re=\"5.6\" sd=\".0214\" "
        "dia=\".2\" spl=\"90\"/>\n"
        " <speaker vendor=\"Made Up\" model=\"NoRe\" fs=\"40\" qts=\"0.3\" vas=\"10\" re=\"0\"/>\n"
        " <speaker vendor=\"Made Up\" model=\"V\" fs=\"60\" qts=\"0.4\" re=\"6\" vas=\"abc\"/>\n"
        "</speakers>\n"));
    const auto r = lib::ImportFile(xml);
    ASSERT_EQ(r.fatal + " taken " + std::to_string(r.taken.size()), " taken 2");
    const lib::Driver& w = r.taken[0];
    EXPECT_EQ(w.model, "Made W8");
    EXPECT_EQ((std::array{w.get(Field::Fs), w.get(Field::Sd), w.get(Field::Dia)}), (std::array{38.5, 214.0, 20.0}));
    EXPECT_NEAR(w.get(Field::Effi), 0.6283, 1e-4);  // 90 dB
    EXPECT_EQ(r.taken[1].model + " lacks " + lib::MissingFields(r.taken[1]), "Made Up NoRe lacks Qes, Qms, Re");
    ASSERT_EQ(r.refused.size(), 1u);
    EXPECT_TRUE(r.refused[0].line == 4 && r.refused[0].reason.find("vas") != std::string::npos)
        << r.refused[0].line << " " << r.refused[0].reason;
    EXPECT_NE(lib::ImportFile(dir.filePath("missing.csv")).fatal, "");
}

// Only a file SQLite calls damaged (corrupt pages) is moved aside, as it was; one held in the middle of another
// connection's write, or a folder or a pipe where the file belongs, is reported and left alone.
TEST_F(LibraryStore, OnlyWhatSqliteCallsDamagedIsMovedAside)
{
    {
        lib::DriverStore made(path());
        std::vector<lib::Driver> many(400, Make("Filler with a name long enough to fill pages", 50));
        ASSERT_TRUE(made.open(false).ok && made.insert(many));
    }
    const QByteArray good = ReadBytes(path());
    QByteArray corrupt = good;
    for (int i = 4096 + 100; i < 3 * 4096; ++i) corrupt[i] = char(i * 37);
    ASSERT_TRUE(kt::WriteBytes(path(), corrupt));
    const auto damaged = lib::DriverStore(path()).open();
    EXPECT_EQ(std::pair(damaged.ok, damaged.created), std::pair(true, true));
    EXPECT_EQ(ReadBytes(damaged.movedAside), corrupt);
    ASSERT_TRUE(kt::WriteBytes(path(), good));
    {
        Raw holder(path());
        ASSERT_TRUE(holder.exec("BEGIN EXCLUSIVE") && holder.exec("DELETE FROM drivers WHERE id > 1"));
        lib::DriverStore store(path());
        store.setBusyTimeout(100);
        const auto busy = store.open();
        EXPECT_EQ(busy.status, Status::Busy);
        EXPECT_TRUE(busy.message.contains("in use by another program")) << busy.message.toStdString();
        EXPECT_EQ(busy.movedAside.toStdString(), "");
        EXPECT_FALSE(store.isOpen());
        ASSERT_TRUE(holder.exec("COMMIT"));
    }
    lib::DriverStore after(path());
    ASSERT_TRUE(after.open().ok);
    EXPECT_EQ(after.all().size(), 1u);  // the other's write stands
    QFile::remove(path());
    for (const bool folder : {true, false}) {
        ASSERT_TRUE(folder ? QDir().mkpath(path())
                           : QDir().rmdir(path()) && !::mkfifo(QFile::encodeName(path()).constData(), 0600));
        const auto opened = lib::DriverStore(path()).open();
        EXPECT_EQ(opened.status, Status::Unreadable) << (folder ? "a folder" : "a pipe");
        EXPECT_TRUE(opened.message.contains("not a regular file")) << opened.message.toStdString();
    }
    EXPECT_EQ(std::pair(QFileInfo(path()).exists(), QFileInfo(path()).isFile()), std::pair(true, false));
    EXPECT_EQ(QDir(QFileInfo(path()).path()).entryList({"*damaged*"}, QDir::Files).size(), 1);
}

// A drivers table without our columns, another program's tables or a newer version's library is reported and
// left alone, never read: each holds a row a store that read it would show.
TEST_F(LibraryStore, OtherLayoutsAreReportedAndLeftAlone)
{
    const std::pair<std::vector<QString>, const char*> cases[] = {
        {{"CREATE TABLE drivers (id INTEGER PRIMARY KEY, model TEXT, fs REAL)",
          "INSERT INTO drivers (model, fs) VALUES ('Old', 50)", "PRAGMA user_version = 2"},
         "lacks the columns range, dia, vas, qts"},
        {{"CREATE TABLE notes (text TEXT)", "INSERT INTO notes VALUES ('mine')"}, "tables of another program"},
        {{"CREATE TABLE drivers (id INTEGER PRIMARY KEY, model TEXT, fs REAL)",
          "INSERT INTO drivers (model, fs) VALUES ('Future', 50)", "PRAGMA user_version = 99"},
         "newer version"},
    };
    for (const auto& [sql, why] : cases) {
        QFile::remove(path());
        for (const QString& step : sql) ASSERT_TRUE(Raw(path()).exec(step)) << step.toStdString();
        const QByteArray before = ReadBytes(path());
        lib::DriverStore store(path());
        const auto opened = store.open();
        EXPECT_EQ(std::tuple(opened.status, opened.movedAside.toStdString(), store.isOpen(), Listed(store.all())),
                  std::tuple(Status::Unusable, "", false, ""))
            << why;
        EXPECT_TRUE(opened.message.contains(why)) << opened.message.toStdString();
        EXPECT_EQ(ReadBytes(path()), before) << why;
    }
}

// A library of the previous schema opens with every row, id and value; ids are never given twice; Re may be missing.
TEST_F(LibraryStore, SchemaOneLibraryKeepsEveryRow)
{
    {
        Raw old(path());
        ASSERT_TRUE(old.exec(SchemaOneTable()) && old.exec("PRAGMA user_version = 1"));
        const QString row = "INSERT INTO drivers VALUES (NULL,'D%1','r',10,%2,5,0.4,0.5,3,0.5,6,20,50,2,10,0.1)";
        for (int i = 1; i <= 7; ++i) ASSERT_TRUE(old.exec(row.arg(i).arg(40 + i)));
        ASSERT_TRUE(old.exec("DELETE FROM drivers WHERE id IN (3, 6, 7)"));
    }
    lib::DriverStore store(path());
    const auto opened = store.open();
    ASSERT_EQ(std::pair(opened.ok, opened.created), std::pair(true, false)) << opened.message.toStdString();
    EXPECT_EQ(store.schemaVersion(), lib::DriverStore::kSchemaVersion);
    EXPECT_EQ(Listed(store.all()), "D1:41#1 D2:42#2 D4:44#4 D5:45#5 ");
    std::vector<lib::Driver> noRe{Make("No Re", 50)};
    noRe[0].set(Field::Re, 0);
    ASSERT_TRUE(store.insert(noRe)) << store.lastError().toStdString();
    EXPECT_EQ(noRe[0].id, 8);
}

// An import merges by model name in one transaction (twice leaves the library as once) and one undoable step;
// an incomplete driver carries its mark in the table.
TEST_F(LibraryStore, ImportsMergeInOneStepAndIncompleteDriversAreMarked)
{
    lib::DriverStore store(path());
    ASSERT_TRUE(store.open().ok);
    lib::Driver noRe = Make("No Re", 40);
    noRe.set(Field::Re, 0);
    for (const std::size_t added : {1u, 0u}) {  // added, updated and unchanged
        const auto plan = store.merge({noRe, Make("Norrland M13", 47)});
        ASSERT_TRUE(plan) << store.lastError().toStdString();
        EXPECT_EQ((std::array{plan->added.size(), plan->updated, plan->unchanged}),
                  (std::array{added, added, 2 - 2 * added}));
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
    EXPECT_EQ(std::pair(fsOf("No Re"), fsOf("New")), std::pair(41.0, 60.0));
    EXPECT_EQ(model.drivers(), store.all());
    undo.undo();
    EXPECT_EQ(model.drivers(), before);
    EXPECT_EQ(store.all(), before);
    for (int row = 0; row < model.rowCount(); ++row) {
        const bool marked = !model.data(model.index(row, 0), Qt::DecorationRole).isNull();
        EXPECT_EQ(marked, lib::Incomplete(model.driver(row))) << model.driver(row).model;
        EXPECT_EQ(model.data(model.index(row, 0), Qt::ToolTipRole).toString().contains("Incomplete: no "), marked);
    }
    EXPECT_FALSE(model.data(model.index(model.rowOf(before.back().id), 0), Qt::DecorationRole).isNull());
}

// An export that meets a full disk says why and leaves the old file as it was.
TEST_F(LibraryStore, ExportOnAFullDiskKeepsTheOldFile)
{
    const std::filesystem::path full = dir.filePath("full").toStdString();
    const std::string why = kt::MountFullFilesystem(full, "drivers.csv", "old export\n");
    if (!why.empty()) GTEST_SKIP() << why;
    const QString csv = QString::fromStdString((full / "drivers.csv").string());
    QString error;
    EXPECT_FALSE(lib::ExportFile(csv, lib::ExampleDrivers(), error));
    EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(ENOSPC)))) << error.toStdString();
    EXPECT_EQ(ReadBytes(csv), "old export\n");
    ::umount2(full.c_str(), MNT_DETACH);
}

TEST(XmlImport, ReadsInItsEncodingOrRefusesWhole)
{
    const struct {
        QByteArray xml;
        const char* vendorOrFatal;  // the one driver's maker, or a part of the reason
    } cases[] = {
        // The reader checks each attribute against every one before it: 200,000 of them would take minutes.
        {Speakers("V", 59), "V"},
        {Speakers("V", 60), "more than 64 attributes at line 2"},
        {Speakers("V", 200000), "more than 64 attributes at line 2"},
        {Speakers("V", 0, "<!DOCTYPE s [<!ATTLIST speaker x CDATA \"1\">]>"), "declares attribute lists"},
        {Wide(QStringConverter::Utf16LE, Speakers("Bj\xC3\xB6rn"), true), "Bj\xC3\xB6rn"},
        {Wide(QStringConverter::Utf16BE, Speakers("Bj\xC3\xB6rn"), false), "Bj\xC3\xB6rn"},
        {Speakers("Bj\xF6rn", 0, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"), "Bj\xC3\xB6rn"},
        {Speakers("V", 0, "<?xml version='1.0' encoding='X-NONE-7'?>"), "the encoding X-NONE-7 is not supported"},
        {Speakers("Bj\xF6rn"), "not valid UTF-8"},
        {"<speakers><speaker model=\"b\" fs=\"1\" qts=\"1\" re=\"1\"/>\n<speaker", "not well-formed XML at line 2"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        ASSERT_TRUE(kt::WriteBytes(dir.filePath("db.xml"), c.xml));
        const lib::ImportResult r = lib::ImportFile(dir.filePath("db.xml"));
        const std::string got = r.taken.size() == 1 ? r.taken[0].model : r.fatal;
        EXPECT_NE(got.find(c.vendorOrFatal), std::string::npos) << got;
        EXPECT_EQ(r.taken.size() + !r.fatal.empty(), 1u) << c.vendorOrFatal;  // a driver or the reason
    }
}

// What an export writes, an import reads back whole up to the import's limit; past it the export says so.
TEST(ReadBack, ExportsUpToTheImportLimitReadBackWhole)
{
    QTemporaryDir dir;
    std::vector<lib::Driver> drivers(lib::kMaxImportRows + 1, lib::ExampleDrivers()[4]);
    for (std::size_t i = 0; i < drivers.size(); ++i) drivers[i].model = std::to_string(1000000 + i);
    for (const std::size_t n : {lib::kMaxImportRows, lib::kMaxImportRows + 1}) {
        const QString path = dir.filePath(QString::number(n));
        QString error;
        ASSERT_TRUE(lib::ExportFile(path, {drivers.begin(), drivers.begin() + std::ptrdiff_t(n)}, error));
        const bool whole = lib::ImportFile(path).taken.size() == n;
        EXPECT_EQ(whole, n <= lib::kMaxImportRows);
        EXPECT_EQ(lib::ReadBackLimit(n, QFileInfo(path).size()).contains("at most 200000"), !whole);
    }
    EXPECT_TRUE(lib::ReadBackLimit(10, qint64(lib::kMaxImportBytes) + 1).contains("64 MiB"));
}
