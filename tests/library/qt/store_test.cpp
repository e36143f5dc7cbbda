// The library against real SQLite files in a temporary folder: changes through
// the table model and its undo stack, two connections, files it cannot use.
#include "library/qt/store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUndoStack>

#include "library/qt/driver_filter.h"
#include "library/qt/import.h"
#include "library/qt/table_model.h"

namespace lib = ks::lib;
using lib::Field;

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
    ASSERT_TRUE(other.open().ok && !other.open().created);
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

// A fresh library has the examples; a file of a newer version is left alone.
TEST_F(LibraryStore, NewerFileIsLeftAlone)
{
    {
        lib::DriverStore store(path());
        ASSERT_TRUE(store.open().created);
        EXPECT_EQ(store.all().size(), lib::ExampleDrivers().size());
    }
    QFile made(path());  // the header's schema version field raised, as a newer program leaves it
    ASSERT_TRUE(made.open(QIODevice::ReadWrite) && made.seek(60) && made.write(QByteArray("\0\0\0\x63", 4)) == 4);
    made.close();
    lib::DriverStore store(path());
    const auto opened = store.open();
    EXPECT_TRUE(!opened.ok && opened.movedAside.isEmpty() && opened.message.contains("newer"));
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
    ASSERT_TRUE(r.fatal.empty() && r.taken.size() == 1) << r.fatal;
    const lib::Driver& w = r.taken[0];
    EXPECT_EQ(w.model, "Made W8");
    EXPECT_EQ((std::array{w.get(Field::Fs), w.get(Field::Sd), w.get(Field::Dia)}), (std::array{38.5, 214.0, 20.0}));
    EXPECT_NEAR(w.get(Field::Effi), 0.6283, 1e-4);  // 90 dB
    ASSERT_EQ(r.refused.size(), 2u);                // with their lines and reasons
    EXPECT_TRUE(r.refused[0].line == 3 && r.refused[0].reason.find("re:") != std::string::npos);
    EXPECT_TRUE(r.refused[1].line == 4 && r.refused[1].reason.find("vas") != std::string::npos);
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
