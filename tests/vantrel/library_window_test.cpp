// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel's window as a user drives it, over a library in a temporary folder, kestrova-send standing in for Kestrova.
#include "library_window.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

#include "common/bus.h"
#include "common/files.h"
#include "common/sandbox.h"
#include "driver_dialog.h"
#include "kestrova_link.h"
#include "library/driver_values.h"

namespace lib = ks::lib;
using kt::WaitFor;
using lib::Field;

class LibraryWindowTest : public QObject {
    Q_OBJECT

    // A library in a temporary folder and its window.
    struct Rig {
        explicit Rig(ks::vantrel::KestrovaLink& link) : w(model, link) {}
        QTemporaryDir dir;
        lib::DriverStore store{dir.filePath("drivers.sqlite")};
        lib::DriverTableModel model{store};
        ks::vantrel::LibraryWindow w;
    };
    kt::SandboxHome home_;
    std::unique_ptr<ks::DbusMessenger> bus_;
    std::unique_ptr<ks::vantrel::KestrovaLink> link_;
    std::unique_ptr<Rig> r_;

    // The library with these drivers, shown.
    void Open(const std::vector<std::pair<std::string, double>>& drivers = {})
    {
        std::vector<lib::Driver> ds(drivers.size(), lib::ExampleDrivers()[1]);
        for (std::size_t i = 0; i < ds.size(); ++i)
            ds[i].model = drivers[i].first, ds[i].set(Field::Fs, drivers[i].second);
        QVERIFY(r_->store.insert(ds));
        r_->w.resize(900, 400), r_->w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&r_->w));
        r_->w.Load();
    }
    // Runs a command that opens the form, types these texts and presses OK (then Cancel, should the form refuse);
    // then is called on the form.
    void WithForm(const QString& command, std::initializer_list<std::pair<Field, const char*>> texts,
                  const std::function<void(ks::vantrel::DriverDialog&)>& then = {})
    {
        QTimer::singleShot(0, this, [&] {
            if (auto* form = qobject_cast<ks::vantrel::DriverDialog*>(QApplication::activeModalWidget())) {
                for (const auto& [field, text] : texts) form->field(field)->setText(text);
                form->accept();
                if (then) then(*form);
                if (form->isVisible()) form->reject();
            }
        });
        for (QAction* a : r_->w.findChildren<QAction*>())
            if (a->text() == command) a->trigger();
    }
    void Select(int row)
    {
        r_->w.table()->selectionModel()->setCurrentIndex(
            r_->w.filter().index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    const lib::Driver& Row(int row) const
    {
        return r_->model.driver(r_->w.filter().mapToSource(r_->w.filter().index(row, 0)).row());
    }
    QString Status() const { return r_->w.statusBar()->currentMessage(); }
    QStringList Boxes() const
    {
        QStringList texts;
        for (const QMessageBox* b : r_->w.findChildren<QMessageBox*>()) texts << b->text();
        return texts;
    }

private slots:
    void initTestCase()
    {
        home_.enter();
        qputenv("PATH", "/usr/bin:/bin");  // no Kestrova to start
        bus_ = std::make_unique<ks::DbusMessenger>("Vantrel", "Vtrl");
        QVERIFY2(bus_->connected(), "run under dbus-run-session");
        link_ = std::make_unique<ks::vantrel::KestrovaLink>(*bus_);
        link_->show = [this] { r_->w.MakeReady(); };
    }
    void init()
    {
        r_ = std::make_unique<Rig>(*link_);
        QVERIFY(r_->store.open(false).ok);
    }
    void cleanup() { r_.reset(); }

    // Made in the form with Qts left to Qes and Qms, then Qes edited: Qts follows, and undo takes it back; a
    // slip of units is refused in the form with the plausible range, and the count follows.
    void formUndoAndCount()
    {
        Open();
        WithForm(
            "New...",
            {{Field::Model, "Alpha"}, {Field::Fs, "40"}, {Field::Qes, "0.41"}, {Field::Qms, "3.1"}, {Field::Re, "6"}});
        QVERIFY(r_->w.table()->currentIndex().isValid());  // the new driver is selected
        QCOMPARE(Row(r_->w.table()->currentIndex().row()).model, std::string("Alpha"));
        QString shown = "untouched";
        QTimer::singleShot(0, this, [&] {  // what the form shows before the edit
            const auto* form = qobject_cast<ks::vantrel::DriverDialog*>(QApplication::activeModalWidget());
            shown = form->field(Field::Qts)->text() + "|" + form->field(Field::Qts)->placeholderText();
        });
        WithForm("Edit...", {{Field::Qes, "0.5"}});
        QCOMPARE(shown, "|0.362 from Qes and Qms");
        QCOMPARE(Row(0).get(Field::Qts), lib::QtsFrom(0.5, 3.1));
        r_->w.undoStack().undo();  // the edit went on the window's stack
        QCOMPARE(Row(0).get(Field::Qts), lib::QtsFrom(0.41, 3.1));
        Select(0);
        WithForm("Duplicate", {{Field::Dia, "9400"}}, [&](auto& f) { shown = f.reason(Field::Dia)->text(); });
        QCOMPARE(shown, "Dia 9400 cm lies outside 0.5 to 300 cm");
        r_->w.search()->setText("alp");
        lib::Driver renamed = Row(0);
        renamed.model = "Omega";  // an edit that takes the driver out of the search
        r_->w.undoStack().push(new lib::EditDriver(r_->model, Row(0), renamed));
        QCOMPARE(r_->w.count()->text(), "0 of 1 drivers");
        r_->w.search()->clear(), Select(0);
        r_->w.table()->actions().front()->trigger();  // Delete
        QCOMPARE(r_->w.count()->text(), "0 of 0 drivers");
    }

    // What the store refuses, at start or later, reaches the user; a refused change leaves no undo or selection.
    void storeFailuresReachTheUser()
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");  // another program
        other.setDatabaseName(r_->store.path());
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec("ALTER TABLE drivers RENAME TO elsewhere"));
        Open();
        QVERIFY2(Status().contains(r_->store.path()), qPrintable(Status()));
        QCOMPARE(Boxes(), QStringList{Status()});
        WithForm("New...", {{Field::Model, "Lost"}, {Field::Fs, "40"}, {Field::Qts, "0.4"}, {Field::Re, "6"}});
        QCOMPARE(r_->w.undoStack().count(), 0);
        QVERIFY(!r_->w.table()->currentIndex().isValid());
        QCOMPARE(Boxes().size(), 2);
        QVERIFY2(Boxes().back().contains("\"Lost\""), qPrintable(Boxes().back()));
    }

    // Speaker Select brings the window back, active, the search focused. Return sends the selected driver only in
    // view and never one with a value no driver has (which the table flags); the status line says why not.
    void handOverToKestrova()
    {
        kt::Listener kestrova({"--as", "Kestrova", "--count", "1", "--timeout", "60"});
        QVERIFY(WaitFor([&] { return !bus_->peers("Kestrova").isEmpty(); }));
        std::vector<std::pair<std::string, double>> many{{"Zeta", 1e300}};
        for (int i = 0; i < 200; ++i) many.emplace_back("Row " + std::to_string(1000 + i), 40);
        Open(many);
        r_->w.showMinimized();
        QVERIFY(WaitFor([&] { return r_->w.isMinimized(); }));
        link_->Receive("ShowVtrl");
        QVERIFY(!r_->w.isMinimized());
        QVERIFY(QTest::qWaitForWindowActive(&r_->w));
        QCOMPARE(QApplication::focusWidget(), r_->w.search());
        const std::pair<std::function<void()>, QString> steps[] = {
            {[] {}, "No driver is selected: select the one to send."},
            {[&] { Select(150), r_->w.table()->scrollToTop(); }, "The selected driver is scrolled out of view: scroll"},
            {[&] { Select(200); }, "\"Zeta\" was not sent: Fs 1e+300 Hz lies outside 1 to 20000 Hz. Correct it first."},
            {[&] { Select(2); }, "\"Row 1002\" sent to Kestrova."}};
        for (const auto& [step, said] : steps) {
            step();
            QTest::keyClick(r_->w.search(), Qt::Key_Return);
            QVERIFY2(WaitFor([&] { return Status().startsWith(said); }), qPrintable(Status()));
        }
        QVERIFY(kestrova.finished());  // with the one message, the last
        QCOMPARE(kestrova.lines().size(), 1);
        QVERIFY(kestrova.lines().front().contains("DUMMY#  Row 1002  "));
        QVERIFY(r_->w.filter().index(200, int(Field::Fs)).data(Qt::ForegroundRole).isValid());
    }

    // A large import is read on another thread, then added with its progress shown step by step while the window
    // goes on; undo takes it back whole.
    void importShowsProgressAndUndoes()
    {
        Open();
        QByteArray csv = "model,fs,qts,re\n";
        for (int i = 0; i < 3000; ++i) csv += "Imported " + QByteArray::number(i) + ",40,0.4,6\n";
        const QString path = r_->dir.filePath("many.csv");
        QVERIFY(kt::WriteBytes(path, csv));
        int inBetween = 0;  // times the window went on between the first and the last step
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (const auto* p = r_->w.findChild<QProgressDialog*>(); p && p->maximum() == 3000)
                inBetween += p->value() > 0 && p->value() < 3000;
        });
        watch.start(0);
        r_->w.ImportPath(path);
        QVERIFY(r_->w.importing());  // back before reading
        QCOMPARE(r_->model.rowCount(), 0);
        r_->w.ImportPath(path);
        QVERIFY(Status().contains("still being read"));
        QVERIFY(WaitFor([&] { return !r_->w.importing(); }, 30000));
        QCOMPARE(r_->model.rowCount(), 3000);
        QVERIFY(inBetween > 0);
        QVERIFY2(Status().endsWith(": 3000 drivers added, 0 updated, 0 unchanged."), qPrintable(Status()));
        r_->w.undoStack().undo();
        QCOMPARE(r_->w.count()->text(), "0 of 0 drivers");
    }
};

QTEST_MAIN(LibraryWindowTest)
#include "library_window_test.moc"
