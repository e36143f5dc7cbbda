// SPDX-License-Identifier: GPL-3.0-or-later
// Each scene's display list against its file in golden/ (KESTROVA_WRITE_DISPLAY_LISTS=DIR writes them into DIR),
// checked by hand against the worked values and the frame geometry; a file changes only with a picture users see.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "common/drivers.h"
#include "graphs/amp.h"
#include "graphs/group_delay.h"
#include "graphs/imp.h"
#include "graphs/null_canvas.h"
#include "graphs/recording_canvas.h"
#include "graphs/step_graph.h"
#include "render_session.h"

namespace ks {
namespace {

// The program's sequence for the given kestrova-render options.
std::string Render(std::vector<std::string_view> args)
{
    const auto parsed = ParseRenderOptions(args);
    if (!parsed.options) return "bad options: " + parsed.error;
    Kestrova k;
    NullCanvas scratch;
    const RenderRun run = RunRenderSequence(k, *parsed.options, scratch);
    if (!run.ok) return "failed: " + run.error;
    RecordingCanvas out;
    DrawFinalView(k, *parsed.options, out, parsed.options->date.value_or(DateStamp{}));
    return out.str();
}

// One graph routine on a set-up default driver, after `prepare`.
std::string Draw(const std::function<void(Kestrova&)>& prepare, void (*graph)(Kestrova&))
{
    Kestrova k;
    kt::SetUpDriver(k);
    prepare(k);
    RecordingCanvas rc;
    k.screen = k.page = &rc;
    graph(k);
    return rc.str();
}

// Every scene's file name and display list.
std::vector<std::pair<std::string, std::string>> Scenes()
{
    std::vector<std::pair<std::string, std::string>> s;
    const auto Num = [](double v) { return (std::ostringstream() << v).str(); };
    const std::pair<const char*, std::vector<std::string_view>> designs[] = {
        {"closed_box", {"--driver", kt::kWooferRecord}},
        {"infinite_baffle", {"--driver", kt::kWooferRecord, "--system", "ib"}},
        {"rear_closed", {}}};
    const auto View = [&](const std::pair<const char*, std::vector<std::string_view>>& design, std::string_view view) {
        std::vector<std::string_view> a = design.second;
        a.insert(a.end(), {"--view", view.substr(view.starts_with("print_") ? 6 : 0)});
        if (view.starts_with("print_")) a.insert(a.end(), {"--print", "--date", "2026-12-05T14:30:00"});
        s.emplace_back(std::string(design.first) + "_" + std::string(view), Render(a));
    };
    for (const auto& design : designs)
        for (const char* view : {"amp", "imp", "ph", "gd", "nq", "st", "sys", "print_amp", "print_sys"})
            View(design, view);
    // The limit views of the worked driver in its box and of the tweeter.
    for (const auto& design : {designs[0], designs[2]})
        for (const char* view : {"ex", "ms", "print_ex", "print_ms"}) View(design, view);
    const std::pair<const char*, std::vector<std::string_view>> variants[] = {
        {"closed_box_amp_absolute", {"--driver", kt::kWooferRecord, "--absolute"}},
        {"closed_box_amp_absolute_scale10", {"--driver", kt::kWooferRecord, "--absolute", "--scale", "10"}},
        {"closed_box_qtc_amp", {"--driver", kt::kWooferRecord, "--qa", "5", "--align", "qtc=1.2"}},
        {"rear_closed_imp_log", {"--view", "imp", "--imp-log"}}};
    for (const auto& [name, a] : variants) s.emplace_back(name, Render(a));

    // Every scale's labels and grid, every step time base and amplitude band, on the default driver.
    for (const float scl : {0.005f, 0.01f, 0.025f, 0.05f, 0.1f, 0.25f, 0.5f, 1.0f, 2.5f, 5.0f, 10.0f})
        s.emplace_back("gd_scale_" + Num(scl), Draw([scl](Kestrova& k) { k.ds.GDscl = scl; }, GdGraph));
    for (const float scl : {10.0f, 4.0f, 2.0f, 1.0f, 0.1f})
        s.emplace_back("imp_scale_" + Num(scl), Draw([scl](Kestrova& k) { k.ds.IMPscal = scl; }, ImpGraph));
    const std::pair<float, float> steps[] = {{17500, 1}, {17499, 1}, {3500, 1}, {1750, 1},  {1000, 0.707f}, {350, 1},
                                             {175, 1},   {70, 1},    {35, 1},   {17.5f, 1}, {17.4999f, 1}};
    for (const auto& [fs, qts] : steps)
        s.emplace_back("step_fs_" + Num(fs), Draw([&](Kestrova& k) { k.d.FS = fs, k.d.QTS = qts; }, StepGraph));
    const std::tuple<int, float> bands[] = {{5, 75.99f},  {5, 76.0f},    {5, 85.99f}, {5, 89.998f},
                                            {5, 100.99f}, {5, 101.0f},   {5, 120.0f}, {10, 80.99f},
                                            {10, 81.0f},  {10, 100.99f}, {10, 101.0f}};
    for (const auto& [scale, spl] : bands)
        s.emplace_back("amp_band_" + Num(scale) + "_" + Num(spl),
                       Draw([&](Kestrova& k) { k.d.magni = 2, k.d.scale = scale, k.d.SPL = spl; }, AmpGraph));
    return s;
}

TEST(DisplayList, EverySceneMatchesItsFile)
{
    const char* dir = std::getenv("KESTROVA_WRITE_DISPLAY_LISTS");
    for (const auto& [name, drawn] : Scenes()) {
        SCOPED_TRACE(name);
        if (dir) {
            std::ofstream(std::string(dir) + "/" + name + ".txt") << drawn;
            continue;
        }
        std::ifstream in(std::string(KESTROVA_GOLDEN_DIR) + "/" + name + ".txt");
        const std::string want{std::istreambuf_iterator<char>(in), {}};
        ASSERT_FALSE(want.empty()) << "no file for " << name;
        EXPECT_EQ(drawn, want);
    }
    if (dir) GTEST_SKIP() << "display lists written to " << dir;
}

}  // namespace
}  // namespace ks
