// SPDX-License-Identifier: GPL-3.0-or-later
// The rows the library's table shows: the drivers that pass the text filter
// (on model name and range) and the Fs / Qts / Vas ranges, in the order of
// the sorted column. Any change of the filter, the order or the drivers is
// one pass over the rows and one layout change of the view, however many
// rows it keeps or drops, so a keystroke on a large library stays quick; a
// generic sort-and-filter proxy instead signals every run of rows it adds
// or removes, and the view works through each of them. The selection and
// the current row follow their drivers.
#pragma once

#include <QAbstractProxyModel>
#include <array>
#include <optional>
#include <vector>

#include "library/driver.h"

namespace ks::lib {

class DriverTableModel;

class DriverFilter final : public QAbstractProxyModel {
    Q_OBJECT
public:
    explicit DriverFilter(QObject* parent = nullptr);

    // The source must be a DriverTableModel.
    void setSourceModel(QAbstractItemModel* source) override;
    void setText(const QString& text);
    // A bound not given is open.
    void setRange(Field f, std::optional<double> low, std::optional<double> high);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex&) const override { return {}; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex& proxy) const override;
    QModelIndex mapFromSource(const QModelIndex& source) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    // Ties keep the library's order; -1 is the library's order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    struct Range {
        Field field;
        std::optional<double> low, high;
    };
    bool Accepts(int row) const;
    std::vector<int> Accepted(const std::vector<int>& order) const;
    // Calls use with the strict order of source rows by the sorted column.
    template <typename F>
    void WithOrder(F use) const;
    // Rows (in any order) merged into rows in the sorted order.
    std::vector<int> Merged(const std::vector<int>& order, std::vector<int> rows) const;
    void Rebuild();
    // A layout change in two steps, for a source that changes between them:
    // Begin keeps the persistent indexes' drivers, End takes the new order
    // and where each of those source rows went (-1: gone).
    void Begin();
    template <typename NewRow>
    void End(std::vector<int> order, std::vector<int> shown, NewRow newRow);
    // The source as it is, in a new order: false when the shown rows stay.
    bool Relayout(std::vector<int> order);

    void SourceInserted(int first, int last);
    void SourceRemoved(int first, int last);
    void SourceChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles);
    void SourceReset();

    const DriverTableModel* src_ = nullptr;
    QString text_;
    std::array<Range, 3> ranges_{{{Field::Fs, {}, {}}, {Field::Qts, {}, {}}, {Field::Vas, {}, {}}}};
    int column_ = -1;
    Qt::SortOrder order_ = Qt::AscendingOrder;
    std::vector<int> all_;       // every source row, in order
    std::vector<int> shown_;     // the accepted ones: proxy row -> source row
    std::vector<int> proxyRow_;  // source row -> proxy row, -1 when not shown
    // Between Begin and End: the persistent indexes and their source rows.
    QModelIndexList saved_;
    std::vector<int> savedRows_;
};

}  // namespace ks::lib
