// The library against real SQLite files in a temporary folder: changes
// through the table model and its undo stack, two connections at once,
// files it cannot use, and files to import and export.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

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
        QDir().mkpath(QFileInfo(dir.filePath(name)).absolutePath());
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

}  // namespace

// Changes, their undo and redo, and a change that fails part-way, as the
// other copy of the program on the same file at the same time sees them.
TEST_F(LibraryStore, ChangesUndoRedoAndFailuresAsASecondConnectionSeesThem)
{
    lib::DriverStore store(path());
    const auto opened = store.open(false);
    ASSERT_TRUE(opened.ok && opened.created) << opened.message.toStdString();
    EXPECT_EQ(store.schemaVersion(), lib::DriverStore::kSchemaVersion);
    lib::DriverTableModel model(store);
    ASSERT_TRUE(model.reload());
    lib::DriverStore other(path());
    ASSERT_TRUE(other.open().ok && !other.open().created);
    QUndoStack undo;
    undo.push(new lib::AddDrivers(model, {Make("A", 40), Make("B", 50)}, "add"));
    const std::int64_t idA = model.driver(0).id, idB = model.driver(1).id;
    lib::Driver a2 = model.driver(0);
    a2.set(Field::Fs, 41.5);
    undo.push(new lib::EditDriver(model, model.driver(0), a2));
    undo.push(new lib::DeleteDrivers(model, {model.driver(1)}));
    std::vector<lib::Driver> mine{Make("C", 60)};
    ASSERT_TRUE(other.insert(mine));  // written between our changes
    // Each model with its Fs, and whether A and B kept their ids.
    const auto seen = [&] {
        std::string s;
        for (const lib::Driver& d : other.all())
            s += d.model + ":" + QString::number(d.get(Field::Fs)).toStdString() +
                 (d.id == (d.model == "A" ? idA : d.model == "B" ? idB : d.id) ? " " : "(new id) ");
        return s;
    };
    const std::pair<void (QUndoStack::*)(), const char*> steps[] = {
        {nullptr, "A:41.5 C:60 "}, {&QUndoStack::undo, "A:41.5 B:50 C:60 "}, {&QUndoStack::undo, "A:40 B:50 C:60 "},
        {&QUndoStack::undo, "C:60 "}, {&QUndoStack::redo, "A:40 B:50 C:60 "}, {&QUndoStack::redo, "A:41.5 B:50 C:60 "},
        {&QUndoStack::redo, "A:41.5 C:60 "}};
    for (const auto& [op, want] : steps) {
        if (op) (undo.*op)();
        EXPECT_EQ(seen(), want);
        EXPECT_EQ(model.rowCount(), int(std::count(want, want + std::strlen(want), ' ')) - 1);  // C is the other's
    }
    // The third row stands for a write that fails part-way (the file refuses
    // it as a full disk would): nothing of it stays, nor is it kept for undo.
    QString reported;
    QObject::connect(&model, &lib::DriverTableModel::failed, [&](const QString& m) { reported = m; });
    undo.push(new lib::AddDrivers(model, {Make("X1", 40), Make("X2", 50), Make("X3", -1), Make("X4", 60)}, "import"));
    EXPECT_TRUE(undo.count() == 3 && reported.contains("X3") && model.rowCount() == 1);
    EXPECT_EQ(seen(), "A:41.5 C:60 ");

    ASSERT_TRUE(model.reload());
    // Filtering: text on name and range, and a Fs range.
    lib::DriverFilter filter;
    filter.setSourceModel(&model);
    filter.setText(" c ");
    const int byText = filter.rowCount();
    filter.setText("");
    filter.setRange(Field::Fs, 45, std::nullopt);
    EXPECT_EQ(std::pair(byText, filter.rowCount()), std::pair(1, 1));
}

// A damaged file is moved aside, kept as it was and reported; a file of a
// newer version is left alone.
TEST_F(LibraryStore, FilesItCannotUseAreKept)
{
    const QByteArray junk("this is not a library\n");
    write("Tessaly/Vantrel/drivers.sqlite", junk);
    {
        lib::DriverStore store(path());
        const auto opened = store.open();
        ASSERT_TRUE(opened.ok && opened.created && !opened.movedAside.isEmpty());
        EXPECT_TRUE(opened.message.contains(path()) && opened.message.contains(opened.movedAside));
        QFile aside(opened.movedAside);
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
        EXPECT_EQ(aside.readAll(), junk);
        EXPECT_EQ(store.all().size(), lib::ExampleDrivers().size());
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
    EXPECT_TRUE(!opened.ok && opened.movedAside.isEmpty() && opened.message.contains("newer"));
}

// The library written out and read back (reading a CSV file in is e2e's).
TEST_F(LibraryStore, ExportedFileReadsBackAsTheLibrary)
{
    lib::DriverStore store(path());
    ASSERT_TRUE(store.open().ok);
    std::vector<lib::Driver> extra{Make("Ünïcode, \"¼\"", 123456.789)};
    ASSERT_TRUE(store.insert(extra));
    QString error;
    ASSERT_TRUE(lib::ExportFile(dir.filePath("out.csv"), store.all(), error)) << error.toStdString();
    const lib::ImportResult r = lib::ImportFile(dir.filePath("out.csv"));
    ASSERT_TRUE(r.fatal.empty() && r.refused.empty());
    ASSERT_EQ(r.taken.size(), store.all().size());
    EXPECT_EQ(r.taken.back().model, extra[0].model);
    EXPECT_EQ(r.taken.back().get(Field::Fs), 123456.789);
    EXPECT_FALSE(lib::ImportFile(dir.filePath("missing.csv")).fatal.empty());
}

TEST_F(LibraryStore, QspeakersXmlConvertedToTheLibraryUnits)
{
    const auto r = lib::ImportFile(write("db.xml",
        "<speakers>\n"
        " <speaker vendor=\"Made Up\" model=\"W8\" fs=\"38.5\" qts=\"0.33\" qes=\"0.36\" qms=\"4.1\" vas=\"25.2\"\n"
        "          re=\"5.6\" le=\"0.45\" pe=\"60\" sd=\"0.0214\" xmax=\"5.5\" dia=\"0.2\" spl=\"90\" z=\"8\"/>\n"
        " <speaker vendor=\"Made Up\" model=\"NoRe\" fs=\"40\" qts=\"0.3\" vas=\"10\" re=\"0\"/>\n"
        " <speaker vendor=\"Made Up\" model=\"Qts from Qes Qms\" fs=\"60\" qts=\"0\" qes=\"0.5\" qms=\"2\" re=\"6\" vas=\"abc\"/>\n"
        " <speaker vendor=\"Made Up\" model=\"T1\" fs=\"900\" qes=\"0.5\" qms=\"2\" re=\"6\"/>\n"
        "</speakers>\n"));
    ASSERT_TRUE(r.fatal.empty()) << r.fatal;
    ASSERT_EQ(r.taken.size(), 2u);
    const lib::Driver& w = r.taken[0];
    EXPECT_EQ(w.model, "Made Up W8");
    const std::pair<Field, double> expect[] = {{Field::Fs, 38.5}, {Field::Vas, 25.2}, {Field::Sd, 214},
                                               {Field::Dia, 20},  {Field::Xmax, 5.5}, {Field::Le, 0.45},
                                               {Field::Pemax, 60}, {Field::Re, 5.6}};
    for (const auto& [f, v] : expect) EXPECT_EQ(w.get(f), v) << lib::Info(f).key;
    EXPECT_NEAR(w.get(Field::Effi), 0.6283, 1e-4);  // 90 dB
    EXPECT_DOUBLE_EQ(r.taken[1].get(Field::Qts), 0.4);
    ASSERT_EQ(r.refused.size(), 2u);  // with their lines and reasons
    EXPECT_EQ((std::array{r.refused[0].line, r.refused[1].line}), (std::array{4, 5}));
    EXPECT_NE(r.refused[0].reason.find("re:"), std::string::npos);
    EXPECT_NE(r.refused[1].reason.find("vas"), std::string::npos);
    // Not well-formed: nothing is taken.
    const auto broken = lib::ImportFile(write("bad.xml", "<speakers><speaker model=\"b\" fs=\"1\" qts=\"1\" re=\"1\"/>\n<speaker"));
    EXPECT_FALSE(broken.fatal.empty());
    EXPECT_TRUE(broken.taken.empty());
}
