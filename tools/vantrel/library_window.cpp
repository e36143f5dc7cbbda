// SPDX-License-Identifier: GPL-3.0-or-later
#include "library_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTableView>
#include <QThread>
#include <QToolBar>
#include <QVBoxLayout>

#include "driver_dialog.h"
#include "kestrova_link.h"
#include "library/qt/import.h"

namespace ks::vantrel {
namespace {

// Above this many rows adding an import's drivers shows its progress;
// reading a file shows it once it takes this long.
constexpr std::size_t kProgressRows = 300;
constexpr int kShowProgressMs = 300;

std::optional<double> Bound(const QLineEdit* e)
{
    QString t = e->text().trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

}  // namespace

LibraryWindow::LibraryWindow(lib::DriverTableModel& model, KestrovaLink& link, QWidget* parent)
    : QMainWindow(parent), model_(model), link_(link)
{
    setWindowTitle(QStringLiteral("Vantrel \u2013 Driver Library"));
    filter_.setSourceModel(&model_);
    auto* central = new QWidget;
    auto* top = new QVBoxLayout(central);
    top->addLayout(BuildFilters());
    top->addWidget(BuildTable(), 1);
    setCentralWidget(central);
    BuildCommands();
    BuildStatus();
    resize(1260, 680);
    UpdateStatus();
}

QLayout* LibraryWindow::BuildFilters()
{
    auto* filters = new QHBoxLayout;
    search_ = new QLineEdit;
    search_->setPlaceholderText(QStringLiteral("Search model or range"));
    search_->setClearButtonEnabled(true);
    search_->setMaxLength(100);
    search_->installEventFilter(this);
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& t) {
        filter_.setText(t);
        UpdateStatus();
    });
    filters->addWidget(search_, 3);
    const std::array<std::pair<lib::Field, const char*>, 3> ranged{
        {{lib::Field::Fs, "Fs (Hz)"}, {lib::Field::Qts, "Qts"}, {lib::Field::Vas, "Vas (l)"}}};
    for (std::size_t i = 0; i < ranged.size(); ++i) {
        filters->addSpacing(8);
        filters->addWidget(new QLabel(QString::fromUtf8(ranged[i].second)));
        for (std::size_t j = 0; j < 2; ++j) {
            auto* e = new QLineEdit;
            e->setPlaceholderText(j == 0 ? QStringLiteral("from") : QStringLiteral("to"));
            e->setMaxLength(20);
            e->setFixedWidth(58);
            ranges_[i * 2 + j] = e;
            filters->addWidget(e);
            connect(e, &QLineEdit::textChanged, this, [this, i, f = ranged[i].first] {
                filter_.setRange(f, Bound(ranges_[i * 2]), Bound(ranges_[i * 2 + 1]));
                UpdateStatus();
            });
        }
    }
    return filters;
}

QTableView* LibraryWindow::BuildTable()
{
    table_ = new QTableView;
    table_->setModel(&filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(int(lib::Field::Model), Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->horizontalHeader()->setStretchLastSection(false);
    table_->setColumnWidth(int(lib::Field::Model), 170);
    table_->setColumnWidth(int(lib::Field::Range), 130);
    // Numbers: room for six digits or the header with its unit and the sort mark.
    const QFontMetrics fm = table_->horizontalHeader()->fontMetrics();
    for (int c = int(lib::Field::Dia); c < lib::kFieldCount; ++c)
        table_->setColumnWidth(
            c, std::max(fm.horizontalAdvance(QStringLiteral("000.00")),
                        fm.horizontalAdvance(model_.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString())) +
                   14);
    table_->installEventFilter(this);
    connect(table_, &QTableView::doubleClicked, this, [this] { Pick(); });
    return table_;
}

// Menus carry the keys, the tool bar the buttons.
void LibraryWindow::BuildCommands()
{
    auto act = [this](const QString& text, QKeySequence key, auto slot) {
        auto* a = new QAction(text, this);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    send_ = act(QStringLiteral("Send to Kestrova"), QKeySequence(Qt::CTRL | Qt::Key_Return), &LibraryWindow::Pick);
    QAction* add = act(QStringLiteral("New..."), QKeySequence::New, &LibraryWindow::New);
    QAction* edit = act(QStringLiteral("Edit..."), QKeySequence(Qt::CTRL | Qt::Key_E), &LibraryWindow::Edit);
    QAction* dup = act(QStringLiteral("Duplicate"), QKeySequence(Qt::CTRL | Qt::Key_D), &LibraryWindow::Duplicate);
    QAction* del = act(QStringLiteral("Delete"), QKeySequence::Delete, &LibraryWindow::Delete);
    QAction* imp = act(QStringLiteral("Import..."), QKeySequence(Qt::CTRL | Qt::Key_I), &LibraryWindow::Import);
    QAction* exp =
        act(QStringLiteral("Export..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), &LibraryWindow::Export);
    QAction* quit = act(QStringLiteral("Quit"), QKeySequence::Quit, &QWidget::close);
    QAction* undo = undo_.createUndoAction(this);
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = undo_.createRedoAction(this);
    redo->setShortcut(QKeySequence::Redo);
    changes_ = new QActionGroup(this);
    changes_->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (QAction* a : {send_, add, edit, dup, del, imp, exp, undo, redo}) changes_->addAction(a);
    // Delete acts on the table only, so the search field keeps its key.
    del->setShortcutContext(Qt::WidgetShortcut);
    table_->addAction(del);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addActions({send_, imp, exp});
    file->addSeparator();
    file->addAction(quit);
    QMenu* editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    editMenu->addActions({undo, redo});
    editMenu->addSeparator();
    editMenu->addActions({add, edit, dup, del});

    QToolBar* bar = addToolBar(QStringLiteral("Commands"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addActions({add, edit, dup, del});
    bar->addSeparator();
    bar->addActions({undo, redo});
    bar->addSeparator();
    bar->addActions({imp, exp});
    bar->addSeparator();
    bar->addAction(send_);
}

// The count of shown drivers, and what the store and the link report.
void LibraryWindow::BuildStatus()
{
    count_ = new QLabel;
    statusBar()->addPermanentWidget(count_);
    // The filter follows the library in one layout change; the library's own
    // signals come after the filter has taken them.
    connect(&filter_, &QAbstractItemModel::layoutChanged, this, &LibraryWindow::UpdateStatus);
    connect(&filter_, &QAbstractItemModel::modelReset, this, &LibraryWindow::UpdateStatus);
    connect(&model_, &QAbstractItemModel::rowsInserted, this, &LibraryWindow::UpdateStatus);
    connect(&model_, &QAbstractItemModel::rowsRemoved, this, &LibraryWindow::UpdateStatus);
    connect(&model_, &lib::DriverTableModel::failed, this, [this](const QString& m) { Report(m, true); });
    connect(&link_, &KestrovaLink::waitingChanged, this, [this](bool waiting) {
        send_->setEnabled(!waiting);
        if (waiting)
            QApplication::setOverrideCursor(Qt::BusyCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    connect(&link_, &KestrovaLink::finished, this, [this](bool sent, const QString& m) { Report(m, !sent); });
}

LibraryWindow::~LibraryWindow()
{
    if (reading_) {
        reading_->wait();
        delete reading_;
    }
}

void LibraryWindow::Load(const QString& openMessage)
{
    if (!openMessage.isEmpty()) Report(openMessage, true);
    model_.reload();
    UpdateStatus();
}

void LibraryWindow::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    search_->setFocus();
}

void LibraryWindow::MakeReady()
{
    // Un-minimised, keeping a maximised or full-screen state.
    if (isMinimized()) setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    search_->setFocus();
    search_->selectAll();
    const QModelIndex cur = table_->currentIndex();
    if (cur.isValid()) table_->scrollTo(cur);
}

bool LibraryWindow::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() != QEvent::KeyPress) return QMainWindow::eventFilter(o, e);
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
        if (k->modifiers() & ~Qt::KeypadModifier) return QMainWindow::eventFilter(o, e);
        Pick();
        return true;
    }
    if (o == search_) {
        switch (k->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            // The arrows move the selection while typing goes on in the field.
            QKeyEvent copy(k->type(), k->key(), k->modifiers(), k->text());
            QApplication::sendEvent(table_, &copy);
            return true;
        }
        default: break;
        }
    }
    return QMainWindow::eventFilter(o, e);
}

std::vector<lib::Driver> LibraryWindow::Selected() const
{
    std::vector<lib::Driver> out;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows())
        out.push_back(model_.driver(filter_.mapToSource(i).row()));
    return out;
}

void LibraryWindow::Pick()
{
    const QItemSelectionModel* sel = table_->selectionModel();
    const QModelIndexList rows = sel->selectedRows();
    QModelIndex row = table_->currentIndex();
    if (!row.isValid() || !sel->isRowSelected(row.row(), {})) row = rows.size() == 1 ? rows.front() : QModelIndex();
    if (!row.isValid()) {
        Say(rows.isEmpty() ? QStringLiteral("No driver is selected: select the one to send.")
                           : QStringLiteral("Several drivers are selected: select the one to send."));
        return;
    }
    // Only what the user sees goes out, never a row scrolled away.
    const QRect cell = table_->visualRect(row), view = table_->viewport()->rect();
    if (cell.bottom() < view.top() || cell.top() > view.bottom()) {
        Say(QStringLiteral("The selected driver is scrolled out of view: scroll to it, or select the one to send."));
        return;
    }
    link_.SendDriver(model_.driver(filter_.mapToSource(row).row()));
}

void LibraryWindow::Select(std::int64_t id)
{
    const int src = model_.rowOf(id);
    if (src < 0) return;
    const QModelIndex i = filter_.mapFromSource(model_.index(src, 0));
    if (!i.isValid()) return;
    table_->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table_->scrollTo(i);
}

bool LibraryWindow::Add(std::vector<lib::Driver> drivers, const QString& text,
                        const std::function<void(std::size_t)>& progress)
{
    std::int64_t first = 0;
    undo_.push(new lib::AddDrivers(model_, std::move(drivers), text, progress,
                                   [&first](const std::vector<lib::Driver>& added) { first = added.front().id; }));
    if (first) Select(first);
    return first != 0;
}

void LibraryWindow::New()
{
    DriverDialog dlg(QStringLiteral("New Driver"), lib::Driver{}, this);
    if (dlg.exec() != QDialog::Accepted) return;
    Add({dlg.driver()}, QStringLiteral("New \"%1\"").arg(QString::fromStdString(dlg.driver().model)));
}

void LibraryWindow::Edit()
{
    const std::vector<lib::Driver> sel = Selected();
    if (sel.size() != 1) {
        Say(QStringLiteral("Select one driver to edit."));
        return;
    }
    DriverDialog dlg(QStringLiteral("Edit Driver"), sel.front(), this);
    if (dlg.exec() != QDialog::Accepted || dlg.driver() == sel.front()) return;
    undo_.push(new lib::EditDriver(model_, sel.front(), dlg.driver()));
}

void LibraryWindow::Duplicate()
{
    const std::vector<lib::Driver> sel = Selected();
    if (sel.size() != 1) {
        Say(QStringLiteral("Select one driver to duplicate."));
        return;
    }
    lib::Driver copy = sel.front();
    copy.id = 0;
    DriverDialog dlg(QStringLiteral("Duplicate Driver"), copy, this);
    if (dlg.exec() != QDialog::Accepted) return;
    Add({dlg.driver()}, QStringLiteral("Duplicate \"%1\"").arg(QString::fromStdString(copy.model)));
}

void LibraryWindow::Delete()
{
    std::vector<lib::Driver> sel = Selected();
    if (sel.empty()) return;
    undo_.push(new lib::DeleteDrivers(model_, std::move(sel)));
}

void LibraryWindow::Import()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Import Drivers"), QString(),
                                                      QStringLiteral("Driver lists (*.csv *.xml);;All files (*)"));
    if (!path.isEmpty()) ImportPath(path);
}

void LibraryWindow::ImportPath(const QString& path)
{
    if (reading_) {
        Say(QStringLiteral("Another file is still being read; import this one when it is done."));
        return;
    }
    auto result = std::make_shared<lib::ImportResult>();
    reading_ = QThread::create([path, result] { *result = lib::ImportFile(path); });
    auto* progress = new QProgressDialog(QStringLiteral("Reading %1...").arg(QFileInfo(path).fileName()),
                                         QStringLiteral("Cancel"), 0, 0, this);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(kShowProgressMs);
    progress->setValue(0);  // starts the clock that shows it
    connect(reading_, &QThread::finished, this, [this, path, result, progress] {
        const bool canceled = progress->wasCanceled();
        delete progress;
        reading_->wait();  // finished comes just before the thread ends
        delete reading_;
        reading_ = nullptr;
        if (canceled)
            Say(QStringLiteral("Nothing was imported from %1.").arg(path));
        else
            Take(path, std::move(*result));
    });
    reading_->start();
}

void LibraryWindow::Take(const QString& path, lib::ImportResult r)
{
    if (!r.fatal.empty()) {
        Report(QStringLiteral("Nothing was imported from %1: %2").arg(path, QString::fromStdString(r.fatal)), true);
        return;
    }
    const std::size_t n = r.taken.size();
    std::array<std::size_t, 3> counts{};  // added, updated, unchanged
    bool ok = true;
    if (n > 0) {
        // Adding is the library's own work, on this thread: each step lets
        // the window paint (the dialog keeps its input meanwhile).
        std::unique_ptr<QProgressDialog> progress;
        if (n > kProgressRows) {
            progress = std::make_unique<QProgressDialog>(QStringLiteral("Adding %1 drivers...").arg(n), QString(), 0,
                                                         int(n), this);
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
            progress->show();
        }
        // The stack's index, not its count: after an undo a new command
        // takes the place of the undone ones, and the count may not grow.
        const int before = undo_.index();
        lib::MergePlan plan = lib::PlanMerge(model_.drivers(), std::move(r.taken));
        counts = {plan.added.size(), plan.updated, plan.unchanged};
        if (!plan.added.empty() || !plan.after.empty()) {  // else nothing to write or undo
            undo_.push(new lib::ImportDrivers(model_, std::move(plan), QStringLiteral("Import %1 drivers").arg(n),
                                              [&progress](std::size_t done) {
                                                  if (progress) progress->setValue(int(done));
                                              }));
            ok = undo_.index() > before;
        }
    }
    if (!ok) return;  // the store's failure was reported
    QString text = QStringLiteral("From %1: %2 drivers added, %3 updated, %4 unchanged.")
                       .arg(path)
                       .arg(counts[0])
                       .arg(counts[1])
                       .arg(counts[2]);
    if (r.refused.empty()) {
        Report(text, false);
        return;
    }
    text += QStringLiteral("\n%1 rows refused and skipped.").arg(r.refused.size());
    QString details;
    for (std::size_t i = 0; i < r.refused.size() && i < 1000; ++i)
        details +=
            QStringLiteral("line %1: %2\n").arg(r.refused[i].line).arg(QString::fromStdString(r.refused[i].reason));
    Say(text.section(QLatin1Char('\n'), 0, 0));
    Box(text, details);
}

void LibraryWindow::Export()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export Drivers"),
                                                      QStringLiteral("drivers.csv"), QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty()) return;
    QString error;
    if (!lib::ExportFile(path, model_.drivers(), error)) {
        Report(error, true);
        return;
    }
    const QString written = QStringLiteral("%1 drivers written to %2.").arg(model_.rowCount()).arg(path);
    const QString limit = lib::ReadBackLimit(model_.drivers().size(), QFileInfo(path).size());
    Report(limit.isEmpty() ? written : written + QLatin1Char(' ') + limit, !limit.isEmpty());
}

void LibraryWindow::SetReadOnly(const QString& reason)
{
    changes_->setEnabled(reason.isEmpty());
    if (reason.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(reason);
}

void LibraryWindow::UpdateStatus()
{
    count_->setText(QStringLiteral("%1 of %2 drivers").arg(filter_.rowCount()).arg(model_.rowCount()));
}

void LibraryWindow::Report(const QString& message, bool problem)
{
    statusBar()->showMessage(message, problem ? 0 : 8000);
    if (problem && isVisible()) Box(message);
}

void LibraryWindow::Say(const QString& message) { statusBar()->showMessage(message, 8000); }

// Open, not run: the window and the bus go on while it is read.
void LibraryWindow::Box(const QString& message, const QString& details)
{
    auto* box = new QMessageBox(details.isEmpty() ? QMessageBox::Warning : QMessageBox::Information,
                                QStringLiteral("Vantrel"), message, QMessageBox::Ok, this);
    box->setDetailedText(details);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

}  // namespace ks::vantrel
