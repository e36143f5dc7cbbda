// vantrel's window as a user drives it, over a library in a temporary
// folder: the form with its undo, the status line, import with progress,
// errors at start, and the hand-over to Kestrova, for which kestrova-send
// listens on this test's private bus.
#include "library_window.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "common/bus.h"
#include "common/sandbox.h"
#include "driver_dialog.h"
#include "exchange/qt/dbus_messenger.h"
#include "kestrova_link.h"
#include "library/driver_values.h"

namespace lib = ks::lib;
using ks::vantrel::DriverDialog;
using kt::WaitFor;
using lib::Field;

class LibraryWindowTest : public QObject {
    Q_OBJECT

    kt::SandboxHome home_;
    std::unique_ptr<ks::DbusMessenger> bus_;
    std::unique_ptr<ks::vantrel::KestrovaLink> link_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<lib::DriverStore> store_;
    std::unique_ptr<lib::DriverTableModel> model_;
    std::unique_ptr<ks::vantrel::LibraryWindow> window_;

    static lib::Driver Make(const std::string& model, double fs = 40)
    {
        lib::Driver d = lib::ExampleDrivers()[1];
        d.model = model;
        d.set(Field::Fs, fs);
        return d;
    }
    void Store(std::vector<lib::Driver> drivers) { QVERIFY(store_->insert(drivers)); }
    // Breaks the library behind the store's back, as another program might.
    void RenameTable()
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(store_->path());
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("ALTER TABLE drivers RENAME TO elsewhere")));
        other.close();
        other = {};
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }
    QAction* Action(const QString& text) const
    {
        for (QAction* a : window_->findChildren<QAction*>())
            if (a->text() == text) return a;
        return nullptr;
    }
    // Runs the command that opens the form; fill acts on the form once it
    // is up, then the form is accepted (and cancelled when it refuses).
    void WithForm(const QString& command, const std::function<void(DriverDialog&)>& fill)
    {
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto* form = qobject_cast<DriverDialog*>(QApplication::activeModalWidget());
            if (!form) return;
            seen = true;
            fill(*form);
            form->accept();
            if (form->isVisible()) form->reject();
        });
        QAction* a = Action(command);
        QVERIFY(a);
        a->trigger();
        QVERIFY2(seen, qPrintable(command));
    }
    void SelectRow(int row)
    {
        window_->table()->selectionModel()->setCurrentIndex(
            window_->filter().index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    QString Status() const { return window_->statusBar()->currentMessage(); }
    QStringList Boxes() const
    {
        QStringList texts;
        for (const QMessageBox* b : window_->findChildren<QMessageBox*>())
            if (b->isVisible()) texts << b->text();
        return texts;
    }
    const lib::Driver& Row(int proxyRow) const
    {
        return model_->driver(window_->filter().mapToSource(window_->filter().index(proxyRow, 0)).row());
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"), "run under dbus-run-session");
        home_.enter();
        qputenv("PATH", "/usr/bin:/bin");  // no Kestrova to start
        bus_ = std::make_unique<ks::DbusMessenger>(QStringLiteral("Vantrel"), QStringLiteral("Vtrl"));
        link_ = std::make_unique<ks::vantrel::KestrovaLink>(*bus_);
        bus_->setReceiver([this](const QByteArray& t) { link_->Receive(t); });
    }

    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        store_ = std::make_unique<lib::DriverStore>(dir_->filePath(QStringLiteral("drivers.sqlite")));
        QVERIFY(store_->open(false).ok);
        model_ = std::make_unique<lib::DriverTableModel>(*store_);
        window_ = std::make_unique<ks::vantrel::LibraryWindow>(*model_, *link_);
        link_->show = [this] { window_->MakeReady(); };
    }

    void cleanup()
    {
        link_->show = {};
        window_.reset();
        model_.reset();
        store_.reset();
        dir_.reset();
    }

    // A driver made in the form, its Qts left to Qes and Qms; an edit of
    // Qes recomputes it; undo and redo walk back and forth.
    void formEditsWithUndo()
    {
        window_->Load();
        window_->show();
        WithForm(QStringLiteral("New..."), [](DriverDialog& f) {
            for (const auto& [field, text] : {std::pair{Field::Model, "Alpha"},
                                              {Field::Fs, "40"},
                                              {Field::Qes, "0.41"},
                                              {Field::Qms, "3.1"},
                                              {Field::Re, "6"}})
                f.field(field)->setText(QString::fromLatin1(text));
        });
        QCOMPARE(model_->rowCount(), 1);
        QCOMPARE(Row(window_->table()->currentIndex().row()).model, std::string("Alpha"));
        const std::int64_t id = Row(0).id;
        QCOMPARE(Row(0).get(Field::Qts), lib::QtsFrom(0.41, 3.1));

        QString qtsText, qtsHint;
        WithForm(QStringLiteral("Edit..."), [&](DriverDialog& f) {
            qtsText = f.field(Field::Qts)->text();
            qtsHint = f.field(Field::Qts)->placeholderText();
            f.field(Field::Qes)->setText(QStringLiteral("0.5"));
        });
        QCOMPARE(qtsText, QString());  // computed, so it follows Qes and Qms
        QCOMPARE(qtsHint, QStringLiteral("0.362 from Qes and Qms"));
        QCOMPARE(Row(0).get(Field::Qts), lib::QtsFrom(0.5, 3.1));

        QUndoStack& undo = window_->undoStack();
        const std::pair<void (QUndoStack::*)(), double> steps[] = {{&QUndoStack::undo, lib::QtsFrom(0.41, 3.1)},
                                                                   {&QUndoStack::undo, 0},
                                                                   {&QUndoStack::redo, lib::QtsFrom(0.41, 3.1)},
                                                                   {&QUndoStack::redo, lib::QtsFrom(0.5, 3.1)}};
        for (const auto& [op, qts] : steps) {
            (undo.*op)();
            QCOMPARE(model_->rowCount(), qts ? 1 : 0);
            if (qts) QCOMPARE(Row(0).get(Field::Qts), qts);
        }
        QCOMPARE(Row(0).id, id);

        // A value far outside any driver is refused with its range, in the form.
        SelectRow(0);
        QString why;
        WithForm(QStringLiteral("Duplicate"), [&](DriverDialog& f) {
            f.field(Field::Dia)->setText(QStringLiteral("9400"));
            f.accept();
            why = f.reason(Field::Dia)->text();
        });
        QCOMPARE(why, QStringLiteral("Dia 9400 cm lies outside 0.5 to 300 cm"));
        QCOMPARE(model_->rowCount(), 1);
    }

    // A change the store refuses leaves no command behind and is reported;
    // nothing is selected in its name.
    void refusedChangeIsReported()
    {
        Store({Make("Kept")});
        window_->Load();
        window_->show();
        RenameTable();
        WithForm(QStringLiteral("New..."), [](DriverDialog& f) {
            f.field(Field::Model)->setText(QStringLiteral("Lost"));
            f.field(Field::Fs)->setText(QStringLiteral("40"));
            f.field(Field::Qts)->setText(QStringLiteral("0.4"));
            f.field(Field::Re)->setText(QStringLiteral("6"));
        });
        QCOMPARE(window_->undoStack().count(), 0);
        QCOMPARE(model_->rowCount(), 1);
        QVERIFY(!window_->table()->currentIndex().isValid());
        QVERIFY2(Boxes().size() == 1 && Boxes().front().contains(QStringLiteral("Lost")), qPrintable(Status()));
    }

    // A library that cannot be read at start says so, whether the window is
    // shown before or after the first read.
    void readErrorAtStartReachesTheUser()
    {
        for (const bool shownFirst : {true, false}) {
            if (!shownFirst) {
                cleanup();
                init();
            }
            RenameTable();
            if (shownFirst) window_->show();
            window_->Load();
            window_->show();
            QVERIFY2(Status().contains(store_->path()), qPrintable(Status()));
            QCOMPARE(Boxes(), QStringList{Status()});
        }
    }

    // The count of drivers in the status line after each change.
    void countFollowsEveryChange()
    {
        Store({Make("Alpha"), Make("Bravo"), Make("Charlie"), Make("Delta")});
        window_->Load();
        window_->show();
        auto count = [this] { return window_->count()->text(); };
        QCOMPARE(count(), QStringLiteral("4 of 4 drivers"));
        window_->search()->setText(QStringLiteral("a"));  // Alpha, Bravo, Charlie, Delta all hold an a
        window_->search()->setText(QStringLiteral("ha"));
        QCOMPARE(count(), QStringLiteral("2 of 4 drivers"));
        SelectRow(0);
        Action(QStringLiteral("Delete"))->trigger();
        QCOMPARE(count(), QStringLiteral("1 of 3 drivers"));
        window_->undoStack().undo();
        QCOMPARE(count(), QStringLiteral("2 of 4 drivers"));
        lib::Driver renamed = Row(0);  // an edit that takes a driver out of the search
        renamed.model = "Omega";
        window_->undoStack().push(new lib::EditDriver(*model_, Row(0), renamed));
        QCOMPARE(count(), QStringLiteral("1 of 4 drivers"));
    }

    // Return sends the selected driver only when it is in view; the status
    // line says why nothing went out otherwise. A driver with a value no
    // driver has is flagged in the table and not sent.
    void sendsOnlyTheSelectedDriverInView()
    {
        kt::Listener kestrova({"--as", "Kestrova", "--count", "1", "--timeout", "60"});
        QVERIFY(WaitFor([&] { return !bus_->peers(QStringLiteral("Kestrova")).isEmpty(); }));
        std::vector<lib::Driver> many;
        for (int i = 0; i < 200; ++i) many.push_back(Make("Row " + std::to_string(1000 + i)));
        many.push_back(Make("Zeta Huge", 1e300));
        Store(many);
        window_->Load();
        window_->resize(900, 400);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        auto pressReturn = [&] { QTest::keyClick(window_->search(), Qt::Key_Return); };

        pressReturn();
        QVERIFY2(Status().startsWith(QStringLiteral("No driver is selected")), qPrintable(Status()));
        SelectRow(150);
        window_->table()->scrollToTop();
        pressReturn();
        QVERIFY2(Status().contains(QStringLiteral("scrolled out of view")), qPrintable(Status()));

        const int huge = window_->filter().rowCount() - 1;  // sorted by model: last
        QCOMPARE(Row(huge).model, std::string("Zeta Huge"));
        const QModelIndex fs = window_->filter().index(huge, int(Field::Fs));
        QVERIFY(fs.data(Qt::ForegroundRole).isValid());
        QCOMPARE(fs.data(Qt::ToolTipRole).toString(), QStringLiteral("Fs 1e+300 Hz lies outside 1 to 20000 Hz"));
        SelectRow(huge);
        pressReturn();
        QVERIFY2(Status().contains(QStringLiteral("was not sent: Fs 1e+300 Hz lies outside")), qPrintable(Status()));

        SelectRow(2);
        window_->table()->scrollToTop();
        pressReturn();
        QVERIFY(WaitFor([&] { return kestrova.lines().size() == 1; }, 15000));
        // The first and only message: the row in view, nothing before it.
        QVERIFY2(kestrova.lines().front().contains(QStringLiteral("DUMMY#  Row 1002  ")),
                 qPrintable(kestrova.lines().front()));
        QVERIFY(WaitFor([&] { return Status() == QStringLiteral("\"Row 1002\" sent to Kestrova."); }));
    }

    // Speaker Select from Kestrova brings a minimised window back, active,
    // with the search field focused.
    void speakerSelectUnminimises()
    {
        window_->Load();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->showMinimized();
        QVERIFY(WaitFor([&] { return window_->isMinimized(); }));
        link_->Receive("ShowVtrl");
        QVERIFY(!window_->isMinimized());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QCOMPARE(QApplication::focusWidget(), window_->search());
    }

    // A large import is read while the window goes on and added with its
    // progress shown step by step; undo takes it back whole.
    void importShowsProgressAndUndoes()
    {
        window_->Load();
        window_->show();
        QFile csv(dir_->filePath(QStringLiteral("many.csv")));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("model,fs,qts,re\n");
        for (int i = 0; i < 3000; ++i) csv.write(QByteArray("Imported ") + QByteArray::number(i) + ",40,0.4,6\n");
        csv.close();

        int inBetween = 0;  // progress seen neither at its start nor its end
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (const auto* p = window_->findChild<QProgressDialog*>(); p && p->maximum() == 3000)
                inBetween += p->value() > 0 && p->value() < 3000;
        });
        watch.start(0);
        window_->ImportPath(csv.fileName());
        // Back at once: the file is read on another thread.
        QVERIFY(window_->importing());
        QCOMPARE(model_->rowCount(), 0);
        window_->ImportPath(csv.fileName());
        QVERIFY(Status().contains(QStringLiteral("still being read")));
        QVERIFY(WaitFor([&] { return !window_->importing(); }, 30000));
        watch.stop();
        QCOMPARE(model_->rowCount(), 3000);
        QVERIFY2(inBetween > 0, "the window did not go on while the drivers were added");
        QVERIFY(Status().startsWith(QStringLiteral("3000 drivers imported")));
        window_->undoStack().undo();
        QCOMPARE(window_->count()->text(), QStringLiteral("0 of 0 drivers"));

        window_->ImportPath(dir_->filePath(QStringLiteral("missing.csv")));
        QVERIFY(WaitFor([&] { return !window_->importing(); }));
        QCOMPARE(Boxes().size(), 1);
        QVERIFY(Boxes().front().startsWith(QStringLiteral("Nothing was imported from")));
    }
};

QTEST_MAIN(LibraryWindowTest)
#include "library_window_test.moc"
