// The shown rows of the library: filter and order through every kind of
// change, one layout change for each, and the selection with its drivers.
#include "library/qt/driver_filter.h"

#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <algorithm>
#include <numeric>
#include <random>

#include "library/qt/table_model.h"

namespace lib = ks::lib;
using lib::Field;

namespace {

class DriverFilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(store.open(false).ok);
        ASSERT_TRUE(model.reload());
        filter.setSourceModel(&model);
    }
    void Add(std::vector<std::tuple<std::string, std::string, double>> rows)
    {
        std::vector<lib::Driver> ds;
        for (auto& [name, range, fs] : rows) {
            lib::Driver d = lib::ExampleDrivers()[1];
            d.model = name;
            d.range = range;
            d.set(Field::Fs, fs);
            ds.push_back(d);
        }
        ASSERT_TRUE(model.add(ds));
    }
    // The shown model names, in order.
    std::string Shown() const
    {
        QStringList names;
        for (int r = 0; r < filter.rowCount(); ++r) names << filter.index(r, 0).data().toString();
        return names.join(QLatin1Char(' ')).toStdString();
    }
    const lib::Driver& At(int proxyRow) const
    {
        return model.driver(filter.mapToSource(filter.index(proxyRow, 0)).row());
    }

    QTemporaryDir dir;
    lib::DriverStore store{dir.filePath("drivers.sqlite")};
    lib::DriverTableModel model{store};
    lib::DriverFilter filter;
};

}  // namespace

// Every change the window makes, each followed by the names shown. Names
// sort without regard to case; equal keys keep the library's order.
TEST_F(DriverFilterTest, FiltersAndSortsThroughEveryChange)
{
    Add({{"bravo", "Mid", 50}, {"Alpha", "Woofer", 30}, {"charlie", "Mid woofer", 30}, {"Delta", "Tweeter", 900}});
    QSignalSpy layouts(&filter, &QAbstractItemModel::layoutChanged);
    QSignalSpy removed(&filter, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(&filter, &QAbstractItemModel::rowsInserted);
    auto setFs = [&](const std::string& name, double fs) {
        for (int r = 0; r < model.rowCount(); ++r)
            if (lib::Driver d = model.driver(r); d.model == name) {
                d.set(Field::Fs, fs);
                ASSERT_TRUE(model.replace(d));
            }
    };
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[] {}, "bravo Alpha charlie Delta"},
        {[&] { filter.sort(int(Field::Model)); }, "Alpha bravo charlie Delta"},
        {[&] { filter.setText(" WOOF "); }, "Alpha charlie"},
        {[&] { filter.sort(int(Field::Fs), Qt::DescendingOrder); }, "Alpha charlie"},
        {[&] { filter.setText(""); }, "Delta bravo Alpha charlie"},
        {[&] { filter.setRange(Field::Fs, 40, 1000); }, "Delta bravo"},
        {[&] {
             Add({{"Echo", "Woofer", 60}, {"Foxtrot", "Mid", 20}, {"Golf", "Mid", 50}});
         },
         "Delta Echo bravo Golf"},
        {[&] { setFs("bravo", 70); }, "Delta bravo Echo Golf"},
        {[&] { setFs("Golf", 10); }, "Delta bravo Echo"},
        {[&] { filter.setRange(Field::Fs, std::nullopt, std::nullopt); },
         "Delta bravo Echo Alpha charlie Foxtrot Golf"},
        {[&] {
             ASSERT_TRUE(model.remove({At(1).id, At(4).id}));
         },
         "Delta Echo Alpha Foxtrot Golf"},
        {[&] { filter.sort(int(Field::Range)); }, "Foxtrot Golf Delta Alpha Echo"},
        {[&] { ASSERT_TRUE(model.reload()); }, "Foxtrot Golf Delta Alpha Echo"},
        {[&] { filter.sort(-1); }, "Alpha Delta Echo Foxtrot Golf"},
    };
    for (const auto& [step, want] : steps) {
        step();
        EXPECT_EQ(Shown(), want);
    }
    // Each change that moved shown rows was one layout change, never a
    // signal for each run of rows.
    EXPECT_EQ(layouts.count(), 12);
    EXPECT_EQ(removed.count() + inserted.count(), 0);
}

// The selection and the current row stay on their driver while others come
// and go, and leave when their driver is filtered out.
TEST_F(DriverFilterTest, SelectionFollowsItsDriver)
{
    Add({{"A1", "", 40}, {"B1", "", 41}, {"A2", "", 42}, {"B2", "", 43}, {"A3", "", 44}});
    filter.sort(int(Field::Fs), Qt::DescendingOrder);
    QItemSelectionModel sel(&filter);
    sel.setCurrentIndex(filter.index(2, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const std::int64_t id = At(2).id;  // A2
    auto current = [&] { return sel.currentIndex().isValid() ? At(sel.currentIndex().row()).model : "-"; };
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[&] { filter.setText("a"); }, "A2"},
        {[&] {
             Add({{"A0", "", 90}});
         },
         "A2"},
        {[&] { ASSERT_TRUE(model.remove({At(0).id})); }, "A2"},
        {[&] { filter.sort(int(Field::Model)); }, "A2"},
        {[&] { filter.setText("b"); }, "-"},
    };
    for (const auto& [step, want] : steps) {
        step();
        EXPECT_EQ(current(), want);
        EXPECT_EQ(sel.selectedRows().size(), current() == "-" ? 0 : 1);
    }
    filter.setText("");
    EXPECT_EQ(filter.mapFromSource(model.index(model.rowOf(id), 0)).data().toString(), "A2");
}

// Many random changes, each checked against a stable sort of the whole
// library and a plain filter.
TEST_F(DriverFilterTest, AgreesWithAFullSortAfterEveryChange)
{
    std::mt19937 rng(7);
    auto some = [&](int n) {
        std::vector<std::tuple<std::string, std::string, double>> rows;
        for (int i = 0; i < n; ++i)
            rows.emplace_back(std::string(1, "abcAB"[rng() % 5]) + std::to_string(rng() % 4),
                              rng() % 2 ? "Mid" : "mid x", double(20 + rng() % 6));
        return rows;
    };
    auto pick = [&] { return model.driver(int(rng() % std::size_t(model.rowCount()))); };
    Add(some(60));
    int column = -1;
    Qt::SortOrder order = Qt::AscendingOrder;
    QString text;
    for (int step = 0; step < 200; ++step) {
        switch (rng() % 5) {
        case 0:
            column = std::array{-1, 0, 1, 3}[rng() % 4];
            order = rng() % 2 ? Qt::AscendingOrder : Qt::DescendingOrder;
            filter.sort(column, order);
            break;
        case 1:
            text = QString(QChar("ab1x "[rng() % 5]));
            filter.setText(text);
            break;
        case 2: Add(some(1 + int(rng() % 3))); break;
        case 3: {
            lib::Driver d = pick();
            d.set(Field::Fs, double(20 + rng() % 6));
            if (rng() % 2) d.model.insert(0, 1, 'b');
            ASSERT_TRUE(model.replace(d));
            break;
        }
        default: ASSERT_TRUE(model.remove({pick().id}));
        }
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
            return !QString::fromStdString(d.model + "\n" + d.range).toCaseFolded().contains(text.trimmed());
        });
        std::vector<int> shown;
        for (int r = 0; r < filter.rowCount(); ++r) shown.push_back(filter.mapToSource(filter.index(r, 0)).row());
        ASSERT_EQ(shown, want) << "after step " << step;
    }
}
