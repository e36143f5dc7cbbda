#include "library_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileDialog>
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
#include <QToolBar>
#include <QVBoxLayout>

#include "driver_dialog.h"
#include "kestrova_link.h"
#include "library/qt/import.h"

namespace ks::vantrel {
namespace {

// Above this many rows an import shows its progress.
constexpr std::size_t kProgressRows = 300;

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
    auto* filters = new QHBoxLayout;
    search_ = new QLineEdit;
    search_->setPlaceholderText(QStringLiteral("Search model or range"));
    search_->setClearButtonEnabled(true);
    search_->setMaxLength(100);
    search_->installEventFilter(this);
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
    top->addLayout(filters);

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
    top->addWidget(table_, 1);
    setCentralWidget(central);

    // Commands: menus carry the keys, the tool bar the buttons.
    auto act = [this](const QString& text, QKeySequence key, auto slot) {
        auto* a = new QAction(text, this);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QAction* send =
        act(QStringLiteral("Send to Kestrova"), QKeySequence(Qt::CTRL | Qt::Key_Return), &LibraryWindow::Pick);
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
    for (QAction* a : {send, add, edit, dup, del, imp, exp, undo, redo}) changes_->addAction(a);
    // Delete acts on the table only, so the search field keeps its key.
    del->setShortcutContext(Qt::WidgetShortcut);
    table_->addAction(del);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addActions({send, imp, exp});
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
    bar->addAction(send);

    count_ = new QLabel;
    statusBar()->addPermanentWidget(count_);
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& t) {
        filter_.setText(t);
        UpdateStatus();
    });
    connect(&filter_, &QAbstractItemModel::rowsInserted, this, &LibraryWindow::UpdateStatus);
    connect(&filter_, &QAbstractItemModel::rowsRemoved, this, &LibraryWindow::UpdateStatus);
    connect(&filter_, &QAbstractItemModel::modelReset, this, &LibraryWindow::UpdateStatus);
    connect(&model_, &lib::DriverTableModel::failed, this, [this](const QString& m) { Report(m, true); });
    connect(&link_, &KestrovaLink::waitingChanged, this, [send](bool waiting) {
        send->setEnabled(!waiting);
        if (waiting)
            QApplication::setOverrideCursor(Qt::BusyCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    connect(&link_, &KestrovaLink::finished, this, [this](bool sent, const QString& m) { Report(m, !sent); });
    resize(1260, 680);
    UpdateStatus();
}

void LibraryWindow::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    search_->setFocus();
}

void LibraryWindow::MakeReady()
{
    if (isHidden()) show();
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
    QModelIndex row = table_->currentIndex();
    if (!row.isValid() || !table_->selectionModel()->isRowSelected(row.row(), {})) row = filter_.index(0, 0);
    if (!row.isValid()) {
        Report(QStringLiteral("No driver is shown to send."), true);
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

void LibraryWindow::New()
{
    DriverDialog dlg(QStringLiteral("New Driver"), lib::Driver{}, this);
    if (dlg.exec() != QDialog::Accepted) return;
    auto* cmd = new lib::AddDrivers(model_, {dlg.driver()},
                                    QStringLiteral("New \"%1\"").arg(QString::fromStdString(dlg.driver().model)));
    undo_.push(cmd);
    if (undo_.command(undo_.index() - 1) == cmd) Select(cmd->drivers().front().id);
}

void LibraryWindow::Edit()
{
    const std::vector<lib::Driver> sel = Selected();
    if (sel.size() != 1) {
        Report(QStringLiteral("Select one driver to edit."), true);
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
        Report(QStringLiteral("Select one driver to duplicate."), true);
        return;
    }
    lib::Driver copy = sel.front();
    copy.id = 0;
    DriverDialog dlg(QStringLiteral("Duplicate Driver"), copy, this);
    if (dlg.exec() != QDialog::Accepted) return;
    auto* cmd = new lib::AddDrivers(model_, {dlg.driver()},
                                    QStringLiteral("Duplicate \"%1\"").arg(QString::fromStdString(copy.model)));
    undo_.push(cmd);
    if (undo_.command(undo_.index() - 1) == cmd) Select(cmd->drivers().front().id);
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
    lib::ImportResult r = lib::ImportFile(path);
    if (!r.fatal.empty()) {
        QMessageBox::warning(this, QStringLiteral("Import"), QString::fromStdString(r.fatal));
        return;
    }
    const std::size_t n = r.taken.size();
    std::array<std::size_t, 3> counts{};  // added, updated, unchanged
    bool ok = true;
    if (n > 0) {
        std::unique_ptr<QProgressDialog> progress;
        if (n > kProgressRows) {
            progress = std::make_unique<QProgressDialog>(QStringLiteral("Importing %1 drivers...").arg(n), QString(), 0,
                                                         int(n), this);
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
        }
        const int before = undo_.count();
        lib::MergePlan plan = lib::PlanMerge(model_.drivers(), std::move(r.taken));
        counts = {plan.added.size(), plan.updated, plan.unchanged};
        if (!plan.added.empty() || !plan.after.empty()) {  // else nothing to write or undo
            undo_.push(new lib::ImportDrivers(model_, std::move(plan), QStringLiteral("Import %1 drivers").arg(n),
                                              [&progress](std::size_t done) {
                                                  if (progress) progress->setValue(int(done));
                                              }));
            ok = undo_.count() > before;
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
    QMessageBox box(QMessageBox::Information, QStringLiteral("Import"), text, QMessageBox::Ok, this);
    box.setDetailedText(details);
    box.exec();
}

void LibraryWindow::Export()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export Drivers"),
                                                      QStringLiteral("drivers.csv"), QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty()) return;
    QString error;
    if (lib::ExportFile(path, model_.drivers(), error))
        Report(QStringLiteral("%1 drivers written to %2.").arg(model_.rowCount()).arg(path), false);
    else
        Report(error, true);
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
    if (problem && isVisible()) QMessageBox::warning(this, QStringLiteral("Vantrel"), message);
}

}  // namespace ks::vantrel
