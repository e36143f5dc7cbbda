// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/qt/table_model.h"

#include <QApplication>
#include <QColor>
#include <QStyle>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "library/driver_values.h"

namespace ks::lib {
namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

}  // namespace

DriverTableModel::DriverTableModel(DriverStore& store, QObject* parent) : QAbstractTableModel(parent), store_(store) {}

QString DriverTableModel::Hay(const Driver& d) { return (Q(d.model) + QLatin1Char('\n') + Q(d.range)).toCaseFolded(); }

bool DriverTableModel::reload()
{
    std::vector<Driver> rows = store_.all();
    if (!store_.lastError().isEmpty()) {
        Q_EMIT failed(store_.lastError());
        return false;
    }
    beginResetModel();
    rows_ = std::move(rows);
    hay_.clear();
    hay_.reserve(rows_.size());
    for (const Driver& d : rows_) hay_.push_back(Hay(d));
    endResetModel();
    return true;
}

int DriverTableModel::rowOf(std::int64_t id) const
{
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == id) return int(i);
    return -1;
}

bool DriverTableModel::add(std::vector<Driver>& drivers, const std::function<void(std::size_t)>& progress)
{
    if (drivers.empty()) return true;
    if (!store_.insert(drivers, progress)) {
        Q_EMIT failed(store_.lastError());
        return false;
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + int(drivers.size()) - 1);
    for (const Driver& d : drivers) {
        rows_.push_back(d);
        hay_.push_back(Hay(d));
    }
    endInsertRows();
    return true;
}

bool DriverTableModel::replace(const Driver& d)
{
    const int row = rowOf(d.id);
    if (row < 0 || !store_.update(d)) {
        Q_EMIT failed(row < 0 ? QStringLiteral("That driver is no longer in the library.") : store_.lastError());
        return false;
    }
    rows_[std::size_t(row)] = d;
    hay_[std::size_t(row)] = Hay(d);
    Q_EMIT dataChanged(index(row, 0), index(row, kFieldCount - 1));
    return true;
}

bool DriverTableModel::remove(const std::vector<std::int64_t>& ids)
{
    if (!store_.remove(ids)) {
        Q_EMIT failed(store_.lastError());
        return false;
    }
    const std::unordered_set<std::int64_t> gone(ids.begin(), ids.end());
    if (gone.size() > 16) {
        ResetWithout(gone);  // many rows: one reset is cheaper than a signal a row
        return true;
    }
    for (int row = rowCount() - 1; row >= 0; --row) {
        if (!gone.count(rows_[std::size_t(row)].id)) continue;
        beginRemoveRows({}, row, row);
        rows_.erase(rows_.begin() + row);
        hay_.erase(hay_.begin() + row);
        endRemoveRows();
    }
    return true;
}

void DriverTableModel::ResetWithout(const std::unordered_set<std::int64_t>& gone)
{
    beginResetModel();
    std::vector<Driver> keep;
    std::vector<QString> hay;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (!gone.count(rows_[i].id)) {
            keep.push_back(std::move(rows_[i]));
            hay.push_back(std::move(hay_[i]));
        }
    rows_ = std::move(keep);
    hay_ = std::move(hay);
    endResetModel();
}

bool DriverTableModel::apply(std::vector<Driver>& add, const std::vector<Driver>& change,
                             const std::vector<std::int64_t>& remove, const std::function<void(std::size_t)>& progress)
{
    if (!store_.apply(add, change, remove, progress)) {
        Q_EMIT failed(store_.lastError());
        return false;
    }
    std::unordered_map<std::int64_t, std::size_t> rowOfId;
    rowOfId.reserve(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) rowOfId.emplace(rows_[i].id, i);
    for (const Driver& d : change) {
        const auto it = rowOfId.find(d.id);
        if (it == rowOfId.end()) continue;
        rows_[it->second] = d;
        hay_[it->second] = Hay(d);
        Q_EMIT dataChanged(index(int(it->second), 0), index(int(it->second), kFieldCount - 1));
    }
    if (!remove.empty()) {
        ResetWithout({remove.begin(), remove.end()});
    }
    if (!add.empty()) {
        const int first = rowCount();
        beginInsertRows({}, first, first + int(add.size()) - 1);
        for (const Driver& d : add) {
            rows_.push_back(d);
            hay_.push_back(Hay(d));
        }
        endInsertRows();
    }
    return true;
}

int DriverTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int DriverTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kFieldCount; }

QVariant DriverTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Driver& d = rows_[std::size_t(index.row())];
    const Field f = static_cast<Field>(index.column());
    const bool numeric = Info(f).numeric;
    switch (role) {
    case Qt::DecorationRole:
        // A driver taken without Re, Qes, Qms or Vas carries a mark.
        if (f == Field::Model && Incomplete(d))
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return {};
    case Qt::DisplayRole:
        if (!numeric) return Q(f == Field::Model ? d.model : d.range);
        // Five significant digits fit the column; 0 is "not given" and left
        // blank so the given values stand out. The exact value is the tip.
        return d.get(f) == 0 ? QString() : QString::number(d.get(f), 'g', 5);
    case Qt::ToolTipRole:
        if (f == Field::Model && Incomplete(d))
            return Q(d.model) + QStringLiteral("\nIncomplete: no ") + Q(MissingFields(d));
        if (!numeric) return Q(f == Field::Model ? d.model : d.range);
        if (const auto why = Implausible(f, d.get(f))) return Q(*why);
        if (f == Field::Qts && QtsIsComputed(d))
            return QStringLiteral("%1, from Qes and Qms").arg(d.get(f), 0, 'f', kQtsDecimals);
        return Q(NumberText(d.get(f)));
    case Qt::ForegroundRole:
        // A value no driver has: a slip of units, or a damaged file.
        return numeric && !IsPlausible(f, d.get(f)) ? QVariant(QColor(176, 0, 32)) : QVariant();
    case Qt::TextAlignmentRole:
        return numeric ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                       : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
    default: return {};
    }
}

QVariant DriverTableModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kFieldCount) return {};
    const FieldInfo& i = Info(static_cast<Field>(section));
    return i.unit.empty() ? Q(i.title) : Q(i.title) + QStringLiteral(" (") + Q(i.unit) + QLatin1Char(')');
}

AddDrivers::AddDrivers(DriverTableModel& m, std::vector<Driver> drivers, const QString& text,
                       std::function<void(std::size_t)> progress, Added added)
    : QUndoCommand(text), m_(m), drivers_(std::move(drivers)), progress_(std::move(progress)), added_(std::move(added))
{
}

void AddDrivers::redo()
{
    // The first time the store gives the ids; later the same ids return.
    if (!m_.add(drivers_, progress_))
        setObsolete(true);
    else if (added_)
        added_(drivers_);
    progress_ = {};
    added_ = {};
}

void AddDrivers::undo()
{
    std::vector<std::int64_t> ids;
    for (const Driver& d : drivers_) ids.push_back(d.id);
    if (!m_.remove(ids)) setObsolete(true);
}

ImportDrivers::ImportDrivers(DriverTableModel& m, MergePlan plan, const QString& text,
                             std::function<void(std::size_t)> progress)
    : QUndoCommand(text), m_(m), plan_(std::move(plan)), progress_(std::move(progress))
{
}

void ImportDrivers::redo()
{
    // The first time the store gives the ids; later the same ids return.
    if (!m_.apply(plan_.added, plan_.after, {}, progress_)) setObsolete(true);
    progress_ = {};
}

void ImportDrivers::undo()
{
    std::vector<std::int64_t> ids;
    for (const Driver& d : plan_.added) ids.push_back(d.id);
    std::vector<Driver> none;
    if (!m_.apply(none, plan_.before, ids)) setObsolete(true);
}

EditDriver::EditDriver(DriverTableModel& m, Driver before, Driver after)
    : QUndoCommand(QStringLiteral("Edit \"%1\"").arg(Q(after.model))),
      m_(m),
      before_(std::move(before)),
      after_(std::move(after))
{
}

void EditDriver::redo()
{
    if (!m_.replace(after_)) setObsolete(true);
}

void EditDriver::undo()
{
    if (!m_.replace(before_)) setObsolete(true);
}

DeleteDrivers::DeleteDrivers(DriverTableModel& m, std::vector<Driver> drivers)
    : QUndoCommand(drivers.size() == 1 ? QStringLiteral("Delete \"%1\"").arg(Q(drivers.front().model))
                                       : QStringLiteral("Delete %1 drivers").arg(drivers.size())),
      m_(m),
      drivers_(std::move(drivers))
{
}

void DeleteDrivers::redo()
{
    std::vector<std::int64_t> ids;
    for (const Driver& d : drivers_) ids.push_back(d.id);
    if (!m_.remove(ids)) setObsolete(true);
}

void DeleteDrivers::undo()
{
    if (!m_.add(drivers_)) setObsolete(true);
}

}  // namespace ks::lib
