// SPDX-License-Identifier: GPL-3.0-or-later
// The library at size: a keystroke in the search field (the filter runs over
// every row and the sorted table follows, as in the window), and reading a
// driver database XML file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>
#include <random>

#include "library/qt/driver_filter.h"
#include "library/qt/import.h"
#include "library/qt/store.h"
#include "library/qt/table_model.h"

namespace {

// Model names from eight makers, one range in three a woofer's.
std::vector<ks::lib::Driver> Drivers(int n)
{
    std::mt19937 rng(3);
    const char* makers[] = {"Norrland", "Aster", "Kiruna", "Vellum", "Oakfield", "Brisa", "Caldera", "Dunmore"};
    std::vector<ks::lib::Driver> rows;
    rows.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        ks::lib::Driver d = ks::lib::ExampleDrivers()[1];
        d.id = 0;
        d.model = std::string(makers[rng() % 8]) + " M" + std::to_string(rng() % 100000);
        d.range = (i % 3 ? "Mid " : "Woofer ") + std::to_string(20 + rng() % 200) + "-4000 Hz";
        d.set(ks::lib::Field::Fs, 20.0 + rng() % 2000 / 10.0);
        rows.push_back(std::move(d));
    }
    return rows;
}

// A library of n drivers in a temporary folder, its table model and filter.
struct Library {
    explicit Library(int n) : store(dir.filePath("drivers.sqlite")), model(store)
    {
        if (!store.open(false).ok) return;
        std::vector<ks::lib::Driver> rows = Drivers(n);
        ok = store.insert(rows) && model.reload();
        filter.setSourceModel(&model);
    }
    QTemporaryDir dir;
    ks::lib::DriverStore store;
    ks::lib::DriverTableModel model;
    ks::lib::DriverFilter filter;
    bool ok = false;
};

void BM_FilterKeystroke10k(benchmark::State& state)
{
    Library lib(10000);
    if (!lib.ok) {
        state.SkipWithError("cannot make the library");
        return;
    }
    lib.filter.sort(0);
    bool longer = false;
    for (auto _ : state) {
        // Typing the third letter, then taking it back: one keystroke each.
        lib.filter.setText(longer ? QStringLiteral("as") : QStringLiteral("ast"));
        longer = !longer;
        benchmark::DoNotOptimize(lib.filter.rowCount());
    }
}
BENCHMARK(BM_FilterKeystroke10k)->Unit(benchmark::kMicrosecond);

// 100,000 drivers in a shown table sorted by model, one row of it selected:
// typing "o" keeps about three rows in five, taking it back shows them all.
// A keystroke ends when the table has laid itself out and painted.
void BM_FilterKeystroke100k(benchmark::State& state)
{
    static Library lib(100000);
    if (!lib.ok) {
        state.SkipWithError("cannot make the library");
        return;
    }
    QTableView view;
    view.setModel(&lib.filter);
    view.setSortingEnabled(true);
    view.sortByColumn(0, Qt::AscendingOrder);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.verticalHeader()->hide();
    view.resize(1200, 600);
    view.show();
    view.selectRow(40);
    QApplication::processEvents();
    bool typed = false;
    int kept = 0;
    for (auto _ : state) {
        typed = !typed;
        lib.filter.setText(typed ? QStringLiteral("o") : QString());
        QApplication::processEvents();
        if (typed) kept = lib.filter.rowCount();
    }
    lib.filter.setText(QString());
    state.counters["kept"] = kept;
}
BENCHMARK(BM_FilterKeystroke100k)->Unit(benchmark::kMillisecond);

// A driver database of n speakers, as another program writes it.
QByteArray SpeakerXml(int n)
{
    QByteArray x = "<?xml version=\"1.0\"?>\n<speakers>\n";
    for (const ks::lib::Driver& d : Drivers(n))
        x += QByteArray("  <speaker vendor=\"Bench\" model=\"") + d.model.c_str() + "\" fs=\"" +
             QByteArray::number(d.get(ks::lib::Field::Fs)) +
             "\" qts=\"0.36\" qes=\"0.41\" qms=\"3.1\" vas=\"14.5\" re=\"5.6\" "
             "pe=\"60\" sd=\"0.0084\" dia=\"0.13\" xmax=\"4.5\" le=\"0.45\" spl=\"88\"/>\n";
    return x + "</speakers>\n";
}

void BM_XmlImport(benchmark::State& state)
{
    const QByteArray xml = SpeakerXml(int(state.range(0)));
    for (auto _ : state) {
        const ks::lib::ImportResult r = ks::lib::ImportQspeakersXml(xml);
        if (r.taken.size() != std::size_t(state.range(0))) state.SkipWithError("drivers lost");
        benchmark::DoNotOptimize(r.taken.data());
    }
    state.SetBytesProcessed(state.iterations() * xml.size());
}
BENCHMARK(BM_XmlImport)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One element carrying n attributes: a hostile file, read in time linear in
// its size or refused.
void BM_XmlManyAttributes(benchmark::State& state)
{
    QByteArray xml = "<speakers><speaker model=\"x\" fs=\"40\" qts=\"0.4\" re=\"6\"";
    for (int i = 0; i < state.range(0); ++i) xml += " a" + QByteArray::number(i) + "=\"1\"";
    xml += "/></speakers>";
    for (auto _ : state) benchmark::DoNotOptimize(ks::lib::ImportQspeakersXml(xml).taken.size());
    state.SetBytesProcessed(state.iterations() * xml.size());
}
BENCHMARK(BM_XmlManyAttributes)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
