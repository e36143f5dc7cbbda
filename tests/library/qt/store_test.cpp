// The library against real SQLite files in a temporary folder: changes
// through the table model and its undo stack, two connections at once, a
// damaged file, the schema version, and files to import.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUndoStack>

#include "library/qt/import.h"
#include "library/qt/store.h"
#include "library/qt/table_model.h"

namespace lib = ks::lib;
using lib::Field;

namespace {

class LibraryStore : public ::testing::Test {
protected:
    QString path() const { return dir.filePath("Tessaly/Vantrel/drivers.sqlite"); }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    static lib::Driver Make(const std::string& model, double fs)
    {
        lib::Driver d = lib::ExampleDrivers()[1];
        d.id = 0;
        d.model = model;
        d.set(Field::Fs, fs);
        return d;
    }
    QTemporaryDir dir;
};

std::vector<std::string> Models(const std::vector<lib::Driver>& ds)
{
    std::vector<std::string> m;
    for (const lib::Driver& d : ds) m.push_back(d.model);
    return m;
}

}  // namespace

TEST_F(LibraryStore, ChangesUndoRedoAndASecondConnectionSeesThem)
{
    lib::DriverStore store(path());
    const auto opened = store.open(false);
    ASSERT_TRUE(opened.ok) << opened.message.toStdString();
    EXPECT_TRUE(opened.created);
    EXPECT_EQ(store.schemaVersion(), lib::DriverStore::kSchemaVersion);
    lib::DriverTableModel model(store);
    ASSERT_TRUE(model.reload());
    QUndoStack undo;
    // The other copy of the program, on the same file at the same time.
    lib::DriverStore other(path());
    ASSERT_TRUE(other.open().ok);
    EXPECT_FALSE(other.open().created);

    undo.push(new lib::AddDrivers(model, {Make("A", 40), Make("B", 50)}, "add"));
    const std::int64_t idA = model.driver(0).id;
    lib::Driver a2 = model.driver(0);
    a2.set(Field::Fs, 41.5);
    undo.push(new lib::EditDriver(model, model.driver(0), a2));
    undo.push(new lib::DeleteDrivers(model, {model.driver(1)}));
    std::vector<lib::Driver> mine{Make("C", 60)};
    ASSERT_TRUE(other.insert(mine));  // written between our changes

    struct Step {
        void (QUndoStack::*op)();
        std::vector<std::string> models;
        double fsOfA;
    } steps[] = {
        {nullptr, {"A", "C"}, 41.5},
        {&QUndoStack::undo, {"A", "B", "C"}, 41.5},  // B back with its id
        {&QUndoStack::undo, {"A", "B", "C"}, 40},
        {&QUndoStack::undo, {"C"}, 0},
        {&QUndoStack::redo, {"A", "B", "C"}, 40},
        {&QUndoStack::redo, {"A", "B", "C"}, 41.5},
    };
    for (const Step& s : steps) {
        if (s.op) (undo.*s.op)();
        const std::vector<lib::Driver> seen = other.all();
        EXPECT_EQ(Models(seen), s.models);
        for (const lib::Driver& d : seen)
            if (d.model == "A") {
                EXPECT_EQ(d.id, idA);
                EXPECT_EQ(d.get(Field::Fs), s.fsOfA);
            }
        EXPECT_EQ(model.rowCount(), int(s.models.size()) - 1);  // C came from the other copy
    }
    ASSERT_TRUE(model.reload());
    EXPECT_EQ(model.rowCount(), 3);

    // Filtering: text on name and range, and a Fs range.
    lib::DriverFilter filter;
    filter.setSourceModel(&model);
    filter.setText(" c ");
    EXPECT_EQ(filter.rowCount(), 1);
    filter.setText("");
    filter.setRange(Field::Fs, 45, std::nullopt);
    EXPECT_EQ(filter.rowCount(), 2);
}

TEST_F(LibraryStore, AFailedChangeLeavesTheLibraryAsItWas)
{
    lib::DriverStore store(path());
    ASSERT_TRUE(store.open().ok);
    const std::vector<lib::Driver> before = store.all();
    // The third row stands for a write that fails part-way (the file
    // refuses it as a full disk would): nothing of the import stays.
    std::vector<lib::Driver> rows{Make("X1", 40), Make("X2", 50), Make("X3", -1), Make("X4", 60)};
    lib::DriverTableModel model(store);
    model.reload();
    QString reported;
    QObject::connect(&model, &lib::DriverTableModel::failed, [&](const QString& m) { reported = m; });
    QUndoStack undo;
    undo.push(new lib::AddDrivers(model, rows, "import"));
    EXPECT_EQ(undo.count(), 0);  // the failed command is not kept for undo
    EXPECT_NE(reported.indexOf("X3"), -1);
    EXPECT_EQ(store.all(), before);
    EXPECT_EQ(model.rowCount(), int(before.size()));
}

TEST_F(LibraryStore, DamagedFileIsMovedAsideAndReported)
{
    QDir().mkpath(QFileInfo(path()).absolutePath());
    const QByteArray junk("this is not a library\n");
    write("Tessaly/Vantrel/drivers.sqlite", junk);
    lib::DriverStore store(path());
    const auto opened = store.open();
    ASSERT_TRUE(opened.ok);
    EXPECT_TRUE(opened.created);
    ASSERT_FALSE(opened.movedAside.isEmpty());
    EXPECT_NE(opened.message.indexOf(path()), -1);
    EXPECT_NE(opened.message.indexOf(opened.movedAside), -1);
    QFile aside(opened.movedAside);
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), junk);  // kept as it was
    EXPECT_EQ(store.all().size(), lib::ExampleDrivers().size());
}

TEST_F(LibraryStore, NewerSchemaIsLeftAlone)
{
    {
        lib::DriverStore store(path());
        ASSERT_TRUE(store.open().ok);
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "raise");
        db.setDatabaseName(path());
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("PRAGMA user_version = 99");
        db.close();
    }
    QSqlDatabase::removeDatabase("raise");
    lib::DriverStore store(path());
    const auto opened = store.open();
    EXPECT_FALSE(opened.ok);
    EXPECT_TRUE(opened.movedAside.isEmpty());
    EXPECT_NE(opened.message.indexOf("newer"), -1);
}

TEST_F(LibraryStore, CsvRoundTripThroughTheLibraryIsByteForByte)
{
    lib::DriverStore first(path());
    ASSERT_TRUE(first.open().ok);
    std::vector<lib::Driver> extra{Make("Comma, \"and quotes\"", 0.1 + 0.2), Make("Ünïcode ¼", 123456.789)};
    extra[1].range = "comma, here";
    ASSERT_TRUE(first.insert(extra));
    QString error;
    const QString out1 = dir.filePath("one.csv");
    ASSERT_TRUE(lib::ExportFile(out1, first.all(), error)) << error.toStdString();

    lib::DriverStore second(dir.filePath("second.sqlite"));
    ASSERT_TRUE(second.open(false).ok);
    lib::ImportResult r = lib::ImportFile(out1);
    ASSERT_TRUE(r.fatal.empty() && r.refused.empty());
    ASSERT_TRUE(second.insert(r.taken));
    const QString out2 = dir.filePath("two.csv");
    ASSERT_TRUE(lib::ExportFile(out2, second.all(), error));
    QFile a(out1), b(out2);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
}

TEST_F(LibraryStore, QspeakersXmlConvertedToTheLibraryUnits)
{
    const QString xml = write("db.xml",
        "<!DOCTYPE QSpeakers>\n"
        "<speakers>\n"
        " <speaker vendor=\"Made Up\" model=\"W8\" fs=\"38.5\" qts=\"0.33\" qes=\"0.36\" qms=\"4.1\" vas=\"25.2\"\n"
        "          re=\"5.6\" le=\"0.45\" pe=\"60\" sd=\"0.0214\" xmax=\"5.5\" dia=\"0.2\" spl=\"90\" z=\"8\"/>\n"
        " <speaker vendor=\"Made Up\" model=\"NoRe\" fs=\"40\" qts=\"0.3\" vas=\"10\" re=\"0\"/>\n"
        " <speaker vendor=\"Made Up\" model=\"Qts from Qes Qms\" fs=\"60\" qts=\"0\" qes=\"0.5\" qms=\"2\" re=\"6\" vas=\"abc\"/>\n"
        " <speaker vendor=\"Made Up\" model=\"T1\" fs=\"900\" qes=\"0.5\" qms=\"2\" re=\"6\"/>\n"
        "</speakers>\n");
    const lib::ImportResult r = lib::ImportFile(xml);
    ASSERT_TRUE(r.fatal.empty()) << r.fatal;
    ASSERT_EQ(r.taken.size(), 2u);
    const lib::Driver& w = r.taken[0];
    EXPECT_EQ(w.model, "Made Up W8");
    struct {
        Field f;
        double v;
    } expect[] = {{Field::Fs, 38.5}, {Field::Vas, 25.2}, {Field::Sd, 214}, {Field::Dia, 20},
                  {Field::Xmax, 5.5}, {Field::Le, 0.45}, {Field::Pemax, 60}, {Field::Re, 5.6}};
    for (const auto& e : expect) EXPECT_EQ(w.get(e.f), e.v) << lib::Info(e.f).key;
    EXPECT_NEAR(w.get(Field::Effi), 0.6283, 1e-4);  // 90 dB
    EXPECT_DOUBLE_EQ(r.taken[1].get(Field::Qts), 0.4);
    ASSERT_EQ(r.refused.size(), 2u);
    EXPECT_EQ(r.refused[0].line, 5);
    EXPECT_NE(r.refused[0].reason.find("re:"), std::string::npos);
    EXPECT_EQ(r.refused[1].line, 6);
    EXPECT_NE(r.refused[1].reason.find("vas"), std::string::npos);

    // Not well-formed: nothing is taken.
    const lib::ImportResult broken = lib::ImportFile(write("bad.xml", "<speakers><speaker vendor=\"a\" model=\"b\" fs=\"1\" qts=\"1\" re=\"1\"/>\n<speaker"));
    EXPECT_FALSE(broken.fatal.empty());
    EXPECT_TRUE(broken.taken.empty());
    EXPECT_FALSE(lib::ImportFile(dir.filePath("missing.csv")).fatal.empty());
}
