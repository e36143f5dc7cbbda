// A keystroke in the library's search field: the filter runs over every
// row and the sorted view follows, as in the window.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <random>

#include "library/qt/store.h"
#include "library/qt/table_model.h"

namespace {

void BM_FilterKeystroke10k(benchmark::State& state)
{
    QTemporaryDir dir;
    ks::lib::DriverStore store(dir.filePath("drivers.sqlite"));
    if (!store.open(false).ok) {
        state.SkipWithError("cannot open the library");
        return;
    }
    std::mt19937 rng(3);
    const char* makers[] = {"Norrland", "Aster", "Kiruna", "Vellum", "Oakfield", "Brisa", "Caldera", "Dunmore"};
    std::vector<ks::lib::Driver> rows;
    for (int i = 0; i < 10000; ++i) {
        ks::lib::Driver d = ks::lib::ExampleDrivers()[1];
        d.id = 0;
        d.model = std::string(makers[rng() % 8]) + " M" + std::to_string(rng() % 100000);
        d.range = (i % 3 ? "Mid " : "Woofer ") + std::to_string(20 + rng() % 200) + "-4000 Hz";
        d.set(ks::lib::Field::Fs, 20.0 + rng() % 2000 / 10.0);
        rows.push_back(std::move(d));
    }
    store.insert(rows);
    ks::lib::DriverTableModel model(store);
    model.reload();
    ks::lib::DriverFilter filter;
    filter.setSourceModel(&model);
    filter.sort(0);
    bool longer = false;
    for (auto _ : state) {
        // Typing the third letter, then taking it back: one keystroke each.
        filter.setText(longer ? QStringLiteral("as") : QStringLiteral("ast"));
        longer = !longer;
        benchmark::DoNotOptimize(filter.rowCount());
    }
}
BENCHMARK(BM_FilterKeystroke10k)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
