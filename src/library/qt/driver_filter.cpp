// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/qt/driver_filter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "library/qt/table_model.h"

namespace ks::lib {
namespace {

// A strict order on source rows by their keys; equal keys keep the rows'
// own order in both directions.
template <typename Key>
auto Less(const std::vector<Key>& key, bool descending)
{
    return [&key, descending](int a, int b) {
        const Key& x = key[std::size_t(a)];
        const Key& y = key[std::size_t(b)];
        if (x < y) return !descending;
        if (y < x) return descending;
        return a < b;
    };
}

// A value that is not a number sorts first rather than breaking the order.
double NumberKey(double v) { return std::isnan(v) ? -std::numeric_limits<double>::infinity() : v; }

QStringView TextKey(const QString& haystack, Field f)
{
    const qsizetype cut = haystack.indexOf(QLatin1Char('\n'));
    return f == Field::Model ? QStringView(haystack).first(cut) : QStringView(haystack).sliced(cut + 1);
}

}  // namespace

DriverFilter::DriverFilter(QObject* parent) : QAbstractProxyModel(parent) {}

void DriverFilter::setSourceModel(QAbstractItemModel* source)
{
    beginResetModel();
    if (sourceModel()) disconnect(sourceModel(), nullptr, this, nullptr);
    src_ = qobject_cast<const DriverTableModel*>(source);
    Q_ASSERT(src_ || !source);
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this, &DriverFilter::Begin);
        connect(source, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex&, int first, int last) { SourceInserted(first, last); });
        connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this, &DriverFilter::Begin);
        connect(source, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex&, int first, int last) { SourceRemoved(first, last); });
        connect(source, &QAbstractItemModel::dataChanged, this, &DriverFilter::SourceChanged);
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this, &DriverFilter::beginResetModel);
        connect(source, &QAbstractItemModel::modelReset, this, &DriverFilter::SourceReset);
    }
    Rebuild();
    endResetModel();
}

void DriverFilter::setText(const QString& text)
{
    const QString folded = text.trimmed().toCaseFolded();
    if (folded == text_) return;
    text_ = folded;
    Relayout(all_);
}

void DriverFilter::setRange(Field f, std::optional<double> low, std::optional<double> high)
{
    for (Range& r : ranges_)
        if (r.field == f) {
            r.low = low;
            r.high = high;
        }
    Relayout(all_);
}

void DriverFilter::sort(int column, Qt::SortOrder order)
{
    column_ = column >= 0 && column < kFieldCount ? column : -1;
    order_ = order;
    Relayout(Merged({}, all_));
}

bool DriverFilter::Accepts(int row) const
{
    if (!text_.isEmpty() && !src_->haystack(row).contains(text_)) return false;
    const Driver& d = src_->driver(row);
    for (const Range& r : ranges_) {
        const double v = d.get(r.field);
        if ((r.low && v < *r.low) || (r.high && v > *r.high)) return false;
    }
    return true;
}

template <typename F>
void DriverFilter::WithOrder(F use) const
{
    const bool descending = order_ == Qt::DescendingOrder;
    const int n = src_ ? src_->rowCount() : 0;
    if (column_ < 0) {
        use(std::less<int>());
    } else if (const Field f = static_cast<Field>(column_); Info(f).numeric) {
        std::vector<double> key(static_cast<std::size_t>(n));
        for (int r = 0; r < n; ++r) key[std::size_t(r)] = NumberKey(src_->driver(r).get(f));
        use(Less(key, descending));
    } else {
        std::vector<QStringView> key(static_cast<std::size_t>(n));
        for (int r = 0; r < n; ++r) key[std::size_t(r)] = TextKey(src_->haystack(r), f);
        use(Less(key, descending));
    }
}

std::vector<int> DriverFilter::Merged(const std::vector<int>& order, std::vector<int> rows) const
{
    std::vector<int> out(order.size() + rows.size());
    WithOrder([&](auto less) {
        std::sort(rows.begin(), rows.end(), less);
        std::merge(order.begin(), order.end(), rows.begin(), rows.end(), out.begin(), less);
    });
    return out;
}

std::vector<int> DriverFilter::Accepted(const std::vector<int>& order) const
{
    std::vector<int> shown;
    shown.reserve(order.size());
    for (int r : order)
        if (Accepts(r)) shown.push_back(r);
    return shown;
}

void DriverFilter::Rebuild()
{
    std::vector<int> rows(static_cast<std::size_t>(src_ ? src_->rowCount() : 0));
    std::iota(rows.begin(), rows.end(), 0);
    all_ = Merged({}, std::move(rows));
    shown_ = Accepted(all_);
    proxyRow_.assign(all_.size(), -1);
    for (std::size_t i = 0; i < shown_.size(); ++i) proxyRow_[std::size_t(shown_[i])] = int(i);
}

void DriverFilter::Begin()
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    saved_ = persistentIndexList();
    savedRows_.clear();
    savedRows_.reserve(std::size_t(saved_.size()));
    for (const QModelIndex& i : saved_)
        savedRows_.push_back(i.row() >= 0 && std::size_t(i.row()) < shown_.size() ? shown_[std::size_t(i.row())] : -1);
}

template <typename NewRow>
void DriverFilter::End(std::vector<int> order, std::vector<int> shown, NewRow newRow)
{
    all_ = std::move(order);
    shown_ = std::move(shown);
    proxyRow_.assign(all_.size(), -1);
    for (std::size_t i = 0; i < shown_.size(); ++i) proxyRow_[std::size_t(shown_[i])] = int(i);
    QModelIndexList now;
    now.reserve(saved_.size());
    for (qsizetype i = 0; i < saved_.size(); ++i) {
        const int was = savedRows_[std::size_t(i)];
        const int source = was < 0 ? -1 : newRow(was);
        const int row = source < 0 ? -1 : proxyRow_[std::size_t(source)];
        now.push_back(row < 0 ? QModelIndex() : createIndex(row, saved_[i].column()));
    }
    changePersistentIndexList(saved_, now);
    saved_.clear();
    savedRows_.clear();
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool DriverFilter::Relayout(std::vector<int> order)
{
    std::vector<int> shown = Accepted(order);
    if (shown == shown_) {
        // Nothing the view shows moved: no layout change.
        all_ = std::move(order);
        return false;
    }
    Begin();
    End(std::move(order), std::move(shown), [](int r) { return r; });
    return true;
}

void DriverFilter::SourceInserted(int first, int last)
{
    const int count = last - first + 1;
    std::vector<int> order = all_;
    for (int& r : order)
        if (r >= first) r += count;
    std::vector<int> added(static_cast<std::size_t>(count));
    std::iota(added.begin(), added.end(), first);
    order = Merged(order, std::move(added));
    std::vector<int> shown = Accepted(order);
    End(std::move(order), std::move(shown), [first, count](int r) { return r >= first ? r + count : r; });
}

void DriverFilter::SourceRemoved(int first, int last)
{
    const int count = last - first + 1;
    std::vector<int> order;
    order.reserve(all_.size());
    for (int r : all_)
        if (r < first || r > last) order.push_back(r > last ? r - count : r);
    std::vector<int> shown = Accepted(order);
    End(std::move(order), std::move(shown), [first, last, count](int r) {
        return r < first ? r : r > last ? r - count : -1;
    });
}

// An edited driver may have left the filter or moved in the order.
void DriverFilter::SourceChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    const int first = topLeft.row(), last = bottomRight.row();
    std::vector<int> order, changed;
    order.reserve(all_.size());
    for (int r : all_) (r < first || r > last ? order : changed).push_back(r);
    if (Relayout(Merged(order, std::move(changed)))) return;
    for (int r = first; r <= last; ++r)
        if (const int p = proxyRow_[std::size_t(r)]; p >= 0)
            Q_EMIT dataChanged(index(p, topLeft.column()), index(p, bottomRight.column()), roles);
}

void DriverFilter::SourceReset()
{
    Rebuild();
    endResetModel();
}

QModelIndex DriverFilter::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || std::size_t(row) >= shown_.size() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

int DriverFilter::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(shown_.size()); }

int DriverFilter::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !src_ ? 0 : src_->columnCount();
}

bool DriverFilter::hasChildren(const QModelIndex& parent) const { return !parent.isValid() && !shown_.empty(); }

QModelIndex DriverFilter::mapToSource(const QModelIndex& proxy) const
{
    if (!proxy.isValid() || proxy.model() != this || std::size_t(proxy.row()) >= shown_.size()) return {};
    return src_->index(shown_[std::size_t(proxy.row())], proxy.column());
}

QModelIndex DriverFilter::mapFromSource(const QModelIndex& source) const
{
    if (!source.isValid() || source.model() != src_ || std::size_t(source.row()) >= proxyRow_.size()) return {};
    const int row = proxyRow_[std::size_t(source.row())];
    return row < 0 ? QModelIndex() : createIndex(row, source.column());
}

// The columns are the library's own; a generic proxy would name them from
// its first row, and so not at all while no row is shown.
QVariant DriverFilter::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Horizontal) return src_ ? src_->headerData(section, o, role) : QVariant();
    return QAbstractProxyModel::headerData(section, o, role);
}

}  // namespace ks::lib
