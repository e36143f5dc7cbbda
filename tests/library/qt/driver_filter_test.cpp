// SPDX-License-Identifier: GPL-3.0-or-later
// The shown rows through every kind of change against a stable sort and a plain filter of the whole library, each
// change one layout change at most, and the selection staying with its driver.
#include "library/qt/driver_filter.h"

#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <numeric>
#include <random>

#include "library/qt/table_model.h"

namespace lib = ks::lib;
using lib::Field;

TEST(DriverFilter, AgreesWithAFullSortAfterEveryChange)
{
    QTemporaryDir dir;
    lib::DriverStore store(dir.filePath("drivers.sqlite"));
    ASSERT_TRUE(store.open(false).ok);
    lib::DriverTableModel model(store);
    lib::DriverFilter filter;
    filter.setSourceModel(&model);
    QItemSelectionModel sel(&filter);
    QSignalSpy layouts(&filter, &QAbstractItemModel::layoutChanged);
    QSignalSpy removed(&filter, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(&filter, &QAbstractItemModel::rowsInserted);
    std::mt19937 rng(7);
    auto add = [&](int n) {
        std::vector<lib::Driver> ds(std::size_t(n), lib::ExampleDrivers()[1]);
        for (lib::Driver& d : ds) {
            d.model = std::string(1, "abcAB"[rng() % 5]) + std::to_string(rng() % 4);
            d.range = rng() % 2 ? "Mid" : "mid x";
            d.set(Field::Fs, double(20 + rng() % 6));
        }
        ASSERT_TRUE(model.add(ds));
    };
    auto pick = [&] { return model.driver(int(rng() % std::size_t(model.rowCount()))); };
    add(60);
    int column = -1;
    Qt::SortOrder order = Qt::AscendingOrder;
    QString text;
    double low = 0;
    std::int64_t selected = 0;  // the driver selected, while it is shown
    for (int step = 0; step < 300; ++step) {
        const int layoutsBefore = int(layouts.count());
        switch (rng() % 8) {
        case 0:
            column = std::array{-1, 0, 1, 3}[rng() % 4];
            order = rng() % 2 ? Qt::AscendingOrder : Qt::DescendingOrder;
            filter.sort(column, order);
            break;
        case 1: filter.setText(text = QString(QChar("ab1x "[rng() % 5]))); break;
        case 2: filter.setRange(Field::Fs, low = double(rng() % 3 ? 0 : 22), std::nullopt); break;
        case 3: add(1 + int(rng() % 3)); break;
        case 4: {
            lib::Driver d = pick();
            d.set(Field::Fs, double(20 + rng() % 6));
            if (rng() % 2) d.model.insert(0, 1, 'b');
            ASSERT_TRUE(model.replace(d));
            break;
        }
        case 5: ASSERT_TRUE(model.remove({pick().id})); break;
        case 6:
            ASSERT_TRUE(model.reload());  // a reset, which ends the selection
            selected = 0;
            break;
        default:
            if (filter.rowCount() == 0) break;
            const QModelIndex i = filter.index(int(rng() % std::size_t(filter.rowCount())), 0);
            sel.select(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            selected = model.driver(filter.mapToSource(i).row()).id;
        }
        EXPECT_LE(layouts.count(), layoutsBefore + 1);
        auto fold = [](const std::string& t) { return QString::fromStdString(t).toCaseFolded(); };
        auto before = [&](int a, int b) {
            const lib::Driver &x = model.driver(a), &y = model.driver(b);
            if (column == 3) return x.get(Field::Fs) < y.get(Field::Fs);
            return column == 0 ? fold(x.model) < fold(y.model) : fold(x.range) < fold(y.range);
        };
        std::vector<int> want(std::size_t(model.rowCount()));
        std::iota(want.begin(), want.end(), 0);
        if (column >= 0)
            std::stable_sort(want.begin(), want.end(),
                             [&](int a, int b) { return order == Qt::AscendingOrder ? before(a, b) : before(b, a); });
        std::erase_if(want, [&](int r) {
            const lib::Driver& d = model.driver(r);
            return d.get(Field::Fs) < low || !fold(d.model + "\n" + d.range).contains(text.trimmed());
        });
        std::vector<int> shown;
        for (int r = 0; r < filter.rowCount(); ++r) shown.push_back(filter.mapToSource(filter.index(r, 0)).row());
        ASSERT_EQ(shown, want) << "after step " << step;
        // The selection is on the driver it was on, or gone with it.
        const QModelIndexList rows = sel.selectedRows();
        if (selected && std::count(want.begin(), want.end(), model.rowOf(selected))) {
            ASSERT_EQ(rows.size(), 1) << "after step " << step;
            ASSERT_EQ(model.driver(filter.mapToSource(rows.front()).row()).id, selected) << "after step " << step;
        } else {
            ASSERT_TRUE(rows.isEmpty()) << "after step " << step;
            selected = 0;
        }
    }
    EXPECT_EQ(removed.count() + inserted.count(), 0);  // never a signal for each run of rows
    filter.setText("none such");
    EXPECT_EQ(filter.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Model");
}
