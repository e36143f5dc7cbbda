// vantrel from a shell, as a process with a home of its own: imports that
// merge by model name and take incomplete drivers, and a library or an
// export file that is busy, unreadable, of another layout, not a regular
// file or on a full disk: each exits 2 with one line and keeps what is there.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/full_disk.h"

namespace fs = std::filesystem;

namespace {

struct Result {
    int rc = -1;
    std::string out, err;
};

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int Lines(const std::string& s) { return int(std::count(s.begin(), s.end(), '\n')); }

class VantrelCli : public ::testing::Test {
protected:
    QTemporaryDir home;
    const fs::path dir = home.path().toStdString();
    QString library() const { return home.filePath("data/Tessaly/Vantrel/drivers.sqlite"); }

    Result Run(const QStringList& args) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(VANTREL_PATH), args);
        Result r;
        if (!p.waitForFinished(60000)) return r;
        r.rc = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput().toStdString();
        r.err = p.readAllStandardError().toStdString();
        return r;
    }
    QString Write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(home.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return f.fileName();
    }
    // Nothing beside the library but what SQLite keeps there.
    bool NothingMovedAside() const
    {
        return !QDir(QFileInfo(library()).path()).entryList(QDir::Files).join(' ').contains("damaged");
    }
};

// The same file twice leaves the library as once; drivers without Re or Qms
// are taken; the library reaches standard output with "-".
TEST_F(VantrelCli, ImportsMergeByModelAndTakeIncompleteDrivers)
{
    const QString csv = Write("mine.csv",
                              "model,fs,qts,qes,qms,re,vas\n"
                              "Full,50,0.4,0.5,2,6,10\n"
                              "No Re,50,0.4,0.5,2,,10\n"
                              "No Qms,60,0.45,0.5,,5,12\n");
    Result r = Run({"--import", csv});
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out, "3 drivers added, 0 updated, 0 unchanged, 0 rows refused.\n");
    r = Run({"--import", csv});
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out, "0 drivers added, 0 updated, 3 unchanged, 0 rows refused.\n");
    r = Run({"--export", "-"});
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("model,range,dia,fs,vas,qts,qes,qms,effi,re,") && r.err.empty()) << r.out;
    EXPECT_EQ(Lines(r.out), 1 + 6 + 3);
    EXPECT_NE(r.out.find("\nNo Re,,0,50,10,0.4,0.5,2,0,0,"), std::string::npos) << r.out;
    EXPECT_FALSE(QFile::exists(home.filePath("-")));
}

// Another program in the middle of a write: vantrel waits, then says so and
// stops; the library, the other program's write and the old export stay.
TEST_F(VantrelCli, BusyLibraryIsLeftAloneAndExitsTwo)
{
    ASSERT_EQ(Run({"--export", "-"}).rc, 0);  // makes the library
    const QString out = Write("out.csv", "old export\n");
    // Read before the lock: closing any other descriptor of the file would
    // drop this process's locks on it.
    const QByteArray before = Bytes(library());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "holder");
        db.setDatabaseName(library());
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("BEGIN EXCLUSIVE"));
        ASSERT_TRUE(
            q.exec("INSERT INTO drivers (model,range,dia,fs,vas,qts,qes,qms,effi,re,pemax,sd,xmax,vd,le) "
                   "VALUES ('Theirs','',0,50,0,0.4,0,0,0,6,0,0,0,0,0)"));
        const Result r = Run({"--export", out});
        EXPECT_EQ(r.rc, 2) << r.out << r.err;
        EXPECT_EQ(Lines(r.err), 1) << r.err;
        EXPECT_NE(r.err.find("in use by another program"), std::string::npos) << r.err;
        EXPECT_TRUE(Bytes(library()) == before && NothingMovedAside());
        EXPECT_EQ(Bytes(out), "old export\n");
        ASSERT_TRUE(q.exec("COMMIT"));
    }
    QSqlDatabase::removeDatabase("holder");
    const Result r = Run({"--export", "-"});
    EXPECT_TRUE(r.rc == 0 && r.out.find("\nTheirs,") != std::string::npos) << r.out << r.err;
}

// What is not a library of ours is reported in one line and left as it is:
// a folder where the file belongs, a drivers table without our columns.
TEST_F(VantrelCli, UnusableLibraryIsReportedAndLeftAlone)
{
    ASSERT_TRUE(QDir().mkpath(library()));
    Result r = Run({"--export", "-"});
    EXPECT_TRUE(r.rc == 2 && Lines(r.err) == 1 && r.err.find("not a regular file") != std::string::npos) << r.err;
    EXPECT_TRUE(QFileInfo(library()).isDir() && NothingMovedAside());
    ASSERT_TRUE(QDir().rmdir(library()));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
        db.setDatabaseName(library());
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("CREATE TABLE drivers (id INTEGER PRIMARY KEY, model TEXT)"));
        ASSERT_TRUE(q.exec("INSERT INTO drivers VALUES (1, 'Kept')"));
        ASSERT_TRUE(q.exec("PRAGMA user_version = 1"));
    }
    QSqlDatabase::removeDatabase("other");
    const QByteArray before = Bytes(library());
    r = Run({"--export", "-"});
    EXPECT_TRUE(r.rc == 2 && Lines(r.err) == 1 && r.err.find("lacks the columns range") != std::string::npos)
        << r.out << r.err;
    EXPECT_TRUE(r.out.empty() && Bytes(library()) == before && NothingMovedAside());
}

// An export never replaces what is not a regular file, and a failed write
// (a full disk) leaves the old export as it was: one line, exit 2.
TEST_F(VantrelCli, ExportKeepsWhatIsThereWhenItCannotWrite)
{
    const fs::path fifo = dir / "pipe.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A device of the test's own, never the system's: a faulty export replaces it.
    const fs::path device = dir / "null";
    const bool haveDevice = ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    fs::create_symlink(device, dir / "device.csv");
    for (const fs::path& p : {fifo, dir / "device.csv"}) {
        if (!haveDevice && p != fifo) continue;
        const Result r = Run({"--export", QString::fromStdString(p.string())});
        EXPECT_TRUE(r.rc == 2 && Lines(r.err) == 1 && r.err.find("not a regular file") != std::string::npos)
            << p << ": " << r.out << r.err;
    }
    EXPECT_TRUE(fs::is_fifo(fifo) && (!haveDevice || fs::is_character_file(device)));

    const fs::path full = dir / "full";
    const std::string why = kt::MountFullFilesystem(full, "drivers.csv", "old export\n");
    if (!why.empty()) GTEST_SKIP() << "full disk case: " << why;
    const Result r = Run({"--export", QString::fromStdString((full / "drivers.csv").string())});
    EXPECT_EQ(r.rc, 2) << r.out;
    EXPECT_TRUE(Lines(r.err) == 1 && r.err.find(std::strerror(ENOSPC)) != std::string::npos) << r.err;
    EXPECT_EQ(Bytes(QString::fromStdString((full / "drivers.csv").string())), "old export\n");
    ::umount2(full.c_str(), MNT_DETACH);
}

}  // namespace
